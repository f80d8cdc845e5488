#pragma once

#include "store/Database.h"

#include <QTemporaryDir>
#include <memory>

namespace tarmela::test {

// A new project database in a temporary folder that disappears after the test.
class TestProject {
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

// The number of rows of a table.
long long rowCount(Database& db, const QString& table);

} // namespace tarmela::test
