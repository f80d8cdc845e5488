#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "drawing/Fonts.h"
#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/ProjectDocument.h"
#include "ui/common/Prompts.h"
#include "ui/common/ToolbarIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

using namespace tarmela;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarmela"));
    QApplication::setOrganizationName(QStringLiteral("Tarmela"));
    QApplication::setWindowIcon(applicationIcon()); // every window, from the splash on
    installFontSubstitutions();

    QPointer<frmSplash> splash = new frmSplash; // a click may close it early
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // The project open when the program last closed opens again; when it can't be, the
    // program folder's does, and the user is told why.
    QString lastProblem;
    const QString last = desktopMemory().lastProject();
    bool opened = false;
    if (!last.isEmpty() &&
        QFileInfo(last) != QFileInfo(projectPathIn(QApplication::applicationDirPath()))) {
        if (!QFileInfo(last).isFile())
            lastProblem =
                QApplication::translate("frmMain", "The project %1 is no longer there.").arg(last);
        else
            try {
                replaceDocument(openProjectDocument(last));
                opened = true;
            } catch (const Error& e) {
                lastProblem = e.message();
            }
    }
    try {
        if (!opened)
            OpenProjectDatabase(QApplication::applicationDirPath());
    } catch (const Error& e) {
        if (splash)
            splash->close();
        QMessageBox::critical(nullptr, QStringLiteral("Tarmela"), e.message());
        return 1;
    }

    int rc = 0;
    {
        frmMain window;
        LoadSettings(&window);
        AppState& s = appState();
        s.ReadingsPerSide = 8;
        s.FormationCamber = 0.035;
        s.CarriageCamber = 0.035;
        if (splash)
            splash->close();
        if (desktopMemory().mainMaximized())
            window.showMaximized();
        else
            window.show();
        if (!lastProblem.isEmpty())
            prompts().tell(&window,
                           QApplication::translate("frmMain",
                                                   "%1\nThe program folder's project is open "
                                                   "instead.")
                               .arg(lastProblem),
                           QMessageBox::Warning);
        else
            window.reopenLastRoad();
        rc = QApplication::exec();
    }
    CloseProjectDatabase();
    return rc;
}
