#pragma once

// What a drag of attachment tiles carries to a file manager or the desktop:
// file URLs of fresh copies of the attachments, written when the drag
// starts, under their safe names, into a folder of their own inside the
// temporary folder (two attachments of one name, or a copy a file manager
// is still taking from an earlier drag, never meet).

#include "message/tessil_message.h"

#include <QList>
#include <QSharedPointer>
#include <QString>

class QMimeData;

// MIME data with the file URLs of the copies of `attachments`, in order,
// written into a new folder inside `temporaryFolder` (made when missing);
// null, with the reason in `error`, when not one could be written. A copy
// is never executable, whatever it holds.
QMimeData* attachmentDragData(const QList<QSharedPointer<TessilAttachment>>& attachments, const QString& temporaryFolder,
                              QString* error);
