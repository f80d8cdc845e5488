#pragma once

#include "formation/FormationDesign.h"

#include <QUndoCommand>
#include <functional>

class QUndoStack;

namespace tarmela
{

// One Update of the formation tool on the tool's undo stack. It is pushed after the update
// has run: the push does nothing more. Undo puts the rows back as they were before it, redo
// as it left them; the tool does that (and shows the result) through `restore`.
class FormationUpdateCommand : public QUndoCommand
{
public:
    // What came of an undo or redo: done; not done because the user held it back (the step
    // stays where it was on the stack); refused for good (the step leaves the stack).
    enum class Outcome { Done, HeldBack, Refused };
    using Restore = std::function<Outcome(const FormationEdit& edit, bool before)>;

    FormationUpdateCommand(QUndoStack* stack, const QString& text, FormationEdit edit,
                           Restore restore);

    void undo() override;
    void redo() override;

private:
    void settle(Outcome outcome, bool undone);

    QUndoStack* m_stack;
    FormationEdit m_edit;
    Restore m_restore;
    bool m_skip = true; // the next undo or redo does nothing (the push's redo: the update has
                        // run already)
};

} // namespace tarmela
