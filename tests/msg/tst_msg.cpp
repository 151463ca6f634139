// The .msg container: property values in every stored form, code pages,
// bodies, header fields, recipients and attachments, named properties,
// damaged files, the choice of reader by content, and the real Outlook files.

#include "message/mailbox_text.h"
#include "message/prepared_message.h"
#include "message/recipients.h"
#include "message/tessil_parser.h"
#include "msg/msg_message_reader.h"
#include "support/msg_writer.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "tnef/tnef.h"

#include <QCryptographicHash>
#include <QGuiApplication>

using namespace msgwriter;
using Props = QList<MsgProp>;
using Damage = std::function<void(QByteArray&, const testsupport::CfbLayout&)>;
Q_DECLARE_METATYPE(MsgProp)
Q_DECLARE_METATYPE(Damage)

namespace {

enum : quint16 {
    kSubject = 0x0037,
    kBody = 0x1000,
    kBodyHtml = 0x1013,
    kRtf = 0x1009,
    kInternetCodepage = 0x3FDE,
    kLocale = 0x3FF1,
    kMessageCodepage = 0x3FFD,
    kRecipientType = 0x0C15,
};

QByteArray le16(quint16 v) { return tnefwriter::le16(v); }
QByteArray le32(quint32 v) { return tnefwriter::le32(v); }
QByteArray utf8z(const QString& text) { return text.toUtf8() + QByteArray(1, '\0'); }
QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0) { return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC); }
MsgProp u(quint16 id, const char* text, bool withZero = true) { return MsgProp::unicode(id, QString::fromUtf8(text), withZero); }
QString sha256(const QByteArray& bytes) { return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()); }

struct Read
{
    QSharedPointer<TessilMessage> message;
    QString error;
    MsgDamage damage;
};

Read read(const QByteArray& bytes)
{
    Read r;
    r.message = readMsgMessage(bytes, &r.error, &r.damage);
    return r;
}

QSharedPointer<TessilMessage> message(const Props& props)
{
    MsgWriter writer;
    for (const MsgProp& p : props)
        writer.add(p);
    return read(writer.bytes()).message;
}

const MessageProperty* find(const QList<MessageProperty>& properties, quint16 id)
{
    for (const MessageProperty& p : properties) {
        if (p.id == id)
            return &p;
    }
    return nullptr;
}

// "to:Name <address>" per recipient, as the header words them.
QStringList recipientsOf(const TessilMessage& m)
{
    QStringList out;
    for (const MessageRecipient& r : m.recipients)
        out << recipientTypeName(r.type) + QLatin1Char(':') + mailboxText(r.name, r.email);
    return out;
}

} // namespace

class TestMsg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { tnef_set_diagnostics(nullptr); }

    // Every type in each form a .msg file stores it, read into the model's
    // flat form with every value; named properties take their numeric name
    // as id, string names keep the tag's.
    void propertyForms_data()
    {
        QTest::addColumn<MsgProp>("property");
        QTest::addColumn<quint16>("id");
        QTest::addColumn<quint16>("type");
        QTest::addColumn<bool>("multi");
        QTest::addColumn<QByteArrayList>("values");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* name, const MsgProp& p, quint16 type, bool multi, const QByteArrayList& values, quint16 id = 0, const QString& named = {}) {
            QTest::newRow(name) << p << (id ? id : p.id()) << type << multi << values << named;
        };
        row("int16 widened", MsgProp::int16(0x0017, 0xFFFE), 0x0002, false, {le32(0xFFFE)});
        row("int32", MsgProp::int32(0x0E08, 123456), 0x0003, false, {le32(123456)});
        row("boolean", MsgProp::boolean(0x0E1B, true), 0x000B, false, {le32(1)});
        row("float64", MsgProp::float64(0x7001, 1.5), 0x0005, false, {QByteArray::fromHex("000000000000f83f")});
        row("int64", MsgProp::int64(0x0E08, 0x0102030405060708ULL), 0x0014, false, {QByteArray::fromHex("0807060504030201")});
        row("time", MsgProp::time(0x0039, utc(2024, 5, 1)), 0x0040, false, {tnefwriter::le64(tnefwriter::fileTime(utc(2024, 5, 1)))});
        row("guid stream", MsgProp::guid(0x7002, tnefwriter::psAddress()), 0x0048, false, {tnefwriter::psAddress()});
        row("8-bit string to UTF-8", MsgProp::string8(0x0037, "caf\xE9"), 0x001F, false, {utf8z(QStringLiteral("café"))});
        row("8-bit NUL at the end", MsgProp::string8(0x0037, "abc", true), 0x001F, false, {utf8z(QStringLiteral("abc"))});
        row("Unicode", MsgProp::unicode(0x0037, QStringLiteral("Zoë 会")), 0x001F, false, {utf8z(QStringLiteral("Zoë 会"))});
        row("Unicode NUL at the end", MsgProp::unicode(0x0037, QStringLiteral("x"), true), 0x001F, false, {utf8z(QStringLiteral("x"))});
        row("empty Unicode", MsgProp::unicode(0x0037, QString()), 0x001F, false, {QByteArray(1, '\0')});
        row("binary", MsgProp::binary(0x0FF9, QByteArray("\0\1\2", 3)), 0x0102, false, {QByteArray("\0\1\2", 3)});
        row("multi int16", MsgProp::multi(0x0002, 0x7003, {le16(1), le16(2)}), 0x0002, true, {le32(1), le32(2)});
        row("multi int32", MsgProp::multi(0x0003, 0x7004, {le32(7), le32(8), le32(9)}), 0x0003, true, {le32(7), le32(8), le32(9)});
        row("multi time", MsgProp::multi(0x0040, 0x7005, {tnefwriter::le64(1), tnefwriter::le64(2)}), 0x0040, true, {tnefwriter::le64(1), tnefwriter::le64(2)});
        row("multi guid", MsgProp::multi(0x0048, 0x7006, {tnefwriter::psAddress(), tnefwriter::psPublicStrings()}), 0x0048, true,
            {tnefwriter::psAddress(), tnefwriter::psPublicStrings()});
        row("multi 8-bit", MsgProp::multi(0x001E, 0x7007, {QByteArray("a\xE9\0", 3), QByteArray("", 1)}), 0x001F, true, {utf8z("aé"), QByteArray(1, '\0')});
        row("multi Unicode", MsgProp::multi(0x001F, 0x7008, {tnefwriter::utf16le("x"), tnefwriter::utf16le("yz")}), 0x001F, true, {utf8z("x"), utf8z("yz")});
        row("multi binary", MsgProp::multi(0x0102, 0x7009, {"12", "", "345"}), 0x0102, true, {"12", "", "345"});
        row("multi none", MsgProp::multi(0x0003, 0x700A, {}), 0x0003, true, {});
        row("named by number", MsgProp::unicode(0, QStringLiteral("Room 1")).named(tnefwriter::psetidAppointment(), 0x8208), 0x001F, false,
            {utf8z("Room 1")}, 0x8208, QStringLiteral("{00062002-0000-0000-c000-000000000046}#8208"));
        row("named by string", MsgProp::int32(0, 5).named(tnefwriter::psPublicStrings(), QStringLiteral("Keywords")), 0x0003, false, {le32(5)}, 0x8000,
            QStringLiteral("{00020329-0000-0000-c000-000000000046}Keywords"));
    }
    void propertyForms()
    {
        QFETCH(MsgProp, property);
        const QSharedPointer<TessilMessage> m = message({MsgProp::int32(0x0E07, 9), property});
        QVERIFY(m);
        QCOMPARE(m->properties.size(), 2);
        const MessageProperty& p = m->properties.at(1);
        QTEST(p.id, "id");
        QTEST(p.type, "type");
        QTEST(p.multiValued, "multi");
        QTEST(QByteArrayList(p.values.begin(), p.values.end()), "values");
        QCOMPARE(p.value, p.values.value(0));
        QTEST(p.name ? p.name->propertySet.toString() + (p.name->stringName.isNull() ? QStringLiteral("#%1").arg(p.name->numericName, 0, 16) : p.name->stringName)
                     : QString(), "name");
    }

    // 8-bit strings: the message code page, else the locale's ANSI page,
    // else 1252; what the page cannot decode is UTF-8 where valid, else 1252.
    void codePages_data()
    {
        QTest::addColumn<Props>("props");
        QTest::addColumn<QString>("subject");
        const QByteArray cyrillic("\xC0\xE2\xF2\xEE");
        QTest::newRow("message code page") << Props{MsgProp::int32(kMessageCodepage, 1251)} << QStringLiteral("Авто");
        QTest::newRow("locale 1049") << Props{MsgProp::int32(kLocale, 1049)} << QStringLiteral("Авто");
        QTest::newRow("code page before locale") << Props{MsgProp::int32(kLocale, 1049), MsgProp::int32(kMessageCodepage, 1252)} << QStringLiteral("Àâòî");
        QTest::newRow("unknown code page, locale") << Props{MsgProp::int32(kMessageCodepage, 4242), MsgProp::int32(kLocale, 1049)} << QStringLiteral("Авто");
        QTest::newRow("Internet code page is not for strings") << Props{MsgProp::int32(kInternetCodepage, 1251)} << QStringLiteral("Àâòî");
        QTest::newRow("GBK by locale 2052") << Props{MsgProp::int32(kLocale, 2052), MsgProp::string8(kSubject, "\xC4\xE3\xBA\xC3")} << QStringLiteral("你好");
        QTest::newRow("Shift-JIS") << Props{MsgProp::int32(kMessageCodepage, 932), MsgProp::string8(kSubject, "\x82\xB1\x82\xF1")} << QStringLiteral("こん");
        QTest::newRow("invalid Shift-JIS is 1252") << Props{MsgProp::int32(kMessageCodepage, 932), MsgProp::string8(kSubject, "\x82 ")} << QStringLiteral("‚ ");
        QTest::newRow("ASCII page, UTF-8 bytes") << Props{MsgProp::int32(kMessageCodepage, 20127), MsgProp::string8(kSubject, "caf\xC3\xA9")} << QStringLiteral("café");
        QTest::newRow("Latin-1 label keeps 1252's quotes") << Props{MsgProp::int32(kMessageCodepage, 28591), MsgProp::string8(kSubject, "\x93x\x94")} << QStringLiteral("“x”");
        QTest::newRow("nothing named: 1252") << Props{} << QStringLiteral("Àâòî");
    }
    void codePages()
    {
        QFETCH(Props, props);
        props.append(MsgProp::string8(kSubject, "\xC0\xE2\xF2\xEE"));
        QTEST(message(props)->subject, "subject");
    }

    // HTML as bytes or 8-bit text is in the Internet code page, made to
    // declare UTF-8; compressed RTF is expanded; a failed CRC drops it.
    void bodies_data()
    {
        QTest::addColumn<Props>("props");
        QTest::addColumn<QString>("html");   // what the UTF-8 page holds
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<bool>("rtfChecksum");
        const QByteArray page("<html><head><meta charset=\"utf-8\"></head><body>\xC0\xE2\xF2\xEE</body></html>");
        QTest::newRow("binary in 1251") << Props{MsgProp::int32(kInternetCodepage, 1251), MsgProp::binary(kBodyHtml, page)} << QStringLiteral("<body>Авто</body>")
                                        << QByteArray() << QString() << false;
        QTest::newRow("8-bit in the Internet page") << Props{MsgProp::int32(kInternetCodepage, 936), MsgProp::int32(kMessageCodepage, 1252),
                                                             MsgProp::string8(kBodyHtml, "<p>\xC4\xE3</p>", true), MsgProp::string8(kBody, "\xC4\xE3")}
                                                    << QStringLiteral("<p>你</p>") << QByteArray() << QStringLiteral("Äã") << false;
        QTest::newRow("Unicode") << Props{MsgProp::unicode(kBodyHtml, QStringLiteral("<p>Zoë</p>")), MsgProp::unicode(kBody, QStringLiteral("Zoë"), true)}
                                 << QStringLiteral("<p>Zoë</p>") << QByteArray() << QStringLiteral("Zoë") << false;
        QTest::newRow("a mark before the page") << Props{MsgProp::int32(kInternetCodepage, 1251), MsgProp::binary(kBodyHtml, "\xEF\xBB\xBF<p>\xC3\xA9</p>")}
                                                << QStringLiteral("<p>é</p>") << QByteArray() << QString() << false;
        QTest::newRow("page the code page refuses") << Props{MsgProp::int32(kInternetCodepage, 20127), MsgProp::binary(kBodyHtml, "<p>caf\xE9</p>")}
                                                    << QStringLiteral("<p>café</p>") << QByteArray() << QString() << false;
        const QByteArray rtf("{\\rtf1\\ansi Hello}");
        QTest::newRow("compressed RTF") << Props{MsgProp::binary(kRtf, tnefwriter::compressedRtf(rtf))} << QString() << rtf << QString() << false;
        QByteArray bad = tnefwriter::compressedRtf(rtf);
        bad[12] = char(bad[12] ^ 1);
        QTest::newRow("RTF with a wrong CRC") << Props{MsgProp::binary(kRtf, bad)} << QString() << QByteArray() << QString() << true;
    }
    void bodies()
    {
        QFETCH(Props, props);
        QFETCH(QString, html);
        const QSharedPointer<TessilMessage> m = message(props);
        QVERIFY(m);
        const QString page = QString::fromUtf8(m->htmlBody);
        QVERIFY2(html.isEmpty() ? page.isEmpty() : page.contains(html) && page.contains(QStringLiteral("charset=\"utf-8\"")), qPrintable(page));
        QTEST(m->rtfBody, "rtf");
        QTEST(m->plainBody, "plain");
        QTEST(m->warnings.contains(MessageWarning::RtfChecksum), "rtfChecksum");
    }

    // Which property fills each header field.
    void headerFields_data()
    {
        QTest::addColumn<Props>("props");
        QTest::addColumn<QString>("from");  // senderName|senderEmail
        QTest::addColumn<QDateTime>("sent");
        QTest::addColumn<QString>("subject");
        QTest::newRow("sent representing") << Props{u(0x0042, "Ana"), u(0x5D02, "ana@x.org"), u(0x0C1A, "Bo"), u(0x5D01, "bo@x.org")} << "Ana|ana@x.org" << QDateTime() << QString();
        QTest::newRow("sender's") << Props{u(0x0C1A, "Bo"), u(0x5D01, "bo@x.org")} << "Bo|bo@x.org" << QDateTime() << QString();
        QTest::newRow("SMTP-typed address") << Props{u(0x0C1A, "Bo"), u(0x0C1E, "SMTP"), u(0x0C1F, "bo@x.org")} << "Bo|bo@x.org" << QDateTime() << QString();
        QTest::newRow("Exchange address is none") << Props{u(0x0C1A, "Bo"), u(0x0C1E, "EX"), u(0x0C1F, "/O=ORG/OU=X/CN=BO"), u(0x5D01, "/o=ExchangeLabs/cn=bo")}
                                                  << "Bo|" << QDateTime() << QString();
        QTest::newRow("other types are none") << Props{u(0x0064, "FAX"), u(0x0065, "555 123")} << "|" << QDateTime() << QString();
        QTest::newRow("client submit time") << Props{MsgProp::time(0x0E06, utc(2024, 1, 2)), MsgProp::time(0x0039, utc(2024, 1, 1))} << "|" << utc(2024, 1, 1) << QString();
        QTest::newRow("delivery time") << Props{MsgProp::time(0x0E06, utc(2024, 1, 2))} << "|" << utc(2024, 1, 2) << QString();
        QTest::newRow("topic when no subject") << Props{u(0x0070, "Topic")} << "|" << QDateTime() << QStringLiteral("Topic");
    }
    void headerFields()
    {
        QFETCH(Props, props);
        const QSharedPointer<TessilMessage> m = message(props);
        QTEST(m->senderName + QLatin1Char('|') + m->senderEmail, "from");
        QTEST(m->sentTime, "sent");
        QTEST(m->subject, "subject");
    }

    // Recipients of each type from both containers, the same list; the To
    // and Cc lines come from it, or from the display texts without one.
    void recipients()
    {
        MsgWriter msg;
        msg.add(u(0x0E04, "display To")).add(u(0x0E03, "display Cc"));
        msg.recipient({u(0x3001, "Ana"), u(0x3002, "SMTP"), u(0x3003, "ana@x.org"), MsgProp::int32(kRecipientType, 1)})
            .recipient({u(0x3001, "Bo"), u(0x3002, "EX"), u(0x3003, "/O=X/CN=BO"), u(0x39FE, "bo@x.org"), MsgProp::int32(kRecipientType, 2)})
            .recipient({u(0x3001, "Cy"), u(0x3002, "EX"), u(0x3003, "/O=X/CN=CY"), MsgProp::int32(kRecipientType, 0x80000003)})
            .recipient({u(0x3001, "Resent"), MsgProp::int32(kRecipientType, 0x10000001)})
            .recipient({u(0x3003, "di@x.org")});
        const QStringList expected{"to:Ana <ana@x.org>", "cc:Bo <bo@x.org>", "bcc:Cy", "to:di@x.org"};
        const QSharedPointer<TessilMessage> fromMsg = read(msg.bytes()).message;
        QCOMPARE(recipientsOf(*fromMsg), expected);
        QCOMPARE(recipientLine(*fromMsg, RecipientType::To), QStringLiteral("Ana <ana@x.org>; di@x.org"));
        QCOMPARE(recipientLine(*fromMsg, RecipientType::Cc), QStringLiteral("Bo <bo@x.org>"));

        using namespace tnefwriter;
        const auto row = [](const QList<MapiProp>& props) {
            MapiBlockWriter block;
            for (const MapiProp& p : props)
                block.add(p);
            return block.bytes();
        };
        const QByteArray table = tnefwriter::le32(5) + row({MapiProp::unicode(0x3001, "Ana"), MapiProp::string8(0x3002, "SMTP"), MapiProp::string8(0x3003, "ana@x.org"), MapiProp::int32(0x0C15, 1)})
            + row({MapiProp::unicode(0x3001, "Bo"), MapiProp::string8(0x3003, "/O=X/CN=BO"), MapiProp::unicode(0x39FE, "bo@x.org"), MapiProp::int32(0x0C15, 2)})
            + row({MapiProp::unicode(0x3001, "Cy"), MapiProp::string8(0x3002, "EX"), MapiProp::int32(0x0C15, 0x80000003)})
            + row({MapiProp::unicode(0x3001, "Resent"), MapiProp::int32(0x0C15, 0x10000001)}) + row({MapiProp::string8(0x3003, "di@x.org")});
        const QSharedPointer<TessilMessage> fromTnef =
            TessilParser().parseData(TnefWriter().attribute(LevelMessage, AttRecipTable, AtpByte, table)
                                         .messageProperties(MapiBlockWriter().add(MapiProp::unicode(PidTagDisplayTo, "display To"))).bytes());
        QCOMPARE(recipientsOf(*fromTnef), expected);

        const QSharedPointer<TessilMessage> none = message({u(0x0E04, "display To"), u(0x0E03, "display Cc")});
        QCOMPARE(recipientLine(*none, RecipientType::To), QStringLiteral("display To"));
        QCOMPARE(recipientLine(*none, RecipientType::Cc), QStringLiteral("display Cc"));
        QCOMPARE(recipientLine(*none, RecipientType::Bcc), QString());
    }

    // Attachments by value with their names, types and ids; hidden and inline
    // ones kept but not listed; an OLE object's file; an attached message
    // in reach of its own reader and listed as a file of its own; data
    // shared with the file.
    void attachments()
    {
        const QByteArray big(9000, 'b');
        MsgWriter inner;
        inner.add(MsgProp::int32(kMessageCodepage, 1251)).add(MsgProp::string8(kSubject, "\xC0\xE2\xF2\xEE")).add(u(kBody, "inner body"));
        MsgWriter msg;
        msg.add(u(kSubject, "Outer"))
            .attachment({{MsgProp::int32(0x3705, 1), u(0x3707, "long name.pdf"), u(0x3704, "LONGNA~1.PDF"), u(0x370E, "application/pdf"), MsgProp::binary(0x3701, big)}})
            .attachment({{u(0x3704, "SHORT.TXT"), u(0x3001, "Display"), MsgProp::binary(0x3701, "short")}})
            .attachment({{u(0x3001, "Display only"), MsgProp::binary(0x3701, "display")}})
            .attachment({{u(0x3707, "inline.png"), u(0x3713, "loc@x"), MsgProp::binary(0x3701, "png")}})
            .attachment({{u(0x3707, "hidden.png"), MsgProp::boolean(0x7FFE, true), MsgProp::binary(0x3701, "hidden")}})
            .attachment({{u(0x3707, "empty.txt"), MsgProp::binary(0x3701, "")}})
            .attachment({{MsgProp::int32(0x3705, 6), u(0x3001, "Picture")}, {}, {{"CONTENTS", "ole payload"}}})
            .attachment({{MsgProp::int32(0x3705, 5), u(0x3001, "Forwarded")}, QSharedPointer<MsgWriter>::create(inner), {}});
        const QByteArray bytes = msg.bytes();
        const Read r = read(bytes);
        QVERIFY(r.message && !r.damage.cutShort && !r.damage.corruptProperties);
        QStringList seen;
        for (const auto& a : r.message->attachments)
            seen << a->fileName + '|' + a->mimeType + '|' + a->contentId + '|'
                    + (a->isMessage ? QStringLiteral("message") : QString::number(a->data.size())) + (isListedAttachment(*a) ? "" : "|inline");
        QCOMPARE(seen, (QStringList{"long name.pdf|application/pdf||9000", "SHORT.TXT|||5", "Display only|||7", "inline.png||loc@x|3|inline",
                                    "hidden.png|||6|inline", "Picture|||11", "Forwarded|||message"}));
        const TessilAttachment& first = *r.message->attachments.at(0);
        QCOMPARE(first.data.constData() - bytes.constData() >= 0 && first.data.constData() - bytes.constData() < bytes.size(), true); // in place
        QCOMPARE(find(first.properties, 0x3701)->value.constData(), first.data.constData());
        QCOMPARE(find(first.properties, 0x3704)->value, utf8z("LONGNA~1.PDF"));
        QCOMPARE(first.properties.at(0).id, quint16(0x3705)); // the first entry after the 8-byte header
        QCOMPARE(first.properties.at(0).value, le32(1));
        QCOMPARE(r.message->attachments.at(5)->data, QByteArray("ole payload"));

        // The attached message is in reach of its own reader.
        MsgContainer container(bytes);
        QVERIFY(container.open());
        const std::uint32_t storage = container.find(container.find(0, "__attach_version1.0_#00000007"), "__substg1.0_3701000D");
        MsgDamage damage;
        const QSharedPointer<TessilMessage> attached = readMsgStorage(container, storage, MsgObject::EmbeddedMessage, MsgNamedProperties(), damage);
        QCOMPARE(attached->subject, QStringLiteral("Авто")); // in its own code page, from its 24-byte header's entries
        QCOMPARE(attached->plainBody, QStringLiteral("inner body"));
        // Listed as a .msg file of its own, which reads the same.
        const Read standalone = read(r.message->attachments.at(6)->data);
        QVERIFY(standalone.message && !standalone.damage.corruptProperties);
        QCOMPARE(standalone.message->subject, QStringLiteral("Авто"));
        QCOMPARE(standalone.message->plainBody, QStringLiteral("inner body"));
    }

    // Named properties map to the ids the calendar and contact rendering
    // reads: an appointment saved by Outlook gets its times and place.
    void appointmentRendering()
    {
        using namespace tnefwriter;
        MsgWriter msg;
        msg.add(MsgProp::unicode(0x001A, QStringLiteral("IPM.Appointment"))).add(MsgProp::unicode(kSubject, QStringLiteral("Review")))
            .add(MsgProp::time(0, utc(2024, 9, 19, 7)).named(psetidAppointment(), 0x820D))
            .add(MsgProp::time(0, utc(2024, 9, 19, 8)).named(psetidAppointment(), 0x820E))
            .add(MsgProp::unicode(0, QStringLiteral("Room 4")).named(psetidAppointment(), 0x8208))
            .add(MsgProp::unicode(0, QStringLiteral("Ignored")).named(psPublicStrings(), QStringLiteral("Location")));
        TessilParser parser;
        const QSharedPointer<TessilMessage> m = parser.parseData(msg.bytes());
        QCOMPARE(parser.detectedFormat, ContainerFormat::Msg);
        QCOMPARE(m->attachmentCount(), 1);
        QCOMPARE(m->attachmentAt(0)->fileName, QStringLiteral("Review.ics"));
        const QString ics = QString::fromUtf8(m->attachmentAt(0)->data);
        for (const char* line : {"DTSTART:20240919T070000Z", "DTEND:20240919T080000Z", "LOCATION:Room 4"})
            QVERIFY2(ics.contains(QLatin1String(line)), qPrintable(ics));
    }

    // A damaged file gives what could be read and says what was wrong.
    void damaged_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<bool>("withoutPropertyStream");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<int>("attachments");
        QTest::addColumn<QString>("found");  // the message's warnings
        using L = testsupport::CfbLayout;
        const Damage none = [](QByteArray&, const L&) {};
        QTest::newRow("intact") << none << false << "Subject" << 1 << "";
        QTest::newRow("stream shorter than its entry") << Damage([](QByteArray& f, const L& l) {
            testsupport::putU32(f, l.directoryEntryOffset(l.entryIndex.value("/__substg1.0_1000001F")) + 120, 2000);
        }) << false << "Subject" << 1 << "truncated";
        QTest::newRow("entry says more than its stream") << Damage([](QByteArray& f, const L& l) {
            const qsizetype at = f.indexOf(QByteArray::fromHex("1f003700")); // the subject's entry in the property stream
            testsupport::putU32(f, at + 8, 100);
            Q_UNUSED(l);
        }) << false << "Subject" << 1 << "truncated";
        QTest::newRow("no property stream") << none << true << "Subject" << 1 << "corrupt-properties";
        QTest::newRow("property stream cut in an entry") << Damage([](QByteArray& f, const L& l) {
            testsupport::putU32(f, l.directoryEntryOffset(l.entryIndex.value("/__properties_version1.0")) + 120, 32 + 16 * 2 + 5);
        }) << false << "Subject" << 1 << "corrupt-properties";
        // A storage holding itself, and one holding a storage another lists:
        // the tree is cut there, and nothing is read twice.
        QTest::newRow("attachment holds itself") << Damage([](QByteArray& f, const L& l) {
            const int attachment = l.entryIndex.value(MsgWriter::attachmentPath(0));
            testsupport::putU32(f, l.directoryEntryOffset(attachment) + 76, quint32(attachment));
        }) << false << "Subject" << 0 << "corrupt-properties";
        QTest::newRow("name map holds the attachment") << Damage([](QByteArray& f, const L& l) {
            testsupport::putU32(f, l.directoryEntryOffset(l.entryIndex.value("/__nameid_version1.0")) + 76,
                                quint32(l.entryIndex.value(MsgWriter::attachmentPath(0))));
        }) << false << "Subject" << 1 << "";
    }
    void damaged()
    {
        QFETCH(Damage, damage);
        QFETCH(bool, withoutPropertyStream);
        MsgWriter writer;
        writer.add(MsgProp::int32(0x0E07, 1)).add(MsgProp::unicode(kSubject, QStringLiteral("Subject"))).add(MsgProp::unicode(kBody, QString(600, u'b')));
        writer.attachment({{MsgProp::unicode(0x3707, QStringLiteral("a.txt")), MsgProp::binary(0x3701, "attached")}});
        if (withoutPropertyStream)
            writer.withoutPropertyStream();
        testsupport::CfbLayout layout;
        QByteArray bytes = writer.bytes(&layout);
        damage(bytes, layout);
        const Read r = read(bytes);
        QVERIFY2(r.message, qPrintable(r.error));
        QTEST(r.message->subject, "subject");
        QTEST(int(r.message->attachments.size()), "attachments");
        QStringList found;
        for (const MessageWarning warning : std::as_const(r.message->warnings))
            found << messageWarningId(warning);
        QTEST(found.join(','), "found");
    }

    // The bytes choose the reader, never the name; a compound file that holds
    // no message is refused with a reason.
    void readerChosenByContent()
    {
        TessilParser parser;
        QVERIFY(parser.parseData(MsgWriter().add(MsgProp::unicode(kSubject, QStringLiteral("M"))).bytes()));
        QCOMPARE(parser.detectedFormat, ContainerFormat::Msg);
        QVERIFY(parser.parseData(tnefwriter::TnefWriter().body("t").bytes()));
        QCOMPARE(parser.detectedFormat, ContainerFormat::Tnef);
        QVERIFY(!parser.parseData("PK\x03\x04"));
        QCOMPARE(parser.detectedFormat, ContainerFormat::None);

        testsupport::CfbWriter document;
        document.addStream(QStringLiteral("/WordDocument"), QByteArray(100, 'w'));
        QVERIFY(!parser.parseData(document.build()));
        QCOMPARE(parser.detectedFormat, ContainerFormat::Msg);
        QCOMPARE(parser.errorString, QStringLiteral("not an Outlook message"));
        QVERIFY(!parser.parseData(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0')));
        QCOMPARE(parser.errorString, QStringLiteral("not a readable compound file"));

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("winmail.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(MsgWriter().add(MsgProp::unicode(kSubject, QStringLiteral("Named .dat"))).bytes()) > 0);
        file.close();
        QCOMPARE(parser.parseFile(file.fileName())->subject, QStringLiteral("Named .dat"));
    }

    // The real Outlook files, as their README describes them.
    void realFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("header");      // class, subject, sender name, sender address, sent time
        QTest::addColumn<QStringList>("recipients");
        QTest::addColumn<QStringList>("bodies");      // html characters or "-", plain characters, RTF sha256 or "-"
        QTest::addColumn<QStringList>("attachments"); // name, size, sha256 prefix
        QTest::newRow("quick") << "quick.msg" << QStringList{"IPM.Note", "Test the content transformer", "Kevin Roast", "", "2007-06-14T09:42:53Z"}
                               << QStringList{"to:Kevin Roast <kevin.roast@alfresco.org>"}
                               << QStringList{"-", "45", "c6723e939c6ea17bfd90236495f9d515631a66c37d2554eaa39de9144480d919"} << QStringList{};
        QTest::newRow("simple") << "simple_test_msg.msg" << QStringList{"IPM.Note", "test message", "Travis Ferguson", "travis@overwrittenstack.com", "2007-07-06T05:27:17Z"}
                                << QStringList{"to:travis@overwrittenstack.com"} << QStringList{"-", "23", "-"} << QStringList{};
        QTest::newRow("sent regular") << "example_sent_regular.msg"
                                      << QStringList{"IPM.Note", "This is a test message please ignore", "Mike Farman", "mike.farman@alfresco.com", "2010-01-11T16:25:07Z"}
                                      << QStringList{"to:'Ashutosh Dandavate' <ashutosh.dandavate@alfresco.com>", "to:'Paul Holmes-Higgin' <paul.hh@alfresco.com>",
                                                     "to:'Mike Farman' <mikef@alfresco.com>", "cc:'nickb@alfresco.com' <nickb@alfresco.com>",
                                                     "cc:'nick.burch@alfresco.com' <nick.burch@alfresco.com>", "cc:'Roy Wetherall' <roy.wetherall@alfresco.com>",
                                                     "bcc:'David Caruana' <dave.caruana@alfresco.com>", "bcc:'Vonka Jan' <jan.vonka@alfresco.com>"}
                                      << QStringList{"-", "330", "b2f0e7d5306860abb1bf1fa9ec9a33a776849cce0164ece8970a312e5f6aff23"}
                                      << QStringList{"alfresco.gif|16174|eab305c525c61e49|inline"};
        QTest::newRow("appointment") << "msgClassAppointment.msg" << QStringList{"IPM.Appointment", "Quick brown fox", "Allison, Timothy B.", "", "2017-02-28T18:42:23Z"}
                                     << QStringList{"to:Allison, Timothy B. <tallison@mitre.org>"}
                                     << QStringList{"-", "38", "1bd2aeabef44325171c1b547687c3936f4587db1e6cd3dd4daaba651b6229b0d"}
                                     << QStringList{"Quick brown fox.ics"};
        QTest::newRow("contact") << "msgClassContact.msg" << QStringList{"IPM.Contact", "Quick Brown Fox Jr", "Allison, Timothy B.", "", "2017-02-28T18:41:37Z"}
                                 << QStringList{} << QStringList{"-", "67", "68c939a9bc881dc40b614325c8646e0fb6c3d7689fd78f909794e4d3ceeb77cc"}
                                 << QStringList{"Quick Brown Fox Jr.vcf"};
        QTest::newRow("task") << "msgClassTask.msg" << QStringList{"IPM.Task", "Must jump over the lazy dog", "Allison, Timothy B.", "", "2017-02-28T18:44:00Z"}
                              << QStringList{} << QStringList{"-", "38", "657f2a64f3632e477ba4366118c04d04bb903be89c76d833d1f3e7211813ece7"}
                              << QStringList{"Must jump over the lazy dog.ics"};
        QTest::newRow("cyrillic") << "cyrillic_message.msg"
                                  << QStringList{"IPM.Note", "Автоматический ответ подсистемы обмена данными ФГУП \"Почта России\".", "no-reply@niips.ru", "no-reply@niips.ru",
                                                 "2010-05-18T07:38:39Z"}
                                  << QStringList{"to:Свиридов Дмитрий Владимирович <sviridov@niips.ru>", "cc:Свиридов Дмитрий Владимирович <sviridov@niips.ru>"}
                                  << QStringList{"-", "331", "8e015c5bb3c8676b4f7a49538bf6c7c810d611103dd5037e6f1ac548a7f6bb8b"} << QStringList{};
        QTest::newRow("1251 by locale") << "ASCII_CP1251_LCID1049.msg" << QStringList{"IPM.Note", "Subject автоматически Subject", "", "", ""}
                                        << QStringList{} << QStringList{"HTML автоматически", "23", "-"} << QStringList{};
        QTest::newRow("chinese") << "chinese-traditional.msg"
                                 << QStringList{"IPM.Note", "Alfresco MSG format testing ( MSG 格式測試 )", "Tests Chang@FT (張毓倫)", "", "2011-03-29T08:52:48Z"}
                                 << QStringList{"to:Tests Chang@FT (張毓倫) <tests.chang@fengttt.com>"}
                                 << QStringList{"6193", "948", "73dede4d97d1eede3ca50e6cf077d9abc79d48f92a789781ed70966ba8f99574"} << QStringList{};
        QTest::newRow("binary HTML, 1251") << "HTMLBodyBinary_CP1251.msg" << QStringList{"IPM.Note", "Subject öäü Subject", "", "", ""} << QStringList{}
                                           << QStringList{"HTML автоматически", "0", "-"} << QStringList{};
        QTest::newRow("binary HTML, UTF-8") << "HTMLBodyBinary_UTF-8.msg" << QStringList{"IPM.Note", "Subject öäü Subject", "", "", ""} << QStringList{}
                                            << QStringList{"HTML öäü", "0", "-"} << QStringList{};
        QTest::newRow("inline images") << "attachment_msg_inlineImg.msg"
                                       << QStringList{"IPM.Note", "How to use and check database files from device", "Angela Deng", "", "2015-06-12T19:44:48Z"}
                                       << QStringList{"to:Tracy Yin <tyin@blackberry.com>"}
                                       << QStringList{"11700", "1465", "54a7b3297b83afdf9e1bd909ab22991bf4cb30897b61a372f45b9ed9e5d39e2d"}
                                       << QStringList{"image001.png|25862|0b4557d411477e2d|inline", "image002.png|2924|c07fe1ecdab3cbb5|inline",
                                                      "image003.png|18852|97f3733d198e7d21|inline", "image006.jpg|29374|eca2d9e16a168196|inline"};
        QTest::newRow("attached message and PDF") << "attachment_msg_pdf.msg"
                                                  << QStringList{"IPM.Note", "test email", "Nick Booth", "", "2010-06-17T23:54:19Z"}
                                                  << QStringList{"to:Nick Booth <nick.booth@pof.com.au>"}
                                                  << QStringList{"-", "43", "2ee17e1e492392318ed6cc9aedae5ec32b4a5f756ce311128b80cc1917cd0bf4"}
                                                  << QStringList{"Test Attachment.msg|27136|fdb47983519daa65",
                                                                 "smbprn.00009008.KdcPjl.pdf|13539|1bd629440fff7a30"};
    }
    void realFiles()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, name);
        QFETCH(QStringList, bodies);
        TessilParser parser;
        const QSharedPointer<TessilMessage> m = parser.parseFile(testsupport::realSamplePath(QStringLiteral("msg/") + name));
        QVERIFY2(m, qPrintable(parser.errorString));
        QCOMPARE(parser.detectedFormat, ContainerFormat::Msg);
        QTEST((QStringList{m->messageClass, m->subject, m->senderName, m->senderEmail,
                           m->sentTime.isValid() ? m->sentTime.toString(Qt::ISODate) : QString()}), "header");
        QTEST(recipientsOf(*m), "recipients");
        const QString html = QString::fromUtf8(m->htmlBody);
        bool isNumber = false;
        const int htmlCharacters = bodies.at(0).toInt(&isNumber);
        if (bodies.at(0) == "-")
            QVERIFY(m->htmlBody.isEmpty());
        else if (isNumber) // the body's characters, its charset declaration replaced by a UTF-8 one
            QVERIFY2(qAbs(html.size() - htmlCharacters) <= 64, qPrintable(QString::number(html.size())));
        else
            QVERIFY2(html.contains(bodies.at(0)), qPrintable(html));
        QCOMPARE(m->plainBody.size(), bodies.at(1).toInt());
        QCOMPARE(bodies.at(2) == "-" ? QString() : sha256(m->rtfBody), bodies.at(2) == "-" ? QString() : bodies.at(2));
        const PreparedMessage prepared = prepareMessage(m);
        QStringList attachments;
        for (int i = 0; i < m->attachmentCount(); ++i) {
            const TessilAttachment& a = *m->attachmentAt(i);
            if (a.fileName.endsWith(".ics") || a.fileName.endsWith(".vcf"))
                attachments << a.fileName;
            else
                attachments << a.fileName + '|' + QString::number(a.content().size()) + '|' + sha256(a.content()).left(16)
                        + (prepared.listedAttachments.contains(i) ? "" : "|inline");
        }
        QTEST(attachments, "attachments");
    }

    // The damaged real file (directory entries reached twice, a FAT index out
    // of range, property streams missing or overwritten) opens with what it
    // still holds, promptly.
    void realDamagedFile()
    {
        REQUIRE_REAL_SAMPLES();
        const QByteArray bytes = testsupport::readRealSample(QStringLiteral("msg/clusterfuzz-testcase-minimized-POIHSMFFuzzer-4735011465854976.msg"));
        QVERIFY(!bytes.isEmpty());
        QElapsedTimer timer;
        timer.start();
        const Read r = read(bytes);
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(r.message);
        QCOMPARE(r.message->subject, QStringLiteral("test pièce jointe 1"));
        QVERIFY(r.damage.corruptProperties);
    }
};

QUORVIA_GUI_TEST_MAIN(TestMsg)
#include "tst_msg.moc"
