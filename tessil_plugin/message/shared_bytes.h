#pragma once

// Parts of a file's bytes as arrays of their own without copying them: the
// message keeps large attachments as views into the buffer the file was read
// into, which stays alive as long as any such view does.

#include <QByteArray>
#include <QtGlobal>

// `length` bytes at `at` as an array that shares `whole`'s buffer when they
// lie inside it (its bytes are then not followed by a zero), else as a copy.
// Empty for a null `at` or a zero length.
QByteArray sharedBytes(const QByteArray& whole, const void* at, quint64 length);
