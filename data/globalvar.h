#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>

class SqlMgr;

// The one object through which the program finds the simulator and its data:
// the simulator and work directories, the database directories read from the
// simulator's ini file, the names of the accepted database connections, the
// SQL manager and the globe tile tables.
class CGlobalVar
{
public:
    // Creates the SQL manager; the tile tables are ready from the start.
    CGlobalVar();
    // Unregisters the connections opened through the SQL manager.
    virtual ~CGlobalVar();
    CGlobalVar(const CGlobalVar &) = delete;
    CGlobalVar &operator=(const CGlobalVar &) = delete;

    // The view settings live in the subclass.
    virtual void writeSettings() {}
    virtual void readSettings() {}

    // initDBPath, then initDB; on success builds the tile tables.
    bool init();
    // Database folders from "<dirCorvane>/system/Corvane.ini", section SQL.
    void initDBPath();
    // Opens every candidate file and checks its user_version; a required
    // database missing or of the wrong version ends the program after a
    // message. True otherwise (a missing route database is only logged).
    bool initDB();

    // The accepted connections (GEN ... ROUTE, OSM) whose database is the
    // file `filePath`, however the path is spelled.
    QStringList connectionsOf(const QString &filePath) const;
    // Closes named connections (their statements are finished) and opens
    // them again on their files. Reopening reads the file, so a file that is
    // no database fails here; false with the reason then.
    static void closeConnections(const QStringList &names);
    static bool reopenConnections(const QStringList &names, QString *error = nullptr);
    // The schema version start-up requires of the database a connection is
    // accepted as; -1 when start-up checks none (OSM, a name it did not accept).
    int expectedVersion(const QString &connectionName) const;
    // What start-up checks of a database, on an open connection: the file is
    // whole (PRAGMA integrity_check) and, where start-up requires one, of the
    // expected schema version. False with the reason otherwise.
    bool checkConnection(const QString &connectionName, QString *error = nullptr) const;

    // Coordinates in arc-seconds, north and east positive.
    static QString latitudeText(double latitude, bool secondsMark);
    static QString longitudeText(double longitude, bool secondsMark);
    int tileRow(double latitude) const;
    int tileKey(double latitude, double longitude) const;
    int GetVerticalQgtNumber(double latitude) const;
    void buildTileTables();

    SqlMgr *sqlMgr = nullptr;

    QString genName;
    QString m3dName;
    QString objName;
    QString txyName;
    QString wptName;
    QString routeName;
    QString osmName;

    QDir dirCorvane;
    QDir dirWork;
    QDir dirGen;
    QDir dirM3d;
    QDir dirObj;
    QDir dirTxy;
    QDir dirWpt;
    QDir dirRte;
    QDir dirOsm;

    // Band edges in degrees; quarter-band edges in degrees and arc-seconds.
    std::array<double, 129> top{};
    std::array<double, 257> qtop{};
    std::array<double, 257> qtopSeconds{};

    // Expected schema versions.
    static constexpr int GenVersion = 0;
    static constexpr int M3dVersion = 3;
    static constexpr int ObjVersion = 4;
    static constexpr int TxyVersion = 1;
    static constexpr int WptVersion = 0;
    static constexpr int RouteVersion = 0;
};
