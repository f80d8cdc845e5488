// File > Import CSV... and Export CSV... on the RL and LB sheets: the batch tool's engine
// (sheets/SheetCsv), so that a file reads and writes the same from either.
#include "sheets/SheetCsv.h"
#include "store/Error.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/Prompts.h"
#include "ui/sheets/frmDataGrid.h"

#include <QDir>
#include <QFileInfo>

namespace tarmela
{

namespace
{

const char* const kCsvFilter = QT_TRANSLATE_NOOP("frmDataGrid", "CSV files (*.csv);;All files (*)");
const QString kCsvFolder = QStringLiteral("CsvFolder");

QString rowCount(std::int64_t n)
{
    return n == 1 ? frmDataGrid::tr("1 row") : frmDataGrid::tr("%1 rows").arg(n);
}

QString startFolder()
{
    const QString folder = desktopMemory().path(kCsvFolder);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace

std::optional<statements::Sheet> frmDataGrid::csvSheet() const
{
    if (RoadID < 1)
        return std::nullopt;
    if (strCurrentDataSheet == SheetKind::ReducedLevel)
        return statements::Sheet::ReducedLevel;
    if (strCurrentDataSheet == SheetKind::LevelBook)
        return statements::Sheet::LevelBook;
    return std::nullopt;
}

void frmDataGrid::importCsv()
{
    const auto sheet = csvSheet();
    if (!sheet)
        return;
    const QString what = tr("importing a CSV file");
    // The file's rows meet what is saved: this sheet's edits and the other windows' first.
    if (!commitEdits(RoadID, what) || !othersCommitted(RoadID, what))
        return;
    const QString path =
        prompts().pickOpenFile(window(), tr("Import CSV"), startFolder(), tr(kCsvFilter));
    if (path.isEmpty())
        return;
    desktopMemory().setPath(kCsvFolder, QFileInfo(path).absolutePath());
    CsvImportResult result;
    try {
        BusyCursor busy;
        result = importSheetCsv(db(), RoadID, *sheet, path);
    } catch (const Error& e) {
        // Every line is checked before anything is written: the rows are as they were.
        prompts().tell(window(), e.message(), QMessageBox::Warning);
        return;
    }
    // Every window showing these rows, this one too, reads them again.
    m_document.noteRowsWritten({RoadID, rowsShown(), nullptr, false});
    prompts().tell(window(),
                   tr("%1: %2 updated, %3 added from %4.")
                       .arg(statements::sheetTable(*sheet, RoadID), rowCount(result.updated),
                            rowCount(result.added), QDir::toNativeSeparators(path)),
                   QMessageBox::Information);
}

void frmDataGrid::exportCsv()
{
    const auto sheet = csvSheet();
    if (!sheet)
        return;
    // The file holds what is saved; edits not saved yet are written or the user is asked.
    if (!commitEdits(RoadID, tr("exporting a CSV file")))
        return;
    const QString table = statements::sheetTable(*sheet, RoadID);
    const QString offered = QDir(startFolder()).filePath(table + QStringLiteral(".csv"));
    const QString path =
        prompts().pickSaveFile(window(), tr("Export CSV"), offered, tr(kCsvFilter));
    if (path.isEmpty())
        return;
    desktopMemory().setPath(kCsvFolder, QFileInfo(path).absolutePath());
    std::int64_t written = 0;
    try {
        BusyCursor busy;
        written = exportSheetCsv(db(), RoadID, *sheet, path);
    } catch (const Error& e) {
        prompts().tell(window(), e.message(), QMessageBox::Warning);
        return;
    }
    prompts().tell(
        window(),
        tr("%1: %2 written to %3.").arg(table, rowCount(written), QDir::toNativeSeparators(path)),
        QMessageBox::Information);
}

} // namespace tarmela
