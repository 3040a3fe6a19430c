#include "data/coordinates.h"
#include "data/globalvar.h"
#include "tests/data/logcapture.h"
#include "tests/support/simfixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// The normalisation written as the loops it replaces; only for values a
// loop can finish on.
double loopInTurn(double v)
{
    while (v > 1296000)
        v -= 1296000;
    while (v < 0)
        v += 1296000;
    return v;
}

} // namespace

class TestCoordinates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void latitudeText_data();
    void latitudeText();
    void longitudeText_data();
    void longitudeText();
    void hostileTexts_data();
    void hostileTexts();
    void inTurnMatchesLoops_data();
    void inTurnMatchesLoops();
    void inTurnHostile_data();
    void inTurnHostile();
    void bandTables();
    void tileRow_data();
    void tileRow();
    void tileColumn_data();
    void tileColumn();
    void tileKey_data();
    void tileKey();
    void verticalQgt_data();
    void verticalQgt();
    void verticalQgtNanIsLogged();
    void globalVarTablesReady();
    void demoTilesAgree_data();
    void demoTilesAgree();
    void demoQuarterTilesAgree();

private:
    SimFixture m_demo;   // the demo tree, built once
};

void TestCoordinates::initTestCase()
{
    QVERIFY2(m_demo.buildDemo(), qPrintable(m_demo.lastError()));
}

void TestCoordinates::latitudeText_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<QString>("expected");

    QTest::newRow("48.5 north") << 174600.0 << false << "48 30' 00.00 N";
    QTest::newRow("48.5 north, seconds mark") << 174600.0 << true << "48 30' 00.00\" N";
    QTest::newRow("48.5 south") << -174600.0 << false << "48 30' 00.00 S";
    QTest::newRow("equator is north") << 0.0 << false << "00 00' 00.00 N";
    QTest::newRow("negative zero is north") << -0.0 << false << "00 00' 00.00 N";
    QTest::newRow("south pole") << -324000.0 << false << "90 00' 00.00 S";
    QTest::newRow("north pole") << 324000.0 << false << "90 00' 00.00 N";
    QTest::newRow("seconds that round to 60 carry into the minutes") << 59.999 << false << "00 01' 00.00 N";
    QTest::newRow("a whole minute computed a hair below") << 175200.0 << true << "48 40' 00.00\" N";
    QTest::newRow("carried into the degrees") << -3599.996 << false << "01 00' 00.00 S";
    QTest::newRow("just below the carry") << 3599.994 << false << "00 59' 59.99 N";
    QTest::newRow("one of each") << 3661.5 << false << "01 01' 01.50 N";
    QTest::newRow("one of each, mark") << -3661.5 << true << "01 01' 01.50\" S";
    QTest::newRow("Paris") << 176400.0 + 1800 + 30.25 << false << "49 30' 30.25 N";
}

void TestCoordinates::latitudeText()
{
    QFETCH(double, latitude);
    QFETCH(bool, mark);
    QFETCH(QString, expected);
    QCOMPARE(Coord::latitudeText(latitude, mark), expected);
    QCOMPARE(CGlobalVar::latitudeText(latitude, mark), expected);
}

void TestCoordinates::longitudeText_data()
{
    QTest::addColumn<double>("longitude");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2.354 east") << 8474.4 << false << "002 21' 14.40 E";
    QTest::newRow("2.354 east, seconds mark") << 8474.4 << true << "002 21' 14.40\" E";
    QTest::newRow("zero is east") << 0.0 << false << "000 00' 00.00 E";
    QTest::newRow("negative zero is east") << -0.0 << false << "000 00' 00.00 E";
    QTest::newRow("a full turn is zero") << 1296000.0 << false << "000 00' 00.00 E";
    QTest::newRow("180 is east") << 648000.0 << false << "180 00' 00.00 E";
    QTest::newRow("-180 is east") << -648000.0 << false << "180 00' 00.00 E";
    QTest::newRow("just past 180 is west") << 648001.0 << false << "179 59' 59.00 W";
    QTest::newRow("-1000 seconds") << -1000.0 << false << "000 16' 40.00 W";
    QTest::newRow("a whole minute computed a hair below") << 9600.0 << true << "002 40' 00.00\" E";
    QTest::newRow("carried up to 180") << 647999.999 << false << "180 00' 00.00 E";
    QTest::newRow("350 east shows as 10 west") << 1260000.0 << false << "010 00' 00.00 W";
    QTest::newRow("two turns and a bit") << 2 * 1296000.0 + 8474.4 << false << "002 21' 14.40 E";
    QTest::newRow("a thousand turns east") << 1000 * 1296000.0 + 8474.4 << false << "002 21' 14.40 E";
    QTest::newRow("a thousand turns west") << -1000 * 1296000.0 - 1000 << false << "000 16' 40.00 W";
    QTest::newRow("a million turns west, whole") << -1e6 * 1296000.0 << false << "000 00' 00.00 E";
    QTest::newRow("three turns exactly") << 3 * 1296000.0 << false << "000 00' 00.00 E";
}

void TestCoordinates::longitudeText()
{
    QFETCH(double, longitude);
    QFETCH(bool, mark);
    QFETCH(QString, expected);
    QCOMPARE(Coord::longitudeText(longitude, mark), expected);
    QCOMPARE(CGlobalVar::longitudeText(longitude, mark), expected);
}

void TestCoordinates::hostileTexts_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("NaN") << notANumber;
    QTest::newRow("+infinity") << infinity;
    QTest::newRow("-infinity") << -infinity;
    QTest::newRow("1e300") << 1e300;
    QTest::newRow("-1e300") << -1e300;
    QTest::newRow("largest double") << std::numeric_limits<double>::max();
    QTest::newRow("smallest step below zero") << -std::numeric_limits<double>::denorm_min();
}

void TestCoordinates::hostileTexts()
{
    // Finishes and gives a text with a hemisphere letter; never hangs.
    QFETCH(double, value);
    const QString lat = Coord::latitudeText(value, false);
    const QString lon = Coord::longitudeText(value, true);
    QVERIFY(lat.endsWith(u'N') || lat.endsWith(u'S'));
    QVERIFY(lon.endsWith(u'E') || lon.endsWith(u'W'));
    if (std::isfinite(value)) {
        // A finite longitude always lands within half a turn.
        QVERIFY2(lon.size() == 16, qPrintable(lon));
    }
}

void TestCoordinates::inTurnMatchesLoops_data()
{
    QTest::addColumn<double>("value");
    const double T = 1296000;
    for (double v : {0.0, 1.0, 0.5, 648000.0, 648000.5, T - 0.001, T, T + 0.001, T + 1, 2 * T, 2 * T + 7.25,
                     3.5 * T, 17 * T + 123.456, -0.001, -1.0, -648000.0, -T, -T - 1, -2 * T, -2.5 * T,
                     -17 * T - 123.456, 1e-9, -1e-9})
        QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
}

void TestCoordinates::inTurnMatchesLoops()
{
    QFETCH(double, value);
    const double expected = loopInTurn(value);
    QCOMPARE(Coord::inTurn(value), expected);
    QCOMPARE(Coord::inHalfTurn(value), expected > 648000 ? expected - 1296000 : expected);
}

void TestCoordinates::inTurnHostile_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("finite");
    QTest::newRow("1e300") << 1e300 << true;
    QTest::newRow("-1e300") << -1e300 << true;
    QTest::newRow("1e20") << 1e20 << true;
    QTest::newRow("-1e20") << -1e20 << true;
    QTest::newRow("NaN") << notANumber << false;
    QTest::newRow("+infinity") << infinity << false;
    QTest::newRow("-infinity") << -infinity << false;
}

void TestCoordinates::inTurnHostile()
{
    QFETCH(double, value);
    QFETCH(bool, finite);
    const double v = Coord::inTurn(value);
    const double h = Coord::inHalfTurn(value);
    if (finite) {
        QVERIFY(v >= 0 && v <= 1296000);
        QVERIFY(h > -648000 && h <= 648000);
    } else {
        QVERIFY(std::isnan(v));
        QVERIFY(std::isnan(h));
    }
}

void TestCoordinates::bandTables()
{
    Coord::BandTable top{};
    Coord::QuarterTable qtop{};
    Coord::QuarterTable qtopSeconds{};
    Coord::buildBands(top);
    Coord::buildQuarterBands(top, qtop, qtopSeconds);

    QCOMPARE(top[0], 0.0);
    QCOMPARE(top[1], 1.40625);
    QCOMPARE(top[2], 1.40625 + 1.40625 * 0.9996988186962042);
    QVERIFY(std::fabs(top[128] - 85.1996) < 0.0001);
    for (std::size_t k = 1; k < top.size(); ++k)
        QVERIFY(top[k] > top[k - 1]);

    QCOMPARE(qtop[0], 0.0);
    QCOMPARE(qtop[1], 0.703125);
    QCOMPARE(qtop[2], top[1]);
    QCOMPARE(qtop[3], top[1] + 0.703125 * 0.9996988186962042);
    QCOMPARE(qtop[256], top[128]);
    for (std::size_t j = 0; j < qtop.size(); ++j) {
        QCOMPARE(qtopSeconds[j], qtop[j] * 3600);
        if (j % 2 == 0)
            QCOMPARE(qtop[j], top[j / 2]);
        else
            QVERIFY(qtop[j] > qtop[j - 1] && qtop[j] < qtop[j + 1]);
    }
    QCOMPARE(Coord::bands(), top);
    QCOMPARE(Coord::quarterBandSeconds(), qtopSeconds);
}

void TestCoordinates::tileRow_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<int>("row");
    QTest::newRow("equator") << 0.0 << 127;
    QTest::newRow("one second north") << 1.0 << 128;
    QTest::newRow("one second south") << -1.0 << 127;
    QTest::newRow("south pole") << -324000.0 << 0;
    QTest::newRow("north pole") << 324000.0 << 255;
    QTest::newRow("just below first edge") << 5062.4 << 128;
    QTest::newRow("on the first edge") << 5062.5 << 129;
    QTest::newRow("on the first edge, south") << -5062.5 << 126;
    QTest::newRow("last band starts") << Coord::bands()[127] * 3600 << 255;
    QTest::newRow("just below the last band") << Coord::bands()[127] * 3600 - 0.01 << 254;
    QTest::newRow("beyond the last edge") << 85.5 * 3600 << 255;
    QTest::newRow("beyond the last edge, south") << -85.5 * 3600 << 0;
    QTest::newRow("huge") << 1e300 << 255;
    QTest::newRow("NaN") << notANumber << 0;
}

void TestCoordinates::tileRow()
{
    QFETCH(double, latitude);
    QFETCH(int, row);
    QCOMPARE(Coord::tileRow(Coord::bands(), latitude), row);
    CGlobalVar config;
    QCOMPARE(config.tileRow(latitude), row);
}

void TestCoordinates::tileColumn_data()
{
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("column");
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("slightly west of zero") << -1000.0 << 0;
    QTest::newRow("-6000 seconds") << -6000.0 << 255;
    QTest::newRow("one column") << 5062.5 << 1;
    QTest::newRow("just below one column") << 5062.4 << 0;
    QTest::newRow("350 east") << 1260000.0 << 248;
    QTest::newRow("10 west") << -36000.0 << 249;
    QTest::newRow("180 east") << 648000.0 << 128;
    QTest::newRow("180 west") << -648000.0 << 128;
    QTest::newRow("a full turn") << 1296000.0 << 0;
    QTest::newRow("256 columns and 3") << 259.0 * 5062.5 << 3;
    QTest::newRow("-256 columns and 3") << -259.0 * 5062.5 << 253;
    QTest::newRow("largest 32-bit column") << 2147483647.0 * 5062.5 << 255;
    QTest::newRow("smallest 32-bit column") << -2147483648.0 * 5062.5 << 0;
    QTest::newRow("NaN") << notANumber << 0;
    QTest::newRow("+infinity") << infinity << 0;
    QTest::newRow("-infinity") << -infinity << 0;
}

void TestCoordinates::tileColumn()
{
    QFETCH(double, longitude);
    QFETCH(int, column);
    QCOMPARE(Coord::tileColumn(longitude), column);
}

void TestCoordinates::tileKey_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("key");
    QTest::newRow("origin") << 0.0 << 0.0 << 127;
    QTest::newRow("one column east, just north") << 1.0 << 5062.5 << 65536 + 128;
    QTest::newRow("west of zero, south") << -1.0 << -6000.0 << 255 * 65536 + 127;
    // Demo rows: LFPG's airport record and a waypoint west of Greenwich.
    QTest::newRow("LFPG") << 176435.072 << 9225.43 << 65703;
    QTest::newRow("ABDAL") << 185206.0 << -6707.999 << 16711850;
    QTest::newRow("huge values") << 1e300 << 1e300 << Coord::tileColumn(1e300) * 65536 + 255;
}

void TestCoordinates::tileKey()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(int, key);
    QCOMPARE(Coord::tileKey(latitude, longitude), key);
    CGlobalVar config;
    QCOMPARE(config.tileKey(latitude, longitude), key);
}

void TestCoordinates::verticalQgt_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<int>("number");
    const double q1 = 0.703125 * 3600;
    QTest::newRow("equator") << 0.0 << 256;
    QTest::newRow("one second north") << 1.0 << 256;
    QTest::newRow("one second south") << -1.0 << 255;
    QTest::newRow("on the first quarter edge") << q1 << 256;
    QTest::newRow("just above the first quarter edge") << q1 + 0.01 << 257;
    QTest::newRow("just above it, south") << -(q1 + 0.01) << 254;
    QTest::newRow("just above the first band edge") << 5062.51 << 258;
    QTest::newRow("north pole") << 324000.0 << 511;
    QTest::newRow("south pole") << -324000.0 << 0;
    QTest::newRow("huge") << 1e300 << 511;
    QTest::newRow("-infinity") << -infinity << 0;
}

void TestCoordinates::verticalQgt()
{
    QFETCH(double, latitude);
    QFETCH(int, number);
    QCOMPARE(Coord::verticalQgtNumber(Coord::quarterBandSeconds(), latitude), number);
    LogCapture log;
    CGlobalVar config;
    QCOMPARE(config.GetVerticalQgtNumber(latitude), number);
    QVERIFY(log.lines.isEmpty());
}

void TestCoordinates::verticalQgtNanIsLogged()
{
    LogCapture log;
    CGlobalVar config;
    QCOMPARE(config.GetVerticalQgtNumber(notANumber), 255);
    QCOMPARE(log.lines, QStringList{QStringLiteral("Debug: CGlobalVar::GetVerticalQgtNumber QNAN detected")});
}

void TestCoordinates::globalVarTablesReady()
{
    CGlobalVar config;
    QCOMPARE(config.top, Coord::bands());
    QCOMPARE(config.qtopSeconds, Coord::quarterBandSeconds());
    QCOMPARE(config.qtop[1], 0.703125);
}

void TestCoordinates::demoTilesAgree_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sql");
    QTest::newRow("APT") << "GEN.db" << "SELECT tile, alat, alon, ukey FROM APT";
    QTest::newRow("NAV") << "GEN.db" << "SELECT tile, nlat, nlon, ukey FROM NAV";
    QTest::newRow("COM") << "GEN.db" << "SELECT tile, clat, clon, ckey FROM COM";
    QTest::newRow("ILS") << "GEN.db" << "SELECT tile, ilat, ilon, ikey FROM ILS";
    QTest::newRow("WPT") << "WPT.db" << "SELECT tile, wlat, wlon, ukey FROM WPT";
}

// The demo databases carry the simulator's tile keys: every record's key
// must come out of its position.
void TestCoordinates::demoTilesAgree()
{
    QFETCH(QString, file);
    QFETCH(QString, sql);
    const SimFixture &sim = m_demo;
    const QString name = QStringLiteral("tiles-") + file;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(sim.sqlDir()).filePath(file));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(sql));
        int rows = 0;
        while (q.next()) {
            ++rows;
            const int key = Coord::tileKey(q.value(1).toDouble(), q.value(2).toDouble());
            QVERIFY2(key == q.value(0).toInt(),
                     qPrintable(QStringLiteral("%1: %2 != %3").arg(q.value(3).toString()).arg(key).arg(q.value(0).toInt())));
        }
        QVERIFY(rows > 100);
    }
    QSqlDatabase::removeDatabase(name);
}

// Objects are filed under half-column x 512 + the vertical quarter number.
void TestCoordinates::demoQuarterTilesAgree()
{
    const SimFixture &sim = m_demo;
    const QString name = QStringLiteral("tiles-OBJ");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(sim.sqlDir()).filePath(QStringLiteral("OBJ.db")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT qgt, lat, lon FROM OBJ")));
        CGlobalVar config;
        int rows = 0;
        while (q.next()) {
            ++rows;
            const int column = int(std::trunc(q.value(2).toDouble() / Coord::HalfColumnWidth));
            QCOMPARE(column * 512 + config.GetVerticalQgtNumber(q.value(1).toDouble()), q.value(0).toInt());
        }
        QCOMPARE(rows, 6);
    }
    QSqlDatabase::removeDatabase(name);
}

int runCoordinatesTests(int argc, char **argv)
{
    TestCoordinates t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_coordinates.moc"
