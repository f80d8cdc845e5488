#pragma once

#include "ui/common/TitledDialog.h"

class QLabel;

namespace tarmela
{

// Tools > Colors: the line colours of the section drawings. Each colour field is a label
// showing its colour; a click opens the colour chooser. OK keeps the chosen colours in the
// program's settings.
class dlgColors : public TitledDialog
{
    Q_OBJECT
public:
    explicit dlgColors(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();
    void chooseColor(QLabel* field);
    void setFieldColor(QLabel* field, const QColor& color);

    QList<QLabel*> m_fields;
};

} // namespace tarmela
