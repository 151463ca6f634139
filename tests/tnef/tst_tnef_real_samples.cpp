#include "support/test_data.h"
#include "support/test_main.h"
#include "tnef_test_util.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

using tneftest::Diagnostics;

namespace {

QByteArray str(const char* s)
{
    return s ? QByteArray(s) : QByteArray();
}

// Decodes a real sample through a FILE opened on it, as the loader does.
tneftest::Result parseSample(const QString& name)
{
    const QByteArray path = QFile::encodeName(testsupport::realSamplePath(name));
    FILE* f = std::fopen(path.constData(), "rb");
    if (!f)
        return nullptr;
    tneftest::Result r(tnef_parse(f));
    std::fclose(f);
    return r;
}

QByteArray quickContent(const QString& name)
{
    return testsupport::readRealSample(QStringLiteral("quick-contents/") + name);
}

} // namespace

class TestTnefRealSamples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { REQUIRE_REAL_SAMPLES(); }

    void quickMessage()
    {
        Diagnostics diag;
        auto r = parseSample(QStringLiteral("quick-winmail.dat"));
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QCOMPARE(str(r->subject), QByteArray("This is a test message"));
        QVERIFY(!r->html);

        const QByteArray rtf = quickContent(QStringLiteral("message.rtf"));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(tneftest::bytesOf(r->rtf, r->rtf_len) == rtf);

        const QStringList names{QStringLiteral("quick.doc"), QStringLiteral("quick.html"), QStringLiteral("quick.pdf"),
                                QStringLiteral("quick.txt"), QStringLiteral("quick.xml")};
        QCOMPARE(r->attachment_count, names.size());
        for (int i = 0; i < names.size(); ++i) {
            const TnefAttachment& a = r->attachments[i];
            QCOMPARE(QString::fromUtf8(str(a.name)), names[i]);
            // The 3512-byte metafile beside each attachment is not its data.
            QVERIFY2(tneftest::bytesOf(a.data, a.len) == quickContent(names[i]), qPrintable(names[i]));
            QCOMPARE(a.is_ole, 0);
        }
        const QStringList messages = diag.messages();
        QVERIFY(!messages.contains(QStringLiteral("Unexpected end of input")));
        QVERIFY(!messages.contains(QStringLiteral("WARNING: invalid checksum, input file may be corrupted")));
    }

    void winmailSample1()
    {
        auto r = parseSample(QStringLiteral("winmail-sample1.dat"));
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QCOMPARE(r->attachment_count, 2);
        QCOMPARE(r->attachments[0].len, quint64(2937));
        QCOMPARE(r->attachments[1].len, quint64(85805));
        // The titles are 8.3 names; the property blocks carry the long ones.
        QCOMPARE(str(r->attachments[0].name), QByteArray("zappa_av1.jpg"));
        QCOMPARE(str(r->attachments[1].name), QByteArray("bookmark.htm"));
        QVERIFY(tneftest::bytesOf(r->attachments[0].data, 3).startsWith("\xFF\xD8\xFF"));
        QVERIFY(r->rtf && r->rtf_len > 0);
    }

    void bug52400Bodies_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("simple") << QStringLiteral("bug52400-winmail-simple.dat") << QByteArray("This is the message body.");
        QTest::newRow("with attachments") << QStringLiteral("bug52400-winmail-with-attachments.dat")
                                          << QByteArray("There are also two attachments.");
    }
    void bug52400Bodies()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        auto r = parseSample(file);
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QVERIFY(tneftest::bytesOf(r->html, r->html_len).contains(text));
    }

    void bug52400Attachments()
    {
        auto r = parseSample(QStringLiteral("bug52400-winmail-with-attachments.dat"));
        QCOMPARE(r->attachment_count, 2);
        QCOMPARE(str(r->attachments[0].name), QByteArray("scion_tc_2007_maintenanceguide.pdf"));
        QCOMPARE(r->attachments[0].len, quint64(193258));
        QVERIFY(tneftest::bytesOf(r->attachments[0].data, 5) == "%PDF-");
        QCOMPARE(str(r->attachments[1].name), QByteArray("Duke_Wave.png"));
        QCOMPARE(r->attachments[1].len, quint64(122016));
        QVERIFY(tneftest::bytesOf(r->attachments[1].data, 4) == "\x89PNG");
    }

    void bug63955()
    {
        auto r = parseSample(QStringLiteral("bug63955-winmail.dat"));
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QCOMPARE(r->property_count, 96);
        QVERIFY(r->html_len > 0);
        QCOMPARE(r->attachment_count, 2);
        QCOMPARE(str(r->attachments[0].name), QByteArray("SI-61597.pdf"));
        QCOMPARE(r->attachments[0].len, quint64(236426));
        QCOMPARE(str(r->attachments[1].name), QByteArray("SI-61598.pdf"));
        QCOMPARE(r->attachments[1].len, quint64(236653));
    }

    void oomSampleIsDecodedWithoutLargeAllocations()
    {
        const QByteArray bytes = testsupport::readRealSample(QStringLiteral("oom.tnef"));
        QCOMPARE(bytes.size(), 53);
        Diagnostics diag;
        tneftest::AllocationWatch watch;
        QElapsedTimer timer;
        timer.start();
        auto r = parseSample(QStringLiteral("oom.tnef"));
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(r);
        QCOMPARE(r->error, 0);
        QCOMPARE(r->property_count, 0);
        if (tneftest::AllocationWatch::available())
            QVERIFY2(watch.largest() < 65536, qPrintable(QString::number(watch.largest())));
        QCOMPARE(diag.messages(),
                 (QStringList{QStringLiteral("WARNING: invalid checksum, input file may be corrupted"),
                              QStringLiteral("Property block runs past its end, input file may be corrupted")}));
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefRealSamples)
#include "tst_tnef_real_samples.moc"
