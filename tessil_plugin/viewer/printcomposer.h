#pragma once

// The document a message prints as: its header as the view shows it, a
// rule, the body as the view shows it, and the names of its attachments at
// the end. Built wherever the caller runs (a print job builds it in a
// thread of its own); nothing here touches a widget.

#include "message/body_preparation.h"

#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QPaintDevice;
class QTextDocument;

// What goes above the body and after it, already in the interface language.
struct PrintedHeader
{
    QList<QPair<QString, QString>> fields; // ("From:", "Ana Ruiz <ana@example.com>"), To, Cc, Date
    QString subject;
    QString information;                   // the information line
    QString meeting;                       // the meeting line; empty for other messages
    QString attachmentsTitle;              // the heading of the names at the end
    QStringList attachmentNames;           // the names of the tiles, in order
};

// The printed document for `device` (its layout measures for that device,
// so that pictures are read as images, never as screen pixmaps: the
// document may live outside the GUI thread), with `font` as its default
// font. The body is imported as the view imports it (buildBodyDocument);
// header and names are set apart from it, in the view's own sizes, whatever
// the body's style sheet says. Null once `cancelled` is set.
std::unique_ptr<QTextDocument> composePrintDocument(const PrintedHeader& header, const PreparedBody& body,
                                                    const QFont& font, QPaintDevice* device,
                                                    const std::atomic<bool>* cancelled = nullptr);
