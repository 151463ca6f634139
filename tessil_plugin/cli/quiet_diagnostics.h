#pragma once

// Keeps standard error for tessil's own messages: the decoder's warnings
// and trace lines and Qt's debug and warning messages (the viewer's log
// lines) are written only when the user asked for them with --verbose.
// Critical and fatal messages always get through.
void setVerboseDiagnostics(bool verbose);
