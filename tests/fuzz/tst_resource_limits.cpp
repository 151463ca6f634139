// Resource limits of every parser entry point, as properties of the code: on
// the input shape that costs it the most per byte, the heap held at the peak
// stays within the budget fuzz/README.md lists (perByte x size + fixed), and
// eight times the input takes far less than the 64 times of quadratic work.

#include "message/body_preparation.h"
#include "message/body_text.h"
#include "message/html_charset.h"
#include "message/tessil_parser.h"
#include "ole/compound_file.h"
#include "rtf/rtf_to_html.h"
#include "support/cfb_writer.h"
#include "support/lzfu_compressor.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/compressed_rtf.h"
#include "tnef/mapi_properties.h"
#include "tnef/tnef_test_util.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <functional>

using namespace tnefwriter;

namespace {

struct Case {
    std::function<QByteArray(int)> generate;  // `units` repetitions of the costliest piece
    std::function<void(const QByteArray&)> run;
    int units;
    double perByte;
    qsizetype fixed;
};

QByteArray repeated(const QByteArray& head, const QByteArray& piece, int units, const QByteArray& tail)
{
    return head + piece.repeated(units) + tail;
}

QByteArray manyInt32Properties(int units)
{
    QByteArray block = le32(quint32(units));
    for (int i = 0; i < units; ++i)
        block += MapiProp::int32(quint16(0x6000 + (i & 0x0FFF)), quint32(i)).encode();
    return block;
}

// Control bytes announcing eight references of the longest length: the format's own 8x expansion.
QByteArray longestExpansion(int units)
{
    const QByteArray stream = repeated(QByteArray(), "\xFF" + QByteArray("\x00\x0F", 2).repeated(8), units, QByteArray());
    return QByteArray::fromStdString(lzfu::wrap(stream.toStdString(), quint32(units) * 8 * 17));
}

QByteArray tnefWithProperties(const QByteArray& block)
{
    return TnefWriter().attribute(LevelMessage, AttMsgProps, 6, block).bytes();
}

void runMessage(const QByteArray& bytes)
{
    const QSharedPointer<TessilMessage> message = TessilParser().parseData(bytes);
    QVERIFY(message && !prepareBodyHtml(*message).isEmpty());
    for (int i = 0; i < message->attachmentCount(); ++i)
        message->attachmentAt(i)->content();
}

} // namespace

Q_DECLARE_METATYPE(Case)

class TestResourceLimits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        tnef_set_diagnostics(nullptr);
        // First-use statics (converters, regular expressions, the rich-text engine) are not the input's cost.
        runMessage(tnefWithProperties(MapiBlockWriter().add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 warm\\par}"))).bytes()));
        normaliseHtmlCharset(decodeBodyText("warm", 4, 0));
    }

    void linearInSize_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("tnef_parse: small properties") << Case{[](int n) { return tnefWithProperties(manyInt32Properties(n)); }, [](const QByteArray& b) {
            tneftest::Result r = tneftest::parse(b);
            QVERIFY(r && r->property_count > 0);
        }, 8000, 24, 64 * 1024};
        QTest::newRow("mapi_parse_properties: small properties") << Case{manyInt32Properties, [](const QByteArray& b) {
            MapiProperty** p = mapi_parse_properties(size_t(b.size()), reinterpret_cast<const unsigned char*>(b.constData()));
            QVERIFY(p);
            mapi_free_properties(p);
        }, 8000, 16, 4096};
        QTest::newRow("rtf_decode_compressed: longest expansion") << Case{longestExpansion, [](const QByteArray& b) {
            QByteArray copy = b + '\0';  // the caller's copy, counted in the budget
            MapiValue value{};
            value.len = quint64(b.size());
            value.data.buf = reinterpret_cast<unsigned char*>(copy.data());
            const MapiProperty property{PTYP_BINARY, 0x1009, 1, &value, nullptr, 0, nullptr};
            RtfBody** bodies = rtf_decode_compressed(&property);
            QVERIFY(bodies && bodies[0] && bodies[0]->len > 0);
            rtf_free_bodies(bodies, 1);
        }, 16000, 12, 8192};
        QTest::newRow("CompoundFile: many entries") << Case{[](int n) {
            testsupport::CfbWriter writer;
            for (int i = 0; i < n; ++i)
                writer.addStream(QStringLiteral("/S%1").arg(i), "s");
            writer.addStream(QStringLiteral("/CONTENTS"), "c");
            return writer.build();
        }, [](const QByteArray& b) {
            CompoundFile file(reinterpret_cast<const unsigned char*>(b.constData()), size_t(b.size()));
            unsigned char c = 0;
            QVERIFY(file.open() && file.stream("/CONTENTS")->read(&c, 1) == 1);
        }, 4000, 8, 64 * 1024};
        const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\trowd\\cellx1000\\cellx2000";
        QTest::newRow("rtfToHtml: table cells") << Case{[head](int n) { return repeated(head, "\\intbl a\\cell b\\cell\\row ", n, "\\pard\\par}"); },
                                                        [](const QByteArray& b) { QVERIFY(!rtf::rtfToHtml(b).isEmpty()); }, 4000, 48, 512 * 1024};
        QTest::newRow("decodeBodyText: Windows-1252") << Case{[](int n) { return repeated("<p>", "caf\xE9 ", n, "</p>"); }, [](const QByteArray& b) {
            QVERIFY(!normaliseHtmlCharset(decodeBodyText(b.constData(), b.size(), 0)).isEmpty());
        }, 32000, 16, 64 * 1024};
        // LZFu expands 8x by design, the converter about 12x that.
        QTest::newRow("message: RTF body of empty paragraphs") << Case{[](int n) {
            return tnefWithProperties(MapiBlockWriter().add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(repeated("{\\rtf1 ", "\\par ", n, "}")))).bytes());
        }, runMessage, 8000, 160, 1024 * 1024};
    }
    void linearInSize()
    {
        QFETCH(Case, c);
        if (!tneftest::HeapPeak::available())
            QSKIP("Heap measurement needs the sanitizer build");
        qint64 nanoseconds[2] = {};
        for (int i = 0; i < 2; ++i) {
            const QByteArray input = c.generate(c.units * (i ? 8 : 1));
            nanoseconds[i] = std::numeric_limits<qint64>::max();
            for (int attempt = 0; attempt < 3; ++attempt) {
                QElapsedTimer timer;
                tneftest::HeapPeak heap;
                timer.start();
                c.run(input);
                nanoseconds[i] = qMin(nanoseconds[i], timer.nsecsElapsed());
                QVERIFY2(double(heap.peak()) <= c.perByte * double(input.size()) + double(c.fixed),
                         qPrintable(QStringLiteral("peak heap %1 bytes for %2 input bytes").arg(heap.peak()).arg(input.size())));
            }
        }
        const double ratio = double(nanoseconds[1]) / double(qMax<qint64>(nanoseconds[0], 1));
        QVERIFY2(ratio < 24, qPrintable(QStringLiteral("time grew %1-fold for 8 times the input").arg(ratio)));  // margin for a busy machine
    }
};

QUORVIA_GUI_TEST_MAIN(TestResourceLimits)
#include "tst_resource_limits.moc"
