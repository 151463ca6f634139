#include "support/test_main.h"
#include "tnef/tnef.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

QByteArray convert(const QByteArray& bytes, quint32 codePage, int length = -1)
{
    // An exact-size copy, so that the sanitizer sees any read past `length`.
    const size_t n = size_t(length < 0 ? bytes.size() : length);
    std::unique_ptr<char[]> exact(new char[n ? n : 1]);
    std::memcpy(exact.get(), bytes.constData(), n);
    char* text = tnef_string_to_utf8(exact.get(), n, codePage);
    if (!text)
        return QByteArray();
    QByteArray out(text);
    std::free(text);
    return out;
}

} // namespace

class TestTnefStrings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversion_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<quint32>("codePage");
        QTest::addColumn<QByteArray>("utf8");

        QTest::newRow("ASCII") << QByteArray("Hello") << 0u << QByteArray("Hello");
        QTest::newRow("1252 e-acute without code page") << QByteArray("caf\xE9") << 0u << QByteArray("caf\xC3\xA9");
        QTest::newRow("1252 euro and quotes") << QByteArray("\x80 \x93x\x94") << 1252u << QByteArray("\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
        QTest::newRow("1252 unassigned bytes map to themselves") << QByteArray("\x81\x8D") << 1252u << QByteArray("\xC2\x81\xC2\x8D");
        QTest::newRow("UTF-8 passes through") << QByteArray("caf\xC3\xA9 \xE4\xB8\xAD") << 932u << QByteArray("caf\xC3\xA9 \xE4\xB8\xAD");
        QTest::newRow("UTF-8 emoji passes through") << QByteArray("\xF0\x9F\x98\x80") << 0u << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("Shift-JIS") << QByteArray("\x82\xB1\x82\xF1") << 932u << QByteArray("\xE3\x81\x93\xE3\x82\x93");
        QTest::newRow("GBK") << QByteArray("\xC4\xE3\xBA\xC3") << 936u << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD");
        QTest::newRow("Korean") << QByteArray("\xC7\xD1\xB1\xDB") << 949u << QByteArray("\xED\x95\x9C\xEA\xB8\x80");
        QTest::newRow("Big5") << QByteArray("\xA4\xA4\xA4\xE5") << 950u << QByteArray("\xE4\xB8\xAD\xE6\x96\x87");
        QTest::newRow("GBK bytes without code page read as 1252") << QByteArray("\xC4\xE3") << 0u << QByteArray("\xC3\x84\xC3\xA3");
        QTest::newRow("other code page reads as 1252") << QByteArray("\xE9") << 1251u << QByteArray("\xC3\xA9");
        QTest::newRow("invalid GBK falls back to 1252") << QByteArray("\xC4") << 936u << QByteArray("\xC3\x84");
        QTest::newRow("cut Shift-JIS falls back to 1252") << QByteArray("a\x82") << 932u << QByteArray("a\xE2\x80\x9A");
        QTest::newRow("trailing zero of a value") << QByteArray("caf\xE9\0", 5) << 0u << QByteArray("caf\xC3\xA9");
        QTest::newRow("zero before the invalid byte ends the text") << QByteArray("ok\0\xE9", 4) << 0u << QByteArray("ok");
        QTest::newRow("UTF-8 cut at the length is not UTF-8") << QByteArray("\xC3") << 0u << QByteArray("\xC3\x83");
        // Byte sequences shaped like UTF-8 that no UTF-8 encoder writes are
        // read from the code page instead.
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << 0u << QByteArray("\xC3\x80\xC2\xAF");
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << 0u << QByteArray("\xC3\xAD\xC2\xA0\xE2\x82\xAC");
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0u << QByteArray("\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC");
    }
    void conversion()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(quint32, codePage);
        QFETCH(QByteArray, utf8);
        QCOMPARE(convert(bytes, codePage), utf8);
    }

    void lengthBoundsTheScan()
    {
        // Only the first three bytes count; the rest must not be read.
        QCOMPARE(convert(QByteArray("abcdef"), 0, 3), QByteArray("abc"));
        QCOMPARE(convert(QByteArray("ab\xE9zz"), 0, 3), QByteArray("ab\xC3\xA9"));
    }

    void nothingGivesNoString()
    {
        QVERIFY(!tnef_string_to_utf8(nullptr, 5, 0));
        QVERIFY(!tnef_string_to_utf8("abc", 0, 0));
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefStrings)
#include "tst_tnef_strings.moc"
