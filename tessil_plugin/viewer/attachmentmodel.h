#pragma once

// The attachments a view lists: those that the prepared message lists (see
// PreparedMessage::listedAttachments). An attachment with a content id is an
// image that the HTML body shows itself, so it gets no tile.

#include "message/prepared_message.h"
#include "message/tessil_message.h"

#include <QAbstractListModel>
#include <QList>
#include <QSharedPointer>

class AttachmentModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        SizeRole = Qt::UserRole + 1,     // contentSize() as qint64
        MimeTypeRole = Qt::UserRole + 2, // the stored MIME type
        RowRole = Qt::UserRole + 3,      // the row number
        // The type the file is treated as: the stored one, else the one found
        // from its content and name (TessilAttachment::effectiveMimeType).
        TypeRole = Qt::UserRole + 4,
    };

    explicit AttachmentModel(QObject* parent = nullptr);

    // Why an attached message does not open, for its tile and for the user
    // who tries; empty for one that opens.
    static QString attachedMessageLimitText(AttachedMessageLimit limit);

    void setMessage(const PreparedMessage& prepared);
    // Null for a row that does not exist or when no message is set.
    QSharedPointer<TessilAttachment> attachmentAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Tiles can be dragged out (the view says what a drag carries).
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QSharedPointer<const TessilMessage> message;
    // Indexes into message->attachments of the listed attachments, in order.
    QList<int> listed;
};
