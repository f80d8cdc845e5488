#pragma once

#include <QString>

namespace tarmela
{

class Database;

// Runs the statements of its scope as one unit: rolled back on destruction unless commit()
// was called.
//
// The outermost guard starts with BEGIN IMMEDIATE: it takes the project's write lock before
// the first statement of its scope, so work that reads rows in order to write them reads them
// inside the guard and no other program can write in between. A writer that holds the lock
// is waited for a bounded time (the connection's busy timeout, 5 s); after that the guard
// throws Error with "database is locked" and nothing was read or written.
//
// Guards nest (savepoints), so a routine that needs a transaction can take one whether or not
// its caller already holds one.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    QString m_savepoint; // empty for the outermost guard
    bool m_done = false;
};

} // namespace tarmela
