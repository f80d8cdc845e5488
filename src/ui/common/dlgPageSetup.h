#pragma once

#include "ui/common/TitledDialog.h"

class QComboBox;
class QLineEdit;

namespace tarmela
{

struct Settings;

// "Page Setup": the page margins in centimetres and the paper size that the cross-section
// pages are laid out with. OK stores each margin as the number its text starts with ("1.5cm"
// is 1.5, a text without a leading number is 0) and the paper size, in the settings in force
// (they are written to the store with the other settings at exit); Cancel changes nothing.
// A negative margin, or one that leaves the cross-section pages no room for the drawing, is
// refused with the range it may take, and the dialog stays.
class dlgPageSetup : public TitledDialog
{
    Q_OBJECT
public:
    dlgPageSetup(Settings& settings, QWidget* parent = nullptr);

private:
    void store();
    // Tells why the margins can't be taken and puts the cursor in the box at fault; false
    // when they can be.
    bool refused();

    Settings& m_settings;
    QLineEdit* m_left;
    QLineEdit* m_right;
    QLineEdit* m_top;
    QLineEdit* m_bottom;
    QComboBox* m_paper;
};

} // namespace tarmela
