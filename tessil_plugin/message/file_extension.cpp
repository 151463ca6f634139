#include "message/file_extension.h"

#include "message/attachment_type.h"

#include <QMimeDatabase>
#include <QMimeType>

QString ensureFileExtension(const QString& name, const QByteArray& content, const QString& mimeType)
{
    if (name.contains(QLatin1Char('.')))
        return name;

    const QMimeDatabase database;
    if (!mimeType.isEmpty()) {
        const QString named = database.mimeTypeForName(mimeTypeName(mimeType)).preferredSuffix();
        if (!named.isEmpty())
            return name + QLatin1Char('.') + named;
    }
    QString suffix = QStringLiteral("bin");
    const QMimeType type = database.mimeTypeForData(content);
    if (type.isValid()) {
        const QStringList suffixes = type.suffixes();
        if (!suffixes.isEmpty())
            suffix = suffixes.first();
    }
    return name + QLatin1Char('.') + suffix;
}
