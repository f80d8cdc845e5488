#include "ui/common/Prompts.h"

namespace tarmela
{

Prompts defaultPrompts()
{
    Prompts p;
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
    return p;
}

Prompts& prompts()
{
    static Prompts current = defaultPrompts();
    return current;
}

} // namespace tarmela
