#include "TempDir.h"

#include <QDir>

void TempDirTest::SetUp()
{
    ASSERT_TRUE(m_tmp.isValid());
    m_dir = QDir(m_tmp.path()).absolutePath();
    m_hadHome = qEnvironmentVariableIsSet("TONARO_HOME");
    m_oldHome = qgetenv("TONARO_HOME");
    qputenv("TONARO_HOME", QDir(m_dir).filePath("home").toUtf8());
}

void TempDirTest::TearDown()
{
    if (m_hadHome)
        qputenv("TONARO_HOME", m_oldHome);
    else
        qunsetenv("TONARO_HOME");
}

std::string TempDirTest::PathOf(const std::string& name) const
{
    return QPathOf(QString::fromStdString(name)).toStdString();
}

QString TempDirTest::QPathOf(const QString& name) const
{
    return QDir(m_dir).filePath(name);
}

std::string TestDataPath(const std::string& name)
{
    return std::string(TONARO_TEST_DATA) + "/" + name;
}
