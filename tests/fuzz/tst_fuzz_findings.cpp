// Inputs found by the fuzzers (fuzz/), reduced, each with the outcome that
// the fault had broken: a result or a clean failure, not merely "no crash".

#include "message/body_preparation.h"
#include "message/body_text.h"
#include "message/tessil_message.h"
#include "support/lzfu_compressor.h"
#include "support/test_main.h"
#include "tnef/compressed_rtf.h"

#include <QElapsedTimer>
#include <QGuiApplication>

class TestFuzzFindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A UTF-8 lead byte at the end of a body was taken for a character still
    // to come, and the last letter vanished ("\xE7" gave an empty text). A
    // U+FEFF right after a UTF-16 mark was dropped as a second mark.
    void bodyText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QString>("text");
        QTest::newRow("found: one byte") << QByteArray("\xE7") << 1252u << QStringLiteral("ç");
        QTest::newRow("accent last, no code page") << QByteArray("caf\xE9") << 0u << QStringLiteral("café");
        QTest::newRow("accent last, terminated") << QByteArray("caf\xE9", 5) << 0u << QStringLiteral("café");
        QTest::newRow("two-byte lead last") << QByteArray("Jos\xC3") << 0u << QStringLiteral("JosÃ");
        QTest::newRow("complete UTF-8 unchanged") << QByteArray("caf\xC3\xA9") << 1252u << QStringLiteral("café");
        QTest::newRow("UTF-8 mark still consumed") << QByteArray("\xEF\xBB\xBFok") << 0u << QStringLiteral("ok");
        QTest::newRow("found: U+FEFF after the mark") << QByteArray("\xFE\xFF\xFE\xFF") << 949u << QString(QChar(0xFEFF));
        QTest::newRow("U+FEFF after the LE mark") << QByteArray("\xFF\xFE\xFF\xFE" "a\0", 6) << 0u << QString(QChar(0xFEFF)) + QLatin1Char('a');
    }
    void bodyText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, codePage);
        QTEST(decodeBodyText(bytes.constData(), bytes.size(), codePage), "text");
    }

    // Judging whether thousands of images show anything took minutes in Qt's
    // HTML importer; images (U+FFFC) never count as visible, so they are left out.
    void manyImagesJudgedQuickly_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("empty");
        const QString images = QStringLiteral("<img src=\"cid:c1\">").repeated(20000);
        QTest::newRow("found: images only") << QStringLiteral("<html><body>%1</body></html>").arg(images) << true;
        QTest::newRow("images then text") << QStringLiteral("<html><body>%1 Hello</body></html>").arg(images) << false;
        QTest::newRow("images on their own lines") << QStringLiteral("<html><body>%1</body></html>").arg(QStringLiteral("<br><IMG SRC=x>").repeated(20000)) << true;
        QTest::newRow("quoted > inside the tag") << QStringLiteral("<p><img alt=\"a>b\" src='c>d'></p>") << true;
        QTest::newRow("unfinished tag is text to Qt") << QStringLiteral("<p>x<img src=\"a") << false;
        QTest::newRow("img-like text stays") << QStringLiteral("<p>&lt;img&gt; 2 &lt; 3</p>") << false;
    }
    void manyImagesJudgedQuickly()
    {
        QFETCH(QString, html);
        QElapsedTimer timer;
        timer.start();
        QTEST(looksEmpty(html), "empty");
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    }

    // Inlining "cid:" images could grow a few-kilobyte body by 64 MiB; the
    // growth now also stays within 16 times the message's bytes.
    void inliningBoundedByMessageSize_data()
    {
        QTest::addColumn<int>("references");
        QTest::addColumn<int>("imageBytes");
        QTest::addColumn<int>("expectInlined");  // -1: fewer than all
        QTest::newRow("found: small message, many references") << 4000 << 3000 << -1;
        QTest::newRow("a logo repeated a dozen times") << 12 << 30000 << 12;
        QTest::newRow("one reference to a large image") << 1 << 4000000 << 1;
    }
    void inliningBoundedByMessageSize()
    {
        QFETCH(int, references);
        QFETCH(int, imageBytes);
        QFETCH(int, expectInlined);
        TessilMessage message;
        message.htmlBody = QByteArray("<img src=\"cid:a\">").repeated(references);
        auto image = QSharedPointer<TessilAttachment>::create();
        image->fileName = QStringLiteral("a.png");
        image->contentId = QStringLiteral("a");
        image->data = QByteArray(imageBytes, 'i');
        message.attachments << image;
        const QByteArray inlined = inlineCidImages(message);
        const qsizetype messageBytes = message.htmlBody.size() + imageBytes;
        QVERIFY(inlined.size() <= message.htmlBody.size() + 16 * messageBytes + (qsizetype(imageBytes) + 2) / 3 * 4 + 64);
        QVERIFY(inlined.startsWith("<img src=\"data:image/png;base64,aWlp"));
        const qsizetype inlinedCount = inlined.count("data:image/png");
        QCOMPARE(inlinedCount + inlined.count("cid:a"), qsizetype(references));
        QVERIFY(expectInlined >= 0 ? inlinedCount == expectInlined : inlinedCount < references);
    }

    // Past 4 KiB of output, a reference more than 16 bytes back was copied
    // through an index that wrapped around the address space.
    void lzfuFarBackReference()
    {
        QByteArray rtf;
        for (int i = 0; i < 10000; ++i)
            rtf += char('0' + i % 50);
        const std::string stream = lzfu::compressStream(rtf.toStdString());
        std::unique_ptr<unsigned char, decltype(&free)> out(rtf_decompress(reinterpret_cast<const unsigned char*>(stream.data()), stream.size(), quint32(rtf.size())), &free);
        QVERIFY(out && QByteArray(reinterpret_cast<const char*>(out.get()), rtf.size()) == rtf);
    }
};

QUORVIA_GUI_TEST_MAIN(TestFuzzFindings)
#include "tst_fuzz_findings.moc"
