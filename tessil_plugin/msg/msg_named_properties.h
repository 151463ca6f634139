#pragma once

// The named-property map of a .msg file ("__nameid_version1.0" at the
// root), which every storage of the file shares: a property id of 0x8000 or
// above is an index into it, and the map gives the property's set (GUID)
// and its numeric or string name.
//
// Its streams: "__substg1.0_00020102", the GUIDs (16 bytes each);
// "__substg1.0_00030102", the entries (8 bytes each: the numeric name or an
// offset into the string stream, then the property index in the high word,
// the GUID index in bits 1 to 15 and the kind, 1 for a string name, in
// bit 0); "__substg1.0_00040102", the names (a 4-byte length, UTF-16LE,
// padded to 4 bytes). GUID index 1 is PS_MAPI, 2 PS_PUBLIC_STRINGS, 3 and
// up the GUID stream's entries from its start.

#include "message/tessil_message.h"

#include <QByteArray>
#include <QHash>
#include <QtGlobal>

#include <optional>

class MsgNamedProperties
{
public:
    MsgNamedProperties() = default;
    MsgNamedProperties(const QByteArray& guids, const QByteArray& entries, const QByteArray& strings);

    // The name of the named property with tag id `id` (0x8000 or above);
    // none for other ids and for ids the map does not list.
    std::optional<MessagePropertyName> nameOf(quint16 id) const;

    // Entries that pointed outside the GUID or string stream (they are left out).
    bool damaged() const { return damaged_; }

private:
    QHash<quint16, MessagePropertyName> names_;
    bool damaged_ = false;
};
