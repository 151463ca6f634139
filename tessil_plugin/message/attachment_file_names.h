#pragma once

// Names under which attachments are written to disk. A name taken from a
// message is text chosen by its sender, never a path: these functions are
// the one place where such a name becomes a file name, so that saving,
// opening and extracting confine every file to the directory they chose.

#include <QString>

class QFile;

// Turns any name into one safe path component. Guarantees:
// - the result is never empty, never "." or "..", and never begins with a dot
//   or ends with a dot or a space (which would hide the file, or which
//   Windows silently drops);
// - it holds no "/" or "\\", no control character (C0, DEL, C1), no
//   bidirectional embedding, override or isolate (they can disguise
//   "invoice.exe" as "invoice.pdf"), no unpaired surrogate and none of
//   < > : " | ? * (so no drive letter or alternate data stream either);
//   each such character becomes "_";
// - its stem (the part before the first dot, trailing spaces ignored) is no
//   reserved device name: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0..9 and
//   LPT0..9 (also with superscript digits), in any case; such a name gets a
//   leading "_";
// - it is at most 255 bytes in UTF-8; a longer name is shortened at a
//   character boundary before its extension, which is kept when it is
//   short (at most 32 bytes);
// - leading dots, spaces and separators are dropped ("../../etc/passwd"
//   becomes "etc_passwd"); when a dot came right before the rest, as in the
//   bare extension ".bin" of an unnamed attachment, "attachment" takes the
//   place of the base ("attachment.bin"); a name with nothing left becomes
//   "attachment".
// Any other name, ordinary Unicode included, comes back unchanged.
QString safeAttachmentFileName(const QString& name);

// The path under which an attachment named `fileName` is saved into
// `directory` without touching an existing file. The name is first made safe
// (safeAttachmentFileName), so the path always lies directly inside
// `directory`. When that name is taken, the number goes before the last dot:
// "report (2).pdf", "report (3).pdf", ..., "archive.tar (2).gz", and after a
// name without a dot: "notes (2)". A directory entry of any kind, a dangling
// symbolic link included, counts as taken. The numbered name also stays
// within 255 bytes.
//
// Only a check: another process may create the same name before it is
// written. Writers use openUniqueFile(), which cannot overwrite.
QString uniqueFilePath(const QString& directory, const QString& fileName);

// Creates and opens for writing a new file for `fileName` inside `directory`,
// named as uniqueFilePath() names it. The file is created exclusively (the
// call fails rather than open an existing file or follow a link), and when
// another writer takes the name first the next number is tried. On success
// `file` is open, its fileName() is the path, and true is returned; on
// failure `file` is closed and false is returned.
bool openUniqueFile(const QString& directory, const QString& fileName, QFile* file);
