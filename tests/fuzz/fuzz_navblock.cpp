// The navigation block the simulator publishes. The bytes are the whole
// block, of whatever size the other side made it: the link opens it by name,
// maps its window when the block is large enough and reads the position;
// the trace turns the position into the marker scripts.

#include "fuzzsupport.h"

#include "simlink/navblock.h"
#include "simlink/navplug.h"
#include "simlink/sharedblock.h"
#include "simlink/tracetext.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <vector>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

QString blockName()
{
    static const QString name = QStringLiteral("CorvaneFuzzNavigation-%1").arg(QCoreApplication::applicationPid());
    return name;
}

// Plays the simulator: a block of exactly the input's bytes.
void publish(const QByteArray &bytes)
{
    const QByteArray sysName = CSharedBlock::systemName(blockName()).toLocal8Bit();
    ::shm_unlink(sysName.constData());
    const int fd = ::shm_open(sysName.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        Fuzz::fail("cannot create the block");
    const bool filled = ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    ::close(fd);
    Fuzz::check(filled, "cannot fill the block");
}

void checkScripts(const NavBlock::Position &position)
{
    const QString add = TraceText::addMarker(position);
    const QString set = TraceText::setMarker(position, true);
    // Numbers only in the call, nan or inf for a value that is not finite
    // (the block is the other program's): nothing breaks out of it.
    static const QRegularExpression addShape(QStringLiteral(
        "^addAcftMrkr\\(new google\\.maps\\.LatLng\\(([-+. 0-9enaif]+),([-+. 0-9enaif]+)\\),\"\",([-+. 0-9enaif]+)\\);$"));
    Fuzz::check(addShape.match(add).hasMatch(), "aircraft marker script", add.left(200));
    Fuzz::check(set.startsWith(QLatin1String("setAcftMrkr(new google.maps.LatLng("))
                    && set.endsWith(QLatin1String("));")) && set.count(u';') == 3,
                "aircraft move script", set.left(200));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);

    // Through the link, as the trace opens it.
    publish(bytes);
    {
        CNavPlug link(1000, blockName());
        const bool large = bytes.size() >= NavBlock::viewSize;
        Fuzz::check(link.hasView() == large, "window mapped on a block of the wrong size",
                    QString::number(bytes.size()));
        const NavBlock::Position p = link.position();
        if (large) {
            // The layout on its own, on a window of exactly its size.
            const std::vector<uchar> window(bytes.begin(), bytes.begin() + NavBlock::viewSize);
            const NavBlock::Position expected = NavBlock::read(window.data());
            auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
            Fuzz::check(same(p.latitude, expected.latitude) && same(p.longitude, expected.longitude)
                            && same(p.marker, expected.marker),
                        "position read through the link");
        } else {
            Fuzz::check(p.latitude == 0 && p.longitude == 0 && p.marker == 0, "position without a window");
        }
        checkScripts(p);
        link.Close();
        link.Close();
    }
    CSharedBlock::remove(blockName());
    return 0;
}
