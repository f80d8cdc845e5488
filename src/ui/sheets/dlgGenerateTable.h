#pragma once

#include "ui/common/TitledDialog.h"

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarmela
{

// "Generate": rebuilds the current road's RL and/or LB sheet with one empty row per interval
// between a start and an end chainage.
class dlgGenerateTable : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgGenerateTable(QWidget* parent = nullptr);

    // Runs the generation as OK does, asking first when a sheet holds rows. Returns false when
    // the input was refused or the question answered No (the dialog stays open); otherwise
    // the dialog has closed: accepted when the sheets were rebuilt, rejected (with the error
    // shown) when nothing was written.
    bool generate();

private:
    void updateOk();

    std::int64_t m_length = 0;
    int m_interval = 0;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QCheckBox* m_reducedLevel;
    QCheckBox* m_levelBook;
    QPushButton* m_ok;
};

} // namespace tarmela
