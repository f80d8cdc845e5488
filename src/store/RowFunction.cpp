#include "store/RowFunction.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/RowReader.h"

#include <atomic>
#include <cmath>
#include <sqlite3.h>

namespace tarmela
{

double FunctionArguments::numberOrNan(int i) const
{
    return cellNumber(m_values[i]);
}

std::int64_t FunctionArguments::integer(int i) const
{
    return sqlite3_value_int64(m_values[i]);
}

void FunctionResult::setNumber(double value)
{
    if (std::isnan(value))
        sqlite3_result_null(m_context);
    else
        sqlite3_result_double(m_context, value);
}

void FunctionResult::setInteger(std::int64_t value)
{
    sqlite3_result_int64(m_context, value);
}

void FunctionResult::setError(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_result_error(m_context, bytes.constData(), int(bytes.size()));
}

struct RowFunction::Slot {
    Body* body = nullptr; // null once the object is gone
};

namespace
{
std::atomic<int> functionCounter{0};
}

RowFunction::RowFunction(Database& db, const QString& name, int argumentCount, Body body)
    : m_db(db.handle()), m_name((name + QStringLiteral("_%1").arg(++functionCounter)).toUtf8()),
      m_count(argumentCount), m_body(std::move(body)), m_slot(new Slot{&m_body})
{
    // Not deterministic: a body may keep state from row to row. Direct only: no view or
    // trigger of a project file can call it. SQLite frees the slot when it drops the name,
    // also when registering fails.
    const int rc = sqlite3_create_function_v2(
        m_db, m_name.constData(), m_count, SQLITE_UTF8 | SQLITE_DIRECTONLY, m_slot,
        &RowFunction::call, nullptr, nullptr, &RowFunction::release);
    if (rc != SQLITE_OK)
        throw databaseError(rc, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

RowFunction::~RowFunction()
{
    m_slot->body = nullptr;
    // Refused while another statement runs; the name then calls nothing until the connection
    // closes.
    sqlite3_create_function_v2(m_db, m_name.constData(), m_count, SQLITE_UTF8, nullptr, nullptr,
                               nullptr, nullptr, nullptr);
}

void RowFunction::release(void* slot)
{
    delete static_cast<Slot*>(slot);
}

void RowFunction::call(sqlite3_context* context, int count, sqlite3_value** values)
{
    const Slot* slot = static_cast<const Slot*>(sqlite3_user_data(context));
    FunctionResult result(context);
    if (!slot->body) {
        result.setError(QStringLiteral("the function is no longer there"));
        return;
    }
    try {
        (*slot->body)(FunctionArguments(count, values), result);
    } catch (const Error& e) {
        result.setError(e.message());
    } catch (const std::exception& e) {
        result.setError(QString::fromUtf8(e.what()));
    }
}

} // namespace tarmela
