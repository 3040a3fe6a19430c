#pragma once

#include <QTableWidget>

// The flight-plan grid: shows the plan, one row per point. It accepts drops
// of the program's own drag format but a drop never changes the plan.
class CFlightPlanGrid : public QTableWidget
{
public:
    explicit CFlightPlanGrid(QWidget *parent = nullptr);

protected:
    void dropEvent(QDropEvent *event) override;
};
