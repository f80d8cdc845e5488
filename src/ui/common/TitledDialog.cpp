#include "ui/common/TitledDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarmela
{

namespace
{
// A drag starts only after the pointer has moved this far (30 twips), so a click on the
// strip never nudges the dialog.
constexpr int kDragThreshold = 2;
} // namespace

TitledDialog::TitledDialog(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(caption);
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);

    m_title = new QWidget(this);
    m_title->setObjectName(QStringLiteral("wnTitle"));
    m_title->setAutoFillBackground(true);
    m_title->setCursor(Qt::SizeAllCursor);
    QPalette pal = m_title->palette();
    pal.setColor(QPalette::Window, QColor(255, 102, 51));
    pal.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(pal);
    auto* strip = new QHBoxLayout(m_title);
    strip->setContentsMargins(8, 3, 3, 3);
    m_caption = new QLabel(caption, m_title);
    QFont f = m_caption->font();
    f.setBold(true);
    m_caption->setFont(f);
    strip->addWidget(m_caption, 1);
    auto* exit = new QToolButton(m_title);
    exit->setObjectName(QStringLiteral("wnExit"));
    exit->setText(QStringLiteral("\u2715"));
    exit->setAutoRaise(true);
    exit->setToolTip(tr("Close"));
    // The close picture is for the mouse: kept out of the tab order, it can't take the focus
    // and be pressed by a Space typed into the dialog. Esc closes the dialog from the keyboard.
    exit->setFocusPolicy(Qt::NoFocus);
    exit->setStyleSheet(QStringLiteral("QToolButton { color: white; border: none; padding: 0 4px; }"
                                       "QToolButton:hover { background: #c0401a; }"));
    connect(exit, &QToolButton::clicked, this, &QDialog::reject);
    m_exit = exit;
    strip->addWidget(exit);
    m_title->installEventFilter(this);
    m_caption->installEventFilter(this);
    outer->addWidget(m_title);

    auto* body = new QWidget(this);
    m_content = new QVBoxLayout(body);
    m_content->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(body, 1);
    setStyleSheet(QStringLiteral("tarmela--TitledDialog { border: 1px solid #7a2a10; }"));
}

void TitledDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (!visible)
        return;
    // A dialog shown with the focus on a button (Qt gives it to the default button when the
    // tab order starts with one) would take a Space typed as the first letter of a name as a
    // press. The first field gets the focus instead, unless the dialog chose one itself.
    QWidget* current = focusWidget();
    if (current && !qobject_cast<QPushButton*>(current))
        return;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && !qobject_cast<QPushButton*>(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TitledDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_title || watched == m_caption) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton) {
                m_dragging = true;
                m_pressAt = e->globalPosition().toPoint();
                m_startPos = pos();
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (m_dragging) {
                const QPoint offset = e->globalPosition().toPoint() - m_pressAt;
                if (qAbs(offset.x()) > kDragThreshold || qAbs(offset.y()) > kDragThreshold)
                    move(m_startPos + offset);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void addButtonPair(QWidget* parent, QBoxLayout* layout, QPushButton*& first,
                   const QString& firstCaption, const QString& firstName, QPushButton*& second,
                   const QString& secondCaption, const QString& secondName)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    first = new QPushButton(firstCaption, parent);
    first->setObjectName(firstName);
    first->setDefault(true);
    second = new QPushButton(secondCaption, parent);
    second->setObjectName(secondName);
    row->addWidget(first);
    row->addWidget(second);
    layout->addLayout(row);
}

void addRadioPair(QWidget* parent, QBoxLayout* layout, QRadioButton*& first,
                  const QString& firstCaption, const QString& firstName, QRadioButton*& second,
                  const QString& secondCaption, const QString& secondName)
{
    first = new QRadioButton(firstCaption, parent);
    first->setObjectName(firstName);
    second = new QRadioButton(secondCaption, parent);
    second->setObjectName(secondName);
    layout->addWidget(first);
    layout->addWidget(second);
}

void addOkCancel(QWidget* parent, QBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel)
{
    addButtonPair(parent, layout, ok, QObject::tr("OK"), QStringLiteral("OKButton"), cancel,
                  QObject::tr("Cancel"), QStringLiteral("CancelButton"));
}

} // namespace tarmela
