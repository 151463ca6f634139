#pragma once

// Writes small OLE compound files for test fixtures: storages and streams at
// paths, small streams in the mini stream, large ones in regular sectors, a
// FAT extended through DIFAT sectors when it needs more than 109 sectors.
// The layout it chose is reported so that tests can damage chosen bytes.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace testsupport {

struct CfbLayout
{
    int sectorSize = 512;
    quint32 firstDirectorySector = 0;
    quint32 firstMiniFatSector = 0;
    quint32 firstDifatSector = 0;
    quint32 fatSectorCount = 0;
    quint32 difatSectorCount = 0;
    quint32 miniStreamStart = 0;
    QList<quint32> fatSectors;          // every FAT sector, in order
    QHash<QString, int> entryIndex;     // path -> directory index ("/" is 0)
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

class CfbWriter
{
public:
    // How the children of one storage are linked: a balanced tree (listed
    // middle first), or each one the right sibling of the one before it
    // (listed in the order they were added).
    enum class SiblingLayout { Balanced, RightChain };
    // Where the sectors of large streams and of the mini stream lie: one
    // after the other, or last first, so that no chain goes on to the next
    // sector, as in a file edited in place. Mini sectors stay consecutive:
    // a chain read through the wrong table then never matches the right one.
    // The directory, the mini FAT and the FAT stay consecutive, as
    // CfbLayout's offsets assume.
    enum class ChainLayout { Consecutive, Fragmented };

    explicit CfbWriter(int sectorShift = 9);

    void setSiblingLayout(SiblingLayout layout) { siblingLayout_ = layout; }
    void setChainLayout(ChainLayout layout) { chainLayout_ = layout; }

    // Paths are "/Name" or "/Storage/Name"; a name may hold any character
    // (such as a leading "\x01"). Missing parent storages are created.
    void addStorage(const QString& path);
    void addStream(const QString& path, const QByteArray& data);

    QByteArray build(CfbLayout* layout = nullptr) const;

private:
    struct Entry
    {
        QString path;
        QString name;
        bool storage = false;
        QByteArray data;
        int parent = 0;
    };
    int ensureStorage(const QString& path);

    int sectorShift_;
    SiblingLayout siblingLayout_ = SiblingLayout::Balanced;
    ChainLayout chainLayout_ = ChainLayout::Consecutive;
    QList<Entry> entries_;
};

// Little-endian writes into a fixture, for damaging chosen fields.
void putU16(QByteArray& bytes, qsizetype offset, quint16 value);
void putU32(QByteArray& bytes, qsizetype offset, quint32 value);

} // namespace testsupport
