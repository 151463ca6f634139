#pragma once

// The decoder's process-wide option word. tnef_parse() sets it afresh at the
// start of every parse, which is why two parses must never overlap.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    // A checksum mismatch is reported as a warning on the diagnostics
    // stream; without it no line is written. Either way the attribute is
    // used as read and the result's warnings record the mismatch.
    TNEF_OPTION_CHECKSUM_WARNING = 0x0001,
};

// The options every parse runs with.
#define TNEF_DEFAULT_OPTIONS ((uint32_t)TNEF_OPTION_CHECKSUM_WARNING)

extern uint32_t tnef_options;

#ifdef __cplusplus
}
#endif
