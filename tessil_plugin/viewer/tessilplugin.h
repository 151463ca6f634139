#pragma once

// The root object of the message-viewer plug-in: claims the TNEF file
// extensions and makes, for each file the host opens, a view of its message.

#include "documentplugininterfaces.h"

#include <QObject>

class TessilPlugin : public QObject, public IDocumentWidgetPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
public:
    explicit TessilPlugin(QObject* parent = nullptr);

    QStringList supportedExtensions() const override;
    // A TessilViewWidget showing the file's message, or null after a warning
    // in the log and, when errorMessage is given, a message for the user.
    QWidget* createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                          QString* errorMessage) override;
    bool supportsBookmarks(const QString& filePath) const override;
};
