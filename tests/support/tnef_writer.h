#pragma once

// A TNEF writer for test fixtures: each test states the stream it decodes in a
// few readable lines. It writes well-formed streams by default and has ways
// to write damaged ones (wrong checksums, raw or cut bytes, lying counts).
//
// Example: a message with a subject, an HTML body and one attachment.
//
//   using namespace tnefwriter;
//   MapiBlockWriter props;
//   props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Quarterly report")))
//        .add(MapiProp::string8(PidTagSentRepresentingName, "Ana Ruiz"))
//        .add(MapiProp::int32(PidTagInternetCodepage, 1252))
//        .add(MapiProp::binary(PidTagBodyHtml, "<html><body>Hi</body></html>"))
//        .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 Hi}")));
//   TnefWriter tnef;
//   tnef.tnefVersion().messageProperties(props);
//   tnef.attachment(AttachmentSpec{"REPORT~1.PDF", QStringLiteral("report 2024.pdf"), pdfBytes,
//                                  "application/pdf"});
//   const QByteArray bytes = tnef.bytes();
//
// Named properties: MapiProp::unicode(0x8000, ...).named(psPublicStrings(),
// QStringList{"Keywords"}) or .named(psAddress(), 0x8083). Multi-valued ones:
// MapiProp::multi(PtypInteger32, id, {int32Bytes(1), int32Bytes(2)}).

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tnefwriter {

constexpr quint32 kSignature = 0x223E9F78;

enum Level : quint8 { LevelMessage = 1, LevelAttachment = 2 };

// Attribute types (the high word of an attribute tag).
enum AttributeType : quint16 {
    AtpTriples = 0x0000,
    AtpString = 0x0001,
    AtpText = 0x0002,
    AtpDate = 0x0003,
    AtpShort = 0x0004,
    AtpLong = 0x0005,
    AtpByte = 0x0006,
    AtpWord = 0x0007,
    AtpDword = 0x0008,
};

// Attribute ids (the low word of an attribute tag).
enum AttributeId : quint16 {
    AttSubject = 0x8004,
    AttMessageId = 0x8009,
    AttDateSent = 0x8005,
    AttMessageClass = 0x8008,
    AttBody = 0x800C,
    AttAttachData = 0x800F,
    AttAttachTitle = 0x8010,
    AttAttachMetaFile = 0x8011,
    AttAttachCreateDate = 0x8012,
    AttAttachModifyDate = 0x8013,
    AttAttachRenddata = 0x9002,
    AttMsgProps = 0x9003,
    AttRecipTable = 0x9004,
    AttAttachment = 0x9005,
    AttTnefVersion = 0x9006,
    AttOemCodepage = 0x9007,
};

enum PropertyType : quint16 {
    PtypUnspecified = 0x0000,
    PtypNull = 0x0001,
    PtypInteger16 = 0x0002,
    PtypInteger32 = 0x0003,
    PtypFloating32 = 0x0004,
    PtypFloating64 = 0x0005,
    PtypCurrency = 0x0006,
    PtypFloatingTime = 0x0007,
    PtypErrorCode = 0x000A,
    PtypBoolean = 0x000B,
    PtypObject = 0x000D,
    PtypInteger64 = 0x0014,
    PtypString8 = 0x001E,
    PtypString = 0x001F,
    PtypTime = 0x0040,
    PtypGuid = 0x0048,
    PtypBinary = 0x0102,
    PtypMultipleFlag = 0x1000,
};

enum PropertyId : quint16 {
    PidTagMessageClass = 0x001A,
    PidTagSubject = 0x0037,
    PidTagClientSubmitTime = 0x0039,
    PidTagSentRepresentingName = 0x0042,
    PidTagSentRepresentingEmailAddress = 0x0065,
    PidTagConversationTopic = 0x0070,
    PidTagDisplayCc = 0x0E03,
    PidTagDisplayTo = 0x0E04,
    PidTagPrimarySendAccount = 0x0E28,
    PidTagBody = 0x1000,
    PidTagRtfCompressed = 0x1009,
    PidTagBodyHtml = 0x1013,
    PidTagDisplayName = 0x3001,
    PidTagAttachDataBinary = 0x3701,
    PidTagAttachDataObject = 0x3701,
    PidTagAttachFilename = 0x3704,
    PidTagAttachMethod = 0x3705,
    PidTagAttachLongFilename = 0x3707,
    PidTagAttachLongPathname = 0x370D,
    PidTagAttachMimeTag = 0x370E,
    PidTagAttachContentId = 0x3712,
    PidTagAttachContentLocation = 0x3713,
    PidTagInternetCodepage = 0x3FDE,
};

// Little-endian encodings.
QByteArray le16(quint16 v);
QByteArray le32(quint32 v);
QByteArray le64(quint64 v);

// Encoded fixed-size values, for MapiProp::multi and hand-made blocks.
QByteArray int32Bytes(quint32 v);
QByteArray float32Bytes(float v);
QByteArray float64Bytes(double v);

QByteArray psPublicStrings();  // {00020329-0000-0000-C000-000000000046}
QByteArray psAddress();        // {00062004-0000-0000-C000-000000000046}
QByteArray psetidAppointment();// {00062002-0000-0000-C000-000000000046}

// UTF-16LE bytes of `text`, with a terminating zero unit when asked.
QByteArray utf16le(const QString& text, bool terminate = true);

// FILETIME (100-ns ticks since 1601-01-01 UTC) of a date-time.
quint64 fileTime(const QDateTime& when);

// Sum of the bytes modulo 65536, as an attribute's checksum.
quint16 checksum(const QByteArray& data);

// PidTagRtfCompressed values: compressed ("LZFu") or stored ("MELA").
QByteArray compressedRtf(const QByteArray& rtf);
QByteArray storedRtf(const QByteArray& rtf);

// An embedded OLE object's attachment data: the IStorage interface id
// followed by the compound file's bytes.
QByteArray oleObjectData(const QByteArray& compoundFile);

// One MAPI property as written into a property block.
class MapiProp
{
public:
    MapiProp(quint16 type, quint16 id);

    static MapiProp int16(quint16 id, quint16 value);
    static MapiProp int32(quint16 id, quint32 value);
    static MapiProp boolean(quint16 id, bool value);
    static MapiProp float32(quint16 id, float value);
    static MapiProp float64(quint16 id, double value);
    static MapiProp currency(quint16 id, qint64 value);
    static MapiProp floatingTime(quint16 id, double value);
    static MapiProp int64(quint16 id, quint64 value);
    static MapiProp time(quint16 id, quint64 fileTime);
    static MapiProp time(quint16 id, const QDateTime& when);
    static MapiProp guid(quint16 id, const QByteArray& guid16);
    // 8-bit text as given, plus a zero byte when `terminate` (as Outlook does).
    static MapiProp string8(quint16 id, const QByteArray& bytes, bool terminate = true);
    // UTF-16LE text, plus a zero unit when `terminate`.
    static MapiProp unicode(quint16 id, const QString& text, bool terminate = true);
    static MapiProp binary(quint16 id, const QByteArray& bytes);
    static MapiProp object(quint16 id, const QByteArray& bytes);
    // Any type with the multi-value flag; `values` are the encoded fixed-size
    // values or the contents of variable-size ones.
    static MapiProp multi(quint16 type, quint16 id, const QList<QByteArray>& values);

    // Adds one more value (encoded as for multi()).
    MapiProp& addValue(const QByteArray& value);
    // Named property: GUID and numeric id (kind word 0) ...
    MapiProp& named(const QByteArray& guid16, quint32 numericId);
    // ... or GUID and names (the kind word is the number of names).
    MapiProp& named(const QByteArray& guid16, const QStringList& names);
    // Writes this value count instead of the real one (lying counts).
    MapiProp& withValueCount(quint32 count);
    // Writes this kind word instead of the real one.
    MapiProp& withKindWord(quint32 kind);

    quint16 type() const { return type_; }
    quint16 id() const { return id_; }
    QByteArray encode() const;

private:
    bool isVariable() const;
    bool hasValueCount() const;

    quint16 type_;
    quint16 id_;
    QList<QByteArray> values_;
    QByteArray guid_;
    std::optional<quint32> numericName_;
    QStringList names_;
    std::optional<quint32> valueCount_;
    std::optional<quint32> kindWord_;
};

// A property block: the data of attMsgProps and attAttachment.
class MapiBlockWriter
{
public:
    MapiBlockWriter& add(const MapiProp& property);
    // Writes this property count instead of the real one.
    MapiBlockWriter& withCount(quint32 count);

    int count() const { return properties_.size(); }
    QByteArray bytes() const;

private:
    QList<MapiProp> properties_;
    std::optional<quint32> count_;
};

// An attachment as Outlook writes it: attAttachRenddata, attAttachTitle,
// attAttachData (or the data as PidTagAttachDataBinary/Object inside the
// property block), then attAttachment with the long name, MIME tag and
// content id when given, plus any extra properties.
struct AttachmentSpec {
    QByteArray title;           // 8.3 name in attAttachTitle; none when null
    QString longName;           // PidTagAttachLongFilename; none when null
    QByteArray data;
    QByteArray mimeType;        // PidTagAttachMimeTag; none when null
    QByteArray contentId;       // PidTagAttachContentId; none when null
    QList<MapiProp> extraProperties;
    bool dataInPropertyBlock = false;  // PidTagAttachDataBinary instead of attAttachData
    bool dataIsObject = false;         // with the above: PtypObject instead of PtypBinary
};

class TnefWriter
{
public:
    // Starts the stream with the signature and the key.
    explicit TnefWriter(quint16 key = 0x0001, quint32 signature = kSignature);

    // One attribute record with the right checksum ...
    TnefWriter& attribute(quint8 level, quint16 id, quint16 type, const QByteArray& data);
    // ... or with the given one.
    TnefWriter& attributeWithChecksum(quint8 level, quint16 id, quint16 type, const QByteArray& data,
                                      quint16 checksum);
    // Bytes as they are (damaged records, stray tails).
    TnefWriter& raw(const QByteArray& bytes);

    // Message-level attributes.
    TnefWriter& tnefVersion();
    TnefWriter& oemCodepage(quint32 codePage);
    TnefWriter& messageClass(const QByteArray& messageClass);
    TnefWriter& body(const QByteArray& text);
    TnefWriter& messageProperties(const MapiBlockWriter& block);

    // Attachment-level attributes.
    TnefWriter& beginAttachment();
    TnefWriter& attachTitle(const QByteArray& name);
    TnefWriter& attachData(const QByteArray& data);
    TnefWriter& attachProperties(const MapiBlockWriter& block);
    TnefWriter& attachment(const AttachmentSpec& spec);

    QByteArray bytes() const { return bytes_; }
    int size() const { return bytes_.size(); }
    // Offsets just past the header and past each record written so far
    // (raw bytes included), e.g. to cut a stream at record boundaries.
    QList<int> boundaries() const { return boundaries_; }

    // One encoded attribute record.
    static QByteArray record(quint8 level, quint16 id, quint16 type, const QByteArray& data,
                             std::optional<quint16> checksum = std::nullopt);

private:
    QByteArray bytes_;
    QList<int> boundaries_;
};

} // namespace tnefwriter
