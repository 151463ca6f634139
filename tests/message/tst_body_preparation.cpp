// Which body the view shows and how: HTML with inlined cid: images, RTF
// through the converter, plain text in a page; emptiness; the information
// line's date and size.

#include "message/body_preparation.h"
#include "message/info_line.h"
#include "message/tessil_message.h"
#include "rtf/rtf_to_html.h"
#include "rtf/visible_text.h"
#include "support/test_main.h"

#include <QGuiApplication>

#include <ctime>

namespace {

QSharedPointer<TessilAttachment> attachment(const QByteArray& data, const QString& contentId = QString(),
                                            const QString& mimeType = QString())
{
    auto result = QSharedPointer<TessilAttachment>::create();
    result->fileName = QStringLiteral("file.bin");
    result->data = data;
    result->contentId = contentId;
    result->mimeType = mimeType;
    return result;
}

QString prePage(const QString& escaped)
{
    return QStringLiteral("<html><body><pre style='font-family:sans-serif;'>%1</pre></body></html>").arg(escaped);
}

} // namespace

class TestBodyPreparation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Central European time without a zone database.
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }

    // --- Body choice ----------------------------------------------------------

    void htmlBodyComesFirst()
    {
        TessilMessage message;
        message.htmlBody = "<html><body><p>Hello \xC3\xA9</p></body></html>";
        message.rtfBody = "{\\rtf1 RTF\\par}";
        message.plainBody = QStringLiteral("plain");
        QCOMPARE(prepareBodyHtml(message), QStringLiteral("<html><body><p>Hello \u00E9</p></body></html>"));
    }

    void emptyLookingHtmlGivesWayToRtf()
    {
        TessilMessage message;
        message.htmlBody = "<html><head><style>\np { margin: 0 }\n</style></head><body>\n \n</body></html>";
        message.rtfBody = "{\\rtf1 From RTF\\par}";
        message.plainBody = QStringLiteral("plain");
        QCOMPARE(prepareBodyHtml(message), rtf::rtfToHtml(message.rtfBody));
        QVERIFY(prepareBodyHtml(message).contains(QStringLiteral("<p>From RTF</p>")));
    }

    void emptyLookingHtmlGivesWayToPlainText()
    {
        TessilMessage message;
        message.htmlBody = "<html><body><script>document.write('x')</script></body></html>";
        message.plainBody = QStringLiteral("  a < b & c\n\n");
        QCOMPARE(prepareBodyHtml(message), prePage(QStringLiteral("a &lt; b &amp; c")));
    }

    // The font shorthand is evened out to 14 pixels, even where it occurs in
    // the text; the converter's font-size declarations keep their values.
    void rtfFontShorthandEvenedOut()
    {
        TessilMessage message;
        message.rtfBody = "{\\rtf1 {\\fs24 Sized} font:  9.5px Arial, font:12px x\\par}";
        const QString html = prepareBodyHtml(message);
        QVERIFY2(html.contains(QStringLiteral("font-size:12px; ")), qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("font: 14px Arial, font: 14px x")), qPrintable(html));
        QCOMPARE(html, rtf::rtfToHtml(message.rtfBody).replace(QStringLiteral("font:  9.5px "), QStringLiteral("font: 14px "))
                           .replace(QStringLiteral("font:12px "), QStringLiteral("font: 14px ")));
    }

    void emptyLookingRtfGivesWayToPlainText()
    {
        TessilMessage message;
        message.rtfBody = "  \r\n ";
        message.plainBody = QStringLiteral("text");
        QCOMPARE(prepareBodyHtml(message), prePage(QStringLiteral("text")));
    }

    void nothingVisibleGivesAnEmptyResult_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("plain");
        QTest::newRow("no bodies") << QByteArray() << QString();
        QTest::newRow("plain body of spaces and line breaks") << QByteArray() << QStringLiteral("  \r\n\t \n");
        QTest::newRow("html of white space, plain of controls") << QByteArray("<p> </p>") << QStringLiteral("\u200B\u0007");
    }
    void nothingVisibleGivesAnEmptyResult()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, plain);
        TessilMessage message;
        message.htmlBody = html;
        message.plainBody = plain;
        const QString result = prepareBodyHtml(message);
        QVERIFY(result.isEmpty());
        QVERIFY(result.isNull());
    }

    // --- cid: images -----------------------------------------------------------

    void inlinesReferencedImages()
    {
        TessilMessage message;
        message.htmlBody = "<img src=\"cid:logo@x\"><img src=\"cid:photo\"><img src='cid:logo@x'>"
                           "<img src=\"CID:photo\"><p>cid:other</p>";
        message.attachments << attachment("PNGDATA", QStringLiteral("logo@x"))
                            << attachment("\xFF\xD8\xFF", QStringLiteral("photo"), QStringLiteral("image/jpeg"))
                            << attachment("unreferenced", QStringLiteral("never"))
                            << attachment("no id");
        QCOMPARE(inlineCidImages(message),
                 QByteArray("<img src=\"data:image/png;base64,UE5HREFUQQ==\"><img src=\"data:image/jpeg;base64,/9j/\">"
                            "<img src='data:image/png;base64,UE5HREFUQQ=='><img src=\"CID:photo\"><p>cid:other</p>"));

        // The view gets the same, decoded.
        message.htmlBody += "<p>text</p>";
        QCOMPARE(prepareBodyHtml(message), QString::fromUtf8(inlineCidImages(message)));
    }

    void inlinesEmbeddedObjectsContent()
    {
        // An OLE attachment whose storage holds nothing known falls back to its bytes.
        TessilMessage message;
        message.htmlBody = "<img src=\"cid:x\">";
        auto ole = attachment("not a compound file", QStringLiteral("x"), QStringLiteral("image/gif"));
        ole->isOle = true;
        message.attachments << ole;
        QCOMPARE(inlineCidImages(message),
                 QByteArray("<img src=\"data:image/gif;base64,") + ole->content().toBase64() + "\">");
    }

    // One large image named thousands of times is inlined once per reference
    // only while the body stays within a bound; later references keep cid:.
    void inliningIsBounded()
    {
        TessilMessage message;
        const QByteArray reference = "<img src=\"cid:big\">";
        message.htmlBody = reference.repeated(400);
        message.attachments << attachment(QByteArray(1 << 20, 'i'), QStringLiteral("big"));
        const QByteArray inlined = inlineCidImages(message);
        const qsizetype encoded = ((1 << 20) + 2) / 3 * 4;
        QVERIFY(inlined.size() <= message.htmlBody.size() + 64 * 1024 * 1024 + encoded);
        QVERIFY(inlined.startsWith("<img src=\"data:image/png;base64,aWlp"));
        QVERIFY(inlined.endsWith(reference));
        const qsizetype inlinedCount = inlined.count("data:image/png");
        QVERIFY(inlinedCount > 1);
        QCOMPARE(inlinedCount + inlined.count("cid:big"), qsizetype(400));
    }

    // --- Emptiness -------------------------------------------------------------

    void looksEmpty_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("empty");
        QTest::newRow("text") << QStringLiteral("<p>x</p>") << false;
        QTest::newRow("style and white space") << QStringLiteral("<html><head><STYLE>\nbody{}\n</STYLE></head><body>\n\t</body></html>") << true;
        QTest::newRow("script") << QStringLiteral("<body><script type=\"text/javascript\">\nvar a = 1;\n</script></body>") << true;
        QTest::newRow("no-break spaces") << QStringLiteral("<p>&nbsp;&nbsp;</p>") << true;
        QTest::newRow("zero-width space") << QStringLiteral("<p>&#x200B;</p>") << true;
        QTest::newRow("private use") << QStringLiteral("<p>&#xF0B7;</p>") << true;
        QTest::newRow("image alone") << QStringLiteral("<img src=\"x.png\">") << true;
        QTest::newRow("emoji alone") << QStringLiteral("<p>\U0001F600</p>") << false;
        QTest::newRow("table with one dash") << QStringLiteral("<table><tr><td>-</td></tr></table>") << false;
    }
    void looksEmpty()
    {
        QFETCH(QString, html);
        QFETCH(bool, empty);
        QCOMPARE(::looksEmpty(html), empty);
    }

    void visibleCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("visible");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("white space") << QStringLiteral(" \t\r\n\v\f") << false;
        QTest::newRow("separators") << QStringLiteral("\u00A0\u2003\u2028\u2029\u3000") << false;
        QTest::newRow("controls") << QStringLiteral("\u0001\u007F\u0085") << false;
        QTest::newRow("format characters") << QStringLiteral("\u200B\u200E\uFEFF\u00AD") << false;
        QTest::newRow("object replacement") << QStringLiteral("\uFFFC") << false;
        QTest::newRow("private use") << QStringLiteral("\uE000\uF8FF") << false;
        QTest::newRow("unassigned") << QStringLiteral("\u0378") << false;
        QTest::newRow("lone surrogates") << QString(QChar(0xDE00)) + QChar(0xD83D) + QChar(0x20) + QChar(0xD83D) << false;
        QTest::newRow("letter after invisibles") << QStringLiteral(" \u200B\uFFFCa") << true;
        QTest::newRow("punctuation") << QStringLiteral(".") << true;
        QTest::newRow("character beyond the first plane") << QStringLiteral("\U0001F600") << true;
        QTest::newRow("private use beyond the first plane") << QStringLiteral("\U000F0000") << false;
    }
    void visibleCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, visible);
        QCOMPARE(::hasVisibleText(text), visible);
    }

    // The converter's check counts what the rich-text engine keeps; this one
    // judges characters: an image's placeholder is visible to the first only.
    void twoVisibilityChecksDiffer()
    {
        const QString image = QStringLiteral("<img src=\"x.png\">");
        QVERIFY(rtf::hasVisibleText(image));
        QVERIFY(::looksEmpty(image));
    }

    // --- Information line --------------------------------------------------------

    void formatsTotalSize_data()
    {
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QList<qint64>{} << QStringLiteral("0 B");
        QTest::newRow("bytes") << QList<qint64>{1000, 23} << QStringLiteral("1023 B");
        QTest::newRow("one kilobyte") << QList<qint64>{1024} << QStringLiteral("1.0 KB");
        QTest::newRow("one and a half") << QList<qint64>{1536} << QStringLiteral("1.5 KB");
        QTest::newRow("just below a megabyte") << QList<qint64>{1048575} << QStringLiteral("1024.0 KB");
        QTest::newRow("one megabyte") << QList<qint64>{1048576} << QStringLiteral("1.0 MB");
        QTest::newRow("megabytes") << QList<qint64>{3 * 1048576 + 104858} << QStringLiteral("3.1 MB");
        QTest::newRow("one gigabyte") << QList<qint64>(1024, 1048576) << QStringLiteral("1.0 GB");
        QTest::newRow("beyond 32 bits") << QList<qint64>(4608, 1048576) << QStringLiteral("4.5 GB");
    }
    void formatsTotalSize()
    {
        QFETCH(QList<qint64>, sizes);
        QFETCH(QString, text);
        // Attachments of the same size share one buffer.
        QHash<qint64, QByteArray> buffers;
        TessilMessage message;
        for (qint64 size : sizes) {
            if (!buffers.contains(size))
                buffers.insert(size, QByteArray(size, 'x'));
            message.attachments << attachment(buffers.value(size));
        }
        QCOMPARE(formatTotalSize(message), text);
    }

    void formatsDate()
    {
        TessilMessage message;
        QCOMPARE(formatDateInfo(message), QString());
        message.attachments << attachment(QByteArray(1536, 'x'));
        QCOMPARE(formatDateInfo(message) + formatTotalSize(message), QStringLiteral("1.5 KB"));

        message.sentTime = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC);
        QCOMPARE(formatDateInfo(message), QStringLiteral("2024-03-05 15:07:09, "));
        message.sentTime = QDateTime(QDate(2024, 7, 1), QTime(23, 30, 0), Qt::UTC);
        QCOMPARE(formatDateInfo(message), QStringLiteral("2024-07-02 01:30:00, "));
    }
};

QUORVIA_GUI_TEST_MAIN(TestBodyPreparation)
#include "tst_body_preparation.moc"
