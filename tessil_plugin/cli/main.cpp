// tessil: reads TNEF files as the Quorvia viewer shows them, for scripts and
// servers. See helpText() for the commands.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/quiet_diagnostics.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

int run(const CommandLine& commandLine)
{
    switch (commandLine.command) {
    case TessilCommand::Info:
        return runInfo(commandLine);
    case TessilCommand::Extract:
        return runExtract(commandLine);
    case TessilCommand::Html:
        return runHtml(commandLine);
    case TessilCommand::Props:
        return runProps(commandLine);
    }
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    CommandLine commandLine;
    QString error;
    switch (parseCommandLine(arguments, &commandLine, &error)) {
    case ParseOutcome::ShowHelp:
        return writeOut(helpText().toUtf8()) ? 0 : 1;
    case ParseOutcome::ShowVersion:
        return writeOut(QByteArrayLiteral("tessil " TESSIL_VERSION "\n")) ? 0 : 1;
    case ParseOutcome::UsageError:
        reportError(error);
        reportError(QStringLiteral("try 'tessil --help' for more information"));
        return 2;
    case ParseOutcome::Run:
        break;
    }

    setVerboseDiagnostics(commandLine.verbose);

    // The application object sees only the program name: a file called
    // "-platform" must stay a file.
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    QCoreApplication::setApplicationName(QStringLiteral("tessil"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSIL_VERSION));

    // A console program: nothing here draws or needs a platform plug-in.
    QCoreApplication app(appArgc, appArgv);
    return run(commandLine);
}
