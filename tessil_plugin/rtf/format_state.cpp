#include "rtf/format_state.h"

#include <vector>

namespace rtf {

const Emphasis kEmphasisOrder[6] = {
    {"b", &FormatState::bold},     {"i", &FormatState::italic},        {"u", &FormatState::underline},
    {"s", &FormatState::strike},   {"sub", &FormatState::subscript},   {"sup", &FormatState::superscript},
};

namespace {

const char* textAlignValue(TextAlign align)
{
    switch (align) {
    case TextAlign::Left: return "left";
    case TextAlign::Center: return "center";
    case TextAlign::Right: return "right";
    case TextAlign::Justify: return "justify";
    case TextAlign::None: break;
    }
    return nullptr;
}

const char* verticalAlignValue(VerticalAlign align)
{
    switch (align) {
    case VerticalAlign::Bottom: return "bottom";
    case VerticalAlign::Middle: return "middle";
    case VerticalAlign::Top: return "top";
    case VerticalAlign::None: break;
    }
    return nullptr;
}

void appendColour(std::string& out, const RtfColour& colour)
{
    out += "rgb(";
    out += std::to_string(colour.red);
    out += ", ";
    out += std::to_string(colour.green);
    out += ", ";
    out += std::to_string(colour.blue);
    out += ')';
}

void mix(std::size_t& seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace

bool sameSpanProperties(const FormatState& a, const FormatState& b)
{
    return a.fontSize == b.fontSize && a.font.family == b.font.family && a.font.nameHash == b.font.nameHash
        && a.font.name == b.font.name
        && a.foreground == b.foreground && a.background == b.background && a.textAlign == b.textAlign
        && a.verticalAlign == b.verticalAlign;
}

bool sameFormatting(const FormatState& a, const FormatState& b)
{
    return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline && a.strike == b.strike
        && a.subscript == b.subscript && a.superscript == b.superscript && sameSpanProperties(a, b);
}

bool identicalState(const FormatState& a, const FormatState& b)
{
    return sameFormatting(a, b) && a.outline == b.outline && a.font.charset == b.font.charset
        && a.inTable == b.inTable && a.listLevel == b.listLevel;
}

std::size_t formattingHash(const FormatState& state)
{
    std::size_t seed = static_cast<std::size_t>(state.bold) | static_cast<std::size_t>(state.italic) << 1
        | static_cast<std::size_t>(state.underline) << 2 | static_cast<std::size_t>(state.strike) << 3
        | static_cast<std::size_t>(state.subscript) << 4 | static_cast<std::size_t>(state.superscript) << 5
        | static_cast<std::size_t>(state.textAlign) << 6 | static_cast<std::size_t>(state.verticalAlign) << 9;
    mix(seed, static_cast<std::size_t>(static_cast<std::uint32_t>(state.fontSize)));
    mix(seed, state.font.family);
    mix(seed, state.font.nameHash);
    for (const RtfColour* colour : {&state.foreground, &state.background}) {
        mix(seed, static_cast<std::uint32_t>(colour->red));
        mix(seed, static_cast<std::uint32_t>(colour->green));
        mix(seed, static_cast<std::uint32_t>(colour->blue));
    }
    return seed;
}

void resetToPlain(FormatState& state)
{
    const bool inTable = state.inTable;
    const std::int32_t listLevel = state.listLevel;
    state = FormatState();
    state.inTable = inTable;
    state.listLevel = listLevel;
}

const std::string& paragraphStyleText(const FormatState& state)
{
    // Five horizontal by four vertical alignments: all the texts there are.
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> all;
        for (int h = 0; h <= int(TextAlign::Justify); ++h) {
            for (int v = 0; v <= int(VerticalAlign::Top); ++v) {
                std::string style;
                if (const char* value = textAlignValue(TextAlign(h))) {
                    style += "text-align:";
                    style += value;
                    style += "; ";
                }
                if (const char* value = verticalAlignValue(VerticalAlign(v))) {
                    style += "vertical-align:";
                    style += value;
                    style += "; ";
                }
                all.push_back(style);
            }
        }
        return all;
    }();
    return texts[std::size_t(state.textAlign) * (std::size_t(VerticalAlign::Top) + 1) + std::size_t(state.verticalAlign)];
}

std::string characterStyleText(const FormatState& state)
{
    std::string style;
    if (!state.font.name.empty()) {
        style += "font-family:'";
        style += state.font.name;
        style += "'; ";
    }
    if (state.fontSize != 0) {
        style += "font-size:";
        style += std::to_string(state.fontSize);
        style += "px; ";
    }
    if (state.foreground.red != -1) {
        style += "color:";
        appendColour(style, state.foreground);
        style += "; ";
    }
    if (state.background.red != -1) {
        style += "background:";
        appendColour(style, state.background);
        style += "; ";
    }
    return style;
}

} // namespace rtf
