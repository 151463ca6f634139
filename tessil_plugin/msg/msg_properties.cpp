#include "msg/msg_properties.h"

#include "common/codepage.h"
#include "message/shared_bytes.h"
#include "tnef/mapi_properties.h"

#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

enum : quint16 {
    kBodyHtml = 0x1013,
    kInternetCodepage = 0x3FDE,
    kMessageLocaleId = 0x3FF1,
    kMessageCodepage = 0x3FFD,
};

constexpr char kValuePrefix[] = "__substg1.0_";

// The size of one value of a fixed-size type as a multi-valued stream
// holds it; 0 for a type held otherwise.
qsizetype fixedSize(quint16 type)
{
    switch (type) {
    case PTYP_INTEGER16:
        return 2;
    case PTYP_INTEGER32:
    case PTYP_FLOATING32:
    case PTYP_ERROR_CODE:
        return 4;
    case PTYP_BOOLEAN:
        return 1;
    case PTYP_FLOATING64:
    case PTYP_CURRENCY:
    case PTYP_FLOATING_TIME:
    case PTYP_INTEGER64:
    case PTYP_TIME:
        return 8;
    default:
        return 0;
    }
}

// A fixed-size value in the model's flat form: 16-bit integers widened to
// 4 bytes, booleans as 0 or 1 in 4 bytes.
QByteArray flatFixed(quint16 type, const unsigned char* bytes)
{
    switch (type) {
    case PTYP_INTEGER16: {
        char out[4];
        qToLittleEndian<quint32>(qFromLittleEndian<quint16>(bytes), out);
        return QByteArray(out, 4);
    }
    case PTYP_BOOLEAN: {
        char out[4];
        qToLittleEndian<quint32>(bytes[0] != 0 ? 1 : 0, out);
        return QByteArray(out, 4);
    }
    default:
        return QByteArray(reinterpret_cast<const char*>(bytes), fixedSize(type));
    }
}

std::string valueStreamName(quint16 id, quint16 type)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%04X%04X", kValuePrefix, unsigned(id), unsigned(type));
    return name;
}

std::string multiValueStreamName(quint16 id, quint16 type, quint32 index)
{
    char name[48];
    std::snprintf(name, sizeof name, "%s%04X%04X-%08X", kValuePrefix, unsigned(id), unsigned(type), unsigned(index));
    return name;
}

// Strings as the model keeps them: UTF-8 and a terminating zero.
QByteArray modelString(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    utf8.append('\0');
    return utf8;
}

QString text16(const QByteArray& bytes)
{
    qsizetype units = bytes.size() / 2;
    while (units > 0 && bytes.at(2 * units - 1) == 0 && bytes.at(2 * units - 2) == 0)
        --units;
    QStringDecoder utf16(QStringDecoder::Utf16LE, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf16.decode(QByteArrayView(bytes).first(2 * units));
    // A final odd byte is a damaged character, not nothing.
    if (bytes.size() % 2 == 1 && units == bytes.size() / 2 && bytes.back() != 0)
        text += QChar(QChar::ReplacementCharacter);
    return text;
}

bool startsWithFolded(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char a = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] - 'A' + 'a') : text[i];
        if (a != prefix[i])
            return false;
    }
    return true;
}

bool isHexDigits(std::string_view text)
{
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

class PropertyLoader
{
public:
    PropertyLoader(MsgContainer& container, std::uint32_t storage, const MsgCodePages& codePages)
        : container_(container)
        , storage_(storage)
        , codePages_(codePages)
    {
    }

    bool damaged = false;
    std::uint32_t objectStorage = DirectoryEntry::kNoEntry;

    // Fills `property` (id and type already set from the entry).
    void load(const MsgPropertyEntry& entry, MessageProperty& property)
    {
        const quint16 type = entry.type & quint16(~PTYP_MULTIPLE);
        if (entry.type & PTYP_MULTIPLE) {
            if (type == PTYP_STRING8 || type == PTYP_STRING || type == PTYP_BINARY)
                loadMultipleVariable(entry, type, property);
            else
                loadMultipleFixed(entry, type, property);
            return;
        }
        if (fixedSize(type) > 0) {
            property.values.append(flatFixed(type, entry.value));
            return;
        }
        if (type == PTYP_OBJECT) {
            const std::uint32_t index = container_.find(storage_, valueStreamName(entry.id, entry.type));
            if (index != DirectoryEntry::kNoEntry && container_.entry(index).is_storage)
                objectStorage = index;
            return;
        }
        if (type != PTYP_STRING8 && type != PTYP_STRING && type != PTYP_BINARY && type != PTYP_GUID)
            return; // a type without a stored form: listed, with no value
        const std::optional<QByteArray> stream = container_.stream(storage_, valueStreamName(entry.id, entry.type));
        if (!stream) {
            damaged = damaged || expectedBytes(entry, type) > 0;
            return;
        }
        if (qint64(stream->size()) < expectedBytes(entry, type))
            damaged = true;
        if (type == PTYP_GUID && stream->size() != 16) {
            damaged = true;
            return;
        }
        property.values.append(variableValue(entry.id, type, *stream));
    }

private:
    // What the entry says the value stream holds, without a string's terminator.
    static qint64 expectedBytes(const MsgPropertyEntry& entry, quint16 type)
    {
        const qint64 size = entry.valueU32();
        if (type == PTYP_STRING)
            return qMax<qint64>(0, size - 2);
        if (type == PTYP_STRING8)
            return qMax<qint64>(0, size - 1);
        return size;
    }

    QByteArray variableValue(quint16 id, quint16 type, const QByteArray& bytes) const
    {
        switch (type) {
        case PTYP_STRING8:
            // An HTML body's text is in the Internet code page, like its bytes.
            return modelString(msgText8(bytes, id == kBodyHtml && codePages_.html ? codePages_.html : codePages_.strings));
        case PTYP_STRING:
            return modelString(text16(bytes));
        default:
            return bytes;
        }
    }

    void loadMultipleFixed(const MsgPropertyEntry& entry, quint16 type, MessageProperty& property)
    {
        const qsizetype size = type == PTYP_GUID ? 16 : fixedSize(type);
        if (size == 0 || type == PTYP_BOOLEAN || type == PTYP_ERROR_CODE)
            return; // no multi-valued form
        const std::optional<QByteArray> stream = container_.stream(storage_, valueStreamName(entry.id, entry.type));
        if (!stream) {
            damaged = damaged || entry.valueU32() > 0;
            return;
        }
        if (stream->size() % size != 0 || qint64(stream->size()) < qint64(entry.valueU32()))
            damaged = true;
        const qsizetype count = stream->size() / size;
        // Each value is a view into one buffer, not an array of its own:
        // the stream's, or one of the 16-bit values widened to 32 bits.
        QByteArray all = *stream;
        qsizetype step = size;
        if (type == PTYP_INTEGER16) {
            all = QByteArray(count * 4, Qt::Uninitialized);
            for (qsizetype i = 0; i < count; ++i)
                qToLittleEndian<quint32>(qFromLittleEndian<quint16>(stream->constData() + i * 2), all.data() + i * 4);
            step = 4;
        }
        property.values.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            property.values.append(sharedBytes(all, all.constData() + i * step, quint64(step)));
    }

    void loadMultipleVariable(const MsgPropertyEntry& entry, quint16 type, MessageProperty& property)
    {
        // The length stream: per value its length, in 8 bytes for binaries
        // and 4 for strings. Only its length matters here: each value's own
        // stream says how long the value is.
        const std::optional<QByteArray> lengths = container_.stream(storage_, valueStreamName(entry.id, entry.type));
        if (!lengths) {
            damaged = damaged || entry.valueU32() > 0;
            return;
        }
        const qsizetype entrySize = type == PTYP_BINARY ? 8 : 4;
        if (lengths->size() % entrySize != 0)
            damaged = true;
        const qsizetype count = lengths->size() / entrySize;
        for (qsizetype i = 0; i < count; ++i) {
            const std::optional<QByteArray> value =
                container_.stream(storage_, multiValueStreamName(entry.id, entry.type, quint32(i)));
            if (!value) {
                // Every value named by the length stream has a stream; the
                // values after a missing one cannot be placed.
                damaged = true;
                return;
            }
            property.values.append(variableValue(entry.id, type, *value));
        }
    }

    MsgContainer& container_;
    std::uint32_t storage_;
    MsgCodePages codePages_;
};

} // namespace

QString msgText8(QByteArray bytes, quint32 codePage)
{
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    if (bytes.isEmpty())
        return QStringLiteral("");
    std::u16string wide;
    codePage = codepage::labelledTextPage(codePage);
    if (codePage != 0 && codepage::decodeStrict(codePage, bytes.constData(), std::size_t(bytes.size()), wide))
        return QString::fromStdU16String(wide);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    codepage::decodeStrict(1252, bytes.constData(), std::size_t(bytes.size()), wide);
    return QString::fromStdU16String(wide);
}

MsgCodePages msgCodePages(const QList<MsgPropertyEntry>& entries)
{
    quint32 messageCodePage = 0;
    quint32 localeId = 0;
    MsgCodePages pages;
    for (const MsgPropertyEntry& entry : entries) {
        if (entry.type != PTYP_INTEGER32)
            continue;
        if (entry.id == kMessageCodepage && !messageCodePage)
            messageCodePage = entry.valueU32();
        else if (entry.id == kMessageLocaleId && !localeId)
            localeId = entry.valueU32();
        else if (entry.id == kInternetCodepage && !pages.html)
            pages.html = entry.valueU32();
    }
    // A code page the layer cannot decode names nothing usable.
    if (messageCodePage && codepage::isSupported(messageCodePage))
        pages.strings = messageCodePage;
    else if (localeId)
        pages.strings = codepage::ansiCodePageForLocale(localeId);
    return pages;
}

MsgPropertyStream loadMsgPropertyStream(MsgContainer& container, std::uint32_t storage, MsgObject object)
{
    MsgPropertyStream result;
    if (const std::optional<QByteArray> stream = container.stream(storage, "__properties_version1.0"))
        result = readMsgPropertyStream(*stream, object);
    else
        result.damaged = true;

    // A value stream that no entry names (every one has an entry in an
    // intact file) is read as well: a damaged property stream then still
    // gives the values that are there.
    QSet<quint32> listed;
    for (const MsgPropertyEntry& entry : std::as_const(result.entries))
        listed.insert(quint32(entry.id) << 16 | entry.type);
    const std::string_view prefix(kValuePrefix);
    for (std::uint32_t child : container.children(storage)) {
        const DirectoryEntry& entry = container.entry(child);
        const std::string_view name(entry.name);
        if (name.size() != prefix.size() + 8 || !startsWithFolded(name, prefix) || !isHexDigits(name.substr(prefix.size())))
            continue;
        const quint32 tag = quint32(std::stoul(std::string(name.substr(prefix.size())), nullptr, 16));
        if (listed.contains(tag))
            continue;
        listed.insert(tag);
        MsgPropertyEntry made;
        made.id = quint16(tag >> 16);
        made.type = quint16(tag & 0xFFFF);
        // The size the entry would have recorded, so the value is not taken for cut short.
        qToLittleEndian<quint32>(entry.is_storage ? 0xFFFFFFFF : entry.size, made.value);
        result.entries.append(made);
    }
    return result;
}

MsgObjectProperties readMsgProperties(MsgContainer& container, std::uint32_t storage,
                                      const QList<MsgPropertyEntry>& entries, const MsgNamedProperties& names,
                                      const MsgCodePages& codePages)
{
    MsgObjectProperties result;
    PropertyLoader loader(container, storage, codePages);
    result.properties.reserve(entries.size());
    for (const MsgPropertyEntry& entry : entries) {
        MessageProperty property;
        property.id = entry.id;
        property.type = entry.type & quint16(~PTYP_MULTIPLE);
        property.multiValued = (entry.type & PTYP_MULTIPLE) != 0;
        loader.load(entry, property);
        if (property.type == PTYP_STRING8)
            property.type = PTYP_STRING; // decoded to UTF-8 above
        if (!property.values.isEmpty())
            property.value = property.values.first();
        if (std::optional<MessagePropertyName> name = names.nameOf(entry.id)) {
            if (name->stringName.isNull())
                property.id = quint16(name->numericName);
            property.name = std::move(name);
        }
        result.properties.append(std::move(property));
    }
    result.objectStorage = loader.objectStorage;
    result.damaged = loader.damaged;
    return result;
}
