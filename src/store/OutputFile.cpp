#include "store/OutputFile.h"

#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarmela
{

namespace
{

constexpr qint64 kBufferSize = 1 << 18;
// How much is written before the disk is asked to start on it.
constexpr qint64 kWritebackStep = 8 << 20;

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The mode a new file gets: what the process's umask leaves of rw-rw-rw-.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int closeChecked(int& fd)
{
    const int rc = ::close(fd);
    fd = -1;
    return rc;
}

} // namespace

OutputFile::OutputFile(const QString& path) : m_path(path)
{
    const QFileInfo info(path);
    // Writing through a link replaces the file it points to, not the link.
    m_target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    struct stat st {
    };
    const QByteArray target = QFile::encodeName(m_target);
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
        if (m_fd < 0)
            fail(errno);
    } else {
        // A rename would replace a file the user may not write, or has made read-only, as
        // easily as any other: such a file is refused as writing into it would be.
        if (exists && ::access(target.constData(), W_OK) != 0)
            fail(errno);
        if (exists && (st.st_mode & 0222) == 0)
            fail(EACCES);
        // A short name of its own: the target's name may already be as long as names go.
        QByteArray pattern = QFile::encodeName(QFileInfo(m_target).absolutePath() +
                                               QStringLiteral("/.tarmela-XXXXXX"));
        m_fd = ::mkstemp(pattern.data());
        if (m_fd < 0)
            fail(errno);
        ::fcntl(m_fd, F_SETFD, FD_CLOEXEC);
        m_temporary = QFile::decodeName(pattern);
        // The new file keeps the permissions of the one it replaces.
        if (::fchmod(m_fd, exists ? (st.st_mode & 07777) : newFileMode()) != 0)
            fail(errno);
    }
    m_buffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

OutputFile::~OutputFile()
{
    if (!m_committed)
        discard();
}

void OutputFile::discard()
{
    if (m_fd >= 0)
        closeChecked(m_fd);
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
}

void OutputFile::fail(int error)
{
    discard();
    m_temporary.clear();
    m_committed = true; // nothing left to undo
    throw Error(ErrorKind::Io,
                QStringLiteral("Cannot write %1: %2").arg(shownPath(m_path), reason(error)));
}

void OutputFile::writeAll(const char* data, qint64 size)
{
    if (m_fd < 0)
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot write %1: the file is closed").arg(shownPath(m_path)));
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (n == 0)
            fail(ENOSPC);
        data += n;
        size -= n;
        m_written += n;
    }
#ifdef Q_OS_LINUX
    // The file is synced to the disk before it replaces the target. Starting the disk on what is
    // written while the rest is still being made lets the two overlap, instead of a large file
    // waiting for the disk at the end.
    if (!m_temporary.isEmpty() && m_written - m_writebackFrom >= kWritebackStep) {
        ::sync_file_range(m_fd, m_writebackFrom, m_written - m_writebackFrom,
                          SYNC_FILE_RANGE_WRITE);
        m_writebackFrom = m_written;
    }
#endif
}

void OutputFile::flushBuffer()
{
    if (m_buffer.isEmpty())
        return;
    writeAll(m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
}

void OutputFile::put(const char* data, qint64 size)
{
    if (m_buffer.size() + size > kBufferSize)
        flushBuffer();
    if (size >= kBufferSize)
        writeAll(data, size);
    else
        m_buffer.append(data, size);
}

qint64 OutputFile::writeData(const char* data, qint64 size)
{
    if (!m_failure.isEmpty())
        return -1;
    try {
        put(data, size);
    } catch (const Error& e) {
        m_failure = e.message();
        setErrorString(m_failure);
        return -1;
    }
    return size;
}

qint64 OutputFile::readData(char*, qint64)
{
    return -1;
}

void OutputFile::commit()
{
    if (!m_failure.isEmpty())
        throw Error(ErrorKind::Io, m_failure);
    flushBuffer();
    if (m_temporary.isEmpty()) {
        if (closeChecked(m_fd) != 0)
            fail(errno);
        m_committed = true;
        QIODevice::close();
        return;
    }
    // On the disk before it takes the target's place: a crash then leaves the old file or the
    // whole new one, never an empty file under the target's name.
    if (::fsync(m_fd) != 0)
        fail(errno);
    if (closeChecked(m_fd) != 0)
        fail(errno);
    if (::rename(QFile::encodeName(m_temporary).constData(),
                 QFile::encodeName(m_target).constData()) != 0)
        fail(errno);
    m_committed = true;
    m_temporary.clear();
    QIODevice::close();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(QFileInfo(m_target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void makeFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    auto failWith = [&](int error) {
        throw Error(
            ErrorKind::Io,
            QStringLiteral("Cannot create the folder %1: %2").arg(shownPath(path), reason(error)));
    };
    // Each folder on the way, from the top down.
    for (int at = clean.indexOf(QLatin1Char('/'), 1);;
         at = clean.indexOf(QLatin1Char('/'), at + 1)) {
        const QByteArray part = QFile::encodeName(at < 0 ? clean : clean.left(at));
        struct stat st {
        };
        if (::stat(part.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                failWith(ENOTDIR);
        } else if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
            failWith(errno);
        }
        if (at < 0)
            break;
    }
}

} // namespace tarmela
