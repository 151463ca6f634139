// Messages attached to messages, in both containers: recognised, named by
// their subject, read to the depth and size bounds, and saved as files
// that read back as the same message.

#include "message/tessil_parser.h"
#include "support/attached_message_fixtures.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "tnef/tnef.h"

using namespace testsupport;

namespace {

// The message at `levels` attachments down, or null.
QSharedPointer<TessilMessage> descend(QSharedPointer<TessilMessage> message, int levels)
{
    for (int k = 0; k < levels && message; ++k) {
        const QSharedPointer<TessilAttachment> first = message->attachmentAt(0);
        message = first && first->isMessage ? first->message : nullptr;
    }
    return message;
}

QString namedValue(const TessilMessage& message)
{
    for (const MessageProperty& property : message.properties) {
        if (property.name && property.name->stringName == QLatin1String("Tag"))
            return QString::fromUtf8(property.value).remove(QChar(0));
    }
    return {};
}

} // namespace

class TestAttachedMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { tnef_set_diagnostics(nullptr); }

    void twoLevels_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("TNEF") << nestedTnefMessage(2) << ".dat";
        QTest::newRow("msg") << nestedMsgMessage(2) << ".msg";
    }
    // Each level is listed by its subject, reads as it was written, and
    // its saved file reads back as the same message, the level below it
    // included.
    void twoLevels()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, suffix);
        const bool msg = suffix == QLatin1String(".msg");
        TessilParser parser;
        QSharedPointer<TessilMessage> message = parser.parseData(file);
        QVERIFY2(message, qPrintable(parser.errorString));
        for (int level = 0; level <= 2; ++level) {
            QVERIFY(message);
            QCOMPARE(message->subject, QStringLiteral("Level %1").arg(level));
            QCOMPARE(message->plainBody, QStringLiteral("Body of level %1").arg(level));
            QCOMPARE(message->senderName, QStringLiteral("Sender %1").arg(level));
            QCOMPARE(message->sentTime, attachedMessageSent().addSecs(3600 * level));
            if (msg)
                QCOMPARE(namedValue(*message), QStringLiteral("Named %1").arg(level));
            QCOMPARE(message->attachmentCount(), 2);
            if (level == 2) {
                QVERIFY(!message->attachmentAt(0)->isMessage);
                QCOMPARE(message->attachmentAt(0)->content(), attachedLeafText());
                break;
            }
            const QSharedPointer<TessilAttachment> attached = message->attachmentAt(0);
            QVERIFY(attached->isMessage);
            QCOMPARE(attached->messageLimit, AttachedMessageLimit::None);
            QCOMPARE(attached->fileName, QStringLiteral("Level %1").arg(level + 1) + suffix);
            QVERIFY(!message->attachmentAt(1)->isMessage);
            QCOMPARE(message->attachmentAt(1)->fileName, QStringLiteral("pad-%1.bin").arg(level));

            // What "Save as" writes reads back equal, as a file of its own.
            TessilParser again;
            const QSharedPointer<TessilMessage> saved = again.parseData(attached->content());
            QVERIFY2(saved, qPrintable(again.errorString));
            QCOMPARE(again.detectedFormat, msg ? ContainerFormat::Msg : ContainerFormat::Tnef);
            QVERIFY(saved->warnings.isEmpty());
            QCOMPARE(saved->subject, attached->message->subject);
            QCOMPARE(saved->plainBody, attached->message->plainBody);
            if (msg)
                QCOMPARE(namedValue(*saved), QStringLiteral("Named %1").arg(level + 1));
            const QSharedPointer<TessilMessage> leaf = descend(saved, 1 - level);
            QVERIFY(leaf);
            QCOMPARE(leaf->subject, QStringLiteral("Level 2"));
            QCOMPARE(leaf->attachmentAt(0)->content(), attachedLeafText());
            message = attached->message;
        }
    }

    // A self-similar file: every level holds the next. Depth 8 opens, the
    // level past it says why not; and a size bound counts every level's
    // file, so levels that repeat the same bytes stop where their sum
    // passes four times the file.
    void bounds_data()
    {
        QTest::addColumn<bool>("msg");
        QTest::newRow("TNEF") << false;
        QTest::newRow("msg") << true;
    }
    void bounds()
    {
        QFETCH(bool, msg);
        const QByteArray deep = msg ? nestedMsgMessage(10) : nestedTnefMessage(10);
        TessilParser parser;
        const QSharedPointer<TessilMessage> top = parser.parseData(deep);
        QVERIFY(top);
        const QSharedPointer<TessilMessage> eighth = descend(top, kMaxAttachedMessageDepth);
        QVERIFY(eighth);
        QCOMPARE(eighth->subject, QStringLiteral("Level 8"));
        const QSharedPointer<TessilAttachment> ninth = eighth->attachmentAt(0);
        QVERIFY(ninth->isMessage);
        QVERIFY(!ninth->message);
        QCOMPARE(ninth->messageLimit, AttachedMessageLimit::TooDeep);
        QVERIFY(ninth->fileName.endsWith(msg ? QLatin1String(".msg") : QLatin1String(".dat")));
        // Saved, the ninth opens as a file of its own: the bound is the
        // file's, not the message's.
        TessilParser again;
        QVERIFY(again.parseData(ninth->content()));

        // Padding at the bottom dominates, so each level's file is nearly
        // the whole: each costs about the file's size, and level 5 no
        // longer fits.
        const QByteArray heavy = msg ? nestedMsgMessage(8, 20000) : nestedTnefMessage(8, 20000);
        TessilParser bounded;
        bounded.attachedMessageAllowance = 0;
        const QSharedPointer<TessilMessage> root = bounded.parseData(heavy);
        QVERIFY(root);
        int opened = 0;
        QSharedPointer<TessilMessage> at = root;
        while (at && at->attachmentAt(0)->isMessage && at->attachmentAt(0)->message) {
            at = at->attachmentAt(0)->message;
            ++opened;
        }
        QVERIFY2(opened >= 3 && opened < 8, qPrintable(QString::number(opened)));
        QCOMPARE(at->attachmentAt(0)->messageLimit, AttachedMessageLimit::TooLarge);
        // Without the bound's allowance lowered, the same file opens whole.
        TessilParser unbounded;
        QCOMPARE(descend(unbounded.parseData(heavy), 8)->subject, QStringLiteral("Level 8"));
    }

    // The real file's attached message: listed by its subject and read.
    void realAttachedMessage()
    {
        REQUIRE_REAL_SAMPLES();
        TessilParser parser;
        const QSharedPointer<TessilMessage> message = parser.parseData(readRealSample(QStringLiteral("msg/attachment_msg_pdf.msg")));
        QVERIFY(message);
        QCOMPARE(message->attachmentCount(), 2);
        const QSharedPointer<TessilAttachment> attached = message->attachmentAt(0);
        QVERIFY(attached->isMessage);
        QCOMPARE(attached->fileName, QStringLiteral("Test Attachment.msg"));
        QVERIFY(attached->message);
        QCOMPARE(attached->message->subject, QStringLiteral("Test Attachment"));
        QCOMPARE(attached->message->senderName, QStringLiteral("Nick Booth"));
        QCOMPARE(attached->message->plainBody.size(), 18);
        QVERIFY(!attached->message->rtfBody.isEmpty());
        QCOMPARE(message->attachmentAt(1)->contentSize(), 13539);
        TessilParser again;
        const QSharedPointer<TessilMessage> saved = again.parseData(attached->content());
        QVERIFY(saved);
        QCOMPARE(saved->plainBody, attached->message->plainBody);
        QCOMPARE(saved->rtfBody, attached->message->rtfBody);
    }
};

QUORVIA_GUI_TEST_MAIN(TestAttachedMessages)
#include "tst_attached_messages.moc"
