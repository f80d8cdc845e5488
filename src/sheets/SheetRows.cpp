#include "sheets/SheetRows.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/RowReader.h"
#include "store/SheetTable.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <cmath>
#include <limits>

namespace tarmela::sheets
{

namespace
{
constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();

SheetRows::Kind kindOfDeclared(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return SheetRows::Kind::Integer;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")))
        return SheetRows::Kind::Real;
    return SheetRows::Kind::Text;
}
} // namespace

QString tableOfStatement(const QString& statement)
{
    static const QRegularExpression re(
        QStringLiteral(R"(\bfrom\s+\[?(\w+)\]?\s*(?:$|\bwhere\b|\border\b|;))"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}

void SheetRows::load(Database& db, const QString& statement)
{
    QString table = tableOfStatement(statement);
    QHash<QString, QString> declared;
    if (!table.isEmpty()) {
        declared = sheettable::declaredTypes(db, table);
        if (declared.isEmpty())
            throw Error(ErrorKind::TableMissing, QStringLiteral("no such table: %1").arg(table));
    }

    RowReader q(db, statement);
    const int n = q.columnCount();
    std::vector<Column> cols(n);
    int idCol = -1;
    for (int c = 0; c < n; ++c) {
        cols[c].name = q.columnName(c);
        if (cols[c].name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 && idCol < 0)
            idCol = c;
        const auto it = declared.constFind(cols[c].name.toLower());
        if (it != declared.constEnd()) {
            cols[c].kind = kindOfDeclared(*it);
        } else {
            // A joined sheet: the column's kind comes from its values (it isn't edited).
            cols[c].kind = Kind::Real;
            table.clear();
        }
    }

    // Room for every row at once: growing 30 columns step by step costs more than the count.
    const qlonglong expected = sheettable::statementRowCount(db, statement);
    for (Column& col : cols) {
        if (col.kind == Kind::Text)
            col.texts.reserve(expected);
        else
            col.numbers.reserve(expected);
    }
    // A sheet that is not edited in place keeps a number column's texts until it is known
    // whether the column holds text anywhere; it then shows as a text column.
    std::vector<char> sawText(n, 0);
    std::vector<std::vector<QString>> rawTexts(table.isEmpty() ? n : 0);
    int rows = 0;
    while (q.next()) {
        for (int c = 0; c < n; ++c) {
            Column& col = cols[c];
            if (col.kind == Kind::Text) {
                col.texts.push_back(q.text(c));
                continue;
            }
            // The stored type is asked before any conversion of the value.
            const bool null = q.isNull(c);
            if (table.isEmpty() && q.isText(c))
                sawText[c] = 1;
            col.numbers.push_back(null ? kEmpty : q.number(c));
            if (table.isEmpty())
                rawTexts[c].push_back(q.text(c));
        }
        ++rows;
    }

    if (table.isEmpty()) {
        for (int c = 0; c < n; ++c) {
            if (!sawText[c] || cols[c].kind == Kind::Text)
                continue;
            cols[c].kind = Kind::Text;
            cols[c].texts = std::move(rawTexts[c]);
            cols[c].numbers.clear();
        }
    }
    if (idCol < 0)
        table.clear();

    m_statement = statement;
    m_table = table;
    m_idCol = idCol;
    m_rows = rows;
    m_cols = std::move(cols);
    m_changed.assign(rows, 0);
    m_changedCount = 0;
}

QStringList SheetRows::columnNames() const
{
    QStringList out;
    for (const Column& c : m_cols)
        out << c.name;
    return out;
}

int SheetRows::columnIndex(const QString& name) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (m_cols[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

bool SheetRows::editable(int col) const
{
    return updatable() && col != m_idCol;
}

bool SheetRows::isNull(int row, int col) const
{
    const Column& c = m_cols[col];
    return c.kind == Kind::Text ? c.texts[row].isNull() : std::isnan(c.numbers[row]);
}

double SheetRows::number(int row, int col) const
{
    const Column& c = m_cols[col];
    return c.kind == Kind::Text ? kEmpty : c.numbers[row];
}

QString SheetRows::text(int row, int col) const
{
    const Column& c = m_cols[col];
    if (c.kind == Kind::Text)
        return c.texts[row].isNull() ? QStringLiteral("") : c.texts[row];
    const double v = c.numbers[row];
    return std::isnan(v) ? QString() : plainDecimal(v);
}

std::int64_t SheetRows::id(int row) const
{
    if (m_idCol < 0 || isNull(row, m_idCol))
        return -1;
    return static_cast<std::int64_t>(m_cols[m_idCol].numbers[row]);
}

int SheetRows::rowOfId(std::int64_t id) const
{
    if (m_idCol < 0)
        return -1;
    const auto& ids = m_cols[m_idCol].numbers;
    for (int r = 0; r < m_rows; ++r)
        if (ids[r] == static_cast<double>(id))
            return r;
    return -1;
}

QString SheetRows::refusal(int col, const QString& text) const
{
    const Column& c = m_cols[col];
    if (c.kind == Kind::Text || text.trimmed().isEmpty())
        return {};
    if (!isNumeric(text))
        return QStringLiteral("\"%1\" is not a number. The column %2 takes numbers only.")
            .arg(excerpt(text), c.name);
    if (c.kind == Kind::Integer) {
        const double v = text.trimmed().toDouble();
        if (v != std::floor(v) || std::fabs(v) > 9.0e15)
            return QStringLiteral("\"%1\" is not a whole number. The column %2 takes whole "
                                  "numbers only.")
                .arg(excerpt(text), c.name);
    }
    if (const ValueRange* range = rangeOfColumn(m_table, c.name))
        if (!inRange(*range, text.trimmed().toDouble()))
            return QStringLiteral("\"%1\" can't go into the column %2: %3.")
                .arg(text.trimmed(), c.name, rangeRule(*range));
    return {};
}

void SheetRows::setText(int row, int col, const QString& text)
{
    const QString why = refusal(col, text);
    if (!why.isEmpty())
        throw Error(ErrorKind::Data, why);
    Column& c = m_cols[col];
    if (c.kind == Kind::Text) {
        if (c.texts[row] == text && c.texts[row].isNull() == text.isNull())
            return;
        c.texts[row] = text.isNull() ? QStringLiteral("") : text;
    } else {
        const double v = text.trimmed().isEmpty() ? kEmpty : text.trimmed().toDouble();
        const double old = c.numbers[row];
        if ((std::isnan(v) && std::isnan(old)) || v == old)
            return;
        c.numbers[row] = v;
    }
    markChanged(row, col);
}

QVariant SheetRows::value(int row, int col) const
{
    if (isNull(row, col))
        return {};
    const Column& c = m_cols[col];
    return c.kind == Kind::Text ? QVariant(c.texts[row]) : QVariant(c.numbers[row]);
}

void SheetRows::setValue(int row, int col, const QVariant& value)
{
    Column& c = m_cols[col];
    if (c.kind == Kind::Text) {
        const QString text = value.isNull() ? QString() : value.toString();
        if (c.texts[row] == text && c.texts[row].isNull() == text.isNull())
            return;
        c.texts[row] = text;
    } else {
        const double v = value.isNull() ? kEmpty : value.toDouble();
        const double old = c.numbers[row];
        if ((std::isnan(v) && std::isnan(old)) || v == old)
            return;
        c.numbers[row] = v;
    }
    markChanged(row, col);
}

quint64 SheetRows::columnBit(int col)
{
    // A sheet of more than 64 columns marks the ones beyond as one group.
    return col < 63 ? quint64(1) << col : quint64(1) << 63;
}

void SheetRows::markChanged(int row, int col)
{
    if (!m_changed[row])
        ++m_changedCount;
    m_changed[row] |= columnBit(col);
}

void SheetRows::save(Database& db)
{
    if (!hasChanges())
        return;
    if (!updatable())
        throw SaveError{0, QStringLiteral("This sheet can't be changed in place.")};
    // Only the cells the user changed are written: a column the program computes (FL1, the
    // areas) may have been rewritten since the sheet was read, and must not be put back.
    QHash<quint64, std::pair<QSqlQuery, std::vector<int>>> statements;
    int at = 0;
    try {
        Transaction tx(db);
        for (at = 0; at < m_rows; ++at) {
            const quint64 mask = m_changed[at];
            if (!mask)
                continue;
            auto it = statements.find(mask);
            if (it == statements.end()) {
                QStringList names;
                std::vector<int> cols;
                for (int c = 0; c < columnCount(); ++c) {
                    if (!editable(c) || !(mask & columnBit(c)))
                        continue;
                    names << m_cols[c].name;
                    cols.push_back(c);
                }
                QSqlQuery q = sheettable::updateQuery(db, m_table, names);
                it = statements.insert(mask, {q, cols});
            }
            QSqlQuery& q = it->first;
            for (int c : it->second) {
                const Column& col = m_cols[c];
                if (isNull(at, c))
                    q.addBindValue(QVariant());
                else if (col.kind == Kind::Text)
                    q.addBindValue(col.texts[at]);
                else if (col.kind == Kind::Integer)
                    q.addBindValue(static_cast<qlonglong>(col.numbers[at]));
                else
                    q.addBindValue(col.numbers[at]);
            }
            q.addBindValue(static_cast<qlonglong>(id(at)));
            Database::run(q);
            if (q.numRowsAffected() == 0)
                throw Error(
                    ErrorKind::Data,
                    QStringLiteral("The row with ID %1 is no longer in the database.").arg(id(at)));
        }
        tx.commit();
    } catch (const Error& e) {
        throw SaveError{at, e.message()};
    }
    m_changed.assign(m_rows, 0);
    m_changedCount = 0;
}

void SheetRows::removeIds(Database& db, const std::vector<std::int64_t>& ids)
{
    if (!updatable())
        throw Error(ErrorKind::Usage, QStringLiteral("This sheet can't be changed in place."));
    {
        Transaction tx(db);
        QSqlQuery q = sheettable::deleteQuery(db, m_table);
        for (std::int64_t id : ids) {
            q.addBindValue(static_cast<qlonglong>(id));
            Database::run(q);
        }
        tx.commit();
    }
    std::vector<char> gone(m_rows, 0);
    for (std::int64_t id : ids) {
        const int r = rowOfId(id);
        if (r >= 0)
            gone[r] = 1;
    }
    int w = 0;
    for (int r = 0; r < m_rows; ++r) {
        if (gone[r]) {
            if (m_changed[r])
                --m_changedCount;
            continue;
        }
        for (Column& c : m_cols) {
            if (c.kind == Kind::Text)
                c.texts[w] = std::move(c.texts[r]);
            else
                c.numbers[w] = c.numbers[r];
        }
        m_changed[w] = m_changed[r];
        ++w;
    }
    for (Column& c : m_cols) {
        if (c.kind == Kind::Text)
            c.texts.resize(w);
        else
            c.numbers.resize(w);
    }
    m_changed.resize(w);
    m_rows = w;
}

} // namespace tarmela::sheets
