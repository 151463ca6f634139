#pragma once

// Which container a file's bytes are, told by their first bytes alone: the
// name a file arrives under says nothing reliable (winmail.dat, ATT00001,
// a saved "message.bin").

#include <QByteArray>
#include <QString>

enum class ContainerFormat {
    None, // neither signature
    Tnef, // 78 9F 3E 22
    Msg,  // a compound file: D0 CF 11 E0 A1 B1 1A E1
};

ContainerFormat detectContainerFormat(const QByteArray& bytes);

// "tnef" or "msg"; a null string for None.
QString containerFormatName(ContainerFormat format);
