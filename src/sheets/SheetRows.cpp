#include "sheets/SheetRows.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Transaction.h"
#include "store/ValueRanges.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <limits>
#include <sqlite3.h>

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

namespace
{

sqlite3* sqliteHandle(Database& db)
{
    const QVariant h = db.connection().driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(h.constData());
    return nullptr;
}

} // namespace

void SheetRows::load(Database& db, const QString& statement)
{
    QString table = tableOfStatement(statement);
    QHash<QString, QString> declared;
    if (!table.isEmpty()) {
        QSqlQuery info = db.query(QStringLiteral("PRAGMA table_info([%1])").arg(table));
        while (info.next())
            declared.insert(info.value(1).toString().toLower(), info.value(2).toString());
    }

    std::vector<Column> cols;
    int idCol = -1;
    auto setUpColumns = [&](const QStringList& names) {
        cols.assign(names.size(), Column{});
        for (int c = 0; c < names.size(); ++c) {
            cols[c].name = names[c];
            if (names[c].compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 && idCol < 0)
                idCol = c;
            const auto it = declared.constFind(names[c].toLower());
            if (it != declared.constEnd()) {
                cols[c].kind = kindOfDeclared(*it);
            } else {
                // A joined sheet: the column's kind comes from its values (it isn't edited).
                cols[c].kind = Kind::Real;
                table.clear();
            }
        }
    };

    int rows = 0;
    std::vector<char> sawText;
    std::vector<std::vector<QString>> rawTexts;
    auto takeNumber = [&](std::size_t c, bool null, double value, bool isText, const QString& raw) {
        Column& col = cols[c];
        col.numbers.push_back(null ? kEmpty : value);
        if (isText)
            sawText[c] = 1;
        if (table.isEmpty())
            rawTexts[c].push_back(raw);
    };

    // A long sheet is read straight from SQLite: one row of 30 levels costs a few
    // microseconds that way, several times less than through generic values.
    if (sqlite3* handle = sqliteHandle(db)) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = statement.toUtf8();
        if (sqlite3_prepare_v2(handle, sql.constData(), sql.size(), &stmt, nullptr) != SQLITE_OK) {
            const QString why = QString::fromUtf8(sqlite3_errmsg(handle));
            sqlite3_finalize(stmt);
            throw Error(why.contains(QLatin1String("no such table")) ? ErrorKind::TableMissing
                                                                     : ErrorKind::Database,
                        why);
        }
        const int n = sqlite3_column_count(stmt);
        QStringList names;
        for (int c = 0; c < n; ++c)
            names << QString::fromUtf8(sqlite3_column_name(stmt, c));
        setUpColumns(names);
        sawText.assign(n, 0);
        rawTexts.assign(n, {});
        // Room for every row at once: growing 30 columns step by step costs more than the count.
        const qlonglong expected =
            db.scalar(QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(statement)).toLongLong();
        for (Column& col : cols) {
            if (col.kind == Kind::Text)
                col.texts.reserve(expected);
            else
                col.numbers.reserve(expected);
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < n; ++c) {
                const int type = sqlite3_column_type(stmt, c);
                const bool null = type == SQLITE_NULL;
                if (cols[c].kind == Kind::Text) {
                    cols[c].texts.push_back(
                        null ? QString()
                             : QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                   sqlite3_column_bytes(stmt, c)));
                    continue;
                }
                const bool isText = type == SQLITE_TEXT || type == SQLITE_BLOB;
                QString raw;
                if (table.isEmpty() && !null)
                    raw = QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                        sqlite3_column_bytes(stmt, c));
                takeNumber(c, null, null ? 0.0 : sqlite3_column_double(stmt, c), isText, raw);
            }
            ++rows;
        }
        const QString why = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw Error(ErrorKind::Database, why);
    } else {
        QSqlQuery q = db.query(statement);
        const QSqlRecord rec = q.record();
        QStringList names;
        for (int c = 0; c < rec.count(); ++c)
            names << rec.fieldName(c);
        setUpColumns(names);
        sawText.assign(names.size(), 0);
        rawTexts.assign(names.size(), {});
        while (q.next()) {
            for (std::size_t c = 0; c < cols.size(); ++c) {
                const QVariant v = q.value(static_cast<int>(c));
                if (cols[c].kind == Kind::Text) {
                    cols[c].texts.push_back(v.isNull() ? QString() : v.toString());
                    continue;
                }
                const int type = v.typeId();
                takeNumber(c, v.isNull(), v.toDouble(),
                           type == QMetaType::QString || type == QMetaType::QByteArray,
                           v.isNull() ? QString() : v.toString());
            }
            ++rows;
        }
    }

    if (table.isEmpty()) {
        for (std::size_t c = 0; c < cols.size(); ++c) {
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
            .arg(text, c.name);
    if (c.kind == Kind::Integer) {
        const double v = text.trimmed().toDouble();
        if (v != std::floor(v) || std::fabs(v) > 9.0e15)
            return QStringLiteral("\"%1\" is not a whole number. The column %2 takes whole "
                                  "numbers only.")
                .arg(text, c.name);
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
                QStringList sets;
                std::vector<int> cols;
                for (int c = 0; c < columnCount(); ++c) {
                    if (!editable(c) || !(mask & columnBit(c)))
                        continue;
                    sets << QStringLiteral("[%1] = ?").arg(m_cols[c].name);
                    cols.push_back(c);
                }
                QSqlQuery q = db.prepare(QStringLiteral("UPDATE [%1] SET %2 WHERE ID = ?")
                                             .arg(m_table, sets.join(QStringLiteral(", "))));
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
        QSqlQuery q = db.prepare(QStringLiteral("DELETE FROM [%1] WHERE ID = ?").arg(m_table));
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
