// The main window's projects: new, open, save as a copy, the recent list and the title; and
// closing windows (the active one, or those of a road about to be deleted).
#include "app/WindowRegistry.h"
#include "app/frmMain.h"
#include "store/Error.h"
#include "store/ProjectCopy.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/ProjectDocument.h"
#include "ui/common/Prompts.h"
#include "ui/sheets/frmDataGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace tarmela
{

namespace
{

const char* const kProjectFilter =
    QT_TRANSLATE_NOOP("frmMain", "Tarmela projects (*.sqlite);;All files (*)");

// A name typed without an extension gets the projects' one.
QString withSuffix(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".sqlite") : path;
}

} // namespace

QString frmMain::projectFolder() const
{
    const QString path = appState().DBPath;
    return path.isEmpty() ? QDir::homePath() : QFileInfo(path).absolutePath();
}

bool frmMain::openProject(const QString& path)
{
    std::unique_ptr<ProjectDocument> document;
    try {
        BusyCursor busy;
        document = openProjectDocument(path);
    } catch (const Error& e) {
        prompts().tell(this, e.message(), QMessageBox::Warning);
        return false;
    }
    // Nothing of the open project changed so far: a window that asks to stay keeps it open.
    if (!replaceDocument(std::move(document)))
        return false;
    desktopMemory().addRecentProject(path);
    return true;
}

void frmMain::newProject()
{
    const QString picked =
        prompts().pickSaveFile(this, tr("New Project"), projectFolder(), tr(kProjectFilter));
    if (picked.isEmpty())
        return;
    const QString path = withSuffix(picked);
    // A new project never takes the place of a file: that would lose whatever it held.
    if (QFileInfo::exists(path)) {
        prompts().tell(this,
                       tr("%1 exists already. Open it with File > Open Project, or choose "
                          "another name for the new project.")
                           .arg(QDir::toNativeSeparators(path)),
                       QMessageBox::Warning);
        return;
    }
    openProject(path);
}

void frmMain::openProjectChosen()
{
    const QString path =
        prompts().pickOpenFile(this, tr("Open Project"), projectFolder(), tr(kProjectFilter));
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        prompts().tell(this, tr("There is no project file %1.").arg(QDir::toNativeSeparators(path)),
                       QMessageBox::Warning);
        return;
    }
    openProject(path);
}

void frmMain::saveProjectAs()
{
    AppState& s = appState();
    if (!s.ProjectConnection || !commitOpenEdits(tr("saving the project as another file")))
        return;
    const QString picked =
        prompts().pickSaveFile(this, tr("Save Project As"), projectFolder(), tr(kProjectFilter));
    if (picked.isEmpty())
        return;
    const QString path = withSuffix(picked);
    const std::int64_t road = s.CurrentRoadID;
    try {
        BusyCursor busy;
        copyProject(*s.ProjectConnection, path);
    } catch (const Error& e) {
        prompts().tell(this, e.message(), QMessageBox::Warning);
        return;
    }
    // The work goes on in the copy, on the same road.
    if (openProject(path) && road > 0)
        ChooseRoad(road);
}

void frmMain::projectChanged()
{
    const QString path = appState().DBPath;
    setWindowTitle(path.isEmpty() ? QStringLiteral("Tarmela")
                                  : QStringLiteral("Tarmela - %1").arg(QFileInfo(path).fileName()));
    setWindowFilePath(path);
}

void frmMain::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = desktopMemory().recentProjects();
    int n = 1;
    for (const QString& file : files) {
        QAction* a = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(file)));
        connect(a, &QAction::triggered, this, [this, file] {
            if (QFileInfo(file) == QFileInfo(appState().DBPath))
                return; // open already
            if (!QFileInfo(file).isFile()) {
                desktopMemory().removeRecentProject(file);
                prompts().tell(this,
                               tr("The project %1 is no longer there; it leaves the list.")
                                   .arg(QDir::toNativeSeparators(file)),
                               QMessageBox::Warning);
                return;
            }
            openProject(file);
        });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(tr("(none)"))->setEnabled(false);
}

void frmMain::rememberSession()
{
    DesktopMemory memory = desktopMemory();
    if (!appState().DBPath.isEmpty()) {
        memory.setLastProject(appState().DBPath);
        memory.addRecentProject(appState().DBPath);
    }
    memory.setMainMaximized(isMaximized());
}

bool frmMain::closeRoadWindows(std::int64_t road, const QWidget* except)
{
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub == except || sub->widget() == except)
            continue;
        const auto* sheet = qobject_cast<const frmDataGrid*>(sub->widget());
        const bool shows = (entryOf(sub) && entryOf(sub)->needsRoad && roadOf(sub) == road) ||
                           (sheet && sheet->RoadID == road);
        if (shows && !sub->close())
            return false;
    }
    return true;
}

void frmMain::closeActiveWindow()
{
    if (QMdiSubWindow* sub = m_mdi->activeSubWindow())
        sub->close();
}

} // namespace tarmela
