#pragma once

#include "ui/common/TitledDialog.h"

#include <QColor>
#include <cstdint>
#include <functional>
#include <optional>

class QLabel;

namespace tarmela {

struct Settings;

// Colours as the settings keep them: 24-bit RGB with red in the lowest byte.
QColor colorFromRgbValue(std::int32_t value);
std::int32_t rgbValueOf(const QColor& color);

// Tools > Colors: the line colours of the section drawings. Each colour field is a label
// showing its colour; a click opens the colour chooser.
class dlgColors : public TitledDialog
{
    Q_OBJECT
public:
    // Asks the user for a colour; nothing when the chooser was cancelled.
    using Chooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    explicit dlgColors(QWidget* parent = nullptr);

    // Edits this set of settings instead of the program's own (for tests).
    void setTarget(Settings* settings);
    // Replaces the platform colour chooser (for tests).
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }
    // Opens the chooser for the colour field of that name ("colLeft") as a click does.
    void chooseColor(const QString& field);
    QColor fieldColor(const QString& field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void save();
    QLabel* field(const QString& name) const;
    void setFieldColor(QLabel* field, const QColor& color);

    Settings* m_target;
    Chooser m_chooser;
    QList<QLabel*> m_fields;
};

} // namespace tarmela
