#pragma once

// The decoder's single diagnostics channel. Every warning and trace line of
// the decoder goes through tnef_diag(), so that a caller can send them all
// to a log, a temporary file or nowhere with tnef_set_diagnostics() (tnef.h).
// The default is standard error.

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

// Writes one formatted line (the format carries its own "\n") to the
// diagnostics stream, or nothing when it is silenced.
void tnef_diag(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

#ifdef __cplusplus
}
#endif
