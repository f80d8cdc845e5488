#include "store/ProjectCopy.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

namespace tarmela
{

namespace
{

[[noreturn]] void fail(const QString& target, const QString& why)
{
    throw Error(ErrorKind::Io, QStringLiteral("Cannot write %1: %2").arg(shownPath(target), why));
}

// Runs the whole backup into the file at `path`; the text of the failure, or empty.
QString backupInto(sqlite3* source, const QString& path)
{
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &copy,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString why;
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
        if (backup) {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                why = QString::fromUtf8(sqlite3_errstr(rc));
        } else {
            why = QString::fromUtf8(sqlite3_errmsg(copy));
        }
    } else {
        why = QString::fromUtf8(copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc));
    }
    if (sqlite3_close(copy) != SQLITE_OK && why.isEmpty())
        why = QStringLiteral("the copy could not be closed");
    return why;
}

} // namespace

void copyProject(Database& db, const QString& target)
{
    const QFileInfo info(target);
    if (info.absoluteFilePath() == QFileInfo(db.path()).absoluteFilePath() ||
        (info.exists() && QFileInfo(db.path()).canonicalFilePath() == info.canonicalFilePath()))
        throw Error(ErrorKind::Usage,
                    QStringLiteral("%1 is the open project: choose another file for the copy")
                        .arg(shownPath(target)));
    if (info.exists() && !info.isFile())
        fail(target, QStringLiteral("it is not a file"));
    makeFolder(info.absolutePath());
    // A name of its own in the target's folder, so that the rename below does not cross
    // file systems.
    QString temporary;
    {
        QTemporaryFile name(QDir(info.absolutePath()).filePath(QStringLiteral(".copy-XXXXXX")));
        if (!name.open())
            fail(target, name.errorString());
        temporary = name.fileName();
    }
    QFile::remove(temporary);
    const QString why = backupInto(db.handle(), temporary);
    if (!why.isEmpty()) {
        QFile::remove(temporary);
        fail(target, why);
    }
    // The log files of an earlier project at the target belong to the file being replaced.
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(info.absoluteFilePath() + QLatin1String(suffix));
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        fail(target, reason);
    }
}

} // namespace tarmela
