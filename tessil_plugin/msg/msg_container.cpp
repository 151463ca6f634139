#include "msg/msg_container.h"

#include "common/huge_pages.h"
#include "message/shared_bytes.h"

#include <algorithm>

namespace {

const std::vector<std::uint32_t> kNone;
constexpr std::uint64_t kBudgetSlack = 64 * 1024;

} // namespace

MsgContainer::MsgContainer(const QByteArray& bytes)
    : bytes_(bytes)
    , file_(reinterpret_cast<const unsigned char*>(bytes_.constData()), std::size_t(bytes_.size()))
{
}

bool MsgContainer::open()
{
    tree_.reset();
    if (!file_.open())
        return false;
    tree_ = std::make_unique<DirectoryTree>(file_.directory());
    budget_ = 2 * std::uint64_t(bytes_.size()) + kBudgetSlack;
    cutShort_ = false;
    return true;
}

std::uint32_t MsgContainer::find(std::uint32_t storage, std::string_view name) const
{
    return tree_ ? tree_->find(storage, name) : DirectoryEntry::kNoEntry;
}

const std::vector<std::uint32_t>& MsgContainer::children(std::uint32_t storage) const
{
    return tree_ ? tree_->children(storage) : kNone;
}

const DirectoryEntry& MsgContainer::entry(std::uint32_t index) const
{
    return file_.directory().at(index);
}

std::optional<QByteArray> MsgContainer::stream(std::uint32_t storage, std::string_view name)
{
    const std::uint32_t index = find(storage, name);
    if (index == DirectoryEntry::kNoEntry)
        return std::nullopt;
    return stream(index);
}

std::optional<QByteArray> MsgContainer::stream(std::uint32_t index)
{
    std::optional<CompoundStream> found = file_.streamAt(index, budget_);
    if (!found)
        return std::nullopt;
    const std::uint64_t size = found->size();
    if (size == 0)
        return QByteArray("");
    if (size <= budget_) {
        if (const std::optional<std::uint64_t> offset = found->contiguousOffset()) {
            budget_ -= size;
            return sharedBytes(bytes_, bytes_.constData() + *offset, size);
        }
    }
    // The chain was followed no further than the budget allows, so this
    // allocation is at most the budget (rounded up to a sector).
    const std::uint64_t readable = std::min(found->readableSize(), budget_);
    QByteArray bytes(qsizetype(readable), Qt::Uninitialized);
    // A large attachment is copied sector by sector into fresh memory, whose
    // first touch costs more than the copy unless its pages are large.
    memoryhint::preferHugePages(bytes.constData(), readable);
    const std::size_t got = found->read(reinterpret_cast<unsigned char*>(bytes.data()), std::size_t(readable));
    bytes.truncate(qsizetype(got));
    budget_ -= got;
    if (got < size)
        cutShort_ = true;
    return bytes;
}
