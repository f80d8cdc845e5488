#pragma once

#include <QFlags>
#include <QString>
#include <cstdint>
#include <functional>

class QUndoStack;

namespace tarmela
{

// The commands of the main window's menus and toolbar that act on the active child window.
enum class ChildCommand : unsigned {
    Save = 1u << 0,          // File > Save, toolbar "Save"
    Print = 1u << 1,         // File > Print, toolbar "Print"
    Cut = 1u << 3,           // Edit > Cut, toolbar "Cut"
    Copy = 1u << 4,          // Edit > Copy, toolbar "Copy"
    Paste = 1u << 5,         // Edit > Paste, toolbar "Paste"
    Transform = 1u << 6,     // Edit > Transform
    Add = 1u << 7,           // Edit > Add, toolbar "Add" (shown only while offered)
    Delete = 1u << 8,        // Edit > Delete, toolbar "Delete" (shown only while offered)
    Filter = 1u << 9,        // View > Filter Window, toolbar "Filter"
    LockColumns = 1u << 10,  // View > Lock/Unlock Column
    Refresh = 1u << 11,      // View > Refresh
    PreviousPage = 1u << 12, // View > Previous Page, toolbar "Previous"
    NextPage = 1u << 13,     // View > Next Page, toolbar "Next"
    ZoomIn = 1u << 14,       // toolbar "ZoomIn"
    ZoomOut = 1u << 15,      // toolbar "ZoomOut"
    Zoom = 1u << 16,         // View > Zoom...
    ImportCsv = 1u << 17,    // File > Import CSV...
    ExportCsv = 1u << 18,    // File > Export CSV...
};
Q_DECLARE_FLAGS(ChildCommands, ChildCommand)
Q_DECLARE_OPERATORS_FOR_FLAGS(ChildCommands)

// What the main window asks of a child window (a data sheet, the formation tool, a section
// view, the report view): a child widget also derives from this, and the main window routes
// each command to the active child's operation. Every operation does nothing by default, so a
// child overrides only what it supports and names those commands in enabledCommands(); the
// main window enables exactly those menu entries and toolbar buttons while the child is
// active, and never calls an operation the child does not offer.
class MdiChild
{
public:
    virtual ~MdiChild() = default;

    // The commands this child offers now. A child whose offer changes (the first page
    // reached, a selection made) calls commandsChanged() so that the main window asks again.
    virtual ChildCommands enabledCommands() const { return {}; }

    // File > Save: writes the child's pending changes. Without Save offered, the main window
    // tells the user the command is disabled.
    virtual void save() {}
    // File > Print: prints what the child shows (the child asks for the printer).
    virtual void print() {}
    // File > Import CSV... / Export CSV...: the child's rows from or to a file it asks for.
    virtual void importCsv() {}
    virtual void exportCsv() {}

    // The child's own changes that can be taken back and done again: the main window's
    // Edit > Undo and Edit > Redo follow the active child's stack. None by default.
    virtual QUndoStack* undoStack() { return nullptr; }
    // Edit > Cut / Copy: the selection to the clipboard (Cut empties it where it was).
    virtual void cut() {}
    virtual void copy() {}
    // Edit > Paste: the clipboard into the child at the current place.
    virtual void paste() {}
    // Edit > Transform: asks for an operation and applies it to the selection.
    virtual void transform() {}
    // Edit > Add / Delete: a new item of what the child lists, or the selected ones removed.
    virtual void add() {}
    virtual void remove() {}

    // View > Lock/Unlock Column: locks or unlocks the selected columns against editing.
    virtual void lockColumns() {}
    // View > Refresh: reads what the child shows again from the project.
    virtual void refresh() {}

    // Toolbar "Previous" / "Next": the page before or after the one shown.
    virtual void previousPage() {}
    virtual void nextPage() {}
    // Toolbar "ZoomIn" / "ZoomOut": a step larger or smaller.
    virtual void zoomIn() {}
    virtual void zoomOut() {}
    // A magnification in percent of the natural size (100), for a zoom choice.
    virtual void zoom(int /*percent*/) {}
    // View > Zoom...: asks for a magnification (within the child's own limits) and applies it.
    virtual void askZoom() {}

    // A turn of the mouse wheel over the child (delta as QWheelEvent::angleDelta().y());
    // true when the child used it.
    virtual bool wheel(int /*delta*/) { return false; }

    // Before work that reads or writes the project behind the child's back (a recomputation,
    // an export, a report, a generation, a tool or view opening) on `road`: what the user
    // typed here, a cell still being edited too, is written, or the user is asked. `before`
    // names the work ("updating the quantities"). False when the user cancelled, a value was
    // refused or a write failed: the work must not start.
    virtual bool commitEdits(std::int64_t /*road*/, const QString& /*before*/) { return true; }
    // (What was written, a child hears from the project's document: ProjectDocument.)

    // The main window's way of hearing about commandsChanged().
    void setCommandsChangedHandler(std::function<void()> handler)
    {
        m_commandsChanged = std::move(handler);
    }
    // The main window's side of a child's own writes: before them the other children commit
    // their edits (false: don't write).
    void setBeforeWriteHandler(std::function<bool(MdiChild*, std::int64_t, const QString&)> before)
    {
        m_beforeWrite = std::move(before);
    }

protected:
    void commandsChanged()
    {
        if (m_commandsChanged)
            m_commandsChanged();
    }
    // A child about to write rows of `road` (`what` names the work).
    bool othersCommitted(std::int64_t road, const QString& what)
    {
        return !m_beforeWrite || m_beforeWrite(this, road, what);
    }

private:
    std::function<void()> m_commandsChanged;
    std::function<bool(MdiChild*, std::int64_t, const QString&)> m_beforeWrite;
};

} // namespace tarmela
