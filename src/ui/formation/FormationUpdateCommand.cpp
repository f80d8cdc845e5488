#include "ui/formation/FormationUpdateCommand.h"

#include <QTimer>
#include <QUndoStack>

namespace tarmela
{

FormationUpdateCommand::FormationUpdateCommand(QUndoStack* stack, const QString& text,
                                               FormationEdit edit, Restore restore)
    : m_stack(stack), m_edit(std::move(edit)), m_restore(std::move(restore))
{
    setText(text);
}

void FormationUpdateCommand::undo()
{
    if (m_skip) {
        m_skip = false;
        return;
    }
    settle(m_restore(m_edit, true), true);
}

void FormationUpdateCommand::redo()
{
    if (m_skip) {
        m_skip = false;
        return;
    }
    settle(m_restore(m_edit, false), false);
}

void FormationUpdateCommand::settle(Outcome outcome, bool undone)
{
    if (outcome == Outcome::Refused) {
        setObsolete(true); // the stack drops it once this call returns
        return;
    }
    if (outcome != Outcome::HeldBack)
        return;
    // The stack moves past this step as soon as this call returns, though nothing was
    // written: it is moved back on the next turn of the event loop, skipping this step's
    // undo or redo then.
    m_skip = true;
    QUndoStack* stack = m_stack;
    const QUndoCommand* self = this;
    QTimer::singleShot(0, stack, [stack, self, undone] {
        const int at = stack->index();
        if (undone && at < stack->count() && stack->command(at) == self)
            stack->redo();
        else if (!undone && at > 0 && stack->command(at - 1) == self)
            stack->undo();
    });
}

} // namespace tarmela
