#include "store/Transaction.h"

#include "store/Database.h"

#include <QDebug>
#include <atomic>
#include <exception>

namespace tarmela {

namespace {
std::atomic<int> savepointCounter{0};
}

Transaction::Transaction(Database& db)
    : m_db(db), m_name(QStringLiteral("tx%1").arg(++savepointCounter))
{
    m_db.exec(QStringLiteral("SAVEPOINT ") + m_name);
}

void Transaction::commit()
{
    m_db.exec(QStringLiteral("RELEASE ") + m_name);
    m_done = true;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_db.exec(QStringLiteral("ROLLBACK TO ") + m_name);
        m_db.exec(QStringLiteral("RELEASE ") + m_name);
    } catch (const std::exception& e) {
        // A destructor must not throw; the connection reports the same failure on its next use.
        qWarning() << "rollback failed:" << e.what();
    }
}

} // namespace tarmela
