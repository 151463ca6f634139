#pragma once

// The control words that the converter acts on, and the lookup from a word's
// letters (exact, case-sensitive) to its meaning.

#include <cstdint>
#include <string_view>

namespace rtf {

enum class Word : std::uint8_t {
    Unknown,
    // Destinations. Skipped: pictures, objects, document properties, headers
    // and footers, style sheet and file table; collected: the two tables.
    SkippedDestination, ColourTable, FontTable,
    // Unicode
    UnicodeSkip, Unicode,
    // Character formatting
    Bold, Italic, Underline, UnderlineNone, Strike, Outline, Subscript, Superscript,
    FontSize, Font, Foreground, Background, Plain,
    // Paragraph formatting
    AlignLeft, AlignCenter, AlignRight, AlignJustify,
    CellAlignBottom, CellAlignMiddle, CellAlignTop,
    LeftIndent, ParagraphDefaults, InTable, Paragraph, ListText, BulletLevel,
    // Special characters
    Line, Tab, NoBreakSpace, EnDash, EmDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote,
    // Tables
    RowDefaults, RowLeft, CellFirstMerged, CellMerged, CellEdge, Cell, Row,
};

Word lookupWord(std::string_view name);

} // namespace rtf
