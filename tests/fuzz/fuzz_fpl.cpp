// The flight-plan reader: the bytes are a ".fpl" file as the open command
// reads it (decoded, then loaded into an empty plan). Besides not crashing,
// the file the plan then writes must read back to the same file: what the
// reader accepted, the writer can carry.

#include "fuzzsupport.h"

#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"
#include "data/textfile.h"
#include "map/jstext.h"

#include <QRegularExpression>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = TextFile::decode(Fuzz::bytes(data, size));

    CFlightPlan plan;
    const QString script = FplFile::loadText(plan, text);
    Fuzz::check(script.startsWith(QLatin1String("clearFP()")) && script.endsWith(QLatin1String("pushFP();")),
                "map script of a loaded plan", script.left(200));
    for (const PointPtr &p : std::as_const(plan.points)) {
        Fuzz::check(std::isfinite(p->latitude) && std::isfinite(p->longitude), "position read as a number");
        Fuzz::check(p->duration >= 0, "negative leg duration");
        // The name goes between double quotes: no unescaped quote or line end.
        const QString quoted = JsText::escape(p->name);
        Fuzz::check(!quoted.contains(u'\n') && !quoted.contains(u'\r'), "line end in a quoted name");
    }
    plan.gridRows();

    // Written and read again, the plan gives the same file.
    QString written = plan.textLines.join(QString());
    CFlightPlan again;
    FplFile::loadText(again, written);
    QString rewritten = again.textLines.join(QString());
    // A position a hair below zero is written "-0.000"; it reads back as
    // zero, written "0.000". The same number: not a difference.
    static const QRegularExpression negativeZero(QStringLiteral("(?<![0-9.])-(0\\.000)(?![0-9])"));
    written.replace(negativeZero, QStringLiteral("\\1"));
    rewritten.replace(negativeZero, QStringLiteral("\\1"));
    Fuzz::check(rewritten == written, "a written plan does not read back to the same file",
                written + QStringLiteral("\n---\n") + rewritten);

    // The name of the file the plan would be saved to is one plain name.
    if (!plan.isEmpty()) {
        const QString name = FplFile::fileName(plan.points.first()->ident, plan.points.last()->ident);
        Fuzz::check(!name.contains(u'/') && !name.contains(u'\\') && !name.contains(u'\n'), "file name of a plan",
                    name);
    }
    return 0;
}
