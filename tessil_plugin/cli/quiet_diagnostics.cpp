#include "cli/quiet_diagnostics.h"

#include "tnef/tnef.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

bool quiet = false;
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    if (previousHandler) {
        previousHandler(type, context, text);
    } else {
        const QByteArray line = text.toLocal8Bit() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    }
}

} // namespace

void setVerboseDiagnostics(bool verbose)
{
    tnef_set_diagnostics(verbose ? stderr : nullptr);
    if (verbose && quiet) {
        qInstallMessageHandler(previousHandler);
        quiet = false;
    } else if (!verbose && !quiet) {
        previousHandler = qInstallMessageHandler(quietHandler);
        quiet = true;
    }
}
