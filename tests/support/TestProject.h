#pragma once

#include "store/Database.h"
#include "store/Error.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace tarmela::test
{

// A new project database in a temporary folder that disappears after the test.
class TestProject
{
public:
    TestProject();
    Database& db() { return *m_db; }
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_path; }
    void reopen(); // closes and opens the file again, as a new start of the program

    // Convenience for tests: a road with an RL sheet holding the given chainages.
    std::int64_t roadWithRows(const QVector<double>& chainages, bool levelBook = false);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

// A road from `from` to `to`; a length or an interval of 0 keeps the new road's default.
std::int64_t makeRoad(Database& db, const QString& from, const QString& to, std::int64_t length = 0,
                      int interval = 0);

// A test with a new project database of its own.
struct ProjectTest : ::testing::Test {
    TestProject p;
    Database& db = p.db();
};

// The number of rows of a table.
long long rowCount(Database& db, const QString& table);

// The result of a query as one text: values separated by spaces, rows by " | ", an empty value
// shown as "null" and a number in the shortest form that reads back as the same value. Rows
// are checked (and printed on failure) in one comparison.
std::string queryText(Database& db, const QString& sql);

// Everything a road owns as one text: its row, both sheets, its cross distances and culverts.
std::string roadState(Database& db, std::int64_t road);

// A file's bytes (empty when it can't be read), and a file written whole, its folder made.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// The tarmela::Error that `f` throws, if it throws one.
template <typename F> std::optional<Error> thrown(F&& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace tarmela::test
