#include "ole/compound_file.h"
#include "ole/directory_tree.h"
#include "support/cfb_writer.h"
#include "support/test_main.h"

#include <QGuiApplication>
#include <QtEndian>

#include <functional>

using namespace testsupport;
using Damage = std::function<void(QByteArray&, const CfbLayout&)>;
Q_DECLARE_METATYPE(Damage)

namespace {

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + seed * 7 + i / 251);
    return bytes;
}

// A whole stream read in odd-sized pieces, or a null array when the path gives none.
QByteArray readStream(const QByteArray& file, const char* path)
{
    CompoundFile reader(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size()));
    std::optional<CompoundStream> stream = reader.open() ? reader.stream(path) : std::nullopt;
    QByteArray out = stream ? QByteArray("") : QByteArray();
    unsigned char chunk[37];
    for (std::size_t got; stream && (got = stream->read(chunk, sizeof chunk)) > 0;)
        out.append(reinterpret_cast<const char*>(chunk), qsizetype(got));
    // Callers allocate what readableSize() promises.
    return !stream || out.size() == qsizetype(stream->readableSize()) ? out : QByteArray("readableSize() differs");
}

qsizetype entry(const CfbLayout& l, const char* path)
{
    return l.directoryEntryOffset(l.entryIndex.value(QLatin1String(path)));
}

} // namespace

class TestCompoundFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void header_data()
    {
        QTest::addColumn<QList<quint32>>("fields");  // offset, value, ...; offset 0xFFFF keeps `value` bytes
        QTest::addColumn<int>("result");
        QTest::newRow("valid") << QList<quint32>{} << int(CompoundFile::Ok);
        QTest::newRow("shorter than the header") << QList<quint32>{0xFFFF, 511} << int(CompoundFile::NotCompoundFile);
        QTest::newRow("signature off by one") << QList<quint32>{4, 0xE11AB1A0} << int(CompoundFile::NotCompoundFile);
        QTest::newRow("110 FAT sectors without DIFAT") << QList<quint32>{44, 110} << int(CompoundFile::BadCompoundFile);
        // Counts far beyond the data are cut to it, not allocated.
        QTest::newRow("FAT count 2^32-1") << QList<quint32>{44, 0xFFFFFFFF, 72, 0xFFFFFFFF} << int(CompoundFile::Ok);
    }
    void header()
    {
        QFETCH(QList<quint32>, fields);
        QFETCH(int, result);
        CfbWriter writer;
        writer.addStream(QStringLiteral("/CONTENTS"), pattern(100, 1));
        QByteArray file = writer.build();
        for (int i = 0; i < fields.size(); i += 2)
            fields[i] == 0xFFFF ? void(file = file.left(fields[i + 1])) : putU32(file, fields[i], fields[i + 1]);
        CompoundFile reader(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size()));
        QCOMPARE(reader.open(), result == CompoundFile::Ok);
        QCOMPARE(int(reader.result()), result);
        QCOMPARE(readStream(file, "/CONTENTS"), result == CompoundFile::Ok ? pattern(100, 1) : QByteArray());
    }

    // The three paths embedded objects are looked up by, and the 4096-byte
    // cutoff between the mini stream and regular sectors. Consecutive chains
    // would read right through the wrong table, so every layout is also
    // written fragmented.
    void lookup_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("expected");  // null: no stream
        QTest::newRow("CONTENTS") << QByteArray("/CONTENTS") << pattern(300, 10);
        QTest::newRow("Package") << QByteArray("/Package") << pattern(5000, 11);
        QTest::newRow("control prefix removed") << QByteArray("/Ole10Native") << pattern(90, 13);
        QTest::newRow("4095 bytes") << QByteArray("/Sub/Mini") << pattern(4095, 14);
        QTest::newRow("4096 bytes") << QByteArray("/Sub/Deeper/Regular") << pattern(4096, 12);
        for (const char* path : {"/Sub", "/", "", "/A", "/contents", "/CONTENTS/Mini", "/\x01Ole10Native"})
            QTest::addRow("no stream at \"%s\"", path) << QByteArray(path) << QByteArray();
    }
    void lookup()
    {
        QFETCH(QByteArray, path);
        for (auto siblings : {CfbWriter::SiblingLayout::Balanced, CfbWriter::SiblingLayout::RightChain}) {
            for (auto chains : {CfbWriter::ChainLayout::Consecutive, CfbWriter::ChainLayout::Fragmented}) {
                CfbWriter writer;
                writer.setSiblingLayout(siblings);
                writer.setChainLayout(chains);
                writer.addStream(QStringLiteral("/A"), pattern(40, 9));  // one-character names are never matched
                writer.addStream(QStringLiteral("/CONTENTS"), pattern(300, 10));
                writer.addStream(QStringLiteral("/Package"), pattern(5000, 11));
                writer.addStream(QStringLiteral("/Sub/Mini"), pattern(4095, 14));
                writer.addStream(QStringLiteral("/Sub/Deeper/Regular"), pattern(4096, 12));
                writer.addStream(QString::fromLatin1("/\x01Ole10Native"), pattern(90, 13));
                CfbLayout layout;
                const QByteArray file = writer.build(&layout);
                const quint32 regular = layout.startSector.value(QStringLiteral("/Sub/Deeper/Regular"));
                const quint32 after = qFromLittleEndian<quint32>(file.constData() + layout.fatEntryOffset(regular));
                QCOMPARE(after == regular + 1, chains == CfbWriter::ChainLayout::Consecutive);
                QTEST(readStream(file, path.constData()), "expected");
            }
        }
    }

    // Damaged chains and links are cut where they loop or leave the data.
    void damage_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("expected");  // null: no stream
        QTest::newRow("FAT chain loop") << Damage([](QByteArray& f, const CfbLayout& l) {
            putU32(f, l.fatEntryOffset(l.startSector["/Large"] + 2), l.startSector["/Large"]);
        }) << QByteArray("/Large") << pattern(10000, 2).left(3 * 512);
        QTest::newRow("mini chain loop") << Damage([](QByteArray& f, const CfbLayout& l) {
            putU32(f, l.sectorOffset(l.firstMiniFatSector) + 4 * (l.startSector["/Small"] + 1), l.startSector["/Small"] + 1);
        }) << QByteArray("/Small") << pattern(300, 1).left(128);
        QTest::newRow("size beyond the chain") << Damage([](QByteArray& f, const CfbLayout& l) { putU32(f, entry(l, "/Large") + 120, 0xFFFFFFFF); })
                                               << QByteArray("/Large") << pattern(10000, 2) + QByteArray(240, '\0');
        // Sibling and child links into loops, the root and far outside.
        QTest::newRow("hostile links") << Damage([](QByteArray& f, const CfbLayout& l) {
            putU32(f, entry(l, "/Small") + 68, 1);
            putU32(f, entry(l, "/Small") + 76, 0);
            putU32(f, entry(l, "/Last") + 72, 1);
            putU32(f, entry(l, "/Last") + 68, 0x7FFFFFFF);
        }) << QByteArray("/Last") << pattern(20, 3);
    }
    void damage()
    {
        QFETCH(Damage, damage);
        QFETCH(QByteArray, path);
        CfbLayout layout;
        CfbWriter writer;
        writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
        writer.addStream(QStringLiteral("/Small"), pattern(300, 1));
        writer.addStream(QStringLiteral("/Large"), pattern(10000, 2));
        writer.addStream(QStringLiteral("/Last"), pattern(20, 3));
        QByteArray file = writer.build(&layout);
        damage(file, layout);
        QTEST(readStream(file, path.constData()), "expected");
    }

    // What a reader of many storages uses: every storage's children from one
    // walk, looked up by name in any letter case; streams by directory index,
    // followed no further than asked; the place of a stream whose sectors
    // follow one another, to be used without a copy.
    void storageTree()
    {
        for (auto chains : {CfbWriter::ChainLayout::Consecutive, CfbWriter::ChainLayout::Fragmented}) {
            CfbWriter writer;
            writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
            writer.setChainLayout(chains);
            writer.addStream(QStringLiteral("/Msg/__substg1.0_0037001F"), pattern(100, 1));
            writer.addStream(QStringLiteral("/Msg/Inner/Big"), pattern(9000, 2));
            writer.addStream(QStringLiteral("/Msg/Inner/big"), pattern(50, 3));
            writer.addStream(QStringLiteral("/Other"), pattern(5000, 4));
            CfbLayout layout;
            QByteArray file = writer.build(&layout);
            const auto index = [&](const char* path) { return quint32(layout.entryIndex.value(QLatin1String(path))); };
            CompoundFile reader(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size()));
            QVERIFY(reader.open());
            const DirectoryTree tree(reader.directory());
            QCOMPARE(tree.find(0, "msg"), index("/Msg"));
            QCOMPARE(tree.find(index("/Msg"), "__SUBSTG1.0_0037001f"), index("/Msg/__substg1.0_0037001F"));
            QCOMPARE(tree.find(index("/Msg/Inner"), "BIG"), index("/Msg/Inner/big")); // the later of two
            QCOMPARE(tree.find(0, "Inner"), DirectoryEntry::kNoEntry);                // children only
            QCOMPARE(tree.children(index("/Msg/Inner")).size(), size_t(2));
            QVERIFY(tree.children(index("/Other")).empty());

            QVERIFY(!reader.streamAt(index("/Msg"), 100)); // a storage
            const std::optional<std::uint64_t> other = reader.streamAt(index("/Other"), ~0ULL)->contiguousOffset();
            const bool consecutive = chains == CfbWriter::ChainLayout::Consecutive;
            QCOMPARE(other.has_value(), consecutive);
            if (consecutive)
                QCOMPARE(file.mid(qsizetype(*other), 5000), pattern(5000, 4));
            QVERIFY(!reader.streamAt(index("/Msg/__substg1.0_0037001F"), ~0ULL)->contiguousOffset()); // mini stream
            std::optional<CompoundStream> cut = reader.streamAt(index("/Msg/Inner/Big"), 1000);
            QCOMPARE(cut->readableSize(), quint64(1024));
            QVERIFY(!cut->contiguousOffset());

            // A storage holding its own parent (where "big" was linked), and a
            // storage linked from the root as well: each entry is listed once,
            // under the first storage to reach it, and the walk ends.
            putU32(file, entry(layout, "/Msg/Inner/Big") + 72, index("/Msg"));
            putU32(file, entry(layout, "/Other") + 68, index("/Msg/Inner"));
            CompoundFile damaged(reinterpret_cast<const unsigned char*>(file.constData()), std::size_t(file.size()));
            QVERIFY(damaged.open());
            const DirectoryTree cyclic(damaged.directory());
            QList<quint32> listed;
            for (quint32 i = 0; i < damaged.directory().size(); ++i)
                listed += QList<quint32>(cyclic.children(i).begin(), cyclic.children(i).end());
            std::sort(listed.begin(), listed.end());
            QCOMPARE(listed, QList<quint32>({1, 2, 3, 4, 6}));
            QCOMPARE(cyclic.find(0, "Inner"), index("/Msg/Inner"));
        }
    }

    // More than 109 FAT sectors: 128-byte sectors need a chain of DIFAT sectors.
    void difat()
    {
        CfbLayout layout;
        CfbWriter writer(7);
        writer.addStream(QStringLiteral("/Big"), pattern(7000 * 128, 8));
        writer.addStream(QStringLiteral("/Tail"), pattern(333, 9));
        QByteArray file = writer.build(&layout);
        QVERIFY(layout.fatSectorCount > 109 && layout.difatSectorCount >= 3);
        QCOMPARE(readStream(file, "/Big"), pattern(7000 * 128, 8));
        QCOMPARE(readStream(file, "/Tail"), pattern(333, 9));
        // A DIFAT sector naming itself as the next, and counts far beyond the data: opening ends promptly.
        putU32(file, layout.sectorOffset(layout.firstDifatSector) + 124, layout.firstDifatSector);
        putU32(file, 72, 0x7FFFFFFF);
        putU32(file, 44, 0xFFFFFFFF);
        QVERIFY(readStream(file, "/Big").isNull());
    }
};

QUORVIA_GUI_TEST_MAIN(TestCompoundFile)
#include "tst_compound_file.moc"
