// The message view: header texts, the information line, when the body view
// and the attachment grid show, and how the body view is fitted to its text.

#include "attachmentmodel.h"
#include "mywebviewwidget.h"
#include "tessilviewwidget.h"
#include "viewer_fixtures.h"

#include "support/test_main.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTranslator>

using namespace viewertest;

namespace {

template <typename T>
T* child(const QWidget& view, const char* name)
{
    T* found = view.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QString labelText(const QWidget& view, const char* name)
{
    return child<QLabel>(view, name)->text();
}

QColor textColour(QLabel* label)
{
    label->ensurePolished();
    return label->palette().color(QPalette::WindowText);
}

QByteArray paragraphs(int count)
{
    QByteArray html("<html><body>");
    for (int i = 0; i < count; ++i)
        html += "<p>Paragraph " + QByteArray::number(i) + " of the message body.</p>";
    return html + "</body></html>";
}

QByteArray bytesOf(int size, char fill = 'x')
{
    return QByteArray(size, fill);
}

// Translates a few of the view's texts, as a loaded language file would.
class GermanTexts : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "TessilViewWidget") != 0)
            return QString();
        if (qstrcmp(source, "From:") == 0)
            return QStringLiteral("Von:");
        if (qstrcmp(source, " attachments") == 0)
            return QStringLiteral(" Anh\u00E4nge");
        if (qstrcmp(source, "<No Sender>") == 0)
            return QStringLiteral("<Kein Absender>");
        return QString();
    }
};

} // namespace

class TestMessageView : public QObject
{
    Q_OBJECT

private slots:
    void headerPlaceholdersAndSubjectStyle();
    void informationLine_data();
    void informationLine();
    void inlineImagesCountedButNotListed();
    void bodyViewHiddenWithoutBody();
    void shortBodyFittedAndRefittedOnResize();
    void longBodyLeftUnlimited();
    void longHeaderTextsDoNotWidenThePage();
    void languageChangeKeepsTheMessage();
};

void TestMessageView::headerPlaceholdersAndSubjectStyle()
{
    TessilViewWidget empty(nullptr);
    empty.setMessage(MessageFixture{}.load());
    QCOMPARE(labelText(empty, "senderLabel"), QStringLiteral("<No Sender>"));
    QCOMPARE(labelText(empty, "subjectLabel"), QStringLiteral("<No Subject>"));
    QCOMPARE(textColour(child<QLabel>(empty, "subjectLabel")), QColor(180, 180, 180));

    MessageFixture fixture;
    fixture.subject = QStringLiteral("<b>Budget</b> & plans");
    fixture.senderEmail = QStringLiteral("ana.ruiz@example.com");
    TessilViewWidget filled(nullptr);
    filled.setMessage(fixture.load());
    QCOMPARE(labelText(filled, "senderLabel"), QStringLiteral("ana.ruiz@example.com"));
    QLabel* subject = child<QLabel>(filled, "subjectLabel");
    QCOMPARE(subject->text(), fixture.subject);
    // Text from the message is never read as markup.
    QCOMPARE(subject->textFormat(), Qt::PlainText);
    QCOMPARE(textColour(subject), QColor(Qt::black));
    // With room to spare, every header text is shown whole.
    filled.resize(715, 565);
    filled.show();
    QVERIFY(QTest::qWaitForWindowExposed(&filled));
    for (const char* name : {"senderLabel", "subjectLabel", "mailInfoLabel"}) {
        QLabel* label = child<QLabel>(filled, name);
        QVERIFY2(label->width() >= label->sizeHint().width(), name);
    }

    // Without a message nothing but the list changes.
    TessilViewWidget none(nullptr);
    none.setMessage({});
    QCOMPARE(labelText(none, "mailInfoLabel"), QStringLiteral("0 KB, 0 attachment"));
    QVERIFY(child<QListView>(none, "listView")->isHidden());
}

void TestMessageView::informationLine_data()
{
    QTest::addColumn<QDateTime>("sent");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QString>("expected");

    const QDateTime may(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::LocalTime);
    QTest::newRow("dated, two attachments") << may << QList<int>{10000, 2595}
                                            << QStringLiteral("2024-05-01 10:20:30, 12.3 KB, 2 attachments");
    QTest::newRow("undated, none") << QDateTime() << QList<int>{} << QStringLiteral("0 B, 0 attachment");
    QTest::newRow("one attachment") << QDateTime() << QList<int>{1023} << QStringLiteral("1023 B, 1 attachment");
    QTest::newRow("three attachments") << may << QList<int>{1048574, 1, 1}
                                       << QStringLiteral("2024-05-01 10:20:30, 1.0 MB, 3 attachments");
}

void TestMessageView::informationLine()
{
    QFETCH(QDateTime, sent);
    QFETCH(QList<int>, sizes);
    QFETCH(QString, expected);

    MessageFixture fixture;
    fixture.sent = sent.toUTC();
    for (int i = 0; i < sizes.size(); ++i)
        fixture.attachments.append({QStringLiteral("file%1.txt").arg(i), bytesOf(sizes.at(i))});
    TessilViewWidget view(nullptr);
    view.setMessage(fixture.load());
    QCOMPARE(labelText(view, "mailInfoLabel"), expected);
}

void TestMessageView::inlineImagesCountedButNotListed()
{
    MessageFixture fixture;
    fixture.subject = QStringLiteral("Pictures");
    fixture.htmlBody = "<html><body><p>Look:</p><img src=\"cid:one@x\"><img src=\"cid:two@x\"></body></html>";
    fixture.attachments = {{QStringLiteral("one.png"), bytesOf(1000), "one@x", "image/png"},
                           {QStringLiteral("two.png"), bytesOf(536), "two@x", "image/png"}};
    TessilViewWidget view(nullptr);
    view.resize(715, 565);
    view.setMessage(fixture.load());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QCOMPARE(view.attachmentModel()->rowCount(), 0);
    QVERIFY(child<QListView>(view, "listView")->isHidden());
    QCOMPARE(labelText(view, "mailInfoLabel"), QStringLiteral("1.5 KB, 2 attachments"));
    // The body view takes the page when there is no list to follow it.
    QTRY_COMPARE(child<MyWebViewWidget>(view, "webView")->maximumHeight(), QWIDGETSIZE_MAX);
}

void TestMessageView::bodyViewHiddenWithoutBody()
{
    MessageFixture fixture;
    fixture.subject = QStringLiteral("Only files");
    fixture.plainBody = QStringLiteral(" \r\n \t\n");
    fixture.attachments = {{QStringLiteral("report.pdf"), bytesOf(10)}};
    TessilViewWidget view(nullptr);
    view.resize(715, 565);
    view.setMessage(fixture.load());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QVERIFY(child<MyWebViewWidget>(view, "webView")->isHidden());
    QListView* list = child<QListView>(view, "listView");
    QVERIFY(list->isVisible());
    // The list sits right under the header.
    const QWidget* header = child<QWidget>(view, "middleFrame");
    QVERIFY2(list->y() - (header->y() + header->height()) <= 12,
             qPrintable(QStringLiteral("list at %1, header ends at %2").arg(list->y()).arg(header->geometry().bottom())));
}

void TestMessageView::shortBodyFittedAndRefittedOnResize()
{
    MessageFixture fixture;
    fixture.subject = QStringLiteral("Short");
    fixture.htmlBody = paragraphs(3);
    fixture.attachments = {{QStringLiteral("report.pdf"), bytesOf(10)}};
    TessilViewWidget view(nullptr);
    view.resize(715, 565);
    view.setMessage(fixture.load());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    MyWebViewWidget* body = child<MyWebViewWidget>(view, "webView");
    QListView* list = child<QListView>(view, "listView");
    const auto expectedLimit = [body] {
        return std::max(body->documentHeightForWidth(body->width()) + 2, 48);
    };
    QTRY_VERIFY(body->maximumHeight() < QWIDGETSIZE_MAX);
    QCOMPARE(body->maximumHeight(), expectedLimit());
    QTRY_COMPARE(body->height(), body->maximumHeight());
    QVERIFY(body->height() < 200);
    // Fitted means the whole text shows: no scroll bar in the body.
    auto* browser = body->findChild<QTextBrowser*>();
    QVERIFY(!browser->verticalScrollBar()->isVisible());
    QVERIFY(!browser->horizontalScrollBar()->isVisible());
    // The list follows the text directly instead of the page's bottom.
    QVERIFY(list->y() <= body->y() + body->height() + 12);

    // Narrower: the text wraps into more lines and the limit follows.
    const int wideLimit = body->maximumHeight();
    view.resize(160, 565);
    QTRY_VERIFY(body->maximumHeight() > wideLimit);
    QVERIFY(body->maximumHeight() < QWIDGETSIZE_MAX);
    QCOMPARE(body->maximumHeight(), expectedLimit());

    // Too short a window for header, text and list: no limit, the page scrolls.
    view.resize(715, 220);
    QTRY_COMPARE(body->maximumHeight(), QWIDGETSIZE_MAX);
    view.resize(715, 565);
    QTRY_COMPARE(body->maximumHeight(), expectedLimit());
}

void TestMessageView::longBodyLeftUnlimited()
{
    MessageFixture fixture;
    fixture.htmlBody = paragraphs(300);
    fixture.attachments = {{QStringLiteral("report.pdf"), bytesOf(10)}};
    TessilViewWidget view(nullptr);
    view.resize(715, 565);
    view.setMessage(fixture.load());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(50);
    QCOMPARE(child<MyWebViewWidget>(view, "webView")->maximumHeight(), QWIDGETSIZE_MAX);
    QVERIFY(child<MyWebViewWidget>(view, "webView")->isVisible());
}

void TestMessageView::longHeaderTextsDoNotWidenThePage()
{
    MessageFixture fixture;
    fixture.subject = QString(400, QLatin1Char('S'));
    fixture.senderEmail = QString(300, QLatin1Char('s')) + QStringLiteral("@example.com");
    fixture.htmlBody = paragraphs(2);
    TessilViewWidget view(nullptr);
    view.resize(715, 565);
    view.setMessage(fixture.load());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QScrollArea* area = child<QScrollArea>(view, "scrollArea");
    QTRY_VERIFY(area->widget()->width() <= area->viewport()->width());
    QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(labelText(view, "subjectLabel"), fixture.subject);
}

void TestMessageView::languageChangeKeepsTheMessage()
{
    MessageFixture fixture;
    fixture.subject = QStringLiteral("Quarterly report");
    fixture.attachments = {{QStringLiteral("a.txt"), "a"}, {QStringLiteral("b.txt"), "b"}};
    TessilViewWidget view(nullptr);
    view.setMessage(fixture.load());

    GermanTexts german;
    QVERIFY(QCoreApplication::installTranslator(&german));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(labelText(view, "fromLabel"), QStringLiteral("Von:"));
    QCOMPARE(labelText(view, "senderLabel"), QStringLiteral("<Kein Absender>"));
    QCOMPARE(labelText(view, "subjectLabel"), QStringLiteral("Quarterly report"));
    QCOMPARE(textColour(child<QLabel>(view, "subjectLabel")), QColor(Qt::black));
    QCOMPARE(labelText(view, "mailInfoLabel"), QStringLiteral("2 B, 2 Anh\u00E4nge"));

    QCoreApplication::removeTranslator(&german);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(labelText(view, "fromLabel"), QStringLiteral("From:"));
    QCOMPARE(labelText(view, "mailInfoLabel"), QStringLiteral("2 B, 2 attachments"));
}

QUORVIA_WIDGET_TEST_MAIN(TestMessageView)
#include "tst_message_view.moc"
