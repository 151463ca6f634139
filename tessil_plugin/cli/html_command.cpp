#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/message_report.h"

int runHtml(const CommandLine& commandLine)
{
    const QString& file = commandLine.files.constFirst();
    const MessageReport report = loadMessageReport(file, true, false, commandLine.attachmentPath);
    reportProblems(report);
    if (!report.ok)
        return 1;
    // Exactly the viewer's HTML; nothing at all when no body has visible text.
    if (!writeOut(report.prepared.body.html.toUtf8())) {
        reportError(QStringLiteral("cannot write to standard output"));
        return 1;
    }
    return 0;
}
