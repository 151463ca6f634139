#include "productlinks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace productlinks {

QUrl productWebPage()
{
    return QUrl(QStringLiteral("https://veltrano.example/quorvia"));
}

QStringList userGuideCandidates(const QString& applicationDir)
{
    const QDir dir(applicationDir);
    return {
        QDir::cleanPath(dir.filePath(QStringLiteral("docs/user-guide.html"))),
        QDir::cleanPath(dir.filePath(QStringLiteral(QUORVIA_INSTALLED_USER_GUIDE))),
    };
}

QString findUserGuide(const QString& applicationDir)
{
    if (applicationDir.isEmpty())
        return {};
    const QStringList candidates = userGuideCandidates(applicationDir);
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return {};
}

QUrl userGuide()
{
    const QString path = findUserGuide(QCoreApplication::applicationDirPath());
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}

} // namespace productlinks
