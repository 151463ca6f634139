#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/info_json.h"
#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "cli/message_report.h"

int runInfo(const CommandLine& commandLine)
{
    bool allDecoded = true;
    bool written = true;
    JsonWriter json;
    if (commandLine.json)
        json.beginArray();

    bool first = true;
    for (const QString& file : commandLine.files) {
        // One report at a time: a message and its attachment contents are
        // let go before the next file is read.
        const MessageReport report = loadMessageReport(file, true, true, commandLine.attachmentPath);
        reportProblems(report);
        allDecoded = report.ok && allDecoded;
        if (commandLine.json) {
            writeInfoJson(json, report);
            written = writeOut(json.takeBytes()) && written;
        } else if (report.ok) {
            written = writeOut((first ? QByteArray() : QByteArray("\n")) + infoText(report)) && written;
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
