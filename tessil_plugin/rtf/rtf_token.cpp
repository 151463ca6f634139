#include "rtf/rtf_token.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace rtf {
namespace {

// The parameter bytes are any mix of digits and '-'. They are read as a
// signed decimal number the way std::stoi reads them: an optional minus,
// then at least one digit; whatever follows the digits is ignored.
std::int32_t parseParameter(const char* begin, const char* end)
{
    const char* p = begin;
    bool negative = false;
    if (p != end && *p == '-') {
        negative = true;
        ++p;
    }
    if (p == end || !isDigit(*p))
        throw std::invalid_argument("invalid stoi argument");

    // Accumulate in 64 bits and stop counting once the value is out of
    // range; the remaining digits are still part of the number.
    const std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    bool overflow = false;
    for (; p != end && isDigit(*p); ++p) {
        if (!overflow) {
            magnitude = magnitude * 10 + (*p - '0');
            if (magnitude > limit)
                overflow = true;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (overflow || value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        throw std::out_of_range("stoi argument out of range");
    return static_cast<std::int32_t>(value);
}

} // namespace

RtfToken readToken(const char*& cursor, const char* end)
{
    RtfToken token;
    if (cursor >= end)
        return token;

    if (!isLetter(*cursor)) {
        token.symbol = *cursor++;
        return token;
    }

    token.isSymbol = false;
    const char* nameBegin = cursor;
    while (cursor < end && isLetter(*cursor))
        ++cursor;
    token.name = std::string_view(nameBegin, static_cast<std::size_t>(cursor - nameBegin));
    if (cursor >= end)
        return token;

    const char* paramBegin = cursor;
    while (cursor < end && (isDigit(*cursor) || *cursor == '-'))
        ++cursor;
    if (cursor != paramBegin)
        token.param = parseParameter(paramBegin, cursor);

    if (cursor < end && *cursor == ' ')
        ++cursor;
    return token;
}

void skipGroup(const char*& cursor, const char* end)
{
    std::size_t depth = 1;
    while (cursor < end) {
        const char c = *cursor++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return;
        } else if (c == '\\') {
            const RtfToken token = readToken(cursor, end);
            if (!token.isSymbol && token.name == "bin" && token.param > 0) {
                const auto remaining = static_cast<std::size_t>(end - cursor);
                const auto length = static_cast<std::size_t>(token.param);
                cursor += length < remaining ? length : remaining;
            }
        }
    }
}

} // namespace rtf
