// The tessil program as users and scripts meet it: the built binary run as a
// separate process with its own HOME, no display and UTC as local time.

#include "support/cfb_writer.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tnefwriter;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QStringList kTopKeys{"file",      "ok",         "error",     "messageClass",  "subject",
                           "senderName", "senderEmail", "displayTo", "displayCc",     "sentTime",
                           "infoLine",  "propertyCount", "bodies",  "displayBody",   "attachments"};
const QStringList kAttachmentKeys{"fileName", "mimeType", "contentId", "isOle",
                                  "storedSize", "size",   "sha256",    "listed"};

const QByteArray kPng = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4nGNgYGD4DwABBAEAwS2OUAAAAABJRU5ErkJggg==");
const QByteArray kPdf("%PDF-1.4\n1 0 obj<<>>endobj\ntrailer<<>>\n%%EOF\n");

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QJsonArray parseArray(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        qWarning("not a JSON array: %s", qPrintable(error.errorString()));
    return document.array();
}

// Every key of the document in the order it was written. Keys inside strings
// cannot match: their quotes are escaped.
QStringList keysInOrder(const QByteArray& json)
{
    static const QRegularExpression key(QStringLiteral("\"(\\w+)\": "));
    QStringList keys;
    QRegularExpressionMatchIterator it = key.globalMatch(QString::fromUtf8(json));
    while (it.hasNext())
        keys << it.next().captured(1);
    return keys;
}

// The key sequence that a document with these objects must show.
QStringList expectedKeys(const QJsonArray& files)
{
    QStringList keys;
    for (const QJsonValue& value : files) {
        const QJsonObject file = value.toObject();
        for (const QString& top : kTopKeys) {
            keys << top;
            if (top == QLatin1String("bodies")) {
                for (const char* body : {"html", "rtf", "plain"}) {
                    keys << QString::fromLatin1(body);
                    if (!file.value(top).toObject().value(QLatin1String(body)).isNull())
                        keys << QStringLiteral("size") << QStringLiteral("sha256");
                }
            } else if (top == QLatin1String("attachments")) {
                for (int i = 0; i < file.value(top).toArray().size(); ++i)
                    keys << kAttachmentKeys;
            }
        }
    }
    return keys;
}

// A meeting request with everything the viewer shows: an HTML body with an
// inline image, an ordinary attachment, an embedded object.
QByteArray richMeeting()
{
    MapiBlockWriter props;
    props.add(MapiProp::string8(PidTagMessageClass, "IPM.Schedule.Meeting.Request"))
        .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Design review")))
        .add(MapiProp::unicode(PidTagSentRepresentingName, QStringLiteral("Ana Ruiz")))
        .add(MapiProp::string8(PidTagSentRepresentingEmailAddress, "ana.ruiz@example.com"))
        .add(MapiProp::unicode(PidTagDisplayTo, QStringLiteral("Ben Okafor; Chloé Martin")))
        .add(MapiProp::time(PidTagClientSubmitTime, QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)))
        .add(MapiProp::int32(PidTagInternetCodepage, 65001))
        .add(MapiProp::binary(PidTagBodyHtml, "<html><body><p>See the plan</p><img src=\"cid:plan@1\"></body></html>"))
        .add(MapiProp::unicode(0x8208, QStringLiteral("Room 4")).named(psetidAppointment(), 0x8208));
    testsupport::CfbWriter cfb;
    cfb.addStream(QStringLiteral("/CONTENTS"), kPdf);
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props);
    tnef.attachment(AttachmentSpec{"PLAN.PNG", QStringLiteral("plan.png"), kPng, "image/png", "plan@1", {}});
    tnef.attachment(AttachmentSpec{"AGENDA.PDF", QStringLiteral("agenda.pdf"), kPdf, "application/pdf", {}, {}});
    AttachmentSpec object{"OBJECT", QString(), oleObjectData(cfb.build()), {}, {}, {}};
    object.dataInPropertyBlock = true;
    object.dataIsObject = true;
    tnef.attachment(object);
    return tnef.bytes();
}

QByteArray messageWithBodies(const QByteArray& html, const QByteArray& rtf, const QString& plain,
                             const QString& subject = QStringLiteral("Bodies"))
{
    MapiBlockWriter props;
    props.add(MapiProp::unicode(PidTagSubject, subject));
    if (!html.isEmpty())
        props.add(MapiProp::binary(PidTagBodyHtml, html));
    if (!rtf.isEmpty())
        props.add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(rtf)));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props);
    if (!plain.isNull())
        tnef.body(plain.toUtf8());
    return tnef.bytes();
}

QByteArray messageWithAttachments(const QList<AttachmentSpec>& attachments, const QString& subject = QString())
{
    MapiBlockWriter props;
    if (!subject.isNull())
        props.add(MapiProp::unicode(PidTagSubject, subject));
    props.add(MapiProp::binary(PidTagBodyHtml, "<html><body>Files attached.</body></html>"));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props);
    for (const AttachmentSpec& spec : attachments)
        tnef.attachment(spec);
    return tnef.bytes();
}

AttachmentSpec named(const QString& longName, const QByteArray& data)
{
    return AttachmentSpec{QByteArray(), longName, data, QByteArray(), QByteArray(), {}};
}

// Every entry below `root`, relative to it, links included and not followed.
QStringList entriesBelow(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

class TestTessil : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir work_;
    QString home_;

    QString fixture(const QString& name, const QByteArray& bytes)
    {
        const QString path = work_.filePath(QStringLiteral("fixtures/") + name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!writeFile(path, bytes))
            qWarning("cannot write fixture %s", qPrintable(path));
        return path;
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home_);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_ + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home_ + QStringLiteral("/.cache"));
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        // Like a server: no display, and nobody chose a platform.
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return env;
    }

    Run tessil(const QStringList& arguments, const QString& workingDirectory = QString())
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(workingDirectory.isEmpty() ? work_.path() : workingDirectory);
        process.start(QStringLiteral(TESSIL_BINARY), arguments);
        Run run;
        if (!process.waitForStarted(10000) || !process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            qWarning("tessil did not finish: %s", qPrintable(arguments.join(u' ')));
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(work_.isValid());
        home_ = work_.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home_));
        QVERIFY(QFileInfo(QStringLiteral(TESSIL_BINARY)).isExecutable());
    }

    void realSamplesAsJson()
    {
        REQUIRE_REAL_SAMPLES();
        const QStringList names{"quick-winmail.dat", "winmail-sample1.dat", "bug52400-winmail-simple.dat",
                                "bug52400-winmail-with-attachments.dat", "bug63955-winmail.dat"};
        QStringList paths;
        for (const QString& name : names)
            paths << testsupport::realSamplePath(name);
        const Run run = tessil(QStringList{"info", "--json"} + paths);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QJsonArray files = parseArray(run.out);
        QCOMPARE(files.size(), names.size());
        QCOMPARE(keysInOrder(run.out), expectedKeys(files));

        const QStringList subjects{"This is a test message", "test", "Testing TNEF Message",
                                   "TNEF test message with attachments", "Test"};
        for (int i = 0; i < files.size(); ++i) {
            const QJsonObject file = files.at(i).toObject();
            QCOMPARE(file.value("file").toString(), paths.at(i));
            QCOMPARE(file.value("subject").toString(), subjects.at(i));
            QCOMPARE(file.value("ok").toBool(), true);
            QVERIFY(file.value("error").isNull());
        }

        const QJsonObject quick = files.at(0).toObject();
        QCOMPARE(quick.value("displayBody").toString(), QStringLiteral("rtf"));
        const QByteArray rtf = testsupport::readRealSample(QStringLiteral("quick-contents/message.rtf"));
        const QJsonObject rtfBody = quick.value("bodies").toObject().value("rtf").toObject();
        QCOMPARE(rtfBody.value("size").toInteger(), rtf.size());
        QCOMPARE(rtfBody.value("sha256").toString(), sha256(rtf));
        QVERIFY(quick.value("bodies").toObject().value("html").isNull());
        const QStringList quickNames{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        const QJsonArray quickAttachments = quick.value("attachments").toArray();
        QCOMPARE(quickAttachments.size(), quickNames.size());
        qint64 total = 0;
        for (int i = 0; i < quickNames.size(); ++i) {
            const QJsonObject attachment = quickAttachments.at(i).toObject();
            const QByteArray expected = testsupport::readRealSample(QStringLiteral("quick-contents/") + quickNames.at(i));
            QVERIFY(!expected.isEmpty());
            QCOMPARE(attachment.value("fileName").toString(), quickNames.at(i));
            QCOMPARE(attachment.value("size").toInteger(), expected.size());
            QCOMPARE(attachment.value("storedSize").toInteger(), expected.size());
            QCOMPARE(attachment.value("sha256").toString(), sha256(expected));
            QCOMPARE(attachment.value("isOle").toBool(), false);
            QCOMPARE(attachment.value("listed").toBool(), true);
            total += expected.size();
        }
        QCOMPARE(quick.value("infoLine").toString(),
                 QStringLiteral("%1 KB, 5 attachments").arg(double(total) / 1024, 0, 'f', 1));

        // Names and sizes as the samples' README lists them.
        const struct { int file; int index; const char* name; int size; } known[] = {
            {1, 1, "bookmark.htm", 85805},
            {3, 0, "scion_tc_2007_maintenanceguide.pdf", 193258},
            {3, 1, "Duke_Wave.png", 122016},
            {4, 0, "SI-61597.pdf", 236426},
            {4, 1, "SI-61598.pdf", 236653},
        };
        for (const auto& entry : known) {
            const QJsonObject attachment = files.at(entry.file).toObject().value("attachments").toArray().at(entry.index).toObject();
            QCOMPARE(attachment.value("fileName").toString(), QString::fromLatin1(entry.name));
            QCOMPARE(attachment.value("size").toInteger(), entry.size);
        }
        QCOMPARE(files.at(1).toObject().value("attachments").toArray().at(0).toObject().value("size").toInteger(), 2937);
        QCOMPARE(files.at(2).toObject().value("displayBody").toString(), QStringLiteral("html"));
        QVERIFY(files.at(2).toObject().value("infoLine").toString().endsWith(QLatin1String(", 0 B, 0 attachment")));

        const QJsonObject bug63955 = files.at(4).toObject();
        QCOMPARE(bug63955.value("propertyCount").toInt(), 96);
        QCOMPARE(bug63955.value("sentTime").toString(), QStringLiteral("2019-11-22T12:23:59Z"));
        QCOMPARE(bug63955.value("infoLine").toString(), QStringLiteral("2019-11-22 12:23:59, 462.0 KB, 2 attachments"));
        // Its HTML body holds only a non-breaking space: nothing to show.
        QVERIFY(!bug63955.value("bodies").toObject().value("html").isNull());
        QVERIFY(bug63955.value("displayBody").isNull());
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        // GOOD, BAD (not TNEF) and MISSING stand for fixture paths.
        QTest::newRow("no arguments") << QStringList{} << 2 << "" << "tessil: no command given";
        QTest::newRow("unknown command") << QStringList{"show", "GOOD"} << 2 << "" << "unknown command 'show'";
        QTest::newRow("unknown option") << QStringList{"info", "--colour", "GOOD"} << 2 << "" << "colour";
        QTest::newRow("no file") << QStringList{"info"} << 2 << "" << "needs at least one FILE";
        QTest::newRow("html with two files") << QStringList{"html", "GOOD", "GOOD"} << 2 << "" << "exactly one FILE";
        QTest::newRow("json for extract") << QStringList{"extract", "--json", "GOOD"} << 2 << ""
                                          << "--json does not apply to 'extract'";
        QTest::newRow("output for info") << QStringList{"info", "-o", "x", "GOOD"} << 2 << ""
                                         << "--output does not apply to 'info'";
        QTest::newRow("output without directory") << QStringList{"extract", "GOOD", "-o"} << 2 << "" << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: tessil COMMAND" << "";
        QTest::newRow("help after a command") << QStringList{"info", "-h"} << 0 << "Usage: tessil COMMAND" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "tessil 2.0.0\n" << "";
        QTest::newRow("decoded") << QStringList{"info", "GOOD"} << 0 << "Subject:      Bodies" << "";
        QTest::newRow("missing file") << QStringList{"info", "MISSING"} << 1 << ""
                                      << "tessil: MISSING: Cannot open file\n";
        QTest::newRow("not TNEF") << QStringList{"html", "BAD"} << 1 << "" << "tessil: BAD: unknown error\n";
        QTest::newRow("a directory") << QStringList{"info", "DIR"} << 1 << "" << "tessil: DIR: ";
        QTest::newRow("one of three fails, the others go on") << QStringList{"info", "GOOD", "BAD", "GOOD"} << 1
                                                              << "Subject:      Bodies" << "tessil: BAD: unknown error\n";
        QTest::newRow("extract fails on a bad file") << QStringList{"extract", "-o", "OUT", "BAD"} << 1 << ""
                                                     << "tessil: BAD: unknown error\n";
        QTest::newRow("output directory cannot be made") << QStringList{"extract", "-o", "GOOD/sub", "GOOD"} << 1 << ""
                                                         << "tessil: cannot create the directory GOOD/sub\n";
        QTest::newRow("extract into the current directory") << QStringList{"extract", "GOOD"} << 0 << "a.txt\n" << "";
        QTest::newRow("file named like an option") << QStringList{"info", "--", "-platform"} << 1 << ""
                                                   << "tessil: -platform: Cannot open file";
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const QString good = fixture(QStringLiteral("good.tnef"),
                                     messageWithAttachments({named(QStringLiteral("a.txt"), "A")}, QStringLiteral("Bodies")));
        const QString bad = fixture(QStringLiteral("bad.dat"), QByteArray("PK\x03\x04 not a TNEF stream"));
        const QString missing = work_.filePath(QStringLiteral("missing.dat"));
        const QString output = work_.filePath(QStringLiteral("exit-codes-out"));
        const QHash<QString, QString> placeholders{
            {"GOOD", good}, {"BAD", bad}, {"MISSING", missing}, {"OUT", output}, {"DIR", work_.path()}};
        // One pass, so that a substituted path is never substituted into again.
        const auto substitute = [&](const QString& text) {
            static const QRegularExpression placeholder(QStringLiteral("GOOD|BAD|MISSING|OUT|DIR"));
            QString result;
            qsizetype from = 0;
            QRegularExpressionMatchIterator it = placeholder.globalMatch(text);
            while (it.hasNext()) {
                const QRegularExpressionMatch match = it.next();
                result += text.mid(from, match.capturedStart() - from) + placeholders.value(match.captured());
                from = match.capturedEnd();
            }
            return result + text.mid(from);
        };
        QStringList resolved;
        for (const QString& argument : arguments)
            resolved << substitute(argument);

        QTemporaryDir current;
        const Run run = tessil(resolved, current.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(run.out).contains(substitute(out)), run.out.constData());
        QVERIFY2(QString::fromUtf8(run.err).contains(substitute(err)), run.err.constData());
        if (exitCode == 2)
            QVERIFY(run.out.isEmpty());
        if (exitCode == 0)
            QVERIFY2(run.err.isEmpty(), run.err.constData());
    }

    void failedFilesKeepTheirPlaceInJson()
    {
        const QString good = fixture(QStringLiteral("plain.tnef"), messageWithBodies({}, {}, QStringLiteral("Hi")));
        const QString bad = fixture(QStringLiteral("zip.dat"), QByteArray("PK\x03\x04"));
        const Run run = tessil({"info", "--json", bad, good});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "tessil: " + bad.toUtf8() + ": unknown error\n");
        const QJsonArray files = parseArray(run.out);
        QCOMPARE(files.size(), 2);
        QCOMPARE(keysInOrder(run.out), expectedKeys(files));

        const QJsonObject failed = files.at(0).toObject();
        QCOMPARE(failed.value("ok").toBool(true), false);
        QCOMPARE(failed.value("error").toString(), QStringLiteral("unknown error"));
        for (const char* key : {"messageClass", "subject", "senderName", "senderEmail", "displayTo", "displayCc",
                                "sentTime", "infoLine", "propertyCount", "displayBody"})
            QVERIFY2(failed.value(QLatin1String(key)).isNull(), key);
        const QJsonObject bodies = failed.value("bodies").toObject();
        QCOMPARE(bodies.keys(), (QStringList{"html", "plain", "rtf"}));
        for (const QJsonValue& body : bodies)
            QVERIFY(body.isNull());
        QVERIFY(failed.value("attachments").isArray());
        QCOMPARE(failed.value("attachments").toArray().size(), 0);

        const QJsonObject decoded = files.at(1).toObject();
        QCOMPARE(decoded.value("messageClass").toString(QStringLiteral("null")), QString());
        QCOMPARE(decoded.value("displayTo").toString(QStringLiteral("null")), QString());
        QVERIFY(decoded.value("sentTime").isNull());
        QCOMPARE(decoded.value("infoLine").toString(), QStringLiteral("0 B, 0 attachment"));
        QCOMPARE(decoded.value("bodies").toObject().value("plain").toObject().value("sha256").toString(),
                 sha256("Hi"));
    }

    void jsonDescribesWhatTheViewerShows()
    {
        const QString path = fixture(QStringLiteral("meeting.tnef"), richMeeting());
        const Run run = tessil({"info", "--json", path});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray files = parseArray(run.out);
        QCOMPARE(keysInOrder(run.out), expectedKeys(files));
        const QJsonObject message = files.at(0).toObject();
        const QStringList texts{"messageClass", "subject", "senderName", "senderEmail", "displayTo", "sentTime", "displayBody"};
        const QStringList values{"IPM.Schedule.Meeting.Request", "Design review", "Ana Ruiz", "ana.ruiz@example.com",
                                 QStringLiteral("Ben Okafor; Chloé Martin"), "2024-05-01T10:20:30Z", "html"};
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(message.value(texts.at(i)).toString(), values.at(i));
        QCOMPARE(message.value("propertyCount").toInt(), 9);

        const QJsonArray attachments = message.value("attachments").toArray();
        QCOMPARE(attachments.size(), 4);
        const QJsonObject image = attachments.at(0).toObject();
        QCOMPARE(image.value("contentId").toString(), QStringLiteral("plan@1"));
        QCOMPARE(image.value("listed").toBool(true), false);

        const QJsonObject object = attachments.at(2).toObject();
        QCOMPARE(object.value("fileName").toString(), QStringLiteral("OBJECT.pdf"));
        QCOMPARE(object.value("isOle").toBool(), true);
        QVERIFY(object.value("storedSize").toInteger() > kPdf.size());
        QCOMPARE(object.value("size").toInteger(), kPdf.size());
        QCOMPARE(object.value("sha256").toString(), sha256(kPdf));

        const QJsonObject calendar = attachments.at(3).toObject();
        QCOMPARE(calendar.value("fileName").toString(), QStringLiteral("Design review.ics"));
        QCOMPARE(calendar.value("listed").toBool(), true);
        const qint64 total = kPng.size() + 2 * kPdf.size() + calendar.value("size").toInteger();
        QCOMPARE(message.value("infoLine").toString(), QStringLiteral("2024-05-01 10:20:30, %1, 4 attachments")
                                                           .arg(total < 1024 ? QStringLiteral("%1 B").arg(total)
                                                                             : QStringLiteral("%1 KB").arg(double(total) / 1024, 0, 'f', 1)));

        // The text form shows the same, with the inline image marked.
        const Run text = tessil({"info", path});
        QCOMPARE(text.exitCode, 0);
        const QString out = QString::fromUtf8(text.out);
        QVERIFY(out.contains(QStringLiteral("  From:         ana.ruiz@example.com\n")));
        QVERIFY(out.contains(QStringLiteral("  Information:  ") + message.value("infoLine").toString() + u'\n'));
        QVERIFY(out.contains(QStringLiteral("  Body:         HTML\n")));
        QVERIFY(out.contains(QRegularExpression(QStringLiteral("\\n +%1  inline  image/png +  plan\\.png\\n").arg(kPng.size()))));
        QVERIFY(out.contains(QRegularExpression(QStringLiteral("  grid    - +  OBJECT\\.pdf\\n"))));
    }

    void displayBodyFollowsTheViewer_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("displayBody");
        QTest::addColumn<QString>("shownText");
        const QByteArray rtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 From RTF\\par}");
        QTest::newRow("HTML first") << QByteArray("<html><body>From HTML</body></html>") << rtf
                                    << QStringLiteral("From plain") << "html" << "From HTML";
        QTest::newRow("style-only HTML gives way to RTF")
            << QByteArray("<html><head><style>p{color:red}</style></head><body> \n</body></html>") << rtf
            << QStringLiteral("From plain") << "rtf" << "From RTF";
        QTest::newRow("plain when nothing else shows") << QByteArray("<html><body>&nbsp;</body></html>")
                                                        << QByteArray() << QStringLiteral("  From plain <&>\n")
                                                        << "plain" << "From plain &lt;&amp;&gt;";
        QTest::newRow("nothing visible") << QByteArray("<p> </p>") << QByteArray() << QStringLiteral(" \r\n\t")
                                         << "" << "";
    }
    void displayBodyFollowsTheViewer()
    {
        QFETCH(QByteArray, html);
        QFETCH(QByteArray, rtf);
        QFETCH(QString, plain);
        QFETCH(QString, displayBody);
        QFETCH(QString, shownText);
        const QString path = fixture(QStringLiteral("bodies.tnef"), messageWithBodies(html, rtf, plain));
        const Run info = tessil({"info", "--json", path});
        QCOMPARE(info.exitCode, 0);
        const QJsonObject message = parseArray(info.out).at(0).toObject();
        if (displayBody.isEmpty())
            QVERIFY(message.value("displayBody").isNull());
        else
            QCOMPARE(message.value("displayBody").toString(), displayBody);
        QCOMPARE(message.value("bodies").toObject().value("rtf").isNull(), rtf.isEmpty());

        const Run body = tessil({"html", path});
        QCOMPARE(body.exitCode, 0);
        if (shownText.isEmpty())
            QCOMPARE(body.out, QByteArray());
        else
            QVERIFY2(body.out.contains(shownText.toUtf8()), body.out.constData());
    }

    void hostileTextIsEscaped()
    {
        const QString subject = QString::fromUtf16(u"Quote \" backslash \\ tab\t line\nbreak \u0001 \u2028 \U0001F600 é");
        const QString path = fixture(QStringLiteral("hostile-text.tnef"),
                                     messageWithAttachments({named(QStringLiteral("\x1b]0;owned\x07.txt"), "x")}, subject));
        const Run json = tessil({"info", "--json", path});
        QCOMPARE(json.exitCode, 0);
        QVERIFY(json.out.contains("\\u0001"));
        QVERIFY(json.out.contains("\\u2028"));
        QVERIFY(json.out.contains("\\u001b]0;owned\\u0007.txt"));
        for (char c : json.out)
            QVERIFY2(uchar(c) >= 0x20 || c == '\n', "a raw control character in the JSON");
        const QJsonObject message = parseArray(json.out).at(0).toObject();
        QCOMPARE(message.value("subject").toString(), subject);
        QCOMPARE(keysInOrder(json.out), expectedKeys(parseArray(json.out)));

        // The terminal never receives the escape sequences either.
        const Run text = tessil({"info", path});
        QCOMPARE(text.exitCode, 0);
        QVERIFY(!text.out.contains('\x1b') && !text.out.contains('\x07') && !text.out.contains('\x01'));
        QVERIFY(text.out.contains("?]0;owned?.txt"));
    }

    void extractNeverReplacesFiles()
    {
        REQUIRE_REAL_SAMPLES();
        const QString quick = testsupport::realSamplePath(QStringLiteral("quick-winmail.dat"));
        const QString out = work_.filePath(QStringLiteral("extract-existing"));
        QVERIFY(QDir().mkpath(out));
        QVERIFY(writeFile(out + QStringLiteral("/quick.doc"), "mine"));
        QVERIFY(writeFile(out + QStringLiteral("/quick (2).doc"), "mine too"));
        QVERIFY(writeFile(out + QStringLiteral("/quick.pdf"), "mine"));

        const Run first = tessil({"extract", "-o", out, quick});
        QCOMPARE(first.exitCode, 0);
        QVERIFY2(first.err.isEmpty(), first.err.constData());
        const QStringList firstNames{"quick (3).doc", "quick.html", "quick (2).pdf", "quick.txt", "quick.xml"};
        QStringList expectedLines;
        for (const QString& name : firstNames)
            expectedLines << QDir(out).filePath(name);
        QCOMPARE(QString::fromUtf8(first.out), expectedLines.join(u'\n') + u'\n');

        const Run second = tessil({"extract", "--output", out, quick});
        QCOMPARE(second.exitCode, 0);
        const QStringList secondNames{"quick (4).doc", "quick (2).html", "quick (3).pdf", "quick (2).txt", "quick (2).xml"};
        const QStringList originals{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        for (int i = 0; i < originals.size(); ++i) {
            const QByteArray expected = testsupport::readRealSample(QStringLiteral("quick-contents/") + originals.at(i));
            QCOMPARE(readFile(QDir(out).filePath(firstNames.at(i))), expected);
            QCOMPARE(readFile(QDir(out).filePath(secondNames.at(i))), expected);
        }
        QCOMPARE(readFile(out + QStringLiteral("/quick.doc")), QByteArray("mine"));
        QCOMPARE(readFile(out + QStringLiteral("/quick (2).doc")), QByteArray("mine too"));
        QCOMPARE(readFile(out + QStringLiteral("/quick.pdf")), QByteArray("mine"));
        QCOMPARE(entriesBelow(out).size(), 3 + 10);
    }

    void hostileNamesLandInsideTheDirectory()
    {
        const QStringList names{
            QStringLiteral("../../escape.txt"),
            QStringLiteral("/tmp/tessil-absolute-%1.txt").arg(QCoreApplication::applicationPid()),
            QStringLiteral("..\\..\\windows.txt"),
            QStringLiteral("C:\\Windows\\system32\\evil.exe"),
            QStringLiteral("sub/dir/deep.txt"),
            QStringLiteral("CON"),
            QStringLiteral("nul.txt"),
            QStringLiteral("line\nbreak.txt"),
            QStringLiteral("\x1b[2Jclear.txt"),
            QString::fromUtf16(u"invoice\u202Efdp.exe"),
            QStringLiteral(""),
            QStringLiteral("."),
            QStringLiteral(".."),
            QStringLiteral("   "),
            QStringLiteral(".hidden"),
            QStringLiteral("trap.txt"),
            QString(300, u'n') + QStringLiteral(".txt"),
        };
        QList<AttachmentSpec> specs;
        QSet<QByteArray> contents;
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray content = "content of attachment " + QByteArray::number(i);
            specs << named(names.at(i), content);
            contents << content;
        }
        const QString path = fixture(QStringLiteral("hostile-names.tnef"), messageWithAttachments(specs));

        const QString root = work_.filePath(QStringLiteral("hostile"));
        const QString out = root + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(out));
        // A link planted under a name that an attachment uses must not be followed.
        QVERIFY(QFile::link(root + QStringLiteral("/outside.txt"), out + QStringLiteral("/trap.txt")));

        const Run run = tessil({"extract", "-o", out, path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());

        QCOMPARE(entriesBelow(root).filter(QRegularExpression(QStringLiteral("^(?!out/)"))), QStringList{"out"});
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/tessil-absolute-%1.txt").arg(QCoreApplication::applicationPid())));
        QVERIFY(!QFileInfo::exists(root + QStringLiteral("/outside.txt")));

        const QStringList printed = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), names.size());
        QSet<QByteArray> found;
        for (const QString& written : printed) {
            const QFileInfo info(written);
            QCOMPARE(info.absolutePath(), QFileInfo(out).absoluteFilePath());
            QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(written));
            QVERIFY2(!info.fileName().startsWith(u'.'), qPrintable(written));
            QVERIFY(info.fileName().toUtf8().size() <= 255);
            found << readFile(written);
        }
        QCOMPARE(found, contents);
        QCOMPARE(entriesBelow(out).size(), names.size() + 1);
        for (const char* name : {"_CON.txt", "escape.txt", "trap (2).txt", "attachment.hidden"})
            QVERIFY2(QFileInfo::exists(out + u'/' + QLatin1String(name)), name);
    }

    void extractWritesTheBodyAndSkipsInlineImages()
    {
        const QString meeting = fixture(QStringLiteral("meeting.tnef"), richMeeting());
        const QString noSubject = fixture(QStringLiteral("nosubject.tnef"),
                                          messageWithBodies({}, "{\\rtf1\\ansi Converted \\b text\\b0\\par}", QString(), QString()));
        const QString slashed = fixture(QStringLiteral("slashed.tnef"),
                                        messageWithBodies("<p>Q&amp;A</p>", {}, QString(), QStringLiteral("Re: Q1/Q2 plan")));
        const QString out = work_.filePath(QStringLiteral("extract-body"));

        const Run run = tessil({"extract", "--body", "-o", out, meeting, noSubject, slashed});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QStringList expected{"agenda.pdf", "OBJECT.pdf", "Design review.ics", "Design review.html",
                                   "message.html", "Re_ Q1_Q2 plan.html"};
        QStringList lines;
        for (const QString& name : expected)
            lines << QDir(out).filePath(name);
        QCOMPARE(QString::fromUtf8(run.out), lines.join(u'\n') + u'\n');
        QCOMPARE(readFile(QDir(out).filePath(QStringLiteral("OBJECT.pdf"))), kPdf);
        QVERIFY(readFile(QDir(out).filePath(QStringLiteral("Design review.ics"))).startsWith("BEGIN:VCALENDAR\r\n"));

        // The body file is the viewer's HTML, marked as UTF-8 for browsers.
        const QByteArray bodyFile = readFile(QDir(out).filePath(QStringLiteral("Design review.html")));
        const Run html = tessil({"html", meeting});
        QCOMPARE(html.exitCode, 0);
        QCOMPARE(bodyFile, "\xEF\xBB\xBF" + html.out);
        QVERIFY(html.out.contains("data:image/png;base64," + kPng.toBase64()));
        QVERIFY(readFile(QDir(out).filePath(QStringLiteral("message.html"))).contains("Converted"));
    }

    void bundledSampleIsReproducibleAndComplete()
    {
        const QString committed = QStringLiteral(QUORVIA_SOURCE_DIR "/samples/sample.tnef");
        const QString regenerated = work_.filePath(QStringLiteral("sample.tnef"));
        QCOMPARE(QProcess::execute(QStringLiteral(MAKE_SAMPLE_BINARY), {regenerated}), 0);
        QCOMPARE(readFile(regenerated), readFile(committed));

        const Run run = tessil({"info", "--json", committed});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QJsonObject message = parseArray(run.out).at(0).toObject();
        QCOMPARE(message.value("displayBody").toString(), QStringLiteral("html"));
        QVERIFY(!message.value("bodies").toObject().value("rtf").isNull());
        QStringList names;
        QStringList shown;
        for (const QJsonValue& value : message.value("attachments").toArray()) {
            const QJsonObject attachment = value.toObject();
            names << attachment.value("fileName").toString();
            shown << (attachment.value("listed").toBool() ? QStringLiteral("grid") : QStringLiteral("inline"));
        }
        QCOMPARE(names, (QStringList{"readiness-chart.png", "launch-plan.pdf", "launch-budget.csv",
                                     "Harbour Room floor plan.svg", QString::fromUtf16(u"Q3 launch plan \u2013 design review.ics")}));
        QCOMPARE(shown, (QStringList{"inline", "grid", "grid", "grid", "grid"}));

        const QString out = work_.filePath(QStringLiteral("sample-out"));
        const Run extract = tessil({"extract", "-o", out, committed});
        QCOMPARE(extract.exitCode, 0);
        QVERIFY(readFile(QDir(out).filePath(QStringLiteral("Harbour Room floor plan.svg"))).contains("<svg"));
        const QByteArray calendar = readFile(QDir(out).filePath(names.last()));
        QVERIFY(calendar.contains("DTSTART:20240919T070000Z\r\nDTEND:20240919T083000Z\r\n"));
        QVERIFY(calendar.contains("LOCATION:Harbour Room, 4th floor\r\n"));
    }

    void diagnosticsOnlyWhenAskedFor()
    {
        const QString path = fixture(QStringLiteral("corrupt.tnef"),
                                     TnefWriter().tnefVersion().attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hi", 0).bytes());
        const Run quiet = tessil({"info", path});
        QCOMPARE(quiet.exitCode, 0);
        QCOMPARE(quiet.err, QByteArray());

        const Run verbose = tessil({"info", "--verbose", path});
        QCOMPARE(verbose.exitCode, 0);
        QVERIFY2(verbose.err.contains("[ATTR]"), verbose.err.constData());
        QVERIFY(verbose.err.contains("WARNING: invalid checksum"));
        QCOMPARE(verbose.out, quiet.out);
    }
};

QUORVIA_GUI_TEST_MAIN(TestTessil)
#include "tst_tessil.moc"
