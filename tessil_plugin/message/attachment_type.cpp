#include "message/attachment_type.h"

#include <QMimeDatabase>
#include <QMimeType>

namespace {

const QLatin1String kOctetStream("application/octet-stream");

} // namespace

QString mimeTypeName(const QString& type)
{
    return type.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
}

bool isSpecificMimeType(const QString& stored)
{
    const QString type = mimeTypeName(stored);
    return !type.isEmpty() && type != kOctetStream;
}

QString detectMimeType(const QString& fileName, const QByteArray& content)
{
    return QMimeDatabase().mimeTypeForFileNameAndData(fileName, content).name();
}

QString effectiveMimeType(const QString& stored, const QString& detected)
{
    return isSpecificMimeType(stored) ? stored : detected;
}

QString fileNameForType(const QString& name, const QString& mimeType)
{
    if (!isSpecificMimeType(mimeType))
        return name;
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForName(mimeTypeName(mimeType));
    if (!type.isValid() || type.preferredSuffix().isEmpty())
        return name;
    const QList<QMimeType> byName = database.mimeTypesForFileName(name);
    for (const QMimeType& candidate : byName) {
        if (candidate.inherits(type.name()))
            return name;
    }
    return name + QLatin1Char('.') + type.preferredSuffix();
}
