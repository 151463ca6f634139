#include "support/cfb_writer.h"

#include <QtEndian>

namespace testsupport {

namespace {

constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
constexpr int kCutoff = 4096;
constexpr int kMiniSectorSize = 64;

qsizetype roundUp(qsizetype value, qsizetype unit)
{
    return (value + unit - 1) / unit * unit;
}

struct Links
{
    quint32 left = kNoEntry;
    quint32 right = kNoEntry;
    quint32 child = kNoEntry;
};

// Links `items[begin, end)` as a balanced tree and returns its root.
quint32 linkBalanced(const QList<int>& items, int begin, int end, QList<Links>& links)
{
    if (begin >= end)
        return kNoEntry;
    const int middle = (begin + end) / 2;
    const int index = items.at(middle);
    links[index].left = linkBalanced(items, begin, middle, links);
    links[index].right = linkBalanced(items, middle + 1, end, links);
    return quint32(index);
}

} // namespace

void putU16(QByteArray& bytes, qsizetype offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void putU32(QByteArray& bytes, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

CfbWriter::CfbWriter(int sectorShift)
    : sectorShift_(sectorShift)
{
    Entry root;
    root.path = QStringLiteral("/");
    root.name = QStringLiteral("Root Entry");
    root.storage = true;
    root.parent = -1;
    entries_.append(root);
}

int CfbWriter::ensureStorage(const QString& path)
{
    if (path.isEmpty() || path == QLatin1String("/"))
        return 0;
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_.at(i).path == path)
            return i;
    }
    addStorage(path);
    return int(entries_.size()) - 1;
}

void CfbWriter::addStorage(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    Entry entry;
    entry.path = path;
    entry.name = path.mid(slash + 1);
    entry.storage = true;
    entry.parent = ensureStorage(path.left(slash));
    entries_.append(entry);
}

void CfbWriter::addStream(const QString& path, const QByteArray& data)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    Entry entry;
    entry.path = path;
    entry.name = path.mid(slash + 1);
    entry.data = data;
    entry.parent = ensureStorage(path.left(slash));
    entries_.append(entry);
}

QByteArray CfbWriter::build(CfbLayout* layoutOut) const
{
    const qsizetype sectorSize = qsizetype(1) << sectorShift_;
    const quint32 entriesPerSector = quint32(sectorSize / 4);
    CfbLayout layout;
    layout.sectorSize = int(sectorSize);

    // Sectors are handed out in this order: large streams, the mini stream,
    // the mini FAT, the directory, then the FAT and DIFAT sectors.
    QList<QByteArray> sectors;
    QList<quint32> next; // FAT entries of the sectors above
    // Sectors smaller than the 512-byte header overlap it: the first few
    // sector numbers are the header's own bytes and stay unused.
    const qsizetype headerSectors = sectorSize < 512 ? 512 / sectorSize - 1 : 0;
    for (qsizetype k = 0; k < headerSectors; ++k) {
        sectors.append(QByteArray());
        next.append(kFree);
    }
    const bool fragmented = chainLayout_ == ChainLayout::Fragmented;
    // Splits bytes into units; reversed, unit k of n goes to place n - 1 - k
    // and links to the place before it. Returns the first unit's place.
    auto place = [](const QByteArray& bytes, qsizetype unit, bool reversed, quint32 base, QList<QByteArray>& units,
                    QList<quint32>& links) -> quint32 {
        const quint32 count = quint32((bytes.size() + unit - 1) / unit);
        for (quint32 j = 0; j < count; ++j) {
            const quint32 k = reversed ? count - 1 - j : j;
            QByteArray piece = bytes.mid(qsizetype(k) * unit, unit);
            piece.resize(unit, '\0');
            units.append(piece);
            const bool last = reversed ? j == 0 : j + 1 == count;
            links.append(last ? kEndOfChain : reversed ? base + j - 1 : base + j + 1);
        }
        return reversed ? base + count - 1 : base;
    };
    auto allocate = [&](const QByteArray& bytes, bool reversed = false) -> quint32 {
        if (bytes.isEmpty())
            return kEndOfChain;
        return place(bytes, sectorSize, reversed, quint32(sectors.size()), sectors, next);
    };

    QList<quint32> starts(entries_.size(), kEndOfChain);
    QByteArray miniStream;
    QList<quint32> miniFat;
    for (int i = 1; i < entries_.size(); ++i) {
        const Entry& entry = entries_.at(i);
        if (entry.storage || entry.data.isEmpty())
            continue;
        if (entry.data.size() >= kCutoff) {
            starts[i] = allocate(entry.data, fragmented);
        } else {
            QList<QByteArray> pieces;
            starts[i] = place(entry.data, kMiniSectorSize, false, quint32(miniStream.size() / kMiniSectorSize), pieces,
                              miniFat);
            for (const QByteArray& piece : std::as_const(pieces))
                miniStream.append(piece);
        }
        layout.startSector.insert(entry.path, starts[i]);
    }
    starts[0] = allocate(miniStream, fragmented);
    layout.miniStreamStart = starts[0];

    QByteArray miniFatBytes;
    for (quint32 value : miniFat) {
        char raw[4];
        qToLittleEndian(value, raw);
        miniFatBytes.append(raw, 4);
    }
    if (!miniFatBytes.isEmpty())
        miniFatBytes.resize(roundUp(miniFatBytes.size(), sectorSize), char(0xFF));
    layout.firstMiniFatSector = allocate(miniFatBytes);
    const quint32 miniFatSectorCount = quint32(miniFatBytes.size() / sectorSize);

    // Directory tree.
    QList<Links> links(entries_.size());
    for (int parent = 0; parent < entries_.size(); ++parent) {
        if (!entries_.at(parent).storage)
            continue;
        QList<int> children;
        for (int i = 1; i < entries_.size(); ++i) {
            if (entries_.at(i).parent == parent)
                children.append(i);
        }
        if (children.isEmpty())
            continue;
        if (siblingLayout_ == SiblingLayout::Balanced) {
            links[parent].child = linkBalanced(children, 0, int(children.size()), links);
        } else {
            links[parent].child = quint32(children.first());
            for (int k = 0; k + 1 < children.size(); ++k)
                links[children.at(k)].right = quint32(children.at(k + 1));
        }
    }

    const qsizetype perDirectorySector = sectorSize / 128;
    QByteArray directory(roundUp(entries_.size(), perDirectorySector) * 128, '\0');
    for (qsizetype i = 0; i < directory.size() / 128; ++i) {
        const qsizetype base = i * 128;
        putU32(directory, base + 68, kNoEntry);
        putU32(directory, base + 72, kNoEntry);
        putU32(directory, base + 76, kNoEntry);
        if (i >= entries_.size())
            continue;
        const Entry& entry = entries_.at(int(i));
        const QString name = entry.name.left(31);
        for (qsizetype c = 0; c < name.size(); ++c)
            putU16(directory, base + 2 * c, name.at(c).unicode());
        putU16(directory, base + 64, quint16((name.size() + 1) * 2));
        directory[base + 66] = char(i == 0 ? 5 : entry.storage ? 1 : 2);
        directory[base + 67] = char(1);
        putU32(directory, base + 68, links.at(int(i)).left);
        putU32(directory, base + 72, links.at(int(i)).right);
        putU32(directory, base + 76, links.at(int(i)).child);
        putU32(directory, base + 116, starts.at(int(i)));
        putU32(directory, base + 120, quint32(i == 0 ? miniStream.size() : entry.data.size()));
        layout.entryIndex.insert(entry.path, int(i));
    }
    layout.firstDirectorySector = allocate(directory);

    // FAT and DIFAT sectors also need FAT entries: grow until stable.
    const quint32 dataSectors = quint32(sectors.size());
    quint32 fatCount = 0;
    quint32 difatCount = 0;
    for (;;) {
        const quint32 total = dataSectors + fatCount + difatCount;
        const quint32 neededFat = (total + entriesPerSector - 1) / entriesPerSector;
        const quint32 neededDifat = neededFat > 109 ? (neededFat - 109 + entriesPerSector - 2) / (entriesPerSector - 1) : 0;
        if (neededFat == fatCount && neededDifat == difatCount)
            break;
        fatCount = neededFat;
        difatCount = neededDifat;
    }
    for (quint32 k = 0; k < fatCount; ++k) {
        layout.fatSectors.append(dataSectors + k);
        next.append(kFatSector);
    }
    QList<quint32> difatSectors;
    for (quint32 k = 0; k < difatCount; ++k) {
        difatSectors.append(dataSectors + fatCount + k);
        next.append(kDifatSector);
    }
    while (quint32(next.size()) < fatCount * entriesPerSector)
        next.append(kFree);

    QByteArray file(qMax<qsizetype>(sectorSize, 512), '\0');
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int k = 0; k < 8; ++k)
        file[k] = char(signature[k]);
    putU16(file, 24, 0x003E);
    putU16(file, 26, sectorShift_ == 12 ? 4 : 3);
    putU16(file, 28, 0xFFFE);
    putU16(file, 30, quint16(sectorShift_));
    putU16(file, 32, 6);
    putU32(file, 44, fatCount);
    putU32(file, 48, layout.firstDirectorySector);
    putU32(file, 56, kCutoff);
    putU32(file, 60, layout.firstMiniFatSector);
    putU32(file, 64, miniFatSectorCount);
    putU32(file, 68, difatCount ? difatSectors.first() : kEndOfChain);
    putU32(file, 72, difatCount);
    for (int k = 0; k < 109; ++k)
        putU32(file, 76 + 4 * k, k < layout.fatSectors.size() ? layout.fatSectors.at(k) : kFree);

    for (qsizetype k = headerSectors; k < sectors.size(); ++k)
        file.append(sectors.at(k));
    for (quint32 k = 0; k < fatCount; ++k) {
        QByteArray sector(sectorSize, '\0');
        for (quint32 e = 0; e < entriesPerSector; ++e)
            putU32(sector, 4 * e, next.at(int(k * entriesPerSector + e)));
        file.append(sector);
    }
    qsizetype listed = 109;
    for (quint32 k = 0; k < difatCount; ++k) {
        QByteArray sector(sectorSize, char(0xFF));
        for (quint32 e = 0; e + 1 < entriesPerSector; ++e) {
            if (listed < layout.fatSectors.size())
                putU32(sector, 4 * e, layout.fatSectors.at(listed++));
        }
        putU32(sector, sectorSize - 4, k + 1 < difatCount ? difatSectors.at(int(k + 1)) : kEndOfChain);
        file.append(sector);
    }

    layout.fatSectorCount = fatCount;
    layout.difatSectorCount = difatCount;
    layout.firstDifatSector = difatCount ? difatSectors.first() : kEndOfChain;
    if (layoutOut)
        *layoutOut = layout;
    return file;
}

} // namespace testsupport
