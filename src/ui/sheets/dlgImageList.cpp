#include "ui/sheets/dlgImageList.h"

#include "ui/common/Prompts.h"
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace tarmela
{

QString defaultCulvertFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Culverts"));
}

dlgImageList::dlgImageList(const QString& folder, QWidget* parent)
    : TitledDialog(tr("Select Image"), parent), m_folder(folder)
{
    setObjectName(QStringLiteral("dlgImageList"));
    auto* row = new QHBoxLayout;
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setMinimumSize(200, 200);
    row->addWidget(m_files, 1);
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("picPreview"));
    m_preview->setFixedSize(140, 110);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_preview->setStyleSheet(QStringLiteral("background: white;"));
    row->addWidget(m_preview, 0, Qt::AlignTop);
    contentLayout()->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_select = new QPushButton(tr("&View"), this);
    m_select->setObjectName(QStringLiteral("cmdSelect"));
    m_select->setEnabled(false);
    m_select->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(m_select);
    buttons->addWidget(cancel);
    contentLayout()->addLayout(buttons);

    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] {
        m_select->setEnabled(!m_files->selectedItems().isEmpty());
        showPreview();
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, &dlgImageList::choose);
    connect(m_select, &QPushButton::clicked, this, &dlgImageList::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QDir dir(m_folder);
    if (!dir.exists() || !dir.isReadable()) {
        // Told once the dialog is on screen, so the message has an owner to sit on.
        QTimer::singleShot(0, this, [this] {
            prompts().tell(
                this,
                tr("The picture folder %1 can't be shown.").arg(QDir::toNativeSeparators(m_folder)),
                QMessageBox::Warning);
        });
        return;
    }
    m_files->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void dlgImageList::showPreview()
{
    const auto selected = m_files->selectedItems();
    QPixmap pm;
    if (!selected.isEmpty())
        pm.load(QDir(m_folder).filePath(selected.front()->text()));
    if (pm.isNull()) {
        m_preview->clear();
        return;
    }
    m_preview->setPixmap(pm.width() > m_preview->width() - 4 ||
                                 pm.height() > m_preview->height() - 4
                             ? pm.scaled(m_preview->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                         Qt::SmoothTransformation)
                             : pm);
}

void dlgImageList::choose()
{
    const auto selected = m_files->selectedItems();
    if (selected.isEmpty())
        return;
    m_result = selected.front()->text();
    accept();
}

} // namespace tarmela
