#include "logpruning.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

int pruneLogsOlderThan(const QString& logDirectory, const QDateTime& cutoff)
{
    const QDir dir(logDirectory);
    if (!dir.exists())
        return 0;
    int deleted = 0;
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.log")},
                                                  QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& file : files) {
        if (file.lastModified() < cutoff && QFile::remove(file.absoluteFilePath()))
            ++deleted;
    }
    return deleted;
}

int pruneOldLogs(const QString& logDirectory)
{
    return pruneLogsOlderThan(logDirectory, QDateTime::currentDateTime().addMonths(-1));
}
