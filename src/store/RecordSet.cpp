#include "store/RecordSet.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/RowReader.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace tarmela
{

RecordSet::RecordSet(Database& db, QString writeTable)
    : m_db(db), m_writeTable(std::move(writeTable))
{
}

void RecordSet::open(const QString& statement)
{
    m_statement = statement;
    if (m_writeTable.isEmpty()) {
        static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+\[?(\w+))"),
                                             QRegularExpression::CaseInsensitiveOption);
        m_writeTable = from.match(statement).captured(1);
    }
    m_writeColumns.clear();
    load();
    m_open = true;
}

void RecordSet::requery()
{
    if (m_open)
        load();
}

void RecordSet::close()
{
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    m_index.clear();
    m_pos = -1;
    m_edits.clear();
    m_adding = false;
}

void RecordSet::load()
{
    RowReader q(m_db, m_db.translate(m_statement).front());
    const int n = q.columnCount();
    QStringList columns;
    QHash<QString, int> index;
    for (int i = 0; i < n; ++i) {
        columns << q.columnName(i);
        if (!index.contains(columns.back()))
            index.insert(columns.back(), i);
    }
    QVector<QVector<QVariant>> rows;
    while (q.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = q.value(i);
        rows.push_back(std::move(row));
    }
    // Taken only when every row was read: a failed read leaves the set as it was.
    m_columns = columns;
    m_index = index;
    m_rows = std::move(rows);
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_edits.clear();
    m_adding = false;
}

void RecordSet::moveFirst()
{
    m_pos = m_rows.isEmpty() ? -1 : 0;
}
void RecordSet::moveNext()
{
    if (m_pos < m_rows.size())
        ++m_pos;
}
void RecordSet::moveTo(int index)
{
    m_pos = qBound(-1, index, int(m_rows.size()));
}

bool RecordSet::find(const QString& criterion)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*\[?([^\]=]+?)\]?\s*=\s*(.*?)\s*$)"));
    const auto m = re.match(criterion);
    if (!m.hasMatch())
        throw Error(ErrorKind::Usage, QStringLiteral("Cannot search for \"%1\"").arg(criterion));
    const int col = columnIndex(m.captured(1));
    if (col < 0)
        throw Error(ErrorKind::Usage, QStringLiteral("No field named %1").arg(m.captured(1)));
    QString wanted = m.captured(2);
    const bool quoted = wanted.size() >= 2 && wanted.startsWith('\'') && wanted.endsWith('\'');
    if (quoted)
        wanted = wanted.mid(1, wanted.size() - 2);
    bool isNumber = false;
    const double number = wanted.toDouble(&isNumber);
    if (m_pos < 0)
        m_pos = 0;
    for (; m_pos < m_rows.size(); ++m_pos) {
        const QVariant& v = m_rows[m_pos][col];
        if (v.isNull())
            continue;
        if (!quoted && isNumber) {
            bool ok = false;
            if (v.toDouble(&ok) == number && ok)
                return true;
        } else if (v.toString() == wanted) {
            return true;
        }
    }
    return false;
}

int RecordSet::columnIndex(const QString& name) const
{
    return m_index.value(name, -1);
}

QVariant RecordSet::value(int column) const
{
    if (m_pos < 0 || m_pos >= m_rows.size())
        throw Error(ErrorKind::NoRows, QStringLiteral("No current record"));
    return m_rows[m_pos].value(column);
}

QVariant RecordSet::value(const QString& name) const
{
    if (m_adding || m_edits.contains(name)) {
        auto it = m_edits.constFind(name);
        if (it != m_edits.constEnd())
            return *it;
        if (m_adding)
            return {};
    }
    const int col = columnIndex(name);
    if (col < 0)
        throw Error(ErrorKind::Usage, QStringLiteral("No field named %1").arg(name));
    return value(col);
}

void RecordSet::addNew()
{
    m_adding = true;
    m_edits.clear();
}

void RecordSet::setValue(const QString& name, const QVariant& v)
{
    if (!m_adding && (m_pos < 0 || m_pos >= m_rows.size()))
        throw Error(ErrorKind::NoRows, QStringLiteral("No current record"));
    m_edits.insert(name, v);
}

void RecordSet::cancelUpdate()
{
    m_adding = false;
    m_edits.clear();
}

void RecordSet::ensureWriteColumns()
{
    if (m_writeColumns.isEmpty())
        m_writeColumns = m_db.columnNames(m_writeTable);
}

void RecordSet::update()
{
    ensureWriteColumns();
    QStringList names;
    QVariantList values;
    for (auto it = m_edits.constBegin(); it != m_edits.constEnd(); ++it) {
        if (m_writeColumns.contains(it.key()) && it.key() != QLatin1String("ID")) {
            names << it.key();
            values << it.value();
        }
    }
    if (m_adding) {
        QStringList quoted, marks;
        for (const QString& n : names) {
            quoted << quoteName(n);
            marks << QStringLiteral("?");
        }
        const QString sql =
            names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(m_writeTable))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteName(m_writeTable), quoted.join(", "), marks.join(", "));
        QSqlQuery q = m_db.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        Database::run(q);
        const QVariant newId = q.lastInsertId();
        // Re-read so that the new row carries the database's defaults, then stand on it.
        m_adding = false;
        m_edits.clear();
        load();
        const int idCol = columnIndex(QStringLiteral("ID"));
        m_pos = m_rows.size();
        for (int i = 0; i < m_rows.size() && idCol >= 0; ++i)
            if (m_rows[i][idCol] == newId)
                m_pos = i;
        return;
    }
    if (m_pos < 0 || m_pos >= m_rows.size())
        throw Error(ErrorKind::NoRows, QStringLiteral("No current record"));
    if (!names.isEmpty()) {
        const int idCol = columnIndex(QStringLiteral("ID"));
        if (idCol < 0)
            throw Error(ErrorKind::Usage, QStringLiteral("The record set has no ID field"));
        QStringList sets;
        for (const QString& n : names)
            sets << quoteName(n) + " = ?";
        QSqlQuery q = m_db.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE ID = ?")
                                       .arg(quoteName(m_writeTable), sets.join(", ")));
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.addBindValue(m_rows[m_pos][idCol]);
        Database::run(q);
        for (int i = 0; i < names.size(); ++i) {
            const int col = columnIndex(names[i]);
            if (col >= 0)
                m_rows[m_pos][col] = values[i];
        }
    }
    m_edits.clear();
}

} // namespace tarmela
