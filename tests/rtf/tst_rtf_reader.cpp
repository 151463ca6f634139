// The reading side of the converter: control words and symbols, skipped and
// collected destinations, pictures and objects, and how text bytes become
// UTF-8 (code pages, \u escapes).

#include "rtf/rtf_destinations.h"
#include "rtf/rtf_token.h"
#include "rtf_test_helpers.h"
#include "support/test_main.h"

#include <QGuiApplication>

#include <stdexcept>
#include <string>

using rtftest::bodyOf;

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- Control words and symbols ---------------------------------------

    void readsTokens_data()
    {
        QTest::addColumn<QByteArray>("input"); // what follows the backslash
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<char>("symbol");
        QTest::addColumn<int>("param");
        QTest::addColumn<QByteArray>("rest");
        QTest::newRow("word eats one space") << QByteArray("par  x") << QByteArray("par") << '\0' << -1 << QByteArray(" x");
        QTest::newRow("word ends at a non-letter") << QByteArray("b\\i") << QByteArray("b") << '\0' << -1 << QByteArray("\\i");
        QTest::newRow("parameter") << QByteArray("fs24 x") << QByteArray("fs") << '\0' << 24 << QByteArray("x");
        QTest::newRow("negative parameter") << QByteArray("u-3913?") << QByteArray("u") << '\0' << -3913 << QByteArray("?");
        QTest::newRow("bytes after the number are dropped") << QByteArray("li12-3 x") << QByteArray("li") << '\0' << 12 << QByteArray("x");
        QTest::newRow("smallest parameter") << QByteArray("f-2147483648") << QByteArray("f") << '\0' << int(-2147483647 - 1) << QByteArray();
        QTest::newRow("line break is no delimiter") << QByteArray("par\r\nx") << QByteArray("par") << '\0' << -1 << QByteArray("\r\nx");
        QTest::newRow("word at the end") << QByteArray("par") << QByteArray("par") << '\0' << -1 << QByteArray();
        QTest::newRow("symbol takes no space") << QByteArray("~ x") << QByteArray() << '~' << -1 << QByteArray(" x");
        QTest::newRow("hex escape symbol") << QByteArray("'e9x") << QByteArray() << '\'' << -1 << QByteArray("e9x");
        QTest::newRow("nothing left") << QByteArray() << QByteArray() << '\0' << -1 << QByteArray();
    }
    void readsTokens()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, name);
        QFETCH(char, symbol);
        QFETCH(int, param);
        QFETCH(QByteArray, rest);
        const char* cursor = input.constData();
        const char* end = cursor + input.size();
        const rtf::RtfToken token = rtf::readToken(cursor, end);
        QCOMPARE(QByteArray(token.name.data(), static_cast<qsizetype>(token.name.size())), name);
        QCOMPARE(token.isSymbol, name.isEmpty());
        QCOMPARE(token.symbol, symbol);
        QCOMPARE(token.param, param);
        QCOMPARE(QByteArray(cursor, end - cursor), rest);
    }

    void malformedParametersThrow_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("outOfRange");
        QTest::newRow("minus alone") << QByteArray("fs- x") << false;
        QTest::newRow("two minus signs") << QByteArray("fs--2") << false;
        QTest::newRow("above 32 bits") << QByteArray("li99999999999") << true;
        QTest::newRow("just above the maximum") << QByteArray("fs2147483648") << true;
        QTest::newRow("a megabyte of digits") << QByteArray("fs") + QByteArray(1 << 20, '7') << true;
    }
    void malformedParametersThrow()
    {
        QFETCH(QByteArray, input);
        QFETCH(bool, outOfRange);
        const char* cursor = input.constData();
        const char* end = cursor + input.size();
        if (outOfRange)
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, rtf::readToken(cursor, end));
        else
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, rtf::readToken(cursor, end));
    }

    void controlSymbolsBecomeText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("escaped braces and backslash") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d\\par}") << QByteArray("<p>a{b}c\\d</p>");
        QTest::newRow("no-break space") << QByteArray("{\\rtf1 a\\~b\\par}") << QByteArray("<p>a\xC2\xA0" "b</p>");
        QTest::newRow("optional hyphen and others show nothing")
            << QByteArray("{\\rtf1 a\\-b\\_c\\:d\\|e\\\r\nf\\par}") << QByteArray("<p>abcdef</p>");
        QTest::newRow("markup characters are escaped") << QByteArray("{\\rtf1 a<b>&c\\par}") << QByteArray("<p>a&lt;b&gt;&amp;c</p>");
        QTest::newRow("line breaks in the source are ignored") << QByteArray("{\\rtf1 a\r\nb\nc\\par}") << QByteArray("<p>abc</p>");
        QTest::newRow("special characters")
            << QByteArray("{\\rtf1 \\endash\\emdash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\enspace\\emspace\\par}")
            << QByteArray("<p>\xE2\x80\x93\xE2\x80\x94\xE2\x80\xA2\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D\xC2\xA0\xC2\xA0</p>");
        QTest::newRow("unknown words vanish with their parameter") << QByteArray("{\\rtf1 a\\foo12 b\\bar-4\\par}") << QByteArray("<p>ab</p>");
        QTest::newRow("case matters") << QByteArray("{\\rtf1 a\\PAR b\\par}") << QByteArray("<p>ab</p>");
        QTest::newRow("NUL bytes do not cut the text") << QByteArray("{\\rtf1 ab\0cd\\u0?ef\\par}", 23) << QByteArray("<p>abcdef</p>");
    }
    void controlSymbolsBecomeText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }

    // --- Destinations -------------------------------------------------------

    void skipsGroups_data()
    {
        QTest::addColumn<QByteArray>("input"); // inside a group, after its first word
        QTest::addColumn<QByteArray>("rest");
        QTest::newRow("plain") << QByteArray(" abc}rest") << QByteArray("rest");
        QTest::newRow("nested") << QByteArray("{a}{{b}}}rest") << QByteArray("rest");
        QTest::newRow("escaped braces do not count") << QByteArray("\\}\\{x}rest") << QByteArray("rest");
        QTest::newRow("binary payload passed over") << QByteArray("\\bin4 }}{{}rest") << QByteArray("rest");
        QTest::newRow("zero-length payload") << QByteArray("\\bin0 }rest") << QByteArray("rest");
        QTest::newRow("payload beyond the end") << QByteArray("\\bin99999 }}") << QByteArray();
        QTest::newRow("unclosed") << QByteArray("{{abc") << QByteArray();
    }
    void skipsGroups()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, rest);
        const char* cursor = input.constData();
        const char* end = cursor + input.size();
        rtf::skipGroup(cursor, end);
        QCOMPARE(QByteArray(cursor, end - cursor), rest);
    }

    void dropsDestinations_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("ignorable destination") << QByteArray("{\\rtf1 a{\\*\\generator Writer;}b\\par}") << QByteArray("<p>ab</p>");
        QTest::newRow("star stays set across symbols") << QByteArray("{\\rtf1 a{\\*\\~\\gen x}b\\par}") << QByteArray("<p>a\xC2\xA0" "b</p>");
        QTest::newRow("unknown ignorable with text") << QByteArray("{\\rtf1 a{\\*\\foo {bar} baz}b\\par}") << QByteArray("<p>ab</p>");
        QTest::newRow("style sheet") << QByteArray("{\\rtf1{\\stylesheet{\\s0 Normal;}}a\\par}") << QByteArray("<p>a</p>");
        QTest::newRow("document info") << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}a\\par}") << QByteArray("<p>a</p>");
        QTest::newRow("headers and footers")
            << QByteArray("{\\rtf1{\\header H}{\\footer F}{\\headerf HF}{\\footerf FF}{\\filetbl x}a\\par}") << QByteArray("<p>a</p>");
        QTest::newRow("field instruction dropped, result kept")
            << QByteArray("{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link text}}\\par}")
            << QByteArray("<p>see link text</p>");
    }
    void dropsDestinations()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }

    // A group that is skipped whole, or a table that is read, takes the
    // formatting its opening brace saved with it: nothing leaks past the
    // enclosing group.
    void skippedGroupsDoNotLeakFormatting_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("picture inside bold") << QByteArray("{\\rtf1{\\b B{\\pict x}C}D\\par}") << QByteArray("<p>\n<b>BC</b>D</p>");
        QTest::newRow("object inside bold")
            << QByteArray("{\\rtf1{\\b B{\\object{\\*\\objdata 01}{\\result R}}C}D\\par}") << QByteArray("<p>\n<b>BC</b>D</p>");
        QTest::newRow("font table inside bold") << QByteArray("{\\rtf1{\\b{\\fonttbl{\\f0 Arial;}}X}Y\\par}") << QByteArray("<p>\n<b>X</b>Y</p>");
        QTest::newRow("colour table inside bold") << QByteArray("{\\rtf1{\\b{\\colortbl;\\red1;}X}Y\\par}") << QByteArray("<p>\n<b>X</b>Y</p>");
        QTest::newRow("ignorable inside bold") << QByteArray("{\\rtf1{\\b X{\\*\\x y}}Y\\par}") << QByteArray("<p>\n<b>X</b>Y</p>");
    }
    void skippedGroupsDoNotLeakFormatting()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }

    // --- Font and colour tables ---------------------------------------------

    void readsFontTables()
    {
        const QByteArray input = "{\\f0\\fswiss\\fcharset0 Arial;}"
                                 "{\\f1\\froman\\fcharset134\\fprq2{\\*\\panose 02010600030101010101}SimSun;}"
                                 "{\\f2\\fnil Caf\\'e9;}"
                                 "{\\fdecor Trailing;}"
                                 "{\\f7\\fmodern Mono}"
                                 "}rest";
        const char* cursor = input.constData();
        const char* end = cursor + input.size();
        rtf::FontTable table;
        rtf::readFontTable(cursor, end, table);
        QCOMPARE(QByteArray(cursor, end - cursor), QByteArray("rest"));

        QCOMPARE(table.size(), std::size_t(4));
        QCOMPARE(table[0].family, 2u);
        QCOMPARE(table[0].name, std::string("Arial"));
        QCOMPARE(table[0].charset, 0u);
        QCOMPARE(table[1].family, 1u);
        QCOMPARE(table[1].name, std::string("SimSun"));
        QCOMPARE(table[1].charset, 134u);
        // The number carries over to an entry without \f, replacing it; hex
        // escapes are not decoded in names.
        QCOMPARE(table[2].name, std::string("Trailing"));
        QCOMPARE(table[2].family, 5u);
        QCOMPARE(table[7].name, std::string("Mono"));
        QCOMPARE(table[7].family, 3u);
    }

    void fontTableWithoutEntryBracesStoresNothing()
    {
        const QByteArray input = "\\f0 Arial;}rest";
        const char* cursor = input.constData();
        rtf::FontTable table;
        rtf::readFontTable(cursor, input.constData() + input.size(), table);
        QVERIFY(table.empty());
        QCOMPARE(QByteArray(cursor), QByteArray("rest"));

        QCOMPARE(bodyOf("{\\rtf1{\\fonttbl\\f0 Arial;}\\f0 x\\par}"), QByteArray("<p>x</p>"));
    }

    void fontNamesKeepTheirBytes()
    {
        const QByteArray input = "{\\f2 Caf\\'e9;}}";
        const char* cursor = input.constData();
        rtf::FontTable table;
        rtf::readFontTable(cursor, input.constData() + input.size(), table);
        QCOMPARE(table[2].name, std::string("Cafe9"));
    }

    void readsColourTables_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QList<int>>("components"); // red, green, blue per entry
        QTest::newRow("automatic entry and repeats") << QByteArray(";\\red255\\green0\\blue0;;}")
                                                     << QList<int>{-1, -1, -1, 255, 0, 0, 255, 0, 0};
        QTest::newRow("components carry over") << QByteArray("\\red10;\\green20;\\blue30 ;}")
                                               << QList<int>{10, -1, -1, 10, 20, -1, 10, 20, 30};
        QTest::newRow("other words and bytes ignored") << QByteArray("\\red1\\alpha9 x\\green2{\\blue3;}")
                                                       << QList<int>{1, 2, 3};
        QTest::newRow("unterminated") << QByteArray("\\red1;\\red2") << QList<int>{1, -1, -1};
    }
    void readsColourTables()
    {
        QFETCH(QByteArray, input);
        QFETCH(QList<int>, components);
        const char* cursor = input.constData();
        rtf::ColourTable table;
        rtf::readColourTable(cursor, input.constData() + input.size(), table);
        QList<int> actual;
        for (const rtf::RtfColour& colour : table)
            actual << colour.red << colour.green << colour.blue;
        QCOMPARE(actual, components);
    }

    // --- Text bytes: code pages and Unicode escapes ---------------------------

    void decodesText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        // Nameless fonts, so that no font-family comes into the way.
        const QByteArray gbFonts = "{\\rtf1{\\fonttbl{\\f0;}{\\f1\\fcharset134;}{\\f2\\fcharset128;}"
                                   "{\\f3\\fcharset136;}{\\f4\\fcharset129;}}";
        QTest::newRow("Windows-1252 escape") << QByteArray("{\\rtf1\\ansi\\f0 \\'93quoted\\'94\\par}") << QStringLiteral("\u201Cquoted\u201D");
        QTest::newRow("unassigned 1252 byte maps to itself") << QByteArray("{\\rtf1 text \\'81\\par}") << QStringLiteral("text \u0081");
        QTest::newRow("escape at the very start") << QByteArray("{\\'80}\\par") << QStringLiteral("\u20AC");
        QTest::newRow("GBK pair") << gbFonts + "\\f1 \\'c4\\'e3\\'ba\\'c3\\par}" << QStringLiteral("你好");
        QTest::newRow("Shift-JIS pair") << gbFonts + "\\f2 \\'82\\'b1\\'82\\'f1\\par}" << QStringLiteral("こん");
        QTest::newRow("Shift-JIS half-width kana alone") << gbFonts + "\\f2 \\'b1\\par}" << QStringLiteral("\uFF71");
        QTest::newRow("Big5 pair") << gbFonts + "\\f3 \\'a4\\'a4\\'a4\\'e5\\par}" << QStringLiteral("中文");
        QTest::newRow("Korean pair") << gbFonts + "\\f4 \\'c7\\'d1\\par}" << QStringLiteral("한");
        QTest::newRow("lead byte then plain byte") << gbFonts + "\\f1 \\'c4x\\par}" << QStringLiteral("\u00C4x");
        QTest::newRow("lead byte then brace") << gbFonts + "{\\f1 \\'c4}\\par}" << QStringLiteral("\u00C4");
        QTest::newRow("invalid pair as 1252") << gbFonts + "\\f3 \\'a4\\'20x\\par}" << QStringLiteral("\u00A4 x");
        QTest::newRow("hex digits read as strtol reads them") << QByteArray("{\\rtf1 abcdef \\'-1\\par}") << QStringLiteral("abcdef \u00FF");
        QTest::newRow("escape cut by the end") << QByteArray("{\\rtf1 abcdef\\'4") << QStringLiteral("abcdef");
        QTest::newRow("\\u with fallback") << QByteArray("{\\rtf1 a\\u8364?b\\par}") << QStringLiteral("a\u20ACb");
        QTest::newRow("\\u negative") << QByteArray("{\\rtf1 \\u-3913?\\par}") << QStringLiteral("\uF0B7");
        QTest::newRow("\\uc2 skips two escapes") << QByteArray("{\\rtf1 \\uc2\\u8364\\'80\\'81x\\par}") << QStringLiteral("\u20ACx");
        QTest::newRow("fallback escape word dropped") << QByteArray("{\\rtf1 \\u8364\\emdash x\\par}") << QStringLiteral("\u20ACx");
        QTest::newRow("\\uc0 then fallback byte read back") << QByteArray("{\\rtf1 xx\\uc0\\u8364\\'80\\par}")
                                                            << QStringLiteral("xx\u20AC\u20AC");
        QTest::newRow("underline word is not a \\u escape") << QByteArray("{\\rtf1 xyz\\ul ab\\'e9\\par}")
                                                            << QStringLiteral("xyz<u>ab\u00E9</u>\n");
        QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u55357?\\u56832?\\par}") << QStringLiteral("\U0001F600");
        // Unescaped 8-bit text is read in the font's code page, not passed on as broken UTF-8.
        QTest::newRow("raw Windows-1252 bytes") << QByteArray("{\\rtf1 caf\xE9 \x93x\x94\\par}") << QStringLiteral("caf\u00E9 \u201Cx\u201D");
        QTest::newRow("raw UTF-8 kept") << QByteArray("{\\rtf1 caf\xC3\xA9 \xE2\x82\xAC\\par}") << QStringLiteral("caf\u00E9 \u20AC");
        QTest::newRow("raw GBK under a GBK font") << gbFonts + "\\f1 \xC4\xE3\xBA\xC3\\par}" << QStringLiteral("你好");
        QTest::newRow("raw Shift-JIS with an ASCII trail byte") << gbFonts + "\\f2 \x83\x41\\par}" << QStringLiteral("ア");
        QTest::newRow("raw lead byte cut by a brace") << gbFonts + "{\\f1 x\xC4}\\par}" << QStringLiteral("x\u00C4");
        QTest::newRow("surrogate pair over a line break") << QByteArray("{\\rtf1 \\u-10179?\r\n\\u-8704?\\par}")
                                                          << QStringLiteral("\U0001F600");
    }
    void decodesText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(QString::fromUtf8(bodyOf(rtf)), QStringLiteral("<p>%1</p>").arg(text));
    }

    // A lone surrogate keeps its three-byte form rather than vanishing.
    void loneSurrogateKeepsItsBytes()
    {
        QCOMPARE(bodyOf("{\\rtf1 \\u55357?x\\par}"), QByteArray("<p>\xED\xA0\xBDx</p>"));
        QCOMPARE(bodyOf("{\\rtf1 \\u56832?x\\par}"), QByteArray("<p>\xED\xB8\x80x</p>"));
    }

    void unicodeSkipIsNotRestoredByGroups()
    {
        QCOMPARE(bodyOf("{\\rtf1 {\\uc0 a}\\u8364 b\\par}"), QByteArray("<p>a\xE2\x82\xAC" "b</p>"));
    }

    void bulletEscapeInsideListTextSetsBullet()
    {
        QCOMPARE(bodyOf("{\\rtf1 {\\listtext\\'b7\\tab}Item\\par}"), QByteArray("<ul>\n<li>Item</li>\n</ul>"));
        QCOMPARE(bodyOf("{\\rtf1 {\\listtext\\'B7\\tab}Item\\par}"), QByteArray("<ol>\n<li>Item</li>\n</ol>"));
    }

    // --- Pictures and objects ---------------------------------------------------

    void picturesAndObjectsLeaveNothing_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("picture between words")
            << QByteArray("{\\rtf1 one{\\pict\\pngblip\\picwgoal1440\\pichgoal720 89504e470d0a1a0a}two\\par}")
            << QByteArray("<p>onetwo</p>");
        QTest::newRow("picture and its fallback") << QByteArray("{\\rtf1 {\\*\\shppict{\\pict\\pngblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0304}}\\par}")
                                                  << QByteArray("<p></p>");
        QTest::newRow("shppict holding text shows the text") << QByteArray("{\\rtf1 {\\*\\shppict x{\\pict 01}y}\\par}")
                                                             << QByteArray("<p>xy</p>");
        QTest::newRow("embedded object")
            << QByteArray("{\\rtf1 a{\\object\\objemb{\\*\\objclass Package}{\\*\\objdata 01050000}{\\result {\\pict 0102}text}}b\\par}")
            << QByteArray("<p>ab</p>");
        QTest::newRow("binary payload with braces")
            << QByteArray("{\\rtf1 a{\\pict\\bin6 }}{{\\}}b\\par}") << QByteArray("<p>ab</p>");
        QTest::newRow("picture after formatting") << QByteArray("{\\rtf1 {\\i a{\\pict 00}}b\\par}")
                                                  << QByteArray("<p>\n<i>a</i>b</p>");
    }
    void picturesAndObjectsLeaveNothing()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QByteArray, body);
        QCOMPARE(bodyOf(rtf), body);
    }
};

QUORVIA_GUI_TEST_MAIN(TestRtfReader)
#include "tst_rtf_reader.moc"
