#include "recentfiles.h"

#include "apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

QString recentFilesPath()
{
    const QString dir = apppaths::dataDir();
    QDir().mkpath(dir);
    return dir + QLatin1String("/recent_files.json");
}

QStringList loadRecentFiles()
{
    QFile file(recentFilesPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isArray())
        return {};
    QStringList files;
    const QJsonArray array = document.array();
    for (const QJsonValue& value : array) {
        const QString path = value.toString();
        if (path.isEmpty() || files.contains(path))
            continue;
        files.append(path);
        if (files.size() == kMaxRecentFiles)
            break;
    }
    return files;
}

void saveRecentFiles(const QStringList& files)
{
    QJsonArray array;
    for (const QString& path : files.mid(0, kMaxRecentFiles))
        array.append(path);
    QSaveFile file(recentFilesPath());
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QJsonDocument(array).toJson(QJsonDocument::Indented));
    file.commit();
}

void addRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (absolute.isEmpty())
        return;
    QStringList files = loadRecentFiles();
    files.removeIf([&](const QString& entry) {
        return entry.compare(absolute, Qt::CaseInsensitive) == 0;
    });
    files.prepend(absolute);
    while (files.size() > kMaxRecentFiles)
        files.removeLast();
    saveRecentFiles(files);
}
