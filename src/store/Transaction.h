#pragma once

#include <QString>

namespace tarmela {

class Database;

// Runs the statements of its scope as one unit: rolled back on destruction unless commit()
// was called. Guards nest (savepoints), so a routine that needs a transaction can take one
// whether or not its caller already holds one.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    QString m_name;
    bool m_done = false;
};

} // namespace tarmela
