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
    const QByteArray bytes = MapiBlockWriter().add(MapiProp::multi(PtypBinary, PidTagRtfCompressed, values)).bytes();
    MapiProperty** props = mapi_parse_properties(size_t(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()));
    RtfBody** bodies = rtf_decode_compressed(props[0]);
    QList<QByteArray> out;
    for (int i = 0; i <= values.size(); ++i)
        out.append(bodies[i] ? bytesOf(bodies[i]->data, bodies[i]->len) : QByteArray());
    rtf_free_bodies(bodies, quint64(values.size()));
    mapi_free_properties(props);
    return out;
}

} // namespace

class TestCompressedRtf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data()
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
        QTest::newRow("MELA exactly RAWSIZE") << wrap("{\\rt", 4, lzfu::kUncompressed) << QByteArray("{\\rt") << none;
        QTest::newRow("MELA short, CRC ignored") << wrap("{}", 6, lzfu::kUncompressed).replace(12, 4, "UUUU") << QByteArray("{}\0\0\0\0", 6) << none;
        QTest::newRow("unknown COMPTYPE") << wrap(p1, 43, 0x12345678) << QByteArray() << none;
        QTest::newRow("shorter than the header") << kExample1.left(15) << QByteArray() << none;
        QTest::newRow("RAWSIZE beyond 8x") << wrap(p1, 8 * quint32(kExample1.size()) + 1) << QByteArray() << none;
        QTest::newRow("MELA RAWSIZE 4 GiB") << wrap("{}", 0xFFFFFFFFu, lzfu::kUncompressed) << QByteArray() << none;
    }
    void values()
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
    void compressorRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QByteArray rtfLike(300000, Qt::Uninitialized);
        QRandomGenerator rng(3);
        for (char& c : rtfLike)
            c = "{}\\ abcdefgh\r\n"[rng.bounded(14)];
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("runs overlap their source") << QByteArray(5000, 'x') + QByteArray(300, 'y');
        QTest::newRow("RTF-like text") << rtfLike;
    }
    void compressorRoundTrips()
    {
        QFETCH(QByteArray, rtf);
        Diagnostics diag;
        const QByteArray value = compressedRtf(rtf);
        QVERIFY(decodeValues({value})[0] == rtf);
        QVERIFY(diag.messages().isEmpty());
        // A RAWSIZE beyond the text: the end marker stops, and the rest stays
        // zero also where the decoder copied ahead of its position.
        const QByteArray stream = value.mid(16);
        for (int extra : {1, 17, 4000})
            if (rtf.size() + extra <= 8 * value.size())
                QVERIFY(decodeValues({wrap(stream, quint32(rtf.size() + extra))})[0] == rtf + QByteArray(extra, '\0'));
    }
};

QUORVIA_GUI_TEST_MAIN(TestCompressedRtf)
#include "tst_compressed_rtf.moc"
