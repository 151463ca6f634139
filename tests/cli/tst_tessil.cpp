// The tessil program as scripts meet it (the built binary run with its own
// HOME, no display and UTC as local time), and the naming of attachment
// files that it shares with the viewer's saving.

#include "message/attachment_file_names.h"

#include "support/attached_message_fixtures.h"
#include "support/message_fixtures.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <unistd.h>

using namespace tnefwriter;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject first() const { return QJsonDocument::fromJson(out).array().at(0).toObject(); } // of info/props --json
};

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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

AttachmentSpec attachment(const QString& name, const QByteArray& data, const QByteArray& contentId = {})
{
    return AttachmentSpec{QByteArray(), name, data, QByteArray(), contentId, {}};
}

QByteArray message(const QString& subject, const QList<AttachmentSpec>& attachments, const QByteArray& html = "<p>Hi</p>")
{
    MapiBlockWriter props;
    props.add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
        .add(MapiProp::unicode(PidTagSubject, subject))
        .add(MapiProp::time(PidTagClientSubmitTime, QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)))
        .add(MapiProp::binary(PidTagBodyHtml, html));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props);
    for (const AttachmentSpec& spec : attachments)
        tnef.attachment(spec);
    return tnef.bytes();
}

} // namespace

class TestTessil : public QObject
{
    Q_OBJECT

    QTemporaryDir work;

    // `input` is the file standard input reads; `unprivileged` runs it as
    // nobody when the test runs as root, whom no file's mode stops.
    Run tessil(const QStringList& arguments, const QString& directory = QString(), const QString& platform = QString(),
               const QString& input = QString(), bool unprivileged = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", work.path());
        env.insert("TZ", "UTC");
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name); // like a server: no display, and nobody chose a platform
        if (!platform.isEmpty())
            env.insert("QT_QPA_PLATFORM", platform);
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(directory.isEmpty() ? work.path() : directory);
        process.setStandardInputFile(input.isEmpty() ? QProcess::nullDevice() : input);
        if (unprivileged && ::geteuid() == 0)
            process.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", TESSIL_BINARY} + arguments);
        else
            process.start(TESSIL_BINARY, arguments);
        const bool finished = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
        return {finished ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("ordinary") << "Q&A (final) [v2]; #1.xlsx" << "Q&A (final) [v2]; #1.xlsx";
        QTest::newRow("unicode") << QStringLiteral("Résumé 会议 🎉.pdf") << QStringLiteral("Résumé 会议 🎉.pdf");
        QTest::newRow("device inside a word") << "console.log" << "console.log";
        QTest::newRow("parents") << "../../etc/passwd" << "etc_passwd";
        QTest::newRow("drive letter") << "C:\\evil.exe" << "C__evil.exe";
        QTest::newRow("reserved chars") << "a<b>c\"d|e?f*g.txt" << "a_b_c_d_e_f_g.txt";
        QTest::newRow("NUL, newline") << QString::fromUtf16(u"a\0b\nc.txt", 9) << "a_b_c.txt";
        QTest::newRow("ESC, DEL, C1") << QString::fromUtf16(u"\x1b[31m\x7f\x85.txt") << "_[31m__.txt";
        QTest::newRow("bidi override") << QString::fromUtf16(u"invoice\u202Efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".txt") << "a_.txt";
        QTest::newRow("bare extension") << ".bin" << "attachment.bin";
        QTest::newRow("trailing dots, spaces") << "  report.pdf . . " << "report.pdf";
        QTest::newRow("dot dot") << ".." << "attachment";
        QTest::newRow("empty") << "" << "attachment";
        QTest::newRow("CON") << "CON" << "_CON";
        QTest::newRow("device, extensions") << "Nul.tar.gz" << "_Nul.tar.gz";
        QTest::newRow("COM superscript") << QString::fromUtf16(u"COM\u00B9.txt") << QString::fromUtf16(u"_COM\u00B9.txt");
        QTest::newRow("device after parents") << "../CON" << "_CON";
        // At most 255 bytes of UTF-8, the extension kept, no character split.
        QTest::newRow("long") << QString(300, u'a') + ".pdf" << QString(251, u'a') + ".pdf";
        QTest::newRow("long emoji") << QString("😀").repeated(100) + ".png" << QString("😀").repeated(62) + ".png";
        QTest::newRow("long extension") << "x." + QString(300, u'e') << "x." + QString(253, u'e');
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(safeAttachmentFileName(name), safe);
        QCOMPARE(safeAttachmentFileName(safe), safe);
        QCOMPARE(uniqueFilePath(work.path(), name), work.filePath(safe));
    }

    void uniquePaths_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("taken") << QStringList{"report.pdf"} << "report.pdf" << "report (2).pdf";
        QTest::newRow("last dot") << QStringList{"a.tar.gz"} << "a.tar.gz" << "a.tar (2).gz";
        QTest::newRow("no dot") << QStringList{"notes"} << "notes" << "notes (2)";
        QTest::newRow("bare extension") << QStringList{"attachment.bin"} << ".bin" << "attachment (2).bin";
        QTest::newRow("directory") << QStringList{"dir:photos.zip"} << "photos.zip" << "photos (2).zip";
        QTest::newRow("dangling link") << QStringList{"link:data.csv"} << "data.csv" << "data (2).csv";
        QTest::newRow("long") << QStringList{QString(251, u'a') + ".pdf"} << QString(300, u'a') + ".pdf"
                              << QString(247, u'a') + " (2).pdf";
    }
    void uniquePaths()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString& entry : existing) {
            if (entry.startsWith("dir:"))
                QVERIFY(QDir(dir.path()).mkdir(entry.mid(4)));
            else if (entry.startsWith("link:"))
                QVERIFY(QFile::link(dir.filePath("missing"), dir.filePath(entry.mid(5))));
            else
                QVERIFY(!writeFile(dir.filePath(entry), "old").isEmpty());
        }
        QCOMPARE(uniqueFilePath(dir.path(), name), dir.filePath(expected));
        QVERIFY(!writeFile(dir.filePath(expected), "new").isEmpty()); // the file system takes the name
        QFile file; // creating it cannot follow a link or replace a file either
        QVERIFY(openUniqueFile(dir.path(), name, &file) && file.fileName() != dir.filePath(expected));
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
        QVERIFY(!openUniqueFile(dir.filePath("none"), name, &file) && !file.isOpen()); // fails, no endless search
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // empty: nothing on standard error; whole lines: all of it
        // @G, @B (not TNEF), @C (bad checksum), @M (missing), @D (a directory), @E (empty), @P (not
        // readable), @I (a PNG) and @T (the signature only) stand for fixture paths.
        const QString checksum = "tessil: @C: warning: a record does not match its checksum; its data may be wrong\n";
        QTest::newRow("unknown option") << QStringList{"info", "--colour", "@G"} << 2 << "" << "colour";
        QTest::newRow("others go on") << QStringList{"info", "@G", "@B", "@G"} << 1 << "Subject:      Files"
                                      << "tessil: @B: not a TNEF file\n";
        QTest::newRow("extract here") << QStringList{"extract", "@G"} << 0 << "a.txt\n" << "";
        QTest::newRow("no output dir") << QStringList{"extract", "-o", "@G/sub", "@G"} << 1 << ""
                                       << "tessil: cannot create the directory @G/sub\n";
        // Damage is said once per kind, the decoder's own lines only when asked for.
        QTest::newRow("damaged") << QStringList{"info", "@C"} << 0 << "Subject:" << checksum;
        QTest::newRow("damaged, verbose") << QStringList{"info", "--verbose", "@C"} << 0 << "" << "WARNING: invalid checksum";
        QTest::newRow("damaged, extract") << QStringList{"extract", "@C"} << 0 << "" << checksum;
        QTest::newRow("damaged, html") << QStringList{"html", "@C"} << 0 << "" << checksum;
        QTest::newRow("reasons") << QStringList{"info", "@M", "@D", "@E", "@I", "@T"} << 1 << ""
                                 << "tessil: @M: no such file\ntessil: @D: is a directory\ntessil: @E: empty file\n"
                                    "tessil: @I: not a TNEF file\ntessil: @T: warning: the file is cut short; what followed the cut is missing\n";
        QTest::newRow("permission") << QStringList{"info", "@P"} << 1 << "" << "tessil: @P: permission denied\n";
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const QByteArray badChecksum =
            TnefWriter().tnefVersion().attributeWithChecksum(LevelMessage, AttBody, AtpText, "Hi", 0).bytes();
        const QByteArray good = message("Files", {attachment("a.txt", "A")});
        const QString unreadable = writeFile(work.filePath("unreadable.dat"), good);
        QVERIFY(QFile::setPermissions(unreadable, QFileDevice::WriteOwner));
        QVERIFY(QDir(work.path()).mkpath("folder.dat"));
        const QHash<QString, QString> paths{{"@G", writeFile(work.filePath("good.tnef"), good)},
                                           {"@B", writeFile(work.filePath("bad.dat"), "PK\x03\x04 not TNEF")},
                                           {"@C", writeFile(work.filePath("checksum.tnef"), badChecksum)},
                                           {"@M", work.filePath("missing.dat")},
                                           {"@D", work.filePath("folder.dat")},
                                           {"@E", writeFile(work.filePath("empty.dat"), "")},
                                           {"@I", writeFile(work.filePath("picture.dat"), kPng)},
                                           {"@T", writeFile(work.filePath("signature.dat"), TnefWriter().bytes().left(5))},
                                           {"@P", unreadable}};
        const auto resolve = [&](QString text) {
            for (auto it = paths.cbegin(); it != paths.cend(); ++it)
                text.replace(it.key(), it.value());
            return text;
        };
        const bool unprivileged = arguments.contains("@P");
        for (QString& argument : arguments)
            argument = resolve(argument);
        QTemporaryDir current;
        const Run run = tessil(arguments, current.path(), QString(), QString(), unprivileged);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(run.out).contains(resolve(out)), run.out.constData());
        if (err.endsWith(u'\n'))
            QCOMPARE(QString::fromUtf8(run.err), resolve(err));
        else
            QVERIFY2(err.isEmpty() ? run.err.isEmpty() : QString::fromUtf8(run.err).contains(resolve(err)), run.err.constData());
        QVERIFY(exitCode != 2 || run.out.isEmpty());
    }

    // A console program: a desktop's platform choice carried into a session
    // without its display (ssh, cron) must not stop it. It once aborted there,
    // looking for a display it never used.
    void noPlatformNeeded()
    {
        const QString path = writeFile(work.filePath("console.tnef"), message("Console", {attachment("a.txt", "A")}));
        for (const QString& platform : {QStringLiteral("xcb"), QStringLiteral("wayland")}) {
            const Run run = tessil({"info", path}, QString(), platform);
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.contains("Subject:      Console") && run.err.isEmpty(), run.err.constData());
        }
    }

    // Keys and their order are what scripts rely on; a failed file keeps its
    // place with the same keys; every text from the message is escaped.
    void props()
    {
        MapiBlockWriter properties;
        properties.add(MapiProp::string8(PidTagMessageClass, "IPM.Note"))
            .add(MapiProp::unicode(PidTagSubject, QStringLiteral("Props \u00e9")))
            .add(MapiProp::time(PidTagClientSubmitTime, QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)))
            .add(MapiProp::multi(PtypInteger32, 0x6801, {int32Bytes(1), int32Bytes(2), int32Bytes(3)}))
            .add(MapiProp::binary(0x6802, QByteArray(300, '\x5a')));
        TnefWriter tnef;
        tnef.tnefVersion().messageProperties(properties).attachment(attachment("plan.png", kPng));
        const QString file = writeFile(work.filePath("props.tnef"), tnef.bytes());

        Run run = tessil({"props", "--json", file});
        QCOMPARE(run.exitCode, 0);
        QJsonObject object = run.first();
        QCOMPARE(object.keys(), (QStringList{"attachments", "error", "file", "properties"}));
        QCOMPARE(object.value("file").toString(), file);
        QMap<QString, QJsonObject> byTag;
        for (const QJsonValue& property : object.value("properties").toArray())
            byTag.insert(property["tag"].toString(), property.toObject());
        QCOMPARE(byTag.value("0x0037001F"),
                 QJsonDocument::fromJson(R"({"tag": "0x0037001F", "id": "0x0037", "type": "PtypString",
                                             "name": "PidTagSubject", "values": ["Props \u00e9"]})").object());
        QCOMPARE(byTag.value("0x00390040")["values"].toArray(), QJsonArray{"2024-05-01T10:20:30Z"});
        QCOMPARE(byTag.value("0x68011003")["type"].toString(), "PtypMultipleInteger32");
        QCOMPARE(byTag.value("0x68011003")["values"].toArray(), (QJsonArray{1, 2, 3}));
        QCOMPARE(byTag.value("0x68020102")["values"].toArray(), QJsonArray{QString(600, u'a').replace("aa", "5a")});
        const QJsonArray attachments = object.value("attachments").toArray();
        QCOMPARE(attachments.size(), 1);
        bool named = false;
        for (const QJsonValue& property : attachments.at(0).toArray())
            named = named || (property["name"] == "PidTagAttachLongFilename" && property["values"] == QJsonArray{"plan.png"});
        QVERIFY(named);

        // One attachment's own properties.
        run = tessil({"props", "--json", "--attachment", "1", file});
        QCOMPARE(run.exitCode, 0);
        object = run.first();
        QCOMPARE(object.value("attachment").toInt(), 1);
        QCOMPARE(object.value("properties").toArray(), attachments.at(0).toArray());
        QVERIFY(object.value("attachments").toArray().isEmpty());
        run = tessil({"props", "--attachment", "2", file});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "tessil: " + file.toUtf8() + ": attachment 2: no such attachment (the message has 1)\n");
        QCOMPARE(tessil({"props", "--attachment", "0", file}).exitCode, 2);

        // The table: values in words, binaries shortened.
        run = tessil({"props", file});
        QCOMPARE(run.exitCode, 0);
        const QString text = QString::fromUtf8(run.out);
        QVERIFY2(text.contains(QRegularExpression("0x68011003 +PtypMultipleInteger32 +- +1; 2; 3\n")), qPrintable(text));
        QVERIFY(text.contains("(300 bytes)") && text.contains("Attachment 1: plan.png"));
    }

    void jsonKeysAndEscaping()
    {
        const QString subject = QString::fromUtf16(u"Quote \" back\\ tab\t line\n \u0001 \u2028 \U0001F600 é");
        const QString hostile = QStringLiteral("\x1b]0;owned\x07.txt");
        const QString good = writeFile(work.filePath("json.tnef"),
                                       message(subject, {attachment("plan.png", kPng, "plan@1"), attachment(hostile, kPdf)},
                                               "<p>Plan</p><img src=\"cid:plan@1\">"));
        const QString bad = writeFile(work.filePath("zip.dat"), "PK\x03\x04");
        const Run run = tessil({"info", "--json", bad, good});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "tessil: " + bad.toUtf8() + ": not a TNEF file\n");
        for (char c : run.out)
            QVERIFY2(uchar(c) >= 0x20 || c == '\n', "a raw control character");
        QVERIFY(run.out.contains("\\u0001") && run.out.contains("\\u2028") && run.out.contains("\\u001b]0;owned\\u0007"));

        const QStringList top{"file", "ok", "error", "messageClass", "subject", "senderName", "senderEmail",
                              "displayTo", "displayCc", "sentTime", "infoLine", "propertyCount", "bodies"};
        const QStringList perAttachment{"fileName", "mimeType", "contentId", "isOle", "storedSize", "size", "sha256", "listed",
                                        "detectedMimeType", "isMessage"};
        const QStringList keys = top + QStringList{"html", "rtf", "plain", "displayBody", "attachments", "format", "recipients", "warnings"} + top
            + QStringList{"html", "size", "sha256", "rtf", "plain", "displayBody", "attachments"} + perAttachment + perAttachment
            + QStringList{"format", "recipients", "warnings"};
        QStringList written; // in order, which QJsonObject does not keep
        for (auto it = QRegularExpression("\"(\\w+)\": ").globalMatch(QString::fromUtf8(run.out)); it.hasNext();)
            written << it.next().captured(1);
        QCOMPARE(written, keys);

        const QJsonArray files = QJsonDocument::fromJson(run.out).array();
        const QJsonObject failed = files.at(0).toObject();
        QCOMPARE(failed.value("ok").toBool(true), false);
        QCOMPARE(failed.value("error").toString(), QStringLiteral("not a TNEF file"));
        QVERIFY(failed.value("warnings") == QJsonArray() && failed.value("recipients") == QJsonArray() && failed.value("format").isNull());
        const QJsonObject decoded = files.at(1).toObject();
        QCOMPARE(decoded.value("subject").toString(), subject);
        QCOMPARE(decoded.value("sentTime").toString(), QStringLiteral("2024-05-01T10:20:30Z"));
        QCOMPARE(decoded.value("infoLine").toString(), QStringLiteral("2024-05-01 10:20:30, 115 B, 2 attachments"));
        const QJsonArray attachments = decoded.value("attachments").toArray();
        QCOMPARE(attachments.at(0).toObject().value("listed").toBool(true), false); // inline image
        const QJsonObject pdf = attachments.at(1).toObject();
        QCOMPARE(pdf.value("fileName").toString(), hostile);
        QCOMPARE(pdf.value("size").toInteger(), kPdf.size());
        QCOMPARE(pdf.value("sha256").toString(), sha256(kPdf));
        QCOMPARE(pdf.value("listed").toBool(), true);

        // Nor does a terminal receive the escape sequences.
        const Run text = tessil({"info", good});
        QVERIFY(!text.out.contains('\x1b') && !text.out.contains('\x07') && text.out.contains("?]0;owned?.txt"));
    }

    // A damaged file shows what could be read and names its damage, by id in
    // JSON, each kind once; the exit status stays that of a decoded file.
    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<int>("attachments");
        const QByteArray good = message("Damaged", {attachment("a.txt", "A"), attachment("b.txt", "B")});
        const QByteArray badBlock = MapiBlockWriter().add(MapiProp(PtypErrorCode, 0x0E07).addValue(le32(0))).bytes();
        QByteArray badCrc = compressedRtf("{\\rtf1 lost}");
        badCrc[12] = char(badCrc[12] ^ 1);
        TnefWriter rtf;
        rtf.messageProperties(MapiBlockWriter().add(MapiProp::unicode(PidTagSubject, "Damaged")).add(MapiProp::binary(PidTagRtfCompressed, badCrc)));
        QTest::newRow("sound") << good << QStringList{} << 2;
        QTest::newRow("RTF body") << rtf.bytes() << QStringList{"rtf-checksum"} << 0;
        QTest::newRow("all at once, twice") << TnefWriter().raw(good.mid(6)).attributeWithChecksum(LevelMessage, AttMsgProps, AtpByte, badBlock, 0)
                                                   .attributeWithChecksum(LevelMessage, AttMsgProps, AtpByte, badBlock, 0).raw(QByteArray(9, '\1')).bytes()
                                     << QStringList{"truncated", "checksum", "corrupt-properties"} << 2;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, warnings);
        const QString path = writeFile(work.filePath("damaged.tnef"), bytes);
        const Run run = tessil({"info", "--json", path});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject file = run.first();
        QCOMPARE(file.value("subject").toString(), QStringLiteral("Damaged"));
        QTEST(int(file.value("attachments").toArray().size()), "attachments");
        QCOMPARE(file.value("warnings").toVariant().toStringList(), warnings);
        const QStringList lines = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), warnings.size());
        for (const QString& line : lines)
            QVERIFY2(line.startsWith("tessil: " + path + ": warning: "), qPrintable(line));
    }

    // "-" reads standard input, once.
    void standardInput()
    {
        const QString good = writeFile(work.filePath("stdin.tnef"), message("From input", {attachment("a.txt", "A")}));
        const Run info = tessil({"info", "--json", "-", "-"}, QString(), QString(), good);
        QCOMPARE(info.exitCode, 1);
        const QJsonArray files = QJsonDocument::fromJson(info.out).array();
        QCOMPARE(files.at(0).toObject().value("file").toString(), QStringLiteral("-"));
        QCOMPARE(files.at(0).toObject().value("subject").toString(), QStringLiteral("From input"));
        QCOMPARE(files.at(1).toObject().value("error").toString(), QStringLiteral("empty file"));
        QCOMPARE(info.err, QByteArray("tessil: -: empty file\n"));

        QTemporaryDir out;
        const Run extract = tessil({"extract", "-o", out.path(), "-"}, QString(), QString(), good);
        QCOMPARE(extract.exitCode, 0);
        QCOMPARE(readFile(out.filePath("a.txt")), QByteArray("A"));
    }

    // A message whose RTF body carries its HTML, and one whose RTF carries
    // plain text: the body line says which won, html prints what the sender
    // wrote, and the recipients and the types found are reported.
    void bodiesAsSent()
    {
        const QString html = writeFile(work.filePath("as-sent.tnef"), testsupport::encapsulatedHtmlMessage());
        const QString meeting = writeFile(work.filePath("meeting.tnef"), testsupport::meetingRequestMessage());
        const Run info = tessil({"info", html, meeting});
        QCOMPARE(info.exitCode, 0);
        const QStringList lines = QString::fromUtf8(info.out).split(u'\n');
        for (const char* line : {"  To:           Jonas Ebert; Priya Raman", "  Cc:           Tomás Lindqvist", "  Body:         RTF (HTML)",
                                 "  To:           Bo Li; Chen Wu", "  Body:         RTF (text)"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), line);
        QCOMPARE(lines.filter(QStringLiteral("  Cc:")).size(), 1); // none for the meeting, which has no Cc

        const Run page = tessil({"html", html});
        QCOMPARE(page.exitCode, 0);
        QVERIFY(page.out.contains("<a href=\"https://plans.example/q3?view=full&amp;lang=en\">the planning site</a>") && page.out.contains("<td>Review</td>"));

        const Run json = tessil({"info", "--json", html});
        const QJsonObject message = json.first();
        QCOMPARE(message.value("displayBody").toString(), QStringLiteral("rtf"));
        const QJsonArray attachments = message.value("attachments").toArray();
        QCOMPARE(attachments.at(0).toObject().value("detectedMimeType").toString(), QStringLiteral("image/png"));
        const QJsonObject pdf = attachments.at(1).toObject();
        QCOMPARE(pdf.value("mimeType").toString(), QStringLiteral("application/octet-stream")); // as stored
        QCOMPARE(pdf.value("detectedMimeType").toString(), QStringLiteral("application/pdf"));
    }

    // Every listed attachment is written inside the directory under a safe,
    // new name; files and links already there are left alone.
    void extractNeverEscapesOrReplaces()
    {
        const QString root = work.filePath("extract");
        const QString out = root + "/out";
        QVERIFY(QDir().mkpath(out));
        QVERIFY(!writeFile(out + "/report.pdf", "mine").isEmpty());
        QVERIFY(QFile::link(root + "/outside.txt", out + "/trap.txt"));
        const QStringList names{"report.pdf", "report.pdf", "../../escape.txt", "C:\\Windows\\evil.exe", "CON",
                                "", ".hidden", "line\nbreak.txt", "trap.txt", QString(300, u'n') + ".txt"};
        QList<AttachmentSpec> specs{attachment("logo.png", kPng, "logo@x")};
        for (int i = 0; i < names.size(); ++i)
            specs << attachment(names.at(i), "content " + QByteArray::number(i));
        const QString path = writeFile(work.filePath("hostile.tnef"), message("Files", specs, "<img src=\"cid:logo@x\">"));

        const Run run = tessil({"extract", "-o", out, path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QStringList written{"report (2).pdf", "report (3).pdf", "escape.txt", "C__Windows_evil.exe", "_CON.txt",
                                  "attachment.txt", "attachment.hidden", "line_break.txt", "trap (2).txt",
                                  QString(251, u'n') + ".txt"};
        QStringList lines;
        for (int i = 0; i < written.size(); ++i) {
            lines << QDir(out).filePath(written.at(i));
            QCOMPARE(readFile(lines.last()), "content " + QByteArray::number(i));
        }
        QCOMPARE(QString::fromUtf8(run.out), lines.join(u'\n') + u'\n');
        QCOMPARE(readFile(out + "/report.pdf"), QByteArray("mine"));
        QVERIFY(!QFileInfo::exists(root + "/outside.txt"));
        QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), QStringList{"out"});
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).size(), 12);
    }

    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        const QStringList names{"quick-winmail.dat", "winmail-sample1.dat", "bug52400-winmail-simple.dat",
                                "bug52400-winmail-with-attachments.dat", "bug63955-winmail.dat"};
        const QStringList subjects{"This is a test message", "test", "Testing TNEF Message",
                                   "TNEF test message with attachments", "Test"};
        QStringList arguments{"info", "--json"};
        for (const QString& name : names)
            arguments << testsupport::realSamplePath(name);
        const Run run = tessil(arguments);
        QCOMPARE(run.exitCode, 0);
        const QJsonArray files = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(files.size(), names.size());
        for (int i = 0; i < files.size(); ++i) {
            QVERIFY(files.at(i).toObject().value("ok").toBool());
            QCOMPARE(files.at(i).toObject().value("subject").toString(), subjects.at(i));
            QCOMPARE(files.at(i).toObject().value("warnings"), QJsonValue(QJsonArray()));
            QCOMPARE(files.at(i).toObject().value("format").toString(), QStringLiteral("tnef"));
        }
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        // The recipient table of a TNEF file.
        const QJsonArray recipients = files.at(2).toObject().value("recipients").toArray();
        QCOMPARE(recipients.size(), 1);
        QCOMPARE(recipients.at(0).toObject(), (QJsonObject{{"name", "Gaggletest2"}, {"email", "Gaggletest2@anderson5.net"}, {"type", "to"}}));

        // Hostile lengths and a bad checksum: what is there, said to be damaged.
        const QString oom = testsupport::realSamplePath("oom.tnef");
        const Run damaged = tessil({"info", "--json", oom});
        QCOMPARE(damaged.exitCode, 0);
        QCOMPARE(damaged.first().value("warnings").toVariant().toStringList(), (QStringList{"checksum", "corrupt-properties"}));
        QCOMPARE(QString::fromUtf8(damaged.err),
                 QStringLiteral("tessil: %1: warning: a record does not match its checksum; its data may be wrong\n"
                                "tessil: %1: warning: a block of properties is damaged and was left out\n").arg(oom));
        const QJsonObject quickPdf = files.at(0).toObject().value("attachments").toArray().at(2).toObject();
        QCOMPARE(quickPdf.value("sha256").toString(), sha256(testsupport::readRealSample("quick-contents/quick.pdf")));
    }

    // Every real .msg file (the damaged one too) through info --json, extract
    // and html, as TNEF files go.
    void realMsgFiles()
    {
        REQUIRE_REAL_SAMPLES();
        const QDir folder(testsupport::realSamplePath("msg"));
        const QStringList names = folder.entryList({"*.msg"}, QDir::Files, QDir::Name);
        QCOMPARE(names.size(), 14);
        QStringList arguments{"info", "--json"};
        for (const QString& name : names)
            arguments << folder.filePath(name);
        const Run run = tessil(arguments);
        QCOMPARE(run.exitCode, 0);
        QHash<QString, QJsonObject> files;
        for (const QJsonValue& file : QJsonDocument::fromJson(run.out).array())
            files.insert(QFileInfo(file.toObject().value("file").toString()).fileName(), file.toObject());
        QCOMPARE(files.size(), 14);
        for (const QJsonObject& file : files)
            QVERIFY(file.value("ok").toBool() && file.value("format").toString() == "msg");
        // The .msg reader's test pins the addresses; here, each kind's name in JSON.
        QStringList types;
        for (const QJsonValue& r : files.value("example_sent_regular.msg").value("recipients").toArray())
            types << r.toObject().value("type").toString();
        QCOMPARE(types.join(u' '), QStringLiteral("to to to cc cc cc bcc bcc"));

        // The text's To and Cc lines come from the recipient list, with addresses.
        const Run text = tessil({"info", folder.filePath("example_sent_regular.msg")});
        QVERIFY2(text.out.contains("  To:           'Ashutosh Dandavate' <ashutosh.dandavate@alfresco.com>; 'Paul Holmes-Higgin'"
                                   " <paul.hh@alfresco.com>; 'Mike Farman' <mikef@alfresco.com>\n"), text.out.constData());
        QVERIFY2(text.out.contains("  Cc:           'nickb@alfresco.com' <nickb@alfresco.com>; "), text.out.constData());

        QTemporaryDir out;
        const Run extract = tessil({"extract", "-o", out.path(), folder.filePath("attachment_msg_pdf.msg")});
        QCOMPARE(extract.exitCode, 0);
        QCOMPARE(sha256(readFile(out.filePath("smbprn.00009008.KdcPjl.pdf"))),
                 QStringLiteral("1bd629440fff7a30e340c95e51f2732f239ff7115be211aaa23ba498d0f1b208"));
        const Run html = tessil({"html", folder.filePath("HTMLBodyBinary_CP1251.msg")});
        QCOMPARE(html.exitCode, 0);
        QVERIFY2(QString::fromUtf8(html.out).contains(QString::fromUtf8("HTML автоматически")), html.out.constData());
    }

    // --attachment reports on an attached message as if it were the file,
    // at any depth, for each command; extract writes attached messages as
    // files that tessil reads again.
    void attachedMessages_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("TNEF") << testsupport::nestedTnefMessage(2) << ".dat";
        QTest::newRow("msg") << testsupport::nestedMsgMessage(2) << ".msg";
    }
    void attachedMessages()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, suffix);
        const QString path = writeFile(work.filePath("nested" + suffix), file);
        const Run top = tessil({"info", "--json", path});
        QCOMPARE(top.exitCode, 0);
        const QJsonArray listed = top.first().value("attachments").toArray();
        QCOMPARE(listed.at(0).toObject().value("fileName").toString(), "Level 1" + suffix);
        QVERIFY(listed.at(0).toObject().value("isMessage").toBool());
        QVERIFY(!listed.at(1).toObject().value("isMessage").toBool());

        const Run deepest = tessil({"info", "--json", "--attachment", "1", "--attachment", "1", path});
        QCOMPARE(deepest.exitCode, 0);
        const QJsonObject level2 = deepest.first();
        QCOMPARE(level2.value("subject").toString(), QStringLiteral("Level 2"));
        QCOMPARE(level2.value("format").toString(), suffix == ".dat" ? QStringLiteral("tnef") : QStringLiteral("msg"));
        QCOMPARE(level2.value("attachments").toArray().at(0).toObject().value("fileName").toString(), QStringLiteral("leaf.txt"));
        const Run html = tessil({"html", "--attachment", "1", path});
        QCOMPARE(html.exitCode, 0);
        QVERIFY2(html.out.contains("Body of level 1"), html.out.constData());

        QTemporaryDir out;
        QCOMPARE(tessil({"extract", "-o", out.path(), "--attachment", "1", path}).exitCode, 0);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), (QStringList{"Level 2" + suffix, "pad-1.bin"}));
        const Run saved = tessil({"info", "--json", out.filePath("Level 2" + suffix)});
        QCOMPARE(saved.exitCode, 0);
        QCOMPARE(saved.first().value("attachments").toArray().at(0).toObject().value("sha256").toString(),
                 sha256(testsupport::attachedLeafText()));

        // No such attachment, not a message, and no number at all.
        const Run missing = tessil({"info", "--attachment", "3", path});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(missing.err.contains("attachment 3: no such attachment"), missing.err.constData());
        const Run notMessage = tessil({"info", "--attachment", "1", "--attachment", "2", path});
        QCOMPARE(notMessage.exitCode, 1);
        QVERIFY2(notMessage.err.contains("attachment 1/2: not an attached message"), notMessage.err.constData());
        QCOMPARE(tessil({"info", "--attachment", "0", path}).exitCode, 2);
    }

    // The real file's attached message, through each command.
    void realAttachedMessage()
    {
        REQUIRE_REAL_SAMPLES();
        const QString path = testsupport::realSamplePath("msg/attachment_msg_pdf.msg");
        const Run info = tessil({"info", "--json", "--attachment", "1", path});
        QCOMPARE(info.exitCode, 0);
        const QJsonObject attached = info.first();
        QCOMPARE(attached.value("subject").toString(), QStringLiteral("Test Attachment"));
        QCOMPARE(attached.value("senderName").toString(), QStringLiteral("Nick Booth"));
        const Run html = tessil({"html", "--attachment", "1", path});
        QCOMPARE(html.exitCode, 0);
        QVERIFY(!html.out.isEmpty());
        QTemporaryDir out;
        QCOMPARE(tessil({"extract", "-o", out.path(), path}).exitCode, 0);
        const Run saved = tessil({"info", "--json", out.filePath("Test Attachment.msg")});
        QCOMPARE(saved.exitCode, 0);
        QCOMPARE(saved.first().value("subject").toString(), QStringLiteral("Test Attachment"));
    }

    void bundledSampleIsReproducible()
    {
        QCOMPARE(QProcess::execute(MAKE_SAMPLE_BINARY, {work.filePath("sample.tnef")}), 0);
        QCOMPARE(readFile(work.filePath("sample.tnef")), readFile(QUORVIA_SOURCE_DIR "/samples/sample.tnef"));
    }
};

QUORVIA_GUI_TEST_MAIN(TestTessil)
#include "tst_tessil.moc"
