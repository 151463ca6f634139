// The compound-file writer that saves attached messages as files of their
// own: what it writes must read back byte for byte, through our reader and
// by the format's rules that other programs rely on (siblings in a
// red-black tree ordered as the format orders names, table sizes, the
// header of each version).

#include "ole/compound_file.h"
#include "ole/compound_file_writer.h"
#include "ole/directory_tree.h"
#include "support/test_main.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QtEndian>

#include <functional>
#include <memory>

namespace {

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + seed * 7 + i / 251);
    return bytes;
}

struct Reader
{
    explicit Reader(const QByteArray& data)
        : bytes(data)
        , file(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()))
    {
        opened = file.open();
        if (opened)
            tree = std::make_unique<DirectoryTree>(file.directory());
    }

    // The entry at a path of names, or kNoEntry.
    std::uint32_t find(const QStringList& path) const
    {
        std::uint32_t at = 0;
        for (const QString& name : path) {
            at = tree->find(at, name.toStdString());
            if (at == DirectoryEntry::kNoEntry)
                break;
        }
        return at;
    }

    QByteArray read(std::uint32_t index) const
    {
        std::optional<CompoundStream> stream = file.streamAt(index, ~0ULL);
        if (!stream)
            return {};
        QByteArray bytes(qsizetype(stream->readableSize()), Qt::Uninitialized);
        bytes.truncate(qsizetype(stream->read(reinterpret_cast<unsigned char*>(bytes.data()), std::size_t(bytes.size()))));
        return bytes;
    }

    const QByteArray bytes;
    CompoundFile file;
    std::unique_ptr<DirectoryTree> tree;
    bool opened = false;
};

// Walks one storage's sibling tree from the raw entries and checks it as
// the format defines it; returns the names in tree order.
QStringList checkedSiblings(const QByteArray& file, const CompoundFileLayout& layout, int storage, QString* failure)
{
    auto at = [&](quint32 index) { return file.constData() + layout.directoryEntryOffset(int(index)); };
    auto nameOf = [&](quint32 index) {
        const char* entry = at(index);
        const int units = qFromLittleEndian<quint16>(entry + 64) / 2 - 1;
        QString name;
        for (int k = 0; k < units; ++k)
            name += QChar(qFromLittleEndian<quint16>(entry + 2 * k));
        return name;
    };
    QStringList inOrder;
    int blackHeight = -1;
    // Depth-first: node, black nodes above and including it, parent red.
    std::function<void(quint32, int, bool)> walk = [&](quint32 node, int blacks, bool parentRed) {
        if (node == 0xFFFFFFFF) {
            if (blackHeight < 0)
                blackHeight = blacks;
            else if (blackHeight != blacks)
                *failure = QStringLiteral("black heights differ");
            return;
        }
        const char* entry = at(node);
        const bool red = entry[67] == 0;
        if (red && parentRed)
            *failure = QStringLiteral("two red nodes in a row");
        walk(qFromLittleEndian<quint32>(entry + 68), blacks + (red ? 0 : 1), red);
        inOrder << nameOf(node);
        walk(qFromLittleEndian<quint32>(entry + 72), blacks + (red ? 0 : 1), red);
    };
    const quint32 top = qFromLittleEndian<quint32>(at(quint32(storage)) + 76);
    if (top != 0xFFFFFFFF && at(top)[67] == 0)
        *failure = QStringLiteral("the tree's top is red");
    walk(top, 0, false);
    for (qsizetype k = 1; k < inOrder.size(); ++k) {
        if (!CompoundFileWriter::nameLess(inOrder.at(k - 1), inOrder.at(k)))
            *failure = QStringLiteral("out of order: %1, %2").arg(inOrder.at(k - 1), inOrder.at(k));
    }
    return inOrder;
}

} // namespace

class TestCompoundFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every stream size around the mini-stream cutoff and the sector sizes,
    // in both versions and both chain layouts, reads back whole.
    void roundTrip_data()
    {
        QTest::addColumn<int>("shift");
        QTest::addColumn<CompoundFileWriter::ChainLayout>("chains");
        for (int shift : {9, 12}) {
            QTest::addRow("%d-byte sectors", 1 << shift) << shift << CompoundFileWriter::ChainLayout::Consecutive;
            QTest::addRow("%d-byte sectors, scattered", 1 << shift) << shift << CompoundFileWriter::ChainLayout::Fragmented;
        }
    }
    void roundTrip()
    {
        QFETCH(int, shift);
        QFETCH(CompoundFileWriter::ChainLayout, chains);
        const QList<qsizetype> sizes{0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 8192, 100000};
        CompoundFileWriter writer(shift);
        writer.setChainLayout(chains);
        const int inner = writer.addStorage(writer.addStorage(CompoundFileWriter::kRoot, QStringLiteral("Outer")),
                                            QStringLiteral("Inner"));
        for (int k = 0; k < sizes.size(); ++k) {
            QVERIFY(writer.addStream(k % 2 ? inner : CompoundFileWriter::kRoot, QStringLiteral("S%1").arg(k),
                                     pattern(sizes.at(k), k))
                    > 0);
        }
        const QByteArray file = writer.build();
        QCOMPARE(file.size() % (qsizetype(1) << shift), 0);
        QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 26), quint16(shift == 12 ? 4 : 3));
        const Reader reader(file);
        QVERIFY(reader.opened);
        for (int k = 0; k < sizes.size(); ++k) {
            const QStringList path = k % 2 ? QStringList{"Outer", "Inner", QStringLiteral("S%1").arg(k)}
                                           : QStringList{QStringLiteral("S%1").arg(k)};
            const std::uint32_t index = reader.find(path);
            QVERIFY2(index != DirectoryEntry::kNoEntry, qPrintable(path.join('/')));
            QCOMPARE(reader.read(index), pattern(sizes.at(k), k));
        }
        QCOMPARE(reader.tree->children(reader.find({"Outer"})).size(), size_t(1));
    }

    // Siblings: a binary search by the format's order finds each, with the
    // colours a red-black tree needs, however many there are.
    void siblingTree_data()
    {
        QTest::addColumn<int>("count");
        for (int count : {1, 2, 3, 4, 7, 8, 15, 16, 100, 1000})
            QTest::addRow("%d children", count) << count;
    }
    void siblingTree()
    {
        QFETCH(int, count);
        QStringList names;
        QRandomGenerator random{quint32(count)};
        while (names.size() < count) {
            QString name;
            const int length = 1 + int(random.bounded(12));
            for (int k = 0; k < length; ++k)
                name += QChar(u"aBcDeF_xYz9\u00e9"[random.bounded(12)]);
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
        }
        CompoundFileWriter writer;
        const int storage = writer.addStorage(CompoundFileWriter::kRoot, QStringLiteral("Box"));
        for (const QString& name : std::as_const(names))
            QVERIFY(writer.addStream(storage, name, name.toUtf8()) > 0);
        CompoundFileLayout layout;
        const QByteArray file = writer.build(&layout);
        QString failure;
        QStringList inOrder = checkedSiblings(file, layout, storage, &failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // Every name once, letters outside ASCII kept.
        inOrder.sort();
        names.sort();
        QCOMPARE(inOrder, names);
    }

    // What another file's storage may be copied with: any name the format
    // allows (a control character first, letters outside ASCII), a class id.
    void copiedEntries()
    {
        const QByteArray clsid = QByteArray::fromHex("0b0d020000000000c000000000000046");
        CompoundFileWriter writer;
        const int object = writer.addStorage(CompoundFileWriter::kRoot, QStringLiteral("__substg1.0_3701000D"));
        writer.setClassId(object, clsid);
        writer.addStream(object, QStringLiteral("\u0001Ole10Native"), "payload");
        writer.addStream(object, QStringLiteral("Größe"), "size");
        const QByteArray file = writer.build();
        const Reader reader(file);
        QVERIFY(reader.opened);
        const std::uint32_t storage = reader.find({"__substg1.0_3701000D"});
        const DirectoryEntry& entry = reader.file.directory().at(storage);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(entry.clsid.data()), 16), clsid);
        QStringList stored;
        for (const std::uint32_t child : reader.tree->children(storage))
            stored << QString::fromStdU16String(directory_entry_stored_name(reader.file.directory().at(child)));
        stored.sort();
        QCOMPARE(stored, (QStringList{QStringLiteral("\u0001Ole10Native"), QStringLiteral("Größe")}));
        QCOMPARE(reader.read(reader.find({"__substg1.0_3701000D", "Ole10Native"})), QByteArray("payload"));
    }

    // Entries a reader could not tell apart, or could not hold, are refused.
    void refusedEntries()
    {
        CompoundFileWriter writer;
        const int storage = writer.addStorage(CompoundFileWriter::kRoot, QStringLiteral("Box"));
        const int stream = writer.addStream(storage, QStringLiteral("Data"), "x");
        QVERIFY(stream > 0);
        QCOMPARE(writer.addStream(storage, QStringLiteral("DATA"), "y"), -1);    // one name in any case
        QCOMPARE(writer.addStorage(storage, QStringLiteral("data")), -1);
        QCOMPARE(writer.addStream(storage, QString(), "y"), -1);
        QCOMPARE(writer.addStream(storage, QString(32, u'n'), "y"), -1);        // past 31 units
        QVERIFY(writer.addStream(storage, QString(31, u'n'), "y") > 0);
        QCOMPARE(writer.addStream(stream, QStringLiteral("Child"), "y"), -1);   // a stream holds nothing
        QCOMPARE(writer.addStream(999, QStringLiteral("Child"), "y"), -1);
        QVERIFY(writer.addStream(CompoundFileWriter::kRoot, QStringLiteral("Data"), "z") > 0); // other storage
        QCOMPARE(writer.entryCount(), 5);
        const Reader reader(writer.build());
        QCOMPARE(reader.read(reader.find({"Box", "Data"})), QByteArray("x"));
        QCOMPARE(reader.read(reader.find({"Data"})), QByteArray("z"));
    }

    // Past 109 FAT sectors the header's list goes on in DIFAT sectors; a
    // file of 4096-byte sectors names its directory sectors in the header.
    void tables()
    {
        CompoundFileWriter writer;
        writer.addStream(QStringLiteral("/Big"), pattern(8 * 1024 * 1024, 3));
        for (int k = 0; k < 300; ++k)
            writer.addStream(QStringLiteral("/Small %1").arg(k), pattern(100 + k, k));
        CompoundFileLayout layout;
        const QByteArray file = writer.build(&layout);
        QVERIFY(layout.fatSectorCount > 109);
        QCOMPARE(layout.difatSectorCount, 1u);
        const Reader reader(file);
        QVERIFY(reader.opened);
        QCOMPARE(reader.read(reader.find({"Big"})), pattern(8 * 1024 * 1024, 3));
        QCOMPARE(reader.read(reader.find({"Small 299"})), pattern(399, 299));

        CompoundFileWriter wide(12);
        for (int k = 0; k < 40; ++k)
            wide.addStream(QStringLiteral("/S%1").arg(k), pattern(10, k));
        CompoundFileLayout wideLayout;
        const QByteArray wideFile = wide.build(&wideLayout);
        QCOMPARE(qFromLittleEndian<quint32>(wideFile.constData() + 40), 2u); // 41 entries, 32 to a sector
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 40), 0u);
    }
};

QUORVIA_GUI_TEST_MAIN(TestCompoundFileWriter)
#include "tst_compound_file_writer.moc"
