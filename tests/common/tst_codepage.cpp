#include "common/codepage.h"
#include "support/test_main.h"

#include <QGuiApplication>

namespace {

QString decode(std::uint32_t codePage, const QByteArray& bytes, bool* ok)
{
    std::u16string out;
    *ok = codepage::decodeStrict(codePage, bytes.constData(), std::size_t(bytes.size()), out);
    return QString::fromStdU16String(out);
}

} // namespace

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void strictDecoding_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");  // null: the decoding fails
        QTest::newRow("GBK") << 936u << QByteArray("\xC4\xE3\xBA\xC3") << QStringLiteral("你好");
        QTest::newRow("Big5") << 950u << QByteArray("\xA4\xA4\xA4\xE5") << QStringLiteral("中文");
        QTest::newRow("Shift-JIS") << 932u << QByteArray("\x82\xB1\x82\xF1") << QStringLiteral("こん");
        QTest::newRow("Korean") << 949u << QByteArray("\xC7\xD1\xB1\xDB") << QStringLiteral("한글");
        // Total as on Windows: the five unassigned bytes map to themselves.
        QTest::newRow("1252") << 1252u << QByteArray("\x80\x93\xE9\x81\x8D\x8F\x90\x9D")
                              << QString::fromUtf16(u"\u20AC\u201C\u00E9\u0081\u008D\u008F\u0090\u009D");
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
        bool ok = false;
        QCOMPARE(decode(codePage, bytes, &ok), text);
        QCOMPARE(ok, !text.isNull());
        // A failure leaves nothing behind in the reused converter.
        if (codepage::isSupported(codePage))
            QCOMPARE(decode(codePage, "ok", &ok), QStringLiteral("ok"));
    }

    void windows1252IsTotal()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        bool ok = false;
        QCOMPARE(decode(1252, all, &ok).size(), 255);
        QVERIFY(ok);
    }

    void utf8PairsSurrogates()
    {
        const char16_t text[] = {u'a', 0xD83D, 0xDE00, u'x', 0xD800, u'y', 0xDC00};
        QCOMPARE(QByteArray::fromStdString(codepage::utf16ToUtf8(text, 7)), QByteArray("a\xF0\x9F\x98\x80x\xEF\xBF\xBDy\xEF\xBF\xBD"));
    }
};

QUORVIA_GUI_TEST_MAIN(TestCodePage)
#include "tst_codepage.moc"
