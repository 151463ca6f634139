#include "support/tnef_writer.h"

#include "support/lzfu_compressor.h"

#include <cstring>

namespace tnefwriter {

namespace {

// 116444736000000000 ticks lie between 1601-01-01 and 1970-01-01.
constexpr quint64 kEpochDifference = 116444736000000000ULL;

QByteArray padding(int length)
{
    return QByteArray((4 - (length & 3)) & 3, '\0');
}

} // namespace

QByteArray le16(quint16 v)
{
    QByteArray out(2, Qt::Uninitialized);
    out[0] = char(v & 0xFF);
    out[1] = char(v >> 8);
    return out;
}

QByteArray le32(quint32 v)
{
    QByteArray out(4, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i)
        out[i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

QByteArray le64(quint64 v)
{
    return le32(quint32(v & 0xFFFFFFFFu)) + le32(quint32(v >> 32));
}

static QByteArray int16Bytes(quint16 v) { return le16(v); }
QByteArray int32Bytes(quint32 v) { return le32(v); }
static QByteArray int64Bytes(quint64 v) { return le64(v); }

QByteArray float32Bytes(float v)
{
    quint32 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return le32(bits);
}

QByteArray float64Bytes(double v)
{
    quint64 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return le64(bits);
}

static QByteArray guidBytes(quint32 data1, quint16 data2, quint16 data3, const QByteArray& data4)
{
    QByteArray tail = data4.left(8);
    tail.append(QByteArray(8 - tail.size(), '\0'));
    return le32(data1) + le16(data2) + le16(data3) + tail;
}

QByteArray psPublicStrings()
{
    return guidBytes(0x00020329, 0, 0, QByteArray::fromHex("C000000000000046"));
}

QByteArray psAddress()
{
    return guidBytes(0x00062004, 0, 0, QByteArray::fromHex("C000000000000046"));
}

QByteArray psetidAppointment()
{
    return guidBytes(0x00062002, 0, 0, QByteArray::fromHex("C000000000000046"));
}

static QByteArray iidIStorage()
{
    return guidBytes(0x0000000B, 0, 0, QByteArray::fromHex("C000000000000046"));
}

QByteArray utf16le(const QString& text, bool terminate)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (QChar c : text)
        out.append(le16(c.unicode()));
    if (terminate)
        out.append(2, '\0');
    return out;
}

quint64 fileTime(const QDateTime& when)
{
    return quint64(when.toMSecsSinceEpoch()) * 10000ULL + kEpochDifference;
}

quint16 checksum(const QByteArray& data)
{
    quint32 sum = 0;
    for (char c : data)
        sum += quint8(c);
    return quint16(sum & 0xFFFF);
}

QByteArray compressedRtf(const QByteArray& rtf)
{
    const std::string value = lzfu::compress(std::string_view(rtf.constData(), size_t(rtf.size())));
    return QByteArray(value.data(), qsizetype(value.size()));
}

QByteArray storedRtf(const QByteArray& rtf)
{
    const std::string value = lzfu::store(std::string_view(rtf.constData(), size_t(rtf.size())));
    return QByteArray(value.data(), qsizetype(value.size()));
}

QByteArray oleObjectData(const QByteArray& compoundFile)
{
    return iidIStorage() + compoundFile;
}

// ---------------------------------------------------------------- MapiProp

MapiProp::MapiProp(quint16 type, quint16 id) : type_(type), id_(id) {}

MapiProp MapiProp::int16(quint16 id, quint16 value) { return MapiProp(PtypInteger16, id).addValue(int16Bytes(value)); }
MapiProp MapiProp::int32(quint16 id, quint32 value) { return MapiProp(PtypInteger32, id).addValue(int32Bytes(value)); }
MapiProp MapiProp::boolean(quint16 id, bool value) { return MapiProp(PtypBoolean, id).addValue(int32Bytes(value ? 1 : 0)); }
MapiProp MapiProp::float32(quint16 id, float value) { return MapiProp(PtypFloating32, id).addValue(float32Bytes(value)); }
MapiProp MapiProp::float64(quint16 id, double value) { return MapiProp(PtypFloating64, id).addValue(float64Bytes(value)); }
MapiProp MapiProp::currency(quint16 id, qint64 value) { return MapiProp(PtypCurrency, id).addValue(int64Bytes(quint64(value))); }
MapiProp MapiProp::floatingTime(quint16 id, double value) { return MapiProp(PtypFloatingTime, id).addValue(float64Bytes(value)); }
MapiProp MapiProp::int64(quint16 id, quint64 value) { return MapiProp(PtypInteger64, id).addValue(int64Bytes(value)); }
MapiProp MapiProp::time(quint16 id, quint64 ft) { return MapiProp(PtypTime, id).addValue(int64Bytes(ft)); }
MapiProp MapiProp::time(quint16 id, const QDateTime& when) { return time(id, fileTime(when)); }
MapiProp MapiProp::guid(quint16 id, const QByteArray& guid16) { return MapiProp(PtypGuid, id).addValue(guid16); }

MapiProp MapiProp::string8(quint16 id, const QByteArray& bytes, bool terminate)
{
    QByteArray value = bytes;
    if (terminate)
        value.append('\0');
    return MapiProp(PtypString8, id).addValue(value);
}

MapiProp MapiProp::unicode(quint16 id, const QString& text, bool terminate)
{
    return MapiProp(PtypString, id).addValue(utf16le(text, terminate));
}

MapiProp MapiProp::binary(quint16 id, const QByteArray& bytes) { return MapiProp(PtypBinary, id).addValue(bytes); }
MapiProp MapiProp::object(quint16 id, const QByteArray& bytes) { return MapiProp(PtypObject, id).addValue(bytes); }

MapiProp MapiProp::multi(quint16 type, quint16 id, const QList<QByteArray>& values)
{
    MapiProp p(quint16(type | PtypMultipleFlag), id);
    p.values_ = values;
    return p;
}

MapiProp& MapiProp::addValue(const QByteArray& value)
{
    values_.append(value);
    return *this;
}

MapiProp& MapiProp::named(const QByteArray& guid16, quint32 numericId)
{
    guid_ = guid16;
    numericName_ = numericId;
    names_.clear();
    if (id_ < 0x8000)
        id_ = 0x8000;
    return *this;
}

MapiProp& MapiProp::named(const QByteArray& guid16, const QStringList& names)
{
    guid_ = guid16;
    numericName_.reset();
    names_ = names;
    if (id_ < 0x8000)
        id_ = 0x8000;
    return *this;
}

MapiProp& MapiProp::withValueCount(quint32 count)
{
    valueCount_ = count;
    return *this;
}

MapiProp& MapiProp::withKindWord(quint32 kind)
{
    kindWord_ = kind;
    return *this;
}

bool MapiProp::isVariable() const
{
    const quint16 base = type_ & ~quint16(PtypMultipleFlag);
    return base == PtypObject || base == PtypString8 || base == PtypString || base == PtypBinary;
}

bool MapiProp::hasValueCount() const
{
    return (type_ & PtypMultipleFlag) || isVariable();
}

QByteArray MapiProp::encode() const
{
    QByteArray out = le16(type_) + le16(id_);
    if (id_ >= 0x8000) {
        out.append(guid_.size() == 16 ? guid_ : QByteArray(16, '\0'));
        if (numericName_) {
            out.append(le32(kindWord_.value_or(0)));
            out.append(le32(*numericName_));
        } else {
            out.append(le32(kindWord_.value_or(quint32(names_.size()))));
            for (const QString& name : names_) {
                const QByteArray bytes = utf16le(name, true);
                out.append(le32(quint32(bytes.size())));
                out.append(bytes);
                out.append(padding(bytes.size()));
            }
        }
    }
    if (hasValueCount())
        out.append(le32(valueCount_.value_or(quint32(values_.size()))));
    const int written = hasValueCount() ? values_.size() : qMin(1, int(values_.size()));
    for (int i = 0; i < written; ++i) {
        const QByteArray& value = values_.at(i);
        if (isVariable())
            out.append(le32(quint32(value.size())));
        out.append(value);
        out.append(padding(value.size()));
    }
    return out;
}

// --------------------------------------------------------- MapiBlockWriter

MapiBlockWriter& MapiBlockWriter::add(const MapiProp& property)
{
    properties_.append(property);
    return *this;
}

MapiBlockWriter& MapiBlockWriter::withCount(quint32 count)
{
    count_ = count;
    return *this;
}

QByteArray MapiBlockWriter::bytes() const
{
    QByteArray out = le32(count_.value_or(quint32(properties_.size())));
    for (const MapiProp& p : properties_)
        out.append(p.encode());
    return out;
}

// -------------------------------------------------------------- TnefWriter

TnefWriter::TnefWriter(quint16 key, quint32 signature)
{
    bytes_ = le32(signature) + le16(key);
    boundaries_.append(bytes_.size());
}

QByteArray TnefWriter::record(quint8 level, quint16 id, quint16 type, const QByteArray& data,
                              std::optional<quint16> sum)
{
    QByteArray out;
    out.reserve(data.size() + 11);
    out.append(char(level));
    out.append(le16(id));
    out.append(le16(type));
    out.append(le32(quint32(data.size())));
    out.append(data);
    out.append(le16(sum.value_or(checksum(data))));
    return out;
}

TnefWriter& TnefWriter::attribute(quint8 level, quint16 id, quint16 type, const QByteArray& data)
{
    return raw(record(level, id, type, data));
}

TnefWriter& TnefWriter::attributeWithChecksum(quint8 level, quint16 id, quint16 type, const QByteArray& data,
                                              quint16 sum)
{
    return raw(record(level, id, type, data, sum));
}

TnefWriter& TnefWriter::raw(const QByteArray& bytes)
{
    bytes_.append(bytes);
    boundaries_.append(bytes_.size());
    return *this;
}

TnefWriter& TnefWriter::tnefVersion()
{
    return attribute(LevelMessage, AttTnefVersion, AtpDword, le32(0x00010000));
}

TnefWriter& TnefWriter::oemCodepage(quint32 codePage)
{
    return attribute(LevelMessage, AttOemCodepage, AtpByte, le32(codePage) + le32(0));
}

TnefWriter& TnefWriter::messageClass(const QByteArray& messageClass)
{
    return attribute(LevelMessage, AttMessageClass, AtpWord, messageClass + QByteArray(1, '\0'));
}

TnefWriter& TnefWriter::body(const QByteArray& text)
{
    return attribute(LevelMessage, AttBody, AtpText, text);
}

TnefWriter& TnefWriter::messageProperties(const MapiBlockWriter& block)
{
    return attribute(LevelMessage, AttMsgProps, AtpByte, block.bytes());
}

TnefWriter& TnefWriter::beginAttachment()
{
    // atyp 1 (file), position, width, height, flags.
    const QByteArray rend = le16(1) + le32(0xFFFFFFFFu) + le16(32) + le16(32) + le32(0);
    return attribute(LevelAttachment, AttAttachRenddata, AtpByte, rend);
}

TnefWriter& TnefWriter::attachTitle(const QByteArray& name)
{
    return attribute(LevelAttachment, AttAttachTitle, AtpString, name + QByteArray(1, '\0'));
}

TnefWriter& TnefWriter::attachData(const QByteArray& data)
{
    return attribute(LevelAttachment, AttAttachData, AtpByte, data);
}

TnefWriter& TnefWriter::attachProperties(const MapiBlockWriter& block)
{
    return attribute(LevelAttachment, AttAttachment, AtpByte, block.bytes());
}

TnefWriter& TnefWriter::attachment(const AttachmentSpec& spec)
{
    beginAttachment();
    if (!spec.title.isNull())
        attachTitle(spec.title);
    if (!spec.dataInPropertyBlock)
        attachData(spec.data);

    MapiBlockWriter block;
    block.add(MapiProp::int32(PidTagAttachMethod, spec.dataIsObject ? 6 : 1));
    if (!spec.longName.isNull())
        block.add(MapiProp::unicode(PidTagAttachLongFilename, spec.longName));
    if (!spec.mimeType.isNull())
        block.add(MapiProp::string8(PidTagAttachMimeTag, spec.mimeType));
    if (!spec.contentId.isNull())
        block.add(MapiProp::string8(PidTagAttachContentId, spec.contentId));
    if (spec.dataInPropertyBlock) {
        block.add(spec.dataIsObject ? MapiProp::object(PidTagAttachDataObject, spec.data)
                                    : MapiProp::binary(PidTagAttachDataBinary, spec.data));
    }
    for (const MapiProp& p : spec.extraProperties)
        block.add(p);
    return attachProperties(block);
}

} // namespace tnefwriter
