#include "common/codepage.h"
#include "support/test_main.h"

#include <QGuiApplication>

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void strictDecoding_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");  // null: the decoding fails
        // Total as on Windows: the five unassigned bytes map to themselves.
        QTest::newRow("1252") << 1252u << QByteArray("\x80\x81\x8D\x8F\x90\x9D\x9F\xE9") << QString::fromUtf16(u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00E9");
        QTest::newRow("GBK") << 936u << QByteArray("\xC4\xE3\xBA\xC3") << QStringLiteral("你好");
        QTest::newRow("Big5") << 950u << QByteArray("\xA4\xA4\xA4\xE5") << QStringLiteral("中文");
        QTest::newRow("Shift-JIS") << 932u << QByteArray("\x82\xB1\x82\xF1") << QStringLiteral("こん");
        QTest::newRow("Korean") << 949u << QByteArray("\xC7\xD1\xB1\xDB") << QStringLiteral("한글");
        QTest::newRow("GBK lead byte at the end") << 936u << QByteArray("\xC4\xE3\xBA") << QString();
        QTest::newRow("Shift-JIS bad trail") << 932u << QByteArray("\x82\x20") << QString();
        QTest::newRow("Big5 bad trail") << 950u << QByteArray("\xA4\x0A") << QString();
        QTest::newRow("Korean lead byte alone") << 949u << QByteArray("\xC7") << QString();
        QTest::newRow("unknown code page") << 4242u << QByteArray("abc") << QString();
    }
    void strictDecoding()
    {
        QFETCH(uint, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        std::u16string out;
        QCOMPARE(codepage::decodeStrict(codePage, bytes.constData(), std::size_t(bytes.size()), out), !text.isNull());
        QCOMPARE(QString::fromStdU16String(out), text);
        // A failure leaves nothing behind in the reused converter.
        QVERIFY(!codepage::isSupported(codePage) || (codepage::decodeStrict(codePage, "ok", 2, out) && out == u"ok"));
    }

    void windows1252IsTotal()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        std::u16string out;
        QVERIFY(codepage::decodeStrict(1252, all.constData(), 255, out) && out.size() == 255);
    }
};

QUORVIA_GUI_TEST_MAIN(TestCodePage)
#include "tst_codepage.moc"
