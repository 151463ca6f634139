#include "attachmenticons.h"

#include "message/attachment_file_names.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QStyle>
#include <QFileInfo>
#include <QHash>

namespace {

struct IconCache
{
    QFileIconProvider provider;
    QHash<QString, QIcon> icons;
};

IconCache& iconCache()
{
    // Never destroyed: icons must not outlive the application object, and
    // the library stays loaded until the process ends anyway.
    static IconCache* cache = new IconCache;
    return *cache;
}

} // namespace

QIcon iconForFileName(const QString& fileName)
{
    const QFileInfo info(fileName);
    QString key = info.suffix().toLower();
    if (key.isEmpty())
        key = QStringLiteral("<unknown>");

    IconCache& cache = iconCache();
    const auto found = cache.icons.constFind(key);
    if (found != cache.icons.cend())
        return found.value();
    // The provider looks at the file system; a name from a message must not
    // make it touch a path of the sender's choosing (on Windows a UNC path
    // would connect to the sender's server). Only the safe bare name goes.
    QIcon icon = cache.provider.icon(QFileInfo(safeAttachmentFileName(info.fileName())));
    // Desktops without an icon theme have no icon for most types; a tile
    // without any icon looks broken.
    if (icon.isNull() || icon.pixmap(QSize(48, 48)).isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    cache.icons.insert(key, icon);
    return icon;
}

int cachedIconCount()
{
    return static_cast<int>(iconCache().icons.size());
}
