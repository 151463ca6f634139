#include "support/message_fixtures.h"

#include "message/message_properties.h"
#include "support/tnef_writer.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

using namespace tnefwriter;

namespace testsupport {

namespace {

const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");

// The HTML inside the RTF as Outlook writes it: every piece of markup in a
// tag group, the text between them, and an RTF approximation of each
// element fenced off by \htmlrtf.
const char kEncapsulatedRtf[] = R"rtf({\rtf1\ansi\ansicpg1252\fromhtml1 \fbidis \deff0{\fonttbl
{\f0\fswiss\fcharset0 Arial;}
{\f1\fmodern Courier New;}
{\f2\fnil\fcharset2 Symbol;}}
{\colortbl\red0\green0\blue0;\red5\green99\blue193;}
{\*\generator Microsoft Exchange Server;}
{\*\formatConverter converted from html;}
\viewkind5\viewscale100
{\*\bkmkstart BM_BEGIN}{\*\htmltag19 <html>}
{\*\htmltag34 <head>}
{\*\htmltag1 \par <meta http-equiv="Content-Type" content="text/html; charset=windows-1252">}
{\*\htmltag241 <style>}
{\*\htmltag241 \par td \{ border: 1px solid #999999; padding: 4px 8px; \}\par th \{ background: #e8eef8; \}\par }
{\*\htmltag249 </style>}
{\*\htmltag41 </head>}
{\*\htmltag50 <body lang="EN-GB">}\htmlrtf \lang2057 \ltrch\f0\fs20 \htmlrtf0 
{\*\htmltag64 <p>}\htmlrtf {\htmlrtf0 Hello team,\htmlrtf \par }\htmlrtf0 {\*\htmltag72 </p>}
{\*\htmltag64 <p>}\htmlrtf {\htmlrtf0 The plan is on {\*\htmltag84 <a href="https://plans.example/q3?view=full&amp;lang=en">}\htmlrtf {\field{\*\fldinst{HYPERLINK "https://plans.example/q3?view=full&lang=en"}}{\fldrslt\cf1\ul \htmlrtf0 the planning site\htmlrtf }}\htmlrtf0 {\*\htmltag92 </a>}; caf\'e9 and cake at 10.\htmlrtf \par }\htmlrtf0 {\*\htmltag72 </p>}
{\*\htmltag96 <table>}\htmlrtf {\htmlrtf0 
{\*\htmltag96 <tr>}\htmlrtf {\trowd\cellx2000\cellx4000\cellx6000 \htmlrtf0 {\*\htmltag100 <th>}\htmlrtf {\htmlrtf0 Time\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </th>}{\*\htmltag100 <th>}\htmlrtf {\htmlrtf0 Topic\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </th>}{\*\htmltag100 <th>}\htmlrtf {\htmlrtf0 Lead\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </th>}\htmlrtf \row}\htmlrtf0 {\*\htmltag104 </tr>}
{\*\htmltag96 <tr>}\htmlrtf {\trowd\cellx2000\cellx4000\cellx6000 \htmlrtf0 {\*\htmltag100 <td>}\htmlrtf {\htmlrtf0 09:00\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </td>}{\*\htmltag100 <td>}\htmlrtf {\htmlrtf0 Review\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </td>}{\*\htmltag100 <td>}\htmlrtf {\htmlrtf0 Mira\htmlrtf \cell}\htmlrtf0 {\*\htmltag108 </td>}\htmlrtf \row}\htmlrtf0 {\*\htmltag104 </tr>}
\htmlrtf }\htmlrtf0 {\*\htmltag104 </table>}
{\*\htmltag64 <p>}\htmlrtf {\htmlrtf0 Where we stand:\htmlrtf \par }\htmlrtf0 {\*\htmltag72 </p>}
{\*\htmltag64 <p>}{\*\mhtmltag84 <img src="{\*\htmlbase ATT-0}chart.png">}{\*\htmltag84 <img src="cid:chart@q3" alt="Chart" width="120" height="60">}\htmlrtf {\pict\pngblip\picw120\pich60 89504e470d0a1a0a}\htmlrtf0 {\*\htmltag72 </p>}
{\*\htmltag58 </body>}
{\*\htmltag27 </html>}}
)rtf";

} // namespace

QByteArray chartPng()
{
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QColor colours[] = {QColor(79, 114, 184), QColor(99, 151, 222), QColor(64, 156, 122), QColor(226, 153, 58)};
    for (int bar = 0; bar < 4; ++bar) {
        const int height = 50 - bar * 9;
        painter.fillRect(10 + bar * 27, 58 - height, 20, height, colours[bar]);
    }
    painter.fillRect(4, 58, 112, 1, QColor(120, 120, 120));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray encapsulatedHtmlMessage()
{
    MapiBlockWriter props;
    props.add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
        .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Q3 plan, as it was sent")))
        .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Mira Castellanos")))
        .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "mira.castellanos@veltrano.example"))
        .add(MapiProp::unicode(PidTagDisplayTo, QStringLiteral("Jonas Ebert; Priya Raman")))
        .add(MapiProp::unicode(PidTagDisplayCc, QStringLiteral("Tomás Lindqvist")))
        .add(MapiProp::time(PidTagClientSubmitTime, QDateTime(QDate(2024, 9, 12), QTime(14, 30), Qt::UTC)))
        .add(MapiProp::int32(PidTagInternetCodepage, 1252))
        .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(kEncapsulatedRtf)));
    TnefWriter tnef;
    tnef.tnefVersion()
        .oemCodepage(1252)
        .messageClass("IPM.Note")
        .body("Hello team,\r\n\r\nThe plan is on the planning site <https://plans.example/q3?view=full&lang=en>; "
              "caf\xE9 and cake at 10.\r\n")
        .messageProperties(props)
        .attachment(AttachmentSpec{"CHART.PNG", QStringLiteral("chart.png"), chartPng(), "image/png", "chart@q3", {}})
        .attachment(AttachmentSpec{"AGENDA.PDF", QStringLiteral("agenda.pdf"), kPdf, "application/octet-stream", {}, {}});
    return tnef.bytes();
}

QDateTime meetingStart()
{
    return QDateTime(QDate(2024, 5, 6), QTime(7, 30), Qt::UTC);
}

QByteArray meetingRequestMessage()
{
    const QByteArray messageClass = "IPM.Schedule.Meeting.Request";
    const QDateTime start = meetingStart();
    const QDateTime end = start.addSecs(45 * 60);
    MapiBlockWriter props;
    props.add(MapiProp::string8(PidTagMessageClass, messageClass))
        .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Design review")))
        .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Ana Ruiz")))
        .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana@example.com"))
        .add(MapiProp::unicode(PidTagDisplayTo, QStringLiteral("Bo Li; Chen Wu")))
        .add(MapiProp::time(PidTagClientSubmitTime, start.addDays(-3)))
        .add(MapiProp::unicode(mapi_id::kLocation, QStringLiteral("Sala 4, Zürich")).named(psetidAppointment(), mapi_id::kLocation))
        .add(MapiProp::unicode(mapi_id::kTimeZoneDescription, QStringLiteral("(UTC+01:00) Amsterdam, Berlin"))
                 .named(psetidAppointment(), mapi_id::kTimeZoneDescription))
        .add(MapiProp::time(mapi_id::kAppointmentStart, start).named(psetidAppointment(), mapi_id::kAppointmentStart))
        .add(MapiProp::time(mapi_id::kAppointmentEnd, end).named(psetidAppointment(), mapi_id::kAppointmentEnd))
        .add(MapiProp::time(mapi_id::kStartDate, start))
        .add(MapiProp::time(mapi_id::kEndDate, end))
        .add(MapiProp::binary(PidTagRtfCompressed,
                              compressedRtf("{\\rtf1\\ansi\\ansicpg1252\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                                            "\\pard\\plain\\f0 Let us walk through the new design.\\par\r\n"
                                            "Please bring your notes.\\par\r\n}")));
    TnefWriter tnef;
    tnef.tnefVersion().messageClass(messageClass).messageProperties(props);
    return tnef.bytes();
}

} // namespace testsupport
