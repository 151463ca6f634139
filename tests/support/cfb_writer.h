#pragma once

// The compound-file writer of the product (ole/compound_file_writer.h) under
// the names the fixtures use, and little-endian writes into a fixture, for
// damaging chosen fields.

#include "ole/compound_file_writer.h"

#include <QByteArray>
#include <QtEndian>
#include <QtGlobal>

namespace testsupport {

using CfbWriter = CompoundFileWriter;
using CfbLayout = CompoundFileLayout;

inline void putU16(QByteArray& bytes, qsizetype offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

inline void putU32(QByteArray& bytes, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace testsupport
