#include "flightplan/flightplan.h"

#include "flightplan/aircraft.h"
#include "flightplan/fplfile.h"
#include "flightplan/planchange.h"
#include "map/jstext.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr double DegToRad = 0.017453292519943295;
constexpr double RadToDeg = 57.29577951308232;
constexpr double TwoPi = 6.283185307179586;

QString typeIcon(const CFlightPlanPoint &p)
{
    if (p.usage == QLatin1String("airp"))
        return QStringLiteral(":/icon/images/Img08.bmp");
    if (p.usage == QLatin1String("snav"))
        return p.navaidType == 8 ? QStringLiteral(":/icon/images/Img03.bmp")
                                 : QStringLiteral(":/icon/images/Img05.bmp");
    if (p.usage == QLatin1String("uswp"))
        return QStringLiteral(":/icon/images/Img12.bmp");
    return QString();
}

QString typeText(const CFlightPlanPoint &p)
{
    if (p.usage == QLatin1String("airp"))
        return QCoreApplication::translate("QObject", "Airport");
    if (p.usage == QLatin1String("snav"))
        return QCoreApplication::translate("QObject", "Navaid");
    if (p.usage == QLatin1String("uswp"))
        return QCoreApplication::translate("QObject", "Waypoint");
    return QString();
}

// "hh:mm" of a time from the first point; the hours go on past 24 (25:10,
// 100:00).
QString elapsedText(qint64 minutes)
{
    return QString::number(minutes / 60).rightJustified(2, u'0') + u':'
            + QString::number(minutes % 60).rightJustified(2, u'0');
}

} // namespace

CFlightPlan::CFlightPlan(CNavGlobalVar *config, CFlightPlanView *view)
    : config(config)
    , aircraft(new CAircraft)
    , view(view)
{
}

CFlightPlan::~CFlightPlan()
{
    delete aircraft;
}

PointPtr CFlightPlan::newPoint() const
{
    PointPtr p = PointPtr::create();
    p->speed = aircraft->cruiseSpeed;
    p->altitude = aircraft->maxCruiseAltitude;
    return p;
}

double CFlightPlan::normalizedLongitude(double arcSeconds)
{
    return JsText::arcSecondsInHalfTurn(arcSeconds);
}

void CFlightPlan::leg(const CFlightPlanPoint &a, const CFlightPlanPoint &b, double *course, double *distance)
{
    const double phiA = a.latitude / 3600 * DegToRad;
    const double phiB = b.latitude / 3600 * DegToRad;
    const double lambdaA = normalizedLongitude(a.longitude) / 3600 * DegToRad;
    const double lambdaB = normalizedLongitude(b.longitude) / 3600 * DegToRad;
    const double dLambda = lambdaA - lambdaB;

    // Rounding may push the cosine of a zero angle just past 1.
    const double c = std::clamp(std::sin(phiA) * std::sin(phiB) + std::cos(phiA) * std::cos(phiB) * std::cos(dLambda),
                                -1.0, 1.0);
    *distance = std::acos(c) * RadToDeg * 60;

    double theta = std::atan2(std::sin(dLambda) * std::cos(phiB),
                              std::cos(phiA) * std::sin(phiB) - std::sin(phiA) * std::cos(phiB) * std::cos(dLambda));
    theta = std::fmod(theta, TwoPi);
    double crs = -theta * RadToDeg;
    while (crs < 0)
        crs += 360;
    while (crs >= 360)
        crs -= 360;
    *course = crs;
}

void CFlightPlan::computeLegs()
{
    if (points.isEmpty())
        return;
    points.first()->time = QTime(0, 0);
    points.first()->elapsed = 0;
    for (int i = 0; i + 1 < count(); ++i) {
        CFlightPlanPoint &a = *points.at(i);
        CFlightPlanPoint &b = *points.at(i + 1);
        leg(a, b, &a.course, &a.distance);
        // Whole minutes, cut down; a leg of exactly 60 nm at 60 kt stays one
        // hour even when the trigonometry lands a hair below 60 nm. A leg
        // without a speed has no duration.
        a.duration = a.speed > 0 ? qint32(a.distance / a.speed * 60 + 1e-6) : 0;
        b.time = a.time.addSecs(qint64(a.duration) * 60);
        b.elapsed = a.elapsed + a.duration;
    }
    // The last point starts no leg.
    CFlightPlanPoint &last = *points.last();
    last.course = 0;
    last.distance = 0;
    last.duration = 0;
}

QString CFlightPlan::mapScript() const
{
    QStringList parts;
    parts << QStringLiteral("clearFP()");
    for (const PointPtr &p : points) {
        parts << QStringLiteral("addPointToFp(") + JsText::latLng(p->latitude / 3600, normalizedLongitude(p->longitude) / 3600)
                        + QStringLiteral(",\"") + JsText::escape(p->name) + QStringLiteral("\")");
    }
    parts << QStringLiteral("pushFP();");
    return parts.join(u';');
}

QString CFlightPlan::refresh()
{
    computeLegs();
    followFirstAirport();
    const QString script = mapScript();
    if (view)
        view->showPlan(*this);
    buildFplLines();
    return script;
}

PointPtr CFlightPlan::firstAirport() const
{
    if (points.isEmpty() || points.first()->usage != QLatin1String("airp"))
        return PointPtr();
    return points.first();
}

bool CFlightPlan::followFirstAirport()
{
    const PointPtr airport = firstAirport();
    if (!startPoint || !airport || airport == m_startAnchor)
        return false;
    m_startAnchor = airport;
    startPoint->latitude = airport->latitude;
    startPoint->longitude = JsText::arcSecondsInTurn(airport->longitude);
    startPlacement = StartPlacement::FirstAirport;
    if (startMoved)
        startMoved();
    return true;
}

void CFlightPlan::placeStartByUser(double latDegrees, double lonDegrees)
{
    if (!startPoint)
        return;
    startPoint->latitude = latDegrees * 3600;
    startPoint->longitude = JsText::arcSecondsInTurn(lonDegrees * 3600);
    startPlacement = StartPlacement::User;
    // Placed after the present first airport: that one no longer moves it.
    m_startAnchor = firstAirport();
}

CFlightPlan::StartState CFlightPlan::startState() const
{
    if (!startPoint)
        return {0, 0, startPlacement, m_startAnchor};
    return {startPoint->latitude, startPoint->longitude, startPlacement, m_startAnchor};
}

void CFlightPlan::setStartState(const StartState &state)
{
    if (startPoint) {
        startPoint->latitude = state.latitude;
        startPoint->longitude = state.longitude;
    }
    startPlacement = state.placement;
    m_startAnchor = state.anchor;
}

QString CFlightPlan::startMarkerScript(const QString &aircraftName) const
{
    const CFlightPlanPoint start = startPoint ? *startPoint : CFlightPlanPoint();
    return JsText::fill(QStringLiteral("addSitMarker(new google.maps.LatLng(%1,%2),\"%3\", %4);"),
                        {JsText::fixed(start.latitude / 3600, 8, 3),
                         JsText::fixed(JsText::degreesInRange(start.longitude / 3600), 8, 3),
                         JsText::escape(aircraftName), JsText::general(start.heading)});
}

CFlightPlan::GridRow CFlightPlan::gridRow(const CFlightPlanPoint &p)
{
    GridRow row;
    row.icon = typeIcon(p);
    row.hasTypeCell = !row.icon.isEmpty();
    row.cells.reserve(ColumnCount);
    row.cells << typeText(p)
              << p.ident
              << p.name
              << JsText::fixed(p.frequency, 3, 3)
              << JsText::fixed(p.speed, 0, 3)
              << JsText::fixed(p.course, 0, 3) + QStringLiteral("°")
              << JsText::fixed(p.distance, 1, 5)
              << QString::number(p.duration)
              << elapsedText(p.elapsed)
              << QString::number(p.altitude);
    return row;
}

QList<CFlightPlan::GridRow> CFlightPlan::gridRows() const
{
    QList<GridRow> rows;
    rows.reserve(points.size());
    for (const PointPtr &p : points)
        rows << gridRow(*p);
    return rows;
}

void CFlightPlan::insertAt(const PointPtr &point, int position)
{
    if (!point)
        return;
    position = std::clamp(position, 0, count());
    // Each line carries its own leg: a record that is already a line of the
    // plan (the same search result added twice) goes in as a copy.
    points.insert(position, points.contains(point) ? PointPtr::create(*point) : point);
    record(EditOp::Insert, position, 0, points.at(position));
}

void CFlightPlan::removeAt(int position)
{
    if (!isValidRow(position))
        return;
    // An airport taken off the plan and added again places the start anew.
    if (points.at(position) == m_startAnchor)
        m_startAnchor.reset();
    record(EditOp::Remove, position, 0, points.at(position));
    points.removeAt(position);
}

void CFlightPlan::moveUp(int position)
{
    if (count() >= 2 && position >= 1 && position < count()) {
        record(EditOp::Swap, position, position - 1, points.at(position));
        points.swapItemsAt(position, position - 1);
    }
}

void CFlightPlan::moveDown(int position)
{
    if (count() >= 2 && position >= 0 && position < count() - 1) {
        record(EditOp::Swap, position, position + 1, points.at(position));
        points.swapItemsAt(position, position + 1);
    }
}

void CFlightPlan::setAltitudeFrom(int position, qint32 altitude)
{
    for (int i = std::max(position, 0); i < count() - 1; ++i) {
        const PointPtr &p = points.at(i);
        if (p->altitude == altitude)
            continue;
        record(EditOp::Altitude, i, 0, p, p->altitude, altitude);
        p->altitude = altitude;
    }
}

void CFlightPlan::clear()
{
    // From the last line up, so that undo puts them back in order.
    for (int i = count() - 1; i >= 0; --i)
        record(EditOp::Remove, i, 0, points.at(i));
    points.clear();
    m_startAnchor.reset();
    startPlacement = StartPlacement::None;
    if (startPoint) {
        startPoint->latitude = 0;
        startPoint->longitude = 0;
    }
}

CFlightPlan::ChangeScope::ChangeScope(CFlightPlan &plan, ChangeKind kind, const QString &subject)
    : m_plan(plan)
{
    plan.beginChange(kind, subject);
}

CFlightPlan::ChangeScope::~ChangeScope()
{
    m_plan.endChange();
}

void CFlightPlan::beginChange(ChangeKind kind, const QString &subject)
{
    if (m_changeDepth++ == 0) {
        m_change = std::make_unique<CPlanChange>(kind, subject);
        m_change->m_before = CPlanChange::stateOf(*this);
    } else if (m_change->m_kind == kind && m_change->m_subject.isEmpty()) {
        m_change->m_subject = subject;
    }
}

void CFlightPlan::endChange()
{
    if (m_changeDepth == 0 || --m_changeDepth > 0)
        return;
    const std::unique_ptr<CPlanChange> change = std::move(m_change);
    change->m_after = CPlanChange::stateOf(*this);
    change->m_edits.squeeze();
    if (!change->isEmpty() && changeRecorded)
        changeRecorded(*change);
}

void CFlightPlan::record(EditOp op, int position, int other, const PointPtr &point, qint32 before, qint32 after)
{
    if (!m_change)
        return;
    // A change of one point is named after it; a procedure, a load or
    // "Nouveau" are named otherwise.
    const ChangeKind kind = m_change->m_kind;
    if (m_change->m_subject.isEmpty() && kind != ChangeKind::AddProcedure && kind != ChangeKind::Load
        && kind != ChangeKind::Clear)
        m_change->m_subject = point->ident;
    m_change->m_edits.append({op, position, other, point, before, after});
}

QString CFlightPlan::nextUserWaypointName(const QString &prefix)
{
    ++userWaypointCounter;
    return prefix + QStringLiteral("%1").arg(userWaypointCounter, 3, 10, QLatin1Char('0'));
}

void CFlightPlan::buildFplLines()
{
    FplFile::buildPlanLines(*this);
}
