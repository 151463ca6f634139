#include "documentpluginmanager.h"

#include "documentplugininterfaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
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

// The canonical name, so that a claim made by an alias matches; a name this
// machine's database does not know is kept as written, in lower case.
QString normalizeMimeType(const QString& name)
{
    const QString trimmed = name.trimmed().toLower();
    if (trimmed.isEmpty())
        return trimmed;
    const QMimeType type = QMimeDatabase().mimeTypeForName(trimmed);
    return type.isValid() ? type.name() : trimmed;
}

template <typename Plugin>
void registerExtensions(QHash<QString, Plugin*>& map, Plugin* plugin)
{
    const QStringList extensions = plugin->supportedExtensions();
    for (const QString& extension : extensions)
        map.insert(normalizeExtension(extension), plugin); // a later library wins
}

template <typename Plugin>
void registerMimeTypes(QHash<QString, Plugin*>& map, Plugin* plugin, const QStringList& names)
{
    for (const QString& name : names) {
        const QString type = normalizeMimeType(name);
        if (!type.isEmpty())
            map.insert(type, plugin); // a later library wins
    }
}

// Every key of both tables, once, sorted.
template <typename A, typename B>
QStringList sortedKeys(const QHash<QString, A*>& first, const QHash<QString, B*>& second)
{
    QSet<QString> all;
    for (auto it = first.cbegin(); it != first.cend(); ++it)
        all.insert(it.key());
    for (auto it = second.cbegin(); it != second.cend(); ++it)
        all.insert(it.key());
    QStringList sorted(all.cbegin(), all.cend());
    sorted.sort(Qt::CaseSensitive);
    return sorted;
}

// A content match that says nothing about the file: these leave the decision
// to its name.
bool isInconclusive(const QMimeType& type)
{
    return !type.isValid() || type.isDefault() || type.name() == QLatin1String("application/x-zerosize");
}

} // namespace

QString DocumentRoute::lookedUpBy() const
{
    QString type = detectedMimeType;
    if (!claimedMimeType.isEmpty() && claimedMimeType != detectedMimeType)
        type += QStringLiteral(" (a kind of %1)").arg(claimedMimeType);
    QStringList parts;
    if (!suffix.isEmpty() && !byContent())
        parts << QStringLiteral("the suffix ") + suffix;
    if (!type.isEmpty())
        parts << QStringLiteral("the type ") + type;
    return parts.join(QLatin1String(" or "));
}

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

QStringList DocumentPluginManager::pluginDirectoriesFor(const QString& applicationDir)
{
    // Only folders that belong to the program: a folder found through the
    // working directory would run whatever libraries happen to lie where the
    // program was started.
    const QDir dir(applicationDir);
    QStringList directories;
    for (const char* relative : {"PlugIns/document", "../PlugIns/document", "plugins", "document_plugins",
                                 QUORVIA_INSTALLED_PLUGIN_DIR})
        directories << QDir::cleanPath(dir.absoluteFilePath(QString::fromUtf8(relative)));
    directories.removeDuplicates();
    return directories;
}

QStringList DocumentPluginManager::pluginDirectories()
{
    return pluginDirectoriesFor(QCoreApplication::applicationDirPath());
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

    const auto* mimeTypes = qobject_cast<IDocumentMimeTypes*>(root);
    const QStringList claimedTypes = mimeTypes ? mimeTypes->supportedMimeTypes() : QStringList();
    const QString libraryName = QFileInfo(loader->fileName()).fileName();
    if (documentPlugin) {
        registerExtensions(loaderPlugins, documentPlugin);
        registerMimeTypes(loaderMimeTypes, documentPlugin, claimedTypes);
        pluginFiles.insert(documentPlugin, libraryName);
    }
    if (widgetPlugin) {
        if (auto* actions = qobject_cast<IDocumentWidgetActions*>(root))
            widgetActions.insert(widgetPlugin, actions);
        if (auto* data = qobject_cast<IDocumentDataWidgets*>(root)) {
            dataWidgets.insert(root, data);
            if (dataHost)
                data->setDocumentDataHost(dataHost);
        }
        registerExtensions(widgetPlugins, widgetPlugin);
        registerMimeTypes(widgetMimeTypes, widgetPlugin, claimedTypes);
        pluginFiles.insert(widgetPlugin, libraryName);
    }
    pluginLoaders.append(loader);
}

QString DocumentPluginManager::normalizedSuffix(const QString& filePath)
{
    const QString suffix = QFileInfo(filePath).suffix().toLower();
    if (suffix.isEmpty())
        return QString();
    return QLatin1Char('.') + suffix;
}

QMimeType DocumentPluginManager::detectMimeType(const QString& filePath)
{
    const QMimeDatabase database;
    const QFileInfo info(filePath);
    // Reading a pipe or a device could block for ever; a folder has no content.
    if (info.isFile()) {
        const QMimeType byContent = database.mimeTypeForFile(info, QMimeDatabase::MatchContent);
        if (!isInconclusive(byContent))
            return byContent;
    } else if (info.exists()) {
        return database.mimeTypeForFile(info);
    }
    return database.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

DocumentRoute DocumentPluginManager::route(const QString& filePath) const
{
    DocumentRoute route;
    route.suffix = normalizedSuffix(filePath);
    if (!route.suffix.isEmpty()) {
        route.widgetPlugin = widgetPlugins.value(route.suffix, nullptr);
        route.loaderPlugin = loaderPlugins.value(route.suffix, nullptr);
    }
    if (!route.isClaimed() && (!widgetMimeTypes.isEmpty() || !loaderMimeTypes.isEmpty())) {
        const QMimeType type = detectMimeType(filePath);
        route.detectedMimeType = type.name();
        // The type itself, then its parents, nearest first: a plug-in that
        // claims a general type also takes its special kinds.
        const QStringList candidates = QStringList{type.name()} + type.allAncestors();
        for (const QString& candidate : candidates) {
            route.widgetPlugin = widgetMimeTypes.value(candidate, nullptr);
            route.loaderPlugin = loaderMimeTypes.value(candidate, nullptr);
            if (route.isClaimed()) {
                route.claimedMimeType = candidate;
                break;
            }
        }
    }
    if (route.widgetPlugin) {
        route.pluginFile = pluginFiles.value(route.widgetPlugin);
        route.widgetActions = widgetActions.value(route.widgetPlugin, nullptr);
    }
    else if (route.loaderPlugin)
        route.pluginFile = pluginFiles.value(route.loaderPlugin);
    return route;
}

bool DocumentPluginManager::canOpen(const QString& filePath) const
{
    return route(filePath).isClaimed();
}

bool DocumentPluginManager::hasWidgetPlugin(const QString& filePath) const
{
    return route(filePath).widgetPlugin != nullptr;
}

void DocumentPluginManager::offerDocumentDataHost(IDocumentDataHost* host)
{
    dataHost = host;
    for (IDocumentDataWidgets* data : dataWidgets)
        data->setDocumentDataHost(host);
}

QWidget* DocumentPluginManager::createDataWidget(QObject* plugin, const QString& key, const QByteArray& data,
                                                 QWidget* parent, IDocumentWidgetHost* host, QString* errorMessage,
                                                 DocumentRoute* route) const
{
    IDocumentDataWidgets* widgets = dataWidgets.value(plugin, nullptr);
    if (!widgets)
        return nullptr;
    auto* widgetPlugin = qobject_cast<IDocumentWidgetPlugin*>(plugin);
    route->widgetPlugin = widgetPlugin;
    route->widgetActions = widgetActions.value(widgetPlugin, nullptr);
    route->pluginFile = pluginFiles.value(widgetPlugin);
    return widgets->createDataWidget(key, data, parent, host, errorMessage);
}

QWidget* DocumentPluginManager::createWidget(const QString& filePath, QWidget* parent,
                                             IDocumentWidgetHost* host, QString* errorMessage) const
{
    return createWidget(route(filePath), filePath, parent, host, errorMessage);
}

QWidget* DocumentPluginManager::createWidget(const DocumentRoute& route, const QString& filePath, QWidget* parent,
                                             IDocumentWidgetHost* host, QString* errorMessage) const
{
    if (!route.widgetPlugin)
        return nullptr;
    return route.widgetPlugin->createWidget(filePath, parent, host, errorMessage);
}

bool DocumentPluginManager::supportsBookmarks(const QString& filePath) const
{
    IDocumentWidgetPlugin* plugin = route(filePath).widgetPlugin;
    return plugin && plugin->supportsBookmarks(filePath);
}

QStringList DocumentPluginManager::supportedExtensions() const
{
    return sortedKeys(loaderPlugins, widgetPlugins);
}

QStringList DocumentPluginManager::supportedMimeTypes() const
{
    return sortedKeys(loaderMimeTypes, widgetMimeTypes);
}

QString DocumentPluginManager::fileDialogFilter() const
{
    QSet<QString> patterns;
    const QStringList extensions = supportedExtensions();
    for (const QString& extension : extensions)
        patterns.insert(QLatin1Char('*') + extension);
    const QMimeDatabase database;
    const QStringList types = supportedMimeTypes();
    for (const QString& type : types) {
        const QStringList globs = database.mimeTypeForName(type).globPatterns();
        for (const QString& glob : globs) {
            // A blank would split the pattern in the filter's syntax.
            if (!glob.contains(QLatin1Char(' ')))
                patterns.insert(glob);
        }
    }
    QStringList sorted(patterns.cbegin(), patterns.cend());
    sorted.sort(Qt::CaseSensitive);
    return tr("Supported Documents (%1)").arg(sorted.join(QLatin1Char(' ')))
        + QLatin1String(";;") + tr("All Files (*)");
}

QStringList DocumentPluginManager::loadedPluginFiles() const
{
    QStringList files;
    for (const QPluginLoader* loader : pluginLoaders)
        files.append(loader->fileName());
    return files;
}
