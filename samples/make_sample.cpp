// Writes samples/sample.tnef: a meeting request as Outlook would send it,
// with an HTML body (and its RTF and plain-text versions), an inline chart,
// a PDF and a CSV attachment and an embedded floor plan. Every byte is made
// here, without the current time or anything random, so that running it
// again gives the same file.
//
//   make_sample OUTPUT.tnef

#include "support/cfb_writer.h"
#include "support/tnef_writer.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

#include <array>
#include <cstdio>

using namespace tnefwriter;

namespace {

// ---- A small PNG: 4-bit palette, deflate in stored blocks (no compressor
// ---- whose output could change between library versions).

quint32 crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ quint8(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray be32(quint32 v)
{
    QByteArray out(4, '\0');
    out[0] = char(v >> 24);
    out[1] = char(v >> 16);
    out[2] = char(v >> 8);
    out[3] = char(v);
    return out;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    const QByteArray body = QByteArray(type) + data;
    return be32(quint32(data.size())) + body + be32(crc32(body));
}

QByteArray zlibStored(const QByteArray& raw)
{
    QByteArray out("\x78\x01", 2);
    qsizetype at = 0;
    do {
        const qsizetype size = qMin<qsizetype>(65535, raw.size() - at);
        const bool last = at + size == raw.size();
        out += char(last ? 1 : 0);
        out += char(size & 0xFF);
        out += char(size >> 8);
        out += char(~size & 0xFF);
        out += char((~size >> 8) & 0xFF);
        out += raw.mid(at, size);
        at += size;
    } while (at < raw.size());
    quint32 a = 1, b = 0;
    for (char c : raw) {
        a = (a + quint8(c)) % 65521;
        b = (b + a) % 65521;
    }
    return out + be32((b << 16) | a);
}

// "Launch readiness by team": four bars on a light grid.
QByteArray readinessChart()
{
    const int width = 160;
    const int height = 80;
    const QList<std::array<quint8, 3>> palette{
        {0xFF, 0xFF, 0xFF}, // 0 background
        {0xE6, 0xE6, 0xE6}, // 1 grid
        {0x8C, 0x8C, 0x8C}, // 2 axis
        {0x52, 0x73, 0xB8}, // 3 design
        {0x65, 0x97, 0xDF}, // 4 engineering
        {0x3E, 0x9C, 0x7A}, // 5 marketing
        {0xE0, 0x9A, 0x3A}, // 6 support
    };
    const int bars[4] = {92, 78, 64, 45}; // percent ready
    auto pixel = [&](int x, int y) -> quint8 {
        const int baseline = height - 10;
        if (y == baseline && x >= 10 && x < width - 6)
            return 2;
        if (x == 10 && y >= 6 && y <= baseline)
            return 2;
        for (int i = 0; i < 4; ++i) {
            const int left = 22 + i * 34;
            const int top = baseline - (bars[i] * (baseline - 8)) / 100;
            if (x >= left && x < left + 22 && y >= top && y < baseline)
                return quint8(3 + i);
        }
        if (y < baseline && y >= 6 && (baseline - y) % 16 == 0 && x > 10 && x < width - 6)
            return 1;
        return 0;
    };
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < width; x += 2)
            raw += char((pixel(x, y) << 4) | pixel(x + 1, y));
    }
    QByteArray header = be32(width) + be32(height);
    header += char(4); // bit depth
    header += char(3); // indexed colour
    header += QByteArray(3, '\0');
    QByteArray plte;
    for (const auto& rgb : palette)
        plte += QByteArray(reinterpret_cast<const char*>(rgb.data()), 3);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("PLTE", plte)
        + pngChunk("IDAT", zlibStored(raw)) + pngChunk("IEND", QByteArray());
}

// ---- A one-page PDF with a cross-reference table that matches its offsets.

QByteArray launchPlanPdf()
{
    const QByteArray text =
        "BT /F2 20 Tf 72 760 Td (Q3 Launch Plan) Tj ET\n"
        "BT /F1 11 Tf 72 736 Td (Veltrano Quorvia 2.0 - design review, 19 September 2024) Tj ET\n"
        "BT /F2 13 Tf 72 700 Td (Milestones) Tj ET\n"
        "BT /F1 11 Tf 72 680 Td (1. Feature freeze ........................ 30 August) Tj ET\n"
        "BT /F1 11 Tf 72 664 Td (2. Release candidate ..................... 20 September) Tj ET\n"
        "BT /F1 11 Tf 72 648 Td (3. Translations complete ................. 27 September) Tj ET\n"
        "BT /F1 11 Tf 72 632 Td (4. General availability .................. 8 October) Tj ET\n"
        "BT /F2 13 Tf 72 596 Td (Open questions) Tj ET\n"
        "BT /F1 11 Tf 72 576 Td (- Which sample files ship with the installer?) Tj ET\n"
        "BT /F1 11 Tf 72 560 Td (- Do we announce the command-line companion on the blog?) Tj ET\n";
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R /F2 6 0 R >> >> >>",
        "<< /Length " + QByteArray::number(text.size()) + " >>\nstream\n" + text + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >>",
    };
    QByteArray pdf("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QByteArray budgetCsv()
{
    return "Team,Item,Owner,Budget (EUR),Status\r\n"
           "Design,Screenshots and icons,Mira Castellanos,4200,done\r\n"
           "Engineering,Release builds and signing,Jonas Ebert,2600,in progress\r\n"
           "Marketing,Launch page and blog post,Priya Raman,7800,in progress\r\n"
           "Support,Help centre articles,Tomás Lindqvist,1900,planned\r\n"
           "\"Total\",,,16500,\r\n";
}

QByteArray floorPlanSvg()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"320\" height=\"200\" viewBox=\"0 0 320 200\">\n"
           "  <title>Harbour Room, 4th floor</title>\n"
           "  <rect x=\"10\" y=\"10\" width=\"300\" height=\"180\" fill=\"#f4f6fb\" stroke=\"#5273b8\" stroke-width=\"4\"/>\n"
           "  <rect x=\"90\" y=\"70\" width=\"140\" height=\"60\" rx=\"8\" fill=\"#ffffff\" stroke=\"#8c8c8c\"/>\n"
           "  <text x=\"160\" y=\"105\" font-family=\"sans-serif\" font-size=\"14\" text-anchor=\"middle\">Table (10 seats)</text>\n"
           "  <rect x=\"20\" y=\"60\" width=\"10\" height=\"80\" fill=\"#6597df\"/>\n"
           "  <text x=\"40\" y=\"35\" font-family=\"sans-serif\" font-size=\"12\">Screen</text>\n"
           "  <rect x=\"280\" y=\"170\" width=\"30\" height=\"20\" fill=\"#3e9c7a\"/>\n"
           "  <text x=\"250\" y=\"165\" font-family=\"sans-serif\" font-size=\"12\">Door</text>\n"
           "</svg>\n";
}

// ---- The bodies.

QByteArray htmlBody()
{
    return QStringLiteral(
               "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
               "<style>body{font-family:Calibri,Arial,sans-serif;font-size:11pt;color:#1f1f1f}"
               "h2{color:#5273b8;font-size:14pt;margin:0 0 8px}"
               "table{border-collapse:collapse}td,th{border:1px solid #d0d7e5;padding:4px 10px;text-align:left}"
               "th{background:#eef2fa}</style></head>\n"
               "<body>\n"
               "<p>Hi all,</p>\n"
               "<p>Ahead of the <b>Q3 launch</b> I&#8217;d like us to walk through the plan together. "
               "The attached <i>launch-plan.pdf</i> has the milestones; the budget is in "
               "<i>launch-budget.csv</i>, and the room layout is embedded below the agenda.</p>\n"
               "<h2>Agenda</h2>\n"
               "<table>\n"
               "<tr><th>Time</th><th>Topic</th><th>Lead</th></tr>\n"
               "<tr><td>09:00</td><td>Readiness by team</td><td>Mira</td></tr>\n"
               "<tr><td>09:30</td><td>Release candidate and signing</td><td>Jonas</td></tr>\n"
               "<tr><td>10:00</td><td>Launch page, blog post, translations</td><td>Priya</td></tr>\n"
               "</table>\n"
               "<p>Where we stand today:</p>\n"
               "<p><img src=\"cid:readiness-chart@veltrano.example\" width=\"160\" height=\"80\" "
               "alt=\"Launch readiness by team: design 92%, engineering 78%, marketing 64%, support 45%\"></p>\n"
               "<p>Please add open questions to the plan before Wednesday &#8211; coffee and "
               "pastries are on me. &#9749;</p>\n"
               "<p>Best,<br>Mira Castellanos<br><span style=\"color:#8c8c8c\">Product Design, "
               "Veltrano &middot; +49 30 5550 1234</span></p>\n"
               "</body></html>\n")
        .toUtf8();
}

QByteArray rtfBody()
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Calibri;}}"
           "{\\colortbl;\\red82\\green115\\blue184;}\\f0\\fs22 "
           "Hi all,\\par\\par Ahead of the {\\b Q3 launch} I\\rquote d like us to walk through the plan together. "
           "The attached {\\i launch-plan.pdf} has the milestones; the budget is in {\\i launch-budget.csv}.\\par\\par "
           "{\\cf1\\b Agenda}\\par 09:00  Readiness by team (Mira)\\par 09:30  Release candidate and signing (Jonas)\\par "
           "10:00  Launch page, blog post, translations (Priya)\\par\\par "
           "Best,\\par Mira Castellanos\\par}";
}

QByteArray plainBody()
{
    return QStringLiteral(
               "Hi all,\r\n\r\n"
               "Ahead of the Q3 launch I\u2019d like us to walk through the plan together. The attached "
               "launch-plan.pdf has the milestones; the budget is in launch-budget.csv.\r\n\r\n"
               "Agenda\r\n"
               "09:00  Readiness by team (Mira)\r\n"
               "09:30  Release candidate and signing (Jonas)\r\n"
               "10:00  Launch page, blog post, translations (Priya)\r\n\r\n"
               "Best,\r\nMira Castellanos\r\n")
        .toUtf8();
}

QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

QByteArray sampleMessage()
{
    MapiBlockWriter props;
    props.add(MapiProp::string8(PidTagMessageClass, "IPM.Schedule.Meeting.Request"))
        .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Q3 launch plan \u2013 design review")))
        .add(MapiProp::unicode(PidTagConversationTopic, QStringLiteral("Q3 launch plan \u2013 design review")))
        .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Mira Castellanos")))
        .add(MapiProp::unicode(PidTagSentRepresentingEmailAddress, QStringLiteral("mira.castellanos@veltrano.example")))
        .add(MapiProp::unicode(PidTagDisplayTo, QStringLiteral("Jonas Ebert; Priya Raman")))
        .add(MapiProp::unicode(PidTagDisplayCc, QStringLiteral("Tomás Lindqvist")))
        .add(MapiProp::time(PidTagClientSubmitTime, utc(2024, 9, 12, 14, 30)))
        .add(MapiProp::int32(PidTagInternetCodepage, 65001))
        .add(MapiProp::string8(0x1035, "<AM0PR10MB2451.launch-review@veltrano.example>"))
        .add(MapiProp::binary(PidTagBodyHtml, htmlBody()))
        .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtfBody())))
        // The meeting itself, as named properties of the appointment set.
        .add(MapiProp::time(0x8210, utc(2024, 9, 19, 7, 0)).named(psetidAppointment(), 0x8210))
        .add(MapiProp::time(0x8211, utc(2024, 9, 19, 8, 30)).named(psetidAppointment(), 0x8211))
        .add(MapiProp::unicode(0x8208, QStringLiteral("Harbour Room, 4th floor")).named(psetidAppointment(), 0x8208))
        .add(MapiProp::unicode(0x8234, QStringLiteral("(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna"))
                 .named(psetidAppointment(), 0x8234))
        .add(MapiProp::unicode(0x8238, QStringLiteral("Jonas Ebert; Priya Raman; Tomás Lindqvist"))
                 .named(psetidAppointment(), 0x8238));

    TnefWriter tnef(0x5A3C);
    tnef.tnefVersion().oemCodepage(1252).messageClass("IPM.Schedule.Meeting.Request").body(plainBody());
    tnef.messageProperties(props);

    // Shown inside the body, not in the attachment grid.
    tnef.attachment(AttachmentSpec{"CHART~1.PNG", QStringLiteral("readiness-chart.png"), readinessChart(),
                                   "image/png", "readiness-chart@veltrano.example", {}});
    tnef.attachment(AttachmentSpec{"LAUNCH~1.PDF", QStringLiteral("launch-plan.pdf"), launchPlanPdf(),
                                   "application/pdf", {}, {}});
    tnef.attachment(AttachmentSpec{"LAUNCH~1.CSV", QStringLiteral("launch-budget.csv"), budgetCsv(), "text/csv", {}, {}});

    // An embedded object: the file it holds is the attachment users get;
    // its name gains the extension of that file.
    testsupport::CfbWriter cfb;
    cfb.addStream(QStringLiteral("/\x01" "CompObj"), QByteArray("\x01\x00\xFE\xFF", 4) + QByteArray(24, '\0'));
    cfb.addStream(QStringLiteral("/CONTENTS"), floorPlanSvg());
    AttachmentSpec floorPlan{"FLOORP~1", QStringLiteral("Harbour Room floor plan"), oleObjectData(cfb.build()),
                             {}, {}, {}};
    floorPlan.dataInPropertyBlock = true;
    floorPlan.dataIsObject = true;
    tnef.attachment(floorPlan);
    return tnef.bytes();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.tnef\n");
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = sampleMessage();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
