#include "sheets/ui/SheetPrompts.h"

#include "sheets/ui/dlgSelectTransform.h"

namespace tarmela
{

SheetPrompts defaultSheetPrompts()
{
    SheetPrompts p;
    p.ask = [](QWidget* parent, const QString& caption, const QString& text,
               QMessageBox::StandardButtons buttons) {
        QMessageBox box(QMessageBox::Question,
                        caption.isEmpty() ? QStringLiteral("Tarmela") : caption, text, buttons,
                        parent);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    p.tell = [](QWidget* parent, const QString& text, QMessageBox::Icon icon) {
        QMessageBox box(icon, QStringLiteral("Tarmela"), text, QMessageBox::Ok, parent);
        box.exec();
    };
    p.chooseTransform = [](QWidget* parent) {
        dlgSelectTransform dlg(parent);
        dlg.exec();
    };
    return p;
}

SheetPrompts& sheetPrompts()
{
    static SheetPrompts prompts = defaultSheetPrompts();
    return prompts;
}

} // namespace tarmela
