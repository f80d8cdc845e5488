#pragma once

#include "ui/common/TitledDialog.h"

class QButtonGroup;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace tarmela
{

// Tools > Options: edits the program's preferences in memory (they are written when the
// program ends). The tabs are a row of option buttons `optTabs`, each showing one page of
// `Frames`.
class frmOptions : public TitledDialog
{
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

private:
    // Takes the controls into the settings. Returns false (after telling the user, with
    // nothing changed) when a value can't be taken.
    bool Apply();
    void load();
    void showTab(int index);
    void moveEntry(int step);

    QButtonGroup* m_tabs;
    QStackedWidget* m_frames;
    QCheckBox* m_autoSave;
    QCheckBox* m_autoRefresh;
    QCheckBox* m_grid;
    QRadioButton* m_fixedDatum;
    QRadioButton* m_variableDatum;
    QLineEdit* m_datumValue;
    QLabel* m_datumLabel;
    QSpinBox* m_sectionsPerPage;
    QButtonGroup* m_quantity;
    QComboBox* m_volumeFormula;
    QRadioButton* m_enterRight;
    QRadioButton* m_enterDown;
    QSpinBox* m_viewSections;
    QListWidget* m_order;
    QCheckBox* m_leftReverse;
    QCheckBox* m_rightReverse;
};

} // namespace tarmela
