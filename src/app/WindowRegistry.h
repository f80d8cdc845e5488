#pragma once

#include <cstdint>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace tarmela
{

class MdiChild;

// The windows the main window opens from its menus.
enum class WindowId {
    RoadDetails,
    LevelBook,
    ReducedLevels,
    FormationPlot,
    Culverts,
    CrossDistances,
    CulvertTypes,
    LongSection,
    CrossSection,
    MassHaul,
    EarthworkReport,
    LevelBookReport,
};

// One window the main window can open: the menu entry that opens it, whether it needs a
// current road, whether it is one per road (an open one is brought to the front and shows
// the project again instead of another opening), what the question about unsaved edits names
// before it opens (nullptr: it opens without asking), and how it is made.
struct WindowEntry {
    WindowId id;
    const char* menu; // the menu entry's object name
    bool needsRoad;
    bool onePerRoad;
    const char* before; // "drawing the sections"
    // Makes the window in the frame, shown and active; nullptr when the user cancelled or it
    // could not be made (the user was told why).
    MdiChild* (*create)(QMdiArea* area);
};

// Every window, in the order of the menus.
const std::vector<WindowEntry>& windowEntries();

// The entry and road a window of the frame was opened as (tagWindow), or nullptr.
void tagWindow(QMdiSubWindow* window, WindowId id, std::int64_t road);
const WindowEntry* entryOf(const QMdiSubWindow* window);
std::int64_t roadOf(const QMdiSubWindow* window);

} // namespace tarmela
