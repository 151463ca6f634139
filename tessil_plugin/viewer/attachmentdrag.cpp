#include "attachmentdrag.h"

#include "message/attachment_file_names.h"
#include "message/file_extension.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

QMimeData* attachmentDragData(const QList<QSharedPointer<TessilAttachment>>& attachments, const QString& temporaryFolder,
                              QString* error)
{
    if (!QDir().mkpath(temporaryFolder)) {
        *error = QStringLiteral("cannot create %1").arg(temporaryFolder);
        return nullptr;
    }
    // Left behind on purpose: the drop may be taken long after the drag.
    // The temporary folder goes when the program ends.
    QTemporaryDir folder(QDir(temporaryFolder).filePath(QStringLiteral("drag-XXXXXX")));
    folder.setAutoRemove(false);
    if (!folder.isValid()) {
        *error = folder.errorString();
        return nullptr;
    }
    QList<QUrl> urls;
    for (const QSharedPointer<TessilAttachment>& attachment : attachments) {
        if (!attachment)
            continue;
        const QByteArray& content = attachment->content();
        QFile file;
        if (!openUniqueFile(folder.path(), ensureFileExtension(attachment->fileName, content), &file)) {
            *error = file.errorString();
            continue;
        }
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const bool written = file.write(content) == content.size() && file.flush();
        file.close();
        if (!written) {
            *error = file.errorString();
            file.remove();
            continue;
        }
        urls.append(QUrl::fromLocalFile(file.fileName()));
    }
    if (urls.isEmpty()) {
        if (error->isEmpty())
            *error = QStringLiteral("nothing to drag");
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}
