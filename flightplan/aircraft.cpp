#include "flightplan/aircraft.h"

#include "flightplan/podmgr.h"

namespace {

qint32 figure(CPodMgr &pod, const char *tag)
{
    return pod.tagValue(QLatin1String(tag)).trimmed().toInt(nullptr, 10);
}

} // namespace

void CAircraft::parse(CPodMgr &pod)
{
    registration = pod.tagValue(QStringLiteral("<acid>")).trimmed();
    maxCruiseSpeed = figure(pod, "<048a>");
    cruiseSpeed = figure(pod, "<043a>");
    climbRate = figure(pod, "<045a>");
    approachSpeed = figure(pod, "<044a>");
    ceiling = figure(pod, "<CEIL>");
}
