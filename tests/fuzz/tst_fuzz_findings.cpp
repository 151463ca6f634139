// Inputs found by the fuzzers (fuzz/), reduced, each with the outcome that
// the fault had broken: a result or a clean failure, not merely "no crash".

#include "message/body_preparation.h"
#include "message/body_text.h"
#include "message/tessil_message.h"
#include "support/test_main.h"

#include <QElapsedTimer>
#include <QGuiApplication>

class TestFuzzFindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A UTF-8 lead byte at the very end of a body was taken for the start of
    // a character still to come: the decoder reported no error and the last
    // letter of a Windows-1252 body vanished (found as "\xE7" alone, which
    // decoded to an empty text). And a U+FEFF right after a UTF-16 mark was
    // dropped as a second mark (found as FE FF FE FF, which gave nothing).
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
        QTest::newRow("U+FEFF after the LE mark") << QByteArray("\xFF\xFE\xFF\xFEa\0", 6) << 0u
                                                 << QString(QChar(0xFEFF)) + QLatin1Char('a');
    }
    void bodyText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, codePage);
        QFETCH(QString, text);
        QCOMPARE(decodeBodyText(bytes.constData(), bytes.size(), codePage), text);
    }

    // Qt's HTML importer spends time on each image in proportion to the
    // document before it, so judging whether an HTML body of thousands of
    // images shows anything took minutes (16,000 tags: over five). Images
    // render as U+FFFC, which never counts as visible, so the judgement now
    // leaves them out; the answers stay the same.
    void manyImagesJudgedQuickly_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("empty");

        const QString images = QStringLiteral("<img src=\"cid:c1\">").repeated(20000);
        QTest::newRow("found: images only") << QStringLiteral("<html><body>%1</body></html>").arg(images) << true;
        QTest::newRow("images then text") << QStringLiteral("<html><body>%1 Hello</body></html>").arg(images) << false;
        QTest::newRow("images on their own lines")
            << QStringLiteral("<html><body>%1</body></html>").arg(QStringLiteral("<br><IMG SRC=x>").repeated(20000))
            << true;
        QTest::newRow("quoted > inside the tag") << QStringLiteral("<p><img alt=\"a>b\" src='c>d'></p>") << true;
        QTest::newRow("unfinished tag is text to Qt") << QStringLiteral("<p>x<img src=\"a") << false;
        QTest::newRow("img-like text stays") << QStringLiteral("<p>&lt;img&gt; 2 &lt; 3</p>") << false;
    }
    void manyImagesJudgedQuickly()
    {
        QFETCH(QString, html);
        QFETCH(bool, empty);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(looksEmpty(html), empty);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
    }

    // Inlining "cid:" images could grow the body by 64 MiB whatever the
    // message's size, so a message of a few kilobytes that names a small
    // image thousands of times asked for hundreds of times its size. The
    // growth now also stays within 16 times the message's bytes.
    void inliningBoundedByMessageSize_data()
    {
        QTest::addColumn<int>("references");
        QTest::addColumn<int>("imageBytes");
        QTest::addColumn<int>("expectInlined");

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
        const QByteArray reference = "<img src=\"cid:a\">";
        message.htmlBody = reference.repeated(references);
        auto image = QSharedPointer<TessilAttachment>::create();
        image->fileName = QStringLiteral("a.png");
        image->contentId = QStringLiteral("a");
        image->data = QByteArray(imageBytes, 'i');
        message.attachments << image;

        const QByteArray inlined = inlineCidImages(message);
        const qsizetype messageBytes = message.htmlBody.size() + imageBytes;
        const qsizetype encoded = (qsizetype(imageBytes) + 2) / 3 * 4;
        QVERIFY(inlined.size() <= message.htmlBody.size() + 16 * messageBytes + encoded + 64);
        QVERIFY(inlined.startsWith("<img src=\"data:image/png;base64,aWlp"));
        const qsizetype inlinedCount = inlined.count("data:image/png");
        QCOMPARE(inlinedCount + inlined.count("cid:a"), qsizetype(references));
        if (expectInlined >= 0)
            QCOMPARE(inlinedCount, qsizetype(expectInlined));
        else
            QVERIFY(inlinedCount < references);
    }
};

QUORVIA_GUI_TEST_MAIN(TestFuzzFindings)
#include "tst_fuzz_findings.moc"
