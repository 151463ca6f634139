#include "message/calendar_rendering.h"
#include "message/contact_card.h"
#include "message/filetime.h"
#include "message/message_properties.h"
#include "support/test_main.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr quint16 kString = 0x001F;
constexpr quint16 kString8 = 0x001E;
constexpr quint16 kTime = 0x0040;
constexpr quint16 kInteger32 = 0x0003;

MessageProperty text(quint16 id, const QString& value)
{
    return MessageProperty{id, kString, value.toUtf8() + QByteArray(1, '\0')};
}

MessageProperty time(quint16 id, quint64 filetime)
{
    QByteArray value(8, '\0');
    qToLittleEndian(filetime, value.data());
    return MessageProperty{id, kTime, value};
}

quint64 filetimeOf(const QDateTime& when)
{
    return quint64(when.toMSecsSinceEpoch()) * 10000 + kFiletimeUnixEpoch;
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

TessilMessage meeting(const QString& subject = QStringLiteral("Review"))
{
    TessilMessage message;
    message.messageClass = QStringLiteral("IPM.Schedule.Meeting.Request");
    message.subject = subject;
    return message;
}

// The content lines of a rendering; fails the test when a line break other
// than CR LF appears anywhere.
QStringList linesOf(const QByteArray& rendered)
{
    const QString text = QString::fromUtf8(rendered);
    if (!text.endsWith(QLatin1String("\r\n")))
        return {QStringLiteral("<missing final CR LF>")};
    QStringList lines = text.left(text.size() - 2).split(QLatin1String("\r\n"));
    for (const QString& line : lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            return {QStringLiteral("<bare line break in: ") + line + QLatin1Char('>')};
    }
    return lines;
}

// Lines without UID and DTSTAMP, whose values change on every rendering.
QStringList stableLines(const QByteArray& rendered)
{
    QStringList lines = linesOf(rendered);
    lines.removeIf([](const QString& line) {
        return line.startsWith(QLatin1String("DTSTAMP:")) || line.startsWith(QLatin1String("UID:"));
    });
    return lines;
}

QStringList eventBody(const QStringList& lines)
{
    QStringList body = lines;
    body.removeIf([](const QString& line) {
        return line.startsWith(QLatin1String("BEGIN:")) || line.startsWith(QLatin1String("END:"))
               || line.startsWith(QLatin1String("VERSION:")) || line.startsWith(QLatin1String("PRODID:"))
               || line.startsWith(QLatin1String("METHOD:")) || line.startsWith(QLatin1String("SUMMARY:"));
    });
    return body;
}

} // namespace

class TestCalendarRendering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void qualifyingClasses_data()
    {
        QTest::addColumn<QString>("messageClass");
        QTest::addColumn<bool>("qualifies");
        QTest::newRow("meeting request") << "IPM.Schedule.Meeting.Request" << true;
        QTest::newRow("meeting cancellation") << "IPM.Schedule.Meeting.Canceled" << true;
        QTest::newRow("meeting class alone") << "IPM.Schedule.Meeting" << true;
        QTest::newRow("appointment") << "IPM.Appointment" << true;
        QTest::newRow("contact") << "IPM.Contact" << true;
        QTest::newRow("task") << "IPM.Task" << true;
        QTest::newRow("appointment in lower case") << "ipm.appointment" << false;
        QTest::newRow("appointment with a further part") << "IPM.Appointment.Special" << false;
        QTest::newRow("task request") << "IPM.TaskRequest" << false;
        QTest::newRow("note") << "IPM.Note" << false;
        QTest::newRow("empty") << "" << false;
    }
    void qualifyingClasses()
    {
        QFETCH(QString, messageClass);
        QFETCH(bool, qualifies);
        QCOMPARE(needsCalendarAttachment(messageClass), qualifies);
    }

    void attachmentNameAndType_data()
    {
        QTest::addColumn<QString>("messageClass");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mimeType");
        QTest::newRow("meeting") << "IPM.Schedule.Meeting.Request" << "Review" << "Review.ics" << "text/calendar";
        QTest::newRow("task without subject") << "IPM.Task" << "" << "attachment.ics" << "text/calendar";
        QTest::newRow("contact") << "IPM.Contact" << "Ana Ruiz" << "Ana Ruiz.vcf" << "text/vcard";
        QTest::newRow("contact without subject") << "IPM.Contact" << "" << "attachment.vcf" << "text/vcard";
        QTest::newRow("subject used unchanged") << "IPM.Appointment" << "Q3: plan/review?" << "Q3: plan/review?.ics"
                                                << "text/calendar";
    }
    void attachmentNameAndType()
    {
        QFETCH(QString, messageClass);
        QFETCH(QString, subject);
        QFETCH(QString, name);
        QFETCH(QString, mimeType);
        TessilMessage message;
        message.messageClass = messageClass;
        message.subject = subject;
        QCOMPARE(calendarAttachmentName(message), name);
        QCOMPARE(calendarAttachmentMimeType(message), mimeType);
    }

    void minimalEventHasTenLines()
    {
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const QStringList lines = linesOf(renderCalendar(meeting()));
        const QDateTime after = QDateTime::currentDateTimeUtc().addSecs(1);
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.mid(0, 5), QStringList({"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Quorvia//EN",
                                               "METHOD:REQUEST", "BEGIN:VEVENT"}));
        QVERIFY2(QRegularExpression(QStringLiteral("^UID:[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"))
                     .match(lines.at(5))
                     .hasMatch(),
                 qPrintable(lines.at(5)));
        QCOMPARE(lines.at(6), QStringLiteral("SUMMARY:Review"));
        QVERIFY(lines.at(7).startsWith(QLatin1String("DTSTAMP:")));
        QDateTime stamp = QDateTime::fromString(lines.at(7).mid(8), QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
        QVERIFY(stamp.isValid());
        stamp.setTimeSpec(Qt::UTC);
        QVERIFY(stamp >= before.addSecs(-1) && stamp <= after);
        QCOMPARE(lines.mid(8), QStringList({"END:VEVENT", "END:VCALENDAR"}));

        // Each rendering without a message id has a fresh UID; an empty
        // subject still writes the SUMMARY line.
        QVERIFY(linesOf(renderCalendar(meeting())).at(5) != lines.at(5));
        QCOMPARE(linesOf(renderCalendar(meeting(QString()))).at(6), QStringLiteral("SUMMARY:"));
    }

    void fullEvent()
    {
        TessilMessage message = meeting(QStringLiteral("Budget"));
        message.senderName = QStringLiteral("Ana Ruiz");
        message.senderEmail = QStringLiteral("ana@example.com");
        message.properties << text(mapi_id::kInternetMessageId, QStringLiteral("<id-1@example.com>"))
                           << text(mapi_id::kLocation, QStringLiteral("Room 1, Building; B"))
                           << time(mapi_id::kAppointmentStart, filetimeOf(utc(2024, 1, 2, 3, 4, 5)))
                           << time(mapi_id::kAppointmentEnd, filetimeOf(utc(2024, 1, 2, 4, 0, 0)))
                           << text(mapi_id::kTimeZoneDescription, QStringLiteral("(UTC+01:00) Amsterdam, Berlin"))
                           << text(mapi_id::kAttendees, QStringLiteral("Bo Li; Chen Wu"));
        const QStringList lines = linesOf(renderCalendar(message));
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines.mid(5, 9), QStringList({
                                      "UID:<id-1@example.com>",
                                      "SUMMARY:Budget",
                                      "LOCATION:Room 1, Building; B",
                                      "DTSTART:20240102T030405Z",
                                      "DTEND:20240102T040000Z",
                                      "X-MICROSOFT-TIMEZONE:(UTC+01:00) Amsterdam, Berlin",
                                      "ORGANIZER;CN=Ana Ruiz:MAILTO:ana@example.com",
                                      "ATTENDEE;CN=Bo Li:INVALID:nomail",
                                      "ATTENDEE;CN=Chen Wu:INVALID:nomail",
                                  }));
        QVERIFY(lines.at(14).startsWith(QLatin1String("DTSTAMP:")));
    }

    void startAndEndTimes_data()
    {
        QTest::addColumn<QList<MessageProperty>>("properties");
        QTest::addColumn<QStringList>("expected");
        const quint64 epoch = kFiletimeUnixEpoch;
        const quint64 may = filetimeOf(utc(2023, 5, 6, 7, 8, 9));
        const quint64 june = filetimeOf(utc(2023, 6, 1, 12, 0, 0));
        QTest::newRow("exactly 1970") << QList<MessageProperty>{time(0x8210, epoch)}
                                      << QStringList{"DTSTART:19700101T000000Z"};
        QTest::newRow("before 1970 falls back to the start date")
            << QList<MessageProperty>{time(0x8210, epoch - 1), time(0x0060, may)} << QStringList{"DTSTART:20230506T070809Z"};
        QTest::newRow("before 1970 and no fallback") << QList<MessageProperty>{time(0x8210, 1)} << QStringList{};
        QTest::newRow("zero in both") << QList<MessageProperty>{time(0x8210, 0), time(0x0060, 0)} << QStringList{};
        QTest::newRow("appointment start wins")
            << QList<MessageProperty>{time(0x0060, may), time(0x8210, june)} << QStringList{"DTSTART:20230601T120000Z"};
        QTest::newRow("short value falls back")
            << QList<MessageProperty>{MessageProperty{0x8210, kTime, QByteArray(4, '\x01')}, time(0x0060, may)}
            << QStringList{"DTSTART:20230506T070809Z"};
        QTest::newRow("first entry with the id decides")
            << QList<MessageProperty>{MessageProperty{0x8210, kTime, QByteArray()}, time(0x8210, june)} << QStringList{};
        QTest::newRow("beyond year 9999") << QList<MessageProperty>{time(0x8210, 0xFFFFFFFFFFFFFFFFULL)} << QStringList{};
        QTest::newRow("end and its fallback")
            << QList<MessageProperty>{time(0x8211, 5), time(0x0061, june)} << QStringList{"DTEND:20230601T120000Z"};
        QTest::newRow("start and end")
            << QList<MessageProperty>{time(0x8211, june), time(0x8210, may)}
            << QStringList{"DTSTART:20230506T070809Z", "DTEND:20230601T120000Z"};
    }
    void startAndEndTimes()
    {
        QFETCH(QList<MessageProperty>, properties);
        QFETCH(QStringList, expected);
        TessilMessage message = meeting();
        message.properties = properties;
        QStringList times = linesOf(renderCalendar(message));
        times.removeIf([](const QString& line) {
            return !line.startsWith(QLatin1String("DTSTART:")) && !line.startsWith(QLatin1String("DTEND:"));
        });
        QCOMPARE(times, expected);
    }

    void attendeesAndOrganizer_data()
    {
        QTest::addColumn<QString>("senderName");
        QTest::addColumn<QString>("senderEmail");
        QTest::addColumn<QString>("attendees");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("blank parts and trailing separator")
            << "" << "" << "  Ana Ruiz ; ;Bo Li;" << QStringList{"ATTENDEE;CN=Ana Ruiz:INVALID:nomail",
                                                                    "ATTENDEE;CN=Bo Li:INVALID:nomail"};
        QTest::newRow("only separators") << "" << "" << " ; ;" << QStringList{};
        QTest::newRow("organizer with name") << "Ana" << "ana@example.com" << ""
                                             << QStringList{"ORGANIZER;CN=Ana:MAILTO:ana@example.com"};
        QTest::newRow("organizer without name") << "" << "ana@example.com" << ""
                                                << QStringList{"ORGANIZER;CN=:MAILTO:ana@example.com"};
        QTest::newRow("name without address") << "Ana" << "" << "" << QStringList{};
        QTest::newRow("names with a comma or colon are quoted")
            << "Ruiz, Ana" << "ana@example.com" << "Team: Ops;Li, Bo"
            << QStringList{"ORGANIZER;CN=\"Ruiz, Ana\":MAILTO:ana@example.com",
                           "ATTENDEE;CN=\"Team: Ops\":INVALID:nomail", "ATTENDEE;CN=\"Li, Bo\":INVALID:nomail"};
        QTest::newRow("double quotes become single quotes")
            << "Ana \"AR\" Ruiz" << "ana@example.com" << "Bo \"B\", Li"
            << QStringList{"ORGANIZER;CN=Ana 'AR' Ruiz:MAILTO:ana@example.com",
                           "ATTENDEE;CN=\"Bo 'B', Li\":INVALID:nomail"};
    }
    void attendeesAndOrganizer()
    {
        QFETCH(QString, senderName);
        QFETCH(QString, senderEmail);
        QFETCH(QString, attendees);
        QFETCH(QStringList, expected);
        TessilMessage message = meeting();
        message.senderName = senderName;
        message.senderEmail = senderEmail;
        if (!attendees.isEmpty())
            message.properties << text(mapi_id::kAttendees, attendees);
        QStringList people = linesOf(renderCalendar(message));
        people.removeIf([](const QString& line) {
            return !line.startsWith(QLatin1String("ORGANIZER")) && !line.startsWith(QLatin1String("ATTENDEE"));
        });
        QCOMPARE(people, expected);
    }

    // A line break inside a value would end the content line and corrupt
    // the event; it is written as backslash and n instead.
    void lineBreaksInValues()
    {
        TessilMessage message = meeting(QStringLiteral("One\r\nTwo\rThree\nFour"));
        message.senderName = QStringLiteral("Ana\nRuiz");
        message.senderEmail = QStringLiteral("ana@example.com");
        message.properties << text(mapi_id::kLocation, QStringLiteral("Room 1\r\nFloor 2"))
                           << text(mapi_id::kTimeZoneDescription, QStringLiteral("Zone\nText"))
                           << text(mapi_id::kAttendees, QStringLiteral("Bo\r\nLi;Chen"));
        const QStringList lines = eventBody(linesOf(renderCalendar(message)));
        QStringList expected{"LOCATION:Room 1\\nFloor 2", "X-MICROSOFT-TIMEZONE:Zone\\nText",
                             "ORGANIZER;CN=Ana\\nRuiz:MAILTO:ana@example.com", "ATTENDEE;CN=Bo\\nLi:INVALID:nomail",
                             "ATTENDEE;CN=Chen:INVALID:nomail"};
        QCOMPARE(stableLines(renderCalendar(message)).at(5), QStringLiteral("SUMMARY:One\\nTwo\\nThree\\nFour"));
        QStringList withoutStamps = lines;
        withoutStamps.removeIf([](const QString& line) {
            return line.startsWith(QLatin1String("DTSTAMP:")) || line.startsWith(QLatin1String("UID:"));
        });
        QCOMPARE(withoutStamps, expected);
    }

    // 8-bit strings are saved in the message's code page; valid UTF-8 and
    // 16-bit strings (already UTF-8) pass unchanged.
    void stringPropertyText()
    {
        TessilMessage message;
        QByteArray codePage(4, '\0');
        qToLittleEndian<quint32>(1252, codePage.data());
        message.properties << MessageProperty{mapi_id::kInternetCodepage, kInteger32, codePage}
                           << MessageProperty{0x8208, kString8, QByteArray("Caf\xE9\0tail", 9)}
                           << MessageProperty{0x8234, kString8, QByteArray("Caf\xC3\xA9")}
                           << MessageProperty{0x8238, kString, QByteArray("A\xE2\x80\x94" "B\0", 6)}
                           << MessageProperty{0x1035, kString, QByteArray()}
                           << MessageProperty{0x3001, 0x0102, QByteArray("\0abc", 4)};
        QCOMPARE(stringProperty(message, 0x8208), QStringLiteral("Café"));
        QCOMPARE(stringProperty(message, 0x8234), QStringLiteral("Café"));
        QCOMPARE(stringProperty(message, 0x8238), QStringLiteral("A—B"));
        QCOMPARE(stringProperty(message, 0x1035), QString());
        QCOMPARE(stringProperty(message, 0x3001), QString());
        QCOMPARE(stringProperty(message, 0x7777), QString());

        message.properties.first().value = QByteArray("\xA8\x03\0\0", 4); // 936
        message.properties[1].value = QByteArray("\xC4\xE3\xBA\xC3");
        QCOMPARE(stringProperty(message, 0x8208), QStringLiteral("你好"));
    }

    void filetimes_data()
    {
        QTest::addColumn<quint64>("filetime");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("zero") << quint64(0) << QDateTime();
        QTest::newRow("one tick before 1970") << kFiletimeUnixEpoch - 1 << QDateTime();
        QTest::newRow("1970") << kFiletimeUnixEpoch << utc(1970, 1, 1, 0, 0, 0);
        QTest::newRow("2024") << filetimeOf(utc(2024, 2, 29, 23, 59, 58)) << utc(2024, 2, 29, 23, 59, 58);
        QTest::newRow("sub-millisecond ticks dropped") << kFiletimeUnixEpoch + 19999 << utc(1970, 1, 1, 0, 0, 0).addMSecs(1);
        QTest::newRow("last moment of 9999") << filetimeOf(utc(9999, 12, 31, 23, 59, 59)) << utc(9999, 12, 31, 23, 59, 59);
        QTest::newRow("year 10000") << filetimeOf(utc(10000, 1, 1, 0, 0, 0)) << QDateTime();
        QTest::newRow("largest value") << quint64(0xFFFFFFFFFFFFFFFFULL) << QDateTime();
    }
    void filetimes()
    {
        QFETCH(quint64, filetime);
        QFETCH(QDateTime, expected);
        const QDateTime got = filetimeToDateTime(filetime);
        QCOMPARE(got.isValid(), expected.isValid());
        if (expected.isValid()) {
            QCOMPARE(got, expected);
            QCOMPARE(got.timeSpec(), Qt::UTC);
        }
    }

    void contactCard()
    {
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Contact");
        message.subject = QStringLiteral("Ana Ruiz (subject)");
        message.properties << text(mapi_id::kDisplayName, QStringLiteral("Ana Ruiz"))
                           << text(mapi_id::kGivenName, QStringLiteral("Ana"))
                           << text(mapi_id::kSurname, QStringLiteral("Ruiz"))
                           << text(mapi_id::kCompanyName, QStringLiteral("Smith, Jones; Co\\"))
                           << text(mapi_id::kTitle, QStringLiteral("Head of\r\nSales"))
                           << text(mapi_id::kBusinessPhone, QStringLiteral("+1 555 0100"))
                           << text(mapi_id::kMobilePhone, QStringLiteral("+1 555 0101"))
                           << text(mapi_id::kHomePhone, QStringLiteral("+1 555 0102"))
                           << text(mapi_id::kEmail1Address, QStringLiteral("ana@example.com"));
        const QByteArray card = renderCalendarAttachment(message);
        QCOMPARE(card, renderContactCard(message));
        QCOMPARE(linesOf(card), QStringList({
                                    "BEGIN:VCARD",
                                    "VERSION:4.0",
                                    "FN:Ana Ruiz",
                                    "N:Ruiz;Ana;;;",
                                    "ORG:Smith\\, Jones\\; Co\\\\",
                                    "TITLE:Head of\\nSales",
                                    "TEL;TYPE=work,voice:+1 555 0100",
                                    "TEL;TYPE=cell,voice:+1 555 0101",
                                    "TEL;TYPE=home,voice:+1 555 0102",
                                    "EMAIL:ana@example.com",
                                    "END:VCARD",
                                }));
    }

    void contactCardFallsBackToTheSubject()
    {
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Contact");
        message.subject = QStringLiteral("Bo, Li");
        QCOMPARE(linesOf(renderContactCard(message)), QStringList({"BEGIN:VCARD", "VERSION:4.0", "FN:Bo\\, Li", "END:VCARD"}));

        message.subject.clear();
        message.properties << text(mapi_id::kSurname, QStringLiteral("Li"));
        QCOMPARE(linesOf(renderContactCard(message)),
                 QStringList({"BEGIN:VCARD", "VERSION:4.0", "FN:Li", "N:Li;;;;", "END:VCARD"}));
    }

    // Long lines are folded at 75 octets, never inside a UTF-8 sequence,
    // and unfold to the original.
    void contactCardFoldsLongLines()
    {
        TessilMessage message;
        message.messageClass = QStringLiteral("IPM.Contact");
        const QString title = QStringLiteral("é").repeated(50) + QStringLiteral("x").repeated(60) + QStringLiteral("中").repeated(30);
        message.properties << text(mapi_id::kTitle, title);
        const QByteArray card = renderContactCard(message);
        const QList<QByteArray> physical = card.split('\n');
        for (const QByteArray& line : physical) {
            QVERIFY(line.size() <= 76); // 75 octets and the CR
            QStringDecoder decoder(QStringDecoder::Utf8);
            (void)decoder.decode(line);
            QVERIFY2(!decoder.hasError(), line.constData());
        }
        QVERIFY(physical.size() > 5);
        QString unfolded = QString::fromUtf8(card);
        unfolded.replace(QLatin1String("\r\n "), QString());
        QVERIFY(unfolded.contains(QStringLiteral("\r\nTITLE:") + title + QStringLiteral("\r\n")));
    }
};

QUORVIA_GUI_TEST_MAIN(TestCalendarRendering)
#include "tst_calendar_rendering.moc"
