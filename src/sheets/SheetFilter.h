#pragma once

#include <QString>
#include <vector>

namespace tarmela::sheets
{

class SheetRows;

// A row filter in the form the filter window builds: clauses  field op 'value'  joined by AND
// and OR (AND binds closer), ops = <> < > <= >= LIKE. The sheet applies it to its own rows;
// nothing of it ever reaches the database. Fields are the sheet's columns (a name with a
// blank must be written in brackets). Number columns compare as numbers, text columns as text
// without regard to case; LIKE matches the cell's text with % (any run) and _ (one character).
// An empty cell matches no comparison, as in the database.
class SheetFilter
{
public:
    // Throws Error(Usage) with a message for the user when the text can't be used.
    static SheetFilter parse(const QString& text, const SheetRows& rows);

    bool empty() const { return m_any.empty(); }
    bool matches(const SheetRows& rows, int row) const;
    // The sheet rows that pass, in order.
    std::vector<int> apply(const SheetRows& rows) const;

private:
    enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };
    struct Clause {
        int column = 0;
        Op op = Op::Eq;
        QString value;
        double number = 0;
        bool numberValue = false;
    };
    bool test(const Clause& c, const SheetRows& rows, int row) const;
    std::vector<std::vector<Clause>> m_any; // OR of ANDs
};

// Whether text matches a LIKE pattern (% any run, _ one character; * and ? also accepted).
bool likeMatch(const QString& text, const QString& pattern);

} // namespace tarmela::sheets

namespace tarmela::sheets
{

// One condition as the filter window writes it: field + " " + condition + " '" + value + "'",
// the value wrapped in % for LIKE. A quote inside the value is doubled, so that it stays
// part of the value.
QString filterClause(const QString& field, const QString& condition, const QString& value);

} // namespace tarmela::sheets
