#pragma once

// File-type icons for attachment tiles, from the desktop's icon theme by the
// file's MIME type (the stored one, or the one found from the content when
// the sender stored none; see TessilAttachment::effectiveMimeType). Icons
// are cached by type for the life of the library and shared by every view.

#include <QIcon>
#include <QString>

// The theme's icon for the type, else its generic icon, else the style's
// file icon (desktops without an icon theme have none for most types).
QIcon iconForMimeType(const QString& mimeType);

// Number of icons cached so far.
int cachedIconCount();
