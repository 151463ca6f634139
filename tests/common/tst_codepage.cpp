#include "common/codepage.h"
#include "support/test_main.h"

#include <QGuiApplication>

namespace {

QString decode(std::uint32_t codePage, const QByteArray& bytes, bool* ok = nullptr)
{
    std::u16string out;
    const bool decoded = codepage::decodeStrict(codePage, bytes.constData(), static_cast<std::size_t>(bytes.size()), out);
    if (ok)
        *ok = decoded;
    return QString::fromStdU16String(out);
}

} // namespace

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eastAsianPagesDecodeValidText_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("GBK") << 936u << QByteArray("\xC4\xE3\xBA\xC3") << QStringLiteral("你好");
        QTest::newRow("Big5") << 950u << QByteArray("\xA4\xA4\xA4\xE5") << QStringLiteral("中文");
        QTest::newRow("Shift-JIS") << 932u << QByteArray("\x82\xB1\x82\xF1") << QStringLiteral("こん");
        QTest::newRow("Korean") << 949u << QByteArray("\xC7\xD1\xB1\xDB") << QStringLiteral("한글");
        QTest::newRow("ASCII through GBK") << 936u << QByteArray("plain") << QStringLiteral("plain");
    }
    void eastAsianPagesDecodeValidText()
    {
        QFETCH(uint, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        bool ok = false;
        QCOMPARE(decode(codePage, bytes, &ok), text);
        QVERIFY(ok);
    }

    void invalidOrIncompleteSequencesFail_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("GBK lead byte alone") << 936u << QByteArray("\xC4");
        QTest::newRow("GBK lead byte at the end") << 936u << QByteArray("\xC4\xE3\xBA");
        QTest::newRow("Shift-JIS bad trail") << 932u << QByteArray("\x82\x20");
        QTest::newRow("Big5 bad trail") << 950u << QByteArray("\xA4\x0A");
        QTest::newRow("Korean lead byte alone") << 949u << QByteArray("\xC7");
        QTest::newRow("UTF-8 overlong") << 65001u << QByteArray("\xC0\xAF");
    }
    void invalidOrIncompleteSequencesFail()
    {
        QFETCH(uint, codePage);
        QFETCH(QByteArray, bytes);
        bool ok = true;
        QVERIFY(decode(codePage, bytes, &ok).isEmpty());
        QVERIFY(!ok);
    }

    void windows1252IsTotalLikeWindows()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(static_cast<char>(b));
        bool ok = false;
        const QString text = decode(1252, all, &ok);
        QVERIFY(ok);
        QCOMPARE(text.size(), 255);
        QCOMPARE(text.at(0x80 - 1), QChar(0x20AC));
        QCOMPARE(text.at(0x93 - 1), QChar(0x201C));
        QCOMPARE(text.at(0xE9 - 1), QChar(0x00E9));
        for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
            QCOMPARE(text.at(undefined - 1), QChar(undefined));
            QCOMPARE(codepage::cp1252ToUnicode(static_cast<unsigned char>(undefined)), char16_t(undefined));
        }
    }

    void unknownCodePagesAreRejected()
    {
        bool ok = true;
        QVERIFY(decode(0, "abc", &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(decode(4242, "abc", &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(!codepage::isSupported(0));
        QVERIFY(codepage::isSupported(1251));
    }

    void otherWindowsPagesDecode()
    {
        // The RTF fallback reader follows \ansicpg, which can name any Windows page.
        QCOMPARE(decode(1251, "\xCF\xF0\xE8\xE2\xE5\xF2"), QStringLiteral("Привет"));
        QCOMPARE(decode(65001, "\xE2\x82\xAC"), QStringLiteral("€"));
    }

    void utf8EncodingPairsSurrogates()
    {
        const std::u16string emoji = u"a\U0001F600b";
        QCOMPARE(QByteArray::fromStdString(codepage::utf16ToUtf8(emoji.data(), emoji.size())),
                 QByteArray("a\xF0\x9F\x98\x80" "b"));
        const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
        QCOMPARE(QByteArray::fromStdString(codepage::utf16ToUtf8(lone, 4)),
                 QByteArray("x\xEF\xBF\xBDy\xEF\xBF\xBD"));
    }

    void convertersAreReusableAfterAFailure()
    {
        bool ok = false;
        decode(936, "\xC4", &ok);
        QVERIFY(!ok);
        QCOMPARE(decode(936, "\xC4\xE3", &ok), QStringLiteral("你"));
        QVERIFY(ok);
    }
};

QUORVIA_GUI_TEST_MAIN(TestCodePage)
#include "tst_codepage.moc"
