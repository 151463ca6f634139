#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef_test_util.h"

#include <QGuiApplication>

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

MapiProp s8(quint16 id, const QByteArray& text) { return MapiProp::string8(id, text); }

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
        const QStringList none, cut{kEndOfInput};
        QTest::newRow("header only") << TnefWriter().bytes() << 0 << QByteArray() << none;
        QTest::newRow("wrong signature") << TnefWriter(1, 0x223E9F79).body("x").bytes() << 1 << QByteArray() << none;
        QTest::newRow("empty") << QByteArray() << 1 << QByteArray() << cut;
        // An unknown level marks the stream invalid, but reading goes on.
        QTest::newRow("unknown level") << TnefWriter().attribute(3, AttBody, AtpText, "odd").body("after").bytes() << 1 << QByteArray("after") << none;
        // A wrong checksum warns and keeps the data as read.
        QTest::newRow("bad checksum") << TnefWriter().attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hellp", checksum("Hello")).bytes() << 0
                                      << QByteArray("Hellp") << QStringList{kChecksum};
        QTest::newRow("first body wins") << TnefWriter().body("first").body("second").bytes() << 0 << QByteArray("first") << none;
        // Fewer than 8 bytes after the last record are stray padding.
        QTest::newRow("7 trailing bytes") << TnefWriter().body("kept").raw(QByteArray(7, '\1')).bytes() << 0 << QByteArray("kept") << none;
        QTest::newRow("8 trailing bytes") << TnefWriter().body("kept").raw(QByteArray(8, '\1')).bytes() << 0 << QByteArray("kept") << cut;
    }
    void records()
    {
        QFETCH(QByteArray, bytes);
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            auto r = parse(bytes, pipe);
            QTEST(r->error, "error");
            QTEST(bytesOf(r->body, r->body_len), "body");
            QTEST(diag.messages(), "messages");
        }
    }

    void messageFields_data()
    {
        QTest::addColumn<Props>("props");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const MapiProp topic = s8(PidTagConversationTopic, "Topic");
        const QByteArray subject("subject"), sender("sender"), html("html"), rtf("rtf");
        QTest::newRow("topic before subject") << Props{topic, MapiProp::unicode(PidTagSubject, QStringLiteral("RE: Topic"))} << subject << QByteArray("Topic");
        QTest::newRow("empty subject is filled later") << Props{s8(PidTagSubject, ""), topic} << subject << QByteArray("Topic");
        // Other types and missing values under a known id hold no text pointer.
        QTest::newRow("subject of another type") << Props{MapiProp::int32(PidTagSubject, 0x41), MapiProp(PtypString8, PidTagSubject), topic} << subject << QByteArray("Topic");
        // Valid UTF-8 is kept; anything else is read in the code page (932, 936, 949, 950, else 1252).
        QTest::newRow("UTF-8 kept") << Props{MapiProp::int32(PidTagInternetCodepage, 936), s8(PidTagSubject, "\xF0\x9F\x98\x80")} << subject << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("overlong slash is no UTF-8") << Props{s8(PidTagSubject, "\xC0\xAF")} << subject << QByteArray("\xC3\x80\xC2\xAF");
        QTest::newRow("Big5") << Props{MapiProp::int32(PidTagInternetCodepage, 950), s8(PidTagSubject, "\xA4\xA4")} << subject << QByteArray("\xE4\xB8\xAD");
        QTest::newRow("invalid GBK falls back to 1252") << Props{MapiProp::int32(PidTagInternetCodepage, 936), s8(PidTagSubject, "a\xC4")} << subject << QByteArray("a\xC3\x84");
        QTest::newRow("other pages read as 1252") << Props{MapiProp::int32(PidTagInternetCodepage, 1251), s8(PidTagSubject, "\xE9")} << subject << QByteArray("\xC3\xA9");
        // The code page applies to the whole block it is in.
        QTest::newRow("code page after the subject") << Props{s8(PidTagSubject, "\x82\xB1"), MapiProp::int32(PidTagInternetCodepage, 932)} << subject
                                                     << QByteArray("\xE3\x81\x93");
        QTest::newRow("account's third part") << Props{s8(PidTagPrimarySendAccount, "3\x01" "Ana\x01" "jos\xE9@x.org"), s8(PidTagSentRepresentingEmailAddress, "b")}
                                              << sender << QByteArray("jos\xC3\xA9@x.org");
        QTest::newRow("account with one separator") << Props{s8(PidTagPrimarySendAccount, "id\x01" "a@x.org")} << sender << QByteArray("id\x01" "a@x.org");
        QTest::newRow("address before account") << Props{s8(PidTagSentRepresentingEmailAddress, "a"), s8(PidTagPrimarySendAccount, "1\x01n\x01" "b")} << sender << QByteArray("a");
        QTest::newRow("first HTML value") << Props{MapiProp::multi(PtypBinary, PidTagBodyHtml, {"<p>1</p>", "<p>2</p>"}), MapiProp::binary(PidTagBodyHtml, "<p>3</p>")}
                                          << html << QByteArray("<p>1</p>");
        QTest::newRow("first RTF, decompressed") << Props{MapiProp::int32(PidTagRtfCompressed, 7), MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 A}")),
                                                           MapiProp::binary(PidTagRtfCompressed, compressedRtf("{B}"))} << rtf << QByteArray("{\\rtf1 A}");
    }
    void messageFields()
    {
        QFETCH(Props, props);
        QFETCH(QByteArray, field);
        auto r = parse(TnefWriter().messageProperties(block(props)).bytes());
        QCOMPARE(r->error, 0);
        const QByteArray got = field == "subject" ? str(r->subject) : field == "sender" ? str(r->sender_email)
                             : field == "html"    ? bytesOf(r->html, r->html_len) : bytesOf(r->rtf, r->rtf_len);
        QTEST(got, "expected");
    }

    // Each property with its first value, flat; a corrupt block contributes nothing.
    void savedProperties()
    {
        const MapiBlockWriter bad = block({s8(PidTagSubject, "never seen"), MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))});
        const Props props{MapiProp::int16(0x0017, 0xFFFE), MapiProp::unicode(PidTagSubject, QStringLiteral("Zoë")), MapiProp(PtypString8 | PtypMultipleFlag, 0x7005),
                          MapiProp::multi(PtypInteger64, 0x7006, {le64(9), le64(8)}), MapiProp::int32(0x8001, 7).named(psAddress(), 0x8083)};
        Diagnostics diag;
        auto r = parse(TnefWriter().messageProperties(bad).messageProperties(block(props)).bytes());
        QCOMPARE(diag.messages(), QStringList{QStringLiteral("Invalid attribute, input file may be corrupted")});
        QCOMPARE(str(r->subject), QByteArray("Zo\xC3\xAB"));
        QByteArrayList saved;
        for (int i = 0; i < r->property_count; ++i)
            saved << QByteArray::number(r->properties[i].id, 16) + ' ' + QByteArray::number(r->properties[i].type, 16) + ' ' + bytesOf(r->properties[i].data, r->properties[i].len).toHex();
        // 16-bit values are widened to 32 bits.
        QCOMPARE(saved, (QByteArrayList{"17 2 feff0000", "37 1f 5a6fc3ab00", "7005 1e ", "7006 14 0900000000000000", "8083 3 07000000"}));
    }

    // A cut anywhere keeps every record read whole, drops the broken one and
    // its attachment, and says so once.
    void truncationAtEveryOffset()
    {
        TnefWriter w;
        w.tnefVersion().messageProperties(block({MapiProp::unicode(PidTagSubject, QStringLiteral("Cut"))})).body("plain body")  // records 0-2
            .beginAttachment().attachTitle("SHORT.TXT").attachData("attachment bytes")                                        // 3-5
            .attachProperties(block({MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("long.txt"))}))             // 6
            .beginAttachment().attachData("second");                                                                        // 7-8
        const QList<int> ends = w.boundaries();  // past the header, then past each record
        for (bool pipe : {false, true}) {
            for (int cut = 0; cut < w.size(); ++cut) {
                Diagnostics diag;
                auto r = parse(w.bytes().left(cut), pipe);
                QCOMPARE(r->error, cut < 4 ? 1 : 0);
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

    // Only an opened attachment with data counts, whatever level opens it. A
    // length the stream cannot back allocates nothing for it from a file and
    // only bounded chunks from a pipe; complete data passes either way.
    void attachmentsAndLengths_data()
    {
        QTest::addColumn<quint32>("claimed");
        QTest::addColumn<int>("present");
        QTest::addColumn<bool>("whole");
        QTest::newRow("4 GiB, nothing follows") << 0xFFFFFFF0u << 0 << false;
        QTest::newRow("2 GiB, 100 bytes follow") << 0x80000000u << 100 << false;
        QTest::newRow("checksum missing") << 5000u << 5000 << false;
        QTest::newRow("3 MiB, all there") << quint32(3 * 1024 * 1024 + 17) << 3 * 1024 * 1024 + 17 << true;
    }
    void attachmentsAndLengths()
    {
        QFETCH(quint32, claimed);
        QFETCH(int, present);
        QFETCH(bool, whole);
        const QByteArray data = QByteArray("0123456789abcdefg").repeated(present / 17 + 1).left(present);
        TnefWriter w;
        w.attachTitle("EARLY.TXT").attachData("early");                               // before any attAttachRenddata
        w.beginAttachment().attachTitle("NODATA.TXT");                                // no data
        w.beginAttachment().attachTitle("EMPTY.TXT").attachData(QByteArray());        // empty data
        w.beginAttachment().attachTitle("LATE.TXT").body("body").attachData("late");  // a message record does not close it
        w.attribute(LevelMessage, AttAttachRenddata, AtpByte, QByteArray(14, '\0')).raw(char(LevelAttachment) + le16(AttAttachData) + le16(AtpByte) + le32(claimed) + data);
        const QByteArray bytes = w.bytes() + (whole ? le16(checksum(data)) : QByteArray());
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            HeapPeak heap;
            auto r = parse(bytes, pipe);
            const size_t peak = heap.peak();
            QCOMPARE(bytesOf(r->body, r->body_len), QByteArray("body"));
            QCOMPARE(r->attachment_count, whole ? 2 : 1);
            QCOMPARE(str(r->attachments[0].name), QByteArray("LATE.TXT"));
            QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("late"));
            QVERIFY(!whole || bytesOf(r->attachments[1].data, r->attachments[1].len) == data);
            QVERIFY2(whole || (diag.messages() == QStringList{kEndOfInput} && peak <= (pipe ? 3u << 20 : 65536 + 2 * size_t(present))), qPrintable(QString::number(peak)));
        }
    }

    void attachmentFields_data()
    {
        QTest::addColumn<QByteArray>("title");  // null: no attAttachTitle
        QTest::addColumn<Props>("props");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray none, name("name"), cid("cid"), ole("ole");
        const MapiProp shortName = s8(PidTagAttachFilename, "A.TXT"), location = s8(PidTagAttachContentLocation, "loc"), id = s8(PidTagAttachContentId, "id");
        const QByteArray storage = QByteArray::fromHex("0B000000") + QByteArray(12, '\0') + QByteArray::fromHex("D0CF11E0");
        QTest::newRow("title in the code page") << QByteArray("\x82\xB1.txt") << Props{} << name << QByteArray("\xE3\x81\x93.txt");
        QTest::newRow("long name beats the title") << QByteArray("Q~1.HTM") << Props{MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("q.htm"))} << name << QByteArray("q.htm");
        QTest::newRow("short name keeps the title") << QByteArray("TITLE.TXT") << Props{shortName} << name << QByteArray("TITLE.TXT");
        QTest::newRow("short name replaces a generic title") << QByteArray("Untitled Attachment") << Props{shortName} << name << QByteArray("A.TXT");
        QTest::newRow("display name after a short name") << none << Props{shortName, s8(PidTagDisplayName, "B")} << name << QByteArray("A.TXT");
        QTest::newRow("long path's last component") << none << Props{s8(PidTagAttachLongPathname, "C:\\ana\\plan 2024.xlsx")} << name << QByteArray("plan 2024.xlsx");
        QTest::newRow("name of another type") << QByteArray("T.TXT") << Props{MapiProp::int32(PidTagAttachLongFilename, 0x41414141)} << name << QByteArray("T.TXT");
        QTest::newRow("last MIME tag wins") << none << Props{s8(PidTagAttachMimeTag, "text/plain"), s8(PidTagAttachMimeTag, "image/png")} << QByteArray("mime") << QByteArray("image/png");
        QTest::newRow("location as content id") << none << Props{location} << cid << QByteArray("loc");
        QTest::newRow("id replaces location") << none << Props{location, id} << cid << QByteArray("id");
        QTest::newRow("location after id") << none << Props{id, location} << cid << QByteArray("id");
        QTest::newRow("data from the block") << none << Props{MapiProp::binary(PidTagAttachDataBinary, "block")} << QByteArray("data") << QByteArray("block");
        QTest::newRow("data of another type") << none << Props{MapiProp::int32(PidTagAttachDataBinary, 5)} << QByteArray("data") << QByteArray("record");
        QTest::newRow("OLE storage of 20 bytes") << none << Props{MapiProp::binary(PidTagAttachDataBinary, storage)} << ole << QByteArray("1 16");
        QTest::newRow("OLE object") << none << Props{MapiProp::object(PidTagAttachDataObject, storage + "more")} << ole << QByteArray("1 16");
        QTest::newRow("19 bytes are no OLE") << none << Props{MapiProp::binary(PidTagAttachDataBinary, storage.chopped(1))} << ole << QByteArray("0 0");
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
        QTEST(field == "data" ? bytesOf(a.data, a.len) : field == "ole" ? QByteArray::number(a.is_ole) + ' ' + QByteArray::number(a.ole_offset)
                                                                        : str(field == "name" ? a.name : field == "mime" ? a.mime_type : a.content_id),
              "expected");
    }

    // Hostile lengths in oom.tnef: no large allocation, nothing from the broken block.
    void realSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArrayList>("names");  // quick.*: with the bytes of quick-contents/
        QTest::addColumn<QByteArray>("html");       // a text the HTML body contains
        QTest::newRow("quick") << "quick-winmail.dat" << QByteArrayList{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"} << QByteArray();
        QTest::newRow("winmail-sample1") << "winmail-sample1.dat" << QByteArrayList{"zappa_av1.jpg", "bookmark.htm"} << QByteArray();
        QTest::newRow("bug52400 simple") << "bug52400-winmail-simple.dat" << QByteArrayList{} << QByteArray("This is the message body.");
        QTest::newRow("bug52400 attachments") << "bug52400-winmail-with-attachments.dat" << QByteArrayList{"scion_tc_2007_maintenanceguide.pdf", "Duke_Wave.png"}
                                              << QByteArray("There are also two attachments.");
        QTest::newRow("bug63955") << "bug63955-winmail.dat" << QByteArrayList{"SI-61597.pdf", "SI-61598.pdf"} << QByteArray("<");
        QTest::newRow("oom") << "oom.tnef" << QByteArrayList{} << QByteArray();
    }
    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, file);
        QFETCH(QByteArrayList, names);
        QFETCH(QByteArray, html);
        const auto quick = [](const QByteArray& name) { return testsupport::readRealSample(QStringLiteral("quick-contents/") + QLatin1String(name)); };
        const QByteArray bytes = testsupport::readRealSample(file);
        Diagnostics diag;
        HeapPeak heap;
        auto r = parse(bytes);
        QVERIFY2(heap.peak() < 3 * size_t(bytes.size()) + 65536, qPrintable(QString::number(heap.peak())));
        QCOMPARE(r->error, 0);
        QVERIFY(bytesOf(r->html, r->html_len).contains(html));
        QCOMPARE(r->attachment_count, names.size());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(str(r->attachments[i].name), names[i]);
            // Not the metafile that each attachment also carries.
            QVERIFY(!names[i].startsWith("quick") || bytesOf(r->attachments[i].data, r->attachments[i].len) == quick(names[i]));
        }
        if (file.startsWith(QLatin1String("quick")))
            QCOMPARE(std::make_tuple(str(r->subject), bytesOf(r->rtf, r->rtf_len) == quick("message.rtf"), diag.messages()),
                     std::make_tuple(QByteArray("This is a test message"), true, QStringList{QStringLiteral("MAPI_ATTACH_LONG_PATHNAME: ")}));
        if (file == QLatin1String("oom.tnef"))
            QCOMPARE(diag.messages(), (QStringList{kChecksum, QStringLiteral("Property block runs past its end, input file may be corrupted")}));
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefStream)
#include "tst_tnef_stream.moc"
