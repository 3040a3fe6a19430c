#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

class CAircraft;
class CNavGlobalVar;
class CFlightPlan;

// What the plan needs from the widget that shows it: the grid implements
// this, tests may give their own or none.
class CFlightPlanView
{
public:
    virtual ~CFlightPlanView() = default;
    // Shows the plan's rows (CFlightPlan::gridRows) and selects the last one.
    virtual void showPlan(const CFlightPlan &plan) = 0;
};

// The flight plan: the ordered points of the route, the search results the
// points may come from, the aircraft whose figures new points take, the
// start position and the lines of the last file built.
class CFlightPlan
{
public:
    // One grid row: ten cell texts; column 0 is the type cell, shown only
    // when hasTypeCell (with its icon).
    struct GridRow {
        bool hasTypeCell = false;
        QString icon;        // resource path of the type icon
        QStringList cells;   // ten texts, cells[0] is the type text
    };

    static constexpr int ColumnCount = 10;
    static constexpr int AltitudeColumn = 9;

    explicit CFlightPlan(CNavGlobalVar *config = nullptr, CFlightPlanView *view = nullptr);
    ~CFlightPlan();
    CFlightPlan(const CFlightPlan &) = delete;
    CFlightPlan &operator=(const CFlightPlan &) = delete;

    qint32 version = 0;
    CNavGlobalVar *config = nullptr;
    CAircraft *aircraft = nullptr;      // owned
    QList<PointPtr> results;            // search results
    QList<PointPtr> points;             // the route, in order
    CFlightPlanView *view = nullptr;
    QStringList textLines;              // lines of the last file built
    qint32 userWaypointCounter = 0;
    PointPtr currentPoint;              // the point a file reader is filling
    PointPtr startPoint;                // the simulator start position

    int count() const { return int(points.size()); }
    bool isEmpty() const { return points.isEmpty(); }
    bool isValidRow(int row) const { return row >= 0 && row < count(); }

    // A fresh record with the aircraft's cruise speed and cruise altitude.
    PointPtr newPoint() const;

    // Course, distance and duration of every leg; times add up along the
    // route from 00:00; the last point has no leg.
    void computeLegs();
    // The script that redraws the route on the map.
    QString mapScript() const;
    // Recomputes the legs, shows the rows, rebuilds the flight-plan file
    // lines and returns the map script.
    QString refresh();

    // Per row, the ten cell texts and the type cell.
    QList<GridRow> gridRows() const;
    static GridRow gridRow(const CFlightPlanPoint &point);

    // Position at or below 0 inserts first, at or beyond the end appends.
    // The record itself goes in (shared with the search results) unless it
    // is already a line of the plan; then a copy goes in.
    void insertAt(const PointPtr &point, int position);
    // A position outside the plan does nothing.
    void removeAt(int position);
    void moveUp(int position);
    void moveDown(int position);
    // Empties the route; version, counter and start point stay.
    void clear();

    // The user-waypoint name for the next counter value: prefix and at
    // least three digits (WP001). Raises the counter.
    QString nextUserWaypointName(const QString &prefix);

    // Rebuilds textLines as the flight-plan file of the current plan.
    void buildFplLines();

    // Longitude in arc-seconds into (-648000, 648000].
    static double normalizedLongitude(double arcSeconds);
    // Initial true course (degrees, [0, 360)) and distance (nautical miles)
    // of the great circle from a to b.
    static void leg(const CFlightPlanPoint &a, const CFlightPlanPoint &b, double *course, double *distance);
};
