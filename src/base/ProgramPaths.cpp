#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString withSeparator(const QString &dir)
{
    if (dir.isEmpty() || dir.endsWith(u'/'))
        return dir;
    return dir + u'/';
}

// Whether a file can be created in the folder. Asking the file system for
// permissions is not enough: it says yes to root on read-only mounts.
bool canCreateFileIn(const QString &dir)
{
    QTemporaryFile probe(dir + QLatin1String("orvane-XXXXXX.tmp"));
    return probe.open();
}

// Whether the program was installed as a system package (/usr/lib/orvane):
// its folder belongs to the package manager and is read-only for users, and
// must stay untouched by root too, so every user keeps the settings file
// and "PCDB" in the per-user configuration folder.
bool installedBySystem(const QString &dir)
{
    return dir.startsWith(QLatin1String("/usr/"));
}

// The per-user configuration folder, created when missing.
QString userConfigDir()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return withSeparator(dir);
}

} // namespace

ProgramPaths::ProgramPaths(const QString &programFile, const QString &homeDir)
    : m_programFile(programFile), m_homeDir(withSeparator(homeDir))
{
    if (!m_homeDir.isEmpty())
        return;
    const QString programFolder = programDir();
    if (!programFolder.isEmpty() && !installedBySystem(programFolder)
        && canCreateFileIn(programFolder))
        m_homeDir = programFolder;
    else
        m_homeDir = userConfigDir();
}

ProgramPaths ProgramPaths::forRunningProgram()
{
    return ProgramPaths(QCoreApplication::applicationFilePath());
}

QString ProgramPaths::programDir() const
{
    if (m_programFile.isEmpty())
        return QString();
    return withSeparator(QFileInfo(m_programFile).absolutePath());
}

bool ProgramPaths::iniNameFailed() const
{
    return QFileInfo(m_programFile).fileName().isEmpty();
}

QString ProgramPaths::iniPath() const
{
    if (iniNameFailed())
        return fallbackIniPath();
    // The program file's name with its last extension replaced by ".INI";
    // a name without extension just gets ".INI" added.
    QString name = QFileInfo(m_programFile).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return m_homeDir + name + QLatin1String(".INI");
}

QString ProgramPaths::fallbackIniPath()
{
    return QStringLiteral("C:Program Files\\Orvane\\Orvane.ini");
}

QString ProgramPaths::defaultDataDir() const
{
    return m_homeDir + QLatin1String("PCDB");
}

QString ProgramPaths::readmePath() const
{
    return programDir() + QLatin1String("readme.txt");
}

QString ProgramPaths::helpPath() const
{
    return programDir() + QLatin1String("ORVANE.chm");
}
