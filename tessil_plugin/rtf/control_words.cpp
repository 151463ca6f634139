#include "rtf/control_words.h"

#include "rtf/rtf_destinations.h"

#include <unordered_map>

namespace rtf {

Word lookupWord(std::string_view name)
{
    if (isSkippedDestination(name))
        return Word::SkippedDestination;

    static const std::unordered_map<std::string_view, Word> kWords = {
        {"colortbl", Word::ColourTable},
        {"fonttbl", Word::FontTable},
        {"uc", Word::UnicodeSkip},
        {"u", Word::Unicode},
        {"b", Word::Bold},
        {"i", Word::Italic},
        {"ul", Word::Underline},
        {"uldb", Word::Underline},
        {"ulth", Word::Underline},
        {"ulw", Word::Underline},
        {"ulwave", Word::Underline},
        {"uld", Word::Underline},
        {"uldash", Word::Underline},
        {"uldashd", Word::Underline},
        {"ulnone", Word::UnderlineNone},
        {"strike", Word::Strike},
        {"striked", Word::Strike},
        {"outl", Word::Outline},
        {"sub", Word::Subscript},
        {"super", Word::Superscript},
        {"fs", Word::FontSize},
        {"f", Word::Font},
        {"cf", Word::Foreground},
        {"cb", Word::Background},
        {"plain", Word::Plain},
        {"ql", Word::AlignLeft},
        {"qc", Word::AlignCenter},
        {"qr", Word::AlignRight},
        {"qj", Word::AlignJustify},
        {"clvertalb", Word::CellAlignBottom},
        {"clvertalc", Word::CellAlignMiddle},
        {"clvertalt", Word::CellAlignTop},
        {"li", Word::LeftIndent},
        {"pard", Word::ParagraphDefaults},
        {"intbl", Word::InTable},
        {"par", Word::Paragraph},
        {"sect", Word::Paragraph},
        {"listtext", Word::ListText},
        {"pnlvlblt", Word::BulletLevel},
        {"line", Word::Line},
        {"softline", Word::Line},
        {"tab", Word::Tab},
        {"enspace", Word::NoBreakSpace},
        {"emspace", Word::NoBreakSpace},
        {"endash", Word::EnDash},
        {"emdash", Word::EmDash},
        {"bullet", Word::Bullet},
        {"lquote", Word::LeftQuote},
        {"rquote", Word::RightQuote},
        {"ldblquote", Word::LeftDoubleQuote},
        {"rdblquote", Word::RightDoubleQuote},
        {"trowd", Word::RowDefaults},
        {"trleft", Word::RowLeft},
        {"clvmgf", Word::CellFirstMerged},
        {"clvmrg", Word::CellMerged},
        {"cellx", Word::CellEdge},
        {"cell", Word::Cell},
        {"row", Word::Row},
        {"nestrow", Word::Row},
    };
    const auto it = kWords.find(name);
    return it == kWords.end() ? Word::Unknown : it->second;
}

} // namespace rtf
