#pragma once

#include "flightplan/planchange.h"

#include <QUndoCommand>

#include <functional>

// A change of the flight plan on the window's undo stack. The change is
// already made when the command is pushed; undo and redo replay it on the
// plan and hand the map script of the refreshed plan to `shown`.
class CPlanUndoCommand : public QUndoCommand
{
public:
    using Shown = std::function<void(const QString &script)>;

    CPlanUndoCommand(CFlightPlan &plan, const CPlanChange &change, Shown shown);

    void undo() override;
    void redo() override;

private:
    CFlightPlan &m_plan;
    CPlanChange m_change;
    Shown m_shown;
    bool m_made = true;   // the first redo, on the push, has nothing to do
};
