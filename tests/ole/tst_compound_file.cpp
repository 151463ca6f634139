#include "ole/compound_file.h"
#include "support/cfb_writer.h"
#include "support/test_main.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <optional>

using testsupport::CfbLayout;
using testsupport::CfbWriter;
using testsupport::putU16;
using testsupport::putU32;

namespace {

QByteArray pattern(qsizetype size, int seed = 1)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed * 7 + i / 251) & 0xFF);
    return bytes;
}

const unsigned char* bytesOf(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

// Reads a whole stream, or returns nullopt when the path gives none.
std::optional<QByteArray> readStream(const QByteArray& file, const char* path)
{
    CompoundFile reader(bytesOf(file), std::size_t(file.size()));
    if (!reader.open())
        return std::nullopt;
    std::optional<CompoundStream> stream = reader.stream(path);
    if (!stream)
        return std::nullopt;
    QByteArray out(qsizetype(stream->readableSize()), '\0');
    const std::size_t got = stream->read(reinterpret_cast<unsigned char*>(out.data()), std::size_t(out.size()));
    out.truncate(qsizetype(got));
    return out;
}

QByteArray simpleFile(CfbLayout* layout = nullptr)
{
    CfbWriter writer;
    writer.addStream(QStringLiteral("/Small"), pattern(100, 1));
    writer.addStream(QStringLiteral("/Large"), pattern(10000, 2));
    return writer.build(layout);
}

} // namespace

class TestCompoundFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerChecks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("result");

        const QByteArray good = simpleFile();
        QTest::newRow("valid") << good << int(CompoundFile::Ok);
        QTest::newRow("empty") << QByteArray() << int(CompoundFile::NotCompoundFile);
        QTest::newRow("511 bytes") << good.left(511) << int(CompoundFile::NotCompoundFile);

        QByteArray badSignature = good;
        badSignature[7] = char(0xE0);
        QTest::newRow("signature off by one byte") << badSignature << int(CompoundFile::NotCompoundFile);

        auto patched16 = [&](int offset, quint16 value) {
            QByteArray bytes = good;
            putU16(bytes, offset, value);
            return bytes;
        };
        auto patched32 = [&](int offset, quint32 value) {
            QByteArray bytes = good;
            putU32(bytes, offset, value);
            return bytes;
        };
        QTest::newRow("cutoff 4095") << patched32(56, 4095) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("cutoff 4097") << patched32(56, 4097) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("no FAT sectors") << patched32(44, 0) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("sector shift 6") << patched16(30, 6) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("sector shift 31") << patched16(30, 31) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("mini shift above sector shift") << patched16(32, 10) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("DIFAT sectors with a small FAT") << patched32(72, 1) << int(CompoundFile::BadCompoundFile);
        QTest::newRow("110 FAT sectors without DIFAT") << patched32(44, 110) << int(CompoundFile::BadCompoundFile);

        QByteArray manyFat = patched32(44, 236);
        putU32(manyFat, 72, 1);
        QTest::newRow("236 FAT sectors, one DIFAT sector") << manyFat << int(CompoundFile::Ok);
        putU32(manyFat, 44, 237);
        QTest::newRow("237 FAT sectors, one DIFAT sector") << manyFat << int(CompoundFile::BadCompoundFile);

        QByteArray hugeCount = patched32(44, 0xFFFFFFFF);
        putU32(hugeCount, 72, 0xFFFFFFFF);
        QTest::newRow("FAT count 2^32-1") << hugeCount << int(CompoundFile::Ok);
    }
    void headerChecks()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, result);
        CompoundFile reader(bytesOf(file), std::size_t(file.size()));
        QCOMPARE(reader.open(), result == int(CompoundFile::Ok));
        QCOMPARE(int(reader.result()), result);
        QCOMPARE(reader.isOpen(), result == int(CompoundFile::Ok));
        if (result != int(CompoundFile::Ok))
            QVERIFY(!reader.stream("/Small"));
    }

    void streamsRoundTrip_data()
    {
        QTest::addColumn<int>("sectorShift");
        QTest::addColumn<int>("size");
        for (int shift : {9, 12, 7}) {
            for (int size : {1, 65, 4095, 4096, 20000}) {
                QTest::addRow("shift %d, %d bytes", shift, size) << shift << size;
            }
        }
    }
    void streamsRoundTrip()
    {
        QFETCH(int, sectorShift);
        QFETCH(int, size);
        CfbWriter writer(sectorShift);
        writer.addStream(QStringLiteral("/Before"), pattern(700, 3));
        writer.addStream(QStringLiteral("/Target"), pattern(size, 4));
        writer.addStream(QStringLiteral("/After"), pattern(5000, 5));
        const QByteArray file = writer.build();
        QCOMPARE(readStream(file, "/Target"), std::optional<QByteArray>(pattern(size, 4)));
        QCOMPARE(readStream(file, "/Before"), std::optional<QByteArray>(pattern(700, 3)));
        QCOMPARE(readStream(file, "/After"), std::optional<QByteArray>(pattern(5000, 5)));
    }

    // The cutoff decides the table: a 4095-byte stream lives in the mini
    // stream, a 4096-byte one in regular sectors. Swapping the recorded
    // sizes proves the reader follows the size, not the data.
    void cutoffChoosesTheTable()
    {
        CfbLayout layout;
        CfbWriter writer;
        writer.addStream(QStringLiteral("/Mini"), pattern(4095, 6));
        writer.addStream(QStringLiteral("/Regular"), pattern(4096, 7));
        QByteArray file = writer.build(&layout);
        QCOMPARE(readStream(file, "/Mini"), std::optional<QByteArray>(pattern(4095, 6)));
        QCOMPARE(readStream(file, "/Regular"), std::optional<QByteArray>(pattern(4096, 7)));

        const qsizetype regular = layout.directoryEntryOffset(layout.entryIndex.value(QStringLiteral("/Regular")));
        putU32(file, regular + 120, 4095);
        const std::optional<QByteArray> asMini = readStream(file, "/Regular");
        QVERIFY(asMini);
        QVERIFY(*asMini != pattern(4096, 7).left(4095));
    }

    void pathLookup_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("expected"); // empty: no stream
        QTest::newRow("top-level stream") << "/CONTENTS" << pattern(300, 10);
        QTest::newRow("without leading slash") << "CONTENTS" << pattern(300, 10);
        QTest::newRow("stream in a storage") << "/Sub/Inner" << pattern(5000, 11);
        QTest::newRow("stream in a nested storage") << "/Sub/Deeper/Leaf" << pattern(77, 12);
        QTest::newRow("control prefix removed") << "/Ole10Native" << pattern(90, 13);
        QTest::newRow("storage is no stream") << "/Sub" << QByteArray();
        QTest::newRow("root is no stream") << "/" << QByteArray();
        QTest::newRow("empty path") << "" << QByteArray();
        QTest::newRow("one-character name") << "/A" << QByteArray();
        QTest::newRow("case differs") << "/contents" << QByteArray();
        QTest::newRow("missing") << "/Missing" << QByteArray();
        QTest::newRow("inner stream at top level") << "/Inner" << QByteArray();
        QTest::newRow("path through a stream") << "/CONTENTS/Inner" << QByteArray();
        QTest::newRow("prefix spelled out") << "/\x01Ole10Native" << QByteArray();
    }
    void pathLookup()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, expected);
        CfbWriter writer;
        writer.addStream(QStringLiteral("/A"), pattern(40, 9));
        writer.addStream(QStringLiteral("/CONTENTS"), pattern(300, 10));
        writer.addStorage(QStringLiteral("/Sub"));
        writer.addStream(QStringLiteral("/Sub/Inner"), pattern(5000, 11));
        writer.addStream(QStringLiteral("/Sub/Deeper/Leaf"), pattern(77, 12));
        writer.addStream(QString::fromLatin1("/\x01Ole10Native"), pattern(90, 13));
        const QByteArray file = writer.build();
        const std::optional<QByteArray> got = readStream(file, path.toLatin1().constData());
        if (expected.isEmpty())
            QVERIFY(!got);
        else
            QCOMPARE(got, std::optional<QByteArray>(expected));
    }

    // Every child of a storage is reachable however its siblings are linked,
    // and when two carry the same name the one listed last wins.
    void siblingTrees()
    {
        for (CfbWriter::SiblingLayout siblings : {CfbWriter::SiblingLayout::Balanced, CfbWriter::SiblingLayout::RightChain}) {
            CfbWriter writer;
            writer.setSiblingLayout(siblings);
            for (int i = 0; i < 40; ++i)
                writer.addStream(QStringLiteral("/Stream%1").arg(i), pattern(50 + i, i));
            const QByteArray file = writer.build();
            for (int i = 0; i < 40; ++i) {
                const QByteArray path = QStringLiteral("/Stream%1").arg(i).toLatin1();
                QCOMPARE(readStream(file, path.constData()), std::optional<QByteArray>(pattern(50 + i, i)));
            }
        }

        CfbWriter writer;
        writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
        writer.addStream(QStringLiteral("/Same"), pattern(10, 1));
        writer.addStream(QStringLiteral("/Same"), pattern(20, 2));
        QCOMPARE(readStream(writer.build(), "/Same"), std::optional<QByteArray>(pattern(20, 2)));
    }

    void readsInPieces()
    {
        const QByteArray file = simpleFile();
        CompoundFile reader(bytesOf(file), std::size_t(file.size()));
        QVERIFY(reader.open());
        for (const char* path : {"/Small", "/Large"}) {
            std::optional<CompoundStream> stream = reader.stream(path);
            QVERIFY(stream);
            QByteArray collected;
            unsigned char chunk[37];
            std::size_t got = 0;
            while ((got = stream->read(chunk, sizeof chunk)) > 0)
                collected.append(reinterpret_cast<const char*>(chunk), qsizetype(got));
            QCOMPARE(collected, path[1] == 'S' ? pattern(100, 1) : pattern(10000, 2));
            QCOMPARE(stream->position(), std::uint64_t(stream->size()));
            QCOMPARE(stream->read(chunk, sizeof chunk), std::size_t(0));
            stream->seek(std::uint64_t(stream->size()) - 5);
            QCOMPARE(stream->read(chunk, sizeof chunk), std::size_t(5));
            QCOMPARE(stream->read(nullptr, 10), std::size_t(0));
        }
    }

    void fatChainLoopEnds()
    {
        CfbLayout layout;
        QByteArray file = simpleFile(&layout);
        const quint32 first = layout.startSector.value(QStringLiteral("/Large"));
        // The third sector of the stream points back to the first.
        putU32(file, layout.fatEntryOffset(first + 2), first);
        const std::optional<QByteArray> got = readStream(file, "/Large");
        QVERIFY(got);
        QCOMPARE(got->size(), 3 * 512);
        QCOMPARE(*got, pattern(10000, 2).left(3 * 512));
    }

    void miniChainLoopEnds()
    {
        CfbLayout layout;
        CfbWriter writer;
        writer.addStream(QStringLiteral("/Small"), pattern(300, 1));
        QByteArray file = writer.build(&layout);
        // Mini sector 1 points to itself.
        const qsizetype miniFat = layout.sectorOffset(layout.firstMiniFatSector);
        putU32(file, miniFat + 4, 1);
        const std::optional<QByteArray> got = readStream(file, "/Small");
        QVERIFY(got);
        QCOMPARE(*got, pattern(300, 1).left(128));
    }

    void sizeBeyondChainReadsOnlyTheChain()
    {
        CfbLayout layout;
        QByteArray file = simpleFile(&layout);
        putU32(file, layout.directoryEntryOffset(layout.entryIndex.value(QStringLiteral("/Large"))) + 120, 0xFFFFFFFF);
        CompoundFile reader(bytesOf(file), std::size_t(file.size()));
        QVERIFY(reader.open());
        std::optional<CompoundStream> stream = reader.stream("/Large");
        QVERIFY(stream);
        QCOMPARE(stream->size(), 0xFFFFFFFFu);
        QCOMPARE(stream->readableSize(), std::uint64_t(20 * 512));
        QByteArray out(20 * 512 + 100, '\0');
        QCOMPARE(stream->read(reinterpret_cast<unsigned char*>(out.data()), std::size_t(out.size())),
                 std::size_t(20 * 512));
        QCOMPARE(out.left(10000), pattern(10000, 2));
    }

    void difatExtendsTheFat_data()
    {
        QTest::addColumn<int>("sectorShift");
        QTest::addColumn<int>("streamSize");
        QTest::addColumn<int>("minimumDifatSectors");
        // 512-byte sectors: 110 FAT sectors describe more than 13952 sectors.
        QTest::newRow("512-byte sectors") << 9 << 14000 * 512 << 1;
        // 128-byte sectors: 31 FAT numbers per DIFAT sector, so a chain of them.
        QTest::newRow("128-byte sectors, chained DIFAT") << 7 << 7000 * 128 << 3;
    }
    void difatExtendsTheFat()
    {
        QFETCH(int, sectorShift);
        QFETCH(int, streamSize);
        QFETCH(int, minimumDifatSectors);
        CfbLayout layout;
        CfbWriter writer(sectorShift);
        const QByteArray payload = pattern(streamSize, 8);
        writer.addStream(QStringLiteral("/Big"), payload);
        writer.addStream(QStringLiteral("/Tail"), pattern(333, 9));
        const QByteArray file = writer.build(&layout);
        QVERIFY(layout.fatSectorCount > 109);
        QVERIFY(layout.difatSectorCount >= quint32(minimumDifatSectors));
        QCOMPARE(readStream(file, "/Big"), std::optional<QByteArray>(payload));
        // The directory and mini stream lie past the first 109 FAT sectors' reach.
        QCOMPARE(readStream(file, "/Tail"), std::optional<QByteArray>(pattern(333, 9)));
    }

    void hostileDifatChainEnds()
    {
        CfbLayout layout;
        CfbWriter writer(7);
        writer.addStream(QStringLiteral("/Big"), pattern(7000 * 128, 8));
        QByteArray file = writer.build(&layout);
        QVERIFY(layout.difatSectorCount >= 2);
        // The first DIFAT sector names itself as the next one, and the
        // header claims far more DIFAT sectors than exist.
        putU32(file, layout.sectorOffset(layout.firstDifatSector) + 124, layout.firstDifatSector);
        putU32(file, 72, 0x7FFFFFFF);
        putU32(file, 44, 0xFFFFFFFF);
        CompoundFile reader(bytesOf(file), std::size_t(file.size()));
        QVERIFY(reader.open());
        // Only the first DIFAT sector's FAT sectors are read, which do not
        // reach the directory at the end of the file: the stream is lost,
        // but opening ends promptly.
        QVERIFY(!reader.stream("/Big"));
    }

    // Sibling and child links that loop, point back at the root or run
    // out of the directory end their branch; the walk never recurses.
    void hostileDirectoryLinks()
    {
        CfbLayout layout;
        CfbWriter writer;
        writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
        writer.addStream(QStringLiteral("/First"), pattern(10, 1));
        writer.addStream(QStringLiteral("/Second"), pattern(20, 2));
        writer.addStream(QStringLiteral("/Third"), pattern(30, 3));
        QByteArray file = writer.build(&layout);
        const qsizetype first = layout.directoryEntryOffset(1);
        const qsizetype second = layout.directoryEntryOffset(2);
        const qsizetype third = layout.directoryEntryOffset(3);
        putU32(file, first + 68, 1);          // left to itself
        putU32(file, second + 68, 0);         // left to the root
        putU32(file, second + 76, 0);         // a stream with the root as child
        putU32(file, third + 72, 1);          // right back to the first
        putU32(file, third + 68, 0x7FFFFFFF); // far outside the directory
        QCOMPARE(readStream(file, "/First"), std::optional<QByteArray>(pattern(10, 1)));
        QCOMPARE(readStream(file, "/Second"), std::optional<QByteArray>(pattern(20, 2)));
        QCOMPARE(readStream(file, "/Third"), std::optional<QByteArray>(pattern(30, 3)));
        QVERIFY(!readStream(file, "/Second/First"));
    }

    void longSiblingChainDoesNotRecurse()
    {
        CfbWriter writer;
        writer.setSiblingLayout(CfbWriter::SiblingLayout::RightChain);
        const int count = 30000;
        for (int i = 0; i < count; ++i)
            writer.addStream(QStringLiteral("/S%1").arg(i), QByteArray());
        writer.addStream(QStringLiteral("/Last"), pattern(16, 4));
        QCOMPARE(readStream(writer.build(), "/Last"), std::optional<QByteArray>(pattern(16, 4)));
    }

    void damagedMiniStreamReadsNothing()
    {
        CfbLayout layout;
        QByteArray file = simpleFile(&layout);
        putU32(file, layout.directoryEntryOffset(0) + 116, 0xFFFFFFFE);
        const std::optional<QByteArray> got = readStream(file, "/Small");
        QVERIFY(got);
        QVERIFY(got->isEmpty());
        QCOMPARE(readStream(file, "/Large"), std::optional<QByteArray>(pattern(10000, 2)));
    }

    void invalidEntriesAreSkipped()
    {
        CfbLayout layout;
        QByteArray file = simpleFile(&layout);
        const qsizetype small = layout.directoryEntryOffset(layout.entryIndex.value(QStringLiteral("/Small")));
        QByteArray unknownType = file;
        unknownType[small + 66] = char(3);
        QVERIFY(!readStream(unknownType, "/Small"));
        QByteArray noNameLength = file;
        putU16(noNameLength, small + 64, 0);
        QVERIFY(!readStream(noNameLength, "/Small"));
        QByteArray overlongNameLength = file;
        putU16(overlongNameLength, small + 64, 0xFFFF);
        QCOMPARE(readStream(overlongNameLength, "/Small"), std::optional<QByteArray>(pattern(100, 1)));
    }

    // Random damage to a valid file must never crash, hang or read out of
    // bounds (the sanitizers watch); readable sizes stay within the data.
    void randomDamageIsSurvived()
    {
        CfbWriter writer;
        writer.addStream(QStringLiteral("/CONTENTS"), pattern(700, 1));
        writer.addStream(QStringLiteral("/Sub/Package"), pattern(9000, 2));
        writer.addStream(QString::fromLatin1("/\x01Ole10Native"), pattern(60, 3));
        const QByteArray original = writer.build();
        QRandomGenerator random(20240601);
        for (int round = 0; round < 3000; ++round) {
            QByteArray file = original;
            const int changes = 1 + int(random.bounded(8));
            for (int c = 0; c < changes; ++c) {
                // Favour the header and the tables, where damage matters most.
                const qsizetype at = random.bounded(2) ? random.bounded(512) : random.bounded(file.size());
                file[at] = char(random.bounded(2) ? 0xFF : random.bounded(256));
            }
            CompoundFile reader(bytesOf(file), std::size_t(file.size()));
            if (!reader.open())
                continue;
            for (const char* path : {"/CONTENTS", "/Sub/Package", "/Ole10Native"}) {
                if (std::optional<CompoundStream> stream = reader.stream(path)) {
                    QVERIFY(stream->readableSize() <= std::uint64_t(file.size()) + 4096);
                    QByteArray out(qsizetype(stream->readableSize()), '\0');
                    stream->read(reinterpret_cast<unsigned char*>(out.data()), std::size_t(out.size()));
                }
            }
        }
    }
};

QUORVIA_GUI_TEST_MAIN(TestCompoundFile)
#include "tst_compound_file.moc"
