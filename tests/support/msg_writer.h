#pragma once

// A writer of Outlook .msg files for test fixtures, on top of the
// compound-file writer: property streams with their headers, value streams
// ("__substg1.0_IIIITTTT"), multi-valued properties with their length
// streams, the named-property map, recipient and attachment storages, and
// attached messages and OLE objects as substorages. It writes well-formed
// files by default and has ways to write damaged ones (entries that lie
// about their size, a storage without its property stream); the layout it
// reports lets a test damage chosen bytes of the result.
//
// Example: a message with a subject, an HTML body, a recipient and a
// named property.
//
//   using namespace msgwriter;
//   MsgWriter msg;
//   msg.add(MsgProp::unicode(0x0037, QStringLiteral("Quarterly report")))
//      .add(MsgProp::binary(0x1013, "<p>Hi</p>"))
//      .add(MsgProp::time(0x820D, start).named(tnefwriter::psetidAppointment(), 0x820D));
//   msg.recipient({MsgProp::unicode(0x3001, QStringLiteral("Ana")), MsgProp::int32(0x0C15, 1)});
//   const QByteArray bytes = msg.bytes();

#include "support/cfb_writer.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSharedPointer>
#include <QString>

#include <optional>

namespace msgwriter {

// One property as a .msg file keeps it.
class MsgProp
{
public:
    MsgProp(quint16 type, quint16 id);

    static MsgProp int16(quint16 id, quint16 value);
    static MsgProp int32(quint16 id, quint32 value);
    static MsgProp boolean(quint16 id, bool value);
    static MsgProp float64(quint16 id, double value);
    static MsgProp int64(quint16 id, quint64 value);
    static MsgProp time(quint16 id, const QDateTime& when);
    static MsgProp guid(quint16 id, const QByteArray& guid16);
    // 8-bit text as given, plus a NUL when `terminate` (as some writers do).
    static MsgProp string8(quint16 id, const QByteArray& bytes, bool terminate = false);
    // UTF-16LE text, plus a NUL unit when `terminate`.
    static MsgProp unicode(quint16 id, const QString& text, bool terminate = false);
    static MsgProp binary(quint16 id, const QByteArray& bytes);
    // Any type with the multi-value flag. Fixed-size values are given as
    // they are stored (little-endian, 2 bytes for 16-bit integers);
    // variable-size ones as the bytes of their own streams.
    static MsgProp multi(quint16 type, quint16 id, const QList<QByteArray>& values);

    // A named property: its GUID and numeric name, or its string name. The
    // writer gives it an id of 0x8000 and up and lists it in the map.
    MsgProp& named(const QByteArray& guid16, quint32 numericName);
    MsgProp& named(const QByteArray& guid16, const QString& stringName);
    // Writes this Size into the entry instead of the right one.
    MsgProp& withEntrySize(quint32 size);

    quint16 type() const { return type_; }
    quint16 id() const { return id_; }

private:
    friend class MsgWriter;
    quint16 type_;
    quint16 id_;
    QList<QByteArray> values_;
    QByteArray guid_;
    std::optional<quint32> numericName_;
    QString stringName_;
    std::optional<quint32> entrySize_;
};

class MsgWriter;

// An attachment: its properties, and optionally what its 0x3701 object
// storage holds: an attached message, or an OLE object's streams.
struct MsgAttachment
{
    QList<MsgProp> properties;
    QSharedPointer<MsgWriter> message = {};               // written as "__substg1.0_3701000D"
    QList<QPair<QString, QByteArray>> objectStreams = {}; // likewise, for an OLE object
};

class MsgWriter
{
public:
    MsgWriter& add(const MsgProp& property);
    MsgWriter& recipient(const QList<MsgProp>& properties);
    MsgWriter& attachment(const MsgAttachment& attachment);
    // Leaves out the property stream of this message (damage).
    MsgWriter& withoutPropertyStream();

    // The whole file.
    QByteArray bytes(testsupport::CfbLayout* layout = nullptr,
                     testsupport::CfbWriter::ChainLayout chains = testsupport::CfbWriter::ChainLayout::Consecutive) const;

    // A storage's path in the file: "/__attach_version1.0_#00000001".
    static QString attachmentPath(int index);
    static QString recipientPath(int index);
    // The value stream of a property: "__substg1.0_00370001F".
    static QString valueStreamName(quint16 id, quint16 type);

private:
    struct Names;
    void write(testsupport::CfbWriter& cfb, const QString& path, int headerSize, Names& names) const;
    static void writeObject(testsupport::CfbWriter& cfb, const QString& path, int headerSize, const QList<MsgProp>& properties,
                            bool propertyStream, const QByteArray& header, Names& names);

    QList<MsgProp> properties_;
    QList<QList<MsgProp>> recipients_;
    QList<MsgAttachment> attachments_;
    bool propertyStream_ = true;
};

} // namespace msgwriter
