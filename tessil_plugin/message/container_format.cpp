#include "message/container_format.h"

ContainerFormat detectContainerFormat(const QByteArray& bytes)
{
    if (bytes.startsWith(QByteArrayView("\x78\x9F\x3E\x22", 4)))
        return ContainerFormat::Tnef;
    if (bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        return ContainerFormat::Msg;
    return ContainerFormat::None;
}

QString containerFormatName(ContainerFormat format)
{
    switch (format) {
    case ContainerFormat::Tnef:
        return QStringLiteral("tnef");
    case ContainerFormat::Msg:
        return QStringLiteral("msg");
    case ContainerFormat::None:
        break;
    }
    return QString();
}
