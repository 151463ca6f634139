#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace apppaths {

namespace {

// Moves a file unless something is already at the destination; a folder the
// move leaves empty goes too.
bool moveOnce(const QString& from, const QString& to)
{
    if (!QFileInfo(from).isFile() || QFileInfo::exists(to))
        return false;
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::rename(from, to))
        return false;
    QDir().rmdir(QFileInfo(from).absolutePath());
    return true;
}

} // namespace

void setApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvia"));
}

QString dataDir()
{
    setApplicationNames();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString logDir()
{
    return dataDir() + QLatin1String("/logs");
}

QString tempRoot()
{
    setApplicationNames();
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1String("/attachments");
}

void ensureAppDirectories()
{
    for (const QString& dir : {dataDir(), logDir()}) {
        if (!QDir(dir).exists())
            QDir().mkpath(dir);
    }
}

QString legacyRecentFilesPath(const QString& home)
{
    return home + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Config/recent_files.json");
}

QString legacySettingsPath(const QString& configHome)
{
    return configHome + QLatin1String("/Veltrano/Veltrano Quorvia.conf");
}

int migrateLegacyFiles()
{
    setApplicationNames();
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    int moved = 0;
    moved += moveOnce(legacyRecentFilesPath(QDir::homePath()), dataDir() + QLatin1String("/recent_files.json"));
    moved += moveOnce(legacySettingsPath(configHome), configHome + QLatin1String("/Veltrano/Quorvia.conf"));
    return moved;
}

} // namespace apppaths
