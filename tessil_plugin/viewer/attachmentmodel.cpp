#include "attachmentmodel.h"

#include "attachmenticons.h"

AttachmentModel::AttachmentModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void AttachmentModel::setMessage(const PreparedMessage& prepared)
{
    beginResetModel();
    message = prepared.message;
    listed = prepared.listedAttachments;
    endResetModel();
}

QSharedPointer<TessilAttachment> AttachmentModel::attachmentAt(int row) const
{
    if (!message || row < 0 || row >= listed.size())
        return {};
    return message->attachmentAt(listed.at(row));
}

int AttachmentModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !message)
        return 0;
    return static_cast<int>(listed.size());
}

QVariant AttachmentModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QSharedPointer<TessilAttachment> attachment = attachmentAt(index.row());
    if (!attachment)
        return {};

    switch (role) {
    case Qt::DisplayRole:
        return attachment->fileName.isEmpty() ? tr("attachment") : attachment->fileName;
    case Qt::DecorationRole:
        return iconForMimeType(attachment->effectiveMimeType());
    case SizeRole:
        return static_cast<qint64>(attachment->contentSize());
    case MimeTypeRole:
        return attachment->mimeType;
    case RowRole:
        return index.row();
    case TypeRole:
        return attachment->effectiveMimeType();
    default:
        return {};
    }
}
