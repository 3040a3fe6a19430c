#include "tests/support/simfixture.h"

#include "data/schema.h"
#include "tools/simtree/simtree.h"

#include <QDir>
#include <QFile>

SimFixture::SimFixture() = default;

bool SimFixture::buildDemo()
{
    return SimTree::buildFromDemo(SimTree::demoDir(), root(), &m_error);
}

bool SimFixture::buildSkeleton()
{
    if (!SimTree::makeSkeleton(root(), &m_error))
        return false;
    return writeIni("[SQL]\nGENDB=SQL\nM3DDB=SQL\nOBJDB=SQL\nTXYDB=SQL\nWPTDB=SQL\nRTEDB=SQL\nOSMDB=SQL\n");
}

bool SimFixture::exec(const QString &dbFile, const QString &sql)
{
    return SimTree::runScript(QDir(sqlDir()).filePath(dbFile), sql, &m_error);
}

bool SimFixture::createDatabase(const QString &dbFile, int userVersion)
{
    return exec(dbFile, QStringLiteral("PRAGMA user_version = %1;").arg(userVersion));
}

QString SimFixture::schemaScript(const QString &database, int userVersion)
{
    QString script = QStringLiteral("PRAGMA user_version = %1;\nBEGIN TRANSACTION;\n").arg(userVersion);
    for (const CTable *table : CSchema::tables(database))
        script += table->createStatement() + QStringLiteral(";\n");
    return script + QStringLiteral("COMMIT;\n");
}

bool SimFixture::createSchemaDatabase(const QString &dbFile, const QString &database, int userVersion)
{
    if (CSchema::tables(database).isEmpty()) {
        m_error = QStringLiteral("no tables known for database %1").arg(database);
        return false;
    }
    return exec(dbFile, schemaScript(database, userVersion));
}

bool SimFixture::writeIni(const QByteArray &content)
{
    QDir(root()).mkpath(QStringLiteral("system"));
    QFile file(path(QStringLiteral("system/Corvane.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = file.errorString();
        return false;
    }
    return file.write(content) == content.size();
}
