#pragma once

#include "ui/common/TitledDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarmela
{

// "Convert Level Book to Reduced Levels": reduces the current road's level book into its
// RL sheet from the bench mark level typed in; with a closing bench mark the closing error is
// shown and, when asked, distributed over the instrument setups.
class dlgConvertLBtoRL : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgConvertLBtoRL(QWidget* parent = nullptr);

    // Runs the reduction as OK does and closes; an error is shown after closing.
    void convert();

private:
    QLineEdit* m_benchMark;
    QLineEdit* m_closingBenchMark;
    QCheckBox* m_distribute;
    QPushButton* m_ok;
};

} // namespace tarmela
