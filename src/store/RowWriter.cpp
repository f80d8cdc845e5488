#include "store/RowWriter.h"

#include "store/Database.h"
#include "store/Error.h"

#include <cmath>
#include <sqlite3.h>
#include <utility>

namespace tarmela
{

RowWriter::RowWriter(Database& db, const QString& sql) : m_db(db.handle())
{
    const QByteArray text = sql.toUtf8();
    // Persistent: the statement is run for every row of a sheet.
    const int rc = sqlite3_prepare_v3(m_db, text.constData(), int(text.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        check(rc);
    }
}

RowWriter::~RowWriter()
{
    sqlite3_finalize(m_stmt);
}

RowWriter::RowWriter(RowWriter&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

void RowWriter::check(int rc)
{
    if (rc != SQLITE_OK)
        throw databaseError(rc, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void RowWriter::bindNull(int index)
{
    check(sqlite3_bind_null(m_stmt, index + 1));
}

void RowWriter::bindNumber(int index, double value)
{
    if (std::isnan(value))
        bindNull(index);
    else
        check(sqlite3_bind_double(m_stmt, index + 1, value));
}

void RowWriter::bindNumber(int index, const std::optional<double>& value)
{
    if (value)
        bindNumber(index, *value);
    else
        bindNull(index);
}

void RowWriter::bindInteger(int index, std::int64_t value)
{
    check(sqlite3_bind_int64(m_stmt, index + 1, value));
}

void RowWriter::bindText(int index, const char* utf8, int bytes)
{
    check(sqlite3_bind_text(m_stmt, index + 1, utf8, bytes, SQLITE_TRANSIENT));
}

void RowWriter::run()
{
    const int rc = sqlite3_step(m_stmt);
    // The message belongs to this failure: reset() returns the same code and keeps the text.
    const int done = sqlite3_reset(m_stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        check(done != SQLITE_OK ? done : rc);
}

} // namespace tarmela
