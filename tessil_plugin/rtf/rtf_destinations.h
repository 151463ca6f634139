#pragma once

// The destinations of the RTF header that are collected for the formatting
// words: the font table and the colour table.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rtf {

// One font table entry. family: 0 nil, 1 roman, 2 swiss, 3 modern,
// 4 script, 5 decor. charset is the \fcharset value (0 when absent).
struct FontEntry
{
    std::uint32_t family = 0;
    std::string name;      // raw bytes as written in the table
    std::uint32_t charset = 0;
    // Hash of name, 0 for the empty name; kept with the name so that runs
    // are compared and looked up without hashing the name each time.
    std::size_t nameHash = 0;
};

// A colour; each component -1 when not given. A red of -1 means no colour.
struct RtfColour
{
    std::int32_t red = -1;
    std::int32_t green = -1;
    std::int32_t blue = -1;
};

bool operator==(const RtfColour& a, const RtfColour& b);
inline bool operator!=(const RtfColour& a, const RtfColour& b) { return !(a == b); }

using FontTable = std::map<std::int32_t, FontEntry>;

// Longest font name kept, in bytes; the rest is dropped. Windows face names
// have at most 31 characters, and every run in the font repeats its name in
// its style and in every saved formatting state: an unbounded name would let
// a small input grow without bound.
const std::size_t kMaxFontNameLength = 64;
using ColourTable = std::vector<RtfColour>;

// Reads a \colortbl body; `cursor` stands after the word and ends after the
// table's closing brace. Entries are appended to `table`.
void readColourTable(const char*& cursor, const char* end, ColourTable& table);

// Reads a \fonttbl body; `cursor` stands after the word and ends after the
// table's closing brace. Only entries in braces of their own are stored.
void readFontTable(const char*& cursor, const char* end, FontTable& table);

// The same reading, handing each entry to `store` with its number instead,
// for readers that keep less of it than the whole entry.
void readFontTable(const char*& cursor, const char* end, const std::function<void(std::int32_t, FontEntry&&)>& store);

} // namespace rtf
