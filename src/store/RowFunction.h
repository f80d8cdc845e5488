#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace tarmela
{

class Database;

// The values a statement passes to a RowFunction, by position (0-based).
class FunctionArguments
{
public:
    FunctionArguments(int count, sqlite3_value** values) : m_count(count), m_values(values) {}
    int size() const { return m_count; }
    double numberOrNan(int i) const; // cellNumber() in store/RowReader.h
    std::int64_t integer(int i) const;

private:
    int m_count;
    sqlite3_value** m_values;
};

// What a RowFunction gives back: null unless set.
class FunctionResult
{
public:
    explicit FunctionResult(sqlite3_context* context) : m_context(context) {}
    void setNumber(double value); // null when not a number
    void setInteger(std::int64_t value);
    // Fails the statement with this text.
    void setError(const QString& text);

private:
    sqlite3_context* m_context;
};

// A function of the program's own that statements on this connection can call while the
// object lives: work done row by row inside one statement, on the values the statement has
// read anyway, so that a row is read and written once rather than read by one statement and
// written by another. The function is removed again when the object goes.
//
// A body that throws fails the statement with the exception's text.
//
// Each object registers a name of its own (the given one and a number): SQLite refuses to
// remove or replace a function while another statement of the connection is running, so a
// name may outlive its object until the connection closes, calling nothing.
class RowFunction
{
public:
    using Body = std::function<void(const FunctionArguments&, FunctionResult&)>;
    // Throws Error when the function can't be registered.
    RowFunction(Database& db, const QString& name, int argumentCount, Body body);
    ~RowFunction();
    RowFunction(const RowFunction&) = delete;
    RowFunction& operator=(const RowFunction&) = delete;

    // The name statements call it by.
    QString name() const { return QString::fromUtf8(m_name); }

private:
    struct Slot;
    static void call(sqlite3_context* context, int count, sqlite3_value** values);
    static void release(void* slot);
    sqlite3* m_db;
    QByteArray m_name;
    int m_count;
    Body m_body;
    Slot* m_slot; // owned by SQLite from registration on
};

} // namespace tarmela
