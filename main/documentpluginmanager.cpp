#include "documentpluginmanager.h"

#include "documentplugininterfaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QSet>

namespace {

QString normalizeExtension(const QString& extension)
{
    QString e = extension.trimmed().toLower();
    if (!e.startsWith(QLatin1Char('.')))
        e.prepend(QLatin1Char('.'));
    return e;
}

template <typename Plugin>
void registerExtensions(QHash<QString, Plugin*>& map, Plugin* plugin)
{
    const QStringList extensions = plugin->supportedExtensions();
    for (const QString& extension : extensions)
        map.insert(normalizeExtension(extension), plugin); // a later library wins
}

} // namespace

DocumentPluginManager::DocumentPluginManager(QObject* parent)
    : QObject(parent)
{
}

DocumentPluginManager::~DocumentPluginManager()
{
    // Deleting a loader leaves its library loaded: widgets made by the plug-in
    // may still be alive while the window tears down.
    qDeleteAll(pluginLoaders);
}

QStringList DocumentPluginManager::pluginDirectories()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return {
        QDir(appDir + QLatin1String("/PlugIns/document")).absolutePath(),
        QDir(appDir + QLatin1String("/../PlugIns/document")).absolutePath(),
        QDir(appDir + QLatin1String("/plugins")).absolutePath(),
        QDir(appDir + QLatin1String("/document_plugins")).absolutePath(),
        QDir(QDir::currentPath() + QLatin1String("/djvu_plugin")).absolutePath(),
    };
}

QString DocumentPluginManager::sharedLibrarySuffix()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("dll");
#elif defined(Q_OS_DARWIN)
    return QStringLiteral("dylib");
#else
    return QStringLiteral("so");
#endif
}

void DocumentPluginManager::scanPlugins()
{
    const QString suffix = sharedLibrarySuffix();
    const QStringList directories = pluginDirectories();
    for (const QString& path : directories) {
        const QDir dir(path);
        if (!dir.exists())
            continue;
        const QFileInfoList entries = dir.entryInfoList(QDir::Files, QDir::NoSort);
        for (const QFileInfo& entry : entries) {
            if (entry.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
                loadPlugin(entry.absoluteFilePath());
        }
    }
}

void DocumentPluginManager::loadPlugin(const QString& filePath)
{
    // A loader reports its library's canonical path; comparing that form too
    // keeps a library reached through a link from being registered twice.
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    for (const QPluginLoader* existing : std::as_const(pluginLoaders)) {
        if (existing->fileName() == filePath
            || (!canonical.isEmpty() && existing->fileName() == canonical))
            return;
    }

    auto* loader = new QPluginLoader(filePath);
    QObject* root = loader->instance();
    if (!root) {
        delete loader;
        return;
    }

    auto* documentPlugin = qobject_cast<IDocumentPlugin*>(root);
    auto* widgetPlugin = qobject_cast<IDocumentWidgetPlugin*>(root);
    if (!documentPlugin && !widgetPlugin) {
        loader->unload();
        delete loader;
        return;
    }

    if (documentPlugin)
        registerExtensions(loaderPlugins, documentPlugin);
    if (widgetPlugin)
        registerExtensions(widgetPlugins, widgetPlugin);
    pluginLoaders.append(loader);
}

QString DocumentPluginManager::normalizedSuffix(const QString& filePath)
{
    const QString suffix = QFileInfo(filePath).suffix().toLower();
    if (suffix.isEmpty())
        return QString();
    return QLatin1Char('.') + suffix;
}

bool DocumentPluginManager::canOpen(const QString& filePath) const
{
    const QString suffix = normalizedSuffix(filePath);
    return loaderPlugins.contains(suffix) || widgetPlugins.contains(suffix);
}

bool DocumentPluginManager::hasWidgetPlugin(const QString& filePath) const
{
    return widgetPlugins.contains(normalizedSuffix(filePath));
}

QWidget* DocumentPluginManager::createWidget(const QString& filePath, QWidget* parent,
                                             IDocumentWidgetHost* host, QString* errorMessage) const
{
    IDocumentWidgetPlugin* plugin = widgetPlugins.value(normalizedSuffix(filePath), nullptr);
    if (!plugin)
        return nullptr;
    return plugin->createWidget(filePath, parent, host, errorMessage);
}

bool DocumentPluginManager::supportsBookmarks(const QString& filePath) const
{
    IDocumentWidgetPlugin* plugin = widgetPlugins.value(normalizedSuffix(filePath), nullptr);
    return plugin && plugin->supportsBookmarks(filePath);
}

QStringList DocumentPluginManager::supportedExtensions() const
{
    QSet<QString> all;
    for (auto it = loaderPlugins.cbegin(); it != loaderPlugins.cend(); ++it)
        all.insert(it.key());
    for (auto it = widgetPlugins.cbegin(); it != widgetPlugins.cend(); ++it)
        all.insert(it.key());
    QStringList sorted(all.cbegin(), all.cend());
    sorted.sort(Qt::CaseSensitive);
    return sorted;
}

QString DocumentPluginManager::fileDialogFilter() const
{
    QStringList patterns;
    const QStringList extensions = supportedExtensions();
    for (const QString& extension : extensions)
        patterns.append(QLatin1Char('*') + extension);
    return tr("Supported Documents (%1)").arg(patterns.join(QLatin1Char(' ')))
        + QLatin1String(";;") + tr("All Files (*)");
}

QStringList DocumentPluginManager::loadedPluginFiles() const
{
    QStringList files;
    for (const QPluginLoader* loader : pluginLoaders)
        files.append(loader->fileName());
    return files;
}
