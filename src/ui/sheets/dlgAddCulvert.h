#pragma once

#include "ui/common/TitledDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarmela
{

// "Add CD Work to Road": places culverts of the chosen types on the current road, one after
// another, through the shared culverts record set.
class dlgAddCulvert : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgAddCulvert(QWidget* parent = nullptr);

public slots:
    // Closing, by Cancel or the title strip, first brings the culverts record set up to date.
    void reject() override;

private:
    // Saves the culvert in the boxes. Returns false (after telling the user) when it couldn't.
    bool addCulvert();

    QComboBox* m_name;
    QLineEdit* m_chainage;
    QRadioButton* m_existing;
    QRadioButton* m_proposed;
    QPushButton* m_add;
};

} // namespace tarmela
