// Writes the fuzzers' seed corpora with the writers the tests use, so that
// every target starts from well-formed inputs of its format (and a few
// damaged ones) instead of discovering the magic numbers by itself.
//
//   fuzz_seeds OUTPUT_DIR      -> OUTPUT_DIR/<target>/<name>

#include "support/attached_message_fixtures.h"
#include "support/cfb_writer.h"
#include "support/lzfu_compressor.h"
#include "support/msg_writer.h"
#include "support/tnef_writer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTimeZone>

#include <cstdio>

using namespace tnefwriter;
using testsupport::CfbWriter;

namespace {

QString outputRoot;
int written = 0;

void put(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString dir = outputRoot + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++written;
}

// RTF documents that between them use what the converter knows: tables,
// lists, fonts with charsets, colours, Unicode escapes, skipped and ignorable
// destinations, pictures and fields.
QList<QPair<QString, QByteArray>> rtfDocuments()
{
    return {
        {"plain", "{\\rtf1\\ansi\\deff0 Hello, world.\\par}"},
        {"fonts-colours",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fprq2\\fcharset134 "
         "SimSun;}{\\f2\\fmodern\\fcharset128 MS Gothic;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
         "\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 Red \\cf2\\b bold\\b0\\i italic\\i0\\ul under\\ulnone\\strike x\\strike0"
         "\\super 2\\nosupersub\\par\\f1\\'c4\\'e3\\'ba\\'c3\\f2\\'82\\'a0\\par\\f0\\'93quoted\\'94\\~\\{\\}\\\\\\par}"},
        {"paragraphs",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Calibri;}}\\pard\\qc\\li720\\ri360\\fi-360\\sb120\\sa240\\sl276\\slmult1 Centred"
         "\\par\\pard\\qr Right\\line next\\tab tabbed\\par\\pard\\qj\\highlight3 Justified\\cb2 back\\par\\page\\sect}"},
        {"unicode",
         "{\\rtf1\\ansi\\uc1\\u8364?\\u-3913?\\uc2\\u20013\\'d6\\'d0\\uc0\\u8364\\'80\\u55357\\u56832 done\\par}"},
        {"lists",
         "{\\rtf1\\ansi{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}"
         "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard{\\listtext\\'b7\\tab}\\ls1\\ilvl0 one"
         "\\par{\\listtext\\'b7\\tab}\\ls1\\ilvl1 two\\par{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}\\ls2 three\\par"
         "\\pard\\par}"},
        {"table",
         "{\\rtf1\\ansi\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clcbpat2\\clvertalc\\cellx2000"
         "\\clmgf\\cellx4000\\clmrg\\cellx6000\\pard\\intbl A1\\cell B1\\cell C1\\cell\\row\\trowd\\cellx3000\\cellx6000"
         "\\pard\\intbl\\itap1 A2\\cell{\\b B2}\\cell\\row\\pard After\\par}"},
        {"nested-table",
         "{\\rtf1\\ansi\\pard\\intbl\\itap2 inner\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}\\cell"
         "\\trowd\\cellx5000\\row\\pard\\par}"},
        {"skipped",
         "{\\rtf1\\ansi{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\header H}{\\footer F}"
         "{\\*\\generator Writer;}{\\object\\objemb{\\*\\objdata 0105}}{\\*\\shppict{\\pict\\pngblip\\picw10\\pich10 "
         "89504e47}}{\\nonshppict{\\pict\\wmetafile8 0100}}{\\pict\\bin4 \\{\\}x}Visible\\par}"},
        {"field",
         "{\\rtf1\\ansi{\\field{\\*\\fldinst HYPERLINK \"http://example.com/\"}{\\fldrslt{\\ul\\cf1 link}}}\\par"
         "{\\*\\htmltag64 <p>}{\\*\\htmltag84 &nbsp;}\\htmlrtf x\\htmlrtf0\\par}"},
        {"fromhtml",
         "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\htmltag19 <html>}"
         "{\\*\\htmltag34 <head>}\\htmlrtf {\\htmlrtf0 Body text\\par}\\htmlrtf }}"},
        {"malformed", "{\\rtf1 A\\fs- B\\li99999999999 C\\par}}}{{{"},
        {"cyrillic", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}"},
    };
}

// Documents that carry HTML or plain text inside them, as Outlook writes
// them: tag groups, \\htmlrtf regions, a style block, code pages of fonts and
// of the document, Unicode escapes, and the plain-text form.
QList<QPair<QString, QByteArray>> encapsulatedDocuments()
{
    const QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset134 SimSun;}"
                              "{\\f2\\fcharset204 Arial Cyr;}}\r\n{\\colortbl\\red0\\green0\\blue0;}\r\n\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 \r\n";
    return {
        {"html",
         header + "{\\*\\htmltag19 <html>}{\\*\\htmltag34 <head>}{\\*\\htmltag241 <style>}{\\*\\htmltag241 \\par p\\par \\tab \\{margin:0;\\}\\par }"
                  "{\\*\\htmltag249 </style>}{\\*\\htmltag41 </head>}{\\*\\htmltag50 <body>}\\htmlrtf \\lang1033 \\htmlrtf0 \r\n"
                  "{\\*\\htmltag64 <p>}\\htmlrtf {\\htmlrtf0 Hello {\\*\\htmltag84 <b>}\\htmlrtf {\\b \\htmlrtf0 bold{\\*\\htmltag92 </b>}"
                  "\\htmlrtf }\\htmlrtf0 {\\*\\htmltag84 &nbsp;}\\htmlrtf \\'a0\\htmlrtf0 caf\\'e9\\htmlrtf\\par}\\htmlrtf0\r\n"
                  "{\\*\\mhtmltag84 <img src=\"{\\htmlbase ATT-0}\">}{\\*\\htmltag84 <img src=\"cid:a@b\">}\\htmlrtf \\objattph  \\htmlrtf0 "
                  "{\\*\\htmltag72 </p>}{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}}"},
        {"html-code-pages",
         header + "{\\*\\htmltag84 <p title=\"\\'e9\">}\\f1 \\'c4\\'e3\\'81@{\\f2 \\'cf\\'f0}\\u8364?\\uc2\\u-10179\\'80\\'80\\u-8704??}"},
        {"html-gbk-document", "{\\rtf1\\ansi\\ansicpg936\\fromhtml1 {\\*\\htmltag84 <p title=\"\\'c4\\'e3\">}\\'ba\\'c3\\par}"},
        {"text",
         "{\\rtf1\\ansi\\ansicpg1251\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n\\uc1\\pard\\plain \\f0\\fs20 "
         "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par line\\line a\\tab b\\~c\\{\\}\\par\r\n}"},
        {"truncated", header + "{\\*\\htmltag64 <p>}Hel\\'c"},
    };
}

QByteArray pngBytes()
{
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                               "1f15c4890000000d49444154789c6360000002000154a24f5d0000000049454e44ae426082");
}

QByteArray compoundFile(const QString& streamPath, const QByteArray& payload, int sectorShift = 9)
{
    CfbWriter writer(sectorShift);
    writer.addStream(streamPath, payload);
    return writer.build();
}

// TNEF streams: a plain message, every body kind, attachments of each kind,
// named and multi-valued properties, calendar classes, and damaged ones.
QList<QPair<QString, QByteArray>> tnefStreams(QList<QPair<QString, QByteArray>>* blocks)
{
    QList<QPair<QString, QByteArray>> streams;
    const QDateTime sent(QDate(2024, 3, 5), QTime(9, 30), QTimeZone::utc());
    auto keepBlock = [blocks](const QString& name, const MapiBlockWriter& block) {
        blocks->append({name, block.bytes()});
    };

    {
        MapiBlockWriter props;
        props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Quarterly report")))
            .add(MapiProp::string8(PidTagSentRepresentingName, "Ana Ruiz"))
            .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana@example.com"))
            .add(MapiProp::unicode(PidTagDisplayTo, QStringLiteral("Bo; Cy")))
            .add(MapiProp::time(PidTagClientSubmitTime, sent))
            .add(MapiProp::int32(PidTagInternetCodepage, 1252))
            .add(MapiProp::binary(PidTagBodyHtml,
                                  "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                  "charset=iso-8859-1\"></head><body>Hi <img src=\"cid:logo@1\"></body></html>"));
        keepBlock("html-message", props);
        TnefWriter tnef;
        tnef.tnefVersion().oemCodepage(1252).messageClass("IPM.Note").messageProperties(props);
        AttachmentSpec image{"LOGO.PNG", QStringLiteral("logo.png"), pngBytes(), "image/png", "logo@1", {}, false, false};
        tnef.attachment(image);
        AttachmentSpec pdf{"REPORT~1.PDF", QStringLiteral("report 2024.pdf"), QByteArray("%PDF-1.4\n%%EOF\n"),
                           "application/pdf", {}, {}, true, false};
        tnef.attachment(pdf);
        streams.append({"html-with-attachments", tnef.bytes()});
    }
    for (const auto& document : rtfDocuments()) {
        MapiBlockWriter props;
        props.add(MapiProp::string8(PidTagSubject, "RTF " + document.first.toLatin1()))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(document.second)));
        TnefWriter tnef;
        tnef.tnefVersion().messageProperties(props);
        streams.append({"rtf-" + document.first, tnef.bytes()});
        if (document.first == "table")
            keepBlock("rtf-table", props);
    }
    // RTF bodies that carry HTML or text, beside the image one of them names
    // (cid:a@b), so that the carried page's way to the view is fuzzed too.
    for (const auto& document : encapsulatedDocuments()) {
        MapiBlockWriter props;
        props.add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(document.second)));
        TnefWriter tnef;
        tnef.tnefVersion().messageProperties(props);
        tnef.attachment(AttachmentSpec{"IMAGE.PNG", QStringLiteral("image.png"), pngBytes(), "image/png", "a@b", {}, false, false});
        streams.append({"encapsulated-" + document.first, tnef.bytes()});
    }
    {
        MapiBlockWriter props;
        props.add(MapiProp::binary(PidTagRtfCompressed, storedRtf("{\\rtf1 stored\\par}")))
            .add(MapiProp::multi(PtypBinary, PidTagRtfCompressed, {compressedRtf("{\\rtf1 a\\par}"), "short"}));
        TnefWriter tnef;
        tnef.messageProperties(props).body("Plain body text\r\n");
        streams.append({"stored-rtf-and-plain", tnef.bytes()});
    }
    {
        // East Asian text with and without a code page.
        MapiBlockWriter props;
        props.add(MapiProp::string8(PidTagSubject, QByteArray::fromHex("c4e3bac3cac0bde7")))
            .add(MapiProp::int32(PidTagInternetCodepage, 936))
            .add(MapiProp::binary(PidTagBodyHtml, QByteArray::fromHex("3c703ec4e3bac3cac0bde73c2f703e")));
        keepBlock("gbk", props);
        TnefWriter tnef;
        tnef.messageProperties(props).body(QByteArray::fromHex("82b182f182c982bf82cd00"));
        streams.append({"east-asian", tnef.bytes()});
    }
    {
        // Embedded objects: CONTENTS, Package and Ole10Native streams.
        TnefWriter tnef;
        tnef.tnefVersion();
        const QList<QPair<QString, QByteArray>> objects = {
            {"/CONTENTS", QByteArray("%PDF-1.4 embedded")},
            {"/Package", QByteArray(5000, 'P')},
            {QStringLiteral("/\x01Ole10Native"), QByteArray("\x10\x00\x00\x00payload-of-16-by", 20)},
        };
        int n = 0;
        for (const auto& object : objects) {
            AttachmentSpec spec{"OBJECT", {}, oleObjectData(compoundFile(object.first, object.second)), {}, {}, {},
                                true, true};
            tnef.attachment(spec);
            ++n;
        }
        streams.append({"embedded-objects", tnef.bytes()});
    }
    {
        // Named, multi-valued and every fixed-size type; a calendar class.
        MapiBlockWriter props;
        props.add(MapiProp::unicode(0x8000, QStringLiteral("keyword")).named(psPublicStrings(), QStringList{"Keywords"}))
            .add(MapiProp::int32(0x8001, 2).named(psetidAppointment(), 0x8205))
            .add(MapiProp::time(0x8002, sent).named(psetidAppointment(), 0x820D))
            .add(MapiProp::time(0x8003, sent.addSecs(3600)).named(psetidAppointment(), 0x820E))
            .add(MapiProp::multi(PtypInteger32, 0x6000, {int32Bytes(1), int32Bytes(2), int32Bytes(3)}))
            .add(MapiProp::multi(PtypString, 0x6001, {utf16le(QStringLiteral("a")), utf16le(QStringLiteral("b"))}))
            .add(MapiProp::int16(0x6002, 7))
            .add(MapiProp::boolean(0x6003, true))
            .add(MapiProp::float32(0x6004, 1.5f))
            .add(MapiProp::float64(0x6005, 2.5))
            .add(MapiProp::currency(0x6006, 12345))
            .add(MapiProp::floatingTime(0x6007, 45000.5))
            .add(MapiProp::int64(0x6008, 1ull << 40))
            .add(MapiProp::guid(0x6009, psAddress()))
            .add(MapiProp::object(0x600A, "object bytes"))
            .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Review")))
            .add(MapiProp::string8(PidTagMessageClass, "IPM.Schedule.Meeting.Request"))
            .add(MapiProp::string8(PidTagPrimarySendAccount, "acct\x01id\x01" "cy@example.com"));
        keepBlock("named-and-multi", props);
        TnefWriter tnef;
        tnef.tnefVersion().messageClass("IPM.Schedule.Meeting.Request").messageProperties(props);
        streams.append({"meeting", tnef.bytes()});

        MapiBlockWriter contact;
        contact.add(MapiProp::string8(PidTagMessageClass, "IPM.Contact"))
            .add(MapiProp::unicode(0x3A06, QStringLiteral("Ana")))
            .add(MapiProp::unicode(0x3A11, QStringLiteral("Ruiz")))
            .add(MapiProp::unicode(0x3A08, QStringLiteral("+1 555 0100")));
        TnefWriter card;
        card.messageProperties(contact);
        streams.append({"contact", card.bytes()});
    }
    {
        // Attachment names from the long path, the title and the display name.
        TnefWriter tnef;
        MapiBlockWriter attach;
        attach.add(MapiProp::string8(PidTagAttachLongPathname, "C:\\Users\\ana\\notes.txt"))
            .add(MapiProp::string8(PidTagAttachContentLocation, "notes"))
            .add(MapiProp::int32(PidTagAttachMethod, 1));
        keepBlock("attachment", attach);
        tnef.beginAttachment().attachTitle("Untitled Attachment").attachData("text").attachProperties(attach);
        tnef.beginAttachment().attachData(QByteArray(64, '\x0b'));
        streams.append({"attachment-names", tnef.bytes()});
    }
    {
        // Damaged: wrong checksum, unknown level, stray tail, cut record, lying count.
        TnefWriter tnef;
        tnef.attributeWithChecksum(LevelMessage, AttBody, AtpText, "checksum is wrong", 1)
            .attribute(3, AttSubject, AtpString, "level three")
            .messageProperties(MapiBlockWriter().add(MapiProp::int32(PidTagInternetCodepage, 932)).withCount(9))
            .raw("abc");
        streams.append({"damaged", tnef.bytes()});
        TnefWriter cut;
        cut.body("a body that is cut short");
        streams.append({"cut", cut.bytes().left(cut.size() - 7)});
        streams.append({"signature-only", TnefWriter().bytes()});
    }
    return streams;
}

// Outlook .msg files: every property form, named properties, each body kind,
// 8-bit text in several code pages, recipients, attachments by value, hidden,
// OLE objects and attached messages, scattered chains, and damaged files.
QList<QPair<QString, QByteArray>> msgFiles()
{
    using msgwriter::MsgAttachment;
    using msgwriter::MsgProp;
    using msgwriter::MsgWriter;
    const auto u = [](quint16 id, const char* text) { return MsgProp::unicode(id, QString::fromUtf8(text)); };
    QList<QPair<QString, QByteArray>> files;

    MsgWriter inner;
    inner.add(u(0x0037, "Attached")).add(u(0x1000, "inner body")).add(MsgProp::int32(0x3FFD, 1252));
    inner.attachment({{u(0x3707, "deep.txt"), MsgProp::binary(0x3701, "deep")}});

    MsgWriter full;
    full.add(u(0x001A, "IPM.Note")).add(MsgProp::string8(0x0037, "Caf\xE9 report", true)).add(MsgProp::int32(0x3FFD, 1252))
        .add(MsgProp::int32(0x3FDE, 1251)).add(MsgProp::int32(0x3FF1, 1049))
        .add(u(0x0042, "Ana Ruiz")).add(u(0x5D02, "ana@x.org")).add(u(0x0C1E, "EX")).add(u(0x0C1F, "/O=X/CN=ANA"))
        .add(MsgProp::time(0x0039, QDateTime(QDate(2024, 3, 5), QTime(9, 30), QTimeZone::utc())))
        .add(u(0x0E04, "Bo; Cy")).add(MsgProp::unicode(0x0E03, QStringLiteral("Di"), true))
        .add(MsgProp::binary(0x1013, "<html><head><meta charset=\"windows-1251\"></head><body>\xC0\xE2<img src=\"cid:logo@x\"></body></html>"))
        .add(MsgProp::binary(0x1009, compressedRtf("{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag64 <p>}Hi\\par}")))
        .add(u(0x1000, "Plain body"))
        .add(MsgProp::int16(0x7001, 7)).add(MsgProp::boolean(0x7002, true)).add(MsgProp::float64(0x7003, 2.5)).add(MsgProp::int64(0x7004, 1ULL << 40))
        .add(MsgProp::guid(0x7005, psAddress()))
        .add(MsgProp::multi(0x0002, 0x7006, {QByteArray("\1\0", 2), QByteArray("\2\0", 2)}))
        .add(MsgProp::multi(0x0003, 0x7007, {le32(1), le32(2)}))
        .add(MsgProp::multi(0x0048, 0x7008, {psAddress(), psPublicStrings()}))
        .add(MsgProp::multi(0x001E, 0x7009, {QByteArray("a\0", 2), QByteArray("\xE9\0", 2)}))
        .add(MsgProp::multi(0x001F, 0x700A, {utf16le(QStringLiteral("x")), utf16le(QStringLiteral("yz"))}))
        .add(MsgProp::multi(0x0102, 0x700B, {"12", "", "345"}))
        .add(MsgProp::time(0, QDateTime(QDate(2024, 3, 6), QTime(9, 0), QTimeZone::utc())).named(psetidAppointment(), 0x820D))
        .add(u(0, "Room 4").named(psetidAppointment(), 0x8208))
        .add(MsgProp::int32(0, 5).named(psPublicStrings(), QStringLiteral("Keywords")));
    full.recipient({u(0x3001, "Bo"), u(0x3002, "SMTP"), u(0x3003, "bo@x.org"), MsgProp::int32(0x0C15, 1)})
        .recipient({u(0x3001, "Cy"), u(0x39FE, "cy@x.org"), MsgProp::int32(0x0C15, 2)})
        .recipient({u(0x3001, "Di"), MsgProp::int32(0x0C15, 3)});
    full.attachment({{MsgProp::int32(0x3705, 1), u(0x3707, "report.pdf"), u(0x3704, "REPORT~1.PDF"), u(0x370E, "application/pdf"),
                      MsgProp::binary(0x3701, "%PDF-1.4\n%%EOF\n")}})
        .attachment({{u(0x3707, "logo.png"), u(0x3712, "logo@x"), MsgProp::boolean(0x7FFE, true), MsgProp::binary(0x3701, pngBytes())}})
        .attachment({{MsgProp::int32(0x3705, 6), u(0x3001, "Picture")}, {}, {{"CONTENTS", "GIF89a"}}})
        .attachment({{MsgProp::int32(0x3705, 5), u(0x3001, "Attached")}, QSharedPointer<MsgWriter>::create(inner), {}});
    files.append({"full", full.bytes()});
    files.append({"full-scattered", full.bytes(nullptr, CfbWriter::ChainLayout::Fragmented)});

    const auto one = [&](const char* name, const QList<MsgProp>& props) {
        MsgWriter writer;
        for (const MsgProp& p : props)
            writer.add(p);
        files.append({name, writer.bytes()});
    };
    one("gbk", {MsgProp::int32(0x3FF1, 2052), MsgProp::string8(0x0037, "\xC4\xE3\xBA\xC3"), MsgProp::string8(0x1013, "<p>\xC4\xE3</p>")});
    one("shift-jis", {MsgProp::int32(0x3FFD, 932), MsgProp::int32(0x3FDE, 932), MsgProp::string8(0x0037, "\x82\xB1\x82\xF1", true)});
    one("cyrillic", {MsgProp::int32(0x3FFD, 1251), MsgProp::string8(0x0037, "\xC0\xE2\xF2\xEE")});
    one("utf8-html", {MsgProp::int32(0x3FDE, 65001), MsgProp::binary(0x1013, "<p>\xC3\xA9</p>")});
    one("contact", {u(0x001A, "IPM.Contact"), u(0x3001, "Ana Ruiz"), u(0, "ana@x.org").named(psAddress(), 0x8083)});
    one("large-html", {u(0x0037, "Large"), MsgProp::binary(0x1013, QByteArray(5000, 'h'))});
    {
        MsgWriter writer;
        writer.add(u(0x0037, "No property stream")).withoutPropertyStream();
        writer.attachment({{u(0x3707, "a.txt"), MsgProp::binary(0x3701, QByteArray(4096, 'a'))}});
        files.append({"no-property-stream", writer.bytes()});
        files.append({"cut", writer.bytes().left(1536)});
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTPUT_DIR\n");
        return 2;
    }
    outputRoot = QString::fromLocal8Bit(argv[1]);

    QList<QPair<QString, QByteArray>> blocks;
    const auto streams = tnefStreams(&blocks);
    for (const auto& stream : streams) {
        put("tnef_stream", stream.first, stream.second);
        put("message", stream.first, stream.second);
    }
    for (const auto& block : blocks)
        put("mapi_properties", block.first, block.second);
    for (const auto& file : msgFiles()) {
        put("msg", file.first, file.second);
        put("message", "msg-" + file.first, file.second);
    }
    // Messages attached to messages, three levels deep.
    put("tnef_stream", "nested", testsupport::nestedTnefMessage(3));
    put("message", "nested", testsupport::nestedTnefMessage(3));
    put("msg", "nested", testsupport::nestedMsgMessage(3));
    put("message", "msg-nested", testsupport::nestedMsgMessage(3));
    put("mapi_properties", "empty", le32(0));

    for (const auto& document : encapsulatedDocuments()) {
        put("encapsulated_body", document.first, document.second);
        put("rtf_to_html", "encapsulated-" + document.first, document.second);
    }
    for (const auto& document : rtfDocuments()) {
        put("encapsulated_body", "rtf-" + document.first, document.second);
        put("rtf_to_html", document.first, document.second);
        put("compressed_rtf", document.first, compressedRtf(document.second));
    }
    put("compressed_rtf", "stored", storedRtf("{\\rtf1 stored\\par}"));
    put("compressed_rtf", "end-marker-first",
        QByteArray::fromStdString(lzfu::wrap(std::string("\x01\x0c\xf0", 3), 16)));

    put("compound_file", "contents", compoundFile("/CONTENTS", "small contents stream"));
    put("compound_file", "package-large", compoundFile("/Package", QByteArray(9000, 'p')));
    put("compound_file", "ole10native", compoundFile(QStringLiteral("/\x01Ole10Native"), QByteArray(300, 'n')));
    put("compound_file", "sector-4096", compoundFile("/CONTENTS", QByteArray(5000, 'c'), 12));
    {
        CfbWriter writer;
        writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
        writer.addStorage("/Storage");
        writer.addStream("/Storage/Inner", "inner");
        writer.addStream("/A", "one-character name");
        writer.addStream("/CONTENTS", QByteArray(4095, 'x'));
        writer.addStream("/Package", QByteArray(4096, 'y'));
        writer.addStream("/Other", "other");
        put("compound_file", "many-entries", writer.build());
    }

    const QList<QPair<QString, QByteArray>> bodies = {
        {"ascii", QByteArray("\x00Plain ASCII text\r\n", 19)},
        {"gbk", QByteArray("\x00", 1) + QByteArray::fromHex("c4e3bac3cac0bde7")},
        {"sjis", QByteArray("\x01", 1) + QByteArray::fromHex("82b182f182c982bf82cd00")},
        {"big5", QByteArray("\x04", 1) + QByteArray::fromHex("a741a66e")},
        {"korean", QByteArray("\x03", 1) + QByteArray::fromHex("bec8b3e7c7cfbcbcbfe4")},
        {"cp1252", QByteArray("\x05", 1) + QByteArray("caf\xe9 \x93quoted\x94")},
        {"utf16le-bom", QByteArray("\x00\xff\xfeH\x00i\x00", 7)},
        {"utf16be", QByteArray("\x00\x00H\x00i\x00!", 7)},
        {"utf8-bom", QByteArray("\x00\xef\xbb\xbf\xc3\xa9t\xc3\xa9", 9)},
        {"html-meta", QByteArray("\x00<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                 "</head><body>\xc4\xe3\xba\xc3</body></html>")},
        {"html-head", QByteArray("\x00<HTML><HEAD><title>t</title></HEAD><body>x</body></HTML>")},
        {"html-only", QByteArray("\x00<html lang=en><body>x</body></html>")},
        {"fragment", QByteArray("\x00<p>fragment <b>bold</b></p>")},
        {"charset-only", QByteArray("\x00<meta charset='shift_jis'>\x82\xa0")},
    };
    for (const auto& body : bodies)
        put("body_text", body.first, body.second);

    std::printf("wrote %d seeds to %s\n", written, argv[1]);
    return 0;
}
