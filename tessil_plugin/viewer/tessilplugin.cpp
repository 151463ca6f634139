#include "tessilplugin.h"

#include "tessilviewwidget.h"

#include "message/tessil_parser.h"

#include <QDebug>

#include <exception>

namespace {

void reportFailure(QString* errorMessage)
{
    if (errorMessage)
        *errorMessage = QObject::tr("File error. Unable to open the document.");
}

} // namespace

TessilPlugin::TessilPlugin(QObject* parent)
    : QObject(parent)
{
}

QStringList TessilPlugin::supportedExtensions() const
{
    return {QStringLiteral(".dat"), QStringLiteral(".tnef")};
}

QWidget* TessilPlugin::createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                                    QString* errorMessage)
{
    // Nothing may escape into the host, which knows nothing of our exceptions.
    try {
        TessilParser parser;
        const QSharedPointer<TessilMessage> message = parser.parseFile(filePath);
        if (parser.hasError || !message) {
            qWarning().noquote() << "[Tessil] TessilPlugin parse failed:" << parser.errorString;
            reportFailure(errorMessage);
            return nullptr;
        }

        auto* widget = new TessilViewWidget(host, parent);
        try {
            widget->setMessage(message);
        } catch (...) {
            qWarning("[Tessil] TessilPlugin setMessage threw an exception");
            delete widget;
            reportFailure(errorMessage);
            return nullptr;
        }
        return widget;
    } catch (const std::exception& error) {
        qWarning().noquote() << "[Tessil] TessilPlugin parse failed:" << error.what();
    } catch (...) {
        qWarning("[Tessil] TessilPlugin parse failed: unexpected exception");
    }
    reportFailure(errorMessage);
    return nullptr;
}

bool TessilPlugin::supportsBookmarks(const QString&) const
{
    return false;
}
