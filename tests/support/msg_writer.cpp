#include "support/msg_writer.h"

#include <QtEndian>

#include <cstring>

namespace msgwriter {

namespace {

enum : quint16 {
    kMultiple = 0x1000,
    kInteger16 = 0x0002,
    kInteger32 = 0x0003,
    kBoolean = 0x000B,
    kFloating64 = 0x0005,
    kInteger64 = 0x0014,
    kString8 = 0x001E,
    kString = 0x001F,
    kTime = 0x0040,
    kGuid = 0x0048,
    kBinary = 0x0102,
    kObject = 0x000D,
};

QByteArray le16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray le64(quint64 v)
{
    char b[8];
    qToLittleEndian(v, b);
    return QByteArray(b, 8);
}

QByteArray utf16(const QString& text, bool terminate)
{
    QByteArray out;
    for (QChar c : text)
        out += le16(c.unicode());
    if (terminate)
        out += le16(0);
    return out;
}

const QByteArray kPsMapi = QByteArray::fromHex("2803020000000000C000000000000046");
const QByteArray kPsPublicStrings = QByteArray::fromHex("2903020000000000C000000000000046");

bool isVariable(quint16 type)
{
    type &= quint16(~kMultiple);
    return type == kString8 || type == kString || type == kBinary;
}

QString hex(quint32 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

MsgProp::MsgProp(quint16 type, quint16 id)
    : type_(type)
    , id_(id)
{
}

MsgProp MsgProp::int16(quint16 id, quint16 value) { MsgProp p(kInteger16, id); p.values_ << le16(value); return p; }
MsgProp MsgProp::int32(quint16 id, quint32 value) { MsgProp p(kInteger32, id); p.values_ << le32(value); return p; }
MsgProp MsgProp::boolean(quint16 id, bool value) { MsgProp p(kBoolean, id); p.values_ << QByteArray(1, value ? '\1' : '\0'); return p; }
MsgProp MsgProp::int64(quint16 id, quint64 value) { MsgProp p(kInteger64, id); p.values_ << le64(value); return p; }
MsgProp MsgProp::guid(quint16 id, const QByteArray& guid16) { MsgProp p(kGuid, id); p.values_ << guid16; return p; }
MsgProp MsgProp::binary(quint16 id, const QByteArray& bytes) { MsgProp p(kBinary, id); p.values_ << bytes; return p; }

MsgProp MsgProp::float64(quint16 id, double value)
{
    MsgProp p(kFloating64, id);
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    p.values_ << le64(bits);
    return p;
}

MsgProp MsgProp::time(quint16 id, const QDateTime& when)
{
    MsgProp p(kTime, id);
    p.values_ << le64(quint64(when.toMSecsSinceEpoch()) * 10000 + 116444736000000000ULL);
    return p;
}

MsgProp MsgProp::string8(quint16 id, const QByteArray& bytes, bool terminate)
{
    MsgProp p(kString8, id);
    p.values_ << (terminate ? bytes + QByteArray(1, '\0') : bytes);
    return p;
}

MsgProp MsgProp::unicode(quint16 id, const QString& text, bool terminate)
{
    MsgProp p(kString, id);
    p.values_ << utf16(text, terminate);
    return p;
}

MsgProp MsgProp::multi(quint16 type, quint16 id, const QList<QByteArray>& values)
{
    MsgProp p(quint16(type | kMultiple), id);
    p.values_ = values;
    return p;
}

MsgProp& MsgProp::named(const QByteArray& guid16, quint32 numericName)
{
    guid_ = guid16;
    numericName_ = numericName;
    return *this;
}

MsgProp& MsgProp::named(const QByteArray& guid16, const QString& stringName)
{
    guid_ = guid16;
    stringName_ = stringName;
    return *this;
}

MsgProp& MsgProp::withEntrySize(quint32 size)
{
    entrySize_ = size;
    return *this;
}

// The named-property map the whole file shares.
struct MsgWriter::Names
{
    QList<QByteArray> guids; // GUID index 3 and up
    QByteArray entries;
    QByteArray strings;
    QList<QPair<QByteArray, QString>> keys; // one entry per distinct name

    quint16 idOf(const MsgProp& p)
    {
        const QString key = p.numericName_ ? QStringLiteral("#%1").arg(*p.numericName_) : p.stringName_;
        const qsizetype known = keys.indexOf(qMakePair(p.guid_, key));
        if (known >= 0)
            return quint16(0x8000 + known);
        const quint32 index = quint32(keys.size());
        keys.append(qMakePair(p.guid_, key));
        quint32 guidIndex = 0;
        if (p.guid_ == kPsMapi) {
            guidIndex = 1;
        } else if (p.guid_ == kPsPublicStrings) {
            guidIndex = 2;
        } else {
            if (!guids.contains(p.guid_))
                guids.append(p.guid_);
            guidIndex = quint32(3 + guids.indexOf(p.guid_));
        }
        if (p.numericName_) {
            entries += le32(*p.numericName_) + le32(index << 16 | guidIndex << 1);
        } else {
            entries += le32(quint32(strings.size())) + le32(index << 16 | guidIndex << 1 | 1);
            const QByteArray name = utf16(p.stringName_, false);
            strings += le32(quint32(name.size())) + name;
            while (strings.size() % 4)
                strings += '\0';
        }
        return quint16(0x8000 + index);
    }
};

MsgWriter& MsgWriter::add(const MsgProp& property)
{
    properties_.append(property);
    return *this;
}

MsgWriter& MsgWriter::recipient(const QList<MsgProp>& properties)
{
    recipients_.append(properties);
    return *this;
}

MsgWriter& MsgWriter::attachment(const MsgAttachment& attachment)
{
    attachments_.append(attachment);
    return *this;
}

MsgWriter& MsgWriter::withoutPropertyStream()
{
    propertyStream_ = false;
    return *this;
}

QString MsgWriter::attachmentPath(int index)
{
    return QStringLiteral("/__attach_version1.0_#") + hex(quint32(index), 8);
}

QString MsgWriter::recipientPath(int index)
{
    return QStringLiteral("/__recip_version1.0_#") + hex(quint32(index), 8);
}

QString MsgWriter::valueStreamName(quint16 id, quint16 type)
{
    return QStringLiteral("__substg1.0_") + hex(id, 4) + hex(type, 4);
}

void MsgWriter::writeObject(testsupport::CfbWriter& cfb, const QString& path, int headerSize, const QList<MsgProp>& properties,
                            bool propertyStream, const QByteArray& header, Names& names)
{
    QByteArray stream = header;
    stream.resize(headerSize, '\0');
    for (const MsgProp& p : properties) {
        const quint16 id = p.guid_.isEmpty() ? p.id_ : names.idOf(p);
        const quint16 type = p.type_;
        const QString valueStream = path + QLatin1Char('/') + valueStreamName(id, type);
        QByteArray entry = le32(quint32(id) << 16 | type) + le32(6);
        quint32 size = 0;
        if (type & kMultiple) {
            if (isVariable(type)) {
                QByteArray lengths;
                for (int i = 0; i < p.values_.size(); ++i) {
                    const QByteArray& value = p.values_.at(i);
                    lengths += le32(quint32(value.size()));
                    if ((type & ~kMultiple) == kBinary)
                        lengths += le32(0);
                    cfb.addStream(valueStream + QLatin1Char('-') + hex(quint32(i), 8), value);
                }
                cfb.addStream(valueStream, lengths);
                size = quint32(lengths.size());
            } else {
                const QByteArray all = p.values_.join();
                cfb.addStream(valueStream, all);
                size = quint32(all.size());
            }
            entry += le32(p.entrySize_.value_or(size)) + le32(0);
        } else if (isVariable(type) || type == kGuid) {
            const QByteArray value = p.values_.value(0);
            cfb.addStream(valueStream, value);
            size = quint32(value.size());
            if (type == kString8 && !value.endsWith('\0'))
                size += 1;
            else if (type == kString && !value.endsWith(QByteArray(2, '\0')))
                size += 2;
            entry += le32(p.entrySize_.value_or(size)) + le32(0);
        } else if (type == kObject) {
            entry += le32(p.entrySize_.value_or(0xFFFFFFFF)) + le32(0);
        } else {
            QByteArray value = p.values_.value(0);
            value.resize(8, '\0');
            entry += value;
        }
        stream += entry;
    }
    if (propertyStream)
        cfb.addStream(path + QStringLiteral("/__properties_version1.0"), stream);
}

void MsgWriter::write(testsupport::CfbWriter& cfb, const QString& path, int headerSize, Names& names) const
{
    const QByteArray header = QByteArray(8, '\0') + le32(quint32(recipients_.size())) + le32(quint32(attachments_.size()))
        + le32(quint32(recipients_.size())) + le32(quint32(attachments_.size()));
    QList<MsgProp> own = properties_;
    writeObject(cfb, path, headerSize, own, propertyStream_, header, names);
    for (int i = 0; i < recipients_.size(); ++i)
        writeObject(cfb, path + recipientPath(i), 8, recipients_.at(i), true, QByteArray(), names);
    for (int i = 0; i < attachments_.size(); ++i) {
        const MsgAttachment& attachment = attachments_.at(i);
        const QString storage = path + attachmentPath(i);
        QList<MsgProp> properties = attachment.properties;
        const bool holdsObject = attachment.message || !attachment.objectStreams.isEmpty();
        if (holdsObject)
            properties.append(MsgProp(kObject, 0x3701));
        writeObject(cfb, storage, 8, properties, true, QByteArray(), names);
        const QString object = storage + QLatin1Char('/') + valueStreamName(0x3701, kObject);
        if (attachment.message)
            attachment.message->write(cfb, object, 24, names);
        for (const auto& [name, bytes] : attachment.objectStreams)
            cfb.addStream(object + QLatin1Char('/') + name, bytes);
    }
}

QByteArray MsgWriter::bytes(testsupport::CfbLayout* layout, testsupport::CfbWriter::ChainLayout chains) const
{
    testsupport::CfbWriter cfb;
    cfb.setChainLayout(chains);
    Names names;
    write(cfb, QString(), 32, names);
    const QString map = QStringLiteral("/__nameid_version1.0/");
    cfb.addStream(map + QStringLiteral("__substg1.0_00020102"), names.guids.join());
    cfb.addStream(map + QStringLiteral("__substg1.0_00030102"), names.entries);
    cfb.addStream(map + QStringLiteral("__substg1.0_00040102"), names.strings);
    return cfb.build(layout);
}

} // namespace msgwriter
