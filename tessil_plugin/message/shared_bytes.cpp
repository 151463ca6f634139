#include "message/shared_bytes.h"

#include <cstdint>

QByteArray sharedBytes(const QByteArray& whole, const void* at, quint64 length)
{
    if (!at || length == 0)
        return {};
    const auto begin = reinterpret_cast<std::uintptr_t>(whole.constData());
    const auto address = reinterpret_cast<std::uintptr_t>(at);
    QByteArray::DataPointer& shared = const_cast<QByteArray&>(whole).data_ptr();
    const bool inside = address >= begin && address - begin <= quint64(whole.size())
        && length <= quint64(whole.size()) - (address - begin);
    // A buffer without a header (from fromRawData) has nobody to keep it alive.
    if (!inside || !shared.d_ptr())
        return QByteArray(static_cast<const char*>(at), static_cast<qsizetype>(length));
    // Another reference to the same allocation, starting further in: Qt's
    // arrays keep a pointer of their own next to the shared header, which is
    // how they drop leading bytes without copying.
    QByteArray::DataPointer view(shared.d_ptr(), const_cast<char*>(static_cast<const char*>(at)),
                                 static_cast<qsizetype>(length));
    view.ref();
    return QByteArray(std::move(view));
}
