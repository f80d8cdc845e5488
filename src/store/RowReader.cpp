#include "store/RowReader.h"

#include "store/Database.h"
#include "store/Error.h"

#include <limits>
#include <sqlite3.h>
#include <utility>

namespace tarmela
{

namespace
{

[[noreturn]] void fail(sqlite3* db, int code)
{
    throw databaseError(code, QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

RowReader::RowReader(Database& db, const QString& sql) : m_db(db.handle())
{
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        fail(m_db, rc);
    }
}

RowReader::~RowReader()
{
    sqlite3_finalize(m_stmt);
}

RowReader::RowReader(RowReader&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)), m_started(other.m_started)
{
}

RowReader& RowReader::bind(int index, const QVariant& value)
{
    if (m_started)
        reset();
    const int at = index + 1;
    int rc = SQLITE_OK;
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(m_stmt, at);
        break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        rc = sqlite3_bind_int64(m_stmt, at, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        rc = sqlite3_bind_double(m_stmt, at, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob64(m_stmt, at, bytes.constData(), sqlite3_uint64(bytes.size()),
                                 SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text64(m_stmt, at, text.constData(), sqlite3_uint64(text.size()),
                                 SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

void RowReader::reset()
{
    // The error of an earlier step was already thrown; reset only repeats it.
    sqlite3_reset(m_stmt);
    m_started = false;
}

bool RowReader::next()
{
    m_started = true;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The message belongs to this failure; reset() afterwards would not change it.
    const QString why = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    throw databaseError(rc, why);
}

int RowReader::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString RowReader::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

int RowReader::columnIndex(const QString& name) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (columnName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

bool RowReader::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

bool RowReader::isText(int column) const
{
    const int type = sqlite3_column_type(m_stmt, column);
    return type == SQLITE_TEXT || type == SQLITE_BLOB;
}

double RowReader::number(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

std::optional<double> RowReader::optionalNumber(int column) const
{
    // One call into the connection per cell rather than two: a recomputation reads 35 cells
    // of every section.
    sqlite3_value* v = sqlite3_column_value(m_stmt, column);
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_value_double(v);
}

double RowReader::numberOrNan(int column) const
{
    return cellNumber(sqlite3_column_value(m_stmt, column));
}

double cellNumber(sqlite3_value* cell)
{
    // One call into the connection for the type rather than one per question: a
    // recomputation reads 32 cells of every section.
    switch (sqlite3_value_type(cell)) {
    case SQLITE_NULL:
        return std::numeric_limits<double>::quiet_NaN();
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        bool ok = false;
        const double d = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(cell)),
                                           sqlite3_value_bytes(cell))
                             .toDouble(&ok);
        return ok ? d : std::numeric_limits<double>::quiet_NaN();
    }
    default:
        return sqlite3_value_double(cell);
    }
}

std::int64_t RowReader::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString RowReader::text(int column) const
{
    if (isNull(column))
        return {};
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    const int bytes = sqlite3_column_bytes(m_stmt, column);
    // An empty text is not an empty cell: it stays a non-null string.
    return bytes > 0 ? QString::fromUtf8(p, bytes) : QStringLiteral("");
}

QVariant RowReader::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(integer(column)));
    case SQLITE_FLOAT:
        return QVariant(number(column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_stmt, column)),
                                   sqlite3_column_bytes(m_stmt, column)));
    case SQLITE_TEXT:
        return QVariant(text(column));
    default:
        return {};
    }
}

} // namespace tarmela
