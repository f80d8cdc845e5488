#include "ui/pages/PagedWindow.h"

#include "store/Error.h"
#include "store/Numbers.h"
#include "ui/common/Prompts.h"

#include <QInputDialog>
#include <QKeyEvent>
#include <algorithm>

namespace tarmela
{

PagedWindow::PagedWindow(const ZoomRule& rule, QWidget* parent) : QWidget(parent), m_rule(rule)
{
    setFocusPolicy(Qt::StrongFocus);
}

ChildCommands PagedWindow::enabledCommands() const
{
    ChildCommands offered;
    if (!showing())
        return offered;
    offered |= ChildCommand::Print | ChildCommand::Zoom;
    offered.setFlag(ChildCommand::PreviousPage, m_page > 0);
    offered.setFlag(ChildCommand::NextPage, m_page < m_pageCount - 1);
    offered.setFlag(ChildCommand::ZoomIn, m_rule.in(m_zoom) != m_zoom);
    offered.setFlag(ChildCommand::ZoomOut, m_rule.out(m_zoom) != m_zoom);
    return offered;
}

void PagedWindow::turnTo(std::int64_t index)
{
    if (!showing())
        return;
    index = std::clamp<std::int64_t>(index, 0, m_pageCount - 1);
    if (index == m_page)
        return;
    try {
        drawPage(index, true);
        m_page = index;
    } catch (const Error& e) {
        prompts().tell(this, e.message(), QMessageBox::Warning);
    }
    commandsChanged();
}

void PagedWindow::zoomTo(double percent)
{
    m_zoom = percent;
    if (showing()) {
        try {
            drawPage(m_page, false);
        } catch (const Error& e) {
            prompts().tell(this, e.message(), QMessageBox::Warning);
        }
    }
    commandsChanged();
}

void PagedWindow::sMoveTop()
{
    turnTo(m_page + 1);
}

void PagedWindow::sMoveBottom()
{
    turnTo(m_page - 1);
}

void PagedWindow::sZoomInPage()
{
    zoomTo(m_rule.in(m_zoom));
}

void PagedWindow::sZoomOutPage()
{
    zoomTo(m_rule.out(m_zoom));
}

void PagedWindow::sZoomPage()
{
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("dlgZoom"));
    ask.setWindowTitle(tr("Zoom"));
    ask.setLabelText(tr("Enter zoom factor in percentage : "));
    ask.setTextValue(QStringLiteral("100"));
    if (ask.exec() != QDialog::Accepted)
        return;
    const QString answer = ask.textValue();
    if (!isNumeric(answer))
        return;
    const double value = leadingNumber(answer);
    if (value < ZoomRule::kLeastAsked || value > m_rule.highest) {
        prompts().tell(this,
                       tr("Value must be in the range %1 to %2!")
                           .arg(ZoomRule::kLeastAsked)
                           .arg(m_rule.highest),
                       QMessageBox::Warning);
        return;
    }
    zoomTo(zoomFromAnswer(value));
}

void PagedWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        sMoveTop();
        break;
    case Qt::Key_PageUp:
        sMoveBottom();
        break;
    case Qt::Key_Home:
        turnTo(0);
        break;
    case Qt::Key_End:
        turnTo(m_pageCount - 1);
        break;
    case Qt::Key_Plus:
        sZoomInPage();
        break;
    case Qt::Key_Minus:
        sZoomOutPage();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace tarmela
