// RTF conversion cases: rtfToHtml on generated bodies of 1, 4 and 16 MiB with
// formatted paragraphs, bullet and numbered lists, and tables with merged
// cells. After the 16 MiB case its best time is set against the 1 MiB one:
// a conversion of linear cost keeps the ratio near 16. The ratio is given in
// wall-clock time and in the thread's CPU time, which other processes on a
// busy machine disturb much less.

#include "bench.h"
#include "rtf_sample.h"
#include "rtf/rtf_to_html.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const std::uint64_t kMiB = 1024 * 1024;

class Generator
{
public:
    std::string make(std::size_t bytes)
    {
        std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                          "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset134 SimSun;}}\r\n"
                          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                          "{\\*\\generator Bench;}\\viewkind4\\uc1\r\n";
        rtf.reserve(bytes + 4096);
        for (unsigned block = 0; rtf.size() < bytes; ++block) {
            if (block % 10 == 9)
                list(rtf, block);
            else if (block % 15 == 14)
                table(rtf);
            else
                paragraph(rtf, block);
        }
        rtf += "}";
        return rtf;
    }

private:
    std::uint32_t next(std::uint32_t bound) { return random_.next(bound); }

    void words(std::string& rtf, std::uint32_t count)
    {
        for (std::uint32_t w = 0; w < count; ++w) {
            const std::uint32_t style = next(16);
            if (style == 0)
                rtf += "{\\b ";
            else if (style == 1)
                rtf += "{\\i ";
            else if (style == 2)
                rtf += "{\\cf1\\ul ";
            rtf += random_.word();
            if (style <= 2)
                rtf += '}';
            const std::uint32_t extra = next(50);
            if (extra == 0)
                rtf += "caf\\'e9";
            else if (extra == 1)
                rtf += "\\u8364?";
            else if (extra == 2)
                rtf += "{\\f2 \\'c4\\'e3\\'ba\\'c3}";
            rtf += ' ';
        }
    }

    void paragraph(std::string& rtf, unsigned block)
    {
        rtf += "\\pard\\plain\\f" + std::to_string(block % 2) + "\\fs" + std::to_string(18 + 2 * (block % 4));
        if (block % 7 == 0)
            rtf += "\\qc";
        rtf += ' ';
        words(rtf, 8 + next(24));
        rtf += "\\par\r\n";
    }

    void list(std::string& rtf, unsigned block)
    {
        const bool bullets = block % 20 == 9;
        const std::uint32_t items = 3 + next(4);
        for (std::uint32_t i = 0; i < items; ++i) {
            const int indent = (i % 3 == 2) ? 1440 : 720;
            rtf += bullets ? "{\\listtext\\f0\\'b7\\tab}" : "{\\listtext " + std::to_string(i + 1) + ".\\tab}";
            rtf += "\\pard\\li" + std::to_string(indent) + ' ';
            words(rtf, 4 + next(8));
            rtf += "\\par\r\n";
        }
        rtf += "\\pard\\par\r\n";
    }

    void table(std::string& rtf)
    {
        for (int row = 0; row < 3; ++row) {
            rtf += "\\trowd\\trleft0";
            rtf += row == 0 ? "\\clvmgf" : "\\clvmrg";
            rtf += "\\cellx2000\\clvertalc\\cellx" + std::to_string(row == 1 ? 6000 : 4000);
            if (row != 1)
                rtf += "\\cellx6000";
            const int cells = row == 1 ? 2 : 3;
            for (int c = 0; c < cells; ++c) {
                rtf += "\\pard\\intbl ";
                words(rtf, 2 + next(4));
                rtf += "\\cell";
            }
            rtf += "\\row\r\n";
        }
        rtf += "\\pard\\par\r\n";
    }

    bench::SampleRandom random_{12345u};
};

// Best times of one run per input size, for the ratios printed after the
// largest.
bench::BestTimes gBest[3];

template <int Index, std::uint64_t Mebibytes>
class RtfToHtmlCase : public bench::Case
{
public:
    ~RtfToHtmlCase() override
    {
        if (Index == 2 && gBest[0].measured())
            std::printf("rtfToHtml time ratio 16 MiB / 1 MiB: %.1f (CPU time: %.1f)\n", gBest[2].seconds / gBest[0].seconds,
                        gBest[2].cpuSeconds / gBest[0].cpuSeconds);
    }

    std::uint64_t prepare() override
    {
        const std::string rtf = Generator().make(Mebibytes * kMiB);
        input_ = QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
        return static_cast<std::uint64_t>(input_.size());
    }

    void run() override
    {
        QString html;
        gBest[Index].time([&] { html = rtf::rtfToHtml(input_); });
        if (!html.startsWith(QLatin1String("<?xml")))
            throw std::runtime_error("rtfToHtml fell back on generated RTF");
        bench::keep(static_cast<std::uint64_t>(html.size()));
    }

private:
    QByteArray input_;
};

using RtfToHtml1 = RtfToHtmlCase<0, 1>;
using RtfToHtml4 = RtfToHtmlCase<1, 4>;
using RtfToHtml16 = RtfToHtmlCase<2, 16>;

} // namespace

QUORVIA_BENCH_CASE(RtfToHtml1, "rtfToHtml on 1 MiB", 300);
QUORVIA_BENCH_CASE(RtfToHtml4, "rtfToHtml on 4 MiB", 301);
QUORVIA_BENCH_CASE(RtfToHtml16, "rtfToHtml on 16 MiB", 302);
