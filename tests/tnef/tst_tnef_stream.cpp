#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/tnef_options.h"
#include "tnef_test_util.h"

#include <QGuiApplication>
#include <QRegularExpression>

using namespace tnefwriter;
using tneftest::Diagnostics;
using tneftest::parseFile;

namespace {

const QString kEndOfInput = QStringLiteral("Unexpected end of input");
const QString kChecksumWarning = QStringLiteral("WARNING: invalid checksum, input file may be corrupted");

QByteArray str(const char* s)
{
    return s ? QByteArray(s) : QByteArray();
}

// A message whose header fields come from one property block.
tneftest::Result parseProps(const MapiBlockWriter& props)
{
    TnefWriter w;
    w.messageProperties(props);
    return parseFile(w.bytes());
}

} // namespace

class TestTnefStream : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerOnlyIsAnEmptyMessage()
    {
        Diagnostics diag;
        auto r = parseFile(TnefWriter().bytes());
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QVERIFY(!r->body && !r->html && !r->rtf && !r->subject && !r->sender_email && !r->error_text);
        QCOMPARE(r->attachment_count, 0);
        QCOMPARE(r->property_count, 0);
        QVERIFY(diag.lines().isEmpty());
    }

    void notATnefStream_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wrong signature") << TnefWriter(1, 0x223E9F79).body("text").bytes();
        QTest::newRow("byte-swapped signature") << TnefWriter(1, 0x789F3E22).body("text").bytes();
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("three bytes of the signature") << TnefWriter().bytes().left(3);
        QTest::newRow("a PDF") << QByteArray("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }
    void notATnefStream()
    {
        QFETCH(QByteArray, bytes);
        Diagnostics diag;
        auto r = parseFile(bytes);
        QVERIFY(r);
        QCOMPARE(r->error, 1);
        QVERIFY(!r->error_text);
        QVERIFY(!r->body && !r->subject);
        QCOMPARE(r->attachment_count, 0);
        QCOMPARE(r->property_count, 0);
    }

    void unknownLevelFailsButReadsOn()
    {
        TnefWriter w;
        w.attribute(3, AttBody, AtpText, "odd level").body("after").beginAttachment().attachData("x");
        auto r = parseFile(w.bytes());
        QCOMPARE(r->error, 1);
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("after"));
        QCOMPARE(r->attachment_count, 1);
    }

    void traceAndChecksumLines()
    {
        TnefWriter w;
        w.tnefVersion();
        w.attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hellp", checksum("Hello"));
        w.beginAttachment();
        Diagnostics diag;
        auto r = parseFile(w.bytes());
        QCOMPARE(r->error, 0);
        // The changed byte is kept: a mismatch warns and goes on.
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("Hellp"));
        QCOMPARE(diag.lines(), (QStringList{
                                   QStringLiteral("[ATTR] lvl=1 name=0x9006 len=4"),
                                   kChecksumWarning,
                                   QStringLiteral("[ATTR] lvl=1 name=0x800c len=5"),
                                   QStringLiteral("[ATTR] lvl=2 name=0x9002 len=14"),
                               }));
    }

    void everyParseResetsTheOptionWord()
    {
        tnef_options = 0;
        TnefWriter w;
        w.attributeWithChecksum(LevelMessage, AttBody, AtpText, "abc", 0);
        Diagnostics diag;
        auto r = parseFile(w.bytes());
        QCOMPARE(diag.messages(), QStringList{kChecksumWarning});
        QCOMPARE(tnef_options, TNEF_DEFAULT_OPTIONS);
    }

    void silencedDiagnosticsWriteNothing()
    {
        FILE* previous = tnef_diagnostics();
        tnef_set_diagnostics(nullptr);
        QVERIFY(!tnef_diagnostics());
        TnefWriter w;
        w.attributeWithChecksum(LevelMessage, AttBody, AtpText, "abc", 0).raw("12345678");
        auto r = parseFile(w.bytes());
        tnef_set_diagnostics(previous);
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("abc"));
    }

    void trailingBytes_data()
    {
        QTest::addColumn<int>("extra");
        QTest::addColumn<QStringList>("messages");
        for (int n = 1; n <= 7; ++n)
            QTest::addRow("%d stray bytes", n) << n << QStringList();
        QTest::newRow("8 bytes are a cut record") << 8 << QStringList{kEndOfInput};
        QTest::newRow("9 bytes are a cut record") << 9 << QStringList{kEndOfInput};
    }
    void trailingBytes()
    {
        QFETCH(int, extra);
        QFETCH(QStringList, messages);
        TnefWriter w;
        w.body("kept").raw(QByteArray(extra, '\x01'));
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            auto r = pipe ? tneftest::parsePipe(w.bytes()) : parseFile(w.bytes());
            QCOMPARE(r->error, 0);
            QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("kept"));
            QCOMPARE(diag.messages(), messages);
        }
    }

    void firstBodyWins()
    {
        TnefWriter w;
        w.body("first").body("second");
        auto r = parseFile(w.bytes());
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("first"));
    }

    void emptyBodiesAreAbsent()
    {
        MapiBlockWriter props;
        props.add(MapiProp::binary(PidTagBodyHtml, QByteArray()))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(QByteArray())));
        TnefWriter w;
        w.body(QByteArray()).body("second body is ignored").messageProperties(props);
        auto r = parseFile(w.bytes());
        QVERIFY(!r->body && r->body_len == 0);
        QVERIFY(!r->html && r->html_len == 0);
        QVERIFY(!r->rtf && r->rtf_len == 0);
    }

    void bodiesFromProperties()
    {
        const QByteArray rtf("{\\rtf1\\ansi Hello {\\b world}\\par}");
        MapiBlockWriter props;
        props.add(MapiProp::multi(PtypBinary, PidTagBodyHtml, {"<p>one</p>", "<p>two</p>"}))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtf)));
        MapiBlockWriter later;
        later.add(MapiProp::binary(PidTagBodyHtml, "<p>later</p>"))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 later}")));
        TnefWriter w;
        w.messageProperties(props).messageProperties(later);
        auto r = parseFile(w.bytes());
        QCOMPARE(tneftest::bytesOf(r->html, r->html_len), QByteArray("<p>one</p>"));
        QCOMPARE(tneftest::bytesOf(r->rtf, r->rtf_len), rtf);
    }

    void htmlAndRtfOnlyAsBinary()
    {
        MapiBlockWriter props;
        props.add(MapiProp::string8(PidTagBodyHtml, "<p>8-bit</p>")).add(MapiProp::int32(PidTagRtfCompressed, 7));
        auto r = parseProps(props);
        QVERIFY(!r->html);
        QVERIFY(!r->rtf);
        QCOMPARE(r->property_count, 2);
    }

    void rtfWithBadCrcGivesNoBody()
    {
        QByteArray value = compressedRtf("{\\rtf1 x}");
        value[12] = char(value[12] ^ 1);
        MapiBlockWriter props;
        props.add(MapiProp::binary(PidTagRtfCompressed, value));
        Diagnostics diag;
        auto r = parseProps(props);
        QVERIFY(!r->rtf);
        QCOMPARE(diag.messages(), QStringList{QStringLiteral("Invalid RTF CRC, input file may be corrupted")});
    }

    void headerFields_data()
    {
        QTest::addColumn<QList<MapiProp>>("props");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("subject") << QList<MapiProp>{MapiProp::string8(PidTagSubject, "Plain")} << QByteArray("subject") << QByteArray("Plain");
        QTest::newRow("topic before subject")
            << QList<MapiProp>{MapiProp::string8(PidTagConversationTopic, "Topic"), MapiProp::unicode(PidTagSubject, QStringLiteral("RE: Topic"))}
            << QByteArray("subject") << QByteArray("Topic");
        QTest::newRow("subject before topic")
            << QList<MapiProp>{MapiProp::unicode(PidTagSubject, QStringLiteral("RE: Topic")), MapiProp::string8(PidTagConversationTopic, "Topic")}
            << QByteArray("subject") << QByteArray("RE: Topic");
        QTest::newRow("empty subject is filled later")
            << QList<MapiProp>{MapiProp::string8(PidTagSubject, ""), MapiProp::string8(PidTagConversationTopic, "Topic")}
            << QByteArray("subject") << QByteArray("Topic");
        QTest::newRow("subject of another type is ignored")
            << QList<MapiProp>{MapiProp::int32(PidTagSubject, 0x41414141), MapiProp::string8(PidTagConversationTopic, "Topic")}
            << QByteArray("subject") << QByteArray("Topic");
        QTest::newRow("account gives the third part")
            << QList<MapiProp>{MapiProp::string8(PidTagPrimarySendAccount, "00000003\x01" "Ana Ruiz\x01" "ana@example.com"),
                               MapiProp::string8(PidTagSentRepresentingEmailAddress, "other@example.com")}
            << QByteArray("sender_email") << QByteArray("ana@example.com");
        QTest::newRow("account with one separator is taken whole")
            << QList<MapiProp>{MapiProp::string8(PidTagPrimarySendAccount, "id\x01" "ana@example.com")}
            << QByteArray("sender_email") << QByteArray("id\x01" "ana@example.com");
        QTest::newRow("account as Unicode")
            << QList<MapiProp>{MapiProp::unicode(PidTagPrimarySendAccount, QStringLiteral("1\u0001Zoë\u0001zoe@example.com"))}
            << QByteArray("sender_email") << QByteArray("zoe@example.com");
        QTest::newRow("address before account")
            << QList<MapiProp>{MapiProp::string8(PidTagSentRepresentingEmailAddress, "first@example.com"),
                               MapiProp::string8(PidTagPrimarySendAccount, "1\x01n\x01second@example.com")}
            << QByteArray("sender_email") << QByteArray("first@example.com");
        QTest::newRow("account in the message code page becomes UTF-8")
            << QList<MapiProp>{MapiProp::string8(PidTagPrimarySendAccount, "1\x01n\x01jos\xE9@example.com")}
            << QByteArray("sender_email") << QByteArray("jos\xC3\xA9@example.com");
        QTest::newRow("sender name") << QList<MapiProp>{MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Zoë"))}
                                     << QByteArray("sender_name") << QByteArray("Zo\xC3\xAB");
        QTest::newRow("display to") << QList<MapiProp>{MapiProp::string8(PidTagDisplayTo, "A; B"), MapiProp::string8(PidTagDisplayTo, "C")}
                                    << QByteArray("display_to") << QByteArray("A; B");
        QTest::newRow("display cc") << QList<MapiProp>{MapiProp::string8(PidTagDisplayCc, "Carol")}
                                    << QByteArray("display_cc") << QByteArray("Carol");
        QTest::newRow("message class") << QList<MapiProp>{MapiProp::string8(PidTagMessageClass, "IPM.Schedule.Meeting.Request")}
                                       << QByteArray("message_class") << QByteArray("IPM.Schedule.Meeting.Request");
        QTest::newRow("multi-valued subject uses the first value")
            << QList<MapiProp>{MapiProp::multi(PtypString8, PidTagSubject, {QByteArray("one\0", 4), QByteArray("two\0", 4)})}
            << QByteArray("subject") << QByteArray("one");
        QTest::newRow("subject with no value is skipped")
            << QList<MapiProp>{MapiProp(PtypString8, PidTagSubject), MapiProp::string8(PidTagConversationTopic, "Topic")}
            << QByteArray("subject") << QByteArray("Topic");
        QTest::newRow("subject in 1252 with no code page") << QList<MapiProp>{MapiProp::string8(PidTagSubject, "caf\xE9")}
                                                         << QByteArray("subject") << QByteArray("caf\xC3\xA9");
        QTest::newRow("subject already UTF-8") << QList<MapiProp>{MapiProp::string8(PidTagSubject, "caf\xC3\xA9")}
                                               << QByteArray("subject") << QByteArray("caf\xC3\xA9");
        QTest::newRow("subject in GBK after its code page")
            << QList<MapiProp>{MapiProp::int32(PidTagInternetCodepage, 936), MapiProp::string8(PidTagSubject, "\xC4\xE3\xBA\xC3")}
            << QByteArray("subject") << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD");
        // The code page pass runs before the fields of the same block.
        QTest::newRow("code page set after the subject in the block")
            << QList<MapiProp>{MapiProp::string8(PidTagSubject, "\x82\xB1\x82\xF1"), MapiProp::int32(PidTagInternetCodepage, 932)}
            << QByteArray("subject") << QByteArray("\xE3\x81\x93\xE3\x82\x93");
    }
    void headerFields()
    {
        QFETCH(QList<MapiProp>, props);
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, expected);
        MapiBlockWriter block;
        for (const MapiProp& p : props)
            block.add(p);
        auto r = parseProps(block);
        QCOMPARE(r->error, 0);
        const char* value = field == "subject"        ? r->subject
                          : field == "sender_email"   ? r->sender_email
                          : field == "sender_name"    ? r->sender_name
                          : field == "display_to"     ? r->display_to
                          : field == "display_cc"     ? r->display_cc
                          : field == "message_class"  ? r->message_class
                                                      : nullptr;
        QCOMPARE(str(value), expected);
    }

    void fieldsSurviveAcrossBlocks()
    {
        MapiBlockWriter first, second;
        first.add(MapiProp::string8(PidTagSubject, "first")).add(MapiProp::time(PidTagClientSubmitTime, 111));
        second.add(MapiProp::string8(PidTagSubject, "second"))
            .add(MapiProp::time(PidTagClientSubmitTime, 0x01D9000000000222ULL))
            .add(MapiProp::int32(PidTagInternetCodepage, 950));
        TnefWriter w;
        w.messageProperties(first).messageProperties(second);
        auto r = parseFile(w.bytes());
        QCOMPARE(str(r->subject), QByteArray("first"));
        QCOMPARE(r->submit_time, 0x01D9000000000222ULL);  // a later time replaces
        QCOMPARE(r->code_page, 950u);
        QCOMPARE(r->property_count, 5);
    }

    void corruptBlockContributesNothing()
    {
        MapiBlockWriter bad;
        bad.add(MapiProp::string8(PidTagSubject, "never seen")).add(MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0)));
        MapiBlockWriter good;
        good.add(MapiProp::string8(PidTagConversationTopic, "seen"));
        TnefWriter w;
        w.messageProperties(bad).messageProperties(good);
        Diagnostics diag;
        auto r = parseFile(w.bytes());
        QCOMPARE(r->error, 0);
        QCOMPARE(str(r->subject), QByteArray("seen"));
        QCOMPARE(r->property_count, 1);
        QCOMPARE(diag.messages(), QStringList{QStringLiteral("Invalid attribute, input file may be corrupted")});
    }

    void savedProperties()
    {
        const QByteArray guid = psAddress();
        MapiBlockWriter props;
        props.add(MapiProp::int16(0x0017, 0xFFFE))
            .add(MapiProp::int32(0x3FDE, 20127))
            .add(MapiProp::boolean(0x0E1F, true))
            .add(MapiProp::float32(0x7001, 2.5f))
            .add(MapiProp::float64(0x7002, 0.125))
            .add(MapiProp::int64(0x7003, 0x1122334455667788ULL))
            .add(MapiProp::time(0x0039, 0x01D8F00DCAFEBABEULL))
            .add(MapiProp::guid(0x7004, guid))
            .add(MapiProp::string8(0x001A, "IPM.Note"))
            .add(MapiProp::unicode(0x0037, QStringLiteral("Zoë")))
            .add(MapiProp::binary(0x0FF9, QByteArray("\x00\x01\x02", 3)))
            .add(MapiProp::binary(0x0FFA, QByteArray()))
            .add(MapiProp(PtypString8 | PtypMultipleFlag, 0x7005))
            .add(MapiProp::multi(PtypInteger32, 0x7006, {le32(9), le32(8)}))
            .add(MapiProp::int32(0x8001, 0x8083).named(psAddress(), 0x8083));
        Diagnostics diag;
        auto r = parseProps(props);
        QCOMPARE(r->property_count, 15);

        struct Expect {
            quint16 id;
            quint16 type;
            QByteArray data;
        };
        const QList<Expect> expected{
            {0x0017, 0x0002, le32(0xFFFE)},
            {0x3FDE, 0x0003, le32(20127)},
            {0x0E1F, 0x000B, le32(1)},
            {0x7001, 0x0004, float32Bytes(2.5f)},
            {0x7002, 0x0005, float64Bytes(0.125)},
            {0x7003, 0x0014, le64(0x1122334455667788ULL)},
            {0x0039, 0x0040, le64(0x01D8F00DCAFEBABEULL)},
            {0x7004, 0x0048, guid},
            {0x001A, 0x001E, QByteArray("IPM.Note\0", 9)},
            {0x0037, 0x001F, QByteArray("Zo\xC3\xAB\0", 5)},
            {0x0FF9, 0x0102, QByteArray("\x00\x01\x02", 3)},
            {0x0FFA, 0x0102, QByteArray()},
            {0x7005, 0x001E, QByteArray()},
            {0x7006, 0x0003, le32(9)},
            {0x8083, 0x0003, le32(0x8083)},
        };
        for (int i = 0; i < expected.size(); ++i) {
            const TnefProperty& p = r->properties[i];
            QCOMPARE(p.id, expected[i].id);
            QCOMPARE(p.type, expected[i].type);
            QCOMPARE(tneftest::bytesOf(p.data, p.len), expected[i].data);
            QCOMPARE(p.data == nullptr, expected[i].data.isEmpty());
        }

        const QStringList lines = diag.lines();
        QCOMPARE(lines.size(), 1 + 15);
        const QRegularExpression save(QStringLiteral(
            "^\\[SAVE\\] i=(\\d+) name=0x([0-9a-f]{4}) type=0x([0-9a-f]{4}) num_values=(\\d+) buf=(\\S+) len=(\\d+)$"));
        const QList<int> valueCounts{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 2, 1};
        const QList<int> lens{2, 4, 4, 4, 8, 8, 8, 16, 9, 5, 3, 0, 0, 4, 4};
        for (int i = 0; i < 15; ++i) {
            const auto m = save.match(lines.at(i + 1));
            QVERIFY2(m.hasMatch(), qPrintable(lines.at(i + 1)));
            QCOMPARE(m.captured(1).toInt(), i);
            QCOMPARE(m.captured(2).toUShort(nullptr, 16), expected[i].id);
            QCOMPARE(m.captured(3).toUShort(nullptr, 16), expected[i].type);
            QCOMPARE(m.captured(4).toInt(), valueCounts[i]);
            QCOMPARE(m.captured(6).toInt(), lens[i]);
        }
    }

    void truncationAtEveryOffset()
    {
        MapiBlockWriter msg;
        msg.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Cut here")));
        MapiBlockWriter att;
        att.add(MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("long name.txt")));
        TnefWriter w;
        w.tnefVersion()                       // record 0
            .messageProperties(msg)           // 1
            .body("plain body")               // 2
            .beginAttachment()                // 3
            .attachTitle("SHORT.TXT")         // 4
            .attachData("attachment bytes")   // 5
            .attachProperties(att)            // 6
            .beginAttachment()                // 7
            .attachData("second");            // 8
        const QByteArray full = w.bytes();
        const QList<int> ends = w.boundaries();  // [header, record 0, record 1, ...]
        QCOMPARE(ends.size(), 10);

        for (int run = 0; run < 2 * full.size(); ++run) {
            // Every offset from a file, then every offset from a pipe.
            const bool pipe = run >= full.size();
            const int cut = pipe ? run - full.size() : run;
            const QByteArray bytes = full.left(cut);
            Diagnostics diag;
            auto r = pipe ? tneftest::parsePipe(bytes) : parseFile(bytes);
            QVERIFY(r);
            if (cut < 4) {
                QCOMPARE(r->error, 1);
                continue;
            }
            QCOMPARE(r->error, 0);
            // Records complete before the cut.
            int complete = 0;
            while (complete + 1 < ends.size() && ends[complete + 1] <= cut)
                ++complete;
            const int partial = cut - (cut < ends[0] ? 4 : ends[complete]);
            const bool reported = cut < ends[0] || partial >= 8;
            QCOMPARE(diag.messages(), reported ? QStringList{kEndOfInput} : QStringList());

            QCOMPARE(r->subject != nullptr, complete >= 2);
            QCOMPARE(r->body != nullptr, complete >= 3);
            if (r->body)
                QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("plain body"));
            const int attachments = (complete >= 6 ? 1 : 0) + (complete >= 9 ? 1 : 0);
            QCOMPARE(r->attachment_count, attachments);
            if (attachments >= 1) {
                QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("attachment bytes"));
                QCOMPARE(str(r->attachments[0].name), complete >= 7 ? QByteArray("long name.txt") : QByteArray("SHORT.TXT"));
            }
            if (attachments == 2)
                QCOMPARE(tneftest::bytesOf(r->attachments[1].data, r->attachments[1].len), QByteArray("second"));
        }
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefStream)
#include "tst_tnef_stream.moc"
