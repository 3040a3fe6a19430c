#pragma once

#include "flightplan/flightplan.h"

#include <QTableWidget>

// The flight-plan grid: shows the plan, one row per point. It accepts drops
// of the program's own drag format but a drop never changes the plan.
class CFlightPlanGrid : public QTableWidget, public CFlightPlanView
{
public:
    explicit CFlightPlanGrid(QWidget *parent = nullptr);

    // Rebuilds every row from the plan and makes (last row, 1) current.
    void showPlan(const CFlightPlan &plan) override;

protected:
    void dropEvent(QDropEvent *event) override;
};
