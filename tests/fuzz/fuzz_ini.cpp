// The simulator's ini file as the start-position command rewrites it. The
// first line of the input is the name of the start airport (it names the
// situation file), the rest is the ini file. The rewrite must keep every
// other line byte for byte, add no line, and change nothing but a final
// line end when run twice; the file on disk must end up as the rewrite
// says.

#include "fuzzsupport.h"

#include "flightplan/sitfile.h"
#include "data/textfile.h"

#include <QDir>

namespace {

// The lines of a file; a line end after the last line closes it ("\r\n"
// included) and is no line of its own.
QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() > 1 && lines.last().isEmpty()) {
        lines.removeLast();
        if (lines.last().endsWith('\r'))
            lines.last().chop(1);
    }
    return lines;
}

} // namespace

void Fuzz::prepare()
{
    QDir(Fuzz::scratchDir()).mkpath(QStringLiteral("system"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = Fuzz::bytes(data, size);
    const qsizetype cut = input.indexOf('\n');
    const QString airport = TextFile::decode(cut < 0 ? input : input.left(cut));
    const QByteArray ini = cut < 0 ? QByteArray() : input.mid(cut + 1);

    const QString sitName = SitFile::fileName(airport);
    for (const QChar c : sitName)
        Fuzz::check(c.unicode() >= 0x20 && !QStringView(u"/\\:*?\"<>|").contains(c), "situation file name",
                    sitName);
    const QByteArray entry = TextFile::toLatin1(SitFile::iniEntry(sitName));
    Fuzz::check(!entry.contains('\n') && !entry.contains('\r'), "ini entry holds a line end");

    const QByteArray out = SitFile::rewriteIni(ini, sitName);
    const QList<QByteArray> before = linesOf(ini);
    const QList<QByteArray> after = out.split('\n');
    Fuzz::check(before.size() == after.size(), "rewrite changed the number of lines",
                QStringLiteral("%1 -> %2").arg(before.size()).arg(after.size()));
    for (qsizetype i = 0; i < before.size(); ++i) {
        const QByteArray &was = before.at(i);
        const QByteArray &is = after.at(i);
        if (was.startsWith("startupSituation"))
            Fuzz::check(is == entry || is == entry + '\r', "entry line not replaced", QString::fromLatin1(is));
        else
            Fuzz::check(is == was, "other line changed", QString::fromLatin1(was) + QStringLiteral(" -> ")
                                                                 + QString::fromLatin1(is));
    }
    // A second rewrite changes nothing, except that a line end closing
    // the file ("\n" or "\r\n") goes: the last line gets no line end, so
    // a file ending in a blank line loses that line each time.
    Fuzz::check(SitFile::rewriteIni(out, sitName) == linesOf(out).join('\n'), "rewrite is not stable");

    // The same through the file the simulator reads.
    const QString dir = Fuzz::scratchDir();
    Fuzz::writeScratchFile(SitFile::iniPath(dir), ini);
    QString error;
    Fuzz::check(SitFile::setStartupSituation(dir, sitName, &error) == SitFile::IniResult::Rewritten,
                "ini file not rewritten", error);
    QByteArray onDisk;
    Fuzz::check(TextFile::read(SitFile::iniPath(dir), &onDisk, &error), "ini file not readable", error);
    Fuzz::check(onDisk == out, "ini file on disk differs from the rewrite");
    return 0;
}
