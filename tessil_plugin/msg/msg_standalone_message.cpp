#include "msg/msg_standalone_message.h"

#include "ole/compound_file_writer.h"

#include <QString>

#include <vector>

namespace {

constexpr char kPropertyStream[] = "__properties_version1.0";
constexpr char kNamedPropertyStorage[] = "__nameid_version1.0";
// The property stream's header: 24 bytes in an attached message, 32 in a
// file's own message (8 reserved bytes more at its end).
constexpr qsizetype kAttachedHeader = 24;
constexpr qsizetype kWidening = 8;
// Messages nest a few storages per level; a hostile directory may chain
// storages far deeper than any message does.
constexpr int kMaxStorageDepth = 64;

struct Copier
{
    MsgContainer& container;
    CompoundFileWriter& writer;
    std::vector<bool> copied;

    QString nameOf(std::uint32_t index) const
    {
        return QString::fromStdU16String(directory_entry_stored_name(container.entry(index)));
    }

    // Copies the children of `storage` under `into`; `top` widens the
    // property stream of the message being made a file.
    void copyChildren(std::uint32_t storage, int into, bool top, int depth)
    {
        if (depth > kMaxStorageDepth)
            return;
        for (const std::uint32_t child : container.children(storage)) {
            // A damaged directory may list one entry in several storages.
            if (child >= copied.size() || copied[child])
                continue;
            copied[child] = true;
            const DirectoryEntry& entry = container.entry(child);
            const QString name = nameOf(child);
            if (entry.is_storage) {
                const int made = writer.addStorage(into, name);
                if (made < 0)
                    continue;
                writer.setClassId(made, QByteArray(reinterpret_cast<const char*>(entry.clsid.data()),
                                                   qsizetype(entry.clsid.size())));
                copyChildren(child, made, false, depth + 1);
                continue;
            }
            QByteArray bytes = container.stream(child).value_or(QByteArray());
            if (top && entry.name == kPropertyStream && bytes.size() >= kAttachedHeader)
                bytes.insert(kAttachedHeader, QByteArray(kWidening, '\0'));
            writer.addStream(into, name, bytes);
        }
    }
};

} // namespace

QByteArray msgStandaloneMessage(MsgContainer& container, std::uint32_t messageStorage)
{
    if (messageStorage == 0 || messageStorage == DirectoryEntry::kNoEntry || !container.entry(messageStorage).is_storage)
        return {};
    CompoundFileWriter writer;
    const DirectoryEntry& root = container.entry(0);
    writer.setClassId(CompoundFileWriter::kRoot,
                      QByteArray(reinterpret_cast<const char*>(root.clsid.data()), qsizetype(root.clsid.size())));
    Copier copier{container, writer, {}};
    copier.copied.assign(container.entryCount(), false);
    copier.copied[messageStorage] = true;
    copier.copyChildren(messageStorage, CompoundFileWriter::kRoot, true, 0);
    const std::uint32_t names = container.find(0, kNamedPropertyStorage);
    if (names != DirectoryEntry::kNoEntry && container.find(messageStorage, kNamedPropertyStorage) == DirectoryEntry::kNoEntry
        && names < copier.copied.size() && !copier.copied[names]) {
        const int made = writer.addStorage(CompoundFileWriter::kRoot, copier.nameOf(names));
        if (made >= 0)
            copier.copyChildren(names, made, false, 1);
    }
    return writer.build();
}
