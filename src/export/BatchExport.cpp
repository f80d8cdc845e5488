#include "export/BatchExport.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/OutputFile.h"
#include "store/Roads.h"
#include "store/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

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

// An export writes only inside its folder: a link would send the outputs wherever it points.
void refuseLink(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot write %1: it is a link, and an export writes only "
                                   "inside its folder; remove the link or choose another folder")
                        .arg(shownPath(path)));
}

// A folder is free when it is not there or is empty (it is then taken over), ours when its
// owner file names this road, taken when it names another or, without an owner file, holds
// files of something else; a file of that name is in the way.
FolderUse folderUse(const QString& path, const QByteArray& owner)
{
    refuseLink(path);
    const QFileInfo info(path);
    if (!info.exists())
        return FolderUse::Free;
    if (!info.isDir())
        throw Error(ErrorKind::Io,
                    QStringLiteral("Cannot create the folder %1: a file of that name is in the way")
                        .arg(shownPath(path)));
    QFile file(QDir(path).filePath(QString::fromLatin1(kOwnerFile)));
    if (!file.exists()) {
        // Temporaries an interrupted export of this program left behind do not count.
        const QStringList held = QDir(path).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
        const QRegularExpression leftover(QStringLiteral("^\\.tarmela-\\w{6}$"));
        for (const QString& entry : held)
            if (!leftover.match(entry).hasMatch())
                return FolderUse::Taken;
        return FolderUse::Free;
    }
    if (!file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::Io, QStringLiteral("Cannot read %1: %2")
                                       .arg(shownPath(file.fileName()), file.errorString()));
    return file.readAll() == owner ? FolderUse::Ours : FolderUse::Taken;
}

// The folders of path, from the outermost, that are not there yet.
QStringList missingFolders(const QString& path)
{
    QStringList missing;
    for (QString p = QDir::cleanPath(path); !p.isEmpty() && !QFileInfo(p).exists();) {
        missing.prepend(p);
        const QString up = QFileInfo(p).path();
        if (up == p)
            break;
        p = up;
    }
    return missing;
}

} // namespace

QString exportFolderName(const QString& from, const QString& to)
{
    QString name = from + QStringLiteral(" to ") + to;
    for (QChar& c : name)
        if (unfitForName(c))
            c = QLatin1Char('_');
    // File systems take names of up to 255 bytes: a longer one is cut, at a whole character,
    // to leave room for the " (road N, M)" a folder taken by another road gets.
    constexpr int kMostNameBytes = 200;
    if (name.toUtf8().size() > kMostNameBytes) {
        int bytes = 0, keep = 0;
        for (const uint c : name.toUcs4()) {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; // its UTF-8 length
            if (bytes > kMostNameBytes)
                break;
            keep += QChar::requiresSurrogates(c) ? 2 : 1;
        }
        name.truncate(keep);
    }
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
    // Every file of the export from one state of the road, page by page.
    const ReadTransaction snapshot(db);
    const Road details = roads::get(db, road);

    ExportResult result;
    // cleanPath drops a trailing separator, so the road's folder follows a single one.
    const QString base = QDir::cleanPath(QDir::fromNativeSeparators(baseFolder));
    const QString name = exportFolderName(details.from, details.to);
    const QByteArray owner = ownerText(db, road);
    QStringList created; // the folders this export made, outermost first
    // A failed export into folders it made leaves none of them behind.
    const auto removeCreated = [&]() {
        if (created.isEmpty())
            return;
        QDir(result.folder).removeRecursively();
        for (auto f = created.crbegin(); f != created.crend(); ++f)
            QDir().rmdir(*f);
    };
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
                result.note = QStringLiteral("%1 holds another road's outputs or other "
                                             "files; this road's go to %2")
                                  .arg(shownPath(result.folder), shownPath(next));
                result.folder = next;
            }
        }
        created = missingFolders(result.folder);
        makeFolder(result.folder);
        if (use == FolderUse::Free) {
            OutputFile mark(QDir(result.folder).filePath(QString::fromLatin1(kOwnerFile)));
            mark.put(owner);
            mark.commit();
        }
    } catch (const Error& e) {
        result.error = e.message();
        removeCreated();
        return result;
    }

    for (const ExportOutput& output : exportOutputs()) {
        if (!selected.contains(QLatin1String(output.id)))
            continue;
        ExportOutcome outcome{
            &output, QDir(result.folder).filePath(QString::fromUtf8(output.fileName)), false, {}};
        try {
            refuseLink(outcome.path);
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
    const bool failed =
        !result.error.isEmpty() || std::any_of(result.outcomes.begin(), result.outcomes.end(),
                                               [](const ExportOutcome& o) { return !o.ok; });
    if (failed && !created.isEmpty()) {
        removeCreated();
        for (ExportOutcome& o : result.outcomes)
            if (o.ok) {
                o.ok = false;
                o.message = QStringLiteral("not kept, as the export failed");
            }
    }
    return result;
}

} // namespace tarmela
