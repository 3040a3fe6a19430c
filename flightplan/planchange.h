#pragma once

#include "flightplan/flightplan.h"

#include <QList>
#include <QString>

// One change to the flight plan, as a value: the edits it made to the
// route, in order, and the plan's own state before and after it (start
// position, user-waypoint counter, whether saving is offered). Enough to
// take the change back and to make it again on the plan it was made on.
//
// A change holds no copies of the points: the records it inserted or
// removed live as long as the change (a search result added is still the
// very record of the results list after undo and redo), and an altitude it
// set keeps its old and its new value, so that a record shared with the
// search results gets its own altitude back.
class CPlanChange
{
public:
    using Kind = CFlightPlan::ChangeKind;

    CPlanChange(Kind kind, const QString &subject);

    Kind kind() const { return m_kind; }
    // What the change is about: an ident, a procedure or a file name.
    QString subject() const { return m_subject; }
    // The name of the change in the menus: "l'ajout de LFPG".
    QString text() const;
    // Nothing of the plan changed (saveEnabled alone does not count).
    bool isEmpty() const;
    // A load that read points in.
    bool loadedPoints() const;

    // Takes the change back, or makes it again, on the plan in the state
    // the change left it (or found it). The start position goes back to
    // where it was only while it is still where the change left it: a
    // start the user placed since stays where the user put it. Returns the
    // map script of the refreshed plan.
    QString undo(CFlightPlan &plan) const;
    QString redo(CFlightPlan &plan) const;

private:
    friend class CFlightPlan;
    struct Edit {
        CFlightPlan::EditOp op;
        int position;
        int other;            // Swap: the other position
        PointPtr point;       // the record inserted, removed or moved
        qint32 before;        // Altitude
        qint32 after;
    };
    struct State {
        CFlightPlan::StartState start;
        qint32 counter = 0;
        bool saveEnabled = false;
    };
    static State stateOf(const CFlightPlan &plan);
    // Brings the plan from `from` to `to`; the edits run forward or back.
    QString step(CFlightPlan &plan, bool forward, const State &from, const State &to) const;
    static void apply(CFlightPlan &plan, const Edit &edit, bool forward);

    Kind m_kind;
    QString m_subject;
    QList<Edit> m_edits;
    State m_before;
    State m_after;
};
