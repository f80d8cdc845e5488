#include "store/Transaction.h"

#include "store/Database.h"
#include "store/Error.h"

#include <atomic>

namespace tarmela
{

namespace
{
std::atomic<int> savepointCounter{0};
}

Transaction::Transaction(Database& db) : m_db(db)
{
    if (!m_db.inTransaction()) {
        m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
        return;
    }
    m_savepoint = QStringLiteral("tx%1").arg(++savepointCounter);
    m_db.exec(QStringLiteral("SAVEPOINT ") + m_savepoint);
}

void Transaction::commit()
{
    m_db.exec(m_savepoint.isEmpty() ? QStringLiteral("COMMIT")
                                    : QStringLiteral("RELEASE ") + m_savepoint);
    m_done = true;
}

Transaction::~Transaction()
{
    // A full disk or an I/O error makes SQLite roll the whole transaction back by itself:
    // there is then nothing left to undo, and undoing it again would only add a second,
    // misleading error to the one being reported.
    if (m_done || !m_db.inTransaction())
        return;
    try {
        if (m_savepoint.isEmpty()) {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } else {
            m_db.exec(QStringLiteral("ROLLBACK TO ") + m_savepoint);
            m_db.exec(QStringLiteral("RELEASE ") + m_savepoint);
        }
    } catch (const Error&) {
        // A destructor must not throw. The error that brought us here is the one reported;
        // the outermost guard rolls back whatever a failed savepoint left.
    }
}

ReadTransaction::ReadTransaction(Database& db) : m_db(db)
{
    if (m_db.inTransaction())
        return;
    m_db.exec(QStringLiteral("BEGIN"));
    m_began = true;
    try {
        // A deferred transaction takes its snapshot at its first read: take it now.
        m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"));
    } catch (...) {
        m_db.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

ReadTransaction::~ReadTransaction()
{
    if (!m_began || !m_db.inTransaction())
        return;
    try {
        m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (const Error&) {
        // Nothing was written; the connection ends the transaction when it closes.
    }
}

Snapshot::Snapshot(const Database& project) : m_db(Database::open(project.path()))
{
    m_read.emplace(*m_db);
}

// The read transaction ends before its connection closes.
Snapshot::~Snapshot()
{
    m_read.reset();
}

} // namespace tarmela
