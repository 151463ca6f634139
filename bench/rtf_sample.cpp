#include "rtf_sample.h"

#include <cstdint>

namespace bench {

const char* SampleRandom::word()
{
    static const char* const words[] = {
        "quarterly", "report", "meeting", "budget", "the", "and", "attached", "please", "review", "invoice",
        "schedule", "Thursday", "figures", "team", "project", "customer", "delivery", "of", "to", "we"};
    return words[next(sizeof words / sizeof *words)];
}

std::string sampleRtf(std::size_t bytes, unsigned seed)
{
    SampleRandom random(seed * 2654435761u + 1);
    auto next = [&random](std::uint32_t bound) { return random.next(bound); };

    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fmodern\\fcharset0 Courier New;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "\\viewkind4\\uc1";
    rtf.reserve(bytes + 256);
    unsigned paragraph = 0;
    while (rtf.size() < bytes) {
        rtf += "\\pard\\plain\\f" + std::to_string(paragraph % 3) + "\\fs" + std::to_string(18 + 2 * (paragraph % 4));
        if (paragraph % 7 == 0)
            rtf += "\\cf1";
        rtf += ' ';
        const std::uint32_t n = 6 + next(24);
        for (std::uint32_t w = 0; w < n; ++w) {
            const std::uint32_t style = next(12);
            if (style == 0)
                rtf += "{\\b ";
            else if (style == 1)
                rtf += "{\\i ";
            rtf += random.word();
            if (style <= 1)
                rtf += '}';
            if (next(40) == 0)
                rtf += "\\'e9";
            rtf += ' ';
        }
        rtf += "\\par\r\n";
        ++paragraph;
    }
    rtf += "}";
    return rtf;
}

} // namespace bench
