#pragma once

#include "ui/common/TitledDialog.h"

#include <functional>

class QListWidget;
class QLineEdit;
class QPushButton;

namespace tarmela {

// "Export Output": writes the chosen outputs of the current road (the two HTML reports and
// the two DXF drawings) into a folder named after the road inside a chosen base folder.
class frmExportMultiple : public TitledDialog
{
    Q_OBJECT
public:
    // Asks for a folder, starting at the given one; empty when the user cancelled.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& current)>;

    explicit frmExportMultiple(QWidget* parent = nullptr);

    // Replaces the folder picker (for tests).
    void setFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }
    void browse();
    // Writes the selected outputs as Export does. Returns true when the dialog closed.
    bool exportSelected();

private:
    FolderPicker m_picker;
    QListWidget* m_list;
    QLineEdit* m_baseDir;
    QPushButton* m_export;
};

} // namespace tarmela
