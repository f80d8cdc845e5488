#pragma once

class QMdiArea;
class QMdiSubWindow;

namespace tarmela
{

// Where child windows go in the main window's frame. Each window is four fifths of the frame
// (never smaller than is useful, never larger than the frame); the n-th is set off by a step
// down and to the right, and the steps start again at the top left before a window would
// reach past the frame's edges, so every window stays wholly visible.

// Places a window just added to the frame, after the windows already open, and shows it.
// While another window is maximized the new one opens maximized too; the state is read
// before the window shows, as showing it may change it.
void placeSubWindow(QMdiArea* area, QMdiSubWindow* window);
// As placeSubWindow for a window that wants room (a page, a profile): it takes the whole
// visible frame, whatever size its contents ask for.
void fillSubWindow(QMdiArea* area, QMdiSubWindow* window);
// Window > Cascade: the open windows (not the minimised ones) one after the other, each at
// the size and place a new window would get.
void cascadeSubWindows(QMdiArea* area);

} // namespace tarmela
