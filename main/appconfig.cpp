#include "appconfig.h"

#include "apppaths.h"

#include <QDir>

namespace {
const char* const kLastOpenPathKey = "LastOpenPath";
const char* const kLanguageKey = "language";
const char* const kVerboseLogKey = "VerboseLog";
const int kDefaultLanguage = 1;

// Runs before the QSettings member is built: the store's location follows the
// names set here, and a store of an earlier version has moved to it.
QSettings::Format setApplicationNames()
{
    apppaths::setApplicationNames();
    apppaths::migrateLegacyFiles();
    return QSettings::NativeFormat;
}
} // namespace

AppConfig* AppConfig::instance()
{
    static AppConfig* config = new AppConfig;
    return config;
}

AppConfig::AppConfig(QObject* parent)
    : QObject(parent)
    , settings(setApplicationNames(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Quorvia"))
{
    settings.setFallbacksEnabled(false);
}

QString AppConfig::lastOpenPath() const
{
    return settings.value(QLatin1String(kLastOpenPathKey), QDir::homePath()).toString();
}

void AppConfig::setLastOpenPath(const QString& path)
{
    settings.setValue(QLatin1String(kLastOpenPathKey), path);
    settings.sync();
}

int AppConfig::language() const
{
    return settings.value(QLatin1String(kLanguageKey), kDefaultLanguage).toInt();
}

void AppConfig::setLanguage(int language)
{
    settings.setValue(QLatin1String(kLanguageKey), language);
    settings.sync();
}

bool AppConfig::verboseLog() const
{
    return settings.value(QLatin1String(kVerboseLogKey), false).toBool();
}

QString AppConfig::storeLocation() const
{
    return settings.fileName();
}
