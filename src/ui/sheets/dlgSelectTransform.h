#pragma once

#include "ui/common/TitledDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarmela
{

// "Transform Selection": the arithmetic change for a block of cells. Leaves the choice in
// appState().TransformType (-1 after Cancel; 0 Set, 1 Add, 2 Subtract, 3 Multiply) and
// appState().TransformValue (the leading number of the value text).
class dlgSelectTransform : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgSelectTransform(QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

private:
    QComboBox* cmbTransformation;
    QLineEdit* txtValue;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

} // namespace tarmela
