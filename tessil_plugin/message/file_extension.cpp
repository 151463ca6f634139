#include "message/file_extension.h"

#include <QMimeDatabase>
#include <QMimeType>

QString ensureFileExtension(const QString& name, const QByteArray& content)
{
    if (name.contains(QLatin1Char('.')))
        return name;

    QString suffix = QStringLiteral("bin");
    const QMimeType type = QMimeDatabase().mimeTypeForData(content);
    if (type.isValid()) {
        const QStringList suffixes = type.suffixes();
        if (!suffixes.isEmpty())
            suffix = suffixes.first();
    }
    return name + QLatin1Char('.') + suffix;
}
