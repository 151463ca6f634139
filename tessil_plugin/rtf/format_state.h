#pragma once

// The character and paragraph formatting that the RTF pass carries from byte
// to byte, saved whole at '{' and restored whole at '}', and how it becomes
// CSS text and emphasis elements.

#include "rtf/rtf_destinations.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace rtf {

enum class TextAlign : std::uint8_t { None, Left, Center, Right, Justify };
enum class VerticalAlign : std::uint8_t { None, Bottom, Middle, Top };

struct FormatState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool outline = false; // read, never shown
    bool subscript = false;
    bool superscript = false;
    std::int32_t fontSize = 0; // points; 0 for none
    FontEntry font;
    RtfColour foreground;
    RtfColour background;
    TextAlign textAlign = TextAlign::None;
    VerticalAlign verticalAlign = VerticalAlign::None;
    bool inTable = false;
    std::int32_t listLevel = 0;
};

// The equality that decides whether two runs share their formatting: every
// field that shows, that is all but outline, the font's charset, inTable and
// listLevel.
bool sameFormatting(const FormatState& a, const FormatState& b);

// A hash consistent with sameFormatting.
std::size_t formattingHash(const FormatState& state);

// Whether two states agree on everything that a style span carries (size,
// font family and name, colours, alignments).
bool sameSpanProperties(const FormatState& a, const FormatState& b);

// Whether two states are the same in every field.
bool identicalState(const FormatState& a, const FormatState& b);

// \plain: every field but inTable and listLevel back to its default.
void resetToPlain(FormatState& state);

// Style texts: "name:value; " per property, in a fixed order, each only when
// set. Paragraph: text-align, vertical-align. Character: font-family,
// font-size, color, background.
const std::string& paragraphStyleText(const FormatState& state);
std::string characterStyleText(const FormatState& state);

// The emphasis elements, from the outermost to the innermost.
struct Emphasis
{
    const char* tag;
    bool FormatState::*flag;
};
extern const Emphasis kEmphasisOrder[6];

} // namespace rtf
