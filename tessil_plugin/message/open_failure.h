#pragma once

// Why a file gave no message: about the file itself (it cannot be read) or
// about its content (not a format we read, or too damaged to show). Callers
// word them for their audience: tessil in English with openFailureText(),
// the viewer in the user's language.

#include <QString>

enum class OpenFailure {
    None,
    NotFound,         // no such file (or a folder on its path is missing)
    IsDirectory,
    PermissionDenied,
    Unreadable,       // opening or reading failed for another reason
    Empty,            // nothing in it
    NotRecognised,    // the content is not a message file we read
    Damaged,          // it is one, too damaged to give a message
};

// The English reason, as tessil prints it: "no such file", "is a directory",
// "permission denied", "cannot read the file", "empty file", "not a TNEF
// file", "damaged file"; empty for None.
QString openFailureText(OpenFailure failure);
