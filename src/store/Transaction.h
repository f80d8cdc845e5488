#pragma once

#include <QString>
#include <memory>
#include <optional>

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

// Reads the statements of its scope from one state of the project: the snapshot taken when
// the guard starts. Writers may commit meanwhile (the project is in WAL mode) and are not
// waited for; what the scope reads is as of the start, so every page and file a reader makes
// of a road agree with each other. Inside a transaction already open it does nothing: that
// one's state is read.
class ReadTransaction
{
public:
    explicit ReadTransaction(Database& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& m_db;
    bool m_began = false;
};

// One state of the project held for as long as a window shows it: a connection of its own on
// the project's file, inside a read transaction. A window that reads its pages one at a time,
// as they are shown or printed, reads them all from the state of the moment the snapshot was
// taken, whatever is written meanwhile; it takes a new one when it reads the road again. (While
// it is held, the write-ahead log is not folded back into the file past it.)
class Snapshot
{
public:
    // Throws Error when the project file cannot be opened again.
    explicit Snapshot(const Database& project);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    Database& db() { return *m_db; }

private:
    std::unique_ptr<Database> m_db;
    std::optional<ReadTransaction> m_read;
};

} // namespace tarmela
