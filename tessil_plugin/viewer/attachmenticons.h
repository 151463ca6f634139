#pragma once

// File-type icons for attachment tiles, from the desktop's icon provider.
// Icons are cached by lower-case suffix for the life of the library and
// shared by every view: the first name seen with a suffix fixes its icon.

#include <QIcon>
#include <QString>

QIcon iconForFileName(const QString& fileName);

// Number of icons cached so far.
int cachedIconCount();
