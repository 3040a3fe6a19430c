#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CAircraft;
class CNavGlobalVar;
class CFlightPlan;
class CPlanChange;

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
//
// Every change the user makes to the plan is made between beginChange and
// endChange (a ChangeScope) and recorded as one CPlanChange, which can take
// it back and make it again.
class CFlightPlan
{
public:
    // Who placed the start point last; None: never placed since the start
    // of the program or the last clear.
    enum class StartPlacement { None, FirstAirport, User };

    // The start position as the plan holds it: where, who placed it, and
    // the first airport of the plan when it was placed.
    struct StartState {
        double latitude = 0;
        double longitude = 0;
        StartPlacement placement = StartPlacement::None;
        PointPtr anchor;
        bool operator==(const StartState &) const = default;
    };

    // What a change does, for its name in the menus.
    enum class ChangeKind { Add, AddProcedure, Delete, MoveUp, MoveDown, Altitude, Clear, Load };

    // Opens a change for its lifetime (beginChange/endChange).
    class ChangeScope
    {
    public:
        ChangeScope(CFlightPlan &plan, ChangeKind kind, const QString &subject = QString());
        ~ChangeScope();
        ChangeScope(const ChangeScope &) = delete;
        ChangeScope &operator=(const ChangeScope &) = delete;

    private:
        CFlightPlan &m_plan;
    };

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
    // Whether saving the plan is offered (the window's saving controls show
    // it); a change records it, so that undo gives the controls back.
    bool saveEnabled = false;
    // Called when the outermost change ends having changed something.
    std::function<void(const CPlanChange &)> changeRecorded;

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
    // Where the start point is and who placed it; setStartState puts it
    // back so (its heading stays).
    StartState startState() const;
    void setStartState(const StartState &state);

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
    // Sets the altitude of the points from the position up to, not
    // including, the last one (normally the destination, which keeps its
    // own).
    void setAltitudeFrom(int position, qint32 altitude);
    // Empties the route and forgets the start position (never placed, at
    // 0, 0; its heading stays); version and counter stay.
    void clear();

    // The user-waypoint name for the next counter value: prefix and at
    // least three digits (WP001). Raises the counter.
    QString nextUserWaypointName(const QString &prefix);

    // Rebuilds textLines as the flight-plan file of the current plan.
    void buildFplLines();

    // Changes. The route edits, the start position, the user-waypoint
    // counter and saveEnabled changed between the outermost beginChange and
    // its endChange make one change, handed to changeRecorded unless nothing
    // changed. A nested pair joins the open change; when it is of the same
    // kind and the open change has no subject yet, it gives its subject.
    // Without a subject, an addition, deletion, move or altitude change is
    // named after the first point it touches.
    void beginChange(ChangeKind kind, const QString &subject = QString());
    void endChange();

    // Longitude in arc-seconds into (-648000, 648000].
    static double normalizedLongitude(double arcSeconds);
    // Initial true course (degrees, [0, 360)) and distance (nautical miles)
    // of the great circle from a to b.
    static void leg(const CFlightPlanPoint &a, const CFlightPlanPoint &b, double *course, double *distance);

private:
    friend class CPlanChange;
    enum class EditOp : quint8 { Insert, Remove, Swap, Altitude };
    // Adds an edit to the open change, if any.
    void record(EditOp op, int position, int other, const PointPtr &point, qint32 before = 0, qint32 after = 0);

    // The first airport of the plan when the start point was last placed.
    PointPtr m_startAnchor;
    std::unique_ptr<CPlanChange> m_change;   // the open change
    int m_changeDepth = 0;
};
