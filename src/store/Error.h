#pragma once

#include <QString>
#include <stdexcept>

namespace tarmela
{

// What went wrong, so that each caller can word its own message where the program
// has a fixed text for a cause (a sheet that was never generated, an empty sheet, ...).
enum class ErrorKind {
    Usage,        // the caller asked for something that makes no sense (bad option, bad value)
    Data,         // the data can't be used as asked (text in a number column, a missing value)
    Database,     // the database engine refused a statement
    TableMissing, // a road's RL_ or LB_ table does not exist
    NoRows,       // a sheet without rows where one is needed
    NullValue,    // a value that a formula needs is empty
    Overflow,     // a number outside the range the program can handle
    Io,           // a file could not be read or written
};

// The one error type of the engine. The desktop program shows message() in a message box,
// the batch tool prints it to standard error and exits non-zero, tests fail on it.
class Error : public std::runtime_error
{
public:
    Error(ErrorKind kind, const QString& message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
    {
    }
    ErrorKind kind() const { return m_kind; }
    const QString& message() const { return m_message; }

private:
    ErrorKind m_kind;
    QString m_message;
};

// Text shown on one line: control characters (line breaks, tabs, NUL, ...) written as escapes
// ("\n", "\t", "\x00"), so a value from a file or the database can never start a line of its own.
QString oneLine(const QString& text);

// A value as a message quotes it: on one line and cut to `limit` characters with "…", so a
// 5 MB field or a 100,000-character name gives a message that still shows its reason.
QString excerpt(const QString& text, int limit = 60);

// A file or folder as a message names it: native separators, on one line, and where it is
// long, its end (the name) kept with "…" in front.
QString shownPath(const QString& path, int limit = 80);

} // namespace tarmela
