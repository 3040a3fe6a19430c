#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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
//
// The start position follows the plan: the airport on the plan's first line
// places it, whatever brought the airport there (the map, the search
// results, a file, a procedure), unless the user placed it since that
// airport became the first line. "Nouveau" forgets it.
class CFlightPlan
{
public:
    // Who placed the start point last; None: never placed since the start
    // of the program or the last clear.
    enum class StartPlacement { None, FirstAirport, User };

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
    StartPlacement startPlacement = StartPlacement::None;
    // Called when the plan moved the start point (to redraw its marker).
    std::function<void()> startMoved;

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
    // Recomputes the legs, moves the start point to a new first airport
    // (followFirstAirport), shows the rows, rebuilds the flight-plan file
    // lines and returns the map script.
    QString refresh();

    // The plan's first point when it is an airport, else null.
    PointPtr firstAirport() const;
    // Places the start point on the plan's first airport unless that
    // airport placed it already or the user placed it since the airport
    // became the first line; calls startMoved when it moved it. True when
    // it moved.
    bool followFirstAirport();
    // The user put the start point there (degrees; the longitude is held
    // east-positive, from 0 to a full turn).
    void placeStartByUser(double latDegrees, double lonDegrees);
    // "addSitMarker(...)": the start point's marker, with the aircraft's name.
    QString startMarkerScript(const QString &aircraftName) const;

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
    // Empties the route and forgets the start position (never placed, at
    // 0, 0; its heading stays); version and counter stay.
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

private:
    // The first airport of the plan when the start point was last placed.
    PointPtr m_startAnchor;
};
