#include "support/lzfu_compressor.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/compressed_rtf.h"
#include "tnef_test_util.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <memory>

using namespace tnefwriter;
using tneftest::Diagnostics;

namespace {

const QString kOverrunLine = QStringLiteral("RTF buffer overrun, input file may be corrupted");
const QString kCrcLine = QStringLiteral("Invalid RTF CRC, input file may be corrupted");

const QByteArray kExample1 = QByteArray::fromHex(
    "2d0000002b0000004c5a4675f1c5c7a703000a007263706731323542320af32068656c090020627705b06c647d0a800fa0");
const QByteArray kExample1Text("{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
const QByteArray kExample2 = QByteArray::fromHex("1a0000001c0000004c5a4675e2d44b51410004205758595a0d6e7d010eb0");
const QByteArray kExample2Text("{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}");

QByteArray fromStd(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

std::string_view view(const QByteArray& b)
{
    return std::string_view(b.constData(), size_t(b.size()));
}

struct BlockDeleter {
    void operator()(MapiProperty** p) const { mapi_free_properties(p); }
};

// Decoded bodies of a PidTagRtfCompressed property with the given values,
// as {present, bytes} pairs.
struct Decoded {
    QList<bool> present;
    QList<QByteArray> bodies;
};

Decoded decodeValues(const QList<QByteArray>& values)
{
    MapiProp prop = values.size() == 1 ? MapiProp::binary(PidTagRtfCompressed, values.first())
                                       : MapiProp::multi(PtypBinary, PidTagRtfCompressed, values);
    const QByteArray block = MapiBlockWriter().add(prop).bytes();
    std::unique_ptr<MapiProperty*, BlockDeleter> props(
        mapi_parse_properties(size_t(block.size()), reinterpret_cast<const unsigned char*>(block.constData())));
    Decoded out;
    if (!props)
        return out;
    RtfBody** bodies = rtf_decode_compressed(props.get()[0]);
    if (!bodies)
        return out;
    for (int i = 0; i < values.size(); ++i) {
        out.present.append(bodies[i] != nullptr);
        out.bodies.append(bodies[i] ? tneftest::bytesOf(bodies[i]->data, bodies[i]->len) : QByteArray());
    }
    if (bodies[values.size()] != nullptr)
        out.present.append(true);  // the spare entry must stay null
    rtf_free_bodies(bodies, quint64(values.size()));
    return out;
}

QByteArray decompress(const QByteArray& payload, quint32 rawSize)
{
    unsigned char* out = rtf_decompress(reinterpret_cast<const unsigned char*>(payload.constData()),
                                        size_t(payload.size()), rawSize);
    if (!out)
        return QByteArray();
    QByteArray result(reinterpret_cast<const char*>(out), qsizetype(rawSize));
    free(out);
    return result;
}

// Sample RTF shaped like what mail clients write: a header, a font and a
// colour table, then many short formatted paragraphs.
QByteArray realisticRtf(int paragraphs)
{
    QByteArray rtf("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                   "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n");
    QRandomGenerator rng(7);
    const char* words[] = {"quarterly", "report", "meeting", "budget", "the", "and", "attached", "please",
                           "review", "invoice", "schedule", "Thursday", "figures", "team", "project"};
    for (int p = 0; p < paragraphs; ++p) {
        rtf += "\\pard\\plain\\f" + QByteArray::number(p % 2) + "\\fs" + QByteArray::number(18 + 2 * (p % 4)) + " ";
        const int n = 5 + int(rng.bounded(20));
        for (int w = 0; w < n; ++w) {
            if (rng.bounded(10) == 0)
                rtf += "{\\b ";
            rtf += words[rng.bounded(int(sizeof words / sizeof *words))];
            if (rtf.endsWith("{\\b "))
                rtf += "}";
            rtf += ' ';
        }
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

} // namespace

class TestCompressedRtf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExamplesDecode_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("literals and references") << kExample1 << kExample1Text;
        QTest::newRow("overlapping reference") << kExample2 << kExample2Text;
    }
    void workedExamplesDecode()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, text);
        Diagnostics diag;
        const Decoded d = decodeValues({value});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first(), text);
        QVERIFY(diag.lines().isEmpty());
        // The same through the bare decompressor.
        QCOMPARE(decompress(value.mid(16), quint32(text.size())), text);
    }

    void crcUsesTheReflectedTableWithoutInversion()
    {
        const unsigned char one = 0x01;
        QCOMPARE(rtf_crc32(&one, 1), 0x77073096u);
        QCOMPARE(rtf_crc32(nullptr, 0), 0u);
        QByteArray random(10000, Qt::Uninitialized);
        QRandomGenerator rng(11);
        for (char& c : random)
            c = char(rng.bounded(256));
        for (qsizetype n : {qsizetype(10000), qsizetype(9999), qsizetype(13), qsizetype(7)})
            QCOMPARE(rtf_crc32(reinterpret_cast<const unsigned char*>(random.constData()), size_t(n)),
                     lzfu::crc(view(random.left(n))));
    }

    void endMarkerAsFirstTokenGivesZeroes()
    {
        // Control byte 0x01, then a reference to offset 207, the write position.
        const QByteArray payload = QByteArray::fromHex("010cf0");
        Diagnostics diag;
        const Decoded d = decodeValues({fromStd(lzfu::wrap(view(payload), 12))});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first(), QByteArray(12, '\0'));
        QVERIFY(diag.lines().isEmpty());
    }

    void crcMismatchGivesAnEmptyBody()
    {
        QByteArray value = kExample1;
        value[12] = char(quint8(value[12]) + 1);
        Diagnostics diag;
        const Decoded d = decodeValues({value});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first(), QByteArray());
        QCOMPARE(diag.lines(), QStringList{kCrcLine});
    }

    void overrunsKeepTheDecodedPrefix_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<quint32>("rawSize");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray p1 = kExample1.mid(16);
        // Example 1 ends on a reference copying "\r\n" and the end marker.
        QTest::newRow("stream cut before the end marker")
            << p1.left(p1.size() - 2) << quint32(43) << kExample1Text;
        QTest::newRow("stream cut inside a reference")
            << p1.left(p1.size() - 3) << quint32(43) << kExample1Text.left(41) + QByteArray(2, '\0');
        QTest::newRow("empty stream") << QByteArray() << quint32(3) << QByteArray(3, '\0');
        // References of 12 and 4 bytes, then literals.
        QTest::newRow("literal past RAWSIZE") << p1 << quint32(17) << kExample1Text.left(17);
        QTest::newRow("reference past RAWSIZE is dropped whole")
            << p1 << quint32(14) << kExample1Text.left(12) + QByteArray(2, '\0');
        QTest::newRow("first reference past RAWSIZE") << kExample2.mid(16) << quint32(4) << QByteArray(4, '\0');
    }
    void overrunsKeepTheDecodedPrefix()
    {
        QFETCH(QByteArray, payload);
        QFETCH(quint32, rawSize);
        QFETCH(QByteArray, expected);
        Diagnostics diag;
        const Decoded d = decodeValues({fromStd(lzfu::wrap(view(payload), rawSize))});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first(), expected);
        QCOMPARE(diag.lines(), QStringList{kOverrunLine});
    }

    void storedValues_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("exactly RAWSIZE") << fromStd(lzfu::store("{\\rt")) << QByteArray("{\\rt");
        QTest::newRow("shorter than RAWSIZE")
            << fromStd(lzfu::wrap("{}", 6, lzfu::kUncompressed)) << QByteArray("{}\0\0\0\0", 6);
        // Stored values are not checked against their CRC.
        QByteArray badCrc = fromStd(lzfu::store("{x}"));
        badCrc[12] = '\x55';
        QTest::newRow("CRC ignored") << badCrc << QByteArray("{x}");
    }
    void storedValues()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        Diagnostics diag;
        const Decoded d = decodeValues({value});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first(), expected);
        QVERIFY(diag.lines().isEmpty());
    }

    void valuesThatGiveNothing_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("unknown COMPTYPE") << fromStd(lzfu::wrap(view(kExample1.mid(16)), 43, 0x12345678));
        QTest::newRow("shorter than the header") << kExample1.left(15);
        // A RAWSIZE that no compressed stream of this size can reach.
        QTest::newRow("LZFu RAWSIZE beyond 8x") << fromStd(lzfu::wrap(view(kExample1.mid(16)), 8 * quint32(kExample1.size()) + 1));
        QTest::newRow("LZFu RAWSIZE 4 GiB") << fromStd(lzfu::wrap(view(kExample1.mid(16)), 0xFFFFFFFFu));
        QTest::newRow("MELA RAWSIZE 4 GiB") << fromStd(lzfu::wrap("{}", 0xFFFFFFFFu, lzfu::kUncompressed));
    }
    void valuesThatGiveNothing()
    {
        QFETCH(QByteArray, value);
        Diagnostics diag;
        tneftest::AllocationWatch watch;
        const Decoded d = decodeValues({value});
        QCOMPARE(d.present, QList<bool>{false});
        QVERIFY(diag.lines().isEmpty());
        if (tneftest::AllocationWatch::available())
            QVERIFY2(watch.largest() < (1u << 20), qPrintable(QString::number(watch.largest())));
    }

    void rawSizeUpToEightTimesIsHonoured()
    {
        const QByteArray payload = QByteArray::fromHex("010cf0");
        const quint32 limit = 8 * quint32(payload.size() + 16);
        const Decoded d = decodeValues({fromStd(lzfu::wrap(view(payload), limit))});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first().size(), qsizetype(limit));
        QCOMPARE(decompress(payload, limit + 1), QByteArray());
    }

    void everyValueIsDecodedInOrder()
    {
        Diagnostics diag;
        const Decoded d = decodeValues({QByteArray("short"), kExample2, fromStd(lzfu::store("{m}")), kExample1});
        QCOMPARE(d.present, (QList<bool>{false, true, true, true}));
        QCOMPARE(d.bodies.at(1), kExample2Text);
        QCOMPARE(d.bodies.at(2), QByteArray("{m}"));
        QCOMPARE(d.bodies.at(3), kExample1Text);
        QVERIFY(diag.lines().isEmpty());
    }

    void compressorRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("mustShrink");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("worked example text") << kExample1Text << false;
        QTest::newRow("runs overlap their source") << QByteArray(5000, 'x') + QByteArray(300, 'y') << true;
        QTest::newRow("realistic 1.5 MiB") << realisticRtf(16000) << true;
        QByteArray random(200000, Qt::Uninitialized);
        QRandomGenerator rng(3);
        for (char& c : random)
            c = char(rng.bounded(256));
        QTest::newRow("random bytes") << random << false;
        QByteArray text(300000, Qt::Uninitialized);
        for (char& c : text)
            c = "{}\\ abcdefgh\r\n"[rng.bounded(14)];
        QTest::newRow("random RTF-ish text") << text << true;
        QByteArray zeros(10000, '\0');
        QTest::newRow("zero bytes (like the unused ring)") << zeros << true;
    }
    void compressorRoundTrips()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, mustShrink);
        const QByteArray value = compressedRtf(rtf);
        if (mustShrink)
            QVERIFY2(value.size() < rtf.size(), qPrintable(QStringLiteral("%1 -> %2").arg(rtf.size()).arg(value.size())));
        Diagnostics diag;
        const Decoded d = decodeValues({value});
        QCOMPARE(d.present, QList<bool>{true});
        QCOMPARE(d.bodies.first().size(), rtf.size());
        QVERIFY(d.bodies.first() == rtf);
        QVERIFY(diag.lines().isEmpty());
    }

    void nothingFollowsTheEndMarkerButZeroes_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("short text") << QByteArray("{\\rtf1 short}");
        QTest::newRow("long realistic text") << realisticRtf(300);
        QTest::newRow("long run") << QByteArray("{\\rtf1 ") + QByteArray(9000, 'z') + "}";
    }
    void nothingFollowsTheEndMarkerButZeroes()
    {
        // A RAWSIZE larger than the text: the end marker stops the output and
        // the rest of the buffer stays zero, even where the decoder wrote
        // ahead of its position.
        QFETCH(QByteArray, rtf);
        for (int extra : {1, 15, 16, 17, 200, 4000}) {
            const QByteArray value = fromStd(lzfu::wrap(lzfu::compressStream(view(rtf)), quint32(rtf.size() + extra)));
            if (rtf.size() + extra > 8 * value.size())
                continue;  // beyond what any stream of this size can give
            Diagnostics diag;
            const Decoded d = decodeValues({value});
            QCOMPARE(d.present, QList<bool>{true});
            QVERIFY2(d.bodies.first() == rtf + QByteArray(extra, '\0'), qPrintable(QString::number(extra)));
            QVERIFY(diag.lines().isEmpty());
        }
    }

    void longStreamCutShortKeepsAnExactPrefix()
    {
        QByteArray rtf(200000, Qt::Uninitialized);
        QRandomGenerator rng(9);
        for (char& c : rtf)
            c = "{}\\ abcdefgh\r\n"[rng.bounded(14)];
        const std::string stream = lzfu::compressStream(view(rtf));
        for (size_t keep : {stream.size() / 3, stream.size() / 2, stream.size() - 5}) {
            const QByteArray body = decompress(fromStd(stream.substr(0, keep)), quint32(rtf.size()));
            QCOMPARE(body.size(), rtf.size());
            qsizetype k = 0;
            while (k < body.size() && body[k] == rtf[k])
                ++k;
            QVERIFY(k > 4096);
            QVERIFY2(body.mid(k) == QByteArray(body.size() - k, '\0'), "garbage after the decoded prefix");
        }
    }
};

QUORVIA_GUI_TEST_MAIN(TestCompressedRtf)
#include "tst_compressed_rtf.moc"
