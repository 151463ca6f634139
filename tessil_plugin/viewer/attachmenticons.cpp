#include "attachmenticons.h"

#include "message/attachment_type.h"

#include <QApplication>
#include <QHash>
#include <QMimeDatabase>
#include <QMimeType>
#include <QStyle>

namespace {

QHash<QString, QIcon>& iconCache()
{
    // Never destroyed: icons must not outlive the application object, and
    // the library stays loaded until the process ends anyway.
    static auto* cache = new QHash<QString, QIcon>;
    return *cache;
}

} // namespace

QIcon iconForMimeType(const QString& mimeType)
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeTypeName(mimeType));
    const QString key = type.isValid() ? type.name() : QStringLiteral("<unknown>");
    QHash<QString, QIcon>& cache = iconCache();
    const auto found = cache.constFind(key);
    if (found != cache.cend())
        return found.value();

    QIcon icon;
    if (type.isValid()) {
        icon = QIcon::fromTheme(type.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(type.genericIconName());
    }
    // A tile without any icon looks broken.
    if (icon.isNull() || icon.pixmap(QSize(48, 48)).isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    cache.insert(key, icon);
    return icon;
}

int cachedIconCount()
{
    return static_cast<int>(iconCache().size());
}
