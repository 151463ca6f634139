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

QByteArray manyInt32Properties(int units)
{
    QByteArray block = le32(quint32(units));
    for (int i = 0; i < units; ++i)
        block += MapiProp::int32(quint16(0x6000 + (i & 0x0FFF)), quint32(i)).encode();
    return block;
}

QByteArray tnefWithProperties(const QByteArray& block)
{
    return TnefWriter().attribute(LevelMessage, AttMsgProps, 6, block).bytes();
}

QByteArray tnefWithRtf(const QByteArray& rtf)
{
    return tnefWithProperties(MapiBlockWriter().add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtf))).bytes());
}

void runMessage(const QByteArray& bytes)
{
    const QSharedPointer<TessilMessage> message = TessilParser().parseData(bytes);
    QVERIFY(message && !prepareBodyHtml(*message).isEmpty());
    for (int i = 0; i < message->attachmentCount(); ++i)
        message->attachmentAt(i)->content();
}

void decodeRtf(const QByteArray& bytes)
{
    QByteArray copy = bytes + '\0';  // the caller's copy, counted in the budget
    MapiValue value{quint64(bytes.size()), {}};
    value.data.buf = reinterpret_cast<unsigned char*>(copy.data());
    const MapiProperty property{PTYP_BINARY, 0x1009, 1, &value, nullptr, 0, nullptr};
    RtfBody** bodies = rtf_decode_compressed(&property);
    QVERIFY(bodies && bodies[0] && bodies[0]->len > 0);
    rtf_free_bodies(bodies, 1);
}

QByteArray compoundFile(int entries)
{
    testsupport::CfbWriter writer;
    for (int i = 0; i < entries; ++i)
        writer.addStream(QStringLiteral("/S%1").arg(i), "s");
    writer.addStream(QStringLiteral("/CONTENTS"), "c");
    return writer.build();
}

void readCompoundFile(const QByteArray& bytes)
{
    CompoundFile file(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
    unsigned char c = 0;
    QVERIFY(file.open() && file.stream("/CONTENTS")->read(&c, 1) == 1);
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
        runMessage(tnefWithRtf("{\\rtf1 warm\\par}"));
        normaliseHtmlCharset(decodeBodyText("warm", 4, 0));
    }

    void linearInSize_data()
    {
        QTest::addColumn<Case>("c");
        const QByteArray table = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\trowd\\cellx1000\\cellx2000";
        // Control bytes announcing eight references of the longest length: the format's own 8x expansion.
        const auto longestExpansion = [](int n) {
            return QByteArray::fromStdString(lzfu::wrap(("\xFF" + QByteArray("\x00\x0F", 2).repeated(8)).repeated(n).toStdString(), quint32(n) * 8 * 17));
        };
        QTest::newRow("tnef_parse") << Case{[](int n) { return tnefWithProperties(manyInt32Properties(n)); },
                                            [](const QByteArray& b) { QVERIFY(tneftest::parse(b)->property_count > 0); }, 8000, 24, 64 * 1024};
        QTest::newRow("mapi_parse_properties") << Case{manyInt32Properties, [](const QByteArray& b) {
            mapi_free_properties(mapi_parse_properties(size_t(b.size()), reinterpret_cast<const unsigned char*>(b.constData())));
        }, 8000, 16, 4096};
        QTest::newRow("rtf_decode_compressed") << Case{longestExpansion, decodeRtf, 16000, 12, 8192};
        QTest::newRow("CompoundFile: many entries") << Case{compoundFile, readCompoundFile, 4000, 8, 64 * 1024};
        QTest::newRow("rtfToHtml: table cells") << Case{[table](int n) { return table + QByteArray("\\intbl a\\cell b\\cell\\row ").repeated(n) + "\\pard\\par}"; },
                                                        [](const QByteArray& b) { QVERIFY(!rtf::rtfToHtml(b).isEmpty()); }, 4000, 48, 512 * 1024};
        QTest::newRow("decodeBodyText: Windows-1252") << Case{[](int n) { return "<p>" + QByteArray("caf\xE9 ").repeated(n) + "</p>"; }, [](const QByteArray& b) {
            QVERIFY(!normaliseHtmlCharset(decodeBodyText(b.constData(), b.size(), 0)).isEmpty());
        }, 32000, 16, 64 * 1024};
        // LZFu expands 8x by design, the converter about 12x that.
        QTest::newRow("message: RTF of empty paragraphs") << Case{[](int n) { return tnefWithRtf("{\\rtf1 " + QByteArray("\\par ").repeated(n) + "}"); },
                                                                  runMessage, 8000, 160, 1024 * 1024};
    }
    void linearInSize()
    {
        QFETCH(Case, c);
        if (!tneftest::HeapPeak::available())
            QSKIP("Heap measurement needs the sanitizer build");
        qint64 nanoseconds[2] = {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
        for (int i = 0; i < 2; ++i) {
            const QByteArray input = c.generate(c.units * (i ? 8 : 1));
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
