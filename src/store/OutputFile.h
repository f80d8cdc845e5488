#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace tarmela
{

// Every file the program writes (CSV, HTML, DXF, PDF) goes through here.
//
// A regular file, or a new one, is written to a temporary file in the target's folder and
// takes the target's place in commit(), once every write, the flush to the disk and the close
// succeeded. A failure, or an OutputFile destroyed without commit(), removes the temporary
// file: an earlier file at the target stays as it was.
//
// A file that may not be written (no write permission, or read-only for everyone) is refused,
// not replaced.
//
// A target that is not a regular file (a device such as /dev/full, a pipe, a terminal) is
// written directly, every write checked, and never replaced: a rename would put a plain file
// in place of the device.
//
// Failures throw Error(Io) naming the file and the system's reason ("Cannot write out.csv:
// No space left on device"). Writes made through the QIODevice interface (a QPdfWriter, a
// QTextStream) cannot throw: the first failure is kept, later writes are refused, and
// commit() throws it.
class OutputFile : public QIODevice
{
public:
    // Opens the file for writing; throws Error(Io).
    explicit OutputFile(const QString& path);
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const QString& path() const { return m_path; }
    // Whether the target is replaced at commit() (a regular or new file) or written directly.
    bool replacesTarget() const { return !m_temporary.isEmpty(); }

    // Writes through a buffer; throws Error(Io).
    void put(const char* data, qint64 size);
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    void put(QLatin1String text) { put(text.data(), text.size()); }

    // Writes what is buffered, syncs it to the disk and puts the file in place of the target.
    // Throws Error(Io), leaving the target as it was.
    void commit();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void writeAll(const char* data, qint64 size);
    void flushBuffer();
    [[noreturn]] void fail(int error);
    void discard();

    QString m_path;      // as the caller named it (messages)
    QString m_target;    // the file replaced: symbolic links followed
    QString m_temporary; // empty when the target is written directly
    int m_fd = -1;
    QByteArray m_buffer;
    qint64 m_written = 0;
    qint64 m_writebackFrom = 0;
    QString m_failure; // the first failure of a write through the QIODevice interface
    bool m_committed = false;
};

// Creates a folder and the folders above it. Throws Error(Io) naming the folder and the
// system's reason ("File name too long", "Permission denied", "Not a directory").
void makeFolder(const QString& path);

} // namespace tarmela
