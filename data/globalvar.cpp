#include "data/globalvar.h"

#include "app/prompt.h"
#include "data/backup.h"
#include "data/coordinates.h"
#include "data/sqlmgr.h"
#include "data/textfile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <cmath>

namespace {

// Which files of a database folder may hold the database.
enum class Candidate {
    NameBegins,          // the file name begins with the marker (any case)
    BaseBeginsSuffixDb,  // the base name begins with it (any case), the suffix is exactly "db"
};

struct DatabaseCheck {
    const char *marker;
    Candidate rule;
    int expected;
    QString CGlobalVar::*name;
    QDir CGlobalVar::*dir;
    const char *message;   // version box text; null: a missing database is only a warning
    const char *fatal;
};

const DatabaseCheck checks[] = {
    {"GEN", Candidate::NameBegins, CGlobalVar::GenVersion, &CGlobalVar::genName, &CGlobalVar::dirGen,
     QT_TRANSLATE_NOOP("QObject", "GEN : La version attendue est %1.\nLa version trouvée est %2.\nLe programme va s'arréter."),
     "CGlobalVar::initDB : GEN : erreur de version"},
    {"M3D", Candidate::BaseBeginsSuffixDb, CGlobalVar::M3dVersion, &CGlobalVar::m3dName, &CGlobalVar::dirM3d,
     QT_TRANSLATE_NOOP("QObject", "M3D : La version attendue est %1.\nLa version trouvée est %2.\nLe programme va s'arréter."),
     "CGlobalVar::initDB M3D : erreur de version"},
    {"OBJ", Candidate::NameBegins, CGlobalVar::ObjVersion, &CGlobalVar::objName, &CGlobalVar::dirObj,
     QT_TRANSLATE_NOOP("QObject", "OBJ : La version attendue est %1.\nLa version trouvée est %2.\nLe programme va s'arréter."),
     "CGlobalVar::initDB OBJ : erreur de version"},
    {"TXY", Candidate::NameBegins, CGlobalVar::TxyVersion, &CGlobalVar::txyName, &CGlobalVar::dirTxy,
     QT_TRANSLATE_NOOP("QObject", "TXY : La version attendue est %1.\nLa version trouvée est %2.\nLe programme va s'arréter."),
     "CGlobalVar::initDB TXY : erreur de version"},
    {"WPT", Candidate::NameBegins, CGlobalVar::WptVersion, &CGlobalVar::wptName, &CGlobalVar::dirWpt,
     QT_TRANSLATE_NOOP("QObject", "WPT : La version attendue est %1.\nLa version trouvée est %2.\nLe programme va s'arréter."),
     "CGlobalVar::initDB WPT : erreur de version"},
    {"ROUTE", Candidate::NameBegins, CGlobalVar::RouteVersion, &CGlobalVar::routeName, &CGlobalVar::dirRte,
     nullptr, nullptr},
};

// Ini keys of section "SQL", in reading order, with the folder each sets.
struct IniEntry {
    const char *key;
    const char *logLine;
    QDir CGlobalVar::*dir;
};

const IniEntry iniEntries[] = {
    {"SQL/GENDB", "CGlobalVar::initDBPath GENDB", &CGlobalVar::dirGen},
    {"SQL/M3DDB", "CGlobalVar::initDBPath M3DDB", &CGlobalVar::dirM3d},
    {"SQL/OBJDB", "CGlobalVar::initDBPath OBJDB", &CGlobalVar::dirObj},
    {"SQL/TXYDB", "CGlobalVar::initDBPath TXYDB", &CGlobalVar::dirTxy},
    {"SQL/WPTDB", "CGlobalVar::initDBPath WPTDB", &CGlobalVar::dirWpt},
    {"SQL/RTEDB", "CGlobalVar::initDBPath RTEDB", &CGlobalVar::dirRte},
    {"SQL/OSMDB", "CGlobalVar::initDBPath OSMDB", &CGlobalVar::dirOsm},
};

bool isCandidate(const QString &entry, const DatabaseCheck &check)
{
    const QLatin1String marker(check.marker);
    switch (check.rule) {
    case Candidate::NameBegins:
        return entry.startsWith(marker, Qt::CaseInsensitive);
    case Candidate::BaseBeginsSuffixDb: {
        const QFileInfo info(entry);
        return info.baseName().startsWith(marker, Qt::CaseInsensitive) && info.suffix() == QLatin1String("db");
    }
    }
    return false;
}

// The [SQL] entries of the simulator's ini exactly as written, keyed by
// lower-case name. The simulator writes Windows paths with plain
// backslashes, which QSettings reads as escapes ("D:\Data" would lose its
// "\D"); when QSettings leaves no backslash of those written, the value is
// taken from here instead (a doubled "\\" or a quoted value reads right).
QHash<QString, QString> literalSqlEntries(const QString &ini)
{
    QHash<QString, QString> entries;
    bool inSection = false;
    for (QStringView raw : QStringView(ini).split(u'\n')) {
        const QStringView line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inSection = line.compare(QLatin1String("[SQL]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq <= 0)
            continue;
        entries.insert(line.left(eq).trimmed().toString().toLower(), line.mid(eq + 1).trimmed().toString());
    }
    return entries;
}

// The simulator's ini is written on Windows: "D:\Data\SQL" is absolute there.
bool isAbsoluteSetting(const QString &value)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    return QDir::isAbsolutePath(value) || drive.match(value).hasMatch();
}

// user_version of an open connection; false when it cannot be read (the
// file did not open or is no database).
bool readUserVersion(const QString &connection, int *version)
{
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version;")) || !query.next())
        return false;
    *version = query.value(0).toInt();
    return true;
}

} // namespace

CGlobalVar::CGlobalVar()
    : sqlMgr(new SqlMgr)
{
    // The tables are fixed; having them from the start keeps tile keys right
    // even for code that runs before init.
    buildTileTables();
}

CGlobalVar::~CGlobalVar()
{
    // The connections live as long as the configuration that opened them.
    sqlMgr->closeAll();
    delete sqlMgr;
}

bool CGlobalVar::init()
{
    initDBPath();
    if (!initDB())
        return false;
    buildTileTables();
    return true;
}

void CGlobalVar::initDBPath()
{
    const QString iniPath = QStringLiteral("%1/system/Corvane.ini").arg(dirCorvane.path());
    // The simulator writes its ini in the local 8-bit encoding, QSettings
    // reads ini files as UTF-8: a file that is no valid UTF-8 is read as
    // Latin-1, through a UTF-8 copy ("D:\Données\SQL" would otherwise hold a
    // replacement character and name no folder).
    QByteArray bytes;
    TextFile::read(iniPath, &bytes);
    const QString text = TextFile::decode(bytes);
    const QByteArray utf8 = text.toUtf8();
    QTemporaryFile utf8Copy;
    QString settingsPath = iniPath;
    if (utf8 != bytes && utf8Copy.open() && utf8Copy.write(utf8) == utf8.size() && utf8Copy.flush())
        settingsPath = utf8Copy.fileName();
    const QSettings ini(settingsPath, QSettings::IniFormat);
    const QHash<QString, QString> literal = literalSqlEntries(text);
    for (const IniEntry &entry : iniEntries) {
        const QVariant setting = ini.value(QLatin1String(entry.key), QStringLiteral("../../SQL"));
        // A value with commas comes back as a list: it is still one path.
        QString value = setting.metaType().id() == QMetaType::QStringList
                ? setting.toStringList().join(u',')
                : setting.toString();
        const QString written = literal.value(QString::fromLatin1(entry.key + 4).toLower());
        if (written.contains(u'\\') && !value.contains(u'\\'))
            value = written;   // QSettings took the backslashes for escapes
        QDir &dir = this->*entry.dir;
        if (isAbsoluteSetting(value))
            dir.setPath(value);
        else
            dir.setPath(dirCorvane.path() + u'/' + QDir::cleanPath(value));
    }
    qDebug() << "CGlobalVar::initDBPath Corvane.ini settings";
    for (const IniEntry &entry : iniEntries)
        qDebug() << entry.logLine << (this->*entry.dir).path();
}

bool CGlobalVar::initDB()
{
    for (const DatabaseCheck &check : checks)
        (this->*check.dir).setNameFilters({QStringLiteral("*.db")});

    for (const DatabaseCheck &check : checks) {
        const QDir &dir = this->*check.dir;
        QString &name = this->*check.name;
        const QLatin1String marker(check.marker);

        name.clear();
        int found = -1;
        const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
        for (const QString &entry : entries) {
            if (!entry.contains(marker, Qt::CaseInsensitive) || !isCandidate(entry, check))
                continue;
            sqlMgr->addDB(entry, dir.path());
            if (&check == &checks[0])
                qDebug() << "CGlobalVar::initDB" << dir.path();
            int version = -1;
            if (!readUserVersion(entry, &version))
                continue;   // not a database: passed over, its connection stays
            found = version;
            if (version == check.expected)
                name = entry;   // a later acceptable file replaces it
            else
                sqlMgr->removeDB(entry);
        }

        if (!name.isEmpty())
            continue;
        if (!check.message) {
            qWarning("CGlobalVar::initDB ROUTE : base de donnée manquante");
            continue;
        }
        CPrompt::Message box;
        box.icon = CPrompt::Critical;
        box.title = QCoreApplication::translate("QObject", "Erreur de version de base de données");
        box.text = QCoreApplication::translate("QObject", check.message)
                           .arg(QString::number(check.expected), QString::number(found));
        box.buttons = QStringList{CPrompt::Ok};
        prompt().message(box);
        qFatal("%s", check.fatal);
    }
    return true;
}

QStringList CGlobalVar::connectionsOf(const QString &filePath) const
{
    const QString file = CBackup::fileKey(filePath);
    QStringList names;
    for (const QString *name : {&genName, &m3dName, &objName, &txyName, &wptName, &routeName, &osmName}) {
        if (name->isEmpty() || names.contains(*name) || !QSqlDatabase::contains(*name))
            continue;
        const QString dbFile = QSqlDatabase::database(*name, false).databaseName();
        if (!dbFile.isEmpty() && CBackup::fileKey(dbFile) == file)
            names << *name;
    }
    return names;
}

void CGlobalVar::closeConnections(const QStringList &names)
{
    for (const QString &name : names) {
        if (!QSqlDatabase::contains(name))
            continue;
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
        qDebug() << "CGlobalVar::closeConnections" << name;
    }
}

bool CGlobalVar::reopenConnections(const QStringList &names, QString *error)
{
    bool ok = true;
    for (const QString &name : names) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        QString why;
        if (!db.isValid()) {
            why = QCoreApplication::translate("QObject", "la connexion %1 n'existe plus").arg(name);
        } else if (!db.isOpen() && !db.open()) {
            why = db.lastError().text();
        } else {
            // SQLite reads nothing on opening: the first statement does.
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !query.next())
                why = query.lastError().text();
        }
        if (why.isEmpty()) {
            qDebug() << "CGlobalVar::reopenConnections" << name << "is open";
            continue;
        }
        qWarning() << "CGlobalVar::reopenConnections" << name << why;
        if (ok && error)
            *error = QCoreApplication::translate("QObject", "%1 ne s'ouvre pas : %2").arg(name, why);
        ok = false;
    }
    return ok;
}

int CGlobalVar::expectedVersion(const QString &connectionName) const
{
    if (connectionName.isEmpty())
        return -1;
    for (const DatabaseCheck &check : checks) {
        if (this->*check.name == connectionName)
            return check.expected;
    }
    return -1;
}

bool CGlobalVar::checkConnection(const QString &connectionName, QString *error) const
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.isOpen())
        return fail(QCoreApplication::translate("QObject", "la connexion %1 n'est pas ouverte").arg(connectionName));
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
        return fail(query.lastError().text());
    QStringList report;
    while (query.next() && report.size() < 5)
        report << query.value(0).toString();
    query.finish();
    if (report != QStringList{QStringLiteral("ok")})
        return fail(QCoreApplication::translate("QObject", "%1 est endommagée : %2").arg(connectionName, report.join(u'\n')));
    const int expected = expectedVersion(connectionName);
    if (expected < 0)
        return true;
    int found = -1;
    if (!readUserVersion(connectionName, &found) || found != expected)
        return fail(QCoreApplication::translate("QObject", "%1 : la version attendue est %2, la version trouvée est %3")
                            .arg(connectionName, QString::number(expected), QString::number(found)));
    return true;
}

QString CGlobalVar::latitudeText(double latitude, bool secondsMark)
{
    return Coord::latitudeText(latitude, secondsMark);
}

QString CGlobalVar::longitudeText(double longitude, bool secondsMark)
{
    return Coord::longitudeText(longitude, secondsMark);
}

int CGlobalVar::tileRow(double latitude) const
{
    return Coord::tileRow(top, latitude);
}

int CGlobalVar::tileKey(double latitude, double longitude) const
{
    return Coord::tileKey(top, latitude, longitude);
}

int CGlobalVar::GetVerticalQgtNumber(double latitude) const
{
    if (std::isnan(latitude))
        qDebug("CGlobalVar::GetVerticalQgtNumber QNAN detected");
    return Coord::verticalQgtNumber(qtopSeconds, latitude);
}

void CGlobalVar::buildTileTables()
{
    Coord::buildBands(top);
    Coord::buildQuarterBands(top, qtop, qtopSeconds);
}
