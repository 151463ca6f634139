#include "rtf/rtf_destinations.h"

#include "rtf/rtf_token.h"

#include <algorithm>
#include <functional>

namespace rtf {

bool operator==(const RtfColour& a, const RtfColour& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

void readColourTable(const char*& cursor, const char* end, ColourTable& table)
{
    // Components carry over from one entry to the next: an entry that names
    // only some of them keeps the others of the previous entry.
    RtfColour colour;
    while (cursor < end) {
        const char c = *cursor++;
        if (c == '}')
            return;
        if (c == ';') {
            table.push_back(colour);
        } else if (c == '\\') {
            const RtfToken token = readToken(cursor, end);
            if (token.isSymbol)
                continue;
            if (token.name == "red")
                colour.red = token.param;
            else if (token.name == "green")
                colour.green = token.param;
            else if (token.name == "blue")
                colour.blue = token.param;
        }
    }
}

void readFontTable(const char*& cursor, const char* end, FontTable& table)
{
    readFontTable(cursor, end, [&table](std::int32_t number, FontEntry&& entry) { table[number] = std::move(entry); });
}

void readFontTable(const char*& cursor, const char* end, const std::function<void(std::int32_t, FontEntry&&)>& store)
{
    FontEntry entry;
    std::int32_t number = 0; // not reset between entries
    bool entryOpen = false;
    bool nameDone = false;
    while (cursor < end) {
        const char c = *cursor++;
        switch (c) {
        case '}':
            if (!entryOpen)
                return;
            if (!entry.name.empty())
                entry.nameHash = std::hash<std::string>()(entry.name);
            store(number, std::move(entry));
            entry = FontEntry();
            entryOpen = false;
            nameDone = false;
            break;
        case '{':
            entryOpen = true;
            break;
        case ';':
            nameDone = true;
            break;
        case '\\': {
            const RtfToken token = readToken(cursor, end);
            if (token.isSymbol) {
                // {\*\panose ...} and the like inside an entry.
                if (token.symbol == '*')
                    skipGroup(cursor, end);
                break;
            }
            const std::string_view word = token.name;
            if (word == "f")
                number = token.param;
            else if (word == "fcharset")
                entry.charset = static_cast<std::uint32_t>(token.param);
            else if (word == "fnil")
                entry.family = 0;
            else if (word == "froman")
                entry.family = 1;
            else if (word == "fswiss")
                entry.family = 2;
            else if (word == "fmodern")
                entry.family = 3;
            else if (word == "fscript")
                entry.family = 4;
            else if (word == "fdecor")
                entry.family = 5;
            break;
        }
        default:
            if (entryOpen && !nameDone) {
                const char* begin = cursor - 1;
                while (cursor < end && *cursor != '}' && *cursor != '{' && *cursor != ';' && *cursor != '\\')
                    ++cursor;
                const auto length = static_cast<std::size_t>(cursor - begin);
                if (entry.name.size() < kMaxFontNameLength)
                    entry.name.append(begin, std::min(length, kMaxFontNameLength - entry.name.size()));
            }
            break;
        }
    }
}

} // namespace rtf
