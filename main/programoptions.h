#pragma once

#include <QString>
#include <QStringList>

// The options quorvia answers itself. They are read before any application
// object exists, so --help and --version work without a display and never
// reach a running instance.
struct ProgramOptions
{
    bool help = false;
    bool version = false;
    // The decoder's trace lines go to the log (never to the terminal).
    bool verbose = false;
};

// Reads the arguments, the program first. Everything else (files, Qt's own
// options such as -platform) is left to the rest of the program; after "--"
// nothing counts as an option.
ProgramOptions parseProgramOptions(const QStringList& arguments);

QString programHelpText();
// "quorvia 2.0.0\n"
QString programVersionText();
