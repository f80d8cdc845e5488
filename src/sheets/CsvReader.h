#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace tarmela
{

// Reads comma separated records (RFC 4180) from a device a block at a time, so that a file of
// any length is read in the same memory. Quoted fields may hold commas, quotes ("") and line
// breaks; lines may end in CRLF or LF; blank lines are skipped; a UTF-8 byte order mark at the
// start is dropped. Fields are the file's bytes (UTF-8), valid until the next record.
class CsvReader
{
public:
    // name is the file as messages show it; blockSize the bytes read at a time.
    CsvReader(QIODevice& in, const QString& name, int blockSize = 1 << 20);

    // Steps to the next record: false after the last. Throws Error(Data) naming the line of a
    // malformed field or a NUL byte (a file that is not UTF-8 text), Error(Io) when the
    // device can't be read.
    bool next();

    int line() const { return m_recordLine; } // where the record starts, from 1
    int size() const { return m_count; }
    std::string_view field(int k) const { return m_fields[std::size_t(k)]; }
    QString text(int k) const; // the field as text

private:
    bool fill(); // false at the end of the device
    std::string& newField();

    QIODevice& m_in;
    QString m_name;
    std::vector<char> m_block;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_started = false;
    std::vector<std::string> m_fields; // kept from record to record: no allocation per row
    int m_count = 0;
    int m_line = 1;
    int m_recordLine = 1;
};

} // namespace tarmela
