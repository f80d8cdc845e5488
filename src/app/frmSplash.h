#pragma once

#include <QDialog>

namespace tarmela
{

// The program's name and version, shown while the program starts and from Help > About.
// A click anywhere closes it.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    static QString versionText(); // "Version 1.0.0"

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace tarmela
