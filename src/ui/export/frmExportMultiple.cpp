#include "ui/export/frmExportMultiple.h"
#include "settings/ExportSettingsFor.h"

#include "export/BatchExport.h"
#include "store/Error.h"
#include "ui/common/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/DesktopMemory.h"
#include "ui/common/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tarmela
{

frmExportMultiple::frmExportMultiple(QWidget* parent) : TitledDialog(tr("Export Output"), parent)
{
    setObjectName(QStringLiteral("frmExportMultiple"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    // Ctrl- and Shift-click as in any list; Ctrl+A selects every output.
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const ExportOutput& output : exportOutputs()) {
        if (!output.inExportDialog)
            continue;
        m_list->addItem(QString::fromUtf8(output.label));
        m_outputs << QString::fromLatin1(output.id);
    }
    m_list->setMaximumHeight(m_list->sizeHintForRow(0) * m_list->count() + 8);
    contentLayout()->addWidget(m_list);

    auto* folderRow = new QHBoxLayout;
    m_baseDir = new QLineEdit(this);
    m_baseDir->setObjectName(QStringLiteral("txtBaseDir"));
    m_baseDir->setMinimumWidth(260);
    auto* browseButton = new QPushButton(tr("..."), this);
    browseButton->setObjectName(QStringLiteral("cmdBrowse"));
    browseButton->setAutoDefault(false);
    browseButton->setMaximumWidth(32);
    m_baseDir->setText(desktopMemory().path(QStringLiteral("ExportFolder")));
    folderRow->addWidget(new QLabel(tr("Folder :"), this));
    folderRow->addWidget(m_baseDir, 1);
    folderRow->addWidget(browseButton);
    contentLayout()->addLayout(folderRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_export = new QPushButton(tr("&Export"), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_export->setEnabled(false);
    m_export->setDefault(true);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(m_export);
    buttons->addWidget(close);
    contentLayout()->addLayout(buttons);

    connect(m_baseDir, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_export->setEnabled(!text.isEmpty()); });
    connect(browseButton, &QPushButton::clicked, this, &frmExportMultiple::browse);
    connect(m_export, &QPushButton::clicked, this, &frmExportMultiple::exportSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void frmExportMultiple::browse()
{
    m_baseDir->setText(QDir::toNativeSeparators(
        prompts().pickFolder(this, tr("Select folder for Export"), m_baseDir->text())));
}

void frmExportMultiple::exportSelected()
{
    if (m_baseDir->text().isEmpty())
        return;
    AppState& s = appState();
    QStringList selected;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected())
            selected << m_outputs[i];

    const ExportSettings settings =
        exportSettingsFor(s.settings, QCoreApplication::applicationDirPath());

    ExportResult result;
    try {
        BusyCursor busy;
        if (!s.ProjectConnection)
            throw Error(ErrorKind::Database, tr("The project database is not open."));
        result = exportRoad(*s.ProjectConnection, s.CurrentRoadID, m_baseDir->text(), selected,
                            settings);
    } catch (const Error& e) {
        result.error = e.message();
    }
    if (!result.error.isEmpty()) {
        prompts().tell(this, result.error, QMessageBox::Warning);
        return;
    }
    // Drawings that could not be written do not stop the others; they are reported together.
    QStringList notes = result.warnings;
    if (!result.note.isEmpty())
        notes.prepend(result.note);
    for (const ExportOutcome& o : result.outcomes)
        if (!o.ok && !o.message.isEmpty())
            notes << o.message;
    desktopMemory().setPath(QStringLiteral("ExportFolder"), m_baseDir->text());
    QStringList written;
    for (const ExportOutcome& o : result.outcomes)
        if (o.ok)
            written << QStringLiteral("  ") + QFileInfo(o.path).fileName();
    accept();
    if (!notes.isEmpty())
        prompts().tell(parentWidget(), notes.join(QStringLiteral("\n")), QMessageBox::Warning);
    if (!written.isEmpty())
        prompts().tellWritten(
            parentWidget(),
            tr("Written to %1:\n%2")
                .arg(QDir::toNativeSeparators(result.folder), written.join(QStringLiteral("\n"))),
            result.folder);
}

} // namespace tarmela
