#pragma once

#include <QByteArray>
#include <QString>

// Gives a file name without a dot an extension: the preferred suffix of
// `mimeType` when it names a known type that has one, else the first suffix
// that the MIME database finds for the content, else "bin". A name that
// already holds a dot is returned unchanged; an empty name yields a bare
// extension (".bin").
QString ensureFileExtension(const QString& name, const QByteArray& content, const QString& mimeType = QString());
