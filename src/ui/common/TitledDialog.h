#pragma once

#include <QDialog>
#include <QPoint>

class QBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace tarmela
{

// A dialog that draws its own title strip, as every dialog of the program does: the strip
// `wnTitle` moves the dialog while the mouse button is held on it, the picture `wnExit`
// closes it like Cancel. Contents go into contentLayout().
class TitledDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TitledDialog(const QString& caption, QWidget* parent = nullptr);
    QVBoxLayout* contentLayout() const { return m_content; }
    QWidget* titleStrip() const { return m_title; }
    QWidget* exitPicture() const { return m_exit; }

    // Showing puts the focus on the first field (not a push button, whose Space would press it).
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_title;
    QLabel* m_caption;
    QWidget* m_exit;
    QVBoxLayout* m_content;
    bool m_dragging = false;
    QPoint m_pressAt; // where the button went down, in global coordinates
    QPoint m_startPos;
};

// A row of two buttons at the foot of a dialog, right-aligned; the first is the default.
void addButtonPair(QWidget* parent, QBoxLayout* layout, QPushButton*& first,
                   const QString& firstCaption, const QString& firstName, QPushButton*& second,
                   const QString& secondCaption, const QString& secondName);
// Two named option buttons side by side (or one under the other) in a layout.
void addRadioPair(QWidget* parent, QBoxLayout* layout, QRadioButton*& first,
                  const QString& firstCaption, const QString& firstName, QRadioButton*& second,
                  const QString& secondCaption, const QString& secondName);
// The usual pair: `OKButton` and `CancelButton`.
void addOkCancel(QWidget* parent, QBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel);

} // namespace tarmela
