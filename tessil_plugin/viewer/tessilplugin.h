#pragma once

// The root object of the message-viewer plug-in: claims the TNEF and Outlook
// .msg file extensions and MIME types and makes, for each file the host
// opens, a view of its message.

#include "documentplugininterfaces.h"
#include "message/open_failure.h"

#include <QObject>

class TessilPlugin : public QObject, public IDocumentWidgetPlugin, public IDocumentMimeTypes
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin IDocumentMimeTypes)
public:
    // Sends the decoder's warnings and trace lines to the host's log as debug
    // lines of "quorvia.tessil.decoder" when the host has that category on
    // (a verbose log), and nowhere otherwise.
    explicit TessilPlugin(QObject* parent = nullptr);

    QStringList supportedExtensions() const override;
    QStringList supportedMimeTypes() const override;
    // A TessilViewWidget showing the file's message, or null after a warning
    // in the log and, when errorMessage is given, a message for the user.
    QWidget* createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                          QString* errorMessage) override;
    bool supportsBookmarks(const QString& filePath) const override;

    // What createWidget tells the user for a file that failed this way, in
    // the interface language.
    static QString userReason(OpenFailure failure);
};
