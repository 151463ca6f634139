#pragma once

#include <QByteArray>

// The file held in an embedded OLE object: the first non-empty stream among
// "/CONTENTS", "/Package" and "/Ole10Native" of the compound file that
// follows the 16-byte interface identifier, returned exactly as stored.
// Null when there is none (short data, no compound file, no such stream);
// a stream whose chain holds nothing gives an empty, not null, array.
// Never fails and caches nothing.
QByteArray embeddedFile(const QByteArray& objectData);
