#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Where the menu and the About dialog send the user: the product's web page and
// the user guide that ships with the program.
namespace productlinks {

// The product's web page: support, questions and "More Info" all lead here.
QUrl productWebPage();

// The folders searched for the user guide, in order, for a program that lives
// in applicationDir: beside the program (the build tree, a portable copy),
// then the shared data folder of an installed program.
QStringList userGuideCandidates(const QString& applicationDir);

// The first candidate that is a readable file, else an empty string.
QString findUserGuide(const QString& applicationDir);

// The user guide of the running program as a local-file URL; empty when the
// guide cannot be found.
QUrl userGuide();

} // namespace productlinks
