// Recovering the HTML that an RTF body carries, set against converting the
// same body with rtfToHtml: a generated 16 MiB document shaped like what
// Outlook writes (tag groups around every element, \htmlrtf regions with the
// RTF approximation, links as fields, tables, 1252 and GBK text, Unicode
// escapes, a style block). The reader should take a fifth of the
// converter's time or less; the ratio is printed after both cases.

#include "bench.h"
#include "rtf_sample.h"
#include "rtf/encapsulated_body.h"
#include "rtf/rtf_to_html.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

const std::size_t kDocumentBytes = 16 * 1024 * 1024;

class Generator
{
public:
    std::string make(std::size_t bytes)
    {
        std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\fbidis \\deff0{\\fonttbl\r\n{\\f0\\fswiss Arial;}\r\n"
                          "{\\f1\\fmodern Courier New;}\r\n{\\f2\\fnil\\fcharset134 SimSun;}}\r\n"
                          "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\uc1\\pard\\plain\\deftab360 \\f0\\fs24 \r\n"
                          "{\\*\\htmltag19 <html>}\r\n{\\*\\htmltag34 <head>}\r\n{\\*\\htmltag241 <style>}\r\n"
                          "{\\*\\htmltag241 \\par <!--\\par p.MsoNormal\\par \\tab \\{margin:0cm;\\par \\tab font-family:\"Calibri\";\\}\\par -->\\par }\r\n"
                          "{\\*\\htmltag249 </style>}\r\n{\\*\\htmltag41 </head>}\r\n{\\*\\htmltag50 <body lang=EN-US link=blue>}"
                          "\\htmlrtf \\lang1033 \\htmlrtf0 \r\n";
        rtf.reserve(bytes + 4096);
        for (unsigned block = 0; rtf.size() < bytes; ++block) {
            if (block % 12 == 11)
                table(rtf);
            else
                paragraph(rtf);
        }
        rtf += "{\\*\\htmltag58 </body>}\r\n{\\*\\htmltag27 </html>}\r\n}";
        return rtf;
    }

private:
    std::uint32_t next(std::uint32_t bound) { return random_.next(bound); }

    void words(std::string& rtf, std::uint32_t count)
    {
        for (std::uint32_t w = 0; w < count; ++w) {
            switch (next(24)) {
            case 0:
                rtf += "\r\n{\\*\\htmltag84 <b>}\\htmlrtf {\\b \\htmlrtf0 important\r\n{\\*\\htmltag92 </b>}\\htmlrtf }\\htmlrtf0 ";
                break;
            case 1:
                rtf += "\r\n{\\*\\htmltag84 <a href=\"https://example.com/report\">}\\htmlrtf "
                       "{\\field{\\*\\fldinst{HYPERLINK \"https://example.com/report\"}}{\\fldrslt\\cf1\\ul \\htmlrtf0 the report"
                       "\\htmlrtf }\\htmlrtf0 \\htmlrtf }\\htmlrtf0 \r\n{\\*\\htmltag92 </a>}";
                break;
            case 2:
                rtf += "caf\\'e9 ";
                break;
            case 3:
                rtf += "\r\n{\\*\\htmltag84 &#8364;}\\htmlrtf \\u8364?\\htmlrtf0 ";
                break;
            case 4:
                rtf += "{\\f2 \\'c4\\'e3\\'ba\\'c3}";
                break;
            case 5:
                rtf += "\r\n{\\*\\htmltag84 &nbsp;}\\htmlrtf \\'a0\\htmlrtf0 ";
                break;
            default:
                break;
            }
            rtf += random_.word();
            rtf += ' ';
        }
    }

    void paragraph(std::string& rtf)
    {
        rtf += "\r\n{\\*\\htmltag64 <p class=MsoNormal>}\\htmlrtf {\\htmlrtf0 ";
        words(rtf, 8 + next(24));
        rtf += "\r\n{\\*\\htmltag244 <o:p>}\r\n{\\*\\htmltag252 </o:p>}\\htmlrtf\\par}\\htmlrtf0\r\n\\htmlrtf \\par\r\n\\htmlrtf0 \r\n"
               "{\\*\\htmltag72 </p>}\r\n{\\*\\htmltag0 \\par }";
    }

    void table(std::string& rtf)
    {
        rtf += "\r\n{\\*\\htmltag96 <table border=1 cellpadding=0>}\\htmlrtf {\\htmlrtf0 ";
        for (int row = 0; row < 3; ++row) {
            rtf += "\r\n{\\*\\htmltag96 <tr>}\\htmlrtf {\\htmlrtf0 \\htmlrtf \\trowd\\cellx3000\\cellx6000\\htmlrtf0 ";
            for (int cell = 0; cell < 2; ++cell) {
                rtf += "\r\n{\\*\\htmltag96 <td>}\\htmlrtf {\\htmlrtf0 ";
                words(rtf, 2 + next(4));
                rtf += "\\htmlrtf \\intbl\\cell}\\htmlrtf0 \r\n{\\*\\htmltag104 </td>}";
            }
            rtf += "\\htmlrtf \\row}\\htmlrtf0 \r\n{\\*\\htmltag104 </tr>}";
        }
        rtf += "\\htmlrtf }\\htmlrtf0 \r\n{\\*\\htmltag104 </table>}";
    }

    bench::SampleRandom random_{4242u};
};

const QByteArray& document()
{
    static const QByteArray bytes = [] {
        const std::string rtf = Generator().make(kDocumentBytes);
        return QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
    }();
    return bytes;
}

// Best times of each, for the ratios printed after the second case.
bench::BestTimes gReader;
bench::BestTimes gConverter;

class RecoverEncapsulated : public bench::Case
{
public:
    std::uint64_t prepare() override { return static_cast<std::uint64_t>(document().size()); }

    void run() override
    {
        QString html;
        gReader.time([&] {
            rtf::EncapsulatedBody body = rtf::recoverEncapsulatedBody(document());
            if (body.kind != rtf::EncapsulatedKind::Html)
                throw std::runtime_error("the generated document was not recognised");
            html = std::move(body.text);
        });
        if (!html.endsWith(QLatin1String("</html>")))
            throw std::runtime_error("the generated document was not read to its end");
        bench::keep(static_cast<std::uint64_t>(html.size()));
    }
};

class ConvertEncapsulated : public bench::Case
{
public:
    ~ConvertEncapsulated() override
    {
        if (gReader.measured() && gConverter.measured())
            std::printf("recoverEncapsulatedBody is %.1f times as fast as rtfToHtml on the same 16 MiB (CPU time: %.1f)\n",
                        gConverter.seconds / gReader.seconds, gConverter.cpuSeconds / gReader.cpuSeconds);
    }

    std::uint64_t prepare() override { return static_cast<std::uint64_t>(document().size()); }

    void run() override
    {
        QString html;
        gConverter.time([&] { html = rtf::rtfToHtml(document()); });
        bench::keep(static_cast<std::uint64_t>(html.size()));
    }
};

} // namespace

QUORVIA_BENCH_CASE(RecoverEncapsulated, "recoverEncapsulatedBody on 16 MiB", 310);
QUORVIA_BENCH_CASE(ConvertEncapsulated, "rtfToHtml on the same 16 MiB", 311);
