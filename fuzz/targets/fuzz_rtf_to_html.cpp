// The RTF converter through its entry point: always HTML, never an escaping
// exception, within time and memory linear in the input.

#include "rtf/rtf_to_html.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(true);
    rtf::rtfToHtml(QByteArray("{\\rtf1\\ansi warm up\\par}")); // first-use statics
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    fuzzmeter::start();
    const QString html = rtf::rtfToHtml(rtf);
    if (html.isEmpty())
        std::abort(); // the page around the fallback text is never empty
    fuzzmeter::check({"rtfToHtml", 48, 512 * 1024}, size);
    return 0;
}
