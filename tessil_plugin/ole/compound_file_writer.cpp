#include "ole/compound_file_writer.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
// The highest number a regular sector may have.
constexpr quint64 kMaxSector = 0xFFFFFFFA;
constexpr qsizetype kCutoff = 4096;
constexpr qsizetype kMiniSectorSize = 64;
constexpr qsizetype kEntrySize = 128;
constexpr qsizetype kHeaderSize = 512;
constexpr int kHeaderFatSlots = 109;
// A stream of a file with 512-byte sectors is smaller than this.
constexpr quint64 kVersion3StreamLimit = 0x80000000;

enum : char { kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5 };
enum : char { kRed = 0, kBlack = 1 };

quint64 unitsFor(quint64 bytes, quint64 unit)
{
    return (bytes + unit - 1) / unit;
}

void put16(char* at, quint16 value)
{
    qToLittleEndian(value, at);
}

void put32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

struct Links
{
    quint32 left = kNoEntry;
    quint32 right = kNoEntry;
    quint32 child = kNoEntry;
    char colour = kBlack;
};

// Links the sorted `items[begin, end)` as a balanced tree and returns its
// root; `depths` receives each node's depth below the root.
quint32 linkBalanced(const QList<int>& items, int begin, int end, int depth, QList<Links>& links, QList<int>& depths)
{
    if (begin >= end)
        return kNoEntry;
    const int middle = begin + (end - begin) / 2;
    const int index = items.at(middle);
    depths[index] = depth;
    links[index].left = linkBalanced(items, begin, middle, depth + 1, links, depths);
    links[index].right = linkBalanced(items, middle + 1, end, depth + 1, links, depths);
    return quint32(index);
}

// The comparison key of a name: each unit in upper case.
QString upperKey(const QString& name)
{
    QString key = name;
    for (QChar& c : key)
        c = c.toUpper();
    return key;
}

} // namespace

bool CompoundFileWriter::nameLess(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a.at(i).toUpper().unicode();
        const char16_t y = b.at(i).toUpper().unicode();
        if (x != y)
            return x < y;
    }
    return false;
}

CompoundFileWriter::CompoundFileWriter(int sectorShift)
    : sectorShift_(sectorShift)
{
    Entry root;
    root.path = QStringLiteral("/");
    root.name = QStringLiteral("Root Entry");
    root.storage = true;
    root.parent = -1;
    entries_.append(root);
    storageByPath_.insert(QString(), kRoot);
    storageByPath_.insert(QStringLiteral("/"), kRoot);
}

int CompoundFileWriter::add(int parent, const QString& name, bool storage, const QByteArray& data, const QString& path)
{
    Entry entry;
    entry.path = path;
    entry.name = name;
    entry.storage = storage;
    entry.data = data;
    entry.parent = parent;
    const int index = int(entries_.size());
    entries_.append(entry);
    entries_[parent].children.append(index);
    return index;
}

int CompoundFileWriter::addStorage(int parent, const QString& name)
{
    if (parent < 0 || parent >= entries_.size() || !entries_.at(parent).storage || name.isEmpty()
        || name.size() > kMaxNameLength)
        return -1;
    const QString key = upperKey(name);
    for (int child : std::as_const(entries_.at(parent).children)) {
        if (entries_.at(child).name.size() == name.size() && upperKey(entries_.at(child).name) == key)
            return -1;
    }
    const QString parentPath = parent == kRoot ? QString() : entries_.at(parent).path;
    const QString path = parentPath + QLatin1Char('/') + name;
    const int index = add(parent, name, true, QByteArray(), path);
    storageByPath_.insert(path, index);
    return index;
}

int CompoundFileWriter::addStream(int parent, const QString& name, const QByteArray& data)
{
    if (parent < 0 || parent >= entries_.size() || !entries_.at(parent).storage || name.isEmpty()
        || name.size() > kMaxNameLength)
        return -1;
    const QString key = upperKey(name);
    for (int child : std::as_const(entries_.at(parent).children)) {
        if (entries_.at(child).name.size() == name.size() && upperKey(entries_.at(child).name) == key)
            return -1;
    }
    const QString parentPath = parent == kRoot ? QString() : entries_.at(parent).path;
    return add(parent, name, false, data, parentPath + QLatin1Char('/') + name);
}

void CompoundFileWriter::setClassId(int storage, const QByteArray& clsid)
{
    if (storage >= 0 && storage < entries_.size() && entries_.at(storage).storage)
        entries_[storage].clsid = clsid.left(16);
}

int CompoundFileWriter::ensureStorage(const QString& path)
{
    const auto found = storageByPath_.constFind(path);
    if (found != storageByPath_.cend())
        return found.value();
    addStorage(path);
    return int(entries_.size()) - 1;
}

void CompoundFileWriter::addStorage(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const int parent = ensureStorage(path.left(slash));
    const int index = add(parent, path.mid(slash + 1).left(kMaxNameLength), true, QByteArray(), path);
    if (!storageByPath_.contains(path))
        storageByPath_.insert(path, index);
}

void CompoundFileWriter::addStream(const QString& path, const QByteArray& data)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const int parent = ensureStorage(path.left(slash));
    add(parent, path.mid(slash + 1).left(kMaxNameLength), false, data, path);
}

QByteArray CompoundFileWriter::build(CompoundFileLayout* layoutOut) const
{
    const quint64 sectorSize = quint64(1) << sectorShift_;
    const quint64 perFatSector = sectorSize / 4;
    const int entryCount = int(entries_.size());
    CompoundFileLayout layout;
    layout.sectorSize = int(sectorSize);

    // Sector numbers are handed out in this order: large streams, the mini
    // stream, the mini FAT, the directory, then the FAT and DIFAT sectors.
    // Sectors smaller than the 512-byte header overlap it: the first few
    // numbers are the header's own bytes and stay unused.
    const quint64 headerSectors = sectorSize < kHeaderSize ? kHeaderSize / sectorSize - 1 : 0;
    const bool fragmented = chainLayout_ == ChainLayout::Fragmented;
    quint64 sectorCount = headerSectors;

    struct Placement
    {
        quint64 base = 0;  // the first of its sectors, or mini sectors
        quint64 count = 0;
    };
    QList<Placement> placements(entryCount);
    quint64 miniSectors = 0;
    for (int i = 1; i < entryCount; ++i) {
        const Entry& entry = entries_.at(i);
        if (entry.storage || entry.data.isEmpty())
            continue;
        const quint64 size = quint64(entry.data.size());
        if (sectorShift_ < 12 && size > kVersion3StreamLimit)
            return {};
        if (qsizetype(size) >= kCutoff) {
            placements[i] = {sectorCount, unitsFor(size, sectorSize)};
            sectorCount += placements[i].count;
        } else {
            placements[i] = {miniSectors, unitsFor(size, kMiniSectorSize)};
            miniSectors += placements[i].count;
        }
    }
    const quint64 miniStreamSize = miniSectors * kMiniSectorSize;
    const Placement miniStream{sectorCount, unitsFor(miniStreamSize, sectorSize)};
    sectorCount += miniStream.count;
    const Placement miniFat{sectorCount, unitsFor(miniSectors * 4, sectorSize)};
    sectorCount += miniFat.count;
    const quint64 entriesPerSector = sectorSize / kEntrySize;
    const Placement directory{sectorCount, unitsFor(quint64(entryCount), entriesPerSector)};
    sectorCount += directory.count;

    // FAT and DIFAT sectors also need FAT entries: grow until stable.
    const quint64 dataSectors = sectorCount;
    quint64 fatCount = 0;
    quint64 difatCount = 0;
    for (;;) {
        const quint64 total = dataSectors + fatCount + difatCount;
        const quint64 neededFat = unitsFor(total, perFatSector);
        const quint64 neededDifat =
            neededFat > kHeaderFatSlots ? unitsFor(neededFat - kHeaderFatSlots, perFatSector - 1) : 0;
        if (neededFat == fatCount && neededDifat == difatCount)
            break;
        fatCount = neededFat;
        difatCount = neededDifat;
    }
    const quint64 totalSectors = dataSectors + fatCount + difatCount;
    if (totalSectors > kMaxSector)
        return {};

    const quint64 headerBytes = std::max<quint64>(sectorSize, kHeaderSize);
    QByteArray file(qsizetype(headerBytes + (totalSectors - headerSectors) * sectorSize), Qt::Uninitialized);
    char* const base = file.data();
    auto sectorAt = [&](quint64 sector) { return base + (sector + 1) * sectorSize; };
    QList<quint32> next(qsizetype(fatCount * perFatSector), kFree);

    // Unit k of a chain of `count` units lies at place k, or, reversed, at
    // place count - 1 - k; each unit links to the place of the next one.
    auto placeOf = [](const Placement& p, quint64 k, bool reversed) {
        return p.base + (reversed ? p.count - 1 - k : k);
    };
    auto link = [&](QList<quint32>& table, const Placement& p, bool reversed) {
        for (quint64 k = 0; k < p.count; ++k)
            table[qsizetype(placeOf(p, k, reversed))] = k + 1 == p.count ? kEndOfChain : quint32(placeOf(p, k + 1, reversed));
    };
    auto firstOf = [&](const Placement& p, bool reversed) {
        return p.count == 0 ? kEndOfChain : quint32(placeOf(p, 0, reversed));
    };
    // Writes `size` bytes at `offset` of a chain of regular sectors.
    auto writeInto = [&](const Placement& p, bool reversed, quint64 offset, const char* bytes, quint64 size) {
        while (size > 0) {
            const quint64 unit = offset / sectorSize;
            const quint64 within = offset % sectorSize;
            const quint64 piece = std::min(size, sectorSize - within);
            std::memcpy(sectorAt(placeOf(p, unit, reversed)) + within, bytes, piece);
            bytes += piece;
            offset += piece;
            size -= piece;
        }
    };
    auto zeroTail = [&](const Placement& p, bool reversed, quint64 used) {
        const quint64 all = p.count * sectorSize;
        if (used < all) {
            const QByteArray zeros(qsizetype(all - used), '\0');
            writeInto(p, reversed, used, zeros.constData(), all - used);
        }
    };

    QList<quint32> starts(entryCount, kEndOfChain);
    QList<quint32> miniFatEntries(qsizetype(miniFat.count * perFatSector), kFree);
    for (int i = 1; i < entryCount; ++i) {
        const Entry& entry = entries_.at(i);
        if (entry.storage) {
            starts[i] = 0;
            continue;
        }
        if (entry.data.isEmpty())
            continue;
        const quint64 size = quint64(entry.data.size());
        const Placement& p = placements.at(i);
        if (qsizetype(size) >= kCutoff) {
            link(next, p, fragmented);
            starts[i] = firstOf(p, fragmented);
            if (!fragmented) {
                std::memcpy(sectorAt(p.base), entry.data.constData(), size);
                std::memset(sectorAt(p.base) + size, 0, p.count * sectorSize - size);
            } else {
                writeInto(p, true, 0, entry.data.constData(), size);
                zeroTail(p, true, size);
            }
        } else {
            link(miniFatEntries, p, false);
            starts[i] = quint32(p.base);
            const quint64 at = p.base * kMiniSectorSize;
            writeInto(miniStream, fragmented, at, entry.data.constData(), size);
            const quint64 padding = p.count * kMiniSectorSize - size;
            if (padding > 0) {
                const QByteArray zeros(qsizetype(padding), '\0');
                writeInto(miniStream, fragmented, at + size, zeros.constData(), padding);
            }
        }
        layout.startSector.insert(entry.path, starts[i]);
    }
    link(next, miniStream, fragmented);
    starts[0] = firstOf(miniStream, fragmented);
    layout.miniStreamStart = starts[0];
    zeroTail(miniStream, fragmented, miniStreamSize);

    link(next, miniFat, false);
    layout.firstMiniFatSector = firstOf(miniFat, false);
    for (qsizetype k = 0; k < miniFatEntries.size(); ++k)
        put32(sectorAt(miniFat.base) + 4 * k, miniFatEntries.at(k));

    // The directory: each storage's children as a red-black tree. A tree
    // built balanced from the sorted names has every level full but the
    // deepest; colouring that level red, when it is not full too, gives
    // every path from the root the same number of black nodes.
    QList<Links> links(entryCount);
    QList<int> depths(entryCount, 0);
    for (int parent = 0; parent < entryCount; ++parent) {
        QList<int> children = entries_.at(parent).children;
        if (children.isEmpty())
            continue;
        if (siblingLayout_ == SiblingLayout::Balanced) {
            std::stable_sort(children.begin(), children.end(),
                             [this](int a, int b) { return nameLess(entries_.at(a).name, entries_.at(b).name); });
            links[parent].child = linkBalanced(children, 0, int(children.size()), 0, links, depths);
            int deepest = 0;
            for (int child : std::as_const(children))
                deepest = std::max(deepest, depths.at(child));
            const bool full = children.size() == (qsizetype(1) << (deepest + 1)) - 1;
            for (int child : std::as_const(children))
                links[child].colour = !full && depths.at(child) == deepest ? kRed : kBlack;
        } else {
            links[parent].child = quint32(children.first());
            for (qsizetype k = 0; k + 1 < children.size(); ++k)
                links[children.at(k)].right = quint32(children.at(k + 1));
        }
    }
    link(next, directory, false);
    layout.firstDirectorySector = firstOf(directory, false);
    char* const entriesAt = sectorAt(directory.base);
    std::memset(entriesAt, 0, directory.count * sectorSize);
    for (quint64 i = 0; i < directory.count * entriesPerSector; ++i) {
        char* const at = entriesAt + i * kEntrySize;
        put32(at + 68, kNoEntry);
        put32(at + 72, kNoEntry);
        put32(at + 76, kNoEntry);
        if (i >= quint64(entryCount))
            continue;
        const Entry& entry = entries_.at(int(i));
        const QString name = entry.name.left(kMaxNameLength);
        for (qsizetype c = 0; c < name.size(); ++c)
            put16(at + 2 * c, name.at(c).unicode());
        put16(at + 64, quint16((name.size() + 1) * 2));
        at[66] = i == 0 ? kTypeRoot : entry.storage ? kTypeStorage : kTypeStream;
        at[67] = links.at(int(i)).colour;
        put32(at + 68, links.at(int(i)).left);
        put32(at + 72, links.at(int(i)).right);
        put32(at + 76, links.at(int(i)).child);
        if (entry.storage && !entry.clsid.isEmpty())
            std::memcpy(at + 80, entry.clsid.constData(), size_t(entry.clsid.size()));
        put32(at + 116, starts.at(int(i)));
        const quint64 size = i == 0 ? miniStreamSize : quint64(entry.data.size());
        put32(at + 120, quint32(size));
        put32(at + 124, quint32(size >> 32));
        layout.entryIndex.insert(entry.path, int(i));
    }

    QList<quint32> difatSectors;
    for (quint64 k = 0; k < fatCount; ++k) {
        layout.fatSectors.append(quint32(dataSectors + k));
        next[qsizetype(dataSectors + k)] = kFatSector;
    }
    for (quint64 k = 0; k < difatCount; ++k) {
        difatSectors.append(quint32(dataSectors + fatCount + k));
        next[qsizetype(dataSectors + fatCount + k)] = kDifatSector;
    }
    for (quint64 k = 0; k < fatCount; ++k) {
        char* const at = sectorAt(dataSectors + k);
        for (quint64 e = 0; e < perFatSector; ++e)
            put32(at + 4 * e, next.at(qsizetype(k * perFatSector + e)));
    }
    qsizetype listed = kHeaderFatSlots;
    for (quint64 k = 0; k < difatCount; ++k) {
        char* const at = sectorAt(dataSectors + fatCount + k);
        for (quint64 e = 0; e + 1 < perFatSector; ++e)
            put32(at + 4 * e, listed < layout.fatSectors.size() ? layout.fatSectors.at(listed++) : kFree);
        put32(at + sectorSize - 4, k + 1 < difatCount ? difatSectors.at(qsizetype(k + 1)) : kEndOfChain);
    }

    std::memset(base, 0, headerBytes);
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(base, signature, sizeof signature);
    put16(base + 24, 0x003E);
    put16(base + 26, sectorShift_ == 12 ? 4 : 3);
    put16(base + 28, 0xFFFE);
    put16(base + 30, quint16(sectorShift_));
    put16(base + 32, 6);
    // Only files with 4096-byte sectors count their directory sectors.
    put32(base + 40, sectorShift_ == 12 ? quint32(directory.count) : 0);
    put32(base + 44, quint32(fatCount));
    put32(base + 48, layout.firstDirectorySector);
    put32(base + 56, quint32(kCutoff));
    put32(base + 60, layout.firstMiniFatSector);
    put32(base + 64, quint32(miniFat.count));
    put32(base + 68, difatCount ? difatSectors.first() : kEndOfChain);
    put32(base + 72, quint32(difatCount));
    for (int k = 0; k < kHeaderFatSlots; ++k)
        put32(base + 76 + 4 * k, k < layout.fatSectors.size() ? layout.fatSectors.at(k) : kFree);

    layout.fatSectorCount = quint32(fatCount);
    layout.difatSectorCount = quint32(difatCount);
    layout.firstDifatSector = difatCount ? difatSectors.first() : kEndOfChain;
    if (layoutOut)
        *layoutOut = layout;
    return file;
}
