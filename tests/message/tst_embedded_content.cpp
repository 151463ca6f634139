#include "message/embedded_content.h"
#include "message/tessil_message.h"
#include "support/cfb_writer.h"
#include "support/test_main.h"

#include <QGuiApplication>

using testsupport::CfbLayout;
using testsupport::CfbWriter;

namespace {

// The IStorage interface id that precedes the compound file.
const QByteArray kInterfaceId("\x0B\0\0\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16);

QByteArray payload(const char* tag, qsizetype size)
{
    QByteArray bytes = QByteArray(tag).repeated(int(size / qsizetype(qstrlen(tag)) + 1));
    bytes.truncate(size);
    return bytes;
}

TessilAttachment oleAttachment(const CfbWriter& writer)
{
    TessilAttachment attachment;
    attachment.fileName = QStringLiteral("object.bin");
    attachment.data = kInterfaceId + writer.build();
    attachment.isOle = true;
    return attachment;
}

} // namespace

class TestEmbeddedContent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extraction_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("isOle");
        QTest::addColumn<QByteArray>("expected"); // empty: the stored data

        const QByteArray contents = payload("contents ", 700);
        const QByteArray package = payload("package ", 5000);
        const QByteArray native = payload("\x10\0\0\0native", 90);

        CfbWriter both;
        both.addStream(QStringLiteral("/Package"), package);
        both.addStream(QStringLiteral("/CONTENTS"), contents);
        QTest::newRow("CONTENTS before Package") << oleAttachment(both).data << true << contents;
        QTest::newRow("not marked as OLE") << oleAttachment(both).data << false << QByteArray();

        CfbWriter emptyContents;
        emptyContents.addStream(QStringLiteral("/CONTENTS"), QByteArray());
        emptyContents.addStream(QStringLiteral("/Package"), package);
        emptyContents.addStream(QString::fromLatin1("/\x01Ole10Native"), native);
        QTest::newRow("empty CONTENTS passed over") << oleAttachment(emptyContents).data << true << package;

        CfbWriter nativeOnly;
        nativeOnly.addStream(QString::fromLatin1("/\x01Ole10Native"), native);
        nativeOnly.addStream(QString::fromLatin1("/\x01" "CompObj"), payload("compobj", 40));
        QTest::newRow("Ole10Native whole, size field included") << oleAttachment(nativeOnly).data << true << native;

        CfbWriter storageNamedContents;
        storageNamedContents.addStorage(QStringLiteral("/CONTENTS"));
        storageNamedContents.addStream(QStringLiteral("/CONTENTS/Inner"), contents);
        storageNamedContents.addStream(QStringLiteral("/Ole10Native"), native);
        QTest::newRow("a storage named CONTENTS is no stream") << oleAttachment(storageNamedContents).data << true
                                                              << native;

        CfbWriter otherStreams;
        otherStreams.addStream(QStringLiteral("/WordDocument"), contents);
        otherStreams.addStorage(QStringLiteral("/Sub"));
        otherStreams.addStream(QStringLiteral("/Sub/CONTENTS"), contents);
        QTest::newRow("only other streams") << oleAttachment(otherStreams).data << true << QByteArray();

        CfbWriter large;
        large.addStream(QStringLiteral("/CONTENTS"), payload("%PDF-1.4 large ", 100000));
        QTest::newRow("large CONTENTS in regular sectors") << oleAttachment(large).data << true
                                                          << payload("%PDF-1.4 large ", 100000);

        QTest::newRow("shorter than 20 bytes") << kInterfaceId + QByteArray("\xD0\xCF\x11") << true << QByteArray();
        QTest::newRow("no compound file after the id") << kInterfaceId + QByteArray(600, 'x') << true << QByteArray();
        QByteArray badHeader = oleAttachment(both).data;
        badHeader[16 + 56] = char(0xFF); // cutoff 4351
        QTest::newRow("compound file with a bad header") << badHeader << true << QByteArray();
    }
    void extraction()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, isOle);
        QFETCH(QByteArray, expected);
        TessilAttachment attachment;
        attachment.data = data;
        attachment.isOle = isOle;
        const QByteArray wanted = expected.isEmpty() ? data : expected;
        QCOMPARE(attachment.content(), wanted);
        QCOMPARE(attachment.contentSize(), wanted.size());
        // Nothing is cached: a second call extracts the same bytes again.
        QCOMPARE(attachment.content(), wanted);
        if (isOle)
            QCOMPARE(extractEmbeddedContent(attachment), wanted);
    }

    // A directory that claims a 4 GiB stream must not make content()
    // allocate it: only what the stream's chain holds is returned.
    void hostileStreamSizeIsBounded()
    {
        CfbLayout layout;
        CfbWriter writer;
        writer.addStream(QStringLiteral("/CONTENTS"), payload("abc", 5000));
        QByteArray file = writer.build(&layout);
        testsupport::putU32(file, layout.directoryEntryOffset(layout.entryIndex.value(QStringLiteral("/CONTENTS"))) + 120,
                            0xFFFFFFFF);
        TessilAttachment attachment;
        attachment.data = kInterfaceId + file;
        attachment.isOle = true;
        const QByteArray content = attachment.content();
        QCOMPARE(content.size(), 10 * 512); // the chain's ten sectors
        QVERIFY(content.startsWith(payload("abc", 5000)));
        QCOMPARE(attachment.contentSize(), content.size());
    }
};

QUORVIA_GUI_TEST_MAIN(TestEmbeddedContent)
#include "tst_embedded_content.moc"
