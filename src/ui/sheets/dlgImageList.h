#pragma once

#include "ui/common/TitledDialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tarmela
{

// The folder of culvert pictures beside the program: <program folder>/Culverts.
QString defaultCulvertFolder();

// "Select Image": lists the files of the culvert picture folder; the result is the chosen
// file's name (without folder), empty when nothing was chosen.
class dlgImageList : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgImageList(const QString& folder, QWidget* parent = nullptr);
    QString selectedFile() const { return m_result; }

private:
    void choose();
    void showPreview();

    QString m_folder;
    QString m_result;
    QListWidget* m_files;
    QLabel* m_preview;
    QPushButton* m_select;
};

} // namespace tarmela
