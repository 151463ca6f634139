#pragma once

// Whole messages for the tests that show a message end to end (the view,
// tessil, the body that is prepared), written with the TNEF writer.

#include <QByteArray>
#include <QDateTime>

namespace testsupport {

// A small PNG chart: four coloured bars on white, 120 x 60 pixels.
QByteArray chartPng();

// An HTML message as Outlook sends it in TNEF: no HTML body, only RTF that
// carries the HTML inside it, beside a plain-text body. The HTML declares
// windows-1252 and holds a style block, a paragraph with "café", a link to
// kPlanLink (its text "the planning site"), a 2 x 3 table (Time / Topic /
// Lead, 09:00 / Review / Mira), and the chart as an <img> of "cid:chart@q3"
// that the PNG attachment "chart.png" carries. One more attachment,
// "agenda.pdf", is stored as application/octet-stream. Sender Mira
// Castellanos, To and Cc lines, sent 2024-09-12 14:30 UTC.
QByteArray encapsulatedHtmlMessage();
constexpr const char kPlanLink[] = "https://plans.example/q3?view=full&lang=en";

// A meeting request as Outlook sends it: subject "Design review", from
// "Ana Ruiz <ana@example.com>", from meetingStart() for 45 minutes in
// "Sala 4, Zürich", planned in the zone "(UTC+01:00) Amsterdam, Berlin",
// with a short RTF body that carries plain text.
QByteArray meetingRequestMessage();
QDateTime meetingStart(); // 2024-05-06 07:30 UTC

} // namespace testsupport
