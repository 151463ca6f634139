#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class IDocumentDataHost;
class IDocumentDataWidgets;
class IDocumentPlugin;
class IDocumentWidgetActions;
class IDocumentWidgetHost;
class IDocumentWidgetPlugin;
class QMimeType;
class QPluginLoader;
class QWidget;

// Which plug-in takes a file, and why: worked out once per open, so that the
// file is read for its type at most once.
struct DocumentRoute
{
    IDocumentWidgetPlugin* widgetPlugin = nullptr;
    IDocumentPlugin* loaderPlugin = nullptr;
    // The widget plug-in's commands for its widgets, when it offers them.
    IDocumentWidgetActions* widgetActions = nullptr;
    // The library's file name (widget side first), for the log; empty when
    // nothing claims the file.
    QString pluginFile;
    // The file's normalised suffix (".dat"), empty when it has none.
    QString suffix;
    // The file's type when no plug-in claims its suffix (empty otherwise), and
    // the claimed type it was routed by: the same or one of its parents.
    QString detectedMimeType;
    QString claimedMimeType;

    bool isClaimed() const { return widgetPlugin || loaderPlugin; }
    bool byContent() const { return !claimedMimeType.isEmpty(); }
    // "the suffix .dat", "the type application/vnd.ms-tnef", "the suffix .bin
    // or the type image/png": what the route was looked up by, for the log.
    QString lookedUpBy() const;
};

// Finds the document plug-in libraries, learns which extensions and MIME types
// each claims and routes files to them. A claimed suffix decides; a file whose
// suffix nobody claims goes by its type. Extensions are kept normalised (a dot
// and the extension in lower case), MIME types by their canonical names.
class DocumentPluginManager : public QObject
{
    Q_OBJECT
public:
    explicit DocumentPluginManager(QObject* parent = nullptr);
    ~DocumentPluginManager() override;

    // Loads every shared library found in pluginDirectories().
    void scanPlugins();
    // Loads one library; a path loaded before (same spelling) is skipped. A
    // library that is no plug-in, or offers neither interface, is dropped
    // silently.
    void loadPlugin(const QString& filePath);

    // The folders scanned, in order, for a program in applicationDir: beside
    // it (the build tree) and the private library folder of an installed one.
    static QStringList pluginDirectoriesFor(const QString& applicationDir);
    static QStringList pluginDirectories();
    // "dll" on Windows, "dylib" on macOS, "so" elsewhere; matched in any case.
    static QString sharedLibrarySuffix();
    static QString normalizedSuffix(const QString& filePath);
    // The file's type by its content; by its name when the content tells
    // nothing (an empty or unrecognised file). Only regular files are read.
    static QMimeType detectMimeType(const QString& filePath);

    DocumentRoute route(const QString& filePath) const;
    bool canOpen(const QString& filePath) const;
    bool hasWidgetPlugin(const QString& filePath) const;
    QWidget* createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                          QString* errorMessage) const;
    QWidget* createWidget(const DocumentRoute& route, const QString& filePath, QWidget* parent,
                          IDocumentWidgetHost* host, QString* errorMessage) const;
    bool supportsBookmarks(const QString& filePath) const;
    QStringList supportedExtensions() const;
    // Canonical names, sorted.
    QStringList supportedMimeTypes() const;
    QString fileDialogFilter() const;

    // Hands `host` to every plug-in that opens documents held in memory
    // (IDocumentDataWidgets): those loaded so far and those loaded later.
    void offerDocumentDataHost(IDocumentDataHost* host);
    // The widget that `plugin` (a root object loaded here that implements
    // IDocumentDataWidgets) makes for an in-memory document; null, with
    // errorMessage filled when the plug-in gave one, otherwise. `route`
    // gets the plug-in's commands and library name.
    QWidget* createDataWidget(QObject* plugin, const QString& key, const QByteArray& data, QWidget* parent,
                              IDocumentWidgetHost* host, QString* errorMessage, DocumentRoute* route) const;

    // Files of the libraries kept, in load order.
    QStringList loadedPluginFiles() const;

private:
    QHash<QString, IDocumentPlugin*> loaderPlugins;
    QHash<QString, IDocumentWidgetPlugin*> widgetPlugins;
    QHash<QString, IDocumentPlugin*> loaderMimeTypes;
    QHash<QString, IDocumentWidgetPlugin*> widgetMimeTypes;
    QHash<const IDocumentWidgetPlugin*, IDocumentWidgetActions*> widgetActions;
    QHash<const QObject*, IDocumentDataWidgets*> dataWidgets; // root object -> its interface
    IDocumentDataHost* dataHost = nullptr;
    QHash<const void*, QString> pluginFiles; // interface -> library file name
    QList<QPluginLoader*> pluginLoaders;
};
