#include "app/frmMain.h"

#include "app/AppState.h"

#include <QCloseEvent>
#include <QMdiArea>

namespace tarmela {

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarmela"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore(); // a child asked to stay open
        return;
    }
    SaveSettings(this);
    event->accept();
}

} // namespace tarmela
