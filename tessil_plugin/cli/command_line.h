#pragma once

// What the user asked tessil to do, read from the command line.

#include <QList>
#include <QString>
#include <QStringList>

enum class TessilCommand { Info, Extract, Html, Props };

struct CommandLine
{
    TessilCommand command = TessilCommand::Info;
    QStringList files;
    bool json = false;      // info --json, props --json
    bool body = false;      // extract --body
    QString outputDir;      // extract -o; empty for the current directory
    bool verbose = false;   // the decoder's trace lines and Qt's messages on standard error
    // --attachment N, repeated: the attached message each command reports
    // on instead of the file's own, found by attachment numbers counted
    // from 1, one per level. Empty for the file's own message.
    QList<int> attachmentPath;
};

enum class ParseOutcome { Run, ShowHelp, ShowVersion, UsageError };

// Reads the arguments (the program name first). On UsageError `error` says
// what is wrong, in one line without the program name.
ParseOutcome parseCommandLine(const QStringList& arguments, CommandLine* commandLine, QString* error);

// The text of --help.
QString helpText();
