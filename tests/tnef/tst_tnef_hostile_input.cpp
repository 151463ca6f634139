#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef_test_util.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QStringDecoder>

using namespace tnefwriter;
using tneftest::AllocationWatch;
using tneftest::Diagnostics;

namespace {

const QString kEndOfInput = QStringLiteral("Unexpected end of input");

bool isUtf8(const char* text)
{
    if (!text)
        return true;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(QByteArrayView(text));
    return !decoder.hasError();
}

// Checks what every result promises, whatever the input: strings are valid
// UTF-8, lengths and pointers agree, counts are sane.
void verifyResultShape(const TnefResult* r)
{
    QVERIFY(r);
    QVERIFY(isUtf8(r->subject));
    QVERIFY(isUtf8(r->sender_name));
    QVERIFY(isUtf8(r->sender_email));
    QVERIFY(isUtf8(r->display_to));
    QVERIFY(isUtf8(r->display_cc));
    QVERIFY(isUtf8(r->message_class));
    QCOMPARE(r->body == nullptr, r->body_len == 0);
    QCOMPARE(r->html == nullptr, r->html_len == 0);
    QCOMPARE(r->rtf == nullptr, r->rtf_len == 0);
    QVERIFY(r->attachment_count >= 0 && r->property_count >= 0);
    for (int i = 0; i < r->attachment_count; ++i) {
        const TnefAttachment& a = r->attachments[i];
        QVERIFY(a.data && a.len > 0);
        QVERIFY(isUtf8(a.name));
        QVERIFY(isUtf8(a.mime_type));
        QVERIFY(isUtf8(a.content_id));
        QVERIFY(a.is_ole == 0 || (a.is_ole == 1 && a.ole_offset == 16 && a.len >= 20));
    }
    for (int i = 0; i < r->property_count; ++i)
        QCOMPARE(r->properties[i].data == nullptr, r->properties[i].len == 0);
}

// A message using every kind of record and property the decoder knows.
QByteArray richMessage()
{
    MapiBlockWriter msg;
    msg.add(MapiProp::int32(PidTagInternetCodepage, 1252))
        .add(MapiProp::unicode(PidTagSubject, QString::fromUtf8("Quarterly report \xF0\x9F\x93\x88")))
        .add(MapiProp::string8(PidTagSentRepresentingName, "Jos\xE9 Ruiz"))
        .add(MapiProp::string8(PidTagPrimarySendAccount, "1\x01jose\x01jose@example.com"))
        .add(MapiProp::string8(PidTagDisplayTo, "Ana; Bo"))
        .add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
        .add(MapiProp::time(PidTagClientSubmitTime, 0x01D9C0FFEE000000ULL))
        .add(MapiProp::int16(0x0017, 1))
        .add(MapiProp::boolean(0x0E1F, true))
        .add(MapiProp::guid(0x7001, psAddress()))
        .add(MapiProp::multi(PtypString, 0x7002, {utf16le(QStringLiteral("a")), utf16le(QStringLiteral("bc"))}))
        .add(MapiProp::multi(PtypInteger32, 0x7003, {le32(1), le32(2), le32(3)}))
        .add(MapiProp::string8(0x8000, "x@example.com").named(psAddress(), 0x8083))
        .add(MapiProp::unicode(0x8001, QStringLiteral("blue")).named(psPublicStrings(), QStringList{QStringLiteral("Keywords")}))
        .add(MapiProp::binary(PidTagBodyHtml, "<html><body><p>Hello</p></body></html>"))
        .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0 Arial;}}\\f0 Hello \\b world\\b0\\par}")));
    TnefWriter w;
    w.tnefVersion().oemCodepage(1252).messageClass("IPM.Microsoft Mail.Note").body("Hello world").messageProperties(msg);
    w.attachment({"REPORT~1.PDF", QStringLiteral("report.pdf"), QByteArray(700, 'p'), "application/pdf", "cid-1", {}});
    w.attachment({"OBJ.DAT", QString(), oleObjectData(QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(200, '\0')),
                  QByteArray(), QByteArray(), {MapiProp::string8(PidTagAttachLongPathname, "C:\\a\\b.doc")}, true, true});
    return w.bytes();
}

} // namespace

class TestTnefHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lengthBeyondTheStream_data()
    {
        QTest::addColumn<quint32>("claimed");
        QTest::addColumn<int>("present");  // data bytes that actually follow
        QTest::newRow("4 GiB claimed, nothing follows") << 0xFFFFFFF0u << 0;
        QTest::newRow("2 GiB claimed, 100 bytes follow") << 0x80000000u << 100;
        QTest::newRow("one byte more than present") << 5001u << 5000;
        QTest::newRow("data present but checksum missing") << 5000u << 5000;
    }
    void lengthBeyondTheStream()
    {
        QFETCH(quint32, claimed);
        QFETCH(int, present);
        TnefWriter w;
        w.body("complete").beginAttachment().attachData("complete attachment").beginAttachment();
        QByteArray bytes = w.bytes();
        bytes += char(LevelAttachment) + le16(AttAttachData) + le16(AtpByte) + le32(claimed) + QByteArray(present, 'd');

        for (bool pipe : {false, true}) {
            Diagnostics diag;
            AllocationWatch watch;
            auto r = pipe ? tneftest::parsePipe(bytes) : tneftest::parseFile(bytes);
            const size_t largest = watch.largest();
            QCOMPARE(r->error, 0);
            QCOMPARE(diag.messages(), QStringList{kEndOfInput});
            QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("complete"));
            // The attachment whose data never arrived is dropped.
            QCOMPARE(r->attachment_count, 1);
            QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("complete attachment"));
            if (AllocationWatch::available()) {
                // A file's size is known, so nothing is allocated for data
                // that is not there; a pipe is read in bounded chunks.
                const size_t bound = pipe ? (2u << 20) : 65536 + 2 * size_t(present);
                QVERIFY2(largest <= bound, qPrintable(QStringLiteral("%1 > %2").arg(largest).arg(bound)));
            }
        }
    }

    void pipeMemoryGrowsWithTheBytesThatArrive()
    {
        if (!AllocationWatch::available())
            QSKIP("Allocation hooks need the sanitizer build");
        TnefWriter w;
        QByteArray bytes = w.bytes();
        const int present = 5 << 20;
        bytes += char(LevelAttachment) + le16(AttAttachData) + le16(AtpByte) + le32(0xFFFFFF00u) + QByteArray(present, 'd');
        AllocationWatch watch;
        Diagnostics diag;
        auto r = tneftest::parsePipe(bytes);
        QCOMPARE(diag.messages(), QStringList{kEndOfInput});
        // The buffer at most doubles past what arrived, and while it grows the
        // old and the new block briefly coexist.
        QVERIFY2(watch.peak() <= size_t(3 * present + (2 << 20)), qPrintable(QString::number(watch.peak())));
    }

    void largeDataThroughAPipeIsComplete()
    {
        QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        QRandomGenerator rng(5);
        for (char& c : data)
            c = char(rng.bounded(256));
        TnefWriter w;
        w.attachment({"BIG.BIN", QString(), data, QByteArray(), QByteArray(), {}});
        auto fromPipe = tneftest::parsePipe(w.bytes());
        auto fromFile = tneftest::parseFile(w.bytes());
        QCOMPARE(fromPipe->attachment_count, 1);
        QVERIFY(tneftest::bytesOf(fromPipe->attachments[0].data, fromPipe->attachments[0].len) == data);
        QVERIFY(tneftest::bytesOf(fromFile->attachments[0].data, fromFile->attachments[0].len) == data);
    }

    void streamNotAtItsStart()
    {
        // The caller may hand over a stream positioned past some prefix.
        const QByteArray tnef = TnefWriter().body("after a prefix").bytes();
        FILE* f = std::tmpfile();
        std::fwrite("PREFIX", 1, 6, f);
        std::fwrite(tnef.constData(), 1, size_t(tnef.size()), f);
        std::fseek(f, 6, SEEK_SET);
        tneftest::Result r(tnef_parse(f));
        std::fclose(f);
        QCOMPARE(r->error, 0);
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("after a prefix"));
    }

    void manyTinyPropertiesStayWithinAFewTimesTheInput()
    {
        if (!AllocationWatch::available())
            QSKIP("Allocation hooks need the sanitizer build");
        // The smallest property a block can hold, repeated: the decoded form
        // is larger than the input, but by a bounded factor.
        MapiBlockWriter props;
        for (int i = 0; i < 20000; ++i)
            props.add(MapiProp(PtypBinary, quint16(0x7000 + (i & 0xFFF))));
        TnefWriter w;
        w.messageProperties(props);
        const QByteArray bytes = w.bytes();
        Diagnostics diag;
        AllocationWatch watch;
        auto r = tneftest::parseFile(bytes);
        const size_t peak = watch.peak();
        QCOMPARE(r->property_count, 20000);
        QVERIFY2(peak <= 24 * size_t(bytes.size()), qPrintable(QStringLiteral("%1 for %2 bytes").arg(peak).arg(bytes.size())));
    }

    void mutatedStreamsNeverBreakTheDecoder()
    {
        const QByteArray original = richMessage();
        auto clean = tneftest::parseFile(original);
        QCOMPARE(clean->error, 0);
        QCOMPARE(clean->attachment_count, 2);
        verifyResultShape(clean.get());

        QRandomGenerator rng(20240611);
        QElapsedTimer timer;
        timer.start();
        size_t worstRatio = 0;
        Diagnostics diag;  // keeps the trace off the test log
        for (int round = 0; round < 1500; ++round) {
            QByteArray bytes = original;
            const int edits = 1 + int(rng.bounded(6));
            for (int e = 0; e < edits; ++e) {
                const int at = 6 + int(rng.bounded(bytes.size() - 6));
                switch (rng.bounded(5)) {
                case 0:  // flip a byte
                    bytes[at] = char(rng.bounded(256));
                    break;
                case 1:  // plant a large little-endian length
                    if (at + 4 <= bytes.size()) {
                        const quint32 v = rng.bounded(2) ? 0xFFFFFFF0u - rng.bounded(64) : quint32(rng.bounded(1u << 24));
                        bytes.replace(at, 4, le32(v));
                    }
                    break;
                case 2:  // cut the stream
                    bytes.truncate(at);
                    break;
                case 3:  // drop a few bytes
                    bytes.remove(at, 1 + int(rng.bounded(8)));
                    break;
                default:  // duplicate a slice
                    bytes.insert(at, bytes.mid(at, 1 + int(rng.bounded(64))));
                    break;
                }
                if (bytes.size() <= 6)
                    break;
            }
            AllocationWatch watch;
            auto r = tneftest::parseFile(bytes);
            const size_t peak = watch.peak();
            verifyResultShape(r.get());
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("round %1: %2").arg(round).arg(QString::fromLatin1(bytes.toHex()))));
            if (AllocationWatch::available() && bytes.size() > 0) {
                const size_t ratio = (peak > 65536 ? peak - 65536 : 0) / size_t(bytes.size());
                worstRatio = std::max(worstRatio, ratio);
                QVERIFY2(peak <= 65536 + 24 * size_t(bytes.size()),
                         qPrintable(QStringLiteral("round %1: %2 bytes for %3").arg(round).arg(peak).arg(bytes.size())));
            }
        }
        qInfo("1500 mutated streams in %lld ms; worst ratio of peak (beyond 64 KiB) to input %zu", timer.elapsed(), worstRatio);
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefHostileInput)
#include "tst_tnef_hostile_input.moc"
