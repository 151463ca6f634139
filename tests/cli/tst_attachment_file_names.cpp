// Names from a message become file names only through these rules: hostile
// names are confined, ordinary ones kept, and nothing existing is replaced.

#include "message/attachment_file_names.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestAttachmentFileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");

        // Ordinary names stay as they are.
        QTest::newRow("plain") << "report.pdf" << "report.pdf";
        QTest::newRow("spaces and brackets") << "Q&A (final) [v2]; #1.xlsx" << "Q&A (final) [v2]; #1.xlsx";
        QTest::newRow("accents") << QStringLiteral("Résumé – Zoë.docx") << QStringLiteral("Résumé – Zoë.docx");
        QTest::newRow("CJK") << QStringLiteral("会议纪要 2024.pdf") << QStringLiteral("会议纪要 2024.pdf");
        QTest::newRow("emoji") << QStringLiteral("party 🎉.png") << QStringLiteral("party 🎉.png");
        QTest::newRow("several dots") << "archive.tar.gz" << "archive.tar.gz";
        QTest::newRow("dots inside") << "a..b.txt" << "a..b.txt";
        QTest::newRow("no extension") << "README" << "README";
        QTest::newRow("device name inside a word") << "console.log" << "console.log";
        QTest::newRow("COM10 is no device") << "COM10.txt" << "COM10.txt";

        // Paths and traversal.
        QTest::newRow("parent traversal") << "../../etc/passwd" << "etc_passwd";
        QTest::newRow("absolute") << "/etc/passwd" << "etc_passwd";
        QTest::newRow("windows traversal") << "..\\..\\Windows\\win.ini" << "Windows_win.ini";
        QTest::newRow("drive letter") << "C:\\evil.exe" << "C__evil.exe";
        QTest::newRow("drive-relative") << "C:evil.exe" << "C_evil.exe";
        QTest::newRow("UNC") << "\\\\server\\share\\x.txt" << "server_share_x.txt";
        QTest::newRow("alternate data stream") << "notes.txt:hidden" << "notes.txt_hidden";
        QTest::newRow("subject with a slash") << "Review 1/2.ics" << "Review 1_2.ics";
        QTest::newRow("windows reserved characters") << "a<b>c\"d|e?f*g.txt" << "a_b_c_d_e_f_g.txt";
        QTest::newRow("dot") << "." << "attachment";
        QTest::newRow("dot dot") << ".." << "attachment";
        QTest::newRow("slash") << "/" << "attachment";
        QTest::newRow("trailing slash") << "photos/" << "photos_";

        // Control and disguising characters.
        QTest::newRow("line break") << "a\nb.txt" << "a_b.txt";
        QTest::newRow("NUL") << QString::fromUtf16(u"a\0b.txt", 7) << "a_b.txt";
        QTest::newRow("escape and DEL") << "\x1b[31mred\x7f.txt" << "_[31mred_.txt";
        QTest::newRow("C1 control") << QString::fromUtf16(u"a\u0085b.txt") << "a_b.txt";
        QTest::newRow("right-to-left override") << QString::fromUtf16(u"invoice\u202Efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("isolate") << QString::fromUtf16(u"x\u2066y.txt") << "x_y.txt";
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"a") + QChar(0xD800) + QStringLiteral(".txt") << "a_.txt";

        // Leading and trailing dots and spaces.
        QTest::newRow("bare extension") << ".bin" << "attachment.bin";
        QTest::newRow("hidden file") << ".bashrc" << "attachment.bashrc";
        QTest::newRow("leading dots") << "...pdf" << "attachment.pdf";
        QTest::newRow("hidden with two dots") << ".tar.gz" << "attachment.tar.gz";
        QTest::newRow("dot then separator") << "./notes.txt" << "notes.txt";
        QTest::newRow("leading spaces") << "   report.pdf" << "report.pdf";
        QTest::newRow("trailing dot") << "report.pdf." << "report.pdf";
        QTest::newRow("trailing spaces and dots") << "report.pdf . . " << "report.pdf";
        QTest::newRow("only spaces") << "   " << "attachment";
        QTest::newRow("empty") << "" << "attachment";
        QTest::newRow("null") << QString() << "attachment";

        // Reserved device names, with or without extension, any case.
        QTest::newRow("CON") << "CON" << "_CON";
        QTest::newRow("con.txt") << "con.txt" << "_con.txt";
        QTest::newRow("Nul.tar.gz") << "Nul.tar.gz" << "_Nul.tar.gz";
        QTest::newRow("PRN with spaces") << "PRN .txt" << "_PRN .txt";
        QTest::newRow("aux") << "aux" << "_aux";
        QTest::newRow("COM1") << "COM1.log" << "_COM1.log";
        QTest::newRow("lpt9") << "lpt9" << "_lpt9";
        QTest::newRow("COM superscript") << QString::fromUtf16(u"COM\u00B9.txt") << QString::fromUtf16(u"_COM\u00B9.txt");
        QTest::newRow("CONOUT$") << "conout$" << "_conout$";
        QTest::newRow("device after traversal") << "../CON" << "_CON";
        QTest::newRow("device after leading dot") << ".CON" << "attachment.CON";
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(safeAttachmentFileName(name), safe);
    }

    void longNamesAreBoundedKeepingTheExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expectedStart");
        QTest::addColumn<QString>("expectedEnd");
        QTest::newRow("ASCII") << QString(300, u'a') + QStringLiteral(".pdf") << QString(251, u'a') << ".pdf";
        // 3 bytes each: 84 fit beside ".pdf" (252 + 4 = 256 is one too many, so 83).
        QTest::newRow("CJK") << QString(200, QChar(0x4F60)) + QStringLiteral(".pdf") << QString(83, QChar(0x4F60))
                             << ".pdf";
        QTest::newRow("long extension is cut with the rest") << QStringLiteral("x.") + QString(300, u'e')
                                                             << QStringLiteral("x.") + QString(253, u'e') << "";
        QTest::newRow("cut before a trailing space") << QString(250, u'a') + QStringLiteral(" bcdefgh.txt")
                                                     << QString(250, u'a') << ".txt";
    }
    void longNamesAreBoundedKeepingTheExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, expectedStart);
        QFETCH(QString, expectedEnd);
        const QString safe = safeAttachmentFileName(name);
        QVERIFY2(safe.toUtf8().size() <= 255, qPrintable(QString::number(safe.toUtf8().size())));
        QCOMPARE(safe, expectedStart + expectedEnd);
    }

    void truncationNeverSplitsACharacter()
    {
        // Surrogate pairs (4 bytes) and a letter with combining marks.
        const QString emoji = QString(100, u'x').replace(u'x', QStringLiteral("😀"));
        QString safe = safeAttachmentFileName(emoji + QStringLiteral(".png"));
        QVERIFY(safe.toUtf8().size() <= 255);
        QCOMPARE(safe, QString(62, u'x').replace(u'x', QStringLiteral("😀")) + QStringLiteral(".png"));

        const QString accented = QString(80, u'x').replace(u'x', QString::fromUtf16(u"e\u0301\u0323"));
        safe = safeAttachmentFileName(accented + QStringLiteral(".txt"));
        QVERIFY(safe.toUtf8().size() <= 255);
        QVERIFY(safe.endsWith(QString::fromUtf16(u"e\u0301\u0323.txt")));

        // One character far beyond the limit still yields a valid, bounded name.
        const QString endless = QStringLiteral("e") + QString(300, QChar(0x0301));
        safe = safeAttachmentFileName(endless);
        QVERIFY(!safe.isEmpty());
        QVERIFY(safe.toUtf8().size() <= 255);
        QCOMPARE(QString::fromUtf8(safe.toUtf8()), safe);
    }

    void everySafeNameIsOneHarmlessComponent()
    {
        const QStringList hostile{
            QStringLiteral("../../../../tmp/x"), QStringLiteral("..\\..\\x"), QStringLiteral("/"),
            QStringLiteral("\\"), QStringLiteral("C:"), QStringLiteral("C:/x"), QStringLiteral(" ../ "),
            QStringLiteral(". ."), QStringLiteral("./."), QStringLiteral("...."), QStringLiteral("\t\r\n"),
            QStringLiteral("LPT1"), QStringLiteral("nul."), QStringLiteral("con .."), QString(1000, u'/'),
            QString(1000, u'.') + QStringLiteral("x"), QString(400, QChar(0x00E9)) + QStringLiteral("/.."),
        };
        for (const QString& name : hostile) {
            const QString safe = safeAttachmentFileName(name);
            const QByteArray context = name.left(40).toUtf8() + " -> " + safe.toUtf8();
            QVERIFY2(!safe.isEmpty(), context.constData());
            QVERIFY2(!safe.contains(u'/') && !safe.contains(u'\\') && !safe.contains(u':'), context.constData());
            QVERIFY2(!safe.startsWith(u'.') && !safe.endsWith(u'.') && !safe.endsWith(u' '), context.constData());
            QVERIFY2(safe.toUtf8().size() <= 255, context.constData());
            QCOMPARE(safeAttachmentFileName(safe), safe); // already safe: a second pass changes nothing
            QTemporaryDir dir;
            QVERIFY(dir.isValid());
            QCOMPARE(QFileInfo(uniqueFilePath(dir.path(), name)).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        }
    }

    void uniquePathsNumberTakenNames_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList() << "report.pdf" << "report.pdf";
        QTest::newRow("taken") << QStringList{"report.pdf"} << "report.pdf" << "report (2).pdf";
        QTest::newRow("taken twice") << QStringList{"report.pdf", "report (2).pdf"} << "report.pdf"
                                     << "report (3).pdf";
        QTest::newRow("gap is reused") << QStringList{"report.pdf", "report (3).pdf"} << "report.pdf"
                                       << "report (2).pdf";
        QTest::newRow("before the last dot") << QStringList{"archive.tar.gz"} << "archive.tar.gz"
                                             << "archive.tar (2).gz";
        QTest::newRow("no dot") << QStringList{"notes"} << "notes" << "notes (2)";
        QTest::newRow("empty name") << QStringList() << "" << "attachment";
        QTest::newRow("empty name taken") << QStringList{"attachment"} << "" << "attachment (2)";
        QTest::newRow("bare extension") << QStringList() << ".bin" << "attachment.bin";
        QTest::newRow("bare extension taken") << QStringList{"attachment.bin"} << ".bin" << "attachment (2).bin";
        QTest::newRow("hostile name taken") << QStringList{"x.txt"} << "../x.txt" << "x (2).txt";
        QTest::newRow("directory of that name") << QStringList{"dir:photos.zip"} << "photos.zip"
                                                << "photos (2).zip";
        QTest::newRow("dangling link") << QStringList{"link:data.csv"} << "data.csv" << "data (2).csv";
    }
    void uniquePathsNumberTakenNames()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString& entry : existing) {
            if (entry.startsWith(QLatin1String("dir:")))
                QVERIFY(QDir(dir.path()).mkdir(entry.mid(4)));
            else if (entry.startsWith(QLatin1String("link:")))
                QVERIFY(QFile::link(dir.filePath(QStringLiteral("missing-target")), dir.filePath(entry.mid(5))));
            else
                QVERIFY(writeFile(dir.filePath(entry), "old"));
        }
        const QString path = uniqueFilePath(dir.path(), fileName);
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        QCOMPARE(fileNameOf(path), expected);
    }

    void numberedLongNamesStayBounded()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = safeAttachmentFileName(QString(300, u'a') + QStringLiteral(".pdf"));
        QVERIFY(writeFile(dir.filePath(name), "old"));
        const QString numbered = fileNameOf(uniqueFilePath(dir.path(), name));
        QCOMPARE(numbered, QString(247, u'a') + QStringLiteral(" (2).pdf"));
        QVERIFY(writeFile(dir.filePath(numbered), "old")); // the file system accepts it
    }

    void openUniqueFileNeverReplacesAFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("report.pdf")), "first"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")), dir.filePath(QStringLiteral("report (2).pdf"))));

        QStringList written;
        for (int i = 0; i < 3; ++i) {
            QFile file;
            QVERIFY(openUniqueFile(dir.path(), QStringLiteral("report.pdf"), &file));
            QVERIFY(file.isOpen());
            QCOMPARE(file.write("new"), qint64(3));
            file.close();
            written << fileNameOf(file.fileName());
        }
        QCOMPARE(written, (QStringList{"report (3).pdf", "report (4).pdf", "report (5).pdf"}));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("report.pdf"))), QByteArray("first"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("elsewhere")))); // the link was not followed
    }

    void openUniqueFileReportsARefusingDirectory()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file;
        QVERIFY(!openUniqueFile(dir.filePath(QStringLiteral("missing")), QStringLiteral("a.txt"), &file));
        QVERIFY(!file.isOpen());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain-file")), "x"));
        QVERIFY(!openUniqueFile(dir.filePath(QStringLiteral("plain-file")), QStringLiteral("a.txt"), &file));
        QVERIFY(!file.isOpen());
    }
};

QUORVIA_GUI_TEST_MAIN(TestAttachmentFileNames)
#include "tst_attachment_file_names.moc"
