// The message model: body decoding, loading a file into a message, the
// rendered calendar and contact attachments, embedded objects, and what the
// view and tessil show of a message (the body, the information line, the tiles).

#include "message/attachment_type.h"
#include "message/body_preparation.h"
#include "message/body_text.h"
#include "message/calendar_rendering.h"
#include "message/contact_card.h"
#include "message/html_charset.h"
#include "message/info_line.h"
#include "message/mailbox_text.h"
#include "message/meeting_details.h"
#include "message/message_properties.h"
#include "message/prepared_message.h"
#include "message/property_names.h"
#include "message/property_values.h"
#include "message/tessil_parser.h"
#include "support/cfb_writer.h"
#include "support/message_fixtures.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "rtf/rtf_to_html.h"
#include "rtf/visible_text.h"
#include "tnef/tnef.h"

#include <QDir>
#include <cstring>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

#include <ctime>
#include <sys/stat.h>
#include <thread>

using namespace tnefwriter;

namespace {

const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");

QByteArray simpleMessage(const QByteArray& messageClass, const QString& subject, int attachments = 0)
{
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(MapiBlockWriter().add(MapiProp::unicode(PidTagSubject, subject)).add(MapiProp::string8(PidTagMessageClass, messageClass)));
    for (int i = 0; i < attachments; ++i)
        tnef.attachment(AttachmentSpec{"FILE" + QByteArray::number(i) + ".TXT", QString(), "data", {}, {}, {}});
    return tnef.bytes();
}

QByteArray ole(const QList<QPair<QString, QByteArray>>& streams, testsupport::CfbLayout* layout = nullptr)
{
    testsupport::CfbWriter cfb;
    for (const auto& [path, data] : streams)
        cfb.addStream(path, data);
    return oleObjectData(cfb.build(layout));
}

MessageProperty text(quint16 id, const QString& value) { return MessageProperty{id, 0x001F, value.toUtf8() + QByteArray(1, '\0')}; }
// An invalid time is one before 1970.
MessageProperty timeProp(quint16 id, const QDateTime& when) { return MessageProperty{id, 0x0040, le64(when.isValid() ? fileTime(when) : 1)}; }
QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0) { return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC); }

// The content lines; a bare CR or LF stays inside a line and spoils the comparison.
QStringList linesOf(const QByteArray& rendered)
{
    return QString::fromUtf8(rendered.endsWith("\r\n") ? rendered.chopped(2) : rendered + "<no final CR LF>").split(QStringLiteral("\r\n"));
}

QSharedPointer<TessilAttachment> attachment(const QByteArray& data, const QString& contentId = QString(), const QString& mime = QString())
{
    return QSharedPointer<TessilAttachment>(new TessilAttachment{QStringLiteral("f.bin"), mime, contentId, data});
}

// What Qt's rich-text engine shows of a page, as plain text (an image is
// U+FFFC); the scan behind looksEmpty and rtf::hasVisibleText must agree.
QString shownText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

// Printing characters, or with `anyButWhiteSpace` anything but white space.
bool lettersIn(const QString& text, bool anyButWhiteSpace)
{
    return anyButWhiteSpace ? !text.simplified().isEmpty() : hasVisibleText(text);
}

} // namespace

class TestMessage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Stored bytes read as what they mean, and kept as bytes when their
    // size does not fit their type, so that nothing is read past a value.
    void propertyValues()
    {
        using Kind = PropertyValue::Kind;
        PropertyValue v = decodePropertyValue(0x0003, le32(quint32(-7)), 0);
        QCOMPARE(v.kind, Kind::Integer);
        QCOMPARE(v.integer, -7);
        QCOMPARE(decodePropertyValue(0x0003, le32(5).left(3), 0).kind, Kind::Bytes);
        QCOMPARE(decodePropertyValue(0x0014, le32(5), 0).kind, Kind::Bytes);
        v = decodePropertyValue(0x0006, le64(quint64(-123456)), 0);
        QCOMPARE(v.kind, Kind::Currency);
        QCOMPARE(v.integer, -123456);
        v = decodePropertyValue(0x000A, le32(0x8004010F), 0);
        QCOMPARE(v.kind, Kind::ErrorCode);
        QCOMPARE(quint32(v.integer), 0x8004010Fu);
        // 2024-05-01 10:20:30.250 UTC as a FILETIME; past the last date a time can show, a number.
        v = decodePropertyValue(0x0040, le64(133590324302500000ULL), 0);
        QCOMPARE(v.kind, Kind::Time);
        QCOMPARE(v.time, QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30, 250), Qt::UTC));
        QCOMPARE(decodePropertyValue(0x0040, le64(~0ULL), 0).kind, Kind::Integer);
        // A floating time: days since 1899-12-30.
        const double days = 45413.5; // 2024-05-01 12:00
        quint64 bits;
        std::memcpy(&bits, &days, 8);
        v = decodePropertyValue(0x0007, le64(bits), 0);
        QCOMPARE(v.time, QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC));
        QCOMPARE(decodePropertyValue(0x001F, QByteArray("Caf\xc3\xa9\0", 6), 0).text, QString::fromUtf8("Caf\xc3\xa9"));
        QCOMPARE(decodePropertyValue(0x001E, QByteArray("\xcf\xf0\xe8\0", 4), 1251).text,
                 QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8"));
        QCOMPARE(decodePropertyValue(0x0048, QByteArray::fromHex("2803020000000000c000000000000046"), 0).text,
                 QStringLiteral("{00020328-0000-0000-C000-000000000046}"));
        QCOMPARE(decodePropertyValue(0x0048, QByteArray(15, 'x'), 0).kind, Kind::Bytes);

        MessageProperty multi;
        multi.id = 0x6801;
        multi.type = 0x0003;
        multi.multiValued = true;
        multi.values = {le32(1), le32(2), le16(3)};
        const QList<PropertyValue> values = decodePropertyValues(multi, 0);
        QCOMPARE(values.size(), 3);
        QCOMPARE(values.at(1).integer, 2);
        QCOMPARE(values.at(2).kind, Kind::Bytes);
        QCOMPARE(propertyTagText(propertyTag(multi)), QStringLiteral("0x68011003"));
        QCOMPARE(propertyTypeName(0x0003, true), QStringLiteral("PtypMultipleInteger32"));
        QCOMPARE(propertyTypeName(0x0ABC, false), QStringLiteral("0x0ABC"));
        QCOMPARE(taggedPropertyName(0x1013, 0x001F), QStringLiteral("PidTagBodyHtml"));
        QCOMPARE(taggedPropertyName(0x1013, 0x0102), QStringLiteral("PidTagHtml"));
        QCOMPARE(namedPropertyName({property_set::kInternetHeaders, 0, QStringLiteral("X-Mailer")}),
                 QStringLiteral("PS_INTERNET_HEADERS:X-Mailer"));
    }

    void initTestCase()
    {
        tnef_set_diagnostics(nullptr);
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3"); // Central European time without a zone database
        tzset();
    }

    // --- Body text: BOM, UTF-16 guess, UTF-8, declared page, East Asian guesses, 1252 ---

    void decodeBody_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QString>("text");
        QTest::newRow("one trailing zero dropped") << QByteArray("Hello", 6) << 0u << "Hello";
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBFna\xC3\xAFve") << 0u << "naïve";
        QTest::newRow("UTF-8 beats code page") << QByteArray("caf\xC3\xA9 \xE4\xBD\xA0") << 936u << "café 你";
        QTest::newRow("UTF-16LE mark") << "\xFF\xFE" + utf16le(QStringLiteral("Hi 中"), false) << 0u << "Hi 中";
        QTest::newRow("UTF-16BE mark") << QByteArray("\xFE\xFF\0H\0i\x4E\x2D", 8) << 0u << "Hi中";
        // The last character stays whole; a final zero unit is the terminator.
        QTest::newRow("UTF-16LE guessed") << QByteArray("H\0i\0", 4) << 0u << "Hi";
        QTest::newRow("UTF-16LE zero unit") << QByteArray("H\0i\0\0\0", 6) << 0u << "Hi";
        QTest::newRow("UTF-16BE guessed") << QByteArray("\0H\0i", 4) << 0u << "Hi";
        QTest::newRow("GBK guessed") << QByteArray("\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7") << 0u << "你好世界";
        QTest::newRow("Big5 after GBK") << QByteArray("\xA4\xA4\xA4\xE5") << 0u << "中文";
        QTest::newRow("Shift-JIS after Big5") << QByteArray("\x93\xFA\x96\x7B\xB1\x31") << 0u << "日本ｱ1";
        QTest::newRow("Korean by code page") << QByteArray("\xC7\xD1\xB1\xB9\xBE\xEE") << 949u << "한국어";
        QTest::newRow("Korean unguessed is GBK") << QByteArray("\xC7\xD1\xB1\xB9\xBE\xEE") << 0u << "茄惫绢";
        QTest::newRow("declared charset") << QByteArray("charset=\"euc-kr\">\xC7\xD1") << 0u << "charset=\"euc-kr\">한";
        QTest::newRow("code page beats declared") << QByteArray("charset=big5>\xC7\xD1") << 949u << "charset=big5>한";
        QTest::newRow("1252 fallback") << QByteArray("caf\xE9 \x80") << 0u << "café €";
        QTest::newRow("1252 despite code page") << QByteArray("na\xEFve caf\xE9") << 936u << "naïve café";
    }
    void decodeBody()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, codePage);
        QTEST(decodeBodyText(bytes.constData(), bytes.size(), codePage), "text");
    }

    void charsetRewrite_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("replace meta") << "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head>"
                                      << "<head><meta charset=\"utf-8\"></head>";
        QTest::newRow("insert in head") << "<html><HEAD lang=\"en\"><meta name=\"x\"></HEAD></html>"
                                        << "<html><HEAD lang=\"en\"><meta charset=\"utf-8\"><meta name=\"x\"></HEAD></html>";
        QTest::newRow("insert head") << "<html lang=\"de\"><body><header>x</header></body></html>"
                                     << "<html lang=\"de\"><head><meta charset=\"utf-8\"></head><body><header>x</header></body></html>";
        QTest::newRow("wrap") << "<p>Hi</p>" << "<html><head><meta charset=\"utf-8\"></head><body><p>Hi</p></body></html>";
    }
    void charsetRewrite()
    {
        QFETCH(QString, html);
        QTEST(QString::fromUtf8(normaliseHtmlCharset(html)), "expected");
    }

    // --- Loading ---------------------------------------------------------------

    // The file is read once and decoded in memory: no temporary file, not
    // even where none could be made, and attachment data shares the bytes.
    void loadingFromMemory()
    {
        TessilParser parser;
        QTemporaryDir folder;
        QTemporaryFile notAFolder; // a temporary folder that is a file defeats even root
        QVERIFY(notAFolder.open());
        const QByteArray bytes = simpleMessage("IPM.Note", QStringLiteral("ok"), 2);
        const QString path = folder.filePath(QStringLiteral("winmail.dat"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        for (const QString& temporary : {folder.filePath(QStringLiteral("tmp")), notAFolder.fileName()}) {
            QDir().mkpath(folder.filePath(QStringLiteral("tmp")));
            qputenv("TMPDIR", QFile::encodeName(temporary));
            QVERIFY(parser.parseData(bytes) && parser.parseFile(path));
            QVERIFY(!parser.hasError && parser.errorString.isEmpty());
            QCOMPARE(QDir(folder.filePath(QStringLiteral("tmp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        }
        qunsetenv("TMPDIR");
        const QSharedPointer<TessilMessage> message = parser.parseData(bytes);
        const char* data = message->attachmentAt(0)->data.constData();
        QVERIFY(data > bytes.constData() && data < bytes.constData() + bytes.size());

        // A pipe tells no size and is read to its end.
        const QString fifo = folder.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        std::thread writer([&] {
            QFile out(fifo);
            if (out.open(QIODevice::WriteOnly))
                out.write(bytes);
        });
        const QSharedPointer<TessilMessage> fromPipe = parser.parseFile(fifo);
        writer.join();
        QVERIFY(fromPipe && fromPipe->subject == QStringLiteral("ok") && fromPipe->attachmentCount() == 2);
    }

    // Why a file gives no message: the file's own reasons, then the
    // content's, in words a script or a log reader can act on.
    void openFailures_data()
    {
        QTest::addColumn<QString>("name");      // below a fresh folder
        QTest::addColumn<QByteArray>("bytes");  // written under that name
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("reason");
        const QByteArray none;
        QTest::newRow("missing") << "gone.dat" << none << int(OpenFailure::NotFound) << "no such file";
        QTest::newRow("file on the path") << "file.dat/winmail.dat" << none << int(OpenFailure::NotFound) << "no such file";
        QTest::newRow("folder") << "." << none << int(OpenFailure::IsDirectory) << "is a directory";
        QTest::newRow("read error") << "/proc/self/mem" << none << int(OpenFailure::Unreadable) << "cannot read the file: "; // and the system's words
        QTest::newRow("empty") << "empty.dat" << QByteArray("") << int(OpenFailure::Empty) << "empty file";
        QTest::newRow("PNG") << "p.dat" << QByteArray("\x89PNG\r\n\x1A\n") << int(OpenFailure::NotRecognised) << "not a TNEF file";
        QTest::newRow("signature off by one") << "s.dat" << QByteArray("\x78\x9F\x3E\x23\x01\x00", 6) << int(OpenFailure::NotRecognised) << "not a TNEF file";
        QTest::newRow("damaged") << "d.dat" << TnefWriter().attribute(7, AttBody, AtpText, "x").bytes() << int(OpenFailure::Damaged)
                                 << "damaged TNEF stream: a record of unknown level";
    }
    void openFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        QFile(folder.filePath(QStringLiteral("file.dat"))).open(QIODevice::WriteOnly);
        const QString path = name.startsWith(u'/') ? name : folder.filePath(name);
        if (!bytes.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QFETCH(QString, reason);
        TessilParser parser;
        QVERIFY(!parser.parseFile(path) && parser.hasError);
        QTEST(int(parser.failure), "failure");
        QVERIFY2(reason.endsWith(u' ') ? parser.errorString.startsWith(reason) && parser.errorString.size() > reason.size()
                                       : parser.errorString == reason, qPrintable(parser.errorString));
        if (!bytes.isNull()) { // the same from memory
            QVERIFY(!parser.parseData(bytes));
            QTEST(int(parser.failure), "failure");
            QTEST(parser.errorString, "reason");
        }
    }

    // What a damaged file cost reaches the message, each kind once and in
    // one order, whatever order the damage came in.
    void damageWarnings()
    {
        const QByteArray badBlock = MapiBlockWriter().add(MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))).bytes();
        QByteArray badCrc = compressedRtf("{\\rtf1 lost}");
        badCrc[12] = char(badCrc[12] ^ 1);
        TnefWriter tnef;
        tnef.messageProperties(MapiBlockWriter().add(MapiProp::binary(PidTagRtfCompressed, badCrc)))
            .attribute(LevelMessage, AttMsgProps, AtpByte, badBlock)
            .attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hi", 0)
            .attachment(AttachmentSpec{"A.TXT", QString(), "kept", {}, {}, {}})
            .raw(QByteArray(20, '\1'));
        const QSharedPointer<TessilMessage> damaged = TessilParser().parseData(tnef.bytes());
        QVERIFY(damaged && damaged->rtfBody.isEmpty() && damaged->plainBody == QStringLiteral("Hi") && damaged->attachmentCount() == 1);
        QCOMPARE(damaged->warnings, (QList<MessageWarning>{MessageWarning::Truncated, MessageWarning::Checksum,
                                                           MessageWarning::CorruptProperties, MessageWarning::RtfChecksum}));
        QCOMPARE(TessilParser().parseData(simpleMessage("IPM.Note", QStringLiteral("fine"), 1))->warnings, QList<MessageWarning>());

        TessilMessage message;
        for (MessageWarning warning : {MessageWarning::RtfChecksum, MessageWarning::Truncated, MessageWarning::RtfChecksum})
            message.addWarning(warning);
        QCOMPARE(message.warnings, (QList<MessageWarning>{MessageWarning::Truncated, MessageWarning::RtfChecksum}));
    }

    void headerFieldsAndBodies()
    {
        const QDateTime sent(QDate(2024, 3, 1), QTime(9, 30, 15, 250), Qt::UTC);
        MapiBlockWriter props;
        props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Résumé 你好"))).add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Ana Ruiz")))
            .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana@example.com")).add(MapiProp::string8(PidTagDisplayTo, "Bo Li; Chen Wu"))
            .add(MapiProp::time(PidTagClientSubmitTime, sent)).add(MapiProp::int32(PidTagInternetCodepage, 936))
            .add(MapiProp::binary(PidTagBodyHtml, "<html><head><meta charset=gb2312></head><body>\xC4\xE3</body></html>"))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1\\ansi Hello}")));
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(TnefWriter().tnefVersion().body("\xC4\xE3\xBA\xC3 plain").messageProperties(props).bytes());
        QVERIFY(message && message->sentTime == sent);
        QCOMPARE(QStringList({message->subject, message->senderName, message->senderEmail, message->displayTo}),
                 QStringList({"Résumé 你好", "Ana Ruiz", "ana@example.com", "Bo Li; Chen Wu"}));
        QCOMPARE(message->htmlBody, QByteArray("<html><head><meta charset=\"utf-8\"></head><body>\xE4\xBD\xA0</body></html>"));
        QCOMPARE(message->rtfBody, QByteArray("{\\rtf1\\ansi Hello}"));
        QCOMPARE(message->plainBody, QStringLiteral("你好 plain"));
    }

    void attachmentNames_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("longName");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("unknown") << QByteArray() << QString() << QByteArray("\x01\x02\x03") << ".bin" << QByteArray("\x01\x02\x03");
        QTest::newRow("no dot") << QByteArray("report") << QString() << kPdf << "report.pdf" << kPdf;
        QTest::newRow("dot kept") << QByteArray() << "v1.2 notes" << kPdf << "v1.2 notes" << kPdf;
        QTest::newRow("embedded object") << QByteArray("OBJECT") << QString() << ole({{"/CONTENTS", kPdf}}) << "OBJECT.pdf" << kPdf;
    }
    void attachmentNames()
    {
        QFETCH(QByteArray, title);
        QFETCH(QString, longName);
        QFETCH(QByteArray, data);
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(TnefWriter().tnefVersion().attachment(AttachmentSpec{title, longName, data, {}, {}, {}}).bytes());
        QVERIFY(message && message->attachmentCount() == 1);
        QTEST(message->attachmentAt(0)->fileName, "fileName");
        QTEST(message->attachmentAt(0)->content(), "content");
    }

    // The rendered attachment comes after the file's own, for these classes only.
    void calendarAttachment()
    {
        const QList<QStringList> cases = {{"IPM.Schedule.Meeting.Request", "Review", "Review.ics text/calendar"},
                                          {"IPM.Task", "", "attachment.ics text/calendar"}, {"IPM.Contact", "Ana", "Ana.vcf text/vcard"},
                                          {"ipm.appointment", "x", ""}, {"IPM.Appointment.Special", "x", ""}, {"IPM.Note", "x", ""}};
        for (const QStringList& c : cases) {
            const QSharedPointer<TessilMessage> message = TessilParser().parseData(simpleMessage(c[0].toLatin1(), c[1], 2));
            QVERIFY(message && message->attachmentAt(1)->fileName == QLatin1String("FILE1.TXT"));
            const QSharedPointer<TessilAttachment> rendered = message->attachmentAt(2);
            QCOMPARE(rendered ? rendered->fileName + QLatin1Char(' ') + rendered->mimeType : QString(), c[2]);
            QVERIFY(!rendered || rendered->content().startsWith("BEGIN:V"));
        }
    }

    void realSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("attachments"); // name:size
        QTest::addColumn<QByteArray>("html");         // contained in the HTML body
        QTest::newRow("quick") << "quick-winmail.dat" << QStringList{"quick.doc:19968", "quick.html:428", "quick.pdf:18638", "quick.txt:235", "quick.xml:143"} << QByteArray();
        QTest::newRow("sample1") << "winmail-sample1.dat" << QStringList{"zappa_av1.jpg:2937", "bookmark.htm:85805"} << QByteArray();
        QTest::newRow("bug52400 simple") << "bug52400-winmail-simple.dat" << QStringList{} << QByteArray("This is the message body.");
        QTest::newRow("bug52400 attachments") << "bug52400-winmail-with-attachments.dat" << QStringList{"scion_tc_2007_maintenanceguide.pdf:193258", "Duke_Wave.png:122016"}
                                              << QByteArray("There are also two attachments.");
        QTest::newRow("bug63955") << "bug63955-winmail.dat" << QStringList{"SI-61597.pdf:236426", "SI-61598.pdf:236653"} << QByteArray("<meta charset=\"utf-8\">");
    }
    // Hostile lengths behind a bad checksum: an empty message, said to be damaged.
    void damagedRealSample()
    {
        REQUIRE_REAL_SAMPLES();
        const QSharedPointer<TessilMessage> message = TessilParser().parseFile(testsupport::realSamplePath(QStringLiteral("oom.tnef")));
        QVERIFY(message && message->subject.isEmpty() && message->attachments.isEmpty());
        QCOMPARE(message->warnings, (QList<MessageWarning>{MessageWarning::Checksum, MessageWarning::CorruptProperties}));
    }
    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, file);
        QFETCH(QStringList, attachments);
        QFETCH(QByteArray, html);
        const QSharedPointer<TessilMessage> message = TessilParser().parseFile(testsupport::realSamplePath(file));
        QVERIFY(message && message->warnings.isEmpty());
        QStringList actual;
        for (const auto& attachment : message->attachments)
            actual << attachment->fileName + QLatin1Char(':') + QString::number(attachment->contentSize());
        QCOMPARE(actual, attachments);
        QVERIFY(message->htmlBody.contains(html));
        QCOMPARE(message->htmlBody.contains("<meta charset=\"utf-8\">"), !html.isEmpty());
        if (file.startsWith(QLatin1String("bug63955"))) // 1697 characters as stored; only the charset tag changed
            QCOMPARE(QString::fromUtf8(message->htmlBody).size() - 22 + 70, 1697);
    }

    // --- Embedded objects --------------------------------------------------------

    void embeddedContent_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected"); // empty: the stored data
        const QByteArray contents = QByteArray("contents ").repeated(80);
        const QByteArray package = QByteArray("package ").repeated(600); // beyond the mini stream
        const QByteArray native = QByteArray("\x10\0\0\0native", 10).repeated(9);
        const QString nativePath = QString::fromLatin1("/\x01Ole10Native");
        const QByteArray all = ole({{"/Package", package}, {nativePath, native}, {"/CONTENTS", contents}});
        QTest::newRow("CONTENTS first") << all << contents;
        QTest::newRow("empty CONTENTS skipped") << ole({{"/CONTENTS", {}}, {"/Package", package}, {nativePath, native}}) << package;
        QTest::newRow("Ole10Native whole") << ole({{"/CONTENTS/Inner", contents}, {nativePath, native}}) << native;
        QTest::newRow("nothing known") << ole({{"/Sub/CONTENTS", contents}}) << QByteArray();
        QTest::newRow("no compound file") << oleObjectData(QByteArray(600, 'x')) << QByteArray();
        // A directory claiming a 4 GiB stream yields what its chain holds, not 4 GiB.
        testsupport::CfbLayout layout;
        QByteArray huge = ole({{"/CONTENTS", QByteArray(5120, 'a')}}, &layout);
        testsupport::putU32(huge, 16 + layout.directoryEntryOffset(layout.entryIndex.value("/CONTENTS")) + 120, ~0u);
        QTest::newRow("hostile size") << huge << QByteArray(5120, 'a');
    }
    void embeddedContent()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        TessilAttachment attachment;
        attachment.data = data;
        attachment.isOle = true;
        attachment.unpackEmbeddedObject();
        const QByteArray wanted = expected.isEmpty() ? data : expected;
        QCOMPARE(attachment.content(), wanted);
        QCOMPARE(attachment.contentSize(), wanted.size());
    }

    // The file in an embedded object is unpacked once, when the message is
    // built: every later content() is the same bytes, not a new extraction.
    void embeddedObjectUnpackedOnce()
    {
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(
            TnefWriter().tnefVersion().attachment(AttachmentSpec{"OBJECT", QString(), ole({{"/CONTENTS", kPdf}}), {}, {}, {}}).bytes());
        const QSharedPointer<TessilAttachment> object = message->attachmentAt(0);
        QVERIFY(object->isOle && object->content() == kPdf && object->data != kPdf);
        QCOMPARE(object->content().constData(), object->content().constData());
        QCOMPARE(object->content().constData(), object->embedded.constData());
    }

    // --- Calendar and contact ------------------------------------------------------

    void minimalEventHasTenLines()
    {
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Schedule.Meeting.Request");
        const QString event = QString::fromUtf8(renderCalendar(message));
        QVERIFY2(QRegularExpression(QStringLiteral("^BEGIN:VCALENDAR\r\nVERSION:2\\.0\r\nPRODID:-//Quorvia//EN\r\nMETHOD:REQUEST\r\nBEGIN:VEVENT\r\n"
                                                   "UID:[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}\r\nSUMMARY:\r\nDTSTAMP:\\d{8}T\\d{6}Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n$"))
                     .match(event).hasMatch(), qPrintable(event));
    }

    // The lines between SUMMARY and DTSTAMP of the event.
    void event_data()
    {
        QTest::addColumn<QString>("sender"); // name, e-mail
        QTest::addColumn<QList<MessageProperty>>("properties");
        QTest::addColumn<QStringList>("expected");
        const QDateTime may = utc(2023, 5, 6, 7, 8), june = utc(2023, 6, 1, 12);
        QTest::newRow("full") << "Ana Ruiz,ana@x.org" << QList<MessageProperty>{text(mapi_id::kLocation, "Room 1, B; 2"), timeProp(0x8210, may), timeProp(0x8211, june),
                                      text(mapi_id::kTimeZoneDescription, "(UTC+01:00) Berlin"), text(mapi_id::kAttendees, " Bo ; ;Chen;")}
            << QStringList{"LOCATION:Room 1, B; 2", "DTSTART:20230506T070800Z", "DTEND:20230601T120000Z",
                           "X-MICROSOFT-TIMEZONE:(UTC+01:00) Berlin", "ORGANIZER;CN=Ana Ruiz:MAILTO:ana@x.org",
                           "ATTENDEE;CN=Bo:INVALID:nomail", "ATTENDEE;CN=Chen:INVALID:nomail"};
        QTest::newRow("appointment start wins") << "," << QList<MessageProperty>{timeProp(0x0060, may), timeProp(0x8210, june)}
                                                << QStringList{"DTSTART:20230601T120000Z"};
        QTest::newRow("before 1970, start date") << "," << QList<MessageProperty>{timeProp(0x8210, {}), timeProp(0x0060, may)} << QStringList{"DTSTART:20230506T070800Z"};
        QTest::newRow("beyond 9999 is no time") << "," << QList<MessageProperty>{MessageProperty{0x8210, 0x0040, le64(~0ULL)}} << QStringList{};
        QTest::newRow("end falls back") << "," << QList<MessageProperty>{timeProp(0x8211, {}), timeProp(0x0061, june)} << QStringList{"DTEND:20230601T120000Z"};
        // What Outlook stores for appointments comes before the item's own dates.
        QTest::newRow("whole start and end") << "," << QList<MessageProperty>{timeProp(0x0060, june), timeProp(0x820D, may), timeProp(0x0061, june), timeProp(0x820E, june.addDays(1))}
                                             << QStringList{"DTSTART:20230506T070800Z", "DTEND:20230602T120000Z"};
        QTest::newRow("name needs an address") << "Ana," << QList<MessageProperty>{} << QStringList{};
        QTest::newRow("CN quoted") << "Ruiz, Ana,a@x" << QList<MessageProperty>{text(mapi_id::kAttendees, "Team: Ops;Bo \"B\"")}
                                   << QStringList{"ORGANIZER;CN=\"Ruiz, Ana\":MAILTO:a@x", "ATTENDEE;CN=\"Team: Ops\":INVALID:nomail",
                                                  "ATTENDEE;CN=Bo 'B':INVALID:nomail"};
        QTest::newRow("line breaks as \\n") << "A\nR,a@x" << QList<MessageProperty>{text(mapi_id::kLocation, "1\r\n2\r3"), text(mapi_id::kAttendees, "B\r\nL")}
            << QStringList{"LOCATION:1\\n2\\n3", "ORGANIZER;CN=A\\nR:MAILTO:a@x", "ATTENDEE;CN=B\\nL:INVALID:nomail"};
    }
    void event()
    {
        QFETCH(QString, sender);
        QFETCH(QList<MessageProperty>, properties);
        QFETCH(QStringList, expected);
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Appointment");
        message.subject = QStringLiteral("One\r\nTwo");
        message.senderName = sender.section(QLatin1Char(','), 0, -2);
        message.senderEmail = sender.section(QLatin1Char(','), -1);
        message.properties = properties;
        const QStringList lines = linesOf(renderCalendar(message));
        QCOMPARE(lines.value(6), QStringLiteral("SUMMARY:One\\nTwo"));
        QCOMPARE(lines.mid(7, lines.size() - 10), expected);
    }

    // The details line of a request built with the test writer, read back
    // through the decoder: the appointment's own start and end before the
    // item's dates, zone, place and organiser. Other classes have no such line.
    void meetingDetailsOfRequest()
    {
        const QDateTime start = utc(2024, 5, 6, 7, 30), end = utc(2024, 5, 6, 8, 15);
        const auto request = [&](const QByteArray& messageClass, bool withAppointmentTimes) {
            MapiBlockWriter props;
            props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Review"))).add(MapiProp::string8(PidTagMessageClass, messageClass))
                .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Ana Ruiz")))
                .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana@example.com"))
                .add(MapiProp::unicode(mapi_id::kLocation, QStringLiteral("Sala 4, Zürich")).named(psetidAppointment(), mapi_id::kLocation))
                .add(MapiProp::unicode(mapi_id::kTimeZoneDescription, QStringLiteral("(UTC+01:00) Amsterdam, Berlin")).named(psetidAppointment(), mapi_id::kTimeZoneDescription))
                .add(MapiProp::time(mapi_id::kStartDate, start.addDays(1))).add(MapiProp::time(mapi_id::kEndDate, end.addDays(1)));
            if (withAppointmentTimes)
                props.add(MapiProp::time(mapi_id::kAppointmentStart, start).named(psetidAppointment(), mapi_id::kAppointmentStart))
                    .add(MapiProp::time(mapi_id::kAppointmentEnd, end).named(psetidAppointment(), mapi_id::kAppointmentEnd));
            return TessilParser().parseData(TnefWriter().tnefVersion().messageClass(messageClass).messageProperties(props).bytes());
        };
        const QSharedPointer<TessilMessage> message = request("IPM.Schedule.Meeting.Request", true);
        QVERIFY(message);
        const std::optional<MeetingDetails> details = meetingDetails(*message);
        QVERIFY(details);
        QCOMPARE(details->start, start);
        QCOMPARE(details->end, end);
        QVERIFY(details->start.timeSpec() == Qt::UTC && details->end.timeSpec() == Qt::UTC);
        QCOMPARE(QStringList({details->timeZone, details->location, details->organiserName, details->organiserEmail}),
                 QStringList({"(UTC+01:00) Amsterdam, Berlin", "Sala 4, Zürich", "Ana Ruiz", "ana@example.com"}));

        // A task has only the item's own dates.
        const std::optional<MeetingDetails> task = meetingDetails(*request("IPM.Task", false));
        QVERIFY(task && task->start == start.addDays(1) && task->end == end.addDays(1));
        for (const char* other : {"IPM.Contact", "IPM.Note", "IPM.Appointment.Special"})
            QVERIFY2(!meetingDetails(*request(other, true)), other);
    }

    void contactCard()
    {
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Contact");
        message.subject = QStringLiteral("Bo, Li");
        QCOMPARE(linesOf(renderCalendarAttachment(message)), QStringList({"BEGIN:VCARD", "VERSION:4.0", "FN:Bo\\, Li", "END:VCARD"}));
        message.properties << text(mapi_id::kDisplayName, "Ana Ruiz") << text(mapi_id::kGivenName, "Ana") << text(mapi_id::kSurname, "Ruiz")
                           << text(mapi_id::kCompanyName, "Smith, Jones; Co\\") << text(mapi_id::kTitle, "Head of\r\nSales") << text(mapi_id::kBusinessPhone, "+1 555 0100")
                           << text(mapi_id::kMobilePhone, "+1 555 0101") << text(mapi_id::kHomePhone, "+1 555 0102") << text(mapi_id::kEmail1Address, "ana@example.com");
        QCOMPARE(linesOf(renderCalendarAttachment(message)),
                 QStringList({"BEGIN:VCARD", "VERSION:4.0", "FN:Ana Ruiz", "N:Ruiz;Ana;;;", "ORG:Smith\\, Jones\\; Co\\\\", "TITLE:Head of\\nSales",
                              "TEL;TYPE=work,voice:+1 555 0100", "TEL;TYPE=cell,voice:+1 555 0101", "TEL;TYPE=home,voice:+1 555 0102", "EMAIL:ana@example.com", "END:VCARD"}));
        // Long lines fold at 75 octets, never inside a UTF-8 sequence.
        const QString title = QStringLiteral("é").repeated(50) + QStringLiteral("中").repeated(30);
        message.properties = {text(mapi_id::kTitle, title)};
        const QByteArray card = renderContactCard(message);
        for (const QByteArray& line : card.split('\n'))
            QVERIFY(line.size() <= 76 && QString::fromUtf8(line).toUtf8() == line);
        QVERIFY(QString::fromUtf8(card).remove(QStringLiteral("\r\n ")).contains(QStringLiteral("\r\nTITLE:") + title));
    }

    // --- The body the view shows, and the information line -------------------------

    void bodyChoice_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("form"); // of an RTF body
        QTest::addColumn<QString>("shows"); // contained in the result
        const QByteArray rtf = "{\\rtf1 From RTF\\par}";
        const QString plain = QStringLiteral("  a < b & c\n\n");
        const int html = int(DisplayBody::Html), fromRtf = int(DisplayBody::Rtf), fromPlain = int(DisplayBody::Plain);
        const int converted = int(RtfForm::Converted), carriedHtml = int(RtfForm::Html), carriedText = int(RtfForm::Text);
        QTest::newRow("HTML first") << QByteArray("<p>Hello \xC3\xA9</p>") << rtf << plain << html << converted << "<p>Hello é</p>";
        QTest::newRow("style-only HTML skipped") << QByteArray("<head><style>\np{}\n</style></head><body>\n</body>") << rtf << plain
                                                 << fromRtf << converted << "<p>From RTF</p>";
        QTest::newRow("RTF font shorthand evened") << QByteArray() << QByteArray("{\\rtf1 {\\fs24 S} font:  9.5px Arial\\par}")
                                                   << plain << fromRtf << converted << "font-size:12px; \">S</span> font: 14px Arial";
        QTest::newRow("plain escaped") << QByteArray("<script>x()</script>") << QByteArray(" \r\n") << plain << fromPlain << converted
                                       << "<html><body><pre style='font-family:sans-serif;'>a &lt; b &amp; c</pre></body></html>";
        QTest::newRow("nothing visible") << QByteArray("<p>&nbsp;&#x200B;&#xF0B7;\u00AD</p>") << QByteArray() << "\u200B\x07 \n"
                                         << int(DisplayBody::None) << converted << "";
        QTest::newRow("markup only") << QByteArray("<html><head><title>Re: x</title></head><body><div><p></p><table><tr><td></td></tr></table></div></body></html>")
                                     << rtf << plain << fromRtf << converted << "<p>From RTF</p>";
        QTest::newRow("image only") << QByteArray("<body><img src=\"cid:logo\"><br><img src=\"x.png\"></body>") << QByteArray()
                                    << plain << fromPlain << converted << "a &lt; b";
        QTest::newRow("RTF of punctuation") << QByteArray() << QByteArray("{\\rtf1 ?!\\par}") << plain << fromRtf << converted << "<p>?!</p>";
        QTest::newRow("RTF of a zero-width space") << QByteArray() << QByteArray("{\\rtf1 \\u8203?\\par}") << plain << fromPlain << converted << "a &lt; b";
        // The HTML an RTF body carries is a page of its own: its charset
        // declaration says UTF-8 now, and what the sender styled stays as it is.
        QTest::newRow("RTF carrying HTML")
            << QByteArray() << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 {\\*\\htmltag19 <html>}{\\*\\htmltag1 <meta charset=\"windows-1252\">}"
                                          "{\\*\\htmltag50 <body>}{\\*\\htmltag64 <p style=\"font: 9.5px Arial\">}caf\\'e9\\htmlrtf \\par\\htmlrtf0 "
                                          "{\\*\\htmltag72 </p>}{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}}")
            << plain << fromRtf << carriedHtml << "<html><meta charset=\"utf-8\"><body><p style=\"font: 9.5px Arial\">café</p></body></html>";
        QTest::newRow("RTF carrying HTML that shows nothing")
            << QByteArray() << QByteArray("{\\rtf1\\fromhtml1 {\\*\\htmltag50 <body>}\\htmlrtf Only in RTF\\par\\htmlrtf0 {\\*\\htmltag58 </body>}}")
            << plain << fromRtf << converted << "Only in RTF";
        QTest::newRow("RTF carrying text")
            << QByteArray() << QByteArray("{\\rtf1\\ansi\\fromtext \\pard a < b\\par second\\tab line\\par}")
            << plain << fromRtf << carriedText << "<pre style='font-family:sans-serif;'>a &lt; b\nsecond\tline</pre>";
        // Falls back to the converter as before, which then shows the RTF as it is.
        QTest::newRow("RTF carrying blank text") << QByteArray() << QByteArray("{\\rtf1\\fromtext \\par \\~\\par}") << plain
                                                 << fromRtf << converted << "{\\rtf1\\fromtext \\par";
    }
    void bodyChoice()
    {
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, rtf);
        QFETCH(QString, plain);
        QFETCH(QString, shows);
        TessilMessage message;
        message.htmlBody = html;
        message.rtfBody = rtf;
        message.plainBody = plain;
        const PreparedBody body = prepareBody(message);
        QTEST(int(body.source), "source");
        QTEST(int(body.rtfForm), "form");
        QVERIFY2(body.html.contains(shows) && body.html.isEmpty() == shows.isEmpty(), qPrintable(body.html));
        QCOMPARE(prepareBodyHtml(message), body.html);
    }

    // An HTML message that Outlook sent as TNEF with the HTML only inside its
    // RTF body shows as it was written, the inline image from its attachment,
    // which then gets no tile; tessil's test checks the link and the table.
    void encapsulatedMessageEndToEnd()
    {
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(testsupport::encapsulatedHtmlMessage());
        QVERIFY(message && message->htmlBody.isEmpty() && !message->rtfBody.isEmpty());
        PreparedMessage prepared = prepareMessage(message);
        prepareMessageBody(prepared);
        QCOMPARE(prepared.body.source, DisplayBody::Rtf);
        QCOMPARE(prepared.body.rtfForm, RtfForm::Html);
        QCOMPARE(prepared.listedAttachments, QList<int>{1});
        QVERIFY(!prepared.body.html.contains(QLatin1String("windows-1252")) && !prepared.body.html.contains(QLatin1String("cid:")));
        const QString text = shownText(prepared.body.html);
        QVERIFY2(text.contains(QStringLiteral("The plan is on the planning site; café and cake at 10.")), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1String("border")) && !text.contains(QLatin1String("Arial")), qPrintable(text));
        QVERIFY(prepared.body.html.contains(QLatin1String("data:image/png;base64,") + QString::fromLatin1(testsupport::chartPng().toBase64())));
    }
    // Judged without importing the page, the answers are those of Qt's
    // rich-text engine, which shows the body: for images, references, hidden
    // elements and the odd ways Qt's parser closes and reuses its nodes.
    void visibleTextAsQtShowsIt_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("printing");     // looksEmpty is the opposite
        QTest::addColumn<bool>("notWhiteSpace"); // rtf::hasVisibleText
        QTest::newRow("markup only") << "<html><body><div><p></p><table><tr><td> </td></tr></table></div></body></html>" << false << false;
        QTest::newRow("&nbsp; only") << "<p>&nbsp; &nbsp;\u00A0&ensp;</p>" << false << false;
        QTest::newRow("image only") << "<p><img src=\"cid:a\"><img src='b.png'></p>" << false << true;
        QTest::newRow("style and script only") << "<STYLE>\np { color: red }\n</STYLE><script>\nalert(1)\n</Script>" << false << false;
        QTest::newRow("head and title") << "<head><title>Subject</title><meta charset=utf-8></head><body> </body>" << false << false;
        QTest::newRow("zero-width and private use") << "<p>&#x200B;&zwj;\uE000&shy;</p>" << false << true;
        QTest::newRow("text") << "<p>Hello</p>" << true << true;
        QTest::newRow("entity") << "<p>&amp;</p>" << true << true;
        QTest::newRow("unknown entity") << "<p>&nosuch;</p>" << true << true;
        QTest::newRow("Windows-1252 reference") << "&#150;" << true << true;
        QTest::newRow("quoted > in an attribute") << "<img alt=\"a>b\" src='c>d'>" << false << true;
        QTest::newRow("comment") << "<!-- <p>hidden</p> -->" << false << false;
        QTest::newRow("text outside the fragment marks") << "Hidden<!--StartFragment--> <!--EndFragment-->Hidden" << false << false;
        QTest::newRow("unclosed style hides the rest") << "<style>p{}<p>x</p>" << false << false;
        QTest::newRow("text in a table outside any cell") << "<table>Lost<tr><td></td></tr></table>" << false << false;
        QTest::newRow("body leaves an unclosed head") << "<head><meta><body>Shown" << true << true;
        QTest::newRow("text right after </head> stays hidden") << "<head><meta></head>Hidden<p></p>" << false << false;
        QTest::newRow("a cell outside a table") << "<head><td>Shown" << true << true;
        QTest::newRow("a paragraph leaves hidden inline parents") << "<p><title>x<p>Shown" << true << true;
    }
    void visibleTextAsQtShowsIt()
    {
        QFETCH(QString, html);
        QFETCH(bool, printing);
        QFETCH(bool, notWhiteSpace);
        QCOMPARE(!looksEmpty(html), printing);
        QCOMPARE(rtf::hasVisibleText(html), notWhiteSpace);
    }

    // The same on pages made of the pieces where the rules meet.
    void visibleTextOnRandomMarkup()
    {
        static const char* const pieces[] = {
            "<head>", "</head>", "<meta x=1>", "<title>", "</title>", "<style>", "</style>", "<script>", "</script>", "<link>", "</link>",
            "<body>", "</body>", "<qt>", "<p>", "</p>", "<li>", "</li>", "<ul>", "</ul>", "<table>", "</table>", "<tr>", "</tr>", "<td>",
            "</td>", "<th>", "<tbody>", "<caption>", "<dl>", "<dd>", "<dt>", "<div>", "</div>", "<span>", "</span>", "<o:p>", "</o:p>",
            "<br>", "</br>", "<img src=a>", "</img>", "<hr>", "a", " ", "\n", "&nbsp;", "&shy;", "&amp;", "&#x200b;", "&foo;", "<!-- c -->",
            "<!x>", "< >", "</ >", "<>", "<a href='x>y'>", "</a>", "<p/>", "<td/>", "<style/>", "<&#115;tyle>", "\u200b", "x",
            "<!--StartFragment-->", "<!--EndFragment-->", "<font color=\"red\">", "</font>", "<pre>"};
        const int count = int(sizeof pieces / sizeof *pieces);
        QRandomGenerator random(13);
        for (int page = 0; page < 3000; ++page) {
            QString html;
            for (int n = 1 + int(random.bounded(12)); n > 0; --n) {
                const QString piece = QString::fromUtf8(pieces[random.bounded(count)]);
                if (piece.size() == 1 && piece.at(0).isLetter() && random.bounded(4))
                    continue; // letters rarer, so that most pages hinge on the markup
                html += piece;
            }
            const QString shown = shownText(html);
            QVERIFY2(looksEmpty(html) == !lettersIn(shown, false), qPrintable(html));
            QVERIFY2(rtf::hasVisibleText(html) == lettersIn(shown, true), qPrintable(html));
        }
    }

    // A cancelled preparation gives up at once, without a body.
    void bodyPreparationCancelled()
    {
        TessilMessage message;
        message.rtfBody = "{\\rtf1 " + QByteArray("{\\b Bold} text\\par ").repeated(200000) + "}";
        message.plainBody = QStringLiteral("plain");
        const std::atomic<bool> cancelled{true};
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(prepareBody(message, &cancelled).source, DisplayBody::None);
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(prepareBody(message).source, DisplayBody::Rtf);
    }

    void inlinesCidImages()
    {
        auto object = attachment(ole({{"/CONTENTS", "GIF89a"}}), QStringLiteral("obj"), QStringLiteral("image/gif"));
        object->isOle = true;
        object->unpackEmbeddedObject();
        TessilMessage message;
        message.htmlBody = "<img src=\"cid:logo@x\"><img src='cid:photo'><img src=\"CID:photo\"><p>cid:other</p><img src=\"cid:obj\">";
        message.attachments << attachment("PNGDATA", QStringLiteral("logo@x")) << attachment("\xFF\xD8\xFF", QStringLiteral("photo"), QStringLiteral("image/jpeg"))
                            << attachment("no id") << object;
        QCOMPARE(inlineCidImages(message),
                 QByteArray("<img src=\"data:image/png;base64,UE5HREFUQQ==\"><img src='data:image/jpeg;base64,/9j/'>"
                            "<img src=\"CID:photo\"><p>cid:other</p><img src=\"data:image/gif;base64,R0lGODlh\">"));
        // The same for the HTML that an RTF body carries.
        message.htmlBody.clear();
        message.rtfBody = "{\\rtf1\\fromhtml1 {\\*\\htmltag84 <img src=\"cid:photo\">}\\htmlrtf {\\pict 00}\\htmlrtf0 Photo}";
        const PreparedBody body = prepareBody(message);
        QCOMPARE(body.rtfForm, RtfForm::Html);
        QVERIFY2(body.html.contains(QLatin1String("<img src=\"data:image/jpeg;base64,/9j/\">Photo")), qPrintable(body.html));
    }

    // A type found from the content and the name where the sender stored
    // none, or only application/octet-stream; a stored type is kept. The
    // name a file gets, and the name it is opened under, follow it.
    void attachmentTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("detected");
        QTest::addColumn<QString>("effective");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("openedAs");
        const QByteArray zip("PK\x03\x04\x14\0\0\0\0\0", 10);
        const QString docx = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document");
        QTest::newRow("generic type, PDF inside") << "ATT00001.dat" << QByteArray("application/octet-stream") << kPdf
                                                  << "application/pdf" << "application/pdf" << "ATT00001.dat" << "ATT00001.dat.pdf";
        QTest::newRow("no type, no suffix") << "scan" << QByteArray() << testsupport::chartPng() << "image/png" << "image/png"
                                            << "scan.png" << "scan.png";
        QTest::newRow("stored type kept and named") << "Report" << docx.toLatin1() << zip << "application/zip" << docx
                                                    << "Report.docx" << "Report.docx";
        QTest::newRow("a dot but no suffix") << "Minutes v1.final" << QByteArray("application/pdf") << kPdf << "application/pdf"
                                             << "application/pdf" << "Minutes v1.final" << "Minutes v1.final.pdf";
        QTest::newRow("by name") << "notes.csv" << QByteArray("Application/Octet-Stream; name=notes.csv") << QByteArray("a,b\n1,2\n")
                                 << "text/csv" << "text/csv" << "notes.csv" << "notes.csv";
        QTest::newRow("nothing known") << "blob" << QByteArray() << QByteArray("\x01\x02\x03\x04", 4) << "application/octet-stream"
                                       << "application/octet-stream" << "blob.bin" << "blob.bin";
    }
    void attachmentTypes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, content);
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(
            TnefWriter().tnefVersion().attachment(AttachmentSpec{{}, name, content, stored.isEmpty() ? QByteArray() : stored, {}, {}}).bytes());
        QVERIFY(message && message->attachmentCount() == 1);
        const QSharedPointer<TessilAttachment> attachment = message->attachmentAt(0);
        QCOMPARE(attachment->mimeType, QString::fromLatin1(stored)); // as stored
        QTEST(attachment->detectedMimeType, "detected");
        QTEST(attachment->effectiveMimeType(), "effective");
        QTEST(attachment->fileName, "fileName");
        QTEST(fileNameForType(attachment->fileName, attachment->effectiveMimeType()), "openedAs");
        // Without looking for types (tessil extract), the same name.
        TessilParser quick;
        quick.findAttachmentTypes = false;
        const QSharedPointer<TessilAttachment> untyped = quick.parseData(TnefWriter().tnefVersion().attachment(
            AttachmentSpec{{}, name, content, stored.isEmpty() ? QByteArray() : stored, {}, {}}).bytes())->attachmentAt(0);
        QVERIFY(untyped->detectedMimeType.isEmpty());
        QCOMPARE(untyped->fileName, attachment->fileName);
    }

    void mailboxes()
    {
        const QList<QStringList> cases = {
            {"Ana Ruiz", "ana@example.com", "Ana Ruiz <ana@example.com>"},
            {" Ana Ruiz ", "", "Ana Ruiz"},
            {"", " ana@example.com", "ana@example.com"},
            {"Ana Ruiz", "/O=EXAMPLE/OU=EXCHANGE ADMINISTRATIVE GROUP/CN=RECIPIENTS/CN=ANA", "Ana Ruiz"},
            {"", "/o=Example/cn=Ana", ""},
            {"ana@example.com", "ANA@example.com", "ANA@example.com"},
            {"", "", ""},
        };
        for (const QStringList& c : cases)
            QCOMPARE(mailboxText(c.at(0), c.at(1)), c.at(2));
    }

    void infoLine()
    {
        const QList<QPair<qint64, QString>> sizes = {{1023, "1023 B"}, {1536, "1.5 KB"}, {qint64(4608) * 1048576, "4.5 GB"}};
        for (const auto& [size, expected] : sizes)
            QCOMPARE(formatTotalSize(size), expected);
        // The viewer writes numbers as the interface language does.
        QCOMPARE(formatTotalSize(39424, QLocale(QLocale::German)), QStringLiteral("38,5 KB"));
        QCOMPARE(formatDateInfo(QDateTime()), QString());
        QCOMPARE(formatDateInfo(utc(2024, 7, 1, 23, 30)), QStringLiteral("2024-07-02 01:30:00, "));
    }

    // The figures and the tiles both front ends show, worked out once:
    // every attachment counts, inline images and the rendered one included;
    // those with a content id, and those marked hidden, get no tile.
    void preparedMessage()
    {
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(
            TnefWriter().tnefVersion().messageProperties(MapiBlockWriter().add(MapiProp::string8(PidTagMessageClass, "IPM.Contact"))
                                                             .add(MapiProp::time(PidTagClientSubmitTime, utc(2024, 5, 1, 10, 20))))
                .attachment(AttachmentSpec{"A.PDF", QString(), kPdf, {}, {}, {}})
                .attachment(AttachmentSpec{"LOGO.PNG", QString(), "PNG", {}, "logo@x", {}})
                .attachment(AttachmentSpec{"OBJECT", QString(), ole({{"/CONTENTS", "GIF89a"}}), {}, {}, {}})
                .attachment(AttachmentSpec{"SIG.PNG", QString(), "SIG", {}, {}, {MapiProp::boolean(0x7FFE, true)}, true})
                .bytes());
        QVERIFY(message && message->attachmentCount() == 5);
        const PreparedMessage prepared = prepareMessage(message);
        QCOMPARE(prepared.information.sentTime, utc(2024, 5, 1, 10, 20));
        QCOMPARE(prepared.information.attachmentCount, 5);
        QCOMPARE(prepared.information.totalSize, kPdf.size() + 3 + 6 + 3 + message->attachmentAt(4)->contentSize());
        QCOMPARE(prepared.listedAttachments, (QList<int>{0, 2, 4}));
        // Its own properties, the data property holding the attachment's bytes.
        QCOMPARE(message->attachmentAt(3)->properties.size(), 3);
        QCOMPARE(message->attachmentAt(3)->properties.at(1).id, quint16(0x3701));
        QCOMPARE(message->attachmentAt(3)->properties.at(1).value, QByteArray("SIG"));
        QCOMPARE(prepared.body.source, DisplayBody::None);
        QVERIFY(prepareMessage({}).listedAttachments.isEmpty());
    }
};

QUORVIA_GUI_TEST_MAIN(TestMessage)
#include "tst_message.moc"
