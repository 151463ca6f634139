#include "tnef/tnef_options.h"

extern "C" {

uint32_t tnef_options = TNEF_DEFAULT_OPTIONS;

} // extern "C"
