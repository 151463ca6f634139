#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/mapi_properties.h"
#include "tnef/utf16le.h"
#include "tnef_test_util.h"

#include <QGuiApplication>

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

// A value as bytes: fixed-size values are held inline in little-endian order
// (this runs on little-endian machines), variable-size ones through buf.
QByteArray valueBytes(const MapiProperty* p, quint64 i)
{
    const MapiValue& v = p->values[i];
    if (mapi_type_is_variable(p->type))
        return QByteArray(reinterpret_cast<const char*>(v.data.buf), qsizetype(v.len));
    return QByteArray(reinterpret_cast<const char*>(&v.data), qsizetype(v.len));
}

// Written after the property under test: a value that consumes the wrong
// number of bytes shows up as a broken sentinel.
const MapiProp kSentinel = MapiProp::int32(0x6666, 0xC0FFEE42);

Block decodeWithSentinel(const MapiProp& p)
{
    return decode(MapiBlockWriter().add(p).add(kSentinel).bytes());
}

bool sentinelIntact(MapiProperty** block)
{
    const MapiProperty* s = block[1];
    return s && !block[2] && s->id == 0x6666 && s->type == PtypInteger32 && s->value_count == 1
        && s->values[0].data.u32 == 0xC0FFEE42u;
}

const QString kOverrun = QStringLiteral("Property block runs past its end, input file may be corrupted");

} // namespace

class TestMapiProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyBlockGivesEmptyList()
    {
        Block block = decode(MapiBlockWriter().bytes());
        QVERIFY(block);
        QVERIFY(!block.get()[0]);
    }

    void singleValues_data()
    {
        QTest::addColumn<MapiProp>("property");
        QTest::addColumn<QByteArray>("value");  // as held, for strings including the added zero
        QTest::addColumn<quint64>("len");

        QTest::newRow("int16 padded to 4") << MapiProp::int16(0x0017, 0xBEEF) << le16(0xBEEF) << quint64(2);
        QTest::newRow("int32") << MapiProp::int32(0x3FDE, 0x12345678) << le32(0x12345678) << quint64(4);
        QTest::newRow("float32") << MapiProp::float32(0x7001, 1.5f) << float32Bytes(1.5f) << quint64(4);
        QTest::newRow("boolean") << MapiProp::boolean(0x0E1B, true) << le32(1) << quint64(4);
        QTest::newRow("float64") << MapiProp::float64(0x7002, -2.25) << float64Bytes(-2.25) << quint64(8);
        QTest::newRow("currency") << MapiProp::currency(0x7003, -5) << le64(quint64(-5)) << quint64(8);
        QTest::newRow("floating time") << MapiProp::floatingTime(0x7004, 45000.5) << float64Bytes(45000.5) << quint64(8);
        QTest::newRow("int64") << MapiProp::int64(0x7005, 0x0102030405060708ULL) << le64(0x0102030405060708ULL) << quint64(8);
        QTest::newRow("time") << MapiProp::time(0x0039, 0x01D9ABCDEF012345ULL) << le64(0x01D9ABCDEF012345ULL) << quint64(8);
        QTest::newRow("guid") << MapiProp::guid(0x7006, psAddress()) << psAddress() << quint64(16);
        QTest::newRow("string8 of 5, padded") << MapiProp::string8(0x0037, "Hello", false) << QByteArray("Hello") << quint64(5);
        QTest::newRow("binary of 8, unpadded") << MapiProp::binary(0x1013, "12345678") << QByteArray("12345678") << quint64(8);
        QTest::newRow("empty binary") << MapiProp::binary(0x1013, QByteArray()) << QByteArray() << quint64(0);
        QTest::newRow("object") << MapiProp::object(0x3701, QByteArray("\x0B\x00\x01", 3)) << QByteArray("\x0B\x00\x01", 3) << quint64(3);
        QTest::newRow("non-zero padding is skipped") << MapiProp::string8(0x0037, "Hi").withPadding('\xAA') << QByteArray("Hi\0", 3) << quint64(3);
        // Unicode strings become UTF-8; len counts the bytes up to the first
        // zero plus that zero.
        QTest::newRow("unicode ASCII") << MapiProp::unicode(0x0037, QStringLiteral("ab")) << QByteArray("ab\0", 3) << quint64(3);
        QTest::newRow("unicode without terminator") << MapiProp::unicode(0x0037, QStringLiteral("ab"), false) << QByteArray("ab\0", 3) << quint64(3);
        QTest::newRow("unicode e-acute") << MapiProp::unicode(0x0037, QStringLiteral("\u00E9")) << QByteArray("\xC3\xA9\0", 3) << quint64(3);
        QTest::newRow("unicode CJK") << MapiProp::unicode(0x0037, QStringLiteral("\u4E2D")) << QByteArray("\xE4\xB8\xAD\0", 4) << quint64(4);
        QTest::newRow("unicode emoji") << MapiProp::unicode(0x0037, QString::fromUtf8("\xF0\x9F\x98\x80"))
                                       << QByteArray("\xF0\x9F\x98\x80\0", 5) << quint64(5);
        QTest::newRow("empty unicode") << MapiProp::unicode(0x0037, QString(), false) << QByteArray() << quint64(0);
    }
    void singleValues()
    {
        QFETCH(MapiProp, property);
        QFETCH(QByteArray, value);
        QFETCH(quint64, len);
        Diagnostics diag;
        Block block = decodeWithSentinel(property);
        QVERIFY(block);
        const MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, quint32(property.type()));
        QCOMPARE(p->id, quint32(property.id()));
        QCOMPARE(p->value_count, quint64(1));
        QVERIFY(!p->guid && p->name_count == 0);
        QCOMPARE(p->values[0].len, len);
        if (p->type == PtypString)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(p->values[0].data.buf), value.size()), value);
        else
            QCOMPARE(valueBytes(p, 0), value);
        if (mapi_type_is_variable(p->type) && p->type != PtypString)
            QCOMPARE(p->values[0].data.buf[len], '\0');  // usable as a C string
        QVERIFY(sentinelIntact(block.get()));
        QVERIFY(diag.lines().isEmpty());
    }

    void int16AtTheVeryEndMayLackItsPadding()
    {
        Block block = decode(le32(1) + le16(PtypInteger16) + le16(0x0017) + le16(7));
        QVERIFY(block);
        QCOMPARE(block.get()[0]->values[0].data.u16, quint16(7));
    }

    void multipleValues_data()
    {
        QTest::addColumn<MapiProp>("property");
        QTest::addColumn<QList<QByteArray>>("values");
        const QList<QByteArray> ints{le32(1), le32(2), le32(0xFFFFFFFF)};
        QTest::newRow("int32 x3") << MapiProp::multi(PtypInteger32, 0x7010, ints) << ints;
        const QList<QByteArray> shorts{le16(9), le16(8), le16(7)};
        QTest::newRow("int16 x3, each padded") << MapiProp::multi(PtypInteger16, 0x7011, shorts) << shorts;
        const QList<QByteArray> texts{"one", QByteArray("three\0", 6)};
        QTest::newRow("string8 x2") << MapiProp::multi(PtypString8, 0x7013, texts) << texts;
        const QList<QByteArray> blobs{"a", QByteArray(), "abcde"};
        QTest::newRow("binary x3") << MapiProp::multi(PtypBinary, 0x7015, blobs) << blobs;
        const QList<QByteArray> guids{psAddress(), psPublicStrings()};
        QTest::newRow("guid x2") << MapiProp::multi(PtypGuid, 0x7016, guids) << guids;
    }
    void multipleValues()
    {
        QFETCH(MapiProp, property);
        QFETCH(QList<QByteArray>, values);
        Block block = decodeWithSentinel(property);
        QVERIFY(block);
        const MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, quint32(property.type() & ~PtypMultipleFlag));
        QCOMPARE(p->value_count, quint64(values.size()));
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(valueBytes(p, quint64(i)), values.at(i));
        QVERIFY(sentinelIntact(block.get()));
    }

    void noValueMeansNoTypeCheck()
    {
        Diagnostics diag;
        Block block = decodeWithSentinel(MapiProp(PtypErrorCode | PtypMultipleFlag, 0x7020));
        QVERIFY(block);
        QCOMPARE(block.get()[0]->value_count, quint64(0));
        QVERIFY(!block.get()[0]->values);
        QVERIFY(sentinelIntact(block.get()));
        QVERIFY(diag.lines().isEmpty());
    }

    void namedProperties()
    {
        const QByteArray guid = guidBytes(0x00062004, 0x0102, 0x0304, QByteArray::fromHex("C000000000000046"));
        Block block = decode(MapiBlockWriter()
                                 .add(MapiProp::string8(0x8000, "a@example.com").named(guid, 0x8205))
                                 .add(MapiProp::int32(0x8002, 5).named(psPublicStrings(), {QStringLiteral("x"), QString::fromUtf8("Ünï \xF0\x9F\x98\x80")}))
                                 .add(kSentinel)
                                 .bytes());
        QVERIFY(block);
        const MapiProperty* numeric = block.get()[0];
        QCOMPARE(numeric->id, 0x8205u);
        QVERIFY(numeric->guid);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(numeric->guid), 16), guid);
        QCOMPARE(numeric->name_count, quint64(0));
        QCOMPARE(valueBytes(numeric, 0), QByteArray("a@example.com\0", 14));

        const MapiProperty* byName = block.get()[1];
        QCOMPARE(byName->id, 0x8002u);  // the tag's id stays
        QCOMPARE(byName->name_count, quint64(2));
        QCOMPARE(QByteArray(byName->names[0].text), QByteArray("x"));
        QCOMPARE(byName->names[0].len, quint64(1));
        QCOMPARE(QString::fromUtf8(byName->names[1].text), QString::fromUtf8("Ünï \xF0\x9F\x98\x80"));
        QCOMPARE(byName->values[0].data.u32, 5u);
        QVERIFY(sentinelIntact(block.get() + 1));
    }

    void badTypesSpoilTheWholeBlock_data()
    {
        QTest::addColumn<quint16>("type");
        QTest::addColumn<QString>("line");
        const QString invalid = QStringLiteral("Invalid attribute, input file may be corrupted");
        const QString undefined = QStringLiteral("Undefined attribute, input file may be corrupted");
        QTest::newRow("unspecified") << quint16(0x0000) << invalid;
        QTest::newRow("null") << quint16(0x0001) << invalid;
        QTest::newRow("error code, multi-valued") << quint16(0x100A) << invalid;
        QTest::newRow("just above guid") << quint16(0x0049) << undefined;
        QTest::newRow("just above binary") << quint16(0x0103) << undefined;
        QTest::newRow("gap below time") << quint16(0x0041) << undefined;
    }
    void badTypesSpoilTheWholeBlock()
    {
        QFETCH(quint16, type);
        QFETCH(QString, line);
        Diagnostics diag;
        // The good property before the bad one is not returned (nor leaked).
        Block block = decode(MapiBlockWriter().add(MapiProp::string8(0x0037, "kept?")).add(MapiProp(type, 0x7030).addValue(le32(1))).bytes());
        QVERIFY(!block);
        QCOMPARE(diag.lines(), QStringList{line});
    }

    void contentsRunningPastTheBlock_data()
    {
        QTest::addColumn<QByteArray>("block");
        const QByteArray one = le32(1);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("count beyond the properties") << MapiBlockWriter().add(kSentinel).withCount(2).bytes();
        QTest::newRow("count 0xFFFFFFFF") << MapiBlockWriter().add(kSentinel).withCount(0xFFFFFFFF).bytes();
        QTest::newRow("value count 0xFFFFFFFF") << MapiBlockWriter().add(MapiProp::binary(0x1013, "x").withValueCount(0xFFFFFFFF)).bytes();
        QTest::newRow("value count one too many") << MapiBlockWriter().add(MapiProp::multi(PtypInteger32, 0x7040, {le32(1)}).withValueCount(2)).bytes();
        QTest::newRow("string length past the end") << one + le16(PtypString8) + le16(0x0037) + one + le32(100) + "short";
        QTest::newRow("length 0xFFFFFFFF") << one + le16(PtypBinary) + le16(0x1013) + one + le32(0xFFFFFFFF) + "abcd";
        QTest::newRow("time cut short") << one + le16(PtypTime) + le16(0x0039) + le32(1);
        QTest::newRow("guid cut short") << one + le16(PtypGuid) + le16(0x7006) + QByteArray(15, 'g');
        QTest::newRow("named id cut short") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + le32(0) + QByteArray(3, '\0');
        QTest::newRow("absurd name count") << MapiBlockWriter().add(MapiProp::int32(0x8001, 1).named(psAddress(), {QStringLiteral("n")}).withKindWord(0x44000000)).bytes();
        QTest::newRow("name length past the end") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + one + le32(0x7FFFFFF0) + QByteArray(8, 'n');
    }
    void contentsRunningPastTheBlock()
    {
        QFETCH(QByteArray, block);
        Diagnostics diag;
        tneftest::AllocationWatch watch;
        QVERIFY(!decode(block));
        QCOMPARE(diag.lines(), QStringList{kOverrun});
        if (tneftest::AllocationWatch::available())  // 64 KiB: the diagnostics file's buffer and small change
            QVERIFY2(watch.peak() <= 65536 + 64 * size_t(block.size()), qPrintable(QString::number(watch.peak())));
    }

    void utf16ToUtf8_data()
    {
        QTest::addColumn<QByteArray>("utf16");
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("one stray byte") << QByteArray("A", 1) << QByteArray();
        QTest::newRow("odd last byte ignored") << QByteArray("A\0B", 3) << QByteArray("A");
        QTest::newRow("boundary 0x7FF") << QByteArray("\xFF\x07", 2) << QByteArray("\xDF\xBF");
        QTest::newRow("highest pair") << QByteArray("\xFF\xDB\xFF\xDF", 4) << QByteArray("\xF4\x8F\xBF\xBF");
        QTest::newRow("lone high at the end") << QByteArray("a\0\x3D\xD8", 4) << QByteArray("a\xEF\xBF\xBD");
        QTest::newRow("lone low") << QByteArray("\x00\xDE" "b\0", 4) << QByteArray("\xEF\xBF\xBD" "b");
        QTest::newRow("high then letter") << QByteArray("\x3D\xD8" "c\0", 4) << QByteArray("\xEF\xBF\xBD" "c");
        // Worst case for the output size: every unit a lone surrogate.
        QTest::newRow("all lone highs") << QByteArray(4000, '\xD8') << QByteArray("\xEF\xBF\xBD").repeated(2000);
        QTest::newRow("stops at a zero unit") << QByteArray("a\0\0\0b\0", 6) << QByteArray("a");
    }
    void utf16ToUtf8()
    {
        QFETCH(QByteArray, utf16);
        QFETCH(QByteArray, utf8);
        std::unique_ptr<char, decltype(&free)> text(
            utf16le_to_utf8(size_t(utf16.size()), reinterpret_cast<const unsigned char*>(utf16.constData())), &free);
        QVERIFY(text);
        QCOMPARE(QByteArray(text.get()), utf8);
    }
};

QUORVIA_GUI_TEST_MAIN(TestMapiProperties)
#include "tst_mapi_properties.moc"
