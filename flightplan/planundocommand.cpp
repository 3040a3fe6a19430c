#include "flightplan/planundocommand.h"

CPlanUndoCommand::CPlanUndoCommand(CFlightPlan &plan, const CPlanChange &change, Shown shown)
    : QUndoCommand(change.text())
    , m_plan(plan)
    , m_change(change)
    , m_shown(std::move(shown))
{
}

void CPlanUndoCommand::undo()
{
    m_shown(m_change.undo(m_plan));
}

void CPlanUndoCommand::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    m_shown(m_change.redo(m_plan));
}
