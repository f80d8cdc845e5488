#include "store/RowJournal.h"

#include "store/Database.h"
#include "store/RowReader.h"
#include "store/RowWriter.h"

namespace tarmela
{

namespace
{

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
      m_notes(QStringLiteral("tarmela_journal_%1").arg(columns.size())),
      m_trigger(QStringLiteral("tarmela_journal_%1_%2")
                    .arg(QString::number(
                        qHash(table + QLatin1Char('\n') + columns.join(QLatin1Char('\n'))), 16))
                    .arg(columns.size()))
{
    QStringList noted, old;
    for (int c = 0; c < columns.size(); ++c) {
        noted << QStringLiteral("c%1").arg(c);
        old << QStringLiteral("OLD.") + quoteName(columns[c]);
    }
    // The tables of notes and of the journals noting stay for the connection's life, and so
    // does the trigger: it notes only while its journal is listed as noting. Creating and
    // dropping a trigger for every piece of work changed the schema each time, which made
    // every prepared statement of the connection prepare itself again (a third of a formation
    // update's time). Dropping a table is also refused while a statement of the connection is
    // being read.
    m_db.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 (ID INTEGER PRIMARY KEY, %2)")
                  .arg(m_notes, noted.join(QStringLiteral(", "))));
    m_db.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tarmela_journals_noting "
                             "(Name TEXT PRIMARY KEY)"));
    m_db.exec(QStringLiteral("DELETE FROM temp.%1").arg(m_notes));
    // The first note of a row is kept: it holds the values from before the work.
    m_db.exec(QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 AFTER UPDATE ON main.%2 "
                             "WHEN EXISTS (SELECT 1 FROM temp.tarmela_journals_noting WHERE "
                             "Name = '%1') BEGIN INSERT OR IGNORE INTO %3 VALUES (OLD.ID, %4); "
                             "END")
                  .arg(m_trigger, quoteName(table), m_notes, old.join(QStringLiteral(", "))));
    m_db.exec(QStringLiteral("INSERT OR IGNORE INTO temp.tarmela_journals_noting VALUES ('%1')")
                  .arg(m_trigger));
    m_active = true;
}

RowJournal::~RowJournal()
{
    if (!m_active)
        return;
    try {
        stop();
    } catch (...) {
        // The work failed and its transaction is rolled back, the journal's listing with it.
    }
}

void RowJournal::stop()
{
    m_active = false;
    m_db.exec(QStringLiteral("DELETE FROM temp.tarmela_journals_noting WHERE Name = '%1'")
                  .arg(m_trigger));
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
