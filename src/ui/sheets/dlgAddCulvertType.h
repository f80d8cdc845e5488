#pragma once

#include "ui/common/TitledDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarmela
{

// "Add New Type of CD Work": adds culvert types, one after another, through the shared
// culvert types record set. Pictures are chosen from the culvert picture folder beside the
// program.
class dlgAddCulvertType : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgAddCulvertType(QWidget* parent = nullptr);

private:
    // Saves the type in the boxes. Returns false (after telling the user) when it couldn't.
    bool addType();
    // Opens the picture list for the existing (true) or proposed (false) picture.
    void choosePicture(bool existing);

    QLineEdit* m_name;
    QComboBox* m_type;
    QLineEdit* m_existing;
    QLineEdit* m_proposed;
    QPushButton* m_add;
};

} // namespace tarmela
