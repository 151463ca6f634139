// The whole message path as the viewer drives it: parse the file's bytes,
// prepare the body for display and take every attachment's content (which
// opens embedded compound files). A failure must be clean: a null message
// with an error text.

#include "message/body_preparation.h"
#include "message/tessil_message.h"
#include "message/tessil_parser.h"
#include "support/allocation_meter.h"
#include "support/fuzz_environment.h"

#include <QByteArray>

#include <cstdlib>

namespace {

volatile qsizetype sink;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzenv::initialise(true);
    // First-use statics: regular expressions, the MIME database, the HTML scan's element table.
    TessilMessage warmUp;
    warmUp.htmlBody = "<html><body>warm up</body></html>";
    warmUp.rtfBody = "{\\rtf1 warm up\\par}";
    prepareBodyHtml(warmUp);
    warmUp.htmlBody.clear();
    prepareBodyHtml(warmUp);
    TessilParser parser;
    parser.parseData(QByteArray("\x78\x9f\x3e\x22\x01\x00", 6));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    fuzzmeter::start();
    TessilParser parser;
    const QSharedPointer<TessilMessage> message = parser.parseData(bytes);
    if (!message) {
        if (!parser.hasError || parser.errorString.isEmpty())
            std::abort();
        fuzzmeter::check({"TessilParser::parseData", 48, 1024 * 1024}, size);
        return 0;
    }
    if (parser.hasError)
        std::abort();
    const PreparedBody body = prepareBody(*message);
    if (body.html.isEmpty() != (body.source == DisplayBody::None))
        std::abort();
    for (int i = 0; i < message->attachmentCount(); ++i) {
        const QSharedPointer<TessilAttachment> attachment = message->attachmentAt(i);
        if (!attachment || !attachment->fileName.contains(QLatin1Char('.')))
            std::abort();
        const QByteArray content = attachment->content();
        if (!attachment->isOle && !attachment->isMessage && content != attachment->data)
            std::abort();
        // An attached message was read with its file, or says why not.
        if (attachment->isMessage && !attachment->message == (attachment->messageLimit == AttachedMessageLimit::None))
            std::abort();
        sink = sink + content.size();
    }
    if (message->attachmentAt(message->attachmentCount()) || message->attachmentAt(-1))
        std::abort();
    fuzzmeter::check({"TessilParser::parseData+prepareBody+content", 48, 1024 * 1024}, size);
    return 0;
}
