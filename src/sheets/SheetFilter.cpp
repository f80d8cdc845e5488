#include "sheets/SheetFilter.h"

#include "sheets/SheetRows.h"
#include "store/Error.h"
#include "store/Numbers.h"

#include <cmath>

namespace tarmela::sheets
{

namespace
{

[[noreturn]] void refuse(const QString& why)
{
    throw Error(ErrorKind::Usage, QStringLiteral("The filter can't be used: ") + why);
}

// Reads the filter text piece by piece.
class Reader
{
public:
    explicit Reader(const QString& text) : m_text(text) {}
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    QString word()
    {
        skipBlanks();
        const int start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == '_'))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    QString field()
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '[') {
            const int close = m_text.indexOf(']', m_pos);
            if (close < 0)
                refuse(QStringLiteral("a field name in brackets has no closing bracket."));
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return name;
        }
        return word();
    }
    QString op()
    {
        skipBlanks();
        static const char* const ops[] = {"<>", "<=", ">=", "<", ">", "="};
        for (const char* o : ops) {
            const QString s = QString::fromLatin1(o);
            if (m_text.mid(m_pos, s.size()) == s) {
                m_pos += s.size();
                return s;
            }
        }
        const int save = m_pos;
        const QString w = word();
        if (w.compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("LIKE");
        m_pos = save;
        return {};
    }
    // 'quoted' ('' stands for one quote) or a bare number.
    bool value(QString& out, bool& quoted)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
            ++m_pos;
            QString v;
            while (m_pos < m_text.size()) {
                if (m_text[m_pos] == '\'') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                        v += '\'';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    out = v;
                    quoted = true;
                    return true;
                }
                v += m_text[m_pos++];
            }
            refuse(QStringLiteral("a value has no closing quote."));
        }
        const int start = m_pos;
        while (m_pos < m_text.size() && !m_text[m_pos].isSpace())
            ++m_pos;
        out = m_text.mid(start, m_pos - start);
        quoted = false;
        return !out.isEmpty();
    }
    QString rest()
    {
        skipBlanks();
        return m_text.mid(m_pos);
    }

private:
    const QString& m_text;
    int m_pos = 0;
};

int compareText(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

} // namespace

bool likeMatch(const QString& text, const QString& pattern)
{
    // Iterative wildcard match with one backtrack point: linear enough for cell texts.
    int t = 0, p = 0, star = -1, mark = 0;
    auto same = [](QChar a, QChar b) { return a.toCaseFolded() == b.toCaseFolded(); };
    while (t < text.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '_' || pattern[p] == '?' ||
             (pattern[p] != '%' && pattern[p] != '*' && same(pattern[p], text[t])))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && (pattern[p] == '%' || pattern[p] == '*')) {
            star = p++;
            mark = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '%' || pattern[p] == '*'))
        ++p;
    return p == pattern.size();
}

SheetFilter SheetFilter::parse(const QString& text, const SheetRows& rows)
{
    SheetFilter f;
    Reader r(text);
    if (r.atEnd())
        return f;
    f.m_any.emplace_back();
    for (;;) {
        Clause c;
        const QString name = r.field();
        if (name.isEmpty())
            refuse(QStringLiteral("a field name is missing at \"%1\".").arg(r.rest()));
        c.column = rows.columnIndex(name);
        if (c.column < 0)
            refuse(QStringLiteral("the sheet has no field \"%1\". A field name with a blank must "
                                  "be written in brackets, e.g. [Left Slope].")
                       .arg(name));
        const QString op = r.op();
        if (op.isEmpty())
            refuse(QStringLiteral("\"%1\" is not a condition after the field \"%2\" (use =, <>, <, "
                                  ">, <=, >= or LIKE).")
                       .arg(r.rest().section(' ', 0, 0), name));
        c.op = op == "="    ? Op::Eq
               : op == "<>" ? Op::Ne
               : op == "<"  ? Op::Lt
               : op == ">"  ? Op::Gt
               : op == "<=" ? Op::Le
               : op == ">=" ? Op::Ge
                            : Op::Like;
        bool quoted = false;
        if (!r.value(c.value, quoted))
            refuse(QStringLiteral("the value after \"%1 %2\" is missing.").arg(name, op));
        if (c.op != Op::Like && rows.numeric(c.column)) {
            if (!isNumeric(c.value))
                refuse(QStringLiteral("the field %1 holds numbers and \"%2\" is not a number.")
                           .arg(rows.columnName(c.column), c.value));
            c.number = c.value.trimmed().toDouble();
            c.numberValue = true;
        } else if (!quoted && !isNumeric(c.value)) {
            refuse(QStringLiteral("the value %1 must be written in quotes.").arg(c.value));
        }
        f.m_any.back().push_back(c);
        if (r.atEnd())
            break;
        const QString join = r.word();
        if (join.compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0)
            continue;
        if (join.compare(QLatin1String("OR"), Qt::CaseInsensitive) == 0) {
            f.m_any.emplace_back();
            continue;
        }
        refuse(
            QStringLiteral("expected AND or OR at \"%1\".").arg(join.isEmpty() ? r.rest() : join));
    }
    return f;
}

bool SheetFilter::test(const Clause& c, const SheetRows& rows, int row) const
{
    if (rows.isNull(row, c.column))
        return c.op == Op::Like && likeMatch(QString(), c.value);
    if (c.op == Op::Like)
        return likeMatch(rows.text(row, c.column), c.value);
    int cmp = 0;
    if (c.numberValue) {
        const double v = rows.number(row, c.column);
        cmp = v < c.number ? -1 : v > c.number ? 1 : 0;
    } else {
        cmp = compareText(rows.text(row, c.column), c.value);
    }
    switch (c.op) {
    case Op::Eq:
        return cmp == 0;
    case Op::Ne:
        return cmp != 0;
    case Op::Lt:
        return cmp < 0;
    case Op::Gt:
        return cmp > 0;
    case Op::Le:
        return cmp <= 0;
    case Op::Ge:
        return cmp >= 0;
    case Op::Like:
        break;
    }
    return false;
}

bool SheetFilter::matches(const SheetRows& rows, int row) const
{
    if (m_any.empty())
        return true;
    for (const auto& all : m_any) {
        bool ok = true;
        for (const Clause& c : all)
            if (!test(c, rows, row)) {
                ok = false;
                break;
            }
        if (ok)
            return true;
    }
    return false;
}

std::vector<int> SheetFilter::apply(const SheetRows& rows) const
{
    std::vector<int> out;
    out.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r)
        if (matches(rows, r))
            out.push_back(r);
    return out;
}

} // namespace tarmela::sheets

namespace tarmela::sheets
{

QString filterClause(const QString& field, const QString& condition, const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QStringLiteral("''"));
    if (condition.compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0)
        v = QLatin1Char('%') + v + QLatin1Char('%');
    return field + QLatin1Char(' ') + condition + QStringLiteral(" '") + v + QLatin1Char('\'');
}

} // namespace tarmela::sheets
