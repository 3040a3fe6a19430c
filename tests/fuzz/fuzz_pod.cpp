// The aircraft archives: the bytes are a POD file in the aircraft folder.
// Reads it the way the aircraft list does (make from the NFO entry, figures
// from the SVH entry), then plans a leg with the figures read.

#include "fuzzsupport.h"

#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/podmgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeScratchFile(QStringLiteral("aircraft.pod"), Fuzz::bytes(data, size));

    CPodMgr pod(path);
    const qint64 fileSize = pod.size();
    Fuzz::check(pod.entries().size() <= fileSize / CPodMgr::EntrySize, "more entries than the file can hold");
    for (const CPodMgr::Entry &e : pod.entries())
        Fuzz::check(e.name.size() <= CPodMgr::MaxNameLength, "entry name longer than allowed", e.name);

    CAircraft aircraft;
    if (pod.extractBySuffix(QStringLiteral("NFO")))
        Fuzz::check(pod.currentText().size() <= fileSize, "entry text longer than the file");
    aircraft.make = pod.tagValue(QStringLiteral("<make>")).trimmed();
    pod.extractBySuffix(QStringLiteral("SVH"));
    aircraft.parse(pod);
    // Any other suffix, as the archive button asks for.
    pod.extractBySuffix(QStringLiteral("TXT"));
    pod.tagValue(QString());

    // The figures go into a plan: two points far apart, legs computed.
    CFlightPlan plan;
    *plan.aircraft = aircraft;
    plan.aircraft->maxCruiseAltitude = aircraft.ceiling;
    for (double lon : {-648000.0, 647999.0}) {
        PointPtr p = plan.newPoint();
        p->latitude = lon / 4;
        p->longitude = lon;
        p->usage = QStringLiteral("uswp");
        plan.insertAt(p, plan.count());
    }
    plan.refresh();
    for (const PointPtr &p : std::as_const(plan.points))
        Fuzz::check(p->duration >= 0, "negative leg duration", QString::number(p->duration));
    plan.gridRows();
    return 0;
}
