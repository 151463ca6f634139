// Which attachment names the view warns about before handing them to the
// desktop. Most listed suffixes have no content type or name type to fall
// back on, so only the suffix list catches them: the rows give such names
// plain text content.

#include "executableattachment.h"
#include "support/test_main.h"

class TestExecutableAttachment : public QObject
{
    Q_OBJECT

private slots:
    void suffixWarnings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("warned");
        for (const char* name : {"screensaver.scr", "setup.bat", "run.cmd", "profile.ps1", "invoice.hta",
                                 "helper.dll", "patch.msp", "macro.jse", "App.appref-ms", "module.psm1"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        // Windows drops trailing dots and blanks, and ignores case.
        QTest::newRow("X.SCR.") << QStringLiteral("X.SCR.") << true;
        QTest::newRow("trailing blank and dots") << QStringLiteral("start.Bat. .") << true;
        QTest::newRow("in a folder") << QStringLiteral("attachments\\tools\\setup.bat") << true;
        // The suffix is the last one, and only of the name itself.
        QTest::newRow("other last suffix") << QStringLiteral("setup.bat.txt") << false;
        QTest::newRow("suffix as the whole name") << QStringLiteral("scr") << false;
        QTest::newRow("prefix of a suffix") << QStringLiteral("report.ps") << false;
        QTest::newRow("text with a trailing dot") << QStringLiteral("notes.txt.") << false;
    }

    void suffixWarnings()
    {
        QFETCH(QString, name);
        QFETCH(bool, warned);
        QCOMPARE(isExecutableAttachment(name, QByteArrayLiteral("Hello,\r\nplease see the figures below.\r\n")), warned);
    }
};

QUORVIA_GUI_TEST_MAIN(TestExecutableAttachment)
#include "tst_executable_attachment.moc"
