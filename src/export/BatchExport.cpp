#include "export/BatchExport.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/OutputFile.h"
#include "store/Roads.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarmela
{

namespace
{

// Characters that cannot stand in a file name on one of the systems the program runs on,
// the folder separators among them.
bool unfitForName(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("<>:\"/\\|?*").contains(c);
}

// A road's export folder holds this file, naming the road and its project, so that an export
// can tell its own folder from another road's that happens to have the same name.
const char* const kOwnerFile = ".tarmela-road";

QByteArray ownerText(const Database& db, std::int64_t road)
{
    return "road=" + QByteArray::number(qlonglong(road)) + "\nproject=" + db.path().toUtf8() + "\n";
}

enum class FolderUse { Free, Ours, Taken };

// A folder is free when it is not there or holds no owner file (it is then taken over), ours
// when its owner file names this road, taken when it names another; a file of that name is in
// the way.
FolderUse folderUse(const QString& path, const QByteArray& owner)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FolderUse::Free;
    if (!info.isDir())
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot create the folder %1: a file of that name is in the way")
                        .arg(shownPath(path)));
    QFile file(QDir(path).filePath(QString::fromLatin1(kOwnerFile)));
    if (!file.exists())
        return FolderUse::Free;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io, QStringLiteral("Cannot read %1: %2")
                                       .arg(shownPath(file.fileName()), file.errorString()));
    return file.readAll() == owner ? FolderUse::Ours : FolderUse::Taken;
}

} // namespace

QString exportFolderName(const QString& from, const QString& to)
{
    QString name = from + QStringLiteral(" to ") + to;
    for (QChar& c : name)
        if (unfitForName(c))
            c = QLatin1Char('_');
    // Windows drops blanks and dots at the end of a name; leading blanks only confuse.
    name = name.trimmed();
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name;
}

ExportResult exportRoad(Database& db, std::int64_t road, const QString& baseFolder,
                        const QStringList& selected, const ExportSettings& s)
{
    if (baseFolder.trimmed().isEmpty())
        throw Error(ErrorKind::Usage, QStringLiteral("Choose the folder to export to"));
    for (const QString& id : selected)
        if (!findExportOutput(id))
            throw Error(ErrorKind::Usage, QStringLiteral("There is no output %1").arg(id));
    const Road details = roads::get(db, road);

    ExportResult result;
    // cleanPath drops a trailing separator, so the road's folder follows a single one.
    const QString base = QDir::cleanPath(QDir::fromNativeSeparators(baseFolder));
    const QString name = exportFolderName(details.from, details.to);
    const QByteArray owner = ownerText(db, road);
    try {
        // "From to To" where that is free or already this road's; else the road's ID is added.
        result.folder = QDir(base).filePath(name);
        FolderUse use = folderUse(result.folder, owner);
        for (int n = 1; use == FolderUse::Taken; ++n) {
            const QString other =
                n == 1 ? QStringLiteral("%1 (road %2)").arg(name).arg(road)
                       : QStringLiteral("%1 (road %2, %3)").arg(name).arg(road).arg(n);
            const QString next = QDir(base).filePath(other);
            if (n > 100)
                throw Error(ErrorKind::Io, QStringLiteral("Cannot create the folder %1: other "
                                                          "roads' outputs are in the way")
                                               .arg(shownPath(next)));
            use = folderUse(next, owner);
            if (use != FolderUse::Taken) {
                result.note = QStringLiteral("%1 holds another road's outputs; this road's go "
                                             "to %2")
                                  .arg(shownPath(result.folder), shownPath(next));
                result.folder = next;
            }
        }
        makeFolder(result.folder);
        if (use == FolderUse::Free) {
            OutputFile mark(QDir(result.folder).filePath(QString::fromLatin1(kOwnerFile)));
            mark.put(owner);
            mark.commit();
        }
    } catch (const Error& e) {
        result.error = e.message();
        return result;
    }

    for (const ExportOutput& output : exportOutputs()) {
        if (!selected.contains(QLatin1String(output.id)))
            continue;
        ExportOutcome outcome{
            &output, QDir(result.folder).filePath(QString::fromUtf8(output.fileName)), false, {}};
        try {
            result.warnings << output.write(db, road, s, outcome.path);
            outcome.ok = true;
        } catch (const Error& e) {
            outcome.message = e.message();
        }
        result.outcomes.push_back(outcome);
        if (!outcome.ok && endsBatchOnFailure(output.kind)) {
            result.error = outcome.message;
            break;
        }
    }
    return result;
}

} // namespace tarmela
