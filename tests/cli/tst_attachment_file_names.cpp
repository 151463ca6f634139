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

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString repeated(const QString& unit, int count)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += unit;
    return out;
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
        QTest::newRow("ordinary") << "Q&A (final) [v2]; #1.xlsx" << "Q&A (final) [v2]; #1.xlsx";
        QTest::newRow("Unicode") << QStringLiteral("Résumé 会议纪要 🎉.pdf") << QStringLiteral("Résumé 会议纪要 🎉.pdf");
        QTest::newRow("dots inside") << "archive..tar.gz" << "archive..tar.gz";
        QTest::newRow("device name inside a word") << "console.log" << "console.log";
        QTest::newRow("COM10 is no device") << "COM10.txt" << "COM10.txt";

        QTest::newRow("parent traversal") << "../../etc/passwd" << "etc_passwd";
        QTest::newRow("absolute") << "/etc/passwd" << "etc_passwd";
        QTest::newRow("windows traversal") << "..\\..\\Windows\\win.ini" << "Windows_win.ini";
        QTest::newRow("drive letter") << "C:\\evil.exe" << "C__evil.exe";
        QTest::newRow("UNC") << "\\\\server\\share\\x.txt" << "server_share_x.txt";
        QTest::newRow("alternate data stream") << "notes.txt:hidden" << "notes.txt_hidden";
        QTest::newRow("subject with a slash") << "Review 1/2.ics" << "Review 1_2.ics";
        QTest::newRow("reserved characters") << "a<b>c\"d|e?f*g.txt" << "a_b_c_d_e_f_g.txt";
        QTest::newRow("trailing slash") << "photos/" << "photos_";

        QTest::newRow("NUL and line break") << QString::fromUtf16(u"a\0b\nc.txt", 9) << "a_b_c.txt";
        QTest::newRow("escape and DEL") << "\x1b[31mred\x7f.txt" << "_[31mred_.txt";
        QTest::newRow("C1 control") << QString::fromUtf16(u"a\u0085b.txt") << "a_b.txt";
        QTest::newRow("right-to-left override") << QString::fromUtf16(u"invoice\u202Efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".txt") << "a_.txt";

        QTest::newRow("bare extension") << ".bin" << "attachment.bin";
        QTest::newRow("hidden file") << ".tar.gz" << "attachment.tar.gz";
        QTest::newRow("dot then separator") << "./notes.txt" << "notes.txt";
        QTest::newRow("trailing dots and spaces") << "  report.pdf . . " << "report.pdf";
        QTest::newRow("dot dot") << ".." << "attachment";
        QTest::newRow("only spaces") << "   " << "attachment";
        QTest::newRow("empty") << "" << "attachment";

        QTest::newRow("CON") << "CON" << "_CON";
        QTest::newRow("device with extensions") << "Nul.tar.gz" << "_Nul.tar.gz";
        QTest::newRow("device before spaces") << "PRN .txt" << "_PRN .txt";
        QTest::newRow("lpt9") << "lpt9" << "_lpt9";
        QTest::newRow("COM superscript") << QString::fromUtf16(u"COM\u00B9.txt") << QString::fromUtf16(u"_COM\u00B9.txt");
        QTest::newRow("CONOUT$") << "conout$" << "_conout$";
        QTest::newRow("device after traversal") << "../CON" << "_CON";

        // At most 255 bytes of UTF-8, the extension kept, no character split.
        QTest::newRow("long ASCII") << QString(300, u'a') + QStringLiteral(".pdf") << QString(251, u'a') + QStringLiteral(".pdf");
        QTest::newRow("long CJK") << repeated(QStringLiteral("你"), 200) + QStringLiteral(".pdf")
                                  << repeated(QStringLiteral("你"), 83) + QStringLiteral(".pdf");
        QTest::newRow("long emoji") << repeated(QStringLiteral("😀"), 100) + QStringLiteral(".png")
                                    << repeated(QStringLiteral("😀"), 62) + QStringLiteral(".png");
        QTest::newRow("long combining") << repeated(QString::fromUtf16(u"e\u0301\u0323"), 80) + QStringLiteral(".txt")
                                        << repeated(QString::fromUtf16(u"e\u0301\u0323"), 50) + QStringLiteral(".txt");
        QTest::newRow("long extension") << QStringLiteral("x.") + QString(300, u'e')
                                        << QStringLiteral("x.") + QString(253, u'e');
        QTest::newRow("cut before a space") << QString(250, u'a') + QStringLiteral(" bcdefgh.txt")
                                            << QString(250, u'a') + QStringLiteral(".txt");
        QTest::newRow("one endless character") << QStringLiteral("e") + QString(300, QChar(0x0301))
                                               << QStringLiteral("e") + QString(127, QChar(0x0301));
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(safeAttachmentFileName(name), safe);
        QCOMPARE(safeAttachmentFileName(safe), safe); // a second pass changes nothing
        QVERIFY(safe.toUtf8().size() <= 255);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QFileInfo path(uniqueFilePath(dir.path(), name));
        QCOMPARE(path.absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        QCOMPARE(path.fileName(), safe);
    }

    void uniquePathsNumberTakenNames_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("taken") << QStringList{"report.pdf"} << "report.pdf" << "report (2).pdf";
        QTest::newRow("taken twice") << QStringList{"report.pdf", "report (2).pdf"} << "report.pdf" << "report (3).pdf";
        QTest::newRow("gap is reused") << QStringList{"report.pdf", "report (3).pdf"} << "report.pdf" << "report (2).pdf";
        QTest::newRow("before the last dot") << QStringList{"archive.tar.gz"} << "archive.tar.gz" << "archive.tar (2).gz";
        QTest::newRow("no dot") << QStringList{"notes"} << "notes" << "notes (2)";
        QTest::newRow("empty name taken") << QStringList{"attachment"} << "" << "attachment (2)";
        QTest::newRow("bare extension taken") << QStringList{"attachment.bin"} << ".bin" << "attachment (2).bin";
        QTest::newRow("hostile name taken") << QStringList{"x.txt"} << "../x.txt" << "x (2).txt";
        QTest::newRow("directory of that name") << QStringList{"dir:photos.zip"} << "photos.zip" << "photos (2).zip";
        QTest::newRow("dangling link") << QStringList{"link:data.csv"} << "data.csv" << "data (2).csv";
        QTest::newRow("long name numbered within the limit")
            << QStringList{QString(251, u'a') + QStringLiteral(".pdf")} << QString(300, u'a') + QStringLiteral(".pdf")
            << QString(247, u'a') + QStringLiteral(" (2).pdf");
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
        QCOMPARE(QFileInfo(path).fileName(), expected);
        QVERIFY(writeFile(path, "new")); // the file system accepts the name
    }

    void openUniqueFileNeverReplacesAFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("report.pdf")), "first"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")), dir.filePath(QStringLiteral("report (2).pdf"))));

        QStringList written;
        for (int i = 0; i < 2; ++i) {
            QFile file;
            QVERIFY(openUniqueFile(dir.path(), QStringLiteral("report.pdf"), &file));
            QCOMPARE(file.write("new"), qint64(3));
            file.close();
            written << QFileInfo(file.fileName()).fileName();
        }
        QCOMPARE(written, (QStringList{"report (3).pdf", "report (4).pdf"}));
        QFile first(dir.filePath(QStringLiteral("report.pdf")));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), QByteArray("first"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("elsewhere")))); // the link was not followed

        // A directory that refuses the file is a failure, not an endless search.
        QFile file;
        QVERIFY(!openUniqueFile(dir.filePath(QStringLiteral("missing")), QStringLiteral("a.txt"), &file));
        QVERIFY(!openUniqueFile(dir.filePath(QStringLiteral("report.pdf")), QStringLiteral("a.txt"), &file));
        QVERIFY(!file.isOpen());
    }
};

QUORVIA_GUI_TEST_MAIN(TestAttachmentFileNames)
#include "tst_attachment_file_names.moc"
