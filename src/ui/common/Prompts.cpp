#include "ui/common/Prompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QUrl>

namespace tarmela
{

Prompts defaultPrompts()
{
    Prompts p;
    p.ask = [](QWidget* parent, const QString& caption, const QString& text,
               QMessageBox::StandardButtons buttons) {
        QMessageBox box(QMessageBox::Question,
                        caption.isEmpty() ? QStringLiteral("Tarmela") : caption, text,
                        buttons & ~QMessageBox::StandardButtons(kNoByDefault), parent);
        if (buttons.testFlag(kNoByDefault))
            box.setDefaultButton(QMessageBox::No);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    p.tell = [](QWidget* parent, const QString& text, QMessageBox::Icon icon) {
        QMessageBox box(icon, QStringLiteral("Tarmela"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.tellWritten = [](QWidget* parent, const QString& text, const QString& folder) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tarmela"), text, QMessageBox::Ok,
                        parent);
        QPushButton* open = box.addButton(QObject::tr("Open &Folder"), QMessageBox::ActionRole);
        box.exec();
        if (box.clickedButton() == open && !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
            prompts().tell(parent,
                           QObject::tr("No file manager could be started for %1.")
                               .arg(QDir::toNativeSeparators(folder)),
                           QMessageBox::Information);
    };
    p.pickColor = [](QWidget* parent, const QColor& initial) {
        return QColorDialog::getColor(initial, parent, QObject::tr("Color"));
    };
    p.pickFolder = [](QWidget* parent, const QString& caption, const QString& current) {
        return QFileDialog::getExistingDirectory(parent, caption, current,
                                                 QFileDialog::ShowDirsOnly);
    };
    p.pickSaveFile = [](QWidget* parent, const QString& caption, const QString& current,
                        const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, current, filter);
    };
    p.pickOpenFile = [](QWidget* parent, const QString& caption, const QString& current,
                        const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, current, filter);
    };
    return p;
}

Prompts& prompts()
{
    static Prompts current = defaultPrompts();
    return current;
}

} // namespace tarmela
