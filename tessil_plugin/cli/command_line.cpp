#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

struct CommandName
{
    const char* name;
    TessilCommand command;
};

const CommandName kCommands[] = {
    {"info", TessilCommand::Info},
    {"extract", TessilCommand::Extract},
    {"html", TessilCommand::Html},
    {"props", TessilCommand::Props},
};

} // namespace

QString helpText()
{
    return QStringLiteral(
        "Usage: tessil COMMAND [OPTIONS] FILE...\n"
        "\n"
        "Reads TNEF files (winmail.dat, .tnef) and Outlook messages (.msg) as the\n"
        "Quorvia viewer shows them.\n"
        "A FILE of - is standard input.\n"
        "\n"
        "Commands:\n"
        "  info [--json] FILE...          sender, subject, information line, body and\n"
        "                                 attachments of each file; --json prints one\n"
        "                                 JSON array with an object per file\n"
        "  extract [-o DIR] [--body] FILE...\n"
        "                                 write the attachments listed in the viewer into\n"
        "                                 DIR (default: the current directory), never\n"
        "                                 replacing a file: \"report (2).pdf\"; --body also\n"
        "                                 writes the message body as an .html file\n"
        "  html FILE                      print the body as the viewer shows it (HTML)\n"
        "  props [--json] [--attachment N] FILE...\n"
        "                                 every MAPI property of the message and of each\n"
        "                                 attachment: tag, type, name and values; --json\n"
        "                                 prints one JSON array with an object per file\n"
        "\n"
        "Options:\n"
        "  --attachment N                 report on the message attached to FILE as\n"
        "                                 attachment N (counted from 1 in the order info\n"
        "                                 lists them) as if it were the file; repeat it to\n"
        "                                 go deeper: --attachment 1 --attachment 2; for\n"
        "                                 props, the last one names the attachment whose\n"
        "                                 own properties are printed\n"
        "  --json                         info, props: machine-readable output\n"
        "  -o, --output DIR               extract: the directory to write into\n"
        "  --body                         extract: also write the body\n"
        "  --verbose                      show the decoder's trace lines on standard error\n"
        "  -h, --help                     show this help\n"
        "  -v, --version                  show the version\n"
        "\n"
        "A damaged file is still shown as far as it can be read, with a line\n"
        "\"tessil: FILE: warning: ...\" per kind of damage on standard error.\n"
        "\n"
        "Exit status: 0 when every file was decoded (and written), 1 when any was not\n"
        "(the others are still processed), 2 for a usage error.\n");
}

ParseOutcome parseCommandLine(const QStringList& arguments, CommandLine* commandLine, QString* error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                          QString(), QStringLiteral("DIR"));
    const QCommandLineOption bodyOption(QStringLiteral("body"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"));
    const QCommandLineOption attachmentOption(QStringLiteral("attachment"), QString(), QStringLiteral("N"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({jsonOption, outputOption, bodyOption, verboseOption, attachmentOption, helpOption, versionOption});

    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(helpOption))
        return ParseOutcome::ShowHelp;
    if (parser.isSet(versionOption))
        return ParseOutcome::ShowVersion;

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        *error = QStringLiteral("no command given");
        return ParseOutcome::UsageError;
    }
    const QString name = positional.takeFirst();
    bool known = false;
    for (const CommandName& candidate : kCommands) {
        if (name == QLatin1String(candidate.name)) {
            commandLine->command = candidate.command;
            known = true;
        }
    }
    if (!known) {
        *error = QStringLiteral("unknown command '%1'").arg(name);
        return ParseOutcome::UsageError;
    }

    // An option meant for another command is a mistake worth stopping for:
    // "extract --json" would otherwise quietly do something else.
    const struct
    {
        const QCommandLineOption& option;
        const char* text;
        TessilCommand command;
    } specific[] = {
        {outputOption, "--output", TessilCommand::Extract},
        {bodyOption, "--body", TessilCommand::Extract},
    };
    if (parser.isSet(jsonOption) && commandLine->command != TessilCommand::Info
        && commandLine->command != TessilCommand::Props) {
        *error = QStringLiteral("--json does not apply to '%1'").arg(name);
        return ParseOutcome::UsageError;
    }
    for (const auto& entry : specific) {
        if (parser.isSet(entry.option) && commandLine->command != entry.command) {
            *error = QStringLiteral("%1 does not apply to '%2'").arg(QLatin1String(entry.text), name);
            return ParseOutcome::UsageError;
        }
    }

    if (positional.isEmpty()) {
        *error = QStringLiteral("'%1' needs at least one FILE").arg(name);
        return ParseOutcome::UsageError;
    }
    if (commandLine->command == TessilCommand::Html && positional.size() != 1) {
        *error = QStringLiteral("'html' takes exactly one FILE");
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty()) {
        *error = QStringLiteral("--output needs a directory");
        return ParseOutcome::UsageError;
    }

    QList<int> attachmentPath;
    for (const QString& value : parser.values(attachmentOption)) {
        bool number = false;
        const int index = value.toInt(&number);
        if (!number || index < 1) {
            *error = QStringLiteral("--attachment needs a number from 1, not '%1'").arg(value);
            return ParseOutcome::UsageError;
        }
        attachmentPath.append(index);
    }

    commandLine->files = positional;
    commandLine->attachmentPath = attachmentPath;
    commandLine->json = parser.isSet(jsonOption);
    commandLine->body = parser.isSet(bodyOption);
    commandLine->outputDir = parser.value(outputOption);
    commandLine->verbose = parser.isSet(verboseOption);
    return ParseOutcome::Run;
}
