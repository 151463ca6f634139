// Resource limits of every parser entry point, as properties of the code:
// on inputs shaped to cost the most per byte, the heap held at the peak stays
// within a fixed multiple of the input's size, and the time grows linearly
// (an input eight times larger takes far less than the 64 times that
// quadratic work would). The multiples are the budgets fuzz/README.md lists;
// the fuzzers check the same budgets on every input they try.

#include "heap_meter.h"
#include "message/body_preparation.h"
#include "message/body_text.h"
#include "message/html_charset.h"
#include "message/tessil_message.h"
#include "message/tessil_parser.h"
#include "ole/compound_file.h"
#include "rtf/rtf_to_html.h"
#include "support/cfb_writer.h"
#include "support/lzfu_compressor.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/compressed_rtf.h"
#include "tnef/mapi_properties.h"
#include "tnef/tnef.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <functional>

using namespace tnefwriter;

namespace {

using Generator = std::function<QByteArray(int units)>;
using Runner = std::function<void(const QByteArray&)>;

struct Budget
{
    double perByte;     // heap at the peak per input byte
    qsizetype fixed;    // plus this much for any input
};

// Shapes: each builds an input of `units` repetitions of its costliest piece.

QByteArray repeated(const QByteArray& head, const QByteArray& piece, int units, const QByteArray& tail)
{
    QByteArray out = head;
    out.reserve(head.size() + piece.size() * units + tail.size());
    for (int i = 0; i < units; ++i)
        out += piece;
    return out + tail;
}

QByteArray manyInt32Properties(int units)
{
    QByteArray block = le32(quint32(units));
    for (int i = 0; i < units; ++i)
        block += MapiProp::int32(quint16(0x6000 + (i & 0x0FFF)), quint32(i)).encode();
    return block;
}

QByteArray manyNamedProperties(int units)
{
    QByteArray block = le32(quint32(units));
    const QByteArray one = MapiProp::int16(0x8000, 1).named(psPublicStrings(), QStringList{QStringLiteral("k")}).encode();
    for (int i = 0; i < units; ++i)
        block += one;
    return block;
}

QByteArray manyShortStrings(int units)
{
    MapiProp property(PtypMultipleFlag | PtypString, 0x6001);
    for (int i = 0; i < units; ++i)
        property.addValue(QByteArray("\x41\x00", 2));
    MapiBlockWriter block;
    block.add(property);
    return block.bytes();
}

// An LZFu stream that expands as far as the format allows: each control
// byte announces eight references of the longest length.
QByteArray longestExpansion(int units)
{
    QByteArray stream;
    for (int i = 0; i < units; ++i) {
        stream += char(0xFF);
        for (int r = 0; r < 8; ++r)
            stream += QByteArray("\x00\x0F", 2); // offset 0, length 17
    }
    const quint32 rawSize = quint32(units) * 8 * 17;
    const std::string value = lzfu::wrap(std::string_view(stream.constData(), size_t(stream.size())), rawSize);
    return QByteArray(value.data(), qsizetype(value.size()));
}

QByteArray tnefWithBlock(const QByteArray& block)
{
    TnefWriter writer;
    writer.attribute(LevelMessage, AttMsgProps, 6, block);
    return writer.bytes();
}

QByteArray tnefManyAttachments(int units)
{
    TnefWriter writer;
    for (int i = 0; i < units; ++i)
        writer.beginAttachment().attachData("x");
    return writer.bytes();
}

QByteArray tnefRtf(const QByteArray& rtf)
{
    MapiBlockWriter block;
    block.add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtf)));
    return tnefWithBlock(block.bytes());
}

QByteArray tnefHtml(const QByteArray& html, int images)
{
    MapiBlockWriter block;
    block.add(MapiProp::binary(PidTagBodyHtml, html));
    TnefWriter writer;
    writer.messageProperties(block);
    for (int i = 0; i < images; ++i) {
        AttachmentSpec spec{"I.PNG", QStringLiteral("i.png"), QByteArray(64, 'i'), "image/png",
                            "c" + QByteArray::number(i), {}, false, false};
        writer.attachment(spec);
    }
    return writer.bytes();
}

QByteArray compoundFileWithStream(int units)
{
    testsupport::CfbWriter writer;
    writer.addStream(QStringLiteral("/CONTENTS"), QByteArray(units, 'c'));
    return writer.build();
}

QByteArray compoundFileManyEntries(int units)
{
    testsupport::CfbWriter writer;
    for (int i = 0; i < units; ++i)
        writer.addStream(QStringLiteral("/S%1").arg(i), QByteArray(1, 's'));
    writer.addStream(QStringLiteral("/CONTENTS"), QByteArray(1, 'c'));
    return writer.build();
}

// Runners: each calls one entry point as its caller does and keeps the result
// alive until the call is over.

void runTnef(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    FILE* stream = fmemopen(copy.data(), size_t(copy.size()), "rb");
    QVERIFY(stream);
    TnefResult* result = tnef_parse(stream);
    std::fclose(stream);
    QVERIFY(result);
    tnef_free(result);
}

void runMapi(const QByteArray& bytes)
{
    MapiProperty** properties =
        mapi_parse_properties(size_t(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()));
    QVERIFY(properties);
    mapi_free_properties(properties);
}

void runCompressedRtf(const QByteArray& value)
{
    QByteArray copy = value + '\0';
    MapiValue mapiValue{};
    mapiValue.len = quint64(value.size());
    mapiValue.data.buf = reinterpret_cast<unsigned char*>(copy.data());
    MapiProperty property{};
    property.type = PTYP_BINARY;
    property.id = 0x1009;
    property.value_count = 1;
    property.values = &mapiValue;
    RtfBody** bodies = rtf_decode_compressed(&property);
    QVERIFY(bodies && bodies[0] && bodies[0]->len > 0);
    rtf_free_bodies(bodies, 1);
}

void runCompoundFile(const QByteArray& bytes)
{
    CompoundFile file(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
    QVERIFY(file.open());
    std::optional<CompoundStream> stream = file.stream("/CONTENTS");
    QVERIFY(stream);
    QByteArray content(qsizetype(stream->size()), '\0');
    QCOMPARE(stream->read(reinterpret_cast<unsigned char*>(content.data()), size_t(content.size())),
             size_t(content.size()));
}

void runRtf(const QByteArray& rtf)
{
    QVERIFY(!rtf::rtfToHtml(rtf).isEmpty());
}

void runBody(const QByteArray& body)
{
    const QString text = decodeBodyText(body.constData(), body.size(), 0);
    QVERIFY(!normaliseHtmlCharset(text).isEmpty());
}

void runMessage(const QByteArray& bytes)
{
    TessilParser parser;
    const QSharedPointer<TessilMessage> message = parser.parseData(bytes);
    QVERIFY(message);
    QVERIFY(!prepareBodyHtml(*message).isEmpty() || message->attachmentCount() > 0);
    for (int i = 0; i < message->attachmentCount(); ++i)
        message->attachmentAt(i)->content();
}

struct Measure
{
    qint64 nanoseconds = 0;
    std::size_t peak = 0;
};

Measure measure(const Runner& run, const QByteArray& input)
{
    Measure best{std::numeric_limits<qint64>::max(), 0};
    for (int attempt = 0; attempt < 3; ++attempt) {
        heapmeter::start();
        QElapsedTimer timer;
        timer.start();
        run(input);
        best.nanoseconds = qMin(best.nanoseconds, timer.nsecsElapsed());
        best.peak = qMax(best.peak, heapmeter::peak());
    }
    return best;
}

} // namespace

Q_DECLARE_METATYPE(Generator)
Q_DECLARE_METATYPE(Runner)
Q_DECLARE_METATYPE(Budget)

class TestResourceLimits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        tnef_set_diagnostics(nullptr);
        // First-use statics (regular expressions, converters, the MIME
        // database, the rich-text engine) are not the input's cost.
        runMessage(tnefHtml("<p>warm <img src=\"cid:c0\"></p>", 1));
        runMessage(tnefRtf("{\\rtf1 warm\\par}"));
        runBody("warm up");
    }

    void linearInSize_data()
    {
        QTest::addColumn<Generator>("generate");
        QTest::addColumn<Runner>("run");
        QTest::addColumn<int>("units");
        QTest::addColumn<Budget>("budget");

        // tnef_parse
        QTest::newRow("tnef_parse: many small properties")
            << Generator([](int n) { return tnefWithBlock(manyInt32Properties(n)); }) << Runner(runTnef) << 8000
            << Budget{24, 64 * 1024};
        QTest::newRow("tnef_parse: many attachments")
            << Generator(tnefManyAttachments) << Runner(runTnef) << 8000 << Budget{24, 64 * 1024};
        QTest::newRow("tnef_parse: longest RTF expansion")
            << Generator([](int n) { return tnefWithBlock(MapiBlockWriter().add(MapiProp::binary(PidTagRtfCompressed, longestExpansion(n))).bytes()); })
            << Runner(runTnef) << 2000 << Budget{24, 64 * 1024};
        // mapi_parse_properties
        QTest::newRow("mapi_parse_properties: many small properties")
            << Generator(manyInt32Properties) << Runner(runMapi) << 8000 << Budget{16, 4096};
        QTest::newRow("mapi_parse_properties: many named properties")
            << Generator(manyNamedProperties) << Runner(runMapi) << 4000 << Budget{16, 4096};
        QTest::newRow("mapi_parse_properties: many short strings")
            << Generator(manyShortStrings) << Runner(runMapi) << 32000 << Budget{16, 4096};
        // rtf_decode_compressed / rtf_decompress
        QTest::newRow("rtf_decode_compressed: longest expansion")
            << Generator(longestExpansion) << Runner(runCompressedRtf) << 16000 << Budget{12, 8192}; // the caller's copy of the value included
        // CompoundFile
        QTest::newRow("CompoundFile: one large stream")
            << Generator(compoundFileWithStream) << Runner(runCompoundFile) << 512 * 1024 << Budget{8, 64 * 1024};
        QTest::newRow("CompoundFile: many entries")
            << Generator(compoundFileManyEntries) << Runner(runCompoundFile) << 4000 << Budget{8, 64 * 1024};
        // rtfToHtml
        const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}";
        QTest::newRow("rtfToHtml: empty paragraphs")
            << Generator([head](int n) { return repeated(head, "\\par ", n, "}"); }) << Runner(runRtf) << 8000
            << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: formatting runs")
            << Generator([head](int n) { return repeated(head, "{\\b x}{\\i y}\\cf1 z\\cf0 ", n, "\\par}"); })
            << Runner(runRtf) << 4000 << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: table cells")
            << Generator([head](int n) { return repeated(head + "\\trowd\\cellx1000\\cellx2000", "\\intbl a\\cell b\\cell\\row ", n, "\\pard\\par}"); })
            << Runner(runRtf) << 4000 << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: list items")
            << Generator([head](int n) { return repeated(head, "{\\listtext\\'b7\\tab}\\ls1\\ilvl0 item\\par ", n, "\\pard\\par}"); })
            << Runner(runRtf) << 4000 << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: deep groups")
            << Generator([head](int n) { return repeated(head, "{\\b ", n, "x\\par}"); }) << Runner(runRtf) << 32000
            << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: double-byte escapes")
            << Generator([head](int n) { return repeated(head + "\\f1 ", "\\'c4\\'e3", n, "\\par}"); })
            << Runner(runRtf) << 8000 << Budget{48, 512 * 1024};
        QTest::newRow("rtfToHtml: fallback text")
            << Generator([](int n) { return repeated("{\\rtf1 ", "word \\fs- ", n, "}"); }) << Runner(runRtf) << 8000
            << Budget{48, 512 * 1024};
        // decodeBodyText + normaliseHtmlCharset
        QTest::newRow("decodeBodyText: GBK")
            << Generator([](int n) { return repeated("<html>", "\xC4\xE3\xBA\xC3", n, "</html>"); }) << Runner(runBody)
            << 32000 << Budget{16, 64 * 1024};
        QTest::newRow("decodeBodyText: Windows-1252")
            << Generator([](int n) { return repeated("<p>", "caf\xE9 ", n, "</p>"); }) << Runner(runBody) << 32000
            << Budget{16, 64 * 1024};
        // The whole message path
        QTest::newRow("message: RTF body of empty paragraphs")
            << Generator([](int n) { return tnefRtf(repeated("{\\rtf1 ", "\\par ", n, "}")); }) << Runner(runMessage)
            << 8000 << Budget{160, 1024 * 1024};
        QTest::newRow("message: HTML body with many inline images")
            << Generator([](int n) {
                   QByteArray html = "<html><body>";
                   for (int i = 0; i < n; ++i)
                       html += "<img src=\"cid:c" + QByteArray::number(i % 64) + "\">";
                   return tnefHtml(html + "</body></html>", 64);
               })
            << Runner(runMessage) << 2000 << Budget{160, 1024 * 1024};
        QTest::newRow("message: many attachments")
            << Generator(tnefManyAttachments) << Runner(runMessage) << 2000 << Budget{160, 1024 * 1024};
    }

    void linearInSize()
    {
        QFETCH(Generator, generate);
        QFETCH(Runner, run);
        QFETCH(int, units);
        QFETCH(Budget, budget);
        if (!heapmeter::available())
            QSKIP("Heap measurement needs the sanitizer build");

        const QByteArray small = generate(units);
        const QByteArray large = generate(units * 8);
        const Measure a = measure(run, small);
        const Measure b = measure(run, large);
        const double multiple = double(b.peak) / double(large.size());
        const double timeRatio = double(b.nanoseconds) / double(qMax<qint64>(a.nanoseconds, 1));
        std::printf("RESOURCE %-50s %9lld B: peak %10zu B (%6.2f x) %8.1f ms | %9lld B: %6.2f x, %8.1f ms | time x%.1f\n",
                    QTest::currentDataTag(), qlonglong(small.size()), a.peak, double(a.peak) / double(small.size()),
                    a.nanoseconds / 1e6, qlonglong(large.size()), multiple, b.nanoseconds / 1e6, timeRatio);

        for (const auto& [input, m] : {std::pair{&small, a}, std::pair{&large, b}}) {
            const double allowed = budget.perByte * double(input->size()) + double(budget.fixed);
            if (double(m.peak) > allowed)
                QFAIL(qPrintable(QStringLiteral("peak heap %1 bytes for %2 input bytes; the budget is %3 x size + %4")
                                     .arg(m.peak).arg(input->size()).arg(budget.perByte).arg(budget.fixed)));
        }
        // Eight times the input: linear work takes about eight times as long,
        // quadratic 64 times. The margin absorbs a busy machine.
        QVERIFY2(timeRatio < 24, qPrintable(QStringLiteral("time grew %1-fold for 8 times the input").arg(timeRatio)));
    }
};

QUORVIA_GUI_TEST_MAIN(TestResourceLimits)
#include "tst_resource_limits.moc"
