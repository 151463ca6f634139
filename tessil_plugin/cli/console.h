#pragma once

// Standard output and standard error as tessil uses them: UTF-8 bytes, and
// one line "tessil: FILE: reason" per problem.

#include <QByteArray>
#include <QString>

// Writes the bytes to standard output; false when they could not all be written.
bool writeOut(const QByteArray& bytes);

// "tessil: FILE: reason" on standard error.
void reportFileError(const QString& file, const QString& reason);

// "tessil: text" on standard error.
void reportError(const QString& text);
