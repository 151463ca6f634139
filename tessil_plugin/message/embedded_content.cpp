#include "message/embedded_content.h"

#include "ole/compound_file.h"

namespace {

constexpr qsizetype kInterfaceIdSize = 16;
constexpr qsizetype kMinimumSize = 20;

const char* const kCandidatePaths[] = {"/CONTENTS", "/Package", "/Ole10Native"};

} // namespace

QByteArray embeddedFile(const QByteArray& data)
{
    if (data.size() < kMinimumSize)
        return {};

    CompoundFile file(reinterpret_cast<const unsigned char*>(data.constData()) + kInterfaceIdSize,
                      static_cast<std::size_t>(data.size() - kInterfaceIdSize));
    if (!file.open())
        return {};

    for (const char* path : kCandidatePaths) {
        std::optional<CompoundStream> stream = file.stream(path);
        if (!stream || stream->size() == 0)
            continue;
        // A damaged file may record a size far beyond what its chain holds;
        // only what the chain can supply is allocated, so a hostile size
        // cannot reserve gigabytes for a small attachment.
        const qsizetype size = static_cast<qsizetype>(stream->readableSize());
        QByteArray payload(size, Qt::Uninitialized);
        payload.truncate(static_cast<qsizetype>(
            stream->read(reinterpret_cast<unsigned char*>(payload.data()), static_cast<std::size_t>(size))));
        return payload;
    }
    return {};
}
