#pragma once

#include "ui/common/TitledDialog.h"

#include <QStringList>

class QListWidget;
class QLineEdit;
class QPushButton;

namespace tarmela
{

// "Export Output": writes the chosen outputs of the current road (those of exportOutputs()
// offered here: the HTML reports and the DXF drawings) into a folder named after the road
// inside a chosen base folder.
class frmExportMultiple : public TitledDialog
{
    Q_OBJECT
public:
    explicit frmExportMultiple(QWidget* parent = nullptr);

private:
    void browse();
    // Writes the selected outputs; the dialog closes unless nothing could be written.
    void exportSelected();

    QListWidget* m_list;
    QStringList m_outputs; // the ids of the list's items
    QLineEdit* m_baseDir;
    QPushButton* m_export;
};

} // namespace tarmela
