#pragma once

#include <QString>
#include <QTemporaryDir>

// A simulator tree in a temporary folder, for one test. Either the complete
// demo tree, or an empty skeleton that the test fills with databases of its
// choice.
class SimFixture
{
public:
    SimFixture();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString sqlDir() const { return path(QStringLiteral("SQL")); }

    // The complete demo tree (databases, ini, aircraft archives, folders).
    bool buildDemo();
    // Folders, Corvane.exe and an ini file naming SQL for every database.
    bool buildSkeleton();

    // Runs SQL on a database file of the SQL folder (created when missing).
    bool exec(const QString &dbFile, const QString &sql);
    // Creates a database file with the given user_version and no tables.
    bool createDatabase(const QString &dbFile, int userVersion);
    // Creates a database file with the given user_version and, empty, every
    // table the schema catalogue knows for that database ("GEN", "M3D",
    // "OBJ", "TXY", "WPT", "ROUTE", "OSM"), columns in stored order with the
    // simulator's SQL types and UNIQUE constraints.
    bool createSchemaDatabase(const QString &dbFile, const QString &database, int userVersion);
    // The statements createSchemaDatabase runs.
    static QString schemaScript(const QString &database, int userVersion);
    // Replaces system/Corvane.ini.
    bool writeIni(const QByteArray &content);

    QString lastError() const { return m_error; }

private:
    QTemporaryDir m_dir;
    QString m_error;
};
