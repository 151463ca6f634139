#pragma once

// The control-word reader: the one place where RTF control words and control
// symbols are cut out of the byte stream, and where groups are skipped unseen.

#include <cstdint>
#include <string_view>

namespace rtf {

// Control words are ASCII letters and their parameters ASCII digits,
// whatever the locale says.
inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct RtfToken
{
    // Letters of a control word (a view into the input); empty for a symbol.
    std::string_view name;
    bool isSymbol = true;
    // The character of a control symbol; 0 at end of input.
    char symbol = 0;
    // The numeric parameter; -1 when there is none (an explicit -1 reads the same).
    std::int32_t param = -1;
};

// Reads one token; `cursor` stands just after the backslash and is advanced
// past the token (and past one delimiting space after a word). A parameter
// that is not a number ("-" alone) throws std::invalid_argument; one outside
// the 32-bit range throws std::out_of_range. A parameter of a megabyte of
// digits costs one scan and no allocation.
RtfToken readToken(const char*& cursor, const char* end);

// Skips to just after the closing brace of the group in which `cursor` stands
// (or to the end of input). Escaped braces do not count, and a \binN payload
// is passed over unseen. Throws like readToken on malformed parameters.
void skipGroup(const char*& cursor, const char* end);

} // namespace rtf
