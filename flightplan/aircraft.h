#pragma once

#include <QString>

class CPodMgr;

// An aircraft's make and performance figures, read from its POD archive.
class CAircraft
{
public:
    QString make;
    QString registration;
    qint32 maxCruiseSpeed = 0;   // knots
    qint32 cruiseSpeed = 0;      // knots
    qint32 climbRate = 0;        // feet per minute
    qint32 approachSpeed = 0;    // knots
    qint32 ceiling = 0;          // feet
    qint32 maxCruiseAltitude = 0; // feet, not read from any file

    // Fills registration and figures from an archive whose current text is
    // an SVH entry.
    void parse(CPodMgr &pod);
};
