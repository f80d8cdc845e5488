#include "store/RowJournal.h"

#include "store/Database.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"

namespace tarmela
{

namespace
{

const QString kTrigger = QStringLiteral("tarmela_journal");

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

void bindValue(RowWriter& q, int index, const QVariant& v)
{
    switch (v.isNull() ? QMetaType::UnknownType : v.typeId()) {
    case QMetaType::UnknownType:
        q.bindNull(index);
        break;
    case QMetaType::LongLong:
    case QMetaType::Int:
        q.bindInteger(index, v.toLongLong());
        break;
    case QMetaType::Double:
        q.bindNumber(index, v.toDouble());
        break;
    default: {
        const QByteArray text = v.toString().toUtf8();
        q.bindText(index, text.constData(), int(text.size()));
        break;
    }
    }
}

} // namespace

RowJournal::RowJournal(Database& db, const QString& table, const QStringList& columns)
    : m_db(db), m_table(table), m_columns(columns),
      m_notes(QStringLiteral("tarmela_journal_%1").arg(columns.size()))
{
    QStringList noted, old;
    for (int c = 0; c < columns.size(); ++c) {
        noted << QStringLiteral("c%1").arg(c);
        old << QStringLiteral("OLD.") + quoteName(columns[c]);
    }
    // The table of notes stays for the connection's life: dropping a table is refused while
    // another statement of the connection is being read.
    m_db.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 (ID INTEGER PRIMARY KEY, %2)")
                  .arg(m_notes, noted.join(QStringLiteral(", "))));
    m_db.exec(QStringLiteral("DELETE FROM temp.%1").arg(m_notes));
    m_db.exec(QStringLiteral("DROP TRIGGER IF EXISTS temp.%1").arg(kTrigger));
    // The first note of a row is kept: it holds the values from before the work.
    m_db.exec(QStringLiteral("CREATE TEMP TRIGGER %1 AFTER UPDATE ON main.%2 BEGIN "
                             "INSERT OR IGNORE INTO %3 VALUES (OLD.ID, %4); END")
                  .arg(kTrigger, quoteName(table), m_notes, old.join(QStringLiteral(", "))));
    m_active = true;
}

RowJournal::~RowJournal()
{
    if (!m_active)
        return;
    try {
        stop();
    } catch (...) {
        // The work failed and its transaction is rolled back, the trigger with it.
    }
}

void RowJournal::stop()
{
    m_active = false;
    m_db.exec(QStringLiteral("DROP TRIGGER IF EXISTS temp.%1").arg(kTrigger));
    m_db.exec(QStringLiteral("DELETE FROM temp.%1").arg(m_notes));
}

std::vector<JournalRow> RowJournal::finish()
{
    std::vector<JournalRow> rows;
    {
        QStringList noted, now;
        for (int c = 0; c < m_columns.size(); ++c) {
            noted << QStringLiteral("n.c%1").arg(c);
            now << QStringLiteral("t.") + quoteName(m_columns[c]);
        }
        RowReader q(m_db, QStringLiteral("SELECT n.ID, %1, %2 FROM temp.%3 n LEFT JOIN main.%4 t "
                                         "ON t.ID = n.ID ORDER BY n.ID")
                              .arg(noted.join(QStringLiteral(", ")), now.join(QStringLiteral(", ")),
                                   m_notes, quoteName(m_table)));
        const int n = int(m_columns.size());
        while (q.next()) {
            JournalRow row;
            row.id = q.integer(0);
            bool changed = false;
            for (int c = 0; c < n; ++c) {
                row.before << q.value(1 + c);
                row.after << q.value(1 + n + c);
                changed = changed || !sameValue(row.before.back(), row.after.back());
            }
            if (changed)
                rows.push_back(std::move(row));
        }
    }
    stop();
    return rows;
}

std::optional<QVariantList> RowJournal::values(Database& db, const QString& table,
                                               const QStringList& columns, std::int64_t id)
{
    RowReader q(db, QStringLiteral("SELECT %1 FROM %2 WHERE ID = ?")
                        .arg(quoteNames(columns), quoteName(table)));
    q.bind(0, qlonglong(id));
    if (!q.next())
        return std::nullopt;
    QVariantList values;
    for (int c = 0; c < columns.size(); ++c)
        values << q.value(c);
    return values;
}

void RowJournal::write(Database& db, const QString& table, const QStringList& columns,
                       const std::vector<JournalRow>& rows, bool before)
{
    QStringList sets;
    for (const QString& c : columns)
        sets << quoteName(c) + QStringLiteral(" = ?");
    RowWriter q(db, QStringLiteral("UPDATE %1 SET %2 WHERE ID = ?")
                        .arg(quoteName(table), sets.join(QStringLiteral(", "))));
    for (const JournalRow& row : rows) {
        const QVariantList& values = before ? row.before : row.after;
        for (int c = 0; c < int(values.size()); ++c)
            bindValue(q, c, values[c]);
        q.bindInteger(int(values.size()), row.id);
        q.run();
    }
}

} // namespace tarmela
