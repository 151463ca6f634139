#include "attachmentmodel.h"

#include "attachmenticons.h"
#include "interfacelocale.h"

#include "message/mailbox_text.h"

namespace {

// The theme's icon for a mail message; the generic one of the MIME type
// where the theme names neither.
QIcon messageIcon()
{
    static const QIcon icon = QIcon::fromTheme(QStringLiteral("message-rfc822"),
                                               QIcon::fromTheme(QStringLiteral("mail-message"),
                                                                iconForMimeType(QStringLiteral("message/rfc822"))));
    return icon;
}

} // namespace

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

QString AttachmentModel::attachedMessageLimitText(AttachedMessageLimit limit)
{
    switch (limit) {
    case AttachedMessageLimit::TooDeep:
        return tr("This message is attached more than %1 levels deep and does not open here. "
                  "Save it to open it on its own.")
            .arg(kMaxAttachedMessageDepth);
    case AttachedMessageLimit::TooLarge:
        return tr("The messages attached in this file are too large together; this one does not open here. "
                  "Save it to open it on its own.");
    case AttachedMessageLimit::Unreadable:
        return tr("This attached message cannot be read.");
    case AttachedMessageLimit::None:
        break;
    }
    return {};
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
        if (attachment->isMessage && !attachment->message)
            return QIcon(messageIcon().pixmap(QSize(48, 48), QIcon::Disabled)); // it does not open
        return attachment->isMessage ? messageIcon() : iconForMimeType(attachment->effectiveMimeType());
    case Qt::ToolTipRole: {
        const QString name = data(index, Qt::DisplayRole).toString();
        if (!attachment->isMessage)
            return name;
        if (!attachment->message)
            return name + QLatin1Char('\n') + attachedMessageLimitText(attachment->messageLimit);
        const TessilMessage& attached = *attachment->message;
        const QString sender = mailboxText(attached.senderName, attached.senderEmail);
        QStringList lines{name};
        lines << tr("From: %1").arg(sender.isEmpty() ? tr("<No Sender>") : sender);
        if (attached.sentTime.isValid())
            lines << tr("Sent: %1").arg(interfaceLocale().toString(attached.sentTime.toLocalTime(), QLocale::LongFormat));
        return lines.join(QLatin1Char('\n'));
    }
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

Qt::ItemFlags AttachmentModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractListModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}
