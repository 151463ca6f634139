#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef_test_util.h"

#include <QGuiApplication>

using namespace tnefwriter;
using tneftest::Diagnostics;
using tneftest::parseFile;

namespace {

QByteArray str(const char* s)
{
    return s ? QByteArray(s) : QByteArray();
}

// One attachment made of the given attachment-level records, after an
// optional message-level code page.
tneftest::Result parseAttachment(const std::function<void(TnefWriter&)>& records, quint32 codePage = 0)
{
    TnefWriter w;
    if (codePage) {
        MapiBlockWriter props;
        props.add(MapiProp::int32(PidTagInternetCodepage, codePage));
        w.messageProperties(props);
    }
    w.beginAttachment();
    records(w);
    return parseFile(w.bytes());
}

MapiBlockWriter block(const QList<MapiProp>& props)
{
    MapiBlockWriter b;
    for (const MapiProp& p : props)
        b.add(p);
    return b;
}

} // namespace

class TestTnefAttachments : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void attachmentsInStreamOrder()
    {
        TnefWriter w;
        w.attachment({"A.TXT", QString(), "alpha", "text/plain", QByteArray(), {}})
            .attachment({QByteArray(), QStringLiteral("b.bin"), QByteArray(3000, 'b'), QByteArray(), QByteArray(), {}, true})
            .attachment({"C.DAT", QStringLiteral("c.dat"), "gamma", QByteArray(), "cid-c@x", {}});
        auto r = parseFile(w.bytes());
        QCOMPARE(r->error, 0);
        QCOMPARE(r->attachment_count, 3);
        QCOMPARE(str(r->attachments[0].name), QByteArray("A.TXT"));
        QCOMPARE(str(r->attachments[0].mime_type), QByteArray("text/plain"));
        QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("alpha"));
        QCOMPARE(str(r->attachments[1].name), QByteArray("b.bin"));
        QCOMPARE(r->attachments[1].len, quint64(3000));
        QCOMPARE(str(r->attachments[2].name), QByteArray("c.dat"));
        QCOMPARE(str(r->attachments[2].content_id), QByteArray("cid-c@x"));
        QVERIFY(!r->attachments[2].mime_type);
    }

    void attachmentsNeedAnOpeningRecordAndData()
    {
        TnefWriter w;
        // Before any attAttachRenddata: ignored.
        w.attachTitle("EARLY.TXT").attachData("early");
        // Opened, but only a title follows: no attachment.
        w.beginAttachment().attachTitle("NODATA.TXT");
        // Opened with empty data: no attachment either.
        w.beginAttachment().attachTitle("EMPTY.TXT").attachData(QByteArray());
        // A message attribute in between does not close the attachment.
        w.beginAttachment().attachTitle("LATE.TXT").body("body").attachData("late");
        auto r = parseFile(w.bytes());
        QCOMPARE(r->attachment_count, 1);
        QCOMPARE(str(r->attachments[0].name), QByteArray("LATE.TXT"));
        QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("late"));
        QCOMPARE(tneftest::bytesOf(r->body, r->body_len), QByteArray("body"));
    }

    void renddataAtMessageLevelAlsoOpensAnAttachment()
    {
        TnefWriter w;
        w.attribute(LevelMessage, AttAttachRenddata, AtpByte, QByteArray(14, '\0')).attachData("data");
        auto r = parseFile(w.bytes());
        QCOMPARE(r->attachment_count, 1);
    }

    void naming_data()
    {
        QTest::addColumn<QByteArray>("title");  // null: no attAttachTitle
        QTest::addColumn<QList<MapiProp>>("props");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("title only") << QByteArray("QUICK~1.HTM") << QList<MapiProp>{} << QByteArray("QUICK~1.HTM") << QStringList();
        QTest::newRow("long file name beats the title")
            << QByteArray("QUICK~1.HTM") << QList<MapiProp>{MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("quick.html"))}
            << QByteArray("quick.html") << QStringList();
        QTest::newRow("short file name keeps the title")
            << QByteArray("TITLE.TXT") << QList<MapiProp>{MapiProp::string8(PidTagAttachFilename, "OTHER.TXT")}
            << QByteArray("TITLE.TXT") << QStringList();
        QTest::newRow("short file name replaces the generic title")
            << QByteArray("Untitled Attachment") << QList<MapiProp>{MapiProp::string8(PidTagAttachFilename, "REAL.TXT")}
            << QByteArray("REAL.TXT") << QStringList();
        QTest::newRow("display name as a last resort")
            << QByteArray() << QList<MapiProp>{MapiProp::unicode(PidTagDisplayName, QStringLiteral("Shown name"))}
            << QByteArray("Shown name") << QStringList();
        QTest::newRow("display name after a short name is ignored")
            << QByteArray() << QList<MapiProp>{MapiProp::string8(PidTagAttachFilename, "A.TXT"), MapiProp::string8(PidTagDisplayName, "B")}
            << QByteArray("A.TXT") << QStringList();
        QTest::newRow("long name after a short one wins")
            << QByteArray() << QList<MapiProp>{MapiProp::string8(PidTagAttachFilename, "A.TXT"), MapiProp::string8(PidTagAttachLongFilename, "alpha.txt")}
            << QByteArray("alpha.txt") << QStringList();
        QTest::newRow("long path gives its last component")
            << QByteArray() << QList<MapiProp>{MapiProp::string8(PidTagAttachLongPathname, "C:\\Users\\ana\\Documents\\plan 2024.xlsx")}
            << QByteArray("plan 2024.xlsx") << QStringList{QStringLiteral("MAPI_ATTACH_LONG_PATHNAME: C:\\Users\\ana\\Documents\\plan 2024.xlsx")};
        QTest::newRow("long path does not replace a title")
            << QByteArray("TITLE.TXT") << QList<MapiProp>{MapiProp::string8(PidTagAttachLongPathname, "C:\\x\\y.txt")}
            << QByteArray("TITLE.TXT") << QStringList{QStringLiteral("MAPI_ATTACH_LONG_PATHNAME: C:\\x\\y.txt")};
        QTest::newRow("name of a wrong type is passed over")
            << QByteArray("TITLE.TXT") << QList<MapiProp>{MapiProp::int32(PidTagAttachLongFilename, 0x41414141)}
            << QByteArray("TITLE.TXT") << QStringList();
        QTest::newRow("emoji in a long name stays valid UTF-8")
            << QByteArray("PARTY~1.JPG") << QList<MapiProp>{MapiProp::unicode(PidTagAttachLongFilename, QString::fromUtf8("party \xF0\x9F\x8E\x89.jpg"))}
            << QByteArray("party \xF0\x9F\x8E\x89.jpg") << QStringList();
    }
    void naming()
    {
        QFETCH(QByteArray, title);
        QFETCH(QList<MapiProp>, props);
        QFETCH(QByteArray, name);
        QFETCH(QStringList, messages);
        Diagnostics diag;
        auto r = parseAttachment([&](TnefWriter& w) {
            if (!title.isNull())
                w.attachTitle(title);
            w.attachData("data");
            if (!props.isEmpty())
                w.attachProperties(block(props));
        });
        QCOMPARE(r->attachment_count, 1);
        QCOMPARE(str(r->attachments[0].name), name);
        QCOMPARE(diag.messages(), messages);
    }

    void namesAreConvertedWithTheMessageCodePage_data()
    {
        QTest::addColumn<quint32>("codePage");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("1252 by default") << 0u << QByteArray("r\xE9sum\xE9.doc") << QByteArray("r\xC3\xA9sum\xC3\xA9.doc");
        QTest::newRow("Shift-JIS") << 932u << QByteArray("\x82\xB1\x82\xF1.txt") << QByteArray("\xE3\x81\x93\xE3\x82\x93.txt");
        QTest::newRow("GBK") << 936u << QByteArray("\xC4\xE3\xBA\xC3.txt") << QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD.txt");
        QTest::newRow("UTF-8 kept") << 932u << QByteArray("\xE4\xBD\xA0.txt") << QByteArray("\xE4\xBD\xA0.txt");
    }
    void namesAreConvertedWithTheMessageCodePage()
    {
        QFETCH(quint32, codePage);
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, name);
        auto r = parseAttachment([&](TnefWriter& w) { w.attachTitle(title).attachData("x"); }, codePage);
        QCOMPARE(str(r->attachments[0].name), name);
    }

    void codePageKnownWhenTheAttachmentCloses()
    {
        // The code page arrives after the attachment's records but before it
        // closes (the next attAttachRenddata), so it applies to its name.
        TnefWriter w;
        w.beginAttachment().attachTitle("\x82\xB1.txt").attachData("x");
        MapiBlockWriter props;
        props.add(MapiProp::int32(PidTagInternetCodepage, 932));
        w.messageProperties(props);
        w.beginAttachment().attachTitle("\x82\xF1.txt").attachData("y");
        auto r = parseFile(w.bytes());
        QCOMPARE(r->attachment_count, 2);
        QCOMPARE(str(r->attachments[0].name), QByteArray("\xE3\x81\x93.txt"));
        QCOMPARE(str(r->attachments[1].name), QByteArray("\xE3\x82\x93.txt"));
    }

    void dataFromThePropertyBlockReplacesTheRecord()
    {
        auto r = parseAttachment([](TnefWriter& w) {
            w.attachData("from the record");
            w.attachProperties(block({MapiProp::binary(PidTagAttachDataBinary, "from the block")}));
        });
        QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), QByteArray("from the block"));

        auto later = parseAttachment([](TnefWriter& w) {
            w.attachProperties(block({MapiProp::binary(PidTagAttachDataBinary, "from the block")}));
            w.attachData("from the record");
        });
        QCOMPARE(tneftest::bytesOf(later->attachments[0].data, later->attachments[0].len), QByteArray("from the record"));

        auto wrongType = parseAttachment([](TnefWriter& w) {
            w.attachData("from the record");
            w.attachProperties(block({MapiProp::int32(PidTagAttachDataBinary, 5)}));
        });
        QCOMPARE(tneftest::bytesOf(wrongType->attachments[0].data, wrongType->attachments[0].len), QByteArray("from the record"));
    }

    void mimeTypeAndContentId_data()
    {
        QTest::addColumn<QList<MapiProp>>("props");
        QTest::addColumn<QByteArray>("mime");
        QTest::addColumn<QByteArray>("cid");
        QTest::newRow("location as fallback, last MIME tag wins")
            << QList<MapiProp>{MapiProp::string8(PidTagAttachContentLocation, "http://x/logo.png"),
                               MapiProp::string8(PidTagAttachMimeTag, "text/plain"), MapiProp::unicode(PidTagAttachMimeTag, QStringLiteral("image/png"))}
            << QByteArray("image/png") << QByteArray("http://x/logo.png");
        QTest::newRow("id after location replaces it")
            << QList<MapiProp>{MapiProp::string8(PidTagAttachContentLocation, "loc"), MapiProp::string8(PidTagAttachContentId, "id")}
            << QByteArray() << QByteArray("id");
        QTest::newRow("location after id is ignored")
            << QList<MapiProp>{MapiProp::string8(PidTagAttachContentId, "id"), MapiProp::string8(PidTagAttachContentLocation, "loc")}
            << QByteArray() << QByteArray("id");
    }
    void mimeTypeAndContentId()
    {
        QFETCH(QList<MapiProp>, props);
        QFETCH(QByteArray, mime);
        QFETCH(QByteArray, cid);
        auto r = parseAttachment([&](TnefWriter& w) { w.attachData("x").attachProperties(block(props)); });
        QCOMPARE(str(r->attachments[0].mime_type), mime);
        QCOMPARE(str(r->attachments[0].content_id), cid);
    }

    void corruptAttachmentBlockIsIgnored()
    {
        Diagnostics diag;
        auto r = parseAttachment([](TnefWriter& w) {
            w.attachTitle("KEEP.TXT").attachData("x");
            w.attachProperties(MapiBlockWriter().add(MapiProp::unicode(PidTagAttachLongFilename, QStringLiteral("lost.txt"))).withCount(3));
        });
        QCOMPARE(str(r->attachments[0].name), QByteArray("KEEP.TXT"));
        QCOMPARE(diag.messages().size(), 1);
    }

    void oleMarking_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("ole");
        const QByteArray cfb = QByteArray::fromHex("D0CF11E0A1B11AE1");
        QTest::newRow("storage id and compound file") << oleObjectData(cfb + QByteArray(504, '\0')) << true;
        QTest::newRow("exactly 20 bytes") << QByteArray::fromHex("0B000000") + QByteArray(12, '\0') + QByteArray::fromHex("D0CF11E0") << true;
        QTest::newRow("19 bytes") << QByteArray::fromHex("0B000000") + QByteArray(12, '\0') + QByteArray::fromHex("D0CF11") << false;
        QTest::newRow("compound file without the id") << cfb + QByteArray(504, '\0') << false;
        QTest::newRow("signature one byte off") << QByteArray::fromHex("0B000000") + QByteArray(12, '\0') + QByteArray::fromHex("D0CF11E1") << false;
    }
    void oleMarking()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, ole);
        for (bool asObject : {false, true}) {
            TnefWriter w;
            w.attachment({"OBJ.DAT", QString(), data, QByteArray(), QByteArray(), {}, asObject, asObject});
            auto r = parseFile(w.bytes());
            QCOMPARE(r->attachment_count, 1);
            QCOMPARE(tneftest::bytesOf(r->attachments[0].data, r->attachments[0].len), data);
            QCOMPARE(r->attachments[0].is_ole, ole ? 1 : 0);
            QCOMPARE(r->attachments[0].ole_offset, quint64(ole ? 16 : 0));
        }
    }
};

QUORVIA_GUI_TEST_MAIN(TestTnefAttachments)
#include "tst_tnef_attachments.moc"
