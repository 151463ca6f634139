// The reader of the HTML or plain text that an RTF body carries: the kind
// agrees with recognition alone, nothing comes back for a document that
// carries nothing, and the text never holds more UTF-16 units than the input
// has bytes, within memory linear in the input.

#include "rtf/encapsulated_body.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <QByteArray>
#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(false);
    // First-use statics: the code-page tables of the pages below.
    rtf::recoverEncapsulatedBody(QByteArray("{\\rtf1\\ansicpg936\\fromtext {\\fonttbl{\\f1\\fcharset204 A;}}\\'c4\\'e3\\f1\\'cf}"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy, so that reading past the input is caught.
    const QByteArray rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    fuzzmeter::start();
    const rtf::EncapsulatedBody body = rtf::recoverEncapsulatedBody(rtf);
    if (body.kind != rtf::encapsulatedKind(rtf))
        std::abort(); // recognition alone decides the kind
    if (body.kind == rtf::EncapsulatedKind::None && !body.text.isEmpty())
        std::abort(); // a document that carries nothing gives nothing
    if (body.text.size() > rtf.size())
        std::abort(); // one UTF-16 unit per input byte at most
    fuzzmeter::check({"recoverEncapsulatedBody", 8, 64 * 1024}, size);
    return 0;
}
