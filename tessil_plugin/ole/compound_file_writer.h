#pragma once

// Writes OLE compound files in memory: storages and streams in a tree, small
// streams in the mini stream, large ones in regular sectors, and a FAT
// extended through DIFAT sectors when it needs more than 109 sectors. The
// children of each storage form the red-black tree the format asks for,
// ordered as it compares names (shorter first, then unit by unit in upper
// case), so that any reader finds them by searching. Stream bytes are
// copied once, into the file.
//
// The layout it chose can be reported, so that tests can damage chosen
// bytes; two further layouts, for tests of readers, link siblings as a
// chain and scatter chains over the file as an edited file would.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>

struct CompoundFileLayout
{
    int sectorSize = 512;
    quint32 firstDirectorySector = 0;
    quint32 firstMiniFatSector = 0;
    quint32 firstDifatSector = 0;
    quint32 fatSectorCount = 0;
    quint32 difatSectorCount = 0;
    quint32 miniStreamStart = 0;
    QList<quint32> fatSectors;           // every FAT sector, in order
    QHash<QString, int> entryIndex;      // path -> directory index ("/" is 0)
    QHash<QString, quint32> startSector; // stream path -> first sector, or first mini sector for small streams

    // Byte offset of a sector in the file.
    qsizetype sectorOffset(quint32 sector) const { return (qsizetype(sector) + 1) * sectorSize; }
    // Byte offset of a directory entry (the directory's sectors are consecutive).
    qsizetype directoryEntryOffset(int index) const
    {
        const int perSector = sectorSize / 128;
        return sectorOffset(firstDirectorySector + quint32(index / perSector)) + qsizetype(index % perSector) * 128;
    }
    // Byte offset of the FAT entry of `sector`.
    qsizetype fatEntryOffset(quint32 sector) const
    {
        const int perSector = sectorSize / 4;
        return sectorOffset(fatSectors.at(int(sector / quint32(perSector)))) + qsizetype(sector % quint32(perSector)) * 4;
    }
};

class CompoundFileWriter
{
public:
    // How the children of one storage are linked: the format's red-black
    // tree (balanced, ordered by name), or, for tests of readers, each one
    // the right sibling of the one before it, in the order they were added.
    enum class SiblingLayout { Balanced, RightChain };
    // Where the sectors of large streams and of the mini stream lie: one
    // after the other, or, for tests of readers, last first, so that no
    // chain goes on to the next sector, as in a file edited in place. Mini
    // sectors stay consecutive: a chain read through the wrong table then
    // never matches the right one. The directory, the mini FAT and the FAT
    // stay consecutive, as CompoundFileLayout's offsets assume.
    enum class ChainLayout { Consecutive, Fragmented };

    static constexpr int kRoot = 0;
    // The longest name an entry may have, in UTF-16 units.
    static constexpr int kMaxNameLength = 31;

    // 512-byte sectors (shift 9, the usual form) or 4096-byte ones (12).
    explicit CompoundFileWriter(int sectorShift = 9);

    void setSiblingLayout(SiblingLayout layout) { siblingLayout_ = layout; }
    void setChainLayout(ChainLayout layout) { chainLayout_ = layout; }

    // Adds a storage or a stream under the storage `parent` and returns its
    // index, or -1 when `parent` is no storage of this file, or the name is
    // empty, longer than kMaxNameLength or already taken among the parent's
    // children (as the format compares names): a file never holds two
    // entries that a reader could not tell apart.
    int addStorage(int parent, const QString& name);
    int addStream(int parent, const QString& name, const QByteArray& data);
    // The class id of a storage (16 bytes as stored); ignored for a stream.
    void setClassId(int storage, const QByteArray& clsid);
    int entryCount() const { return int(entries_.size()); }

    // For fixtures: paths are "/Name" or "/Storage/Name", and a name may
    // hold any character but "/" (such as a leading "\x01"). Missing parent
    // storages are created. Names are cut to kMaxNameLength units, and a
    // name may be given twice, as damaged files have them.
    void addStorage(const QString& path);
    void addStream(const QString& path, const QByteArray& data);

    // The whole file; empty when it cannot be written: a stream of 2 GiB or
    // more in 512-byte sectors, or more sectors than sector numbers.
    QByteArray build(CompoundFileLayout* layout = nullptr) const;

    // Whether `a` sorts before `b` as the format orders siblings.
    static bool nameLess(const QString& a, const QString& b);

private:
    struct Entry
    {
        QString path;
        QString name;
        bool storage = false;
        QByteArray data;
        QByteArray clsid;
        int parent = 0;
        QList<int> children;
    };
    int add(int parent, const QString& name, bool storage, const QByteArray& data, const QString& path);
    int ensureStorage(const QString& path);

    int sectorShift_;
    SiblingLayout siblingLayout_ = SiblingLayout::Balanced;
    ChainLayout chainLayout_ = ChainLayout::Consecutive;
    QList<Entry> entries_;
    QHash<QString, int> storageByPath_;
};
