#include "tests/support/simfixture.h"

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
