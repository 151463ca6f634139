#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/message_report.h"
#include "message/attachment_file_names.h"
#include "message/file_extension.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class Extractor
{
public:
    explicit Extractor(const CommandLine& commandLine)
        : directory_(commandLine.outputDir.isEmpty() ? QStringLiteral(".") : commandLine.outputDir)
        , bareNames_(commandLine.outputDir.isEmpty())
    {
    }

    const QString& directory() const { return directory_; }

    // Writes `bytes` under a new unique name for `fileName`, never replacing
    // a file, and prints the path. False (with a message) when it failed.
    bool write(const QString& source, const QString& fileName, const QByteArray& bytes)
    {
        QFile file;
        if (!openUniqueFile(directory_, fileName, &file)) {
            reportFileError(source, QStringLiteral("cannot create %1 in %2: %3")
                                        .arg(safeAttachmentFileName(fileName), directory_, file.errorString()));
            return false;
        }
        const bool complete = file.write(bytes) == bytes.size() && file.flush();
        if (!complete) {
            const QString reason = file.errorString();
            file.close();
            file.remove(); // our own half-written file, not anybody's data
            reportFileError(source, QStringLiteral("cannot write %1: %2").arg(file.fileName(), reason));
            return false;
        }
        file.close();
        const QString shown = bareNames_ ? QFileInfo(file.fileName()).fileName() : file.fileName();
        if (!writeOut(shown.toUtf8() + '\n')) {
            reportError(QStringLiteral("cannot write to standard output"));
            return false;
        }
        return true;
    }

private:
    QString directory_;
    bool bareNames_;
};

// The prepared body as a file that browsers read as UTF-8 whatever it
// declares: the converted RTF and the plain-text page declare nothing.
QByteArray bodyFileBytes(const QString& html)
{
    return QByteArray("\xEF\xBB\xBF") + html.toUtf8();
}

} // namespace

int runExtract(const CommandLine& commandLine)
{
    Extractor extractor(commandLine);
    if (!QDir().mkpath(extractor.directory())) {
        reportError(QStringLiteral("cannot create the directory %1").arg(extractor.directory()));
        return 1;
    }

    bool allDone = true;
    for (const QString& file : commandLine.files) {
        const MessageReport report = loadMessageReport(file, commandLine.body, false, commandLine.attachmentPath);
        reportProblems(report);
        if (!report.ok) {
            allDone = false;
            continue;
        }
        // As the viewer's "Save All Attachments...": the attachments of the
        // grid, inline images left out.
        for (const ReportedAttachment& entry : report.attachments) {
            if (!entry.listed)
                continue;
            const QString name = ensureFileExtension(entry.attachment->fileName, entry.attachment->content());
            allDone = extractor.write(file, name, entry.attachment->content()) && allDone;
        }
        if (commandLine.body) {
            if (report.prepared.body.html.isEmpty()) {
                reportFileError(file, QStringLiteral("no body to write"));
                continue;
            }
            const QString subject = report.message->subject;
            const QString name = subject.isEmpty() ? QStringLiteral("message.html") : subject + QStringLiteral(".html");
            allDone = extractor.write(file, name, bodyFileBytes(report.prepared.body.html)) && allDone;
        }
    }
    return allDone ? 0 : 1;
}
