#include "flightplan/planchange.h"

#include <QCoreApplication>

CPlanChange::CPlanChange(Kind kind, const QString &subject)
    : m_kind(kind)
    , m_subject(subject)
{
}

QString CPlanChange::text() const
{
    switch (m_kind) {
    case Kind::Add:
        return QCoreApplication::translate("QObject", "l'ajout de %1").arg(m_subject);
    case Kind::AddProcedure:
        return QCoreApplication::translate("QObject", "l'ajout de la procédure %1").arg(m_subject);
    case Kind::Delete:
        return QCoreApplication::translate("QObject", "la suppression de %1").arg(m_subject);
    case Kind::MoveUp:
        return QCoreApplication::translate("QObject", "la montée de %1").arg(m_subject);
    case Kind::MoveDown:
        return QCoreApplication::translate("QObject", "la descente de %1").arg(m_subject);
    case Kind::Altitude:
        return QCoreApplication::translate("QObject", "la modification de l'altitude à %1").arg(m_subject);
    case Kind::Clear:
        return QCoreApplication::translate("QObject", "l'effacement du plan de vol");
    case Kind::Load:
        return m_subject.isEmpty() ? QCoreApplication::translate("QObject", "le chargement d'un plan de vol")
                                   : QCoreApplication::translate("QObject", "le chargement de %1").arg(m_subject);
    }
    return QString();
}

bool CPlanChange::isEmpty() const
{
    return m_edits.isEmpty() && m_before.start == m_after.start && m_before.counter == m_after.counter;
}

bool CPlanChange::loadedPoints() const
{
    if (m_kind != Kind::Load)
        return false;
    for (const Edit &edit : m_edits) {
        if (edit.op == CFlightPlan::EditOp::Insert)
            return true;
    }
    return false;
}

CPlanChange::State CPlanChange::stateOf(const CFlightPlan &plan)
{
    return {plan.startState(), plan.userWaypointCounter, plan.saveEnabled};
}

QString CPlanChange::undo(CFlightPlan &plan) const
{
    return step(plan, false, m_after, m_before);
}

QString CPlanChange::redo(CFlightPlan &plan) const
{
    return step(plan, true, m_before, m_after);
}

void CPlanChange::apply(CFlightPlan &plan, const Edit &edit, bool forward)
{
    QList<PointPtr> &points = plan.points;
    const bool inserting = (edit.op == CFlightPlan::EditOp::Insert) == forward;
    switch (edit.op) {
    case CFlightPlan::EditOp::Insert:
    case CFlightPlan::EditOp::Remove:
        if (inserting)
            points.insert(qBound(0, edit.position, int(points.size())), edit.point);
        else if (plan.isValidRow(edit.position))
            points.removeAt(edit.position);
        break;
    case CFlightPlan::EditOp::Swap:
        if (plan.isValidRow(edit.position) && plan.isValidRow(edit.other))
            points.swapItemsAt(edit.position, edit.other);
        break;
    case CFlightPlan::EditOp::Altitude:
        edit.point->altitude = forward ? edit.after : edit.before;
        break;
    }
}

QString CPlanChange::step(CFlightPlan &plan, bool forward, const State &from, const State &to) const
{
    if (forward) {
        for (const Edit &edit : m_edits)
            apply(plan, edit, true);
    } else {
        for (auto it = m_edits.crbegin(); it != m_edits.crend(); ++it)
            apply(plan, *it, false);
    }

    const CFlightPlan::StartState was = plan.startState();
    if (from.start != to.start) {
        if (was == from.start) {
            plan.setStartState(to.start);
        } else {
            // Placed by the user since: it stays, and the first airport the
            // plan now has does not move it.
            CFlightPlan::StartState kept = was;
            kept.anchor = plan.firstAirport();
            plan.setStartState(kept);
        }
    }
    if (from.counter != to.counter)
        plan.userWaypointCounter = to.counter;
    plan.saveEnabled = to.saveEnabled;

    // The marker follows the start; a start back to never placed keeps the
    // marker the page shows, as "Nouveau" does.
    const CFlightPlan::StartState now = plan.startState();
    if ((now.latitude != was.latitude || now.longitude != was.longitude)
        && now.placement != CFlightPlan::StartPlacement::None && plan.startMoved)
        plan.startMoved();
    return plan.refresh();
}
