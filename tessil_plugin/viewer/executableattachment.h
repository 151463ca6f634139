#pragma once

// Which attachments the desktop would run rather than show. Opening one runs
// code from the message, so the view asks before handing it over.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Lower-case suffixes, without the dot, of programs, scripts, installers,
// launchers and shortcuts on Windows, Linux and macOS.
const QStringList& executableSuffixes();

// MIME types of such files; their subtypes count too.
const QStringList& executableMimeTypes();

// True when the name's suffix is in executableSuffixes() (trailing dots and
// blanks ignored, as Windows ignores them), when the name's MIME type is, or
// inherits, one of executableMimeTypes(), or when the content's is.
bool isExecutableAttachment(const QString& fileName, const QByteArray& content);
