// The message viewer: the view's header, tiles and body, opening and saving
// attachments with the dialogs and the desktop answered by a stand-in, the
// body prepared off the GUI thread while the window stays responsive, and
// the plug-in as the program's plug-in manager loads it from the build tree.

#include "attachmentdelegate.h"
#include "attachmentdialogs.h"
#include "attachmenticons.h"
#include "attachmentlistview.h"
#include "attachmentmodel.h"
#include "bodydocument.h"
#include "bodyloader.h"
#include "browsertabwidget.h"
#include "desktoplauncher.h"
#include "documentpluginmanager.h"
#include "elidedlabel.h"
#include "mainwindow.h"
#include "meetingline.h"
#include "multilanguage.h"
#include "recentfiles.h"
#include "message/attachment_file_names.h"
#include "message/tessil_parser.h"
#include "mywebviewwidget.h"
#include "tessilviewwidget.h"

#include "support/attached_message_fixtures.h"
#include "support/fake_desktop.h"
#include "support/message_fixtures.h"
#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"
#include "rtf/rtf_to_html.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QToolButton>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <cmath>
#include <ctime>

namespace {

const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");
const QByteArray kPng("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33);
const QByteArray kElf = QByteArray("\x7F" "ELF\x02\x01\x01\0", 8) + QByteArray(8, '\0') + QByteArray("\x02\0\x3E\0", 4)
    + QByteArray(48, '\0');

// Answers as told and records what the view asked.
struct FakeDialogs : AttachmentDialogs
{
    QString directory, saveFile; // empty: cancel
    bool consent = false;
    bool takeOffer = false;
    bool realOffer = false; // the real, non-blocking box
    QStringList directoryStarts, saveProposals, warnings, confirmations, offers;

    QString getSaveFileName(QWidget*, const QString&, const QString& path, const QString&) override { saveProposals << path; return saveFile; }
    QString getExistingDirectory(QWidget*, const QString&, const QString& start) override
    { directoryStarts << start; return directory; }
    void warning(QWidget*, const QString& title, const QString& text) override { warnings << title + ": " + text; }
    bool confirm(QWidget*, const QString& title, const QString& text) override
    { confirmations << title + ": " + text; return consent; }
    void offerSaveInstead(QWidget* parent, const QString& title, const QString& text, std::function<void()> save) override
    {
        offers << title + ": " + text;
        if (realOffer)
            AttachmentDialogs::offerSaveInstead(parent, title, text, std::move(save));
        else if (takeOffer)
            save();
    }
};


struct Host : IDocumentWidgetHost
{
    explicit Host(const QString& path = QDir::tempPath() + "/tessil-viewer-test") : path(path) {}
    QString path;
    QString tempDirPath() const override { return path; }
};

// A view of a message with these attachments (name, MIME type, content id,
// data), its copies for the desktop going to "copies" in a folder of its own.
struct Fixture
{
    explicit Fixture(const QList<TessilAttachment>& attachments, const QByteArray& html = {}, const QString& subject = "Files")
    {
        message->subject = subject;
        message->htmlBody = html;
        for (const TessilAttachment& a : attachments)
            message->attachments << QSharedPointer<TessilAttachment>::create(a);
        view.setDialogs(std::unique_ptr<FakeDialogs>(fake = new FakeDialogs));
        view.setMessage(message);
    }
    QModelIndex index(int row) const { return view.attachmentModel()->index(row, 0); }

    QTemporaryDir root;
    Host host{root.filePath("copies")};
    QSharedPointer<TessilMessage> message = QSharedPointer<TessilMessage>::create();
    TessilViewWidget view{&host};
    FakeDialogs* fake = nullptr;
};

// Shows the view at the size of the program's first window.
bool showView(QWidget& view)
{
    view.resize(715, 565);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

template <typename T = QLabel> T* child(const QWidget* view, const char* name)
{
    return view->findChild<T*>(QLatin1String(name));
}

QStringList tileNames(const QWidget* view)
{
    QStringList names;
    for (const QAbstractItemModel* model = child<QListView>(view, "listView")->model(); names.size() < model->rowCount();)
        names << model->index(names.size(), 0).data().toString();
    return names;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

// RTF of `paragraphs` formatted paragraphs, with a list and a table now and then.
QByteArray longRtf(int paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}";
    for (int i = 0; i < paragraphs; ++i) {
        if (i % 40 == 39)
            rtf += "{\\listtext\\'b7\\tab}\\pard\\li720 item " + QByteArray::number(i) + "\\par\\pard ";
        else if (i % 50 == 49)
            rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl cell\\cell " + QByteArray::number(i) + "\\cell\\row\\pard ";
        rtf += "\\f" + QByteArray::number(i % 2) + " Paragraph " + QByteArray::number(i) + " {\\b bold} and {\\cf1 red} words\\par ";
    }
    return rtf + "}";
}

// A message whose RTF body takes a while to prepare.
QSharedPointer<TessilMessage> longMessage(int paragraphs)
{
    using namespace tnefwriter;
    MapiBlockWriter props;
    props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Long"))).add(MapiProp::binary(PidTagRtfCompressed, compressedRtf(longRtf(paragraphs))));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props).attachment(AttachmentSpec{{}, "report.pdf", kPdf, {}, {}, {}});
    return TessilParser().parseData(tnef.bytes());
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Every file and link below `root`, relative to it, sorted.
QStringList treeOf(const QString& root)
{
    QStringList entries;
    for (QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

// How well text stands out in a picture of it: the contrast between the
// most common colour (the background) and the pixel that differs most, as
// the web's accessibility rules define contrast (4.5 is what normal text needs).
double textContrast(const QImage& image)
{
    const auto luminance = [](QRgb rgb) {
        double sum = 0;
        for (const auto& [value, weight] : {std::pair{qRed(rgb), 0.2126}, {qGreen(rgb), 0.7152}, {qBlue(rgb), 0.0722}}) {
            const double v = value / 255.0;
            sum += weight * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    const QRgb background = std::max_element(counts.cbegin(), counts.cend()).key();
    const double back = luminance(background);
    double darkest = back, lightest = back;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        darkest = std::min(darkest, luminance(it.key())), lightest = std::max(lightest, luminance(it.key()));
    return std::max((back + 0.05) / (darkest + 0.05), (lightest + 0.05) / (back + 0.05));
}

QPalette darkPalette()
{
    QPalette palette(QColor(53, 53, 53), QColor(45, 45, 48));
    for (const auto& [role, colour] : {std::pair{QPalette::WindowText, QColor(230, 230, 230)}, {QPalette::Text, QColor(230, 230, 230)},
                                       {QPalette::ButtonText, QColor(230, 230, 230)}, {QPalette::Base, QColor(30, 30, 30)},
                                       {QPalette::AlternateBase, QColor(45, 45, 48)}, {QPalette::PlaceholderText, QColor(160, 160, 160)},
                                       {QPalette::Highlight, QColor(42, 130, 218)}, {QPalette::HighlightedText, QColor(0, 0, 0)}})
        palette.setColor(role, colour);
    return palette;
}

// The widgets of the view's page that show, top to bottom.
QList<QWidget*> pageRows(const QWidget* view)
{
    QList<QWidget*> rows;
    for (const char* name : {"topFrame", "middleFrame", "webView", "listView"})
        if (QWidget* widget = view->findChild<QWidget*>(QLatin1String(name)); widget && widget->isVisible())
            rows << widget;
    return rows;
}

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

    DocumentPluginManager manager;
    testsupport::FakeDesktop desktop;
    QTemporaryDir iconTheme;

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC"); // the information line shows local time
        tzset();
        manager.scanPlugins(); // as the program does, from its folder in the build tree
        // An icon theme that knows one type, so that a tile's icon tells which type it stands for.
        QDir(iconTheme.path()).mkpath(QStringLiteral("quorviatest/48x48/mimetypes"));
        QVERIFY(!writeFile(iconTheme.filePath("quorviatest/index.theme"),
                           "[Icon Theme]\nName=quorviatest\nDirectories=48x48/mimetypes\n\n[48x48/mimetypes]\nSize=48\nType=Fixed\n").isEmpty());
        QImage pdfIcon(48, 48, QImage::Format_ARGB32);
        pdfIcon.fill(Qt::red);
        QVERIFY(pdfIcon.save(iconTheme.filePath("quorviatest/48x48/mimetypes/application-pdf.png")));
        QIcon::setThemeSearchPaths({iconTheme.path()});
        QIcon::setThemeName(QStringLiteral("quorviatest"));
    }
    void init()
    {
        QSettings().clear();
        desktop.setMissing(false);
        desktop.setAnswer(0);
        desktop.takeOpened();
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish); // as the program starts: with a translation
    }
    void cleanup() { MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish); }

    void header_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("people"); // sender's name, sender's address, To, Cc
        QTest::addColumn<QDateTime>("sent");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<bool>("inlineOnly");
        QTest::addColumn<QStringList>("shown"); // From, To, Cc, Date ("-" for a hidden row)
        QTest::addColumn<QString>("info");
        const QDateTime may(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC);
        const int english = MultiLanguage::kEnglish;
        QTest::newRow("placeholders") << english << QStringList{"", "", "", ""} << QDateTime() << QList<int>{} << false
                                      << QStringList{"<No Sender>", "-", "-", "-"} << "0 B, 0 attachments";
        QTest::newRow("everything") << english << QStringList{"Ana Ruiz", "ana@example.com", "Bo Li; Chen Wu", "Dee <dee@x.org>"} << may
                                    << QList<int>{10000, 2595} << false
                                    << QStringList{"Ana Ruiz <ana@example.com>", "Bo Li; Chen Wu", "Dee <dee@x.org>",
                                                   "Wednesday, May 1, 2024 10:20:30 AM UTC"}
                                    << "2024-05-01 10:20:30, 12.3 KB, 2 attachments";
        QTest::newRow("Exchange address, one attachment")
            << english << QStringList{"Ana Ruiz", "/O=EXAMPLE/OU=FIRST/CN=RECIPIENTS/CN=ANA", "", "Bo\r\nLi"} << QDateTime() << QList<int>{1023}
            << false << QStringList{"Ana Ruiz", "-", "Bo Li", "-"} << "1023 B, 1 attachment";
        QTest::newRow("address only, inline images") << english << QStringList{"", "ana@example.com", "Bo", ""} << QDateTime()
                                                     << QList<int>{1000, 536} << true << QStringList{"ana@example.com", "Bo", "-", "-"}
                                                     << "1.5 KB, 2 attachments";
        QTest::newRow("German") << 5 << QStringList{"Ana Ruiz", "ana@example.com", "Bo Li", ""} << may << QList<int>{30000, 9424} << false
                                << QStringList{"Ana Ruiz <ana@example.com>", "Bo Li", "-", "Mittwoch, 1. Mai 2024 10:20:30 UTC"}
                                << "2024-05-01 10:20:30, 38,5 KB, 2 Anhänge";
    }
    void header()
    {
        QFETCH(int, language);
        QFETCH(QStringList, people);
        QFETCH(QDateTime, sent);
        QFETCH(QList<int>, sizes);
        QFETCH(bool, inlineOnly);
        QFETCH(QStringList, shown);
        MultiLanguage::instance()->switchLanguage(language);
        QList<TessilAttachment> attachments;
        for (int size : sizes)
            attachments << TessilAttachment{"f.png", "", inlineOnly ? "id@x" : "", QByteArray(size, 'x')};
        const QString subject = people.at(0).isEmpty() && people.at(1).isEmpty() ? QString() : QStringLiteral("<b>Budget</b> & plans");
        Fixture f(attachments, {}, subject);
        f.message->senderName = people.at(0);
        f.message->senderEmail = people.at(1);
        f.message->displayTo = people.at(2);
        f.message->displayCc = people.at(3);
        f.message->sentTime = sent;
        f.view.setMessage(f.message);
        QVERIFY(showView(f.view));

        QStringList actual;
        for (const auto& [title, value] : {std::pair{"fromLabel", "senderLabel"}, {"toTitleLabel", "toLabel"}, {"ccTitleLabel", "ccLabel"},
                                           {"dateTitleLabel", "dateLabel"}}) {
            QCOMPARE(child(&f.view, title)->isVisible(), child(&f.view, value)->isVisible());
            const auto* elided = qobject_cast<const ElidedLabel*>(child(&f.view, value));
            actual << (!child(&f.view, value)->isVisible() ? QStringLiteral("-")
                                                             : elided ? elided->fullText() : child(&f.view, value)->text());
            QCOMPARE(child(&f.view, value)->textFormat(), Qt::PlainText); // never read as markup
        }
        QCOMPARE(actual, shown);
        QLabel* label = child(&f.view, "subjectLabel");
        QVERIFY(subject.isEmpty() ? label->text().startsWith(u'<') : label->text() == subject);
        QCOMPARE(label->palette().color(QPalette::WindowText), subject.isEmpty() ? QColor(180, 180, 180) : QColor(Qt::black));
        QTEST(child(&f.view, "mailInfoLabel")->text(), "info");
        QCOMPARE(child<QListView>(&f.view, "listView")->isHidden(), sizes.isEmpty() || inlineOnly);
        QVERIFY(child(&f.view, "meetingLabel")->isHidden()); // not a meeting
    }

    // With a recipient list (any container's), To and Cc come from it, each
    // recipient with the address the display texts leave out; Bcc shows
    // nowhere. A long list is cut at the window's edge, whole in its tool
    // tip, and never widens the window.
    void recipientLines()
    {
        Fixture f({}, {});
        f.message->displayTo = QStringLiteral("Ana; Bo");
        f.message->displayCc = QStringLiteral("Cy");
        f.message->recipients = {{QStringLiteral("Ana"), QStringLiteral("ana@x.org"), RecipientType::To},
                                 {QStringLiteral("Bo"), QString(), RecipientType::To},
                                 {QStringLiteral("Cy"), QStringLiteral("cy@x.org"), RecipientType::Cc},
                                 {QStringLiteral("Di"), QStringLiteral("di@x.org"), RecipientType::Bcc}};
        f.view.setMessage(f.message);
        QVERIFY(showView(f.view));
        QCOMPARE(child<ElidedLabel>(&f.view, "toLabel")->fullText(), QStringLiteral("Ana <ana@x.org>; Bo"));
        QCOMPARE(child<ElidedLabel>(&f.view, "ccLabel")->fullText(), QStringLiteral("Cy <cy@x.org>"));

        QStringList names;
        for (int i = 0; i < 200; ++i)
            names << QStringLiteral("Recipient Number %1").arg(i);
        f.message->recipients.clear();
        f.message->displayTo = names.join(QStringLiteral("; "));
        f.view.setMessage(f.message);
        auto* to = child<ElidedLabel>(&f.view, "toLabel");
        QVERIFY(to->isElided() && to->text().endsWith(QChar(0x2026)) && to->text().startsWith(QStringLiteral("Recipient Number 0; ")));
        QCOMPARE(to->toolTip(), f.message->displayTo);
        QVERIFY(to->width() < 715 && f.view.minimumSizeHint().width() < 715);
    }

    // The line under a meeting's header, from a request made with the test
    // writer: local time, the zone it was planned in, the place, the
    // organiser; in the interface language and its date format. Then the
    // other shapes the details come in.
    void meetingLine()
    {
        MultiLanguage::instance()->switchLanguage(5);
        TessilViewWidget view(nullptr);
        view.setMessage(TessilParser().parseData(testsupport::meetingRequestMessage()));
        view.show();
        QCOMPARE(child(&view, "meetingLabel")->text(),
                 QStringLiteral("Wann: Montag, 6. Mai 2024, 07:30 bis 08:15  ·  Zeitzone: (UTC+01:00) Amsterdam, Berlin  ·  "
                                "Wo: Sala 4, Zürich  ·  Organisator: Ana Ruiz <ana@example.com>"));
        QVERIFY(child(&view, "meetingLabel")->isVisible());

        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
        const QDateTime start = testsupport::meetingStart();
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const auto line = [&](const QDateTime& from, const QDateTime& to, const QString& name = {}, const QString& address = {}) {
            return ::meetingLine(MeetingDetails{from, to, {}, {}, name, address}, english);
        };
        QCOMPARE(line(start, start.addDays(1)), QStringLiteral("When: Monday, May 6, 2024 7:30 AM to Tuesday, May 7, 2024 7:30 AM"));
        QCOMPARE(line(start, start.addSecs(-60)), QStringLiteral("When: Monday, May 6, 2024 7:30 AM")); // an end before the start
        QCOMPARE(line({}, start), QStringLiteral("When: until Monday, May 6, 2024 7:30 AM"));
        QCOMPARE(line({}, {}, QStringLiteral("Ana"), QStringLiteral("/O=EX/CN=ANA")), QStringLiteral("Organiser: Ana"));
        QCOMPARE(line({}, {}), QString());
    }
    void tiles()
    {
        Fixture f({{"a.pdf", "", "", kPdf}, {"logo.png", "", "logo@x", kPng}, {"", "", "", "12345"}});
        const AttachmentModel* model = f.view.attachmentModel();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->attachmentAt(1), f.message->attachmentAt(2));
        QVERIFY(!model->attachmentAt(2) && !model->attachmentAt(-1));
        QCOMPARE(f.index(1).data().toString(), QStringLiteral("attachment"));

        // One icon per type, however the type is written, shared by every view.
        const int cached = cachedIconCount();
        const QIcon icon = iconForMimeType(QStringLiteral("text/x-qvtest-unknown"));
        QCOMPARE(iconForMimeType(QStringLiteral("application/x-qvtest-other")).cacheKey(), icon.cacheKey()); // both unknown
        QCOMPARE(iconForMimeType(QStringLiteral("Application/PDF; name=x.pdf")).cacheKey(), iconForMimeType("application/pdf").cacheKey());
        QVERIFY(cachedIconCount() <= cached + 2);
    }

    // A name is broken between words or at a separator, never inside a
    // word while a break fits; the second line keeps the suffix when it is
    // cut. Names of zero-width characters must not make the split measure
    // for ever.
    void tileNameLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fits"); // the width is this text's, plus a pixel
        QTest::addColumn<QStringList>("lines"); // empty: only the rules are checked
        QTest::newRow("before the suffix") << "zappa_av1.jpg" << "zappa_av1" << QStringList{"zappa_av1", ".jpg"};
        QTest::newRow("after a separator") << "zappa_av1.jpg" << "zappa_av" << QStringList{"zappa_", "av1.jpg"};
        QTest::newRow("between words") << "Harbour Room floor plan.svg" << "Harbour Room" << QStringList{};
        QTest::newRow("after a hyphen") << "launch-budget.csv" << "budget.csv" << QStringList{"launch-", "budget.csv"};
        QTest::newRow("cut, suffix kept") << "Q3 launch plan – design review.ics" << "Q3 launch pl" << QStringList{};
        QTest::newRow("one long word") << "quarterlyreportofthewholeyear2024.docx" << "quarterly" << QStringList{};
        QTest::newRow("emoji") << QString("😀").repeated(30) << "😀😀😀" << QStringList{};
        QTest::newRow("zero-width") << QString(100000, QChar(0xAD)) + QString(40, u'W') << "WWWW" << QStringList{};
    }
    void tileNameLines()
    {
        QFETCH(QString, name);
        QFETCH(QString, fits);
        QFETCH(QStringList, lines);
        const QFontMetrics metrics(AttachmentDelegate::nameFont());
        const int width = std::max(metrics.horizontalAdvance(fits), metrics.boundingRect(fits).width()) + 1;
        QElapsedTimer timer;
        timer.start();
        const QStringList split = AttachmentDelegate::splitName(name, metrics, width);
        QVERIFY(timer.elapsed() < 5000);
        if (!lines.isEmpty())
            QCOMPARE(split, lines);
        QCOMPARE(split.size(), 2);
        for (const QString& line : split)
            QVERIFY2(metrics.boundingRect(line).width() <= width && metrics.horizontalAdvance(line) <= width, qPrintable(line));
        // The first line ends where the name may break, unless no break fits.
        const QString& first = split.at(0);
        QVERIFY(!first.isEmpty() && name.startsWith(first) && !first.back().isHighSurrogate());
        const QString rest = name.mid(first.size());
        const bool atBreak = rest.startsWith(u' ') || rest.startsWith(u'.') || QStringLiteral("_-").contains(first.back());
        const bool hasBreak = name.contains(u' ') || name.contains(u'_') || name.contains(u'-');
        QVERIFY2(atBreak || !hasBreak, qPrintable(first));
        // The rest, whole or cut in its middle, keeping the suffix.
        const QString& second = split.at(1);
        const QString suffix = name.contains(u'.') ? name.mid(name.lastIndexOf(u'.')) : QString();
        if (second.contains(QChar(0x2026))) {
            QVERIFY2(second.endsWith(QString(QChar(0x2026)) + suffix) || second.endsWith(suffix), qPrintable(second));
            QVERIFY(rest.trimmed().startsWith(second.section(QChar(0x2026), 0, 0)));
        } else {
            QCOMPARE(second, rest.trimmed());
        }
    }

    // The header stays at the top whatever follows it: each part of the
    // page comes right after the one before, the room that is left at the
    // bottom. The body view is hidden without a body and shrinks to a short
    // one, so that the tiles follow the text; without tiles it takes the page.
    void pageLayout_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<bool>("tiles");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("nothing") << 0 << false << false;
        QTest::newRow("tiles only") << 0 << true << false;
        QTest::newRow("short body and tiles") << 3 << true << true;
        QTest::newRow("short body only") << 3 << false << false;
        QTest::newRow("long body and tiles") << 300 << true << false;
    }
    void pageLayout()
    {
        QFETCH(int, paragraphs);
        QFETCH(bool, tiles);
        QFETCH(bool, fitted);
        // Without tiles: the one attachment is shown inline.
        Fixture f({{"report.pdf", "", tiles ? "" : "id@x", kPdf}}, QByteArray("<p>A paragraph.</p>").repeated(paragraphs));
        f.message->displayTo = QStringLiteral("Bo Li");
        f.view.setMessage(f.message);
        QVERIFY(showView(f.view));
        QTRY_VERIFY(!f.view.isBodyPending());
        QTest::qWait(50);
        auto* body = child<MyWebViewWidget>(&f.view, "webView");
        QCOMPARE(body->isVisible(), paragraphs > 0);
        QTRY_COMPARE(body->maximumHeight(), fitted ? std::max(body->documentHeightForWidth(body->width()) + 2, 48) : QWIDGETSIZE_MAX);
        const QList<QWidget*> rows = pageRows(&f.view);
        QCOMPARE(rows.size(), 2 + int(paragraphs > 0) + int(tiles));
        QCOMPARE(rows.at(0)->y(), 0);
        for (int i = 1; i < rows.size(); ++i)
            QVERIFY2(rows.at(i)->y() - rows.at(i - 1)->geometry().bottom() <= 8, rows.at(i)->objectName().toLatin1());
        QVERIFY(rows.last()->geometry().bottom() < f.view.height());
    }

    // The body takes the room there is: the tiles are exactly as tall as
    // their rows and the page does not scroll; a body too long for the room
    // scrolls in the room that is left, down to the tiles.
    void bodyTakesTheRoom()
    {
        TessilViewWidget view(nullptr);
        view.setMessage(TessilParser().parseFile(QStringLiteral(QUORVIA_SOURCE_DIR "/samples/sample.tnef")));
        QVERIFY(showView(view));
        QTRY_VERIFY_WITH_TIMEOUT(!view.isBodyPending(), 60000);
        auto* list = child<AttachmentListView>(&view, "listView");
        auto* page = child<QScrollArea>(&view, "scrollArea");
        auto* browser = view.findChild<QTextBrowser*>();
        for (const int width : {300, 389, 390, 560, 715, 1000}) {
            view.resize(width, 565);
            QTest::qWait(50);
            int bottom = 0;
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QRect tile = list->visualRect(list->model()->index(row, 0));
                QVERIFY2(list->viewport()->rect().contains(tile), qPrintable(QString::number(width)));
                bottom = std::max(bottom, tile.bottom());
            }
            QVERIFY2(list->viewport()->height() - bottom < AttachmentDelegate::TileHeight / 2, qPrintable(QString::number(width)));
            // (Narrower, the header and the tiles alone take most of the page, which then scrolls.)
            if (width >= 560 && browser->verticalScrollBar()->maximum() > 0) {
                QCOMPARE(page->verticalScrollBar()->maximum(), 0);
                QVERIFY2(page->viewport()->height() - list->geometry().bottom() <= 14, qPrintable(QString::number(width)));
            }
        }
    }

    // No text of the page is hard to read, on a light or a dark desktop
    // palette: the page stays white paper with dark text, header, body and
    // tiles alike.
    void readableOnAnyPalette_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void readableOnAnyPalette()
    {
        QFETCH(bool, dark);
        const QPalette desktop = QApplication::palette();
        if (dark)
            QApplication::setPalette(darkPalette());
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        TessilViewWidget view(nullptr);
        const QSharedPointer<TessilMessage> message = TessilParser().parseData(testsupport::meetingRequestMessage());
        message->attachments.prepend(QSharedPointer<TessilAttachment>::create(TessilAttachment{"report.pdf", "", "", kPdf}));
        message->displayCc = QStringLiteral("Dee");
        view.setMessage(message);
        QVERIFY(showView(view));
        QTRY_VERIFY_WITH_TIMEOUT(!view.isBodyPending(), 60000);
        QTest::qWait(50);
        const QImage picture = view.grab().toImage();
        const auto check = [&](const QWidget* widget, QRect area, const QString& what) {
            area = QRect(widget->mapTo(&view, area.topLeft()), area.size()) & picture.rect();
            const double ratio = textContrast(picture.copy(area));
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: contrast %2").arg(what).arg(ratio)));
        };
        int labels = 0;
        for (const QLabel* label : view.findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                check(label, label->rect(), label->objectName());
                ++labels;
            }
        }
        QCOMPARE(labels, 11); // From, To, Cc, Date with their titles, subject, information, meeting
        auto* list = child<QListView>(&view, "listView");
        for (int row = 0; row < list->model()->rowCount(); ++row)
            check(list->viewport(), list->visualRect(list->model()->index(row, 0)).adjusted(0, 56, 0, 0), QStringLiteral("tile"));
        const auto* browser = view.findChild<QTextBrowser*>();
        QVERIFY(browser->document()->toPlainText().contains(QStringLiteral("Let us walk through")));
        check(browser->viewport(), browser->viewport()->rect(), QStringLiteral("body"));
        // And the note that a body is on its way.
        auto* body = child<MyWebViewWidget>(&view, "webView");
        body->setDocument(std::make_unique<QTextDocument>());
        body->setLoading(true);
        const QImage loading = view.grab().toImage();
        const QRect note(browser->viewport()->mapTo(&view, QPoint(0, 0)), QSize(browser->viewport()->width(), 40));
        const double ratio = textContrast(loading.copy(note));
        QVERIFY2(ratio >= 3.0, qPrintable(QString::number(ratio)));
    }

    // Plain text shows its lines as they are, whatever ends them: CR LF
    // once gave a blank line after every line.
    void plainBodyLines()
    {
        Fixture f({}, {});
        f.message->plainBody = QStringLiteral("one\r\ntwo\r\n\r\nfour\rfive\nsix");
        f.view.setMessage(f.message);
        QTRY_VERIFY(!f.view.isBodyPending());
        QCOMPARE(f.view.findChild<QTextBrowser*>()->document()->toPlainText(), QStringLiteral("one\ntwo\n\nfour\nfive\nsix"));
    }

    // The body arrives from a worker while the event loop keeps running: a
    // 20 ms timer never waits long, the tiles are there at once, the body
    // area says that it is loading when that takes a while, and fitting a
    // large body's height lays nothing out. The open is logged with its
    // longest stall.
    void openStaysResponsive()
    {
        static QStringList log;
        log.clear();
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            if (text.startsWith(QLatin1String("[Tessil] Open of")))
                log << text;
        });
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        connect(&ticker, &QTimer::timeout, this, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        ticker.start(20);
        QElapsedTimer openStarted;
        openStarted.start();
        TessilViewWidget view(nullptr);
        view.resize(715, 565);
        view.setMessage(longMessage(4000), openStarted);
        view.show();
        QCOMPARE(tileNames(&view), QStringList{"report.pdf"});
        QVERIFY(view.isBodyPending());
        auto* browser = view.findChild<QTextBrowser*>();
        QCOMPARE(browser->placeholderText(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(browser->placeholderText().isEmpty(), !view.isBodyPending(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(!view.isBodyPending(), 300000);
        QCOMPARE(browser->placeholderText(), QString());
        QCOMPARE(view.shownBody(), DisplayBody::Rtf);
        QVERIFY(browser->document()->toPlainText().contains(QStringLiteral("Paragraph 3999 bold and red words")));
        ticker.stop();
        QVERIFY2(longest < 1000, qPrintable(QString::number(longest)));

        QElapsedTimer fitting;
        fitting.start();
        view.adjustBodyHeight();
        QVERIFY2(fitting.elapsed() < 200, qPrintable(QString::number(fitting.elapsed())));
        QCOMPARE(child<MyWebViewWidget>(&view, "webView")->maximumHeight(), QWIDGETSIZE_MAX);
        QTRY_VERIFY_WITH_TIMEOUT(!log.isEmpty() && log.last().contains(QLatin1String("longest event-loop stall")), 120000);
        qInstallMessageHandler(previous);
        // The stall comes last, once the layout has settled.
        QStringList said;
        for (const QString& line : std::as_const(log))
            said << line.section(QLatin1String("\": "), 1).section(QLatin1String(" after"), 0, 0).section(QLatin1Char(' '), 0, 2);
        said.sort();
        QCOMPARE(said, (QStringList{"body shown", "header and attachments", "longest event-loop stall", "message ready"}));
        QVERIFY(log.last().contains(QLatin1String("longest event-loop stall")));
    }

    // Closing the view, or quitting, while its body is prepared: the result
    // is dropped where it lives, quitting stops the work within a step and
    // waits for it, no thread stays behind, and the viewer works on afterwards.
    void closingOrQuittingMidOpen()
    {
        const QSharedPointer<TessilMessage> message = longMessage(3000);
        const int threads = threadCount();
        for (const bool quit : {false, true}) {
            auto view = std::make_unique<TessilViewWidget>(nullptr);
            view->setMessage(message);
            view->show();
            QTest::qWait(30);
            QVERIFY(view->isBodyPending() && BodyLoader::runningPreparations() == 1);
            if (quit) {
                // Within one step of the work: about 50 ms in a release build, more here.
                QElapsedTimer waited;
                waited.start();
                QVERIFY(BodyLoader::shutDown());
                QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
                QCOMPARE(BodyLoader::runningPreparations(), 0);
            }
            view.reset();
            QTRY_COMPARE_WITH_TIMEOUT(BodyLoader::runningPreparations(), 0, 300000);
        }
        TessilViewWidget view(nullptr);
        view.setMessage(longMessage(3));
        QTRY_VERIFY(!view.isBodyPending());
        QCOMPARE(view.shownBody(), DisplayBody::Rtf);
        QTRY_VERIFY_WITH_TIMEOUT(threadCount() <= threads, 20000); // idle workers wait a few seconds for more
    }

    // The converter's page imported in pieces gives the document it gives
    // whole; a cancelled build gives none.
    void bodyDocumentInPieces()
    {
        QList<QByteArray> documents{longRtf(300)};
        const QDir corpus(QStringLiteral(QUORVIA_SOURCE_DIR "/fuzz/corpus/rtf_to_html"));
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        for (int i = 0; i < names.size(); i += 9) {
            QFile file(corpus.filePath(names.at(i)));
            if (file.open(QIODevice::ReadOnly))
                documents << file.readAll();
        }
        const QFont font(QStringLiteral("Sans"));
        int cut = 0;
        // Some of the corpus makes the converter give up, and say so.
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        for (const QByteArray& rtf : documents) {
            const QString html = rtf::rtfToHtml(rtf);
            if (converterPageCuts(html, 1).isEmpty())
                continue;
            ++cut;
            const std::unique_ptr<QTextDocument> whole = buildBodyDocument({DisplayBody::Html, html}, font);
            const std::unique_ptr<QTextDocument> pieces = buildBodyDocument({DisplayBody::Rtf, html}, font, nullptr, 1);
            QCOMPARE(pieces->blockCount(), whole->blockCount());
            QVERIFY2(pieces->toHtml() == whole->toHtml(), rtf.left(200).constData());
        }
        qInstallMessageHandler(previous);
        QVERIFY(cut > 20 && converterPageCuts(rtf::rtfToHtml(documents.first()), 1).size() > 200);
        const std::atomic<bool> cancelled{true};
        QVERIFY(!buildBodyDocument({DisplayBody::Rtf, rtf::rtfToHtml(documents.first())}, font, &cancelled));
    }

    // An attachment that stores no useful type gets the one its content
    // shows (the message tests check the rules): its tile's icon and the
    // copy handed to the desktop fit it.
    void attachmentTypeInTheView()
    {
        using namespace tnefwriter;
        Fixture f({});
        f.view.setMessage(TessilParser().parseData(
            TnefWriter().tnefVersion().attachment(AttachmentSpec{{}, "ATT00001.dat", kPdf, "application/octet-stream", {}, {}}).bytes()));
        QCOMPARE(qvariant_cast<QIcon>(f.index(0).data(Qt::DecorationRole)).name(), QStringLiteral("application-pdf"));
        f.view.openAttachment(0);
        const QString copy = f.host.path + "/ATT00001.dat.pdf";
        QCOMPARE(desktop.waitOpened(1), QList<QUrl>{QUrl::fromLocalFile(copy)});
        QCOMPARE(readFile(copy), kPdf);
    }

    // Save All writes every tile beside what is there, never over it.
    void saveAll()
    {
        QTemporaryDir target;
        QVERIFY(!writeFile(target.filePath("report.pdf"), "mine").isEmpty());
        // ".bin" is what the parser names an unnamed attachment of unknown content.
        Fixture f({{"report.pdf", "", "", kPdf}, {"logo.png", "", "logo@x", kPng}, {".bin", "", "", "\x01\x02"}});
        f.fake->directory = target.path();
        f.view.onSaveAllAttachments();
        f.view.onSaveAllAttachments();
        QCOMPARE(treeOf(target.path()),
                 (QStringList{"attachment (2).bin", "attachment.bin", "report (2).pdf", "report (3).pdf", "report.pdf"}));
        QCOMPARE(readFile(target.filePath("report.pdf")), QByteArray("mine"));
        QCOMPARE(readFile(target.filePath("report (3).pdf")), kPdf);
        QCOMPARE(f.fake->directoryStarts, (QStringList{QDir::homePath(), target.path()}));
        QCOMPARE(desktop.waitOpened(2), QList<QUrl>(2, QUrl::fromLocalFile(target.path())));

        // The single save proposes the same safe name in the remembered directory.
        f.fake->saveFile = target.filePath("chosen.bin");
        f.view.onAttachmentDoubleClicked(f.index(1));
        QCOMPARE(f.fake->saveProposals, QStringList{target.filePath("attachment.bin")});
        QCOMPARE(readFile(target.filePath("chosen.bin")), QByteArray("\x01\x02"));

        QCOMPARE(desktop.waitOpened(1), QList<QUrl>{QUrl::fromLocalFile(target.path())});
    }

    // An attached message's tile: named and described by the message, its
    // theme icon; opening hands it to the opener with its path of
    // containing messages, past the depth bound says why not; saving
    // writes the file that opens again.
    void attachedMessageTiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("TNEF") << testsupport::nestedTnefMessage(9) << ".dat";
        QTest::newRow("msg") << testsupport::nestedMsgMessage(9) << ".msg";
    }
    void attachedMessageTiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, suffix);
        TessilParser parser;
        QSharedPointer<TessilMessage> message = parser.parseData(file);
        QVERIFY(message);
        TessilViewWidget view(nullptr);
        auto* fake = new FakeDialogs;
        view.setDialogs(std::unique_ptr<FakeDialogs>(fake));
        view.setDocumentPath("outer" + suffix);
        QStringList opened;
        QSharedPointer<TessilMessage> handed;
        view.setMessageOpener([&](const QSharedPointer<TessilMessage>& attached, const QByteArray& data,
                                  const QString& title, const QString& path) {
            opened << title + " | " + path;
            handed = attached;
            return !data.isEmpty();
        });
        view.setMessage(message);
        const QModelIndex tile = view.attachmentModel()->index(0, 0);
        QCOMPARE(tile.data().toString(), "Level 1" + suffix);
        QVERIFY(!qvariant_cast<QIcon>(tile.data(Qt::DecorationRole)).isNull());
        const QString tip = tile.data(Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains("From: Sender 1 <s1@example.com>") && tip.contains("Sent: "), qPrintable(tip));
        QCOMPARE(view.attachmentModel()->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("pad-0.bin"));

        view.openAttachment(0);
        QCOMPARE(opened, QStringList{"Level 1 | outer" + suffix + " \u203A Level 1"});
        QCOMPARE(handed, message->attachmentAt(0)->message);

        // Saved, the attached message reads back as itself.
        QTemporaryDir target;
        fake->directory = target.path();
        view.onSaveAllAttachments();
        QCOMPARE(QDir(target.path()).entryList(QDir::Files), (QStringList{"Level 1" + suffix, "pad-0.bin"}));
        TessilParser again;
        const QSharedPointer<TessilMessage> saved = again.parseData(readFile(target.filePath("Level 1" + suffix)));
        QVERIFY(saved);
        QCOMPARE(saved->subject, QStringLiteral("Level 1"));

        // At depth 8 the next level stays closed, and its tile says why.
        for (int level = 1; level <= 8; ++level)
            message = message->attachmentAt(0)->message;
        view.setMessage(message);
        const QString why = view.attachmentModel()->index(0, 0).data(Qt::ToolTipRole).toString();
        QVERIFY2(why.contains("more than 8 levels deep"), qPrintable(why));
        view.openAttachment(0);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(fake->warnings.size(), 1);
        QVERIFY(fake->warnings.first().contains("more than 8 levels deep"));
    }

    // The real file's attached message opens in a tab of its own from the
    // keyboard, titled by its subject, with its path as the tab's tool
    // tip and no recent file; a second open switches to that tab.
    void realAttachedMessageInItsTab()
    {
        REQUIRE_REAL_SAMPLES();
        MainWindow window;
        window.show();
        const QString path = testsupport::realSamplePath("msg/attachment_msg_pdf.msg");
        window.openFile(path);
        QCOMPARE(window.tabWidget()->count(), 1);
        const QStringList recent = loadRecentFiles();
        auto* list = child<QListView>(window.tabWidget()->widget(0), "listView");
        const QModelIndex tile = list->model()->index(0, 0);
        QCOMPARE(tile.data().toString(), QStringLiteral("Test Attachment.msg"));
        QVERIFY2(tile.data(Qt::ToolTipRole).toString().contains("From: Nick Booth"), qPrintable(tile.data(Qt::ToolTipRole).toString()));
        for (int pass = 0; pass < 2; ++pass) {
            window.tabWidget()->setCurrentIndex(0);
            list->setCurrentIndex(tile);
            QTest::keyClick(list, Qt::Key_Return);
            QCOMPARE(window.tabWidget()->count(), 2);
            QCOMPARE(window.tabWidget()->currentIndex(), 1);
        }
        QCOMPARE(window.tabWidget()->tabText(1), QStringLiteral("Test Attachment"));
        QCOMPARE(window.tabWidget()->tabToolTip(1), QStringLiteral("attachment_msg_pdf.msg \u203A Test Attachment"));
        const QWidget* inner = window.tabWidget()->widget(1);
        QCOMPARE(child(inner, "subjectLabel")->text(), QStringLiteral("Test Attachment"));
        QCOMPARE(loadRecentFiles(), recent);
    }

    // The save dialogs start in the remembered folder, else in the download
    // folder, else at home: never in the working folder, where a dialog told
    // of a folder that is not there starts.
    void saveFolderStart_data()
    {
        QTest::addColumn<bool>("rememberedExists"); // one is always remembered
        QTest::addColumn<bool>("downloadsExist");
        QTest::addColumn<QString>("start");
        QTest::newRow("remembered") << true << false << "remembered";
        QTest::newRow("remembered one gone") << false << true << "downloads";
        QTest::newRow("neither there") << false << false << "home";
    }
    void saveFolderStart()
    {
        QFETCH(bool, rememberedExists);
        QFETCH(bool, downloadsExist);
        QTemporaryDir root;
        const QString kept = root.filePath("kept");
        const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QVERIFY(downloads.startsWith(QDir::homePath())); // the test's own home
        QVERIFY(downloadsExist ? QDir().mkpath(downloads) : QDir(downloads).removeRecursively());
        QVERIFY(!rememberedExists || QDir().mkpath(kept));
        QSettings().setValue("tessil/lastAttachmentSaveDir", kept);
        Fixture f({{"report.pdf", "", "", kPdf}});
        f.view.onAttachmentDoubleClicked(f.index(0));
        f.view.onSaveAllAttachments();
        QDir(downloads).removeRecursively();
        const QHash<QString, QString> folders{{"remembered", kept}, {"downloads", downloads}, {"home", QDir::homePath()}};
        QFETCH(QString, start);
        QCOMPARE(f.fake->saveProposals, QStringList{QDir(folders.value(start)).filePath("report.pdf")});
        QCOMPARE(f.fake->directoryStarts, QStringList{folders.value(start)});
    }

    void hostileNamesConfined_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parents") << "../../escape.txt";
        QTest::newRow("drive letter") << "C:\\Windows\\escape.txt";
        QTest::newRow("controls") << "esc\x01" "ape\x1B\n.txt";
        QTest::newRow("bidi override") << QString::fromUtf16(u"invoice\u202Etxt.exe");
    }
    void hostileNamesConfined()
    {
        QFETCH(QString, name);
        Fixture f({{name, "", "", "payload"}});
        f.fake->directory = f.root.filePath("chosen");
        QVERIFY(QDir().mkpath(f.fake->directory));
        f.fake->consent = true;
        f.view.onSaveAllAttachments();
        f.view.openAttachment(0);
        QCOMPARE(desktop.waitOpened(2).size(), 2);

        const QStringList tree = treeOf(f.root.path());
        QCOMPARE(tree.size(), 2);
        QVERIFY2(tree.at(0).startsWith("chosen/") && tree.at(1).startsWith("copies/"), qPrintable(tree.join(',')));
        for (const QString& path : tree)
            QCOMPARE(safeAttachmentFileName(path.section(u'/', 1)), path.section(u'/', 1));
    }

    // The copy handed to the desktop is new every time, never executable,
    // and never written through whatever someone left under its name.
    void temporaryCopy()
    {
        Fixture f({{"report", "", "", kPdf}});
        const QString path = f.host.path + "/report.pdf";
        const QString outside = writeFile(f.root.filePath("outside.txt"), "keep me");
        QVERIFY(QDir().mkpath(f.host.path) && QFile::link(outside, path));
        f.view.openAttachment(0);
        QCOMPARE(readFile(outside), QByteArray("keep me"));
        QCOMPARE(readFile(path), kPdf);
        QVERIFY(!(QFile::permissions(path) & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther)));
        QCOMPARE(desktop.waitOpened(1), QList<QUrl>{QUrl::fromLocalFile(path)});
    }

    void executableWarning_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("asks");
        QTest::newRow("double extension") << "invoice.pdf.exe" << QByteArray("MZ") << true;
        QTest::newRow("shell script") << "setup.sh" << QByteArray("echo hi\n") << true;
        QTest::newRow("launcher") << "Invoice.desktop" << QByteArray("[Desktop Entry]\nExec=sh\n") << true;
        QTest::newRow("program as PDF") << "report.pdf" << kElf << true;
        QTest::newRow("PDF") << "report.pdf" << kPdf << false;
    }
    void executableWarning()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, asks);
        Fixture f({{name, "", "", content}});
        f.view.openAttachment(0); // Cancel
        if (asks) {
            const QString text = f.fake->confirmations.value(0);
            QVERIFY2(text.startsWith("Open Attachment: \"") && text.contains("run programs"), qPrintable(text));
            QVERIFY(treeOf(f.root.path()).isEmpty());
            f.fake->consent = true;
            f.view.openAttachment(0);
        }
        QCOMPARE(f.fake->confirmations.size(), asks ? 2 : 0);
        const QList<QUrl> opened = desktop.waitOpened(1);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(readFile(opened.at(0).toLocalFile()), content);
        QTest::qWait(100);
        QVERIFY(desktop.takeOpened().isEmpty()); // the one refused never went
    }

    // Opening hands the copy to xdg-open without waiting for it. When there
    // is none, or it finds no program (a status other than 0), the view says
    // so and offers "Save as..."; a program xdg-open runs itself and that
    // runs on counts as opened.
    void noProgram_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("offered");
        QTest::newRow("a program took it") << false << 0 << 0 << false;
        QTest::newRow("no program for it") << false << 3 << 0 << true;
        QTest::newRow("no xdg-open at all") << true << 0 << 0 << true;
        QTest::newRow("program still running") << false << 1 << 2 << false;
    }
    void noProgram()
    {
        QFETCH(bool, missing);
        QFETCH(int, status);
        QFETCH(int, delay);
        QFETCH(bool, offered);
        Fixture f({{"plan.qvtest", "", "", "plan"}});
        f.view.findChild<DesktopLauncher*>()->setPatience(500);
        desktop.setMissing(missing);
        desktop.setAnswer(status, delay);
        f.fake->takeOffer = true;
        f.fake->saveFile = f.root.filePath("saved.qvtest");
        QElapsedTimer clock;
        clock.start();
        f.view.openAttachment(0);
        QVERIFY2(clock.elapsed() < 300, qPrintable(QString::number(clock.elapsed()))); // never waits for xdg-open
        QTest::qWait(delay ? 1000 : 0);
        if (offered) {
            QTRY_COMPARE_WITH_TIMEOUT(f.fake->offers.size(), 1, 20000);
            QCOMPARE(f.fake->offers.first(), QStringLiteral("Open Attachment: No program on this computer is set up to open \"plan.qvtest\".\n\n"
                                                           "You can save it instead and open it with a program of your choice."));
            QCOMPARE(f.fake->saveProposals, QStringList{QDir::home().filePath("plan.qvtest")});
            QCOMPARE(readFile(f.fake->saveFile), QByteArray("plan"));
        } else {
            QTest::qWait(status ? 2500 : 300);
            QCOMPARE(f.fake->offers, QStringList());
        }
        // The copy, then the folder the offer saved it into.
        QList<QUrl> expected{QUrl::fromLocalFile(f.host.path + "/plan.qvtest"), QUrl::fromLocalFile(f.root.path())};
        expected = expected.mid(0, missing ? 0 : offered ? 2 : 1);
        QCOMPARE(desktop.waitOpened(int(expected.size())), expected);
    }

    // The real offer: a box on the view that blocks neither the window nor
    // the test, one per failed open, and "Save as..." saves.
    void noProgramOfferBox()
    {
        Fixture f({{"a.qvtest", "", "", "A"}, {"b.qvtest", "", "", "B"}});
        f.fake->realOffer = true;
        f.fake->saveFile = f.root.filePath("saved.qvtest");
        f.view.show();
        desktop.setAnswer(3);
        f.view.openAttachment(0);
        f.view.openAttachment(1);
        QTRY_COMPARE_WITH_TIMEOUT(f.view.findChildren<QMessageBox*>().size(), 2, 20000);
        const QList<QMessageBox*> boxes = f.view.findChildren<QMessageBox*>();
        QVERIFY(boxes.at(0)->isVisible() && boxes.at(0)->windowModality() == Qt::WindowModal);
        QVERIFY(boxes.at(1)->text().contains("\"b.qvtest\"") || boxes.at(0)->text().contains("\"b.qvtest\""));
        QMessageBox* first = boxes.at(0)->text().contains("\"a.qvtest\"") ? boxes.at(0) : boxes.at(1);
        auto* save = first->findChild<QPushButton*>("saveInstead");
        QVERIFY(save && first->defaultButton() == save && save->text() == QStringLiteral("Save as..."));
        save->click();
        QCOMPARE(readFile(f.fake->saveFile), QByteArray("A"));
        QTRY_COMPARE(f.view.findChildren<QMessageBox*>().size(), 1); // deleted once closed
        f.view.findChildren<QMessageBox*>().first()->reject();
        QTRY_COMPARE(f.view.findChildren<QMessageBox*>().size(), 0);
        QCOMPARE(f.fake->saveProposals.size(), 1);
        QCOMPARE(desktop.waitOpened(3).size(), 3); // both copies and the folder saved into
    }

    // A damaged file says so above the message, in the interface language;
    // the notice can be put away and comes back with the next damaged message.
    void damageNotice()
    {
        Fixture f({{"report.pdf", "", "", kPdf}});
        QVERIFY(showView(f.view));
        auto* notice = child<QWidget>(&f.view, "damageNotice");
        QVERIFY(notice->isHidden());
        auto damaged = QSharedPointer<TessilMessage>::create(*f.message);
        damaged->addWarning(MessageWarning::Checksum);
        f.view.setMessage(damaged);
        QVERIFY(notice->isVisible());
        QCOMPARE(child(&f.view, "damageLabel")->text(), QStringLiteral("This file is damaged; some content may be missing."));
        // Above the scrolled page, so neither the header nor the body moves within it.
        QVERIFY(notice->geometry().bottom() < child<QWidget>(&f.view, "scrollArea")->geometry().top());
        MultiLanguage::instance()->switchLanguage(5);
        QTRY_COMPARE(child(&f.view, "damageLabel")->text(), QStringLiteral("Diese Datei ist beschädigt; möglicherweise fehlen Inhalte."));
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
        child<QToolButton>(&f.view, "damageCloseButton")->click();
        QVERIFY(notice->isHidden());
        f.view.setMessage(damaged);
        QVERIFY(notice->isVisible());
        f.view.setMessage(f.message);
        QVERIFY(notice->isHidden());
    }

    void warningDefaultsToCancel()
    {
        // Enter on the real warning box must not open the file.
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QVERIFY(!AttachmentDialogs().confirm(nullptr, "Open Attachment", "x.exe"));
    }

    // What the plug-in claims; the views it makes are checked through the
    // program's window below and through the plug-in loader in tst_view_commands.
    void plugin()
    {
        QVERIFY(manager.loadedPluginFiles().contains(TESSIL_PLUGIN_FILE));
        QVERIFY(manager.hasWidgetPlugin("/x/WINMAIL.DAT") && manager.hasWidgetPlugin("/x/m.Tnef") && manager.hasWidgetPlugin("/x/Fwd.MSG"));
        QVERIFY(manager.supportedMimeTypes().contains("application/vnd.ms-outlook"));
    }

    // What cannot be opened is refused with the reason in the log, and in
    // the interface language for the user.
    void pluginRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: not written
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("told");
        QTest::newRow("not TNEF") << "data.dat" << QByteArray("An ordinary data file.\n") << "not a TNEF file"
                                  << "Dies ist weder eine TNEF-Datei (winmail.dat) noch eine Outlook-Nachricht (.msg).";
        QTest::newRow("folder") << "folder.dat" << QByteArray() << "is a directory" << "Dies ist ein Ordner, keine Datei.";
        QTest::newRow("damaged") << "damaged.dat" << tnefwriter::TnefWriter().attribute(9, 1, 1, "x").bytes()
                                 << "damaged TNEF stream: a record of unknown level"
                                 << "Die Datei ist zu stark beschädigt, um angezeigt zu werden.";
    }
    void pluginRefusals()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, logged);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (name.startsWith("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (!bytes.isNull())
            QVERIFY(!writeFile(path, bytes).isEmpty());
        Host host;
        QString error;
        const QByteArray line = "[Tessil] TessilPlugin parse failed: " + logged.toUtf8();
        MultiLanguage::instance()->switchLanguage(5);
        QTest::ignoreMessage(QtWarningMsg, line.constData()); // the log stays English
        QVERIFY(!manager.createWidget(path, nullptr, &host, &error));
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
        QTEST(error, "told");
        QTest::ignoreMessage(QtWarningMsg, line.constData());
        QVERIFY(!manager.createWidget(path, nullptr, nullptr, nullptr)); // no host, nowhere for the message
    }

    void realSamplesInTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QStringList>("tiles");
        QTest::newRow("oom") << "oom.tnef" << "<No Subject>" << "0 B, 0 attachments" << QStringList{};
        QTest::newRow("quick") << "quick-winmail.dat" << "This is a test message" << "38.5 KB, 5 attachments"
                               << QStringList{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        QTest::newRow("sample1") << "winmail-sample1.dat" << "test" << "86.7 KB, 2 attachments"
                                 << QStringList{"zappa_av1.jpg", "bookmark.htm"};
        QTest::newRow("simple") << "bug52400-winmail-simple.dat" << "Testing TNEF Message"
                                << "2013-10-31 22:12:13, 0 B, 0 attachments" << QStringList{};
        QTest::newRow("with attachments") << "bug52400-winmail-with-attachments.dat" << "TNEF test message with attachments"
                                          << "2013-11-01 19:34:43, 307.9 KB, 2 attachments"
                                          << QStringList{"scion_tc_2007_maintenanceguide.pdf", "Duke_Wave.png"};
        QTest::newRow("bug63955") << "bug63955-winmail.dat" << "Test" << "2019-11-22 12:23:59, 462.0 KB, 2 attachments"
                                  << QStringList{"SI-61597.pdf", "SI-61598.pdf"};
        // Outlook .msg files, the damaged one included.
        QTest::newRow("quick.msg") << "msg/quick.msg" << "Test the content transformer" << "2007-06-14 09:42:53, 0 B, 0 attachments" << QStringList{};
        QTest::newRow("attached PDF") << "msg/attachment_msg_pdf.msg" << "test email" << "2010-06-17 23:54:19, 39.7 KB, 2 attachments"
                                      << QStringList{"Test Attachment.msg", "smbprn.00009008.KdcPjl.pdf"};
        QTest::newRow("inline images") << "msg/attachment_msg_inlineImg.msg" << "How to use and check database files from device"
                                       << "2015-06-12 19:44:48, 75.2 KB, 4 attachments" << QStringList{};
        QTest::newRow("damaged .msg") << "msg/clusterfuzz-testcase-minimized-POIHSMFFuzzer-4735011465854976.msg" << QString::fromUtf8("test pièce jointe 1")
                                      << "89 B, 1 attachment" << QStringList{QString::fromUtf8("\u0100.bin")};
    }
    void realSamplesInTheProgram()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, name);
        MainWindow window;
        window.show();
        window.openFile(testsupport::realSamplePath(name));
        QCOMPARE(window.tabWidget()->count(), 1);
        const QWidget* view = window.tabWidget()->widget(0);
        QTEST(child(view, "subjectLabel")->text(), "subject");
        QTEST(child(view, "mailInfoLabel")->text(), "info");
        QTEST(tileNames(view), "tiles");
        QCOMPARE(child<QWidget>(view, "damageNotice")->isVisible(), name == QLatin1String("oom.tnef") || name.contains(QLatin1String("clusterfuzz")));
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestViewer)
#include "tst_viewer.moc"
