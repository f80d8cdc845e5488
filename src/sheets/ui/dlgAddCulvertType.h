#pragma once

#include "ui/common/TitledDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarmela {

// "Add New Type of CD Work": adds culvert types, one after another, through the shared
// culvert types record set. Pictures are chosen from the culvert picture folder.
class dlgAddCulvertType : public TitledDialog
{
    Q_OBJECT
public:
    // imageFolder: where the pictures are listed from; empty means the program's own folder.
    explicit dlgAddCulvertType(QWidget* parent = nullptr, const QString& imageFolder = {});

    // Saves the type in the boxes. Returns false (after telling the user) when it couldn't.
    bool addType();
    // Opens the picture list for the existing (true) or proposed (false) picture.
    void choosePicture(bool existing);

private:
    QString m_folder;
    QLineEdit* m_name;
    QComboBox* m_type;
    QLineEdit* m_existing;
    QLineEdit* m_proposed;
    QPushButton* m_add;
};

} // namespace tarmela
