// Names from a message become file names only through these rules, shared by
// the viewer's saving and `tessil extract`: hostile names are confined,
// ordinary ones kept, and nothing already on disk is replaced.

#include "message/attachment_file_names.h"
#include "support/test_main.h"

#include <QGuiApplication>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString times(const QString& unit, int count)
{
    return unit.repeated(count);
}

} // namespace

class TestAttachmentFileNames : public QObject
{
    Q_OBJECT

private slots:
    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("ordinary") << "Q&A (final) [v2]; #1.xlsx" << "Q&A (final) [v2]; #1.xlsx";
        QTest::newRow("unicode") << QStringLiteral("Résumé 会议 🎉.pdf") << QStringLiteral("Résumé 会议 🎉.pdf");
        QTest::newRow("device inside a word") << "console.log" << "console.log";
        QTest::newRow("COM10") << "COM10.txt" << "COM10.txt";
        QTest::newRow("parents") << "../../etc/passwd" << "etc_passwd";
        QTest::newRow("absolute") << "/etc/passwd" << "etc_passwd";
        QTest::newRow("backslash parents") << "..\\..\\Windows\\win.ini" << "Windows_win.ini";
        QTest::newRow("drive letter") << "C:\\evil.exe" << "C__evil.exe";
        QTest::newRow("data stream") << "notes.txt:hidden" << "notes.txt_hidden";
        QTest::newRow("reserved chars") << "a<b>c\"d|e?f*g.txt" << "a_b_c_d_e_f_g.txt";
        QTest::newRow("NUL, newline") << QString::fromUtf16(u"a\0b\nc.txt", 9) << "a_b_c.txt";
        QTest::newRow("ESC, DEL") << "\x1b[31mred\x7f.txt" << "_[31mred_.txt";
        QTest::newRow("C1") << QString::fromUtf16(u"a\u0085b.txt") << "a_b.txt";
        QTest::newRow("bidi override") << QString::fromUtf16(u"invoice\u202Efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("bidi isolate") << QString::fromUtf16(u"x\u2066.exe") << "x_.exe";
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".txt") << "a_.txt";
        QTest::newRow("bare extension") << ".bin" << "attachment.bin";
        QTest::newRow("trailing dots, spaces") << "  report.pdf . . " << "report.pdf";
        QTest::newRow("dot dot") << ".." << "attachment";
        QTest::newRow("spaces") << "   " << "attachment";
        QTest::newRow("empty") << "" << "attachment";
        QTest::newRow("CON") << "CON" << "_CON";
        QTest::newRow("device, extensions") << "Nul.tar.gz" << "_Nul.tar.gz";
        QTest::newRow("device, space") << "PRN .txt" << "_PRN .txt";
        QTest::newRow("COM superscript") << QString::fromUtf16(u"COM\u00B9.txt") << QString::fromUtf16(u"_COM\u00B9.txt");
        QTest::newRow("device after parents") << "../CON" << "_CON";
        // At most 255 bytes of UTF-8, the extension kept, no character split.
        QTest::newRow("long") << QString(300, u'a') + ".pdf" << QString(251, u'a') + ".pdf";
        QTest::newRow("long CJK") << times("你", 200) + ".pdf" << times("你", 83) + ".pdf";
        QTest::newRow("long emoji") << times("😀", 100) + ".png" << times("😀", 62) + ".png";
        QTest::newRow("long extension") << "x." + QString(300, u'e') << "x." + QString(253, u'e');
        QTest::newRow("one endless character") << "e" + QString(300, QChar(0x301)) << "e" + QString(127, QChar(0x301));
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(safeAttachmentFileName(name), safe);
        QCOMPARE(safeAttachmentFileName(safe), safe);
        QTemporaryDir dir;
        QCOMPARE(uniqueFilePath(dir.path(), name), dir.filePath(safe));
    }

    void uniquePaths_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{} << "report.pdf" << "report.pdf";
        QTest::newRow("taken") << QStringList{"report.pdf"} << "report.pdf" << "report (2).pdf";
        QTest::newRow("taken twice") << QStringList{"report.pdf", "report (2).pdf"} << "report.pdf" << "report (3).pdf";
        QTest::newRow("last dot") << QStringList{"a.tar.gz"} << "a.tar.gz" << "a.tar (2).gz";
        QTest::newRow("no dot") << QStringList{"notes"} << "notes" << "notes (2)";
        QTest::newRow("bare extension") << QStringList{"attachment.bin"} << ".bin" << "attachment (2).bin";
        QTest::newRow("hostile") << QStringList{"x.txt"} << "../x.txt" << "x (2).txt";
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
                QVERIFY(writeFile(dir.filePath(entry), "old"));
        }
        const QString path = uniqueFilePath(dir.path(), name);
        QCOMPARE(path, dir.filePath(expected));
        QVERIFY(writeFile(path, "new")); // the file system takes the name
    }

    void openUniqueFileNeverReplaces()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("report.pdf"), "first"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("report (2).pdf")));
        QFile file;
        QVERIFY(openUniqueFile(dir.path(), "report.pdf", &file));
        QCOMPARE(file.fileName(), dir.filePath("report (3).pdf"));
        file.close();
        QVERIFY(!QFileInfo::exists(dir.filePath("elsewhere"))); // the link was not followed
        QFile first(dir.filePath("report.pdf"));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), QByteArray("first"));
        // A directory that refuses the file fails at once instead of searching on.
        QVERIFY(!openUniqueFile(dir.filePath("missing"), "a.txt", &file));
        QVERIFY(!file.isOpen());
    }
};

QUORVIA_GUI_TEST_MAIN(TestAttachmentFileNames)
#include "tst_attachment_file_names.moc"
