#include "message/file_extension.h"
#include "message/tessil_parser.h"
#include "support/cfb_writer.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "message/body_text.h"
#include "tnef/tnef.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace tnefwriter;

namespace {

const QByteArray kPng("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33);
const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");

// Points the system temporary folder at a folder of the test's own while it
// lives, so the decoder's temporary copies can be watched.
class TemporaryFolder
{
public:
    TemporaryFolder()
        : previous_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
    }
    ~TemporaryFolder()
    {
        if (previous_.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous_);
    }
    // What is left of temporary copies: files in the folder, and open
    // descriptors of files there (Linux may create them without a name).
    QStringList leftovers() const
    {
        QStringList found = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        const QString folder = QFileInfo(dir_.path()).canonicalFilePath() + QLatin1Char('/');
        const QDir descriptors(QStringLiteral("/proc/self/fd"));
        for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
            const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
            if (target.startsWith(folder))
                found << QStringLiteral("descriptor to ") + target;
        }
        return found;
    }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

QSharedPointer<TessilMessage> load(const QByteArray& bytes)
{
    TessilParser parser;
    QSharedPointer<TessilMessage> message = parser.parseData(bytes);
    if (parser.hasError)
        qWarning() << "unexpected failure:" << parser.errorString;
    return message;
}

QByteArray simpleMessage(const QByteArray& messageClass, const QString& subject, int attachments = 0)
{
    MapiBlockWriter props;
    props.add(MapiProp::unicode(PidTagSubject, subject));
    if (!messageClass.isNull())
        props.add(MapiProp::string8(PidTagMessageClass, messageClass));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props);
    for (int i = 0; i < attachments; ++i)
        tnef.attachment(AttachmentSpec{QByteArray("FILE") + QByteArray::number(i) + ".TXT", QString(),
                                       QByteArray("data ") + QByteArray::number(i), QByteArray(), QByteArray(), {}});
    return tnef.bytes();
}

} // namespace

class TestMessageLoading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The decoder's trace lines would drown the test output.
        tnef_set_diagnostics(nullptr);
    }

    void failureTexts()
    {
        TessilParser parser;
        QVERIFY(!parser.parseFile(QStringLiteral("/nonexistent/folder/winmail.dat")));
        QVERIFY(parser.hasError);
        QCOMPARE(parser.errorString, QStringLiteral("Cannot open file"));

        QVERIFY(!parser.parseData(QByteArray("\x78\x9F\x3E\x23\x01\x00", 6)));
        QVERIFY(parser.hasError);
        QCOMPARE(parser.errorString, QStringLiteral("unknown error"));

        // An attribute of an unknown level fails the whole file.
        TnefWriter badLevel;
        badLevel.attribute(3, AttBody, AtpText, "text");
        QVERIFY(!parser.parseData(badLevel.bytes()));
        QCOMPARE(parser.errorString, QStringLiteral("unknown error"));

        // A later success clears the error.
        QVERIFY(parser.parseData(simpleMessage("IPM.Note", QStringLiteral("ok"))));
        QVERIFY(!parser.hasError);
        QVERIFY(parser.errorString.isEmpty());

        {
            // A temporary folder that is a file defeats even root.
            QTemporaryFile notAFolder;
            QVERIFY(notAFolder.open());
            TemporaryFolder folder;
            qputenv("TMPDIR", QFile::encodeName(notAFolder.fileName()));
            QVERIFY(!parser.parseData(simpleMessage("IPM.Note", QStringLiteral("x"))));
            QVERIFY(parser.hasError);
            QCOMPARE(parser.errorString, QStringLiteral("Cannot create temporary file"));
        }
    }

    void temporaryCopyNeverOutlivesTheCall()
    {
        TemporaryFolder folder;
        TessilParser parser;
        QVERIFY(parser.parseData(simpleMessage("IPM.Note", QStringLiteral("fine"), 2)));
        QCOMPARE(folder.leftovers(), QStringList());
        QVERIFY(!parser.parseData(QByteArray("not a TNEF file at all")));
        QCOMPARE(folder.leftovers(), QStringList());
        QVERIFY(parser.parseData(QByteArray("\x78\x9F\x3E\x22\x01\x00", 6))); // header only
        QCOMPARE(folder.leftovers(), QStringList());
    }

    void headerFieldsAndBodies()
    {
        const QDateTime sent(QDate(2024, 3, 1), QTime(9, 30, 15, 250), Qt::UTC);
        MapiBlockWriter props;
        props.add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
            .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Résumé 你好")))
            .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Ana Ruiz")))
            .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana@example.com"))
            .add(MapiProp::string8(PidTagDisplayTo, "Bo Li; Chen Wu"))
            .add(MapiProp::string8(PidTagDisplayCc, "Dee"))
            .add(MapiProp::time(PidTagClientSubmitTime, sent))
            .add(MapiProp::int32(PidTagInternetCodepage, 936))
            .add(MapiProp::binary(PidTagBodyHtml, "<html><head><meta charset=gb2312></head><body>\xC4\xE3\xBA\xC3</body></html>"))
            .add(MapiProp::binary(PidTagRtfCompressed, compressedRtf("{\\rtf1\\ansi Hello}")))
            .add(MapiProp::int32(0x0E07, 0))
            .add(MapiProp::binary(0x1234, QByteArray()));
        TnefWriter tnef;
        tnef.tnefVersion().body("\xC4\xE3\xBA\xC3 plain").messageProperties(props);
        const QSharedPointer<TessilMessage> message = load(tnef.bytes());
        QVERIFY(message);
        QCOMPARE(message->messageClass, QStringLiteral("IPM.Note"));
        QCOMPARE(message->subject, QStringLiteral("Résumé 你好"));
        QCOMPARE(message->senderName, QStringLiteral("Ana Ruiz"));
        QCOMPARE(message->senderEmail, QStringLiteral("ana@example.com"));
        QCOMPARE(message->displayTo, QStringLiteral("Bo Li; Chen Wu"));
        QCOMPARE(message->displayCc, QStringLiteral("Dee"));
        QCOMPARE(message->sentTime, sent);
        QCOMPARE(message->sentTime.timeSpec(), Qt::UTC);
        QCOMPARE(message->htmlBody, QByteArray("<html><head><meta charset=\"utf-8\"></head><body>\xE4\xBD\xA0\xE5\xA5\xBD</body></html>"));
        QCOMPARE(message->rtfBody, QByteArray("{\\rtf1\\ansi Hello}"));
        QCOMPARE(message->plainBody, QStringLiteral("你好 plain"));
        QCOMPARE(message->attachmentCount(), 0);

        // Every saved property, in stream order, with its first value.
        QCOMPARE(message->properties.size(), props.count());
        QCOMPARE(message->properties.at(0).id, quint16(PidTagMessageClass));
        QCOMPARE(message->properties.at(0).type, quint16(PtypString8));
        QCOMPARE(message->properties.at(0).value, QByteArray("IPM.Note", 9));
        QCOMPARE(message->properties.at(7).id, quint16(PidTagInternetCodepage));
        QCOMPARE(message->properties.at(7).value, int32Bytes(936));
        QCOMPARE(message->properties.at(10).value, int32Bytes(0));
        QCOMPARE(message->properties.at(11).id, quint16(0x1234));
        QVERIFY(message->properties.at(11).value.isEmpty());
    }

    void sentTime_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<quint64>("filetime");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("absent") << false << quint64(0) << QDateTime();
        QTest::newRow("1969") << true << quint64(116444736000000000ULL - 10000000ULL) << QDateTime();
        QTest::newRow("1970") << true << quint64(116444736000000000ULL)
                              << QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
    }
    void sentTime()
    {
        QFETCH(bool, present);
        QFETCH(quint64, filetime);
        QFETCH(QDateTime, expected);
        MapiBlockWriter props;
        props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("t")));
        if (present)
            props.add(MapiProp::time(PidTagClientSubmitTime, filetime));
        TnefWriter tnef;
        tnef.messageProperties(props);
        const QSharedPointer<TessilMessage> message = load(tnef.bytes());
        QVERIFY(message);
        QCOMPARE(message->sentTime.isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(message->sentTime, expected);
    }

    void attachmentNames_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QString>("longName");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("no name, unknown content") << QByteArray() << QString() << QByteArray("\x01\x02\x03\x04") << ".bin";
        QTest::newRow("no name, PNG") << QByteArray() << QString() << kPng << ".png";
        QTest::newRow("no dot, PDF") << QByteArray("report") << QString() << kPdf << "report.pdf";
        QTest::newRow("dot kept despite PDF") << QByteArray("report.txt") << QString() << kPdf << "report.txt";
        QTest::newRow("dot anywhere kept") << QByteArray() << QStringLiteral("v1.2 notes") << kPdf << "v1.2 notes";
        QTest::newRow("long name wins") << QByteArray("QUICK~1.HTM") << QStringLiteral("quick.html")
                                        << QByteArray("<html></html>") << "quick.html";
    }
    void attachmentNames()
    {
        QFETCH(QByteArray, title);
        QFETCH(QString, longName);
        QFETCH(QByteArray, data);
        QFETCH(QString, fileName);
        TnefWriter tnef;
        tnef.tnefVersion().attachment(AttachmentSpec{title, longName, data, QByteArray(), QByteArray(), {}});
        const QSharedPointer<TessilMessage> message = load(tnef.bytes());
        QVERIFY(message);
        QCOMPARE(message->attachmentCount(), 1);
        QCOMPARE(message->attachmentAt(0)->fileName, fileName);
        QCOMPARE(message->attachmentAt(0)->data, data);
        QCOMPARE(ensureFileExtension(QString(), QByteArray()), QStringLiteral(".bin"));
    }

    void attachmentFields()
    {
        testsupport::CfbWriter cfb;
        cfb.addStream(QStringLiteral("/CONTENTS"), kPdf);
        const QByteArray ole = oleObjectData(cfb.build());
        TnefWriter tnef;
        tnef.tnefVersion()
            .attachment(AttachmentSpec{"IMAGE001.PNG", QStringLiteral("image001.png"), kPng, "image/png", "image001@01D0", {}})
            .attachment(AttachmentSpec{"OBJECT", QString(), ole, QByteArray(), QByteArray(), {}});
        const QSharedPointer<TessilMessage> message = load(tnef.bytes());
        QVERIFY(message);
        QCOMPARE(message->attachmentCount(), 2);
        const QSharedPointer<TessilAttachment> image = message->attachmentAt(0);
        QCOMPARE(image->fileName, QStringLiteral("image001.png"));
        QCOMPARE(image->mimeType, QStringLiteral("image/png"));
        QCOMPARE(image->contentId, QStringLiteral("image001@01D0"));
        QVERIFY(!image->isOle);
        QCOMPARE(image->content(), kPng);

        // An embedded object is named after the file it holds.
        const QSharedPointer<TessilAttachment> object = message->attachmentAt(1);
        QVERIFY(object->isOle);
        QCOMPARE(object->data, ole);
        QCOMPARE(object->content(), kPdf);
        QCOMPARE(object->contentSize(), kPdf.size());
        QCOMPARE(object->fileName, QStringLiteral("OBJECT.pdf"));

        QVERIFY(!message->attachmentAt(2));
        QVERIFY(!message->attachmentAt(-1));
    }

    void calendarAttachmentIsAppended_data()
    {
        QTest::addColumn<QByteArray>("messageClass");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mimeType");
        QTest::addColumn<QByteArray>("begins");
        QTest::newRow("meeting request") << QByteArray("IPM.Schedule.Meeting.Request") << "Review" << "Review.ics"
                                         << "text/calendar" << QByteArray("BEGIN:VCALENDAR\r\n");
        QTest::newRow("contact without subject") << QByteArray("IPM.Contact") << "" << "attachment.vcf" << "text/vcard"
                                                 << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\n");
        QTest::newRow("task") << QByteArray("IPM.Task") << "Do it" << "Do it.ics" << "text/calendar"
                              << QByteArray("BEGIN:VCALENDAR\r\n");
        QTest::newRow("note") << QByteArray("IPM.Note") << "Hi" << "" << "" << QByteArray();
        QTest::newRow("no class") << QByteArray() << "Hi" << "" << "" << QByteArray();
    }
    void calendarAttachmentIsAppended()
    {
        QFETCH(QByteArray, messageClass);
        QFETCH(QString, subject);
        QFETCH(QString, name);
        QFETCH(QString, mimeType);
        QFETCH(QByteArray, begins);
        const QSharedPointer<TessilMessage> message = load(simpleMessage(messageClass, subject, 2));
        QVERIFY(message);
        QCOMPARE(message->attachmentCount(), name.isEmpty() ? 2 : 3);
        QCOMPARE(message->attachmentAt(0)->fileName, QStringLiteral("FILE0.TXT"));
        QCOMPARE(message->attachmentAt(1)->fileName, QStringLiteral("FILE1.TXT"));
        if (name.isEmpty())
            return;
        const QSharedPointer<TessilAttachment> rendered = message->attachmentAt(2);
        QCOMPARE(rendered->fileName, name);
        QCOMPARE(rendered->mimeType, mimeType);
        QVERIFY(rendered->contentId.isEmpty());
        QVERIFY(!rendered->isOle);
        QVERIFY(rendered->content().startsWith(begins));
        if (begins.startsWith("BEGIN:VCALENDAR"))
            QVERIFY(rendered->content().contains("\r\nSUMMARY:" + subject.toUtf8() + "\r\n"));
    }

    void buildMessageCopiesANullFreeResult()
    {
        TnefResult empty{};
        const QSharedPointer<TessilMessage> message = TessilParser::buildMessage(&empty);
        QVERIFY(message);
        QVERIFY(message->subject.isEmpty());
        QVERIFY(!message->sentTime.isValid());
        QCOMPARE(message->attachmentCount(), 0);
        QVERIFY(message->properties.isEmpty());
    }

    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        TessilParser parser;

        QSharedPointer<TessilMessage> quick = parser.parseFile(testsupport::realSamplePath(QStringLiteral("quick-winmail.dat")));
        QVERIFY(quick);
        QCOMPARE(quick->subject, QStringLiteral("This is a test message"));
        QCOMPARE(quick->rtfBody, testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf")));
        QVERIFY(quick->htmlBody.isEmpty());
        const QStringList quickNames{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        QCOMPARE(quick->attachmentCount(), quickNames.size());
        for (int i = 0; i < quickNames.size(); ++i) {
            QCOMPARE(quick->attachmentAt(i)->fileName, quickNames.at(i));
            QCOMPARE(quick->attachmentAt(i)->content(),
                     testsupport::readRealSample(QStringLiteral("quick-contents/") + quickNames.at(i)));
        }

        QSharedPointer<TessilMessage> sample1 = parser.parseFile(testsupport::realSamplePath(QStringLiteral("winmail-sample1.dat")));
        QVERIFY(sample1);
        QCOMPARE(sample1->attachmentCount(), 2);
        QCOMPARE(sample1->attachmentAt(0)->contentSize(), 2937);
        QVERIFY(sample1->attachmentAt(0)->fileName.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive));
        QCOMPARE(sample1->attachmentAt(1)->fileName, QStringLiteral("bookmark.htm"));
        QCOMPARE(sample1->attachmentAt(1)->contentSize(), 85805);

        QSharedPointer<TessilMessage> simple = parser.parseFile(testsupport::realSamplePath(QStringLiteral("bug52400-winmail-simple.dat")));
        QVERIFY(simple);
        QVERIFY(simple->htmlBody.contains("This is the message body."));
        QVERIFY(simple->htmlBody.contains("<meta charset=\"utf-8\">"));

        QSharedPointer<TessilMessage> withAttachments =
            parser.parseFile(testsupport::realSamplePath(QStringLiteral("bug52400-winmail-with-attachments.dat")));
        QVERIFY(withAttachments);
        QVERIFY(withAttachments->htmlBody.contains("There are also two attachments."));
        QCOMPARE(withAttachments->attachmentCount(), 2);
        QCOMPARE(withAttachments->attachmentAt(0)->fileName, QStringLiteral("scion_tc_2007_maintenanceguide.pdf"));
        QCOMPARE(withAttachments->attachmentAt(0)->contentSize(), 193258);
        QCOMPARE(withAttachments->attachmentAt(1)->fileName, QStringLiteral("Duke_Wave.png"));
        QCOMPARE(withAttachments->attachmentAt(1)->contentSize(), 122016);

        QSharedPointer<TessilMessage> bug63955 = parser.parseFile(testsupport::realSamplePath(QStringLiteral("bug63955-winmail.dat")));
        QVERIFY(bug63955);
        QCOMPARE(bug63955->properties.size(), 96);
        QCOMPARE(bug63955->attachmentCount(), 2);
        QCOMPARE(bug63955->attachmentAt(0)->fileName, QStringLiteral("SI-61597.pdf"));
        QCOMPARE(bug63955->attachmentAt(0)->contentSize(), 236426);
        QCOMPARE(bug63955->attachmentAt(1)->fileName, QStringLiteral("SI-61598.pdf"));
        QCOMPARE(bug63955->attachmentAt(1)->contentSize(), 236653);
        // The stored body decodes to 1697 characters; the kept one is UTF-8
        // whose first meta tag now declares UTF-8.
        const QString html = QString::fromUtf8(bug63955->htmlBody);
        QCOMPARE(bug63955->htmlBody, html.toUtf8());
        QCOMPARE(html.count(QStringLiteral("<meta charset=\"utf-8\">")), 1);
        QVERIFY(!html.contains(QLatin1String("charset=us-ascii"), Qt::CaseInsensitive));
        QByteArray raw = testsupport::readRealSample(QStringLiteral("bug63955-winmail.dat"));
        FILE* stream = fmemopen(raw.data(), size_t(raw.size()), "rb");
        QVERIFY(stream);
        TnefResult* result = tnef_parse(stream);
        std::fclose(stream);
        QVERIFY(result && result->html);
        const QString decoded = decodeBodyText(reinterpret_cast<const char*>(result->html), qsizetype(result->html_len),
                                               result->code_page);
        tnef_free(result);
        QCOMPARE(decoded.size(), 1697);
        const qsizetype metaEnd = decoded.indexOf(QLatin1Char('>'), decoded.indexOf(QLatin1String("charset"), 0, Qt::CaseInsensitive));
        QVERIFY(metaEnd > 0);
        QCOMPARE(html.mid(html.indexOf(QLatin1String("<meta charset=\"utf-8\">")) + 22), decoded.mid(metaEnd + 1));

        // Absurd sizes inside: loads (or fails) without a crash.
        parser.parseFile(testsupport::realSamplePath(QStringLiteral("oom.tnef")));
    }
};

QUORVIA_GUI_TEST_MAIN(TestMessageLoading)
#include "tst_message_loading.moc"
