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
        // The Windows pages of .msg files, each with a letter of its own script.
        QTest::newRow("1250") << 1250u << QByteArray("\x8A\xE8") << QStringLiteral("Šč");
        QTest::newRow("1251") << 1251u << QByteArray("\xC0\xE2\xF2\xEE") << QStringLiteral("Авто");
        QTest::newRow("1253") << 1253u << QByteArray("\xC1\xE2") << QStringLiteral("Αβ");
        QTest::newRow("1254") << 1254u << QByteArray("\xD0\xFE") << QStringLiteral("Ğş");
        QTest::newRow("1255") << 1255u << QByteArray("\xF9\xEC") << QStringLiteral("של");
        QTest::newRow("1256") << 1256u << QByteArray("\xC7\xE1") << QStringLiteral("ال");
        QTest::newRow("1257") << 1257u << QByteArray("\xD0\xE0") << QStringLiteral("Šą");
        QTest::newRow("1258") << 1258u << QByteArray("\xD0\xF5") << QStringLiteral("Đơ");
        QTest::newRow("874") << 874u << QByteArray("\xA1\xD2") << QStringLiteral("กา");
        QTest::newRow("20127") << 20127u << QByteArray("plain") << QStringLiteral("plain");
        QTest::newRow("20127 high byte") << 20127u << QByteArray("caf\xE9") << QString();
        QTest::newRow("28591") << 28591u << QByteArray("\xE9\x80") << QString::fromUtf16(u"é\u0080");
        QTest::newRow("28595") << 28595u << QByteArray("\xB0") << QStringLiteral("А");
        QTest::newRow("28605") << 28605u << QByteArray("\xA4") << QStringLiteral("€");
        QTest::newRow("65001") << 65001u << QByteArray("\xC3\xA9") << QStringLiteral("é");
        QTest::newRow("65001 invalid") << 65001u << QByteArray("\xC3(") << QString();
        // Only listed pages reach the converters: no made-up number, nor one
        // ICU would take for something else.
        QTest::newRow("no ISO 8859-12") << 28602u << QByteArray("abc") << QString();
        QTest::newRow("not a Windows page") << 1259u << QByteArray("abc") << QString();
        QTest::newRow("IBM page") << 37u << QByteArray("abc") << QString();
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

    void ansiCodePageOfLocale_data()
    {
        QTest::addColumn<uint>("localeId");
        QTest::addColumn<uint>("codePage");
        const QList<QPair<uint, uint>> rows{{1049, 1251}, {1031, 1252}, {1033, 1252}, {0, 1252}, {1028, 950}, {2052, 936},
                                            {3076, 950}, {4100, 936}, {1041, 932}, {1042, 949}, {1032, 1253}, {1055, 1254},
                                            {1037, 1255}, {1025, 1256}, {3073, 1256}, {1061, 1257}, {1066, 1258}, {1054, 874},
                                            {1029, 1250}, {1050, 1250}, {2074, 1250}, {3098, 1251}, {1068, 1254}, {2092, 1251},
                                            {0x0850, 1252}, {0x1234, 1252}};
        for (const auto& [localeId, codePage] : rows)
            QTest::addRow("%u", localeId) << localeId << codePage;
    }
    void ansiCodePageOfLocale()
    {
        QFETCH(uint, localeId);
        QTEST(uint(codepage::ansiCodePageForLocale(localeId)), "codePage");
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
