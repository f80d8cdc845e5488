#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "drawing/Fonts.h"
#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/ToolbarIcons.h"

#include <QApplication>
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

    try {
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
        window.show();
        window.reopenLastRoad();
        rc = QApplication::exec();
    }
    CloseProjectDatabase();
    return rc;
}
