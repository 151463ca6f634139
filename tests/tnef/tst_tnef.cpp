#include "support/lzfu_compressor.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/compressed_rtf.h"
#include "tnef_test_util.h"

#include <QDir>
#include <QGuiApplication>
#include <QRandomGenerator>

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

using Block = std::unique_ptr<MapiProperty*, decltype(&mapi_free_properties)>;

Block decode(const QByteArray& bytes)
{
    return Block(mapi_parse_properties(size_t(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData())), &mapi_free_properties);
}

// Fixed-size values are held inline (little-endian machines), others through buf.
QByteArray valueBytes(const MapiProperty* p, quint64 i)
{
    const MapiValue& v = p->values[i];
    return bytesOf(mapi_type_is_variable(p->type) ? static_cast<const void*>(v.data.buf) : &v.data, v.len);
}

// Follows the property under test: a value that consumes the wrong number of
// bytes (padding) breaks it.
const MapiProp kSentinel = MapiProp::int32(0x6666, 0xC0FFEE42);

const QByteArray kExample1 = QByteArray::fromHex("2d0000002b0000004c5a4675f1c5c7a703000a007263706731323542320af32068656c090020627705b06c647d0a800fa0");
const QByteArray kText1("{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
const QByteArray kExample2 = QByteArray::fromHex("1a0000001c0000004c5a4675e2d44b51410004205758595a0d6e7d010eb0");
const QByteArray kText2("{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}");

// The bodies of a PidTagRtfCompressed property with these values; an absent
// body is a null QByteArray. `warnings` gets the first body's.
QList<QByteArray> decodeValues(const QList<QByteArray>& values, quint32* warnings = nullptr)
{
    const Block props = decode(MapiBlockWriter().add(MapiProp::multi(PtypBinary, PidTagRtfCompressed, values)).bytes());
    RtfBody** bodies = rtf_decode_compressed(props.get()[0]);
    QList<QByteArray> out;
    for (int i = 0; i <= values.size(); ++i)
        out.append(bodies[i] ? bytesOf(bodies[i]->data, bodies[i]->len) : QByteArray());
    if (warnings)
        *warnings = bodies[0] ? bodies[0]->warnings : 0;
    rtf_free_bodies(bodies, quint64(values.size()));
    return out;
}

} // namespace

class TestTnef : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a stream holds, why it is refused, and what its damage cost: the
    // line on the diagnostics stream and the warning a caller can show.
    void records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("errorText");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<quint32>("warnings");
        const QStringList none, cut{kEndOfInput};
        const QByteArray notTnef("not a TNEF file"), plain("plain");
        const MapiBlockWriter badBlock = block({MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))});
        QByteArray badCrc = compressedRtf("{\\rtf1 lost}");
        badCrc[12] = char(badCrc[12] ^ 1);
        const QByteArray rtf("{\\rtf1 cut short}");
        const QByteArray cutRtf = QByteArray::fromStdString(lzfu::wrap(lzfu::compressStream(rtf.toStdString()).substr(0, 10), quint32(rtf.size())));
        const auto rtfMessage = [&](const QByteArray& value) {
            return TnefWriter().body(plain).messageProperties(block({MapiProp::binary(PidTagRtfCompressed, value)})).bytes();
        };
        QTest::newRow("header only") << TnefWriter().bytes() << 0 << QByteArray() << QByteArray() << none << 0u;
        QTest::newRow("wrong signature") << TnefWriter(1, 0x223E9F79).body("x").bytes() << 1 << notTnef << QByteArray() << none << 0u;
        QTest::newRow("empty") << QByteArray() << 1 << QByteArray("empty input") << QByteArray() << cut << 0u;
        QTest::newRow("three bytes") << QByteArray("\x78\x9F\x3E") << 1 << notTnef << QByteArray() << cut << 0u;
        QTest::newRow("signature without key") << TnefWriter().bytes().left(5) << 0 << QByteArray() << QByteArray() << cut << quint32(TNEF_WARNING_TRUNCATED);
        // An unknown level marks the stream invalid, but reading goes on.
        QTest::newRow("unknown level") << TnefWriter().attribute(3, AttBody, AtpText, "odd").body("after").bytes() << 1
                                       << QByteArray("damaged TNEF stream: a record of unknown level") << QByteArray("after") << none << 0u;
        // A wrong checksum warns and keeps the data as read.
        QTest::newRow("bad checksum") << TnefWriter().attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hellp", checksum("Hello")).bytes() << 0
                                      << QByteArray() << QByteArray("Hellp") << QStringList{kChecksum} << quint32(TNEF_WARNING_CHECKSUM);
        // Fewer than 8 bytes after the last record are stray padding.
        QTest::newRow("7 trailing bytes") << TnefWriter().body("kept").raw(QByteArray(7, '\1')).bytes() << 0 << QByteArray() << QByteArray("kept") << none << 0u;
        QTest::newRow("8 trailing bytes") << TnefWriter().body("kept").raw(QByteArray(8, '\1')).bytes() << 0 << QByteArray() << QByteArray("kept") << cut
                                          << quint32(TNEF_WARNING_TRUNCATED);
        const QStringList invalid{QStringLiteral("Invalid attribute, input file may be corrupted")};
        QTest::newRow("corrupt message properties") << TnefWriter().body(plain).messageProperties(badBlock).bytes() << 0 << QByteArray() << plain << invalid
                                                    << quint32(TNEF_WARNING_CORRUPT_PROPERTIES);
        QTest::newRow("corrupt attachment properties") << TnefWriter().body(plain).beginAttachment().attachData("a").attachProperties(badBlock).bytes() << 0
                                                       << QByteArray() << plain << invalid << quint32(TNEF_WARNING_CORRUPT_PROPERTIES);
        QTest::newRow("RTF body's CRC") << rtfMessage(badCrc) << 0 << QByteArray() << plain << QStringList{QStringLiteral("Invalid RTF CRC, input file may be corrupted")}
                                       << quint32(TNEF_WARNING_RTF_CHECKSUM);
        QTest::newRow("RTF body cut short") << rtfMessage(cutRtf) << 0 << QByteArray() << plain << QStringList{QStringLiteral("RTF buffer overrun, input file may be corrupted")}
                                            << quint32(TNEF_WARNING_TRUNCATED);
        QTest::newRow("damage adds up") << TnefWriter().attributeWithChecksum(LevelMessage, AttBody, AtpText, plain, 0).messageProperties(badBlock).raw(QByteArray(9, '\1')).bytes()
                                        << 0 << QByteArray() << plain << QStringList{kChecksum, invalid.first(), kEndOfInput}
                                        << quint32(TNEF_WARNING_CHECKSUM | TNEF_WARNING_CORRUPT_PROPERTIES | TNEF_WARNING_TRUNCATED);
    }
    void records()
    {
        QFETCH(QByteArray, bytes);
        Diagnostics diag;
        auto r = parse(bytes);
        QTEST(r->error, "error");
        QTEST(str(r->error_text), "errorText");
        QTEST(bytesOf(r->body, r->body_len), "body");
        QTEST(diag.messages(), "messages");
        QTEST(r->warnings, "warnings");
    }

    // Each property with every value, flat, and a named one's name, at the
    // message and at each attachment; a corrupt block contributes nothing.
    void savedProperties()
    {
        const MapiBlockWriter bad = block({s8(PidTagSubject, "never seen"), MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))});
        const Props props{MapiProp::int16(0x0017, 0xFFFE), MapiProp::unicode(PidTagSubject, QStringLiteral("Zoë")), MapiProp(PtypString8 | PtypMultipleFlag, 0x7005),
                          MapiProp::multi(PtypInteger64, 0x7006, {le64(9), le64(8)}), MapiProp::int32(0x8001, 7).named(psAddress(), 0x8083),
                          MapiProp::multi(PtypString, 0x7007, {utf16le(QStringLiteral("é")), utf16le(QString()), utf16le(QStringLiteral("b"))}),
                          MapiProp::multi(PtypInteger16, 0x7008, {le16(1), le16(2)}), MapiProp::binary(0x7009, "x").addValue("yz"),
                          MapiProp::boolean(0x8002, true).named(psPublicStrings(), {QStringLiteral("Flag")})};
        Diagnostics diag;
        auto r = parse(TnefWriter().messageProperties(bad).messageProperties(block(props))
                           .attachment(AttachmentSpec{{}, QStringLiteral("a.txt"), "data", {}, {}, {MapiProp::int32(0x0E21, 3), MapiProp::boolean(0x7FFE, true)}, true})
                           .bytes());
        QCOMPARE(diag.messages(), QStringList{QStringLiteral("Invalid attribute, input file may be corrupted")});
        QCOMPARE(str(r->subject), QByteArray("Zo\xC3\xAB"));
        QByteArrayList saved;
        for (int i = 0; i < r->property_count; ++i)
            saved << describe(r->properties[i]);
        // 16-bit values are widened to 32 bits; Unicode strings are UTF-8 with their zero.
        const QByteArray address = psAddress().toHex(), strings = psPublicStrings().toHex();
        QCOMPARE(saved, (QByteArrayList{"17 2 feff0000", "37 1f 5a6fc3ab00", "7005 1e m ", "7006 14 m 0900000000000000,0800000000000000",
                                        "8083 3 07000000 @" + address + ":8083", "7007 1f m c3a900,00,6200", "7008 2 m 01000000,02000000",
                                        "7009 102 78,797a", "8002 b 01000000 @" + strings + ":Flag"}));
        // The attachment's own, its data property listed without the bytes it hands over.
        QCOMPARE(r->attachment_count, 1);
        QByteArrayList attachment;
        for (int i = 0; i < r->attachments[0].property_count; ++i)
            attachment << describe(r->attachments[0].properties[i]);
        QCOMPARE(attachment, (QByteArrayList{"3705 3 01000000", "3707 1f 612e74787400", "3701 102 ", "e21 3 03000000", "7ffe b 01000000"}));
        QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("data"));
    }

    // The recipient table: per row a property block; texts converted as
    // header texts are, in the code page even when it comes later; a row
    // naming nobody is not kept; a broken row ends the table.
    void recipientTable()
    {
        const auto row = [](const Props& props) { return block(props).bytes(); };
        const QByteArray table = le32(5) + row({MapiProp::unicode(0x3001, QStringLiteral("Ana")), s8(0x3002, "SMTP"), s8(0x3003, "ana@x.org"), MapiProp::int32(0x0C15, 1)})
            + row({s8(0x3001, "\x82\xB1"), MapiProp::unicode(0x39FE, QStringLiteral("anna@x.ru")), MapiProp::int32(0x0C15, 2)})
            + row({MapiProp::int32(0x0C15, 3)}) + row({s8(0x3001, "Bo")}) + le32(3) + "broken";
        Diagnostics diag;
        auto r = parse(TnefWriter().attribute(LevelMessage, AttRecipTable, AtpByte, table)
                           .messageProperties(block({MapiProp::int32(0x3FDE, 932)})).bytes());
        QByteArrayList rows;
        for (int i = 0; i < r->recipient_count; ++i) {
            const TnefRecipient& t = r->recipients[i];
            rows << str(t.display_name) + '|' + str(t.email_address) + '|' + str(t.address_type) + '|' + str(t.smtp_address) + '|' + QByteArray::number(t.recipient_type);
        }
        QCOMPARE(rows, (QByteArrayList{"Ana|ana@x.org|SMTP||1", "\xE3\x81\x93|||anna@x.ru|2", "Bo||||-1"}));
        QCOMPARE(diag.messages(), (QStringList{QStringLiteral("Property block runs past its end, input file may be corrupted"),
                                               QStringLiteral("Recipient table row 4 does not decode, input file may be corrupted")}));
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
        for (int cut = 0; cut < w.size(); ++cut) {
            Diagnostics diag;
            auto r = parse(w.bytes().left(cut), cut % 2);  // from a file and from a pipe
            QCOMPARE(r->error, cut < 4 ? 1 : 0);
            int complete = 0;
            while (complete + 1 < ends.size() && ends[complete + 1] <= cut)
                ++complete;
            const bool reported = cut < ends[0] || cut - ends[complete] >= 8;
            QCOMPARE(diag.messages(), reported ? QStringList{kEndOfInput} : QStringList());
            QCOMPARE(r->warnings, reported && cut >= 4 ? quint32(TNEF_WARNING_TRUNCATED) : 0u);
            QCOMPARE(r->subject != nullptr, complete >= 2);
            QCOMPARE(bytesOf(r->body, r->body_len), complete >= 3 ? QByteArray("plain body") : QByteArray());
            QCOMPARE(r->attachment_count, (complete >= 6 ? 1 : 0) + (complete >= 9 ? 1 : 0));
            if (r->attachment_count > 0) {
                QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("attachment bytes"));
                QCOMPARE(str(r->attachments[0].name), complete >= 7 ? QByteArray("long.txt") : QByteArray("SHORT.TXT"));
            }
        }
    }

    // Only an opened attachment with data counts, whatever level opens it. A
    // length the stream cannot back allocates nothing for it from a file and
    // only bounded chunks from a pipe.
    void attachmentsAndLengths_data()
    {
        QTest::addColumn<quint32>("claimed");
        QTest::addColumn<int>("present");
        QTest::newRow("4 GiB, nothing follows") << 0xFFFFFFF0u << 0;
        QTest::newRow("2 GiB, 100 bytes follow") << 0x80000000u << 100;
        QTest::newRow("checksum missing") << 5000u << 5000;
    }
    void attachmentsAndLengths()
    {
        QFETCH(quint32, claimed);
        QFETCH(int, present);
        TnefWriter w;
        w.attachTitle("EARLY.TXT").attachData("early");                               // before any attAttachRenddata
        w.beginAttachment().attachTitle("NODATA.TXT");                                // no data
        w.beginAttachment().attachTitle("EMPTY.TXT").attachData(QByteArray());        // empty data
        w.beginAttachment().attachTitle("LATE.TXT").body("body").attachData("late");  // a message record does not close it
        w.attribute(LevelMessage, AttAttachRenddata, AtpByte, QByteArray(14, '\0')).raw(char(LevelAttachment) + le16(AttAttachData) + le16(AtpByte) + le32(claimed) + QByteArray(present, 'd'));
        const QByteArray bytes = w.bytes();
        for (bool pipe : {false, true}) {
            Diagnostics diag;
            HeapPeak heap;
            auto r = parse(bytes, pipe);
            const size_t peak = heap.peak();
            QCOMPARE(bytesOf(r->body, r->body_len), QByteArray("body"));
            QCOMPARE(r->attachment_count, 1);
            QCOMPARE(str(r->attachments[0].name), QByteArray("LATE.TXT"));
            QCOMPARE(bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("late"));
            QCOMPARE(diag.messages(), QStringList{kEndOfInput});
            QVERIFY2(peak <= (pipe ? 3u << 20 : 65536 + 2 * size_t(present)), qPrintable(QString::number(peak)));
        }
    }

    // Which record or property fills a field of the message or its attachment.
    void fields_data()
    {
        QTest::addColumn<QByteArray>("title");  // null: no attAttachTitle
        QTest::addColumn<Props>("props");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray none, name("name"), cid("cid"), ole("ole");
        const MapiProp topic = s8(PidTagConversationTopic, "Topic");
        const QByteArray subject("subject"), sender("sender"), html("html"), rtf("rtf");
        QTest::newRow("topic before subject") << none << Props{topic, MapiProp::unicode(PidTagSubject, QStringLiteral("RE: Topic"))} << subject << QByteArray("Topic");
        QTest::newRow("empty subject is filled later") << none << Props{s8(PidTagSubject, ""), topic} << subject << QByteArray("Topic");
        // Other types and missing values under a known id hold no text pointer.
        QTest::newRow("subject of another type") << none << Props{MapiProp::int32(PidTagSubject, 0x41), MapiProp(PtypString8, PidTagSubject), topic} << subject << QByteArray("Topic");
        // Valid UTF-8 is kept; anything else is read in the message's code page, else 1252.
        QTest::newRow("UTF-8 kept") << none << Props{MapiProp::int32(PidTagInternetCodepage, 936), s8(PidTagSubject, "\xF0\x9F\x98\x80")} << subject << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("Cyrillic in 1251") << none << Props{MapiProp::int32(PidTagInternetCodepage, 1251), s8(PidTagSubject, "\xCF\xF0\xE8\xE2\xE5\xF2")}
                                          << subject << QString::fromUtf8("Привет").toUtf8();
        QTest::newRow("Latin-1 label keeps 1252's quotes") << none << Props{MapiProp::int32(PidTagInternetCodepage, 28591), s8(PidTagSubject, "\x93x\x94")}
                                                          << subject << QByteArray("\xE2\x80\x9Cx\xE2\x80\x9D");
        QTest::newRow("UTF-16 page is no 8-bit page") << none << Props{MapiProp::int32(PidTagInternetCodepage, 1200), s8(PidTagSubject, "caf\xE9")}
                                                      << subject << QByteArray("caf\xC3\xA9");
        QTest::newRow("invalid GBK falls back to 1252") << none << Props{MapiProp::int32(PidTagInternetCodepage, 936), s8(PidTagSubject, "a\xC4")} << subject << QByteArray("a\xC3\x84");
        // The code page applies to the whole block it is in.
        QTest::newRow("code page after the subject") << none << Props{s8(PidTagSubject, "\x82\xB1"), MapiProp::int32(PidTagInternetCodepage, 932)} << subject
                                                     << QByteArray("\xE3\x81\x93");
        QTest::newRow("account's third part") << none << Props{s8(PidTagPrimarySendAccount, "3\x01" "Ana\x01" "jos\xE9@x.org"), s8(PidTagSentRepresentingEmailAddress, "b")}
                                              << sender << QByteArray("jos\xC3\xA9@x.org");
        QTest::newRow("account with one separator") << none << Props{s8(PidTagPrimarySendAccount, "id\x01" "a@x.org")} << sender << QByteArray("id\x01" "a@x.org");
        QTest::newRow("first HTML value") << none << Props{MapiProp::multi(PtypBinary, PidTagBodyHtml, {"<p>1</p>", "<p>2</p>"}), MapiProp::binary(PidTagBodyHtml, "<p>3</p>")}
                                          << html << QByteArray("<p>1</p>");
        QTest::newRow("first RTF, decompressed") << none << Props{MapiProp::int32(PidTagRtfCompressed, 7), MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1 A}")),
                                                           MapiProp::binary(PidTagRtfCompressed, compressedRtf("{B}"))} << rtf << QByteArray("{\\rtf1 A}");
        const MapiProp shortName = s8(PidTagAttachFilename, "A.TXT"), location = s8(PidTagAttachContentLocation, "loc"), id = s8(PidTagAttachContentId, "id");
        const QByteArray storage = QByteArray::fromHex("0B000000") + QByteArray(12, '\0') + QByteArray::fromHex("D0CF11E0");
        QTest::newRow("title in the code page") << QByteArray("\x82\xB1.txt") << Props{} << name << QByteArray("\xE3\x81\x93.txt");
        QTest::newRow("short name keeps the title") << QByteArray("TITLE.TXT") << Props{shortName} << name << QByteArray("TITLE.TXT");
        QTest::newRow("short name replaces a generic title") << QByteArray("Untitled Attachment") << Props{shortName} << name << QByteArray("A.TXT");
        QTest::newRow("long path's last component") << none << Props{s8(PidTagAttachLongPathname, "C:\\ana\\plan 2024.xlsx")} << name << QByteArray("plan 2024.xlsx");
        QTest::newRow("name of another type") << QByteArray("T.TXT") << Props{MapiProp::int32(PidTagAttachLongFilename, 0x41414141)} << name << QByteArray("T.TXT");
        QTest::newRow("location as content id") << none << Props{location} << cid << QByteArray("loc");
        QTest::newRow("id replaces location") << none << Props{location, id} << cid << QByteArray("id");
        QTest::newRow("data from the block") << none << Props{MapiProp::binary(PidTagAttachDataBinary, "block")} << QByteArray("data") << QByteArray("block");
        QTest::newRow("data of another type") << none << Props{MapiProp::int32(PidTagAttachDataBinary, 5)} << QByteArray("data") << QByteArray("record");
        QTest::newRow("OLE storage of 20 bytes") << none << Props{MapiProp::binary(PidTagAttachDataBinary, storage)} << ole << QByteArray("1 16");
        QTest::newRow("19 bytes are no OLE") << none << Props{MapiProp::binary(PidTagAttachDataBinary, storage.chopped(1))} << ole << QByteArray("0 0");
    }
    void fields()
    {
        QFETCH(QByteArray, title);
        QFETCH(Props, props);
        QFETCH(QByteArray, field);
        if (QByteArrayList{"subject", "sender", "html", "rtf"}.contains(field)) {
            auto r = parse(TnefWriter().messageProperties(block(props)).bytes());
            QTEST(field == "subject" ? str(r->subject) : field == "sender" ? str(r->sender_email) : field == "html" ? bytesOf(r->html, r->html_len) : bytesOf(r->rtf, r->rtf_len), "expected");
            return;
        }
        TnefWriter w;
        w.messageProperties(block({MapiProp::int32(PidTagInternetCodepage, 932)})).beginAttachment();
        if (!title.isNull())
            w.attachTitle(title);
        Diagnostics diag;  // keeps the long path's trace line off the log
        auto r = parse(w.attachData("record").attachProperties(block(props)).bytes());
        QCOMPARE(r->attachment_count, 1);
        const TnefAttachment& a = r->attachments[0];
        QTEST(field == "data" ? bytesOf(a.data, a.len) : field == "ole" ? QByteArray::number(a.is_ole) + ' ' + QByteArray::number(a.ole_offset) : str(field == "name" ? a.name : a.content_id), "expected");
    }

    // Hostile lengths in oom.tnef: no large allocation, nothing from the broken block.
    void realSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("names");  // quick.*: with the bytes of quick-contents/
        QTest::newRow("quick") << "quick-winmail.dat" << QByteArray("quick.doc quick.html quick.pdf quick.txt quick.xml");
        QTest::newRow("bug63955") << "bug63955-winmail.dat" << QByteArray("SI-61597.pdf SI-61598.pdf");
        QTest::newRow("oom") << "oom.tnef" << QByteArray();
    }
    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, file);
        const auto quick = [](const QByteArray& name) { return testsupport::readRealSample(QStringLiteral("quick-contents/") + QLatin1String(name)); };
        const QByteArray bytes = testsupport::readRealSample(file);
        Diagnostics diag;
        HeapPeak heap;
        auto r = parse(bytes);
        QVERIFY2(heap.peak() < 3 * size_t(bytes.size()) + 65536, qPrintable(QString::number(heap.peak())));
        QCOMPARE(r->error, 0);
        QCOMPARE(r->warnings, file == QLatin1String("oom.tnef") ? quint32(TNEF_WARNING_CHECKSUM | TNEF_WARNING_CORRUPT_PROPERTIES) : 0u);
        QByteArrayList names;
        for (int i = 0; i < r->attachment_count; ++i) {
            names << str(r->attachments[i].name);
            // Not the metafile that each attachment also carries.
            QVERIFY(!names[i].startsWith("quick") || bytesOf(r->attachments[i].data, r->attachments[i].len) == quick(names[i]));
        }
        QTEST(names.join(' '), "names");
        if (file.startsWith(QLatin1String("quick")))
            QCOMPARE(std::make_tuple(str(r->subject), bytesOf(r->rtf, r->rtf_len) == quick("message.rtf"), diag.messages()),
                     std::make_tuple(QByteArray("This is a test message"), true, QStringList{QStringLiteral("MAPI_ATTACH_LONG_PATHNAME: ")}));
        if (file == QLatin1String("oom.tnef"))
            QCOMPARE(diag.messages(), (QStringList{kChecksum, QStringLiteral("Property block runs past its end, input file may be corrupted")}));
    }

    void properties_data()
    {
        QTest::addColumn<MapiProp>("property");
        QTest::addColumn<QByteArrayList>("values");  // as held; strings with their added zero
        QTest::addColumn<quint32>("id");
        QTest::addColumn<QStringList>("names");      // null: not a named property
        const auto one = [](const char* row, const MapiProp& p, const QByteArray& v) { QTest::newRow(row) << p << QByteArrayList{v} << quint32(p.id()) << QStringList(); };
        one("int16 padded", MapiProp::int16(0x0017, 0xBEEF), le16(0xBEEF));
        one("int32", MapiProp::int32(0x3FDE, 0x12345678), le32(0x12345678));
        one("float32", MapiProp::float32(0x7001, 1.5f), float32Bytes(1.5f));
        one("float64", MapiProp::float64(0x7002, -2.25), float64Bytes(-2.25));
        one("currency", MapiProp::currency(0x7003, -5), le64(quint64(-5)));
        one("floating time", MapiProp::floatingTime(0x7004, 45000.5), float64Bytes(45000.5));
        one("boolean", MapiProp::boolean(0x0E1B, true), le32(1));
        one("object", MapiProp::object(0x3701, QByteArray("\x0B\0\1", 3)), QByteArray("\x0B\0\1", 3));
        one("int64", MapiProp::int64(0x7005, 0x0102030405060708ULL), le64(0x0102030405060708ULL));
        one("string8 padded", MapiProp::string8(0x0037, "Hello", false), "Hello");
        // Unicode becomes UTF-8 whose length counts the bytes up to and with the first zero.
        one("unicode", MapiProp::unicode(0x0037, QString::fromUtf8("a\xC3\xA9\xF0\x9F\x98\x80")), QByteArray("a\xC3\xA9\xF0\x9F\x98\x80\0", 8));
        one("time", MapiProp::time(0x0039, 0x01D9ABCDEF012345ULL), le64(0x01D9ABCDEF012345ULL));
        one("guid", MapiProp::guid(0x7006, psAddress()), psAddress());
        one("binary", MapiProp::binary(0x1013, "12345678"), "12345678");
        one("empty unicode", MapiProp::unicode(0x0037, QString(), false), QByteArray());
        // Surrogate pairs make one four-byte sequence, lone surrogates U+FFFD (three bytes for two).
        one("lone high at the end", MapiProp(PtypString, 0x0037).addValue(QByteArray("a\0\x3D\xD8", 4)), QByteArray("a\xEF\xBF\xBD\0", 5));
        one("all lone lows", MapiProp(PtypString, 0x0037).addValue(QByteArray(4000, '\xDC')), QByteArray("\xEF\xBF\xBD").repeated(2000) + '\0');
        QTest::newRow("no values") << MapiProp(PtypInteger32 | PtypMultipleFlag, 0x7020) << QByteArrayList{} << 0x7020u << QStringList();
        QTest::newRow("int16s, each padded") << MapiProp::multi(PtypInteger16, 0x7010, {le16(9), le16(8)}) << QByteArrayList{le16(9), le16(8)} << 0x7010u << QStringList();
        // The numeric id of a named property replaces the tag's; names leave it.
        QTest::newRow("named by number") << MapiProp::string8(0x8000, "a@x.org").named(psAddress(), 0x8205) << QByteArrayList{QByteArray("a@x.org\0", 8)} << 0x8205u
                                         << QStringList{};
        QTest::newRow("named by names") << MapiProp::int32(0x8002, 5).named(psPublicStrings(), {QStringLiteral("x"), QString::fromUtf8("\xC3\x9C \xF0\x9F\x98\x80")})
                                        << QByteArrayList{le32(5)} << 0x8002u << QStringList{QStringLiteral("x"), QString::fromUtf8("\xC3\x9C \xF0\x9F\x98\x80")};
    }
    void properties()
    {
        QFETCH(MapiProp, property);
        Diagnostics diag;
        Block block = decode(MapiBlockWriter().add(property).add(kSentinel).bytes());
        QVERIFY(block && block.get()[1] && !block.get()[2] && block.get()[1]->values[0].data.u32 == 0xC0FFEE42u);
        const MapiProperty* p = block.get()[0];
        QCOMPARE(p->type, quint32(property.type() & ~PtypMultipleFlag));
        QTEST(p->id, "id");
        QByteArrayList values;
        for (quint64 i = 0; i < p->value_count; ++i) {
            values << valueBytes(p, i);
            QVERIFY((p->type != PtypString8 && p->type != PtypBinary) || p->values[i].data.buf[p->values[i].len] == '\0');  // usable as a C string
        }
        QTEST(values, "values");
        QCOMPARE(bytesOf(p->guid, 16), property.id() < 0x8000 ? QByteArray() : property.id() == 0x8000 ? psAddress() : psPublicStrings());
        QStringList names;
        for (quint64 i = 0; i < p->name_count; ++i)
            names << QString::fromUtf8(bytesOf(p->names[i].text, p->names[i].len));
        QTEST(names, "names");
        QVERIFY(diag.messages().isEmpty());
        // A 16-bit integer at the very end may lack its padding.
        QCOMPARE(decode(le32(1) + le16(PtypInteger16) + le16(0x0017) + le16(7)).get()[0]->values[0].data.u16, quint16(7));
    }

    // A corrupt block gives nothing (a good property before the bad one is
    // neither returned nor leaked), one line, and no allocation its lengths ask for.
    void corruptBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QStringList>("messages");
        const QStringList invalid{QStringLiteral("Invalid attribute, input file may be corrupted")};
        const QStringList undefined{QStringLiteral("Undefined attribute, input file may be corrupted")};
        const QStringList overrun{QStringLiteral("Property block runs past its end, input file may be corrupted")};
        const auto badType = [](quint16 type) { return MapiBlockWriter().add(kSentinel).add(MapiProp(type, 0x7030).addValue(le32(1))).bytes(); };
        QTest::newRow("unspecified type") << badType(0x0000) << invalid;
        QTest::newRow("just above guid") << badType(0x0049) << undefined;
        const QByteArray one = le32(1);
        QTest::newRow("empty") << QByteArray() << overrun;
        QTest::newRow("count 2^32-1") << MapiBlockWriter().add(kSentinel).withCount(0xFFFFFFFF).bytes() << overrun;
        QTest::newRow("value count 2^32-1") << MapiBlockWriter().add(MapiProp::binary(0x1013, "x").withValueCount(0xFFFFFFFF)).bytes() << overrun;
        QTest::newRow("length 2^32-1") << one + le16(PtypBinary) + le16(0x1013) + one + le32(0xFFFFFFFF) + "abcd" << overrun;
        QTest::newRow("absurd name count")
            << MapiBlockWriter().add(MapiProp::int32(0x8001, 1).named(psAddress(), {QStringLiteral("n")}).withKindWord(0x44000000)).bytes() << overrun;
        QTest::newRow("name past the end") << one + le16(PtypInteger32) + le16(0x8001) + psAddress() + one + le32(0x7FFFFFF0) + QByteArray(8, 'n') << overrun;
    }
    void corruptBlocks()
    {
        QFETCH(QByteArray, block);
        Diagnostics diag;
        HeapPeak heap;
        QVERIFY(!decode(block));
        QVERIFY2(heap.peak() <= 65536, qPrintable(QString::number(heap.peak())));  // the diagnostics file's buffer and small change
        QTEST(diag.messages(), "messages");
    }

    void rtfValues_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("body");  // null: the value gives nothing
        QTest::addColumn<QStringList>("messages");  // a row with messages warns, with the TNEF_WARNING_* they imply
        const auto wrap = [](const QByteArray& payload, quint32 rawSize, quint32 type = lzfu::kCompressed) {
            return QByteArray::fromStdString(lzfu::wrap(payload.toStdString(), rawSize, type));
        };
        const QByteArray p1 = kExample1.mid(16);
        const QStringList none, overrun{QStringLiteral("RTF buffer overrun, input file may be corrupted")};
        QTest::newRow("worked example 1") << kExample1 << kText1 << none;
        QTest::newRow("worked example 2, overlapping") << kExample2 << kText2 << none;
        // Control byte 1, then a reference to offset 207: the write position.
        QTest::newRow("end marker first, RAWSIZE exactly 8x") << wrap(QByteArray::fromHex("010cf0"), 8 * 19) << QByteArray(8 * 19, '\0') << none;
        QByteArray badCrc = kExample1;
        badCrc[12] = char(quint8(badCrc[12]) + 1);
        QTest::newRow("CRC off by one") << badCrc << QByteArray("") << QStringList{QStringLiteral("Invalid RTF CRC, input file may be corrupted")};
        // Example 1 ends on a reference copying "\r\n", then the end marker.
        QTest::newRow("cut before the end marker") << wrap(p1.chopped(2), 43) << kText1 << overrun;
        QTest::newRow("cut inside a reference") << wrap(p1.chopped(3), 43) << kText1.left(41) + QByteArray(2, '\0') << overrun;
        // Example 1 starts with references of 12 and 4 bytes, then literals.
        QTest::newRow("literal past RAWSIZE") << wrap(p1, 17) << kText1.left(17) << overrun;
        QTest::newRow("reference past RAWSIZE") << wrap(p1, 14) << kText1.left(12) + QByteArray(2, '\0') << overrun;
        QTest::newRow("MELA short, CRC ignored") << wrap("{}", 6, lzfu::kUncompressed).replace(12, 4, "UUUU") << QByteArray("{}\0\0\0\0", 6) << none;
        QTest::newRow("unknown COMPTYPE") << wrap(p1, 43, 0x12345678) << QByteArray() << none;
        QTest::newRow("shorter than the header") << kExample1.left(15) << QByteArray() << none;
        QTest::newRow("RAWSIZE beyond 8x") << wrap(p1, 8 * quint32(kExample1.size()) + 1) << QByteArray() << none;
        QTest::newRow("MELA RAWSIZE beyond 8x") << wrap("{}", 8 * 18 + 1, lzfu::kUncompressed) << QByteArray() << none;
        // Round trips through our compressor, past the first 4 KiB of output. A RAWSIZE beyond the text stops at
        // the end marker, and the rest stays zero also where the decoder copied ahead of its position.
        QByteArray text(300000, Qt::Uninitialized);
        QRandomGenerator rng(3);
        for (char& c : text)
            c = "{}\\ abcdefgh\r\n"[rng.bounded(14)];
        const QByteArray runs = QByteArray(5000, 'x') + QByteArray(300, 'y');
        QTest::newRow("round trip, RTF-like text") << compressedRtf(text) << text << none;
        QTest::newRow("round trip, 4000 bytes beyond") << wrap(compressedRtf(text).mid(16), quint32(text.size() + 4000)) << text + QByteArray(4000, '\0') << none;
        QTest::newRow("round trip, runs overlapping their source") << compressedRtf(runs) << runs << none;
        QTest::newRow("round trip, 17 bytes beyond") << wrap(compressedRtf(runs).mid(16), quint32(runs.size() + 17)) << runs + QByteArray(17, '\0') << none;
    }
    void rtfValues()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, body);
        Diagnostics diag;
        HeapPeak heap;
        const QList<QByteArray> bodies = decodeValues({value, kExample2});
        QVERIFY2(heap.peak() < 65536 + 3 * size_t(value.size() + body.size()), qPrintable(QString::number(heap.peak())));
        QVERIFY(bodies[0] == body && bodies[0].isNull() == body.isNull());
        QCOMPARE(bodies.mid(1), (QList<QByteArray>{kText2, QByteArray()}));  // every value, in order, then a null
        QTEST(diag.messages(), "messages");
        QFETCH(QStringList, messages);
        quint32 warnings = 0;
        decodeValues({value}, &warnings);
        QCOMPARE(warnings, messages.isEmpty() ? 0u : messages.first().contains(QLatin1String("CRC")) ? quint32(TNEF_WARNING_RTF_CHECKSUM) : quint32(TNEF_WARNING_TRUNCATED));
    }

    // Declared last: by now every fixture above went through parse(). From
    // memory the result, and what is said about the input, are the stream's.
    void bufferMatchesStream()
    {
        QList<QByteArray> inputs = parsedInputs();
        const QDir real(testsupport::realSamplesDir());
        for (const QString& name : real.entryList({QStringLiteral("*.dat"), QStringLiteral("*.tnef")}, QDir::Files, QDir::Name))
            inputs << testsupport::readRealSample(name);
        inputs << QByteArray() << TnefWriter().bytes().left(5);
        for (const QByteArray& bytes : std::as_const(inputs)) {
            QStringList fromStream, fromMemory;
            QByteArrayList streamResult, memoryResult;
            {
                Diagnostics diag;
                streamResult = describe(parse(bytes).get());
                fromStream = diag.messages();
            }
            {
                Diagnostics diag;
                memoryResult = describe(parseBuffer(bytes).get());
                fromMemory = diag.messages();
            }
            QCOMPARE(memoryResult, streamResult);
            QCOMPARE(fromMemory, fromStream);
        }
    }

    // From memory, record data is a view of the input and nothing else is;
    // tnef_free releases the result's own buffers and leaves the input alone.
    void bufferResultPointsIntoInput()
    {
        const QByteArray large(1 << 20, 'r');
        TnefWriter w;
        w.body(large).beginAttachment().attachTitle("A.TXT").attachData(large);
        w.beginAttachment().attachTitle("B.TXT").attachProperties(block({MapiProp::binary(PidTagAttachDataBinary, "block data")}));
        w.beginAttachment().attachTitle("C.TXT").attachData(QByteArray()).attachData("second record");
        const QByteArray bytes = w.bytes();
        Diagnostics diag;
        const auto inInput = [&](const void* p) {
            return quintptr(p) >= quintptr(bytes.constData()) && quintptr(p) < quintptr(bytes.constData() + bytes.size());
        };
        HeapPeak heap;
        auto r = parseBuffer(bytes);
        QCOMPARE(r->attachment_count, 3);
        QVERIFY(inInput(r->body) && inInput(r->attachments[0].data) && !inInput(r->attachments[1].data) && inInput(r->attachments[2].data));
        QCOMPARE(bytesOf(r->attachments[2].data, r->attachments[2].len), QByteArray("second record"));
        QVERIFY2(heap.peak() < 65536, qPrintable(QString::number(heap.peak())));  // neither megabyte is copied
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnef)
#include "tst_tnef.moc"
