#include "support/lzfu_compressor.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/compressed_rtf.h"
#include "tnef_test_util.h"

#include <QGuiApplication>
#include <QRandomGenerator>

using namespace tnefwriter;
using namespace tneftest;

namespace {

using Block = std::unique_ptr<MapiProperty*, decltype(&mapi_free_properties)>;

Block decode(const QByteArray& bytes)
{
    return Block(mapi_parse_properties(size_t(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData())), &mapi_free_properties);
}

// Fixed-size values are held inline (little-endian machines), others through buf.
QByteArray valueBytes(const MapiProperty* p, quint64 i)
{
    const MapiValue& v = p->values[i];
    return bytesOf(mapi_type_is_variable(p->type) ? static_cast<const void*>(v.data.buf) : &v.data, v.len);
}

// Follows the property under test: a value that consumes the wrong number of
// bytes (padding) breaks it.
const MapiProp kSentinel = MapiProp::int32(0x6666, 0xC0FFEE42);

const QString kOverrun = QStringLiteral("RTF buffer overrun, input file may be corrupted");
const QByteArray kExample1 = QByteArray::fromHex("2d0000002b0000004c5a4675f1c5c7a703000a007263706731323542320af32068656c090020627705b06c647d0a800fa0");
const QByteArray kText1("{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
const QByteArray kExample2 = QByteArray::fromHex("1a0000001c0000004c5a4675e2d44b51410004205758595a0d6e7d010eb0");
const QByteArray kText2("{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}");

QByteArray wrap(const QByteArray& payload, quint32 rawSize, quint32 type = lzfu::kCompressed)
{
    return QByteArray::fromStdString(lzfu::wrap(payload.toStdString(), rawSize, type));
}

// The bodies of a PidTagRtfCompressed property with these values; an absent
// body is a null QByteArray.
QList<QByteArray> decodeValues(const QList<QByteArray>& values)
{
    const Block props = decode(MapiBlockWriter().add(MapiProp::multi(PtypBinary, PidTagRtfCompressed, values)).bytes());
    RtfBody** bodies = rtf_decode_compressed(props.get()[0]);
    QList<QByteArray> out;
    for (int i = 0; i <= values.size(); ++i)
        out.append(bodies[i] ? bytesOf(bodies[i]->data, bodies[i]->len) : QByteArray());
    rtf_free_bodies(bodies, quint64(values.size()));
    return out;
}

} // namespace

class TestPropertyValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void properties_data()
    {
        QTest::addColumn<MapiProp>("property");
        QTest::addColumn<QByteArrayList>("values");  // as held; strings with their added zero
        QTest::addColumn<quint32>("id");
        QTest::addColumn<QStringList>("names");      // null: not a named property
        const auto one = [](const char* row, const MapiProp& p, const QByteArray& v) { QTest::newRow(row) << p << QByteArrayList{v} << quint32(p.id()) << QStringList(); };
        one("int16 padded", MapiProp::int16(0x0017, 0xBEEF), le16(0xBEEF));
        one("int32", MapiProp::int32(0x3FDE, 0x12345678), le32(0x12345678));
        one("float32", MapiProp::float32(0x7001, 1.5f), float32Bytes(1.5f));
        one("float64", MapiProp::float64(0x7002, -2.25), float64Bytes(-2.25));
        one("currency", MapiProp::currency(0x7003, -5), le64(quint64(-5)));
        one("floating time", MapiProp::floatingTime(0x7004, 45000.5), float64Bytes(45000.5));
        one("boolean", MapiProp::boolean(0x0E1B, true), le32(1));
        one("object", MapiProp::object(0x3701, QByteArray("\x0B\0\1", 3)), QByteArray("\x0B\0\1", 3));
        one("int64", MapiProp::int64(0x7005, 0x0102030405060708ULL), le64(0x0102030405060708ULL));
        one("string8 padded", MapiProp::string8(0x0037, "Hello", false), "Hello");
        // Unicode becomes UTF-8 whose length counts the bytes up to and with the first zero.
        one("unicode", MapiProp::unicode(0x0037, QString::fromUtf8("a\xC3\xA9\xF0\x9F\x98\x80")), QByteArray("a\xC3\xA9\xF0\x9F\x98\x80\0", 8));
        one("time", MapiProp::time(0x0039, 0x01D9ABCDEF012345ULL), le64(0x01D9ABCDEF012345ULL));
        one("guid", MapiProp::guid(0x7006, psAddress()), psAddress());
        one("binary", MapiProp::binary(0x1013, "12345678"), "12345678");
        one("non-zero padding", MapiProp::string8(0x0037, "Hi").withPadding('\xAA'), QByteArray("Hi\0", 3));
        one("unicode unterminated", MapiProp::unicode(0x0037, QStringLiteral("ab"), false), QByteArray("ab\0", 3));
        one("empty unicode", MapiProp::unicode(0x0037, QString(), false), QByteArray());
        // Surrogate pairs make one four-byte sequence, lone surrogates U+FFFD (three bytes for two).
        one("lone high at the end", MapiProp(PtypString, 0x0037).addValue(QByteArray("a\0\x3D\xD8", 4)), QByteArray("a\xEF\xBF\xBD\0", 5));
        one("high then letter", MapiProp(PtypString, 0x0037).addValue(QByteArray("\x3D\xD8" "c\0", 4)), QByteArray("\xEF\xBF\xBD" "c\0", 5));
        one("all lone lows", MapiProp(PtypString, 0x0037).addValue(QByteArray(4000, '\xDC')), QByteArray("\xEF\xBF\xBD").repeated(2000) + '\0');
        one("odd last byte ignored", MapiProp(PtypString, 0x0037).addValue(QByteArray("A\0B", 3)), QByteArray("A\0", 2));
        QTest::newRow("no values") << MapiProp(PtypInteger32 | PtypMultipleFlag, 0x7020) << QByteArrayList{} << 0x7020u << QStringList();
        QTest::newRow("int16s, each padded") << MapiProp::multi(PtypInteger16, 0x7010, {le16(9), le16(8)}) << QByteArrayList{le16(9), le16(8)} << 0x7010u << QStringList();
        QTest::newRow("binaries") << MapiProp::multi(PtypBinary, 0x7010, {"a", QByteArray(), "abcde"}) << QByteArrayList{"a", QByteArray(), "abcde"} << 0x7010u << QStringList();
        // The numeric id of a named property replaces the tag's; names leave it.
        QTest::newRow("named by number") << MapiProp::string8(0x8000, "a@x.org").named(psAddress(), 0x8205) << QByteArrayList{QByteArray("a@x.org\0", 8)} << 0x8205u
                                         << QStringList{};
        QTest::newRow("named by names") << MapiProp::int32(0x8002, 5).named(psPublicStrings(), {QStringLiteral("x"), QString::fromUtf8("\xC3\x9C \xF0\x9F\x98\x80")})
                                        << QByteArrayList{le32(5)} << 0x8002u << QStringList{QStringLiteral("x"), QString::fromUtf8("\xC3\x9C \xF0\x9F\x98\x80")};
    }
    void properties()
    {
        QFETCH(MapiProp, property);
        QFETCH(QByteArrayList, values);
        QFETCH(QStringList, names);
        Diagnostics diag;
        Block block = decode(MapiBlockWriter().add(property).add(kSentinel).bytes());
        QVERIFY(block && block.get()[1] && !block.get()[2]);
        QCOMPARE(block.get()[1]->values[0].data.u32, 0xC0FFEE42u);
        const MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, quint32(property.type() & ~PtypMultipleFlag));
        QTEST(p->id, "id");
        QCOMPARE(p->value_count, quint64(values.size()));
        for (int i = 0; i < values.size(); ++i) {
            QCOMPARE(valueBytes(p, quint64(i)), values[i]);
            if (p->type == PtypString8 || p->type == PtypBinary)
                QCOMPARE(p->values[i].data.buf[p->values[i].len], '\0');  // usable as a C string
        }
        QCOMPARE(bytesOf(p->guid, 16), property.id() < 0x8000 ? QByteArray() : property.id() == 0x8000 ? psAddress() : psPublicStrings());
        QCOMPARE(p->name_count, quint64(names.size()));
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(QString::fromUtf8(bytesOf(p->names[i].text, p->names[i].len)), names[i]);
        QVERIFY(diag.messages().isEmpty());
        // A 16-bit integer at the very end may lack its padding.
        QCOMPARE(decode(le32(1) + le16(PtypInteger16) + le16(0x0017) + le16(7)).get()[0]->values[0].data.u16, quint16(7));
    }

    // A corrupt block gives nothing (a good property before the bad one is
    // neither returned nor leaked), one line, and no allocation its lengths ask for.
    void corruptBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("line");
        const QString invalid = QStringLiteral("Invalid attribute, input file may be corrupted");
        const QString undefined = QStringLiteral("Undefined attribute, input file may be corrupted");
        const QString overrun = QStringLiteral("Property block runs past its end, input file may be corrupted");
        const auto badType = [](quint16 type) { return MapiBlockWriter().add(kSentinel).add(MapiProp(type, 0x7030).addValue(le32(1))).bytes(); };
        QTest::newRow("unspecified type") << badType(0x0000) << invalid;
        QTest::newRow("just above guid") << badType(0x0049) << undefined;
        QTest::newRow("just above binary") << badType(0x0103) << undefined;
        const QByteArray one = le32(1);
        QTest::newRow("empty") << QByteArray() << overrun;
        QTest::newRow("count 2^32-1") << MapiBlockWriter().add(kSentinel).withCount(0xFFFFFFFF).bytes() << overrun;
        QTest::newRow("value count 2^32-1") << MapiBlockWriter().add(MapiProp::binary(0x1013, "x").withValueCount(0xFFFFFFFF)).bytes() << overrun;
        QTest::newRow("length 2^32-1") << one + le16(PtypBinary) + le16(0x1013) + one + le32(0xFFFFFFFF) + "abcd" << overrun;
        QTest::newRow("time cut short") << one + le16(PtypTime) + le16(0x0039) + one << overrun;
        QTest::newRow("named id cut short") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + le32(0) + QByteArray(3, '\0') << overrun;
        QTest::newRow("absurd name count")
            << MapiBlockWriter().add(MapiProp::int32(0x8001, 1).named(psAddress(), {QStringLiteral("n")}).withKindWord(0x44000000)).bytes() << overrun;
        QTest::newRow("name past the end") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + one + le32(0x7FFFFFF0) + QByteArray(8, 'n') << overrun;
    }
    void corruptBlocks()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, line);
        Diagnostics diag;
        HeapPeak heap;
        QVERIFY(!decode(block));
        QVERIFY2(heap.peak() <= 65536, qPrintable(QString::number(heap.peak())));  // the diagnostics file's buffer and small change
        QCOMPARE(diag.messages(), QStringList{line});
    }

    void rtfValues_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("body");  // null: the value gives nothing
        QTest::addColumn<QStringList>("messages");
        const QByteArray p1 = kExample1.mid(16);
        const QStringList none, overrun{kOverrun};
        QTest::newRow("worked example 1") << kExample1 << kText1 << none;
        QTest::newRow("worked example 2, overlapping") << kExample2 << kText2 << none;
        // Control byte 1, then a reference to offset 207: the write position.
        QTest::newRow("end marker first") << wrap(QByteArray::fromHex("010cf0"), 12) << QByteArray(12, '\0') << none;
        QTest::newRow("RAWSIZE exactly 8x") << wrap(QByteArray::fromHex("010cf0"), 8 * 19) << QByteArray(8 * 19, '\0') << none;
        QByteArray badCrc = kExample1;
        badCrc[12] = char(quint8(badCrc[12]) + 1);
        QTest::newRow("CRC off by one") << badCrc << QByteArray("") << QStringList{QStringLiteral("Invalid RTF CRC, input file may be corrupted")};
        // Example 1 ends on a reference copying "\r\n", then the end marker.
        QTest::newRow("cut before the end marker") << wrap(p1.chopped(2), 43) << kText1 << overrun;
        QTest::newRow("cut inside a reference") << wrap(p1.chopped(3), 43) << kText1.left(41) + QByteArray(2, '\0') << overrun;
        // Example 1 starts with references of 12 and 4 bytes, then literals.
        QTest::newRow("literal past RAWSIZE") << wrap(p1, 17) << kText1.left(17) << overrun;
        QTest::newRow("reference past RAWSIZE") << wrap(p1, 14) << kText1.left(12) + QByteArray(2, '\0') << overrun;
        QTest::newRow("MELA short, CRC ignored") << wrap("{}", 6, lzfu::kUncompressed).replace(12, 4, "UUUU") << QByteArray("{}\0\0\0\0", 6) << none;
        QTest::newRow("unknown COMPTYPE") << wrap(p1, 43, 0x12345678) << QByteArray() << none;
        QTest::newRow("shorter than the header") << kExample1.left(15) << QByteArray() << none;
        QTest::newRow("RAWSIZE beyond 8x") << wrap(p1, 8 * quint32(kExample1.size()) + 1) << QByteArray() << none;
        QTest::newRow("MELA RAWSIZE 4 GiB") << wrap("{}", 0xFFFFFFFFu, lzfu::kUncompressed) << QByteArray() << none;
    }
    void rtfValues()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, body);
        Diagnostics diag;
        HeapPeak heap;
        const QList<QByteArray> bodies = decodeValues({value, kExample2});
        QVERIFY2(heap.peak() < 65536, qPrintable(QString::number(heap.peak())));
        QCOMPARE(bodies[0], body);
        QCOMPARE(bodies[0].isNull(), body.isNull());
        QCOMPARE(bodies.mid(1), (QList<QByteArray>{kText2, QByteArray()}));  // every value, in order, then a null
        QTEST(diag.messages(), "messages");
    }

    // Round trips through our compressor, also past the first 4 KiB of output.
    // A RAWSIZE beyond the text stops at the end marker, and the rest stays
    // zero also where the decoder copied ahead of its position.
    void compressorRoundTrips()
    {
        QByteArray random(300000, Qt::Uninitialized);
        QRandomGenerator rng(3);
        for (char& c : random)
            c = "{}\\ abcdefgh\r\n"[rng.bounded(14)];
        Diagnostics diag;
        for (const QByteArray& rtf : {QByteArray(), QByteArray(5000, 'x') + QByteArray(300, 'y'), random}) {
            const QByteArray value = compressedRtf(rtf);
            for (int extra : {0, 1, 17, 4000})
                if (rtf.size() + extra <= 8 * value.size())
                    QVERIFY(decodeValues({wrap(value.mid(16), quint32(rtf.size() + extra))})[0] == rtf + QByteArray(extra, '\0'));
        }
        QVERIFY(diag.messages().isEmpty());
    }
};

QUORVIA_GUI_TEST_MAIN(TestPropertyValues)
#include "tst_property_values.moc"
