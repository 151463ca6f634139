// Body decoding and the HTML charset rewrite. The first input byte picks the
// message's code page (none, one of the known ones, or an odd one), the rest
// is the body.

#include "message/body_text.h"
#include "message/html_charset.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

namespace {

const quint32 kCodePages[] = {0, 932, 936, 949, 950, 1252, 65001, 1251, 20127, 0xFFFFFFFFu};

// A byte-order mark followed by at most a terminating zero unit and a stray
// zero byte carries no text; an empty result is right for it.
bool onlyMarkAndZeros(const QByteArray& body)
{
    QByteArray rest = body;
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest.remove(0, 3);
    else if (rest.startsWith("\xFF\xFE") || rest.startsWith("\xFE\xFF"))
        rest.remove(0, 2);
    return rest.size() <= 3 && rest.count('\0') == rest.size();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    normaliseHtmlCharset(decodeBodyText("<html>warm up</html>", 20, 936)); // first-use statics
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const quint32 codePage = kCodePages[data[0] % (sizeof kCodePages / sizeof kCodePages[0])];
    // An exact-size heap copy, so that reading past the body is caught.
    const QByteArray body(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    fuzzmeter::start();
    const QString text = decodeBodyText(body.constData(), body.size(), codePage);
    if (text.isEmpty() && !onlyMarkAndZeros(body))
        std::abort(); // bytes that are more than a mark and terminating zeros always give text
    const QByteArray html = normaliseHtmlCharset(text);
    if (!html.contains("charset=\"utf-8\""))
        std::abort(); // the rewritten page always declares UTF-8
    fuzzmeter::check({"decodeBodyText+normaliseHtmlCharset", 16, 64 * 1024}, size);
    return 0;
}
