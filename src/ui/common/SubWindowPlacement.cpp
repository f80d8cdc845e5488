#include "ui/common/SubWindowPlacement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace tarmela
{

namespace
{

constexpr int kStep = 26; // about a title bar's height

QRect slot(const QSize& room, int index)
{
    const int w = std::min(room.width(), std::max(room.width() * 4 / 5, 480));
    const int h = std::min(room.height(), std::max(room.height() * 4 / 5, 300));
    const int steps =
        std::max(1, std::min((room.width() - w) / kStep, (room.height() - h) / kStep) + 1);
    const int at = (index % steps) * kStep;
    return QRect(at, at, w, h);
}

QList<QMdiSubWindow*> shownWindows(QMdiArea* area, const QMdiSubWindow* except)
{
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (w != except && w->isVisible() && !w->isMinimized())
            out << w;
    return out;
}

} // namespace

void placeSubWindow(QMdiArea* area, QMdiSubWindow* window)
{
    if (!area || !window)
        return;
    const QList<QMdiSubWindow*> others = shownWindows(area, window);
    // A maximised frame keeps showing the new window maximised too.
    if (!others.isEmpty() && others.back()->isMaximized()) {
        window->showMaximized();
        return;
    }
    window->setGeometry(slot(area->viewport()->size(), int(others.size())));
}

void cascadeSubWindows(QMdiArea* area)
{
    if (!area)
        return;
    const QSize room = area->viewport()->size();
    // The active window comes last, on top, with every other title bar visible above it.
    QList<QMdiSubWindow*> windows = shownWindows(area, nullptr);
    QMdiSubWindow* active = area->activeSubWindow();
    if (windows.removeOne(active))
        windows << active;
    int i = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        w->setGeometry(slot(room, i++));
        w->raise();
    }
}

} // namespace tarmela
