#pragma once

#include <QByteArray>

struct TessilAttachment;

// The file held in an embedded OLE object: the first non-empty stream among
// "/CONTENTS", "/Package" and "/Ole10Native" of the compound file that
// follows the 16-byte interface identifier, returned exactly as stored.
// Anything else (short data, no compound file, no such stream) yields the
// attachment's stored data unchanged. Never fails and caches nothing.
QByteArray extractEmbeddedContent(const TessilAttachment& attachment);
