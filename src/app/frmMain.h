#pragma once

#include <QMainWindow>

class QMdiArea;

namespace tarmela {

// The program's one top-level window: a frame for the data sheets, tools and views.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    QMdiArea* mdiArea() const { return m_mdi; }

protected:
    // Children close first (a sheet may refuse); then the settings are written.
    void closeEvent(QCloseEvent* event) override;

private:
    QMdiArea* m_mdi;
};

} // namespace tarmela
