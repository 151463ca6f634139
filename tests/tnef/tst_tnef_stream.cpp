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
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("three bytes of the signature") << TnefWriter().bytes().left(3);
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

    void optionWordIsSetAfreshAndDiagnosticsCanBeSilenced()
    {
        TnefWriter w;
        w.attributeWithChecksum(LevelMessage, AttBody, AtpText, "abc", 0);
        tnef_options = 0;
        {
            Diagnostics diag;
            auto r = parseFile(w.bytes());
            QCOMPARE(diag.messages(), QStringList{kChecksumWarning});
            QCOMPARE(tnef_options, TNEF_DEFAULT_OPTIONS);
        }
        FILE* previous = tnef_diagnostics();
        tnef_set_diagnostics(nullptr);
        auto r = parseFile(w.raw("12345678").bytes());
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
        auto r = parseFile(TnefWriter().body("first").body("second").bytes());
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("first"));
        // An empty first body still wins, and is absent.
        auto empty = parseFile(TnefWriter().body(QByteArray()).body("second").bytes());
        QVERIFY(!empty->body && empty->body_len == 0);
    }

    void bodiesFromProperties_data()
    {
        QTest::addColumn<QList<MapiProp>>("first");
        QTest::addColumn<QList<MapiProp>>("second");
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("rtf");
        const QByteArray rtf("{\\rtf1\\ansi Hello {\\b world}\\par}");
        QByteArray badCrc = compressedRtf(rtf);
        badCrc[12] = char(badCrc[12] ^ 1);

        QTest::newRow("first value of the first property")
            << QList<MapiProp>{MapiProp::multi(PtypBinary, PidTagBodyHtml, {"<p>one</p>", "<p>two</p>"}),
                               MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtf))}
            << QList<MapiProp>{MapiProp::binary(PidTagBodyHtml, "<p>later</p>"), MapiProp::binary(PidTagRtfCompressed, compressedRtf("{later}"))}
            << QByteArray("<p>one</p>") << rtf;
        QTest::newRow("empty values give no body")
            << QList<MapiProp>{MapiProp::binary(PidTagBodyHtml, QByteArray()), MapiProp::binary(PidTagRtfCompressed, compressedRtf(QByteArray()))}
            << QList<MapiProp>{} << QByteArray() << QByteArray();
        QTest::newRow("only binary values count")
            << QList<MapiProp>{MapiProp::string8(PidTagBodyHtml, "<p>8-bit</p>"), MapiProp::int32(PidTagRtfCompressed, 7)}
            << QList<MapiProp>{MapiProp::binary(PidTagBodyHtml, "<p>binary</p>")} << QByteArray("<p>binary</p>") << QByteArray();
        QTest::newRow("RTF with a bad CRC gives no body")
            << QList<MapiProp>{MapiProp::binary(PidTagRtfCompressed, badCrc)} << QList<MapiProp>{} << QByteArray() << QByteArray();
    }
    void bodiesFromProperties()
    {
        QFETCH(QList<MapiProp>, first);
        QFETCH(QList<MapiProp>, second);
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, rtf);
        TnefWriter w;
        for (const QList<MapiProp>& props : {first, second}) {
            MapiBlockWriter block;
            for (const MapiProp& p : props)
                block.add(p);
            w.messageProperties(block);
        }
        Diagnostics diag;
        auto r = parseFile(w.bytes());
        QCOMPARE(tneftest::bytesOf(r->html, r->html_len), html);
        QCOMPARE(tneftest::bytesOf(r->rtf, r->rtf_len), rtf);
        QCOMPARE(r->html == nullptr, html.isEmpty());
        QCOMPARE(r->rtf == nullptr, rtf.isEmpty());
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
        MapiBlockWriter props;
        props.add(MapiProp::int16(0x0017, 0xFFFE))
            .add(MapiProp::boolean(0x0E1F, true))
            .add(MapiProp::time(0x0039, 0x01D8F00DCAFEBABEULL))
            .add(MapiProp::guid(0x7004, psAddress()))
            .add(MapiProp::string8(0x001A, "IPM.Note"))
            .add(MapiProp::unicode(0x0037, QStringLiteral("Zoë")))
            .add(MapiProp::binary(0x0FFA, QByteArray()))
            .add(MapiProp(PtypString8 | PtypMultipleFlag, 0x7005))
            .add(MapiProp::multi(PtypInteger32, 0x7006, {le32(9), le32(8)}))
            .add(MapiProp::int32(0x8001, 7).named(psAddress(), 0x8083));
        struct Expect {
            quint16 id;
            quint16 type;
            QByteArray data;
            int valueCount;
            int len;  // of the first value, as traced
        };
        const QList<Expect> expected{
            {0x0017, 0x0002, le32(0xFFFE), 1, 2},  // 16 bits widened to 32
            {0x0E1F, 0x000B, le32(1), 1, 4},
            {0x0039, 0x0040, le64(0x01D8F00DCAFEBABEULL), 1, 8},
            {0x7004, 0x0048, psAddress(), 1, 16},
            {0x001A, 0x001E, QByteArray("IPM.Note\0", 9), 1, 9},
            {0x0037, 0x001F, QByteArray("Zo\xC3\xAB\0", 5), 1, 5},
            {0x0FFA, 0x0102, QByteArray(), 1, 0},
            {0x7005, 0x001E, QByteArray(), 0, 0},
            {0x7006, 0x0003, le32(9), 2, 4},
            {0x8083, 0x0003, le32(7), 1, 4},
        };
        Diagnostics diag;
        auto r = parseProps(props);
        QCOMPARE(r->property_count, expected.size());
        const QStringList lines = diag.lines();
        QCOMPARE(lines.size(), 1 + expected.size());
        const QRegularExpression save(QStringLiteral(
            "^\\[SAVE\\] i=(\\d+) name=0x([0-9a-f]{4}) type=0x([0-9a-f]{4}) num_values=(\\d+) buf=\\S+ len=(\\d+)$"));
        for (int i = 0; i < expected.size(); ++i) {
            const TnefProperty& p = r->properties[i];
            QCOMPARE(p.id, expected[i].id);
            QCOMPARE(p.type, expected[i].type);
            QCOMPARE(tneftest::bytesOf(p.data, p.len), expected[i].data);
            QCOMPARE(p.data == nullptr, expected[i].data.isEmpty());
            const auto m = save.match(lines.at(i + 1));
            QVERIFY2(m.hasMatch(), qPrintable(lines.at(i + 1)));
            QCOMPARE(m.captured(1).toInt(), i);
            QCOMPARE(m.captured(2).toUShort(nullptr, 16), expected[i].id);
            QCOMPARE(m.captured(3).toUShort(nullptr, 16), expected[i].type);
            QCOMPARE(m.captured(4).toInt(), expected[i].valueCount);
            QCOMPARE(m.captured(5).toInt(), expected[i].len);
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
