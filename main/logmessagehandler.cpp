#include "logmessagehandler.h"

#include "cvfoundation/icvlogconfig.h"

#include <QByteArray>
#include <QFileInfo>

#include <atomic>
#include <cstdlib>

namespace logmessages {

namespace {
std::atomic<QtMessageHandler> previousHandler{nullptr};
std::atomic<bool> installed{false};
std::atomic<LineWriter> lineWriter{&writeToServiceLog};
thread_local bool insideHandler = false;
} // namespace

QString levelLabel(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug");
    case QtWarningMsg:
        return QStringLiteral("Warning");
    case QtCriticalMsg:
        return QStringLiteral("Critical");
    case QtFatalMsg:
        return QStringLiteral("Fatal");
    case QtInfoMsg:
        return QStringLiteral("Info");
    }
    return QString();
}

QString formatLine(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    QString location;
    if (context.file && *context.file) {
        const QString fileName = QFileInfo(QString::fromUtf8(context.file)).fileName();
        location = QStringLiteral(" (%1:%2)").arg(fileName).arg(context.line);
    }
    return QStringLiteral("[%1]%2 %3").arg(levelLabel(type), location, text);
}

void writeToServiceLog(QtMsgType type, const std::string& line)
{
    switch (type) {
    case QtWarningMsg:
        ICVLogConfig::Warning(line);
        ICVLogConfig::FlushBuffer();
        break;
    case QtCriticalMsg:
    case QtFatalMsg:
        ICVLogConfig::Fatal(line);
        ICVLogConfig::FlushBuffer();
        break;
    case QtDebugMsg:
    case QtInfoMsg:
        ICVLogConfig::Info(line);
        break;
    }
}

void setLineWriter(LineWriter writer)
{
    lineWriter.store(writer ? writer : &writeToServiceLog);
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (insideHandler) {
        // Something in the logging path logged in turn: let the handler from
        // before take it rather than loop.
        if (QtMessageHandler previous = previousHandler.load())
            previous(type, context, text);
        return;
    }
    insideHandler = true;
    const std::string line = formatLine(type, context, text).toStdString();
    lineWriter.load()(type, line);
    insideHandler = false;
    if (type == QtFatalMsg)
        std::abort();
}

void install()
{
    if (installed.exchange(true))
        return;
    previousHandler.store(qInstallMessageHandler(&handleMessage));
}

void uninstall()
{
    if (!installed.exchange(false))
        return;
    qInstallMessageHandler(previousHandler.exchange(nullptr));
}

} // namespace logmessages
