#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef_test_util.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <cstring>

using namespace tnefwriter;
using namespace tneftest;
using Props = QList<MapiProp>;

namespace {

const QString kEndOfInput = QStringLiteral("Unexpected end of input");
const QString kChecksum = QStringLiteral("WARNING: invalid checksum, input file may be corrupted");

MapiBlockWriter block(const Props& props)
{
    MapiBlockWriter b;
    for (const MapiProp& p : props)
        b.add(p);
    return b;
}

Result parseSample(const QString& name)
{
    FILE* f = std::fopen(QFile::encodeName(testsupport::realSamplePath(name)).constData(), "rb");
    Result r(f ? tnef_parse(f) : nullptr);
    if (f)
        std::fclose(f);
    return r;
}

} // namespace

class TestTnefStream : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("header only") << TnefWriter().bytes() << 0 << QByteArray() << QStringList();
        QTest::newRow("wrong signature") << TnefWriter(1, 0x223E9F79).body("x").bytes() << 1 << QByteArray() << QStringList();
        QTest::newRow("empty") << QByteArray() << 1 << QByteArray() << QStringList{kEndOfInput};
        // An unknown level marks the stream invalid, but reading goes on.
        QTest::newRow("unknown level") << TnefWriter().attribute(3, AttBody, AtpText, "odd").body("after").bytes() << 1 << QByteArray("after")
                                       << QStringList();
        // A wrong checksum warns and keeps the data as read.
        QTest::newRow("bad checksum") << TnefWriter().attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hellp", checksum("Hello")).bytes()
                                      << 0 << QByteArray("Hellp") << QStringList{kChecksum};
        QTest::newRow("first body wins") << TnefWriter().body("first").body("second").bytes() << 0 << QByteArray("first") << QStringList();
        // Fewer than 8 bytes after the last record are stray padding.
        for (int n : {7, 8})
            QTest::addRow("%d trailing bytes", n) << TnefWriter().body("kept").raw(QByteArray(n, '\1')).bytes() << 0 << QByteArray("kept")
                                                  << (n < 8 ? QStringList() : QStringList{kEndOfInput});
    }
    void records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(QByteArray, body);
        QFETCH(QStringList, messages);
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            auto r = parse(bytes, pipe);
            QCOMPARE(r->error, error);
            QCOMPARE(bytesOf(r->body, r->body_len), body);
            QCOMPARE(diag.messages(), messages);
        }
    }

    void messageFields_data()
    {
        QTest::addColumn<Props>("props");
        QTest::addColumn<QByteArray>("subject");
        QTest::addColumn<QByteArray>("sender");
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("rtf");
        const QByteArray none;
        const MapiProp topic = MapiProp::string8(PidTagConversationTopic, "Topic");
        QTest::newRow("topic before subject") << Props{topic, MapiProp::unicode(PidTagSubject, QStringLiteral("RE: Topic"))} << QByteArray("Topic") << none << none << none;
        QTest::newRow("empty subject is filled later") << Props{MapiProp::string8(PidTagSubject, ""), topic} << QByteArray("Topic") << none << none << none;
        // Other types and missing values under a known id hold no text pointer.
        QTest::newRow("subject of another type") << Props{MapiProp::int32(PidTagSubject, 0x41414141), MapiProp(PtypString8, PidTagSubject), topic}
                                                 << QByteArray("Topic") << none << none << none;
        // The code page applies to the whole block it is in.
        QTest::newRow("code page after the subject") << Props{MapiProp::string8(PidTagSubject, "\x82\xB1"), MapiProp::int32(PidTagInternetCodepage, 932)}
                                                     << QByteArray("\xE3\x81\x93") << none << none << none;
        QTest::newRow("account's third part") << Props{MapiProp::string8(PidTagPrimarySendAccount, "3\x01" "Ana\x01" "jos\xE9@x.org"),
                                                       MapiProp::string8(PidTagSentRepresentingEmailAddress, "b@x.org")}
                                              << none << QByteArray("jos\xC3\xA9@x.org") << none << none;
        QTest::newRow("account with one separator") << Props{MapiProp::string8(PidTagPrimarySendAccount, "id\x01" "a@x.org")} << none
                                                    << QByteArray("id\x01" "a@x.org") << none << none;
        QTest::newRow("address before account") << Props{MapiProp::string8(PidTagSentRepresentingEmailAddress, "a@x.org"),
                                                         MapiProp::string8(PidTagPrimarySendAccount, "1\x01n\x01" "b@x.org")}
                                                << none << QByteArray("a@x.org") << none << none;
        QTest::newRow("first value of the first bodies")
            << Props{MapiProp::multi(PtypBinary, PidTagBodyHtml, {"<p>1</p>", "<p>2</p>"}), MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 A}")),
                     MapiProp::binary(PidTagBodyHtml, "<p>3</p>"), MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 B}"))}
            << none << none << QByteArray("<p>1</p>") << QByteArray("{\\rtf1 A}");
        QTest::newRow("only binary bodies count") << Props{MapiProp::string8(PidTagBodyHtml, "<p>8</p>"), MapiProp::int32(PidTagRtfCompressed, 7),
                                                           MapiProp::binary(PidTagBodyHtml, "<p>b</p>")}
                                                  << none << none << QByteArray("<p>b</p>") << none;
        QTest::newRow("empty bodies give none") << Props{MapiProp::binary(PidTagBodyHtml, none), MapiProp::binary(PidTagRtfCompressed, compressedRtf(none))}
                                                << none << none << none << none;
    }
    void messageFields()
    {
        QFETCH(Props, props);
        Diagnostics diag;
        auto r = parse(TnefWriter().messageProperties(block(props)).bytes());
        QCOMPARE(r->error, 0);
        QTEST(str(r->subject), "subject");
        QTEST(str(r->sender_email), "sender");
        QTEST(bytesOf(r->html, r->html_len), "html");
        QTEST(bytesOf(r->rtf, r->rtf_len), "rtf");
    }

    void savedProperties()
    {
        const Props props{MapiProp::int16(0x0017, 0xFFFE), MapiProp::guid(0x7004, psAddress()), MapiProp::unicode(0x0037, QStringLiteral("Zoë")),
                          MapiProp(PtypString8 | PtypMultipleFlag, 0x7005), MapiProp::multi(PtypInteger64, 0x7006, {le64(9), le64(8)}),
                          MapiProp::int32(0x8001, 7).named(psAddress(), 0x8083)};
        auto r = parse(TnefWriter().messageProperties(block(props)).bytes());
        const QList<std::tuple<quint16, quint16, QByteArray>> expected{
            {0x0017, 0x0002, le32(0xFFFE)},  // widened to 32 bits
            {0x7004, 0x0048, psAddress()}, {0x0037, 0x001F, QByteArray("Zo\xC3\xAB\0", 5)}, {0x7005, 0x001E, QByteArray()},
            {0x7006, 0x0014, le64(9)}, {0x8083, 0x0003, le32(7)}};
        QCOMPARE(r->property_count, expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(std::make_tuple(r->properties[i].id, r->properties[i].type, bytesOf(r->properties[i].data, r->properties[i].len)), expected[i]);
    }

    void corruptBlockContributesNothing()
    {
        MapiBlockWriter bad = block({MapiProp::string8(PidTagSubject, "never seen"), MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))});
        Diagnostics diag;
        auto r = parse(TnefWriter().messageProperties(bad).messageProperties(block({MapiProp::string8(PidTagConversationTopic, "seen")})).bytes());
        QCOMPARE(str(r->subject), QByteArray("seen"));
        QCOMPARE(r->property_count, 1);
        QCOMPARE(diag.messages(), QStringList{QStringLiteral("Invalid attribute, input file may be corrupted")});
    }

    // A cut anywhere keeps every record read whole, drops the broken one and
    // its attachment, and says so once.
    void truncationAtEveryOffset()
    {
        TnefWriter w;
        w.tnefVersion()                                                                                          // record 0
            .messageProperties(block({MapiProp::unicode(PidTagSubject, QStringLiteral("Cut"))}))                  // 1
            .body("plain body")                                                                                  // 2
            .beginAttachment().attachTitle("SHORT.TXT").attachData("attachment bytes")                             // 3-5
            .attachProperties(block({MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("long.txt"))}))  // 6
            .beginAttachment().attachData("second");                                                             // 7-8
        const QByteArray full = w.bytes();
        const QList<int> ends = w.boundaries();  // past the header, then past each record
        for (bool pipe : {false, true}) {
            for (int cut = 0; cut < full.size(); ++cut) {
                Diagnostics diag;
                auto r = parse(full.left(cut), pipe);
                QCOMPARE(r->error, cut < 4 ? 1 : 0);
                if (cut < 4)
                    continue;
                int complete = 0;
                while (complete + 1 < ends.size() && ends[complete + 1] <= cut)
                    ++complete;
                const bool reported = cut < ends[0] || cut - ends[complete] >= 8;
                QCOMPARE(diag.messages(), reported ? QStringList{kEndOfInput} : QStringList());
                QCOMPARE(r->subject != nullptr, complete >= 2);
                QCOMPARE(bytesOf(r->body, r->body_len), complete >= 3 ? QByteArray("plain body") : QByteArray());
                QCOMPARE(r->attachment_count, (complete >= 6 ? 1 : 0) + (complete >= 9 ? 1 : 0));
                if (r->attachment_count > 0) {
                    QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("attachment bytes"));
                    QCOMPARE(str(r->attachments[0].name), complete >= 7 ? QByteArray("long.txt") : QByteArray("SHORT.TXT"));
                }
            }
        }
    }

    // A length the stream cannot back allocates nothing for it on a file and
    // only bounded chunks on a pipe.
    void lengthBeyondTheStream_data()
    {
        QTest::addColumn<quint32>("claimed");
        QTest::addColumn<int>("present");
        QTest::newRow("4 GiB, nothing follows") << 0xFFFFFFF0u << 0;
        QTest::newRow("2 GiB, 100 bytes follow") << 0x80000000u << 100;
        QTest::newRow("checksum missing") << 5000u << 5000;
    }
    void lengthBeyondTheStream()
    {
        QFETCH(quint32, claimed);
        QFETCH(int, present);
        const QByteArray bytes = TnefWriter().body("complete").beginAttachment().attachData("whole").beginAttachment().bytes()
            + char(LevelAttachment) + le16(AttAttachData) + le16(AtpByte) + le32(claimed) + QByteArray(present, 'd');
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            HeapPeak heap;
            auto r = parse(bytes, pipe);
            const size_t peak = heap.peak();
            QCOMPARE(r->error, 0);
            QCOMPARE(diag.messages(), QStringList{kEndOfInput});
            QCOMPARE(bytesOf(r->body, r->body_len), QByteArray("complete"));
            QCOMPARE(r->attachment_count, 1);
            QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("whole"));
            QVERIFY2(peak <= (pipe ? 3u << 20 : 65536 + 2 * size_t(present)), qPrintable(QString::number(peak)));
        }
    }

    void largeDataThroughAPipe()
    {
        QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        QRandomGenerator rng(5);
        for (char& c : data)
            c = char(rng.bounded(256));
        auto r = parse(TnefWriter().attachment({"BIG.BIN", QString(), data, QByteArray(), QByteArray(), {}}).bytes(), true);
        QVERIFY(r->attachment_count == 1 && bytesOf(r->attachments[0].data, r->attachments[0].len) == data);
    }

    void attachmentsNeedAnOpeningRecordAndData()
    {
        TnefWriter w;
        w.attachTitle("EARLY.TXT").attachData("early");                               // before any attAttachRenddata
        w.beginAttachment().attachTitle("NODATA.TXT");                                // no data
        w.beginAttachment().attachTitle("EMPTY.TXT").attachData(QByteArray());        // empty data
        w.beginAttachment().attachTitle("LATE.TXT").body("body").attachData("late");  // a message record does not close it
        w.attribute(LevelMessage, AttAttachRenddata, AtpByte, QByteArray(14, '\0')).attachData("any level opens");
        auto r = parse(w.bytes());
        QCOMPARE(r->attachment_count, 2);
        QCOMPARE(str(r->attachments[0].name), QByteArray("LATE.TXT"));
        QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("late"));
        QCOMPARE(bytesOf(r->body, r->body_len), QByteArray("body"));
    }

    void attachmentFields_data()
    {
        QTest::addColumn<QByteArray>("title");  // null: no attAttachTitle
        QTest::addColumn<Props>("props");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray none, name("name"), cid("cid");
        const MapiProp shortName = MapiProp::string8(PidTagAttachFilename, "A.TXT");
        const MapiProp location = MapiProp::string8(PidTagAttachContentLocation, "loc"), id = MapiProp::string8(PidTagAttachContentId, "id");
        QTest::newRow("title in the code page") << QByteArray("\x82\xB1.txt") << Props{} << name << QByteArray("\xE3\x81\x93.txt");
        QTest::newRow("long name beats the title") << QByteArray("QUICK~1.HTM") << Props{MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("q.html"))}
                                                   << name << QByteArray("q.html");
        QTest::newRow("short name keeps the title") << QByteArray("TITLE.TXT") << Props{shortName} << name << QByteArray("TITLE.TXT");
        QTest::newRow("short name replaces a generic title") << QByteArray("Untitled Attachment") << Props{shortName} << name << QByteArray("A.TXT");
        QTest::newRow("display name after a short name") << none << Props{shortName, MapiProp::string8(PidTagDisplayName, "B")} << name << QByteArray("A.TXT");
        QTest::newRow("long path's last component") << none << Props{MapiProp::string8(PidTagAttachLongPathname, "C:\\ana\\plan 2024.xlsx")} << name
                                                     << QByteArray("plan 2024.xlsx");
        QTest::newRow("name of another type") << QByteArray("T.TXT") << Props{MapiProp::int32(PidTagAttachLongFilename, 0x41414141)} << name << QByteArray("T.TXT");
        QTest::newRow("last MIME tag wins") << none << Props{MapiProp::string8(PidTagAttachMimeTag, "text/plain"), MapiProp::unicode(PidTagAttachMimeTag, QStringLiteral("image/png"))}
                                            << QByteArray("mime") << QByteArray("image/png");
        QTest::newRow("location as content id") << none << Props{location} << cid << QByteArray("loc");
        QTest::newRow("id replaces location") << none << Props{location, id} << cid << QByteArray("id");
        QTest::newRow("location after id") << none << Props{id, location} << cid << QByteArray("id");
        QTest::newRow("data from the block") << none << Props{MapiProp::binary(PidTagAttachDataBinary, "block")} << QByteArray("data") << QByteArray("block");
        QTest::newRow("data of another type") << none << Props{MapiProp::int32(PidTagAttachDataBinary, 5)} << QByteArray("data") << QByteArray("record");
    }
    void attachmentFields()
    {
        QFETCH(QByteArray, title);
        QFETCH(Props, props);
        QFETCH(QByteArray, field);
        TnefWriter w;
        w.messageProperties(block({MapiProp::int32(PidTagInternetCodepage, 932)})).beginAttachment();
        if (!title.isNull())
            w.attachTitle(title);
        Diagnostics diag;
        auto r = parse(w.attachData("record").attachProperties(block(props)).bytes());
        QCOMPARE(r->attachment_count, 1);
        const TnefAttachment& a = r->attachments[0];
        QTEST(field == "data" ? bytesOf(a.data, a.len) : str(field == "name" ? a.name : field == "mime" ? a.mime_type : a.content_id), "expected");
    }

    void oleMarking_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ole");
        const QByteArray id = QByteArray::fromHex("0B000000") + QByteArray(12, '\0');
        QTest::newRow("exactly 20 bytes") << id + QByteArray::fromHex("D0CF11E0") << true;
        QTest::newRow("19 bytes") << id + QByteArray::fromHex("D0CF11") << false;
        QTest::newRow("without the id") << QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(504, '\0') << false;
    }
    void oleMarking()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ole);
        for (bool inBlock : {false, true}) {
            auto r = parse(TnefWriter().attachment({"OBJ.DAT", QString(), data, QByteArray(), QByteArray(), {}, inBlock, inBlock}).bytes());
            QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), data);
            QCOMPARE(r->attachments[0].is_ole, ole ? 1 : 0);
            QCOMPARE(r->attachments[0].ole_offset, quint64(ole ? 16 : 0));
        }
    }

    void stringConversion_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<quint32>("cp");
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("1252 without a code page") << QByteArray("caf\xE9") << 0u << QByteArray("caf\xC3\xA9");
        QTest::newRow("1252 undefined bytes") << QByteArray("\x80\x81") << 1252u << QByteArray("\xE2\x82\xAC\xC2\x81");
        QTest::newRow("UTF-8 kept") << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80") << 932u << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80");
        QTest::newRow("Shift-JIS") << QByteArray("\x82\xB1\x82\xF1") << 932u << QByteArray("\xE3\x81\x93\xE3\x82\x93");
        QTest::newRow("GBK") << QByteArray("\xC4\xE3\xBA\xC3") << 936u << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD");
        QTest::newRow("Korean") << QByteArray("\xC7\xD1\xB1\xDB") << 949u << QByteArray("\xED\x95\x9C\xEA\xB8\x80");
        QTest::newRow("Big5") << QByteArray("\xA4\xA4\xA4\xE5") << 950u << QByteArray("\xE4\xB8\xAD\xE6\x96\x87");
        QTest::newRow("other pages read as 1252") << QByteArray("\xE9") << 1251u << QByteArray("\xC3\xA9");
        QTest::newRow("cut Shift-JIS falls back to 1252") << QByteArray("a\x82") << 932u << QByteArray("a\xE2\x80\x9A");
        QTest::newRow("a zero ends the text") << QByteArray("ok\0\xE9", 4) << 0u << QByteArray("ok");
        QTest::newRow("UTF-8 cut at the length") << QByteArray("\xC3") << 0u << QByteArray("\xC3\x83");
        // Shaped like UTF-8, but no encoder writes these.
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << 0u << QByteArray("\xC3\x80\xC2\xAF");
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << 0u << QByteArray("\xC3\xAD\xC2\xA0\xE2\x82\xAC");
        QTest::newRow("empty") << QByteArray() << 0u << QByteArray();
    }
    void stringConversion()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(quint32, cp);
        // An exact-size copy, so that the sanitizer sees any read past the length.
        std::unique_ptr<char[]> exact(new char[size_t(bytes.size()) + 1]);
        std::memcpy(exact.get(), bytes.constData(), size_t(bytes.size()));
        std::unique_ptr<char, decltype(&free)> text(tnef_string_to_utf8(exact.get(), size_t(bytes.size()), cp), &free);
        QTEST(str(text.get()), "utf8");
    }

    void quickSample()
    {
        REQUIRE_REAL_SAMPLES();
        Diagnostics diag;
        auto r = parseSample(QStringLiteral("quick-winmail.dat"));
        QCOMPARE(str(r->subject), QByteArray("This is a test message"));
        QVERIFY(bytesOf(r->rtf, r->rtf_len) == testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf")));
        const QStringList names{QStringLiteral("quick.doc"), QStringLiteral("quick.html"), QStringLiteral("quick.pdf"), QStringLiteral("quick.txt"),
                                QStringLiteral("quick.xml")};
        QCOMPARE(r->attachment_count, names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(QString::fromUtf8(r->attachments[i].name), names[i]);
            // Not the metafile that each attachment also carries.
            QVERIFY(bytesOf(r->attachments[i].data, r->attachments[i].len) == testsupport::readRealSample(QStringLiteral("quick-contents/") + names[i]));
        }
        QVERIFY(diag.messages().isEmpty());
    }

    void realSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArrayList>("names");
        QTest::addColumn<QList<quint64>>("sizes");
        QTest::addColumn<QByteArray>("html");  // a text the HTML body contains
        QTest::newRow("winmail-sample1") << QStringLiteral("winmail-sample1.dat") << QByteArrayList{"zappa_av1.jpg", "bookmark.htm"}
                                         << QList<quint64>{2937, 85805} << QByteArray();
        QTest::newRow("bug52400 simple") << QStringLiteral("bug52400-winmail-simple.dat") << QByteArrayList{} << QList<quint64>{}
                                         << QByteArray("This is the message body.");
        QTest::newRow("bug52400 attachments") << QStringLiteral("bug52400-winmail-with-attachments.dat")
                                              << QByteArrayList{"scion_tc_2007_maintenanceguide.pdf", "Duke_Wave.png"} << QList<quint64>{193258, 122016}
                                              << QByteArray("There are also two attachments.");
        QTest::newRow("bug63955") << QStringLiteral("bug63955-winmail.dat") << QByteArrayList{"SI-61597.pdf", "SI-61598.pdf"}
                                  << QList<quint64>{236426, 236653} << QByteArray("<");
        // Hostile lengths inside: no large allocation, nothing from the broken block.
        QTest::newRow("oom") << QStringLiteral("oom.tnef") << QByteArrayList{} << QList<quint64>{} << QByteArray();
    }
    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, file);
        QFETCH(QByteArrayList, names);
        QFETCH(QList<quint64>, sizes);
        QFETCH(QByteArray, html);
        Diagnostics diag;
        HeapPeak heap;
        auto r = parseSample(file);
        QVERIFY(heap.peak() < 4 * size_t(QFileInfo(testsupport::realSamplePath(file)).size()) + 65536);
        QCOMPARE(r->error, 0);
        QVERIFY(bytesOf(r->html, r->html_len).contains(html));
        QCOMPARE(r->attachment_count, names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(std::make_pair(str(r->attachments[i].name), quint64(r->attachments[i].len)), std::make_pair(names[i], sizes[i]));
        if (file == QLatin1String("oom.tnef"))
            QCOMPARE(diag.messages(), (QStringList{kChecksum, QStringLiteral("Property block runs past its end, input file may be corrupted")}));
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefStream)
#include "tst_tnef_stream.moc"
