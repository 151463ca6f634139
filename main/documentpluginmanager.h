#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class IDocumentPlugin;
class IDocumentWidgetHost;
class IDocumentWidgetPlugin;
class QPluginLoader;
class QWidget;

// Finds the document plug-in libraries, learns which extensions each claims and
// routes files to them. Extensions are kept normalised: a dot and the extension
// in lower case.
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

    static QStringList pluginDirectories();
    // "dll" on Windows, "dylib" on macOS, "so" elsewhere; matched in any case.
    static QString sharedLibrarySuffix();
    static QString normalizedSuffix(const QString& filePath);

    bool canOpen(const QString& filePath) const;
    bool hasWidgetPlugin(const QString& filePath) const;
    QWidget* createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                          QString* errorMessage) const;
    bool supportsBookmarks(const QString& filePath) const;
    QStringList supportedExtensions() const;
    QString fileDialogFilter() const;

    // Files of the libraries kept, in load order.
    QStringList loadedPluginFiles() const;

private:
    QHash<QString, IDocumentPlugin*> loaderPlugins;
    QHash<QString, IDocumentWidgetPlugin*> widgetPlugins;
    QList<QPluginLoader*> pluginLoaders;
};
