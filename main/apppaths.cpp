#include "apppaths.h"

#include <QDir>

namespace apppaths {

namespace {
QString underHome(const char* suffix)
{
    return QDir::homePath() + QLatin1String(suffix);
}
} // namespace

QString logDir()
{
    return underHome("/AppData/Roaming/Veltrano/Quorvia/Log");
}

QString configDir()
{
    return underHome("/AppData/Roaming/Veltrano/Quorvia/Config");
}

QString tempDir()
{
    return underHome("/AppData/Roaming/Veltrano/Quorvia/Temp");
}

void ensureAppDirectories()
{
    for (const QString& dir : {logDir(), configDir(), tempDir()}) {
        const QString native = QDir::toNativeSeparators(dir);
        if (!QDir(native).exists())
            QDir().mkpath(native);
    }
}

} // namespace apppaths
