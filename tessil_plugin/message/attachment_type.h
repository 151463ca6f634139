#pragma once

// What kind of file an attachment is. Many senders store no type, or only
// "application/octet-stream", which says nothing; then the type is found
// from the content and the name, so that the tile's icon and the program
// that opens the file fit what it really is. A type the sender did store is
// kept: it is what the sender's program knew.

#include <QByteArray>
#include <QString>

// The type's name alone, as the MIME database knows names: without
// parameters or blanks, in lower case ("Text/Plain; charset=x" is "text/plain").
QString mimeTypeName(const QString& type);

// True when `stored` names a type: neither empty nor
// "application/octet-stream" (in any case, parameters ignored).
bool isSpecificMimeType(const QString& stored);

// The type the MIME database finds for the content and the name: the
// content decides where it is clear, else the name's suffix; always a name,
// "application/octet-stream" when nothing is known.
QString detectMimeType(const QString& fileName, const QByteArray& content);

// `stored` when it names a type (isSpecificMimeType), else `detected`.
QString effectiveMimeType(const QString& stored, const QString& detected);

// `name`, or, when its suffix does not stand for `mimeType` (or a type that
// inherits from it), `name` with the type's preferred suffix appended:
// "ATT00001.dat" holding a PDF becomes "ATT00001.dat.pdf", so that the
// desktop, which goes by the name, opens it with a PDF reader. Unchanged for
// an unknown or generic type, or a type without suffixes.
QString fileNameForType(const QString& name, const QString& mimeType);
