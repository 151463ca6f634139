#pragma once

// The root object of the message-viewer plug-in: claims the TNEF and Outlook
// .msg file extensions and MIME types and makes, for each file the host
// opens, a view of its message, whose commands it hands the host.

#include "documentplugininterfaces.h"
#include "message/open_failure.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSharedPointer>

class TessilViewWidget;
struct TessilMessage;

class TessilPlugin : public QObject,
                     public IDocumentWidgetPlugin,
                     public IDocumentMimeTypes,
                     public IDocumentDataWidgets,
                     public IDocumentWidgetActions
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin IDocumentMimeTypes IDocumentDataWidgets IDocumentWidgetActions)
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
    // The commands of a view this plug-in made; none for any other widget.
    QList<QAction*> documentActions(QWidget* documentWidget) const override;

    // Attached messages open in tabs of their own through the host's
    // IDocumentDataHost; without one they are offered for saving.
    void setDocumentDataHost(IDocumentDataHost* host) override;
    // The attached message that a view asked to open as `key`, as it was
    // read with its file (so that the nesting bounds of that file hold);
    // `data` read afresh when that is gone.
    QWidget* createDataWidget(const QString& key, const QByteArray& data, QWidget* parent, IDocumentWidgetHost* host,
                              QString* errorMessage) override;

    // What createWidget tells the user for a file that failed this way, in
    // the interface language.
    static QString userReason(OpenFailure failure);

private:
    // A view of `message`, named by `path`, that opens its attached messages here.
    QWidget* viewOf(const QSharedPointer<TessilMessage>& message, const QElapsedTimer& openStarted, const QString& path,
                    QWidget* parent, IDocumentWidgetHost* host, QString* errorMessage);

    struct PendingMessage
    {
        QWeakPointer<TessilMessage> message;
        QString path;
    };
    IDocumentDataHost* dataHost = nullptr;
    // By key: the attached messages that views asked the host to open.
    QHash<QString, PendingMessage> pending;
};
