#pragma once

// The message record that the viewer and tessil show: built once per opened
// file by TessilParser, never changed afterwards, and shared through
// QSharedPointer by the view, the attachment model, the attachment actions
// and the thread that prepares the body. Everything in it is worked out when
// it is built; nothing is computed lazily, so any thread may read it.

#include "message/message_warnings.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>

// A named property's name: its property set, and a numeric name or a
// string name.
struct MessagePropertyName
{
    QUuid propertySet;
    quint32 numericName = 0; // when stringName is null
    QString stringName;
};

// One MAPI property of a message or of an attachment, as its container
// stored it. Values are in one flat form whatever the container: integers
// as 4 or 8 little-endian bytes (16-bit ones widened to 4, booleans as 0 or
// 1 in 4), times as 8-byte FILETIMEs, GUIDs as 16 bytes, binaries as
// stored, and strings as UTF-8 with their terminating zero (a container
// may instead keep 8-bit strings as stored, type 0x001E, in the message's
// code page).
struct MessageProperty
{
    quint16 id = 0;     // a named property's numeric name when it has one
    quint16 type = 0;   // without the multi-value flag 0x1000
    QByteArray value;   // the first value; empty when it has none
    bool multiValued = false;
    // Every value, the first one included (sharing its bytes); may be left
    // empty by code that sets `value` alone, see allValues().
    QList<QByteArray> values = {};
    std::optional<MessagePropertyName> name = std::nullopt; // set for named properties

    // Every value: `values`, or `value` alone when only that was set.
    QList<QByteArray> allValues() const
    {
        if (!values.isEmpty() || value.isEmpty())
            return values;
        return {value};
    }
};

// Who a message went to, with one type each. The name and the address are
// as stored (the address only when it is an Internet one); either may be empty.
enum class RecipientType { To, Cc, Bcc };

struct MessageRecipient
{
    QString name;
    QString email;
    RecipientType type = RecipientType::To;
};

struct TessilMessage;

// Why an attached message does not open.
enum class AttachedMessageLimit {
    None,       // it opens
    TooDeep,    // nested deeper than kMaxAttachedMessageDepth
    TooLarge,   // the file's attached messages together pass their size bound
    Unreadable, // its bytes hold no message that can be read
};

// How deep attached messages open: a message attached to one attached to
// the file is at depth 2.
constexpr int kMaxAttachedMessageDepth = 8;

struct TessilAttachment
{
    QString fileName;   // always holds a dot, so the file has an extension
    QString mimeType;   // as stored with the attachment; often empty
    QString contentId;  // what an HTML body refers to as "cid:"; often empty
    // The bytes as stored in the file. Often a view into the buffer of the
    // whole file (shared, not copied), so its bytes are not followed by a zero.
    QByteArray data;
    bool isOle = false; // data is a 16-byte interface id followed by a compound file
    // For an embedded OLE object, the file that it holds (possibly empty);
    // null when it holds none that is known, and for every other attachment.
    // Filled once by unpackEmbeddedObject() when the message is built.
    QByteArray embedded = {};
    // What the MIME database finds for the content and the name
    // (detectMimeType); filled when the message is built.
    QString detectedMimeType = {};
    // The attachment's own MAPI properties, in stored order.
    QList<MessageProperty> properties = {};
    // Marked hidden by its sender (an inline image, a signature part): kept,
    // but not shown as a tile.
    bool hidden = false;
    // A message attached to this one (a forwarded mail). `embedded` then
    // holds it as a file of its own: the nested TNEF stream, or a
    // standalone .msg file built from its storage.
    bool isMessage = false;
    // The attached message as read when this one was built; null when
    // `messageLimit` says why it is not read.
    QSharedPointer<TessilMessage> message = {};
    AttachedMessageLimit messageLimit = AttachedMessageLimit::None;

    // The bytes a user gets: the embedded file when there is one, else
    // `data`. Every consumer (sizes, saving, opening, extensions, inline
    // images) uses this, never `data`.
    const QByteArray& content() const { return embedded.isNull() ? data : embedded; }
    qsizetype contentSize() const { return content().size(); }

    // The type the file is treated as (its icon, the program that opens it):
    // the stored one, unless that says nothing; then the detected one.
    QString effectiveMimeType() const;

    // Fills `embedded` from `data` when isOle is set.
    void unpackEmbeddedObject();
};

struct TessilMessage
{
    TessilMessage() = default;
    ~TessilMessage();
    TessilMessage(const TessilMessage&) = default;
    TessilMessage& operator=(const TessilMessage&) = default;

    QString messageClass;                // PidTagMessageClass; empty when absent
    QList<MessageProperty> properties;   // every message-level property, in stored order
    QString subject;
    QString senderName;
    QString senderEmail;                 // what the view shows as the sender
    QString displayTo;
    QString displayCc;
    // Every recipient of the file's recipient list, in stored order; empty
    // when the file holds none (displayTo and displayCc are then all there is).
    QList<MessageRecipient> recipients;
    QDateTime sentTime;                  // UTC; invalid when the file has none
    QByteArray htmlBody;                 // UTF-8 with a UTF-8 charset declaration; empty when absent
    QByteArray rtfBody;                  // decompressed RTF as decoded; empty when absent
    QString plainBody;                   // decoded plain text; empty when absent
    // The file's attachments in stream order, then at most one rendered
    // calendar or contact attachment.
    QList<QSharedPointer<TessilAttachment>> attachments;
    // The damage the reader met, each once, in the order of MessageWarning;
    // empty for a sound file.
    QList<MessageWarning> warnings;

    // Adds `warning` to `warnings` unless it is there already.
    void addWarning(MessageWarning warning);

    int attachmentCount() const;
    // Null for an index outside 0 .. attachmentCount() - 1.
    QSharedPointer<TessilAttachment> attachmentAt(int index) const;
};
