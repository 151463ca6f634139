#pragma once

// `tessil props`: every MAPI property of one decoded file's message and of
// each of its attachments, one line each, as a table for a terminal:
//
//   FILE
//     Message: 42 properties
//       TAG         TYPE        NAME           VALUE
//       0x0037001F  PtypString  PidTagSubject  Quarterly report
//     Attachment 1: report.pdf, 12 properties
//       ...
//
// Values as `props --json` gives them, but texts printable on a terminal
// (see printable()), binaries as spaced hex of their first 256 bytes and
// their size, and the values of a multi-valued property joined by "; ".

#include <QByteArray>

struct MessageReport;

// `attachment`: the index (from 0) of the one attachment to print, which
// exists, or -1 for the whole message.
QByteArray propsText(const MessageReport& report, int attachment = -1);
