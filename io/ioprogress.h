#pragma once

#include <QString>
#include <QtGlobal>

// Progress of a long import or export. The import and export code reports
// through this interface only when the work is large (see
// CIODataBase::progressThreshold); the window shows it in a progress dialog,
// tests use a recording implementation.
class CIOProgress
{
public:
    virtual ~CIOProgress() = default;

    // The work starts: `total` records (lines of an update file, rows of a
    // table) will be handled.
    virtual void begin(const QString &label, qint64 total) = 0;
    // `done` records are handled. Returns false when the user asked to stop:
    // the work then stops before the next record.
    virtual bool advance(qint64 done) = 0;
    // The work is over (finished or stopped).
    virtual void end() = 0;
};
