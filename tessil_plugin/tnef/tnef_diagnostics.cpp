#include "tnef/tnef_diagnostics.h"

#include "tnef/tnef.h"

#include <stdarg.h>

namespace {

// stderr is not a constant expression, so "never chosen" is kept apart from
// "silenced" (a null stream).
bool g_diagnostics_chosen = false;
FILE* g_diagnostics = nullptr;

} // namespace

extern "C" {

void tnef_set_diagnostics(FILE* stream)
{
    g_diagnostics = stream;
    g_diagnostics_chosen = true;
}

FILE* tnef_diagnostics(void)
{
    return g_diagnostics_chosen ? g_diagnostics : stderr;
}

void tnef_diag(const char* format, ...)
{
    FILE* out = tnef_diagnostics();
    if (!out)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(out, format, args);
    va_end(args);
}

} // extern "C"
