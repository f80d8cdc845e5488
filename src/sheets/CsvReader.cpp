#include "sheets/CsvReader.h"

#include "store/Error.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace tarmela
{

namespace
{

Error csvError(int line, const QString& what)
{
    return Error(ErrorKind::Data, QStringLiteral("line %1: %2").arg(line).arg(what));
}

} // namespace

CsvReader::CsvReader(QIODevice& in, const QString& name, int blockSize)
    : m_in(in), m_name(name), m_block(std::size_t(std::max(blockSize, 3)))
{
}

QString CsvReader::text(int k) const
{
    const std::string_view f = field(k);
    return QString::fromUtf8(f.data(), qsizetype(f.size()));
}

bool CsvReader::fill()
{
    // The first block holds at least the three bytes of a byte order mark, when the file has
    // that many, so that the mark is seen whole.
    const std::size_t want = m_started ? 1 : std::min<std::size_t>(3, m_block.size());
    m_pos = 0;
    m_end = 0;
    while (m_end < want) {
        const qint64 n = m_in.read(m_block.data() + m_end, qint64(m_block.size() - m_end));
        if (n < 0)
            throw Error(ErrorKind::Io,
                        QStringLiteral("Cannot read %1: %2").arg(m_name, m_in.errorString()));
        if (n == 0)
            break;
        m_end += std::size_t(n);
    }
    // UTF-16 text and binary files hold NUL bytes, which no UTF-8 CSV line does.
    if (std::memchr(m_block.data(), '\0', m_end))
        throw Error(
            ErrorKind::Data,
            QStringLiteral("%1 is not a CSV file in UTF-8: it holds NUL bytes").arg(m_name));
    if (!m_started) {
        m_started = true;
        if (m_end >= 3 && m_block[0] == '\xEF' && m_block[1] == '\xBB' && m_block[2] == '\xBF')
            m_pos = 3;
        if (m_pos == m_end)
            return fill();
    }
    return m_pos < m_end;
}

std::string& CsvReader::newField()
{
    if (std::size_t(m_count) == m_fields.size())
        m_fields.emplace_back();
    std::string& f = m_fields[std::size_t(m_count++)];
    f.clear();
    return f;
}

bool CsvReader::next()
{
    for (;;) {
        m_count = 0;
        m_recordLine = m_line;
        std::string* f = &newField();
        bool quoted = false;    // inside a quoted field
        bool wasQuoted = false; // the current field was quoted (and is now closed)
        bool any = false;       // the record has begun
        bool ended = false;     // a line break closed it
        while (!ended) {
            if (m_pos == m_end && !fill())
                break;
            const char ch = m_block[m_pos++];
            any = true;
            if (quoted) {
                if (ch == '"') {
                    if (m_pos == m_end && !fill()) {
                        quoted = false;
                        wasQuoted = true;
                        break;
                    }
                    if (m_block[m_pos] == '"') {
                        f->push_back('"');
                        ++m_pos;
                    } else {
                        quoted = false;
                        wasQuoted = true;
                    }
                } else {
                    if (ch == '\n')
                        ++m_line;
                    f->push_back(ch);
                }
                continue;
            }
            switch (ch) {
            case ',':
                f = &newField();
                wasQuoted = false;
                break;
            case '\r':
                if ((m_pos < m_end || fill()) && m_block[m_pos] == '\n')
                    ++m_pos;
                [[fallthrough]];
            case '\n':
                ++m_line;
                ended = true;
                break;
            case '"':
                if (!f->empty() || wasQuoted)
                    throw csvError(m_line, QStringLiteral("a quote inside a field that does not "
                                                          "start with one"));
                quoted = true;
                break;
            default:
                if (wasQuoted)
                    throw csvError(m_line,
                                   QStringLiteral("text after the closing quote of a field"));
                f->push_back(ch);
            }
        }
        if (quoted)
            throw csvError(m_recordLine, QStringLiteral("a quoted field is not closed"));
        if (!any)
            return false;
        const bool blank = m_count == 1 && m_fields[0].empty() && !wasQuoted;
        if (!blank)
            return true;
        // A blank line: read on (a blank last line ends the file).
        if (!ended)
            return false;
    }
}

} // namespace tarmela
