#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/json_writer.h"
#include "cli/message_report.h"
#include "cli/props_json.h"
#include "cli/props_text.h"

int runProps(const CommandLine& commandLine)
{
    bool allDecoded = true;
    bool written = true;
    JsonWriter json;
    if (commandLine.json)
        json.beginArray();

    bool first = true;
    for (const QString& file : commandLine.files) {
        // The last --attachment names the attachment whose own properties
        // are printed; any before it lead into attached messages, as for
        // the other commands.
        QList<int> path = commandLine.attachmentPath;
        const int attachment = path.isEmpty() ? -1 : path.takeLast() - 1;
        MessageReport report = loadMessageReport(file, false, false, path);
        if (report.ok && attachment >= report.attachments.size()) {
            report.ok = false;
            path.append(attachment + 1);
            report.error = noSuchAttachmentError(path, int(report.attachments.size()));
        }
        reportProblems(report);
        allDecoded = report.ok && allDecoded;
        if (commandLine.json) {
            writePropsJson(json, report, report.ok ? attachment : -1,
                           [&] { written = writeOut(json.takeBytes()) && written; });
            written = writeOut(json.takeBytes()) && written;
        } else if (report.ok) {
            written = writeOut((first ? QByteArray() : QByteArray("\n")) + propsText(report, attachment)) && written;
            first = false;
        }
    }
    if (commandLine.json) {
        json.endArray();
        written = writeOut(json.takeBytes()) && written;
    }
    if (!written) {
        reportError(QStringLiteral("cannot write to standard output"));
        return 1;
    }
    return allDecoded ? 0 : 1;
}
