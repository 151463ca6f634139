#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/mapi_properties.h"
#include "tnef/utf16le.h"
#include "tnef_test_util.h"

#include <QGuiApplication>
#include <QStringDecoder>

#include <memory>

using namespace tnefwriter;
using tneftest::Diagnostics;

namespace {

struct BlockDeleter {
    void operator()(MapiProperty** p) const { mapi_free_properties(p); }
};
using Block = std::unique_ptr<MapiProperty*, BlockDeleter>;

Block decode(const QByteArray& bytes)
{
    return Block(mapi_parse_properties(size_t(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData())));
}

int countOf(MapiProperty** block)
{
    int n = 0;
    while (block[n])
        ++n;
    return n;
}

QByteArray bufOf(const MapiValue& v, qsizetype size)
{
    return QByteArray(reinterpret_cast<const char*>(v.data.buf), size);
}

// Follows every property under test, so that a value that consumes the
// wrong number of bytes shows up as a broken sentinel.
const quint16 kSentinelId = 0x6666;
const quint32 kSentinelValue = 0xC0FFEE42;

void verifySentinel(MapiProperty* p)
{
    QVERIFY(p);
    QCOMPARE(p->id, quint32(kSentinelId));
    QCOMPARE(p->type, quint32(PtypInteger32));
    QCOMPARE(p->value_count, quint64(1));
    QCOMPARE(p->values[0].data.u32, kSentinelValue);
}

const QString kOverrunLine = QStringLiteral("Property block runs past its end, input file may be corrupted");
const QString kInvalidLine = QStringLiteral("Invalid attribute, input file may be corrupted");
const QString kUndefinedLine = QStringLiteral("Undefined attribute, input file may be corrupted");

} // namespace

class TestMapiProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyBlockGivesEmptyList()
    {
        Diagnostics diag;
        Block block = decode(MapiBlockWriter().bytes());
        QVERIFY(block);
        QCOMPARE(countOf(block.get()), 0);
        QVERIFY(diag.lines().isEmpty());
    }

    void fixedSizeValues_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<quint64>("len");
        QTest::addColumn<QByteArray>("expected");  // the inline value, little-endian

        QTest::newRow("int16 takes 4 bytes") << MapiProp::int16(0x0017, 0xBEEF).encode() << 0x0002u << quint64(2)
                                             << le16(0xBEEF);
        QTest::newRow("int32") << MapiProp::int32(0x3FDE, 0x12345678).encode() << 0x0003u << quint64(4)
                               << le32(0x12345678);
        QTest::newRow("float32") << MapiProp::float32(0x7001, 1.5f).encode() << 0x0004u << quint64(4)
                                 << float32Bytes(1.5f);
        QTest::newRow("boolean") << MapiProp::boolean(0x0E1B, true).encode() << 0x000Bu << quint64(4) << le32(1);
        QTest::newRow("float64") << MapiProp::float64(0x7002, -2.25).encode() << 0x0005u << quint64(8)
                                 << float64Bytes(-2.25);
        QTest::newRow("currency") << MapiProp::currency(0x7003, -5).encode() << 0x0006u << quint64(8)
                                  << le64(quint64(-5));
        QTest::newRow("floating time") << MapiProp::floatingTime(0x7004, 45000.5).encode() << 0x0007u
                                       << quint64(8) << float64Bytes(45000.5);
        QTest::newRow("int64") << MapiProp::int64(0x7005, 0x0102030405060708ULL).encode() << 0x0014u << quint64(8)
                               << le64(0x0102030405060708ULL);
        QTest::newRow("time") << MapiProp::time(0x0039, 0x01D9ABCDEF012345ULL).encode() << 0x0040u << quint64(8)
                              << le64(0x01D9ABCDEF012345ULL);
        const QByteArray guid = guidBytes(0x00062004, 0x1234, 0x5678, QByteArray::fromHex("C000000000000046"));
        QTest::newRow("guid") << MapiProp::guid(0x7006, guid).encode() << 0x0048u << quint64(16) << guid;
    }
    void fixedSizeValues()
    {
        QFETCH(QByteArray, property);
        QFETCH(quint32, type);
        QFETCH(quint64, len);
        QFETCH(QByteArray, expected);

        Diagnostics diag;
        Block block = decode(MapiBlockWriter()
                                 .appendRaw(property + MapiProp::int32(kSentinelId, kSentinelValue).encode())
                                 .withCount(2)
                                 .bytes());
        QVERIFY(block);
        QCOMPARE(countOf(block.get()), 2);
        MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, type);
        QCOMPARE(p->value_count, quint64(1));
        QVERIFY(!p->guid);
        QCOMPARE(p->values[0].len, len);
        const MapiValue& v = p->values[0];
        switch (type) {
        case 0x0002:
            QCOMPARE(le16(v.data.u16), expected);
            break;
        case 0x0003:
        case 0x0004:
        case 0x000B:
            QCOMPARE(le32(v.data.u32), expected);
            break;
        case 0x0048:
            QCOMPARE(guidBytes(v.data.guid.data1, v.data.guid.data2, v.data.guid.data3,
                               QByteArray(reinterpret_cast<const char*>(v.data.guid.data4), 8)),
                     expected);
            break;
        default:
            QCOMPARE(le32(v.data.words.low) + le32(v.data.words.high), expected);
            break;
        }
        verifySentinel(block.get()[1]);
        QVERIFY(diag.lines().isEmpty());
    }

    void int16AtTheVeryEndMayLackItsPadding()
    {
        Block block = decode(le32(1) + le16(0x0002) + le16(0x0017) + le16(7));
        QVERIFY(block);
        QCOMPARE(block.get()[0]->values[0].data.u16, quint16(7));
    }

    void variableSizeValues_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<int>("consumed");      // bytes of the block taken by the property
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("bytes");  // decoded bytes including the added zero
        QTest::addColumn<quint64>("len");

        QTest::newRow("string8 of 5 takes 4 + 8")
            << MapiProp::string8(0x0037, "Hello", false).encode() << 4 + 4 + 4 + 8 << 0x001Eu
            << QByteArray("Hello", 6) << quint64(5);
        QTest::newRow("binary of 8 has no padding")
            << MapiProp::binary(0x1013, "12345678").encode() << 4 + 4 + 4 + 8 << 0x0102u
            << QByteArray("12345678", 9) << quint64(8);
        QTest::newRow("empty binary") << MapiProp::binary(0x1013, QByteArray()).encode() << 12 << 0x0102u
                                      << QByteArray(1, '\0') << quint64(0);
        QTest::newRow("object") << MapiProp::object(0x3701, QByteArray("\x0B\x00\x01", 3)).encode() << 16
                                << 0x000Du << QByteArray("\x0B\x00\x01\x00", 4) << quint64(3);
        QTest::newRow("unicode of two letters") << MapiProp::unicode(0x0037, QStringLiteral("ab")).encode() << 4 + 4 + 4 + 8
                                                << 0x001Fu << QByteArray("ab", 3) << quint64(3);
        QTest::newRow("unicode e-acute") << MapiProp::unicode(0x0037, QString(QChar(0x00E9))).encode() << 16
                                         << 0x001Fu << QByteArray("\xC3\xA9", 3) << quint64(3);
        QTest::newRow("unicode CJK") << MapiProp::unicode(0x0037, QString(QChar(0x4E2D))).encode() << 16 << 0x001Fu
                                     << QByteArray("\xE4\xB8\xAD", 4) << quint64(4);
        QTest::newRow("unicode emoji pairs its surrogates")
            << MapiProp::unicode(0x0037, QString::fromUtf8("\xF0\x9F\x98\x80")).encode() << 4 + 4 + 4 + 8
            << 0x001Fu << QByteArray("\xF0\x9F\x98\x80", 5) << quint64(5);
        QTest::newRow("unicode without its terminator")
            << MapiProp::unicode(0x0037, QStringLiteral("ab"), false).encode() << 4 + 4 + 4 + 4 << 0x001Fu
            << QByteArray("ab", 3) << quint64(3);
        QTest::newRow("empty unicode") << MapiProp::unicode(0x0037, QString(), false).encode() << 12 << 0x001Fu
                                       << QByteArray(1, '\0') << quint64(0);
        QTest::newRow("padding bytes are not checked")
            << MapiProp::string8(0x0037, "Hi", true).withPadding('\xAA').encode() << 16 << 0x001Eu
            << QByteArray("Hi\0", 4) << quint64(3);
    }
    void variableSizeValues()
    {
        QFETCH(QByteArray, property);
        QFETCH(int, consumed);
        QFETCH(quint32, type);
        QFETCH(QByteArray, bytes);
        QFETCH(quint64, len);

        QCOMPARE(property.size(), consumed);
        Diagnostics diag;
        Block block = decode(MapiBlockWriter()
                                 .appendRaw(property + MapiProp::int32(kSentinelId, kSentinelValue).encode())
                                 .withCount(2)
                                 .bytes());
        QVERIFY(block);
        MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, type);
        QCOMPARE(p->value_count, quint64(1));
        QCOMPARE(p->values[0].len, len);
        QCOMPARE(bufOf(p->values[0], bytes.size()), bytes);
        verifySentinel(block.get()[1]);
        QVERIFY(diag.lines().isEmpty());
    }

    void multiValuedProperties_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QList<QByteArray>>("values");  // inline values little-endian, or buffer bytes

        QTest::newRow("int32 x3") << MapiProp::multi(PtypInteger32, 0x7010, {le32(1), le32(2), le32(0xFFFFFFFF)}).encode()
                                  << 0x0003u << QList<QByteArray>{le32(1), le32(2), le32(0xFFFFFFFF)};
        QTest::newRow("int16 x3 padded each") << MapiProp::multi(PtypInteger16, 0x7011, {le16(9), le16(8), le16(7)}).encode()
                                              << 0x0002u << QList<QByteArray>{le16(9), le16(8), le16(7)};
        QTest::newRow("time x2") << MapiProp::multi(PtypTime, 0x7012, {le64(1), le64(0x0123456789ABCDEFULL)}).encode()
                                 << 0x0040u << QList<QByteArray>{le64(1), le64(0x0123456789ABCDEFULL)};
        QTest::newRow("string8 x2") << MapiProp::multi(PtypString8, 0x7013, {"one", QByteArray("three\0", 6)}).encode()
                                    << 0x001Eu << QList<QByteArray>{QByteArray("one"), QByteArray("three\0", 6)};
        QTest::newRow("unicode x2") << MapiProp::multi(PtypString, 0x7014, {utf16le(QStringLiteral("x")), utf16le(QStringLiteral("yz"))}).encode()
                                    << 0x001Fu << QList<QByteArray>{QByteArray("x"), QByteArray("yz")};
        QTest::newRow("binary x3") << MapiProp::multi(PtypBinary, 0x7015, {"a", QByteArray(), "abcde"}).encode()
                                   << 0x0102u << QList<QByteArray>{"a", QByteArray(), "abcde"};
        const QByteArray g1 = psAddress(), g2 = psPublicStrings();
        QTest::newRow("guid x2") << MapiProp::multi(PtypGuid, 0x7016, {g1, g2}).encode() << 0x0048u
                                 << QList<QByteArray>{g1, g2};
    }
    void multiValuedProperties()
    {
        QFETCH(QByteArray, property);
        QFETCH(quint32, type);
        QFETCH(QList<QByteArray>, values);

        Block block = decode(MapiBlockWriter()
                                 .appendRaw(property + MapiProp::int32(kSentinelId, kSentinelValue).encode())
                                 .withCount(2)
                                 .bytes());
        QVERIFY(block);
        MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, type);
        QCOMPARE(p->value_count, quint64(values.size()));
        for (int i = 0; i < values.size(); ++i) {
            const MapiValue& v = p->values[i];
            QByteArray got;
            if (type == 0x0002)
                got = le16(v.data.u16);
            else if (type == 0x0003)
                got = le32(v.data.u32);
            else if (type == 0x0040)
                got = le32(v.data.words.low) + le32(v.data.words.high);
            else if (type == 0x0048)
                got = guidBytes(v.data.guid.data1, v.data.guid.data2, v.data.guid.data3,
                                QByteArray(reinterpret_cast<const char*>(v.data.guid.data4), 8));
            else if (type == 0x001F)
                got = QByteArray(reinterpret_cast<const char*>(v.data.buf));  // UTF-8 up to its zero
            else
                got = QByteArray(reinterpret_cast<const char*>(v.data.buf), qsizetype(v.len));
            QCOMPARE(got, values.at(i));
        }
        verifySentinel(block.get()[1]);
    }

    void valueCountZeroLeavesTypeUnchecked()
    {
        Diagnostics diag;
        Block block = decode(MapiBlockWriter()
                                 .add(MapiProp(PtypErrorCode | PtypMultipleFlag, 0x7020))
                                 .add(MapiProp(PtypBinary, 0x7021))
                                 .add(MapiProp::int32(kSentinelId, kSentinelValue))
                                 .bytes());
        QVERIFY(block);
        QCOMPARE(countOf(block.get()), 3);
        QCOMPARE(block.get()[0]->value_count, quint64(0));
        QCOMPARE(block.get()[0]->type, quint32(PtypErrorCode));
        QVERIFY(!block.get()[0]->values);
        QCOMPARE(block.get()[1]->value_count, quint64(0));
        verifySentinel(block.get()[2]);
        QVERIFY(diag.lines().isEmpty());
    }

    void namedProperties()
    {
        const QByteArray guid = guidBytes(0x00062004, 0x0102, 0x0304, QByteArray::fromHex("C000000000000046"));
        Block block = decode(MapiBlockWriter()
                                 .add(MapiProp::string8(0x8000, "a@example.com").named(guid, 0x8205))
                                 .add(MapiProp::unicode(0x8001, QStringLiteral("blue")).named(psPublicStrings(), QStringList{QStringLiteral("Keywords")}))
                                 .add(MapiProp::int32(0x8002, 5).named(psPublicStrings(), QStringList{QStringLiteral("x"), QString::fromUtf8("Ünïcode \xF0\x9F\x98\x80")}))
                                 .add(MapiProp::int32(kSentinelId, kSentinelValue))
                                 .bytes());
        QVERIFY(block);
        QCOMPARE(countOf(block.get()), 4);

        MapiProperty* numeric = block.get()[0];
        QCOMPARE(numeric->id, 0x8205u);
        QVERIFY(numeric->guid);
        QCOMPARE(numeric->guid->data1, 0x00062004u);
        QCOMPARE(numeric->guid->data2, quint16(0x0102));
        QCOMPARE(numeric->guid->data3, quint16(0x0304));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(numeric->guid->data4), 8), QByteArray::fromHex("C000000000000046"));
        QCOMPARE(numeric->name_count, quint64(0));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(numeric->values[0].data.buf)), QByteArray("a@example.com"));

        MapiProperty* byName = block.get()[1];
        QCOMPARE(byName->id, 0x8001u);
        QCOMPARE(byName->name_count, quint64(1));
        QCOMPARE(QByteArray(byName->names[0].text), QByteArray("Keywords"));
        QCOMPARE(byName->names[0].len, quint64(8));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(byName->values[0].data.buf)), QByteArray("blue"));

        MapiProperty* twoNames = block.get()[2];
        QCOMPARE(twoNames->name_count, quint64(2));
        QCOMPARE(QByteArray(twoNames->names[0].text), QByteArray("x"));
        QCOMPARE(QString::fromUtf8(twoNames->names[1].text), QString::fromUtf8("Ünïcode \xF0\x9F\x98\x80"));
        QCOMPARE(twoNames->values[0].data.u32, 5u);
        verifySentinel(block.get()[3]);
    }

    void badTypesSpoilTheWholeBlock_data()
    {
        QTest::addColumn<quint16>("type");
        QTest::addColumn<QString>("line");
        QTest::newRow("unspecified") << quint16(0x0000) << kInvalidLine;
        QTest::newRow("null") << quint16(0x0001) << kInvalidLine;
        QTest::newRow("error code") << quint16(0x000A) << kInvalidLine;
        QTest::newRow("just above guid") << quint16(0x0049) << kUndefinedLine;
        QTest::newRow("just above binary") << quint16(0x0103) << kUndefinedLine;
        QTest::newRow("gap between types") << quint16(0x0008) << kUndefinedLine;
        QTest::newRow("gap below time") << quint16(0x0041) << kUndefinedLine;
        QTest::newRow("multi error code") << quint16(0x100A) << kInvalidLine;
        QTest::newRow("two flags") << quint16(0x3003) << kUndefinedLine;
    }
    void badTypesSpoilTheWholeBlock()
    {
        QFETCH(quint16, type);
        QFETCH(QString, line);
        Diagnostics diag;
        // A good property first: what was decoded before the bad one is not
        // returned either (and must not leak).
        MapiProp bad(type, 0x7030);
        bad.addValue(le32(1));
        Block block = decode(MapiBlockWriter().add(MapiProp::string8(0x0037, "kept?")).add(bad).bytes());
        QVERIFY(!block);
        QCOMPARE(diag.lines(), QStringList{line});
    }

    void contentsRunningPastTheBlockMakeItCorrupt_data()
    {
        QTest::addColumn<QByteArray>("block");
        const QByteArray one = le32(1);
        QTest::newRow("shorter than the count") << QByteArray("\x01\x00", 2);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("count beyond the properties") << MapiBlockWriter().add(MapiProp::int32(0x3FDE, 1)).withCount(2).bytes();
        QTest::newRow("count 0xFFFFFFFF") << MapiBlockWriter().add(MapiProp::int32(0x3FDE, 1)).withCount(0xFFFFFFFF).bytes();
        QTest::newRow("value count 0xFFFFFFFF") << MapiBlockWriter().add(MapiProp::binary(0x1013, "x").withValueCount(0xFFFFFFFF)).bytes();
        QTest::newRow("value count one too many") << MapiBlockWriter().add(MapiProp::multi(PtypInteger32, 0x7040, {le32(1), le32(2)}).withValueCount(3)).bytes();
        QTest::newRow("string length past the end") << one + le16(PtypString8) + le16(0x0037) + one + le32(100) + "short";
        QTest::newRow("string length 0xFFFFFFFF") << one + le16(PtypBinary) + le16(0x1013) + one + le32(0xFFFFFFFF) + "abcd";
        QTest::newRow("unicode length past the end") << one + le16(PtypString) + le16(0x0037) + one + le32(9) + utf16le(QStringLiteral("ab"));
        QTest::newRow("int32 cut short") << one + le16(PtypInteger32) + le16(0x3FDE) + QByteArray("\x01\x02", 2);
        QTest::newRow("int16 cut short") << one + le16(PtypInteger16) + le16(0x0017) + QByteArray("\x01", 1);
        QTest::newRow("time cut short") << one + le16(PtypTime) + le16(0x0039) + le32(1);
        QTest::newRow("guid cut short") << one + le16(PtypGuid) + le16(0x7006) + QByteArray(15, 'g');
        QTest::newRow("tag cut short") << one + le16(PtypInteger32);
        QTest::newRow("value count cut short") << one + le16(PtypBinary) + le16(0x1013) + QByteArray("\x01", 1);
        QTest::newRow("named guid cut short") << one + le16(PtypInteger32) + le16(0x8001) + QByteArray(10, 'g');
        QTest::newRow("named kind cut short") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + QByteArray(2, '\0');
        QTest::newRow("named numeric id cut short") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + le32(0) + QByteArray(3, '\0');
        QTest::newRow("absurd name count") << MapiBlockWriter().add(MapiProp::int32(0x8001, 1).named(psAddress(), QStringList{QStringLiteral("n")}).withKindWord(0x44000000)).bytes();
        QTest::newRow("name length past the end") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + le32(1) + le32(0x7FFFFFF0) + QByteArray(8, 'n');
        QTest::newRow("second property missing") << MapiBlockWriter().add(MapiProp::string8(0x0037, "s")).withCount(2).bytes();
    }
    void contentsRunningPastTheBlockMakeItCorrupt()
    {
        QFETCH(QByteArray, block);
        Diagnostics diag;
        tneftest::AllocationWatch watch;
        Block decoded = decode(block);
        QVERIFY(!decoded);
        QCOMPARE(diag.lines(), QStringList{kOverrunLine});
        if (tneftest::AllocationWatch::available())
            QVERIFY2(watch.peak() <= 65536 + 64 * size_t(block.size()), qPrintable(QString::number(watch.peak())));
    }

    void utf16ToUtf8_data()
    {
        QTest::addColumn<QByteArray>("utf16");
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("nothing") << QByteArray() << QByteArray();
        QTest::newRow("one stray byte") << QByteArray("A", 1) << QByteArray();
        QTest::newRow("odd last byte ignored") << QByteArray("A\0B", 3) << QByteArray("A");
        QTest::newRow("two-byte form") << QByteArray("\xE9\x00", 2) << QByteArray("\xC3\xA9");
        QTest::newRow("boundary 0x7FF") << QByteArray("\xFF\x07", 2) << QByteArray("\xDF\xBF");
        QTest::newRow("three-byte form") << QByteArray("\x2D\x4E", 2) << QByteArray("\xE4\xB8\xAD");
        QTest::newRow("surrogate pair") << QByteArray("\x3D\xD8\x00\xDE", 4) << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("highest pair") << QByteArray("\xFF\xDB\xFF\xDF", 4) << QByteArray("\xF4\x8F\xBF\xBF");
        QTest::newRow("lone high at the end") << QByteArray("a\0\x3D\xD8", 4) << QByteArray("a\xEF\xBF\xBD");
        QTest::newRow("lone low") << QByteArray("\x00\xDE" "b\0", 4) << QByteArray("\xEF\xBF\xBD" "b");
        QTest::newRow("high then letter") << QByteArray("\x3D\xD8" "c\0", 4) << QByteArray("\xEF\xBF\xBD" "c");
        QTest::newRow("two highs") << QByteArray("\x3D\xD8\x3D\xD8", 4) << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD");
        QTest::newRow("stops at a zero unit") << QByteArray("a\0\0\0b\0", 6) << QByteArray("a");
    }
    void utf16ToUtf8()
    {
        QFETCH(QByteArray, utf16);
        QFETCH(QByteArray, utf8);
        char* text = utf16le_to_utf8(size_t(utf16.size()), reinterpret_cast<const unsigned char*>(utf16.constData()));
        QVERIFY(text);
        QCOMPARE(QByteArray(text), utf8);
        free(text);
    }

    void utf16OutputIsAlwaysValidUtf8()
    {
        // Units of every kind in every order, including the worst case for
        // the output size (all lone surrogates).
        QByteArray units;
        const quint16 picks[] = {0x0041, 0x00E9, 0x07FF, 0x0800, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF, 0xFFFF, 0xD800};
        for (quint16 a : picks)
            for (quint16 b : picks)
                for (quint16 c : picks)
                    units += le16(a) + le16(b) + le16(c);
        units += QByteArray(4000, '\xD8');  // 2000 x U+D8D8, lone high surrogates
        char* text = utf16le_to_utf8(size_t(units.size()), reinterpret_cast<const unsigned char*>(units.constData()));
        QVERIFY(text);
        const QByteArray out(text);
        free(text);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(out);
        QVERIFY(!decoder.hasError());
        QVERIFY(decoded.contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
    }
};

QUORVIA_GUI_TEST_MAIN(TestMapiProperties)
#include "tst_mapi_properties.moc"
