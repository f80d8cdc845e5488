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

bool anyMaximized(const QList<QMdiSubWindow*>& windows)
{
    return std::any_of(windows.begin(), windows.end(),
                       [](const QMdiSubWindow* w) { return w->isMaximized(); });
}

void show(QMdiSubWindow* window, bool maximized, const QRect& place)
{
    if (maximized) {
        window->showMaximized();
        return;
    }
    window->setGeometry(place);
    window->show();
    window->setGeometry(place); // a window shown the first time may take its size hint
}

} // namespace

void placeSubWindow(QMdiArea* area, QMdiSubWindow* window)
{
    if (!area || !window)
        return;
    const QList<QMdiSubWindow*> others = shownWindows(area, window);
    show(window, anyMaximized(others), slot(area->viewport()->size(), int(others.size())));
}

void fillSubWindow(QMdiArea* area, QMdiSubWindow* window)
{
    if (!area || !window)
        return;
    show(window, anyMaximized(shownWindows(area, window)),
         QRect(QPoint(0, 0), area->viewport()->size()));
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
