#pragma once

// Saving decoded MAPI properties into the result: every value, in the flat
// form TnefProperty describes, and a named property's name. Internal to the
// decoder.

#include <stdint.h>

#include "tnef/mapi_properties.h"
#include "tnef/tnef.h"

#ifdef __cplusplus
extern "C" {
#endif

// Appends a saved copy of `p` to `*items` (which holds `*count` of
// `*capacity` entries, grown as needed). With `keep_values` 0 the property
// is saved without values (its value is kept elsewhere). Returns 0 when it
// cannot be saved; the array is then unchanged.
int tnef_save_property(TnefProperty** items, int32_t* count, uint64_t* capacity, const MapiProperty* p,
                       int keep_values);

// Makes room for `more` further entries at once, so that a block of many
// properties grows the array once rather than by repeated doubling. Returns
// 0 when it cannot; saving then grows the array entry by entry.
int tnef_reserve_properties(TnefProperty** items, int32_t count, uint64_t* capacity, uint64_t more);

// Releases what each of the `count` saved properties holds, then the array.
void tnef_free_properties(TnefProperty* items, int32_t count);

#ifdef __cplusplus
}
#endif
