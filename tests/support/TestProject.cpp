#include "support/TestProject.h"

#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/Statements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <gtest/gtest.h>

namespace tarmela::test
{

TestProject::TestProject()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    m_path = m_dir.filePath(QStringLiteral("Data/Roads Info.sqlite"));
    m_db = Database::open(m_path);
}

void TestProject::reopen()
{
    m_db.reset();
    m_db = Database::open(m_path);
}

std::int64_t TestProject::roadWithRows(const QVector<double>& chainages, bool levelBook)
{
    const std::int64_t id = roads::create(db());
    const auto sheet = levelBook ? statements::Sheet::LevelBook : statements::Sheet::ReducedLevel;
    std::int64_t rowId = 1;
    for (double c : chainages)
        db().execute(statements::addSectionRow(sheet, id, rowId++, c));
    return id;
}

std::int64_t makeRoad(Database& db, const QString& from, const QString& to, std::int64_t length,
                      int interval)
{
    RoadChanges c;
    c.from = from;
    c.to = to;
    if (length)
        c.length = length;
    if (interval)
        c.interval = interval;
    return roads::create(db, c);
}

long long rowCount(Database& db, const QString& table)
{
    return db.scalar("SELECT COUNT(*) FROM [" + table + "]").toLongLong();
}

std::string queryText(Database& db, const QString& sql)
{
    RowReader q(db, sql);
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.columnCount(); ++i)
            values << (q.isNull(i) ? QStringLiteral("null") : q.value(i).toString());
        rows << values.join(' ');
    }
    return rows.join(QStringLiteral(" | ")).toStdString();
}

std::string roadState(Database& db, std::int64_t road)
{
    const QString n = QString::number(road);
    std::string state;
    for (const QString& sql :
         {"SELECT * FROM Roads WHERE ID = " + n, "SELECT * FROM RL_" + n + " ORDER BY ID",
          "SELECT * FROM LB_" + n + " ORDER BY ID", "SELECT * FROM ChDistance WHERE RoadRef = " + n,
          "SELECT * FROM Culverts WHERE RoadRef = " + n + " ORDER BY ID"}) {
        try {
            state += queryText(db, sql) + "\n";
        } catch (const Error& e) { // a table that is gone
            state += e.message().toStdString() + "\n";
        }
    }
    return state;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

} // namespace tarmela::test
