#include "tessilplugin.h"

#include "tessilviewwidget.h"

#include "message/tessil_parser.h"
#include "tnef/tnef.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstdio>
#include <exception>

#if defined(__GLIBC__)
#  include <sys/types.h>
#endif

namespace {

// Off unless the host turns debug lines of "quorvia.*" on.
Q_LOGGING_CATEGORY(decoderTrace, "quorvia.tessil.decoder", QtInfoMsg)

#if defined(__GLIBC__)
// The part of a line written so far. Plain static storage: the stream may
// still be flushed while the process exits, after every destructor has run.
struct PendingLine
{
    char text[2048];
    size_t length;
};

void emitLine(PendingLine& line)
{
    qCDebug(decoderTrace).noquote() << QString::fromUtf8(line.text, qsizetype(line.length));
    line.length = 0;
}

// A stream whose complete lines become log lines (an over-long one in
// pieces). The stream's own lock serialises the writers.
ssize_t writeLogLines(void* cookie, const char* data, size_t size)
{
    auto* line = static_cast<PendingLine*>(cookie);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            emitLine(*line);
            continue;
        }
        if (line->length == sizeof line->text)
            emitLine(*line);
        line->text[line->length++] = data[i];
    }
    return ssize_t(size);
}

FILE* openLogStream()
{
    // Lives as long as the process: the decoder may write at any time.
    static PendingLine pending = {};
    static FILE* const stream = [] {
        cookie_io_functions_t functions = {};
        functions.write = &writeLogLines;
        FILE* made = fopencookie(&pending, "w", functions);
        if (made)
            setvbuf(made, nullptr, _IOLBF, 0);
        return made;
    }();
    return stream;
}
#else
FILE* openLogStream()
{
    return nullptr;
}
#endif

void reportFailure(QString* errorMessage, OpenFailure failure = OpenFailure::None)
{
    if (errorMessage)
        *errorMessage = TessilPlugin::userReason(failure);
}

} // namespace

QString TessilPlugin::userReason(OpenFailure failure)
{
    switch (failure) {
    case OpenFailure::NotFound:
        return tr("The file does not exist.");
    case OpenFailure::IsDirectory:
        return tr("This is a folder, not a file.");
    case OpenFailure::PermissionDenied:
        return tr("You do not have permission to read this file.");
    case OpenFailure::Unreadable:
        return tr("The file could not be read.");
    case OpenFailure::Empty:
        return tr("The file is empty.");
    case OpenFailure::NotRecognised:
        return tr("This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).");
    case OpenFailure::Damaged:
        return tr("The file is too damaged to be shown.");
    case OpenFailure::None:
        break;
    }
    return QObject::tr("File error. Unable to open the document.");
}

TessilPlugin::TessilPlugin(QObject* parent)
    : QObject(parent)
{
    // The decoder writes to standard error unless told otherwise, and a
    // viewer's terminal is no place for its trace lines.
    tnef_set_diagnostics(decoderTrace().isDebugEnabled() ? openLogStream() : nullptr);
}

QStringList TessilPlugin::supportedExtensions() const
{
    return {QStringLiteral(".dat"), QStringLiteral(".tnef"), QStringLiteral(".msg")};
}

QStringList TessilPlugin::supportedMimeTypes() const
{
    // The first is defined by shared-mime-info (magic 78 9F 3E 22,
    // winmail.dat, *.tnef, *.tnf); the second by the package's own
    // definition (*.msg, a kind of application/x-ole-storage). Either way the
    // content, not the name, picks the reader.
    return {QStringLiteral("application/vnd.ms-tnef"), QStringLiteral("application/vnd.ms-outlook")};
}

QWidget* TessilPlugin::createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                                    QString* errorMessage)
{
    // Nothing may escape into the host, which knows nothing of our exceptions.
    try {
        QElapsedTimer openStarted;
        openStarted.start();
        TessilParser parser;
        const QSharedPointer<TessilMessage> message = parser.parseFile(filePath);
        if (parser.hasError || !message) {
            qWarning().noquote() << "[Tessil] TessilPlugin parse failed:" << parser.errorString;
            reportFailure(errorMessage, parser.failure);
            return nullptr;
        }
        if (!message->warnings.isEmpty()) {
            QStringList ids;
            for (const MessageWarning warning : std::as_const(message->warnings))
                ids << messageWarningId(warning);
            qWarning().noquote() << QStringLiteral("[Tessil] \"%1\" is damaged, shown as far as it could be read: %2")
                                        .arg(filePath, ids.join(QLatin1String(", ")));
        }

        return viewOf(message, openStarted, QFileInfo(filePath).fileName(), parent, host, errorMessage);
    } catch (const std::exception& error) {
        qWarning().noquote() << "[Tessil] TessilPlugin parse failed:" << error.what();
    } catch (...) {
        qWarning("[Tessil] TessilPlugin parse failed: unexpected exception");
    }
    reportFailure(errorMessage);
    return nullptr;
}

QWidget* TessilPlugin::viewOf(const QSharedPointer<TessilMessage>& message, const QElapsedTimer& openStarted,
                              const QString& path, QWidget* parent, IDocumentWidgetHost* host, QString* errorMessage)
{
    auto* widget = new TessilViewWidget(host, parent);
    widget->setDocumentPath(path);
    if (dataHost) {
        widget->setMessageOpener([this](const QSharedPointer<TessilMessage>& attached, const QByteArray& data,
                                        const QString& title, const QString& attachedPath) {
        for (auto it = pending.begin(); it != pending.end();)
            it = it->message.isNull() ? pending.erase(it) : std::next(it);
        // While a tab shows the message it keeps it, so its address names
        // no other message meanwhile.
        const QString key = QString::number(quintptr(attached.data()), 16);
        pending.insert(key, PendingMessage{attached.toWeakRef(), attachedPath});
        return dataHost->openDocumentData(this, key, data, title, attachedPath);
        });
    }
    try {
        widget->setMessage(message, openStarted);
    } catch (...) {
        qWarning("[Tessil] TessilPlugin setMessage threw an exception");
        delete widget;
        reportFailure(errorMessage);
        return nullptr;
    }
    return widget;
}

void TessilPlugin::setDocumentDataHost(IDocumentDataHost* host)
{
    dataHost = host;
}

QWidget* TessilPlugin::createDataWidget(const QString& key, const QByteArray& data, QWidget* parent,
                                        IDocumentWidgetHost* host, QString* errorMessage)
{
    try {
        QElapsedTimer openStarted;
        openStarted.start();
        const PendingMessage found = pending.value(key);
        QSharedPointer<TessilMessage> message = found.message.toStrongRef();
        if (!message) {
            TessilParser parser;
            message = parser.parseData(data);
            if (parser.hasError || !message) {
                qWarning().noquote() << "[Tessil] TessilPlugin parse of an attached message failed:" << parser.errorString;
                reportFailure(errorMessage, parser.failure);
                return nullptr;
            }
        }
        return viewOf(message, openStarted, found.path, parent, host, errorMessage);
    } catch (const std::exception& error) {
        qWarning().noquote() << "[Tessil] TessilPlugin open of an attached message failed:" << error.what();
    } catch (...) {
        qWarning("[Tessil] TessilPlugin open of an attached message failed: unexpected exception");
    }
    reportFailure(errorMessage);
    return nullptr;
}

bool TessilPlugin::supportsBookmarks(const QString&) const
{
    return false;
}

QList<QAction*> TessilPlugin::documentActions(QWidget* documentWidget) const
{
    if (const auto* view = qobject_cast<TessilViewWidget*>(documentWidget))
        return view->documentActions();
    return {};
}
