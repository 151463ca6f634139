#include "programoptions.h"

ProgramOptions parseProgramOptions(const QStringList& arguments)
{
    ProgramOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            options.help = true;
        else if (argument == QLatin1String("-v") || argument == QLatin1String("--version"))
            options.version = true;
        else if (argument == QLatin1String("--verbose"))
            options.verbose = true;
    }
    return options;
}

QString programHelpText()
{
    return QStringLiteral(
        "Usage: quorvia [OPTIONS] [FILE...]\n"
        "\n"
        "Shows TNEF files (winmail.dat, .tnef) as their messages, with the attachments\n"
        "inside them. A file of another name opens when its content is TNEF. When\n"
        "Quorvia already runs, the files open in its window.\n"
        "\n"
        "Options:\n"
        "  --verbose          also write the decoder's trace lines to the log\n"
        "  -h, --help         show this help\n"
        "  -v, --version      show the version\n"
        "\n"
        "The log is in ~/.local/share/Veltrano/Quorvia/logs/. Qt's standard options\n"
        "(such as -platform) are accepted as well. See quorvia(1), and tessil(1) for\n"
        "the command-line companion.\n");
}

QString programVersionText()
{
    return QStringLiteral("quorvia " QUORVIA_VERSION "\n");
}
