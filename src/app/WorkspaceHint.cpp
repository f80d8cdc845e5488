#include "app/WorkspaceHint.h"

#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tarmela
{

WorkspaceHint::WorkspaceHint(QMdiArea* area)
    : QFrame(area->viewport()), m_area(area), m_text(new QLabel(this)),
      m_roads(new QPushButton(tr("Road Details"), this)), m_levels(new QPushButton(this))
{
    setObjectName(QStringLiteral("wsHint"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_roads->setObjectName(QStringLiteral("cmdHintRoads"));
    m_levels->setObjectName(QStringLiteral("cmdHintLevels"));
    m_text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(m_text);
    layout->addWidget(m_roads);
    layout->addWidget(m_levels);
    area->viewport()->installEventFilter(this);
}

void WorkspaceHint::setRoad(const QString& road)
{
    m_road = road;
    refresh();
}

void WorkspaceHint::refresh()
{
    if (!m_area->subWindowList().isEmpty()) {
        hide();
        return;
    }
    const QString& road = m_road;
    if (road.isEmpty()) {
        m_text->setText(tr("No road is chosen yet. Open Road Details, add a road or pick one, "
                           "and double-click its row number to make it the current road."));
        m_levels->hide();
    } else {
        m_text->setText(tr("The current road is %1. Open its RL Sheet to type levels, or Road "
                           "Details to choose another road.")
                            .arg(road));
        m_levels->setText(tr("RL Sheet \u2014 %1").arg(road));
        m_levels->show();
    }
    setFixedWidth(420);
    adjustSize();
    centre();
    lower(); // below any window that opens
    show();
}

bool WorkspaceHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area->viewport()) {
        if (event->type() == QEvent::Resize)
            centre();
        // A window opened or closed: looked at once the frame has settled.
        if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)
            QTimer::singleShot(0, this, &WorkspaceHint::refresh);
    }
    return QFrame::eventFilter(watched, event);
}

void WorkspaceHint::centre()
{
    const QSize room = m_area->viewport()->size();
    move(qMax(0, (room.width() - width()) / 2), qMax(0, (room.height() - height()) / 3));
}

} // namespace tarmela
