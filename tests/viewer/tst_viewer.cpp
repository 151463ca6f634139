// The message viewer: the view's header, tiles and body, opening and saving
// attachments with the dialogs and the desktop answered by a stand-in, the
// body prepared off the GUI thread while the window stays responsive, and
// the plug-in as the program's plug-in manager loads it from the build tree.

#include "attachmentdelegate.h"
#include "attachmentdialogs.h"
#include "attachmenticons.h"
#include "attachmentmodel.h"
#include "bodydocument.h"
#include "bodyloader.h"
#include "browsertabwidget.h"
#include "desktoplauncher.h"
#include "documentpluginmanager.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "message/attachment_file_names.h"
#include "message/tessil_parser.h"
#include "mywebviewwidget.h"
#include "tessilplugin.h"
#include "tessilviewwidget.h"

#include "support/fake_desktop.h"
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
#include <QSettings>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

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

    QString getSaveFileName(QWidget*, const QString&, const QString& path) override { saveProposals << path; return saveFile; }
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
    QString path = QDir::tempPath() + "/tessil-viewer-test";
    QString tempDirPath() const override { return path; }
};

// A view of a message with these attachments (name, MIME type, content id, data).
struct Fixture
{
    explicit Fixture(const QList<TessilAttachment>& attachments, const QByteArray& html = {}, Host* host = nullptr,
                     const QString& subject = "Files")
        : view(host)
    {
        message->subject = subject;
        message->htmlBody = html;
        for (const TessilAttachment& a : attachments)
            message->attachments << QSharedPointer<TessilAttachment>::create(a);
        view.setDialogs(std::unique_ptr<FakeDialogs>(fake = new FakeDialogs));
        view.setMessage(message);
    }
    QModelIndex index(int row) const { return view.attachmentModel()->index(row, 0); }

    QSharedPointer<TessilMessage> message = QSharedPointer<TessilMessage>::create();
    TessilViewWidget view;
    FakeDialogs* fake = nullptr;
};

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

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

    DocumentPluginManager manager;
    QTemporaryDir dir;
    testsupport::FakeDesktop desktop;

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC"); // the information line shows local time
        tzset();
        manager.scanPlugins(); // as the program does, from its folder in the build tree
    }
    void init()
    {
        QSettings().clear();
        desktop.setMissing(false);
        desktop.setAnswer(0);
        desktop.takeOpened();
    }
    void cleanup() { MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish); }

    void header_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QDateTime>("sent");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<bool>("inlineOnly");
        QTest::addColumn<QString>("info");
        QTest::newRow("placeholders") << "" << QDateTime() << QList<int>{} << false << "0 B, 0 attachment";
        QTest::newRow("markup") << "<b>Budget</b> & plans" << QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)
                                << QList<int>{10000, 2595} << false << "2024-05-01 10:20:30, 12.3 KB, 2 attachments";
        QTest::newRow("one") << "One" << QDateTime() << QList<int>{1023} << false << "1023 B, 1 attachment";
        // Inline images get no tile but count in the line.
        QTest::newRow("inline only") << "Pictures" << QDateTime() << QList<int>{1000, 536} << true
                                     << "1.5 KB, 2 attachments";
    }
    void header()
    {
        QFETCH(QString, subject);
        QFETCH(QDateTime, sent);
        QFETCH(QList<int>, sizes);
        QFETCH(bool, inlineOnly);
        QFETCH(QString, info);
        QList<TessilAttachment> attachments;
        for (int size : sizes)
            attachments << TessilAttachment{"f.png", "", inlineOnly ? "id@x" : "", QByteArray(size, 'x')};
        Fixture f(attachments, {}, nullptr, subject);
        f.message->sentTime = sent;
        f.message->senderEmail = subject.isEmpty() ? "" : "ana@example.com";
        f.view.setMessage(f.message);

        QLabel* label = child(&f.view, "subjectLabel");
        label->ensurePolished();
        QCOMPARE(child(&f.view, "senderLabel")->text(), subject.isEmpty() ? "<No Sender>" : f.message->senderEmail);
        QCOMPARE(label->text(), subject.isEmpty() ? QString("<No Subject>") : subject);
        QCOMPARE(label->textFormat(), Qt::PlainText); // never read as markup
        QCOMPARE(label->palette().color(QPalette::WindowText), subject.isEmpty() ? QColor(180, 180, 180) : QColor(Qt::black));
        QCOMPARE(child(&f.view, "mailInfoLabel")->text(), info);
        QCOMPARE(child<QListView>(&f.view, "listView")->isHidden(), sizes.isEmpty() || inlineOnly);
    }

    void tiles()
    {
        Fixture f({{"a.pdf", "", "", kPdf}, {"logo.png", "", "logo@x", kPng}, {"", "", "", "12345"}});
        const AttachmentModel* model = f.view.attachmentModel();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->attachmentAt(1), f.message->attachmentAt(2));
        QVERIFY(!model->attachmentAt(2) && !model->attachmentAt(-1));
        QCOMPARE(f.index(1).data().toString(), QStringLiteral("attachment"));

        // Two lines at most, the first the longest prefix that fits; names of
        // zero-width characters must not make the split measure for ever.
        const QFontMetrics metrics(AttachmentDelegate::nameFont());
        const int width = AttachmentDelegate::TileWidth - 16;
        for (const QString& name : {QString("quarterly-report-of-the-whole-year-2024.docx"), QString("😀").repeated(30),
                                    QString(100000, QChar(0xAD)) + QString(40, u'W')}) {
            const QStringList lines = AttachmentDelegate::splitName(name, metrics, width);
            QCOMPARE(lines.size(), 2);
            QVERIFY(!lines.at(0).isEmpty() && name.startsWith(lines.at(0)) && !lines.at(0).back().isHighSurrogate());
            QVERIFY(metrics.boundingRect(lines.at(0)).width() <= width && metrics.horizontalAdvance(lines.at(1)) <= width);
        }
        QCOMPARE(AttachmentDelegate().sizeHint({}, f.index(0)), QSize(90, 96));

        // One icon per lower-case suffix, shared by every name and view.
        const int cached = cachedIconCount();
        const QIcon icon = iconForFileName(QStringLiteral("Q.QVTESTDOC"));
        QCOMPARE(iconForFileName(QStringLiteral("other.qvtestdoc")).cacheKey(), icon.cacheKey());
        QCOMPARE(cachedIconCount(), cached + 1);
    }

    // The body view is hidden without a body and shrinks to a short one, so
    // that the tiles follow the text; without tiles it takes the page.
    void bodyView()
    {
        const struct { int paragraphs; const char* contentId; bool fitted; } cases[] = {
            {0, "", false}, {3, "", true}, {3, "id@x", false}, {300, "", false}};
        for (const auto& c : cases) {
            Fixture f({{"report.pdf", "", c.contentId, kPdf}}, QByteArray("<p>A paragraph.</p>").repeated(c.paragraphs));
            f.view.resize(715, 565);
            f.view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f.view));
            auto* body = child<MyWebViewWidget>(&f.view, "webView");
            QCOMPARE(body->isVisible(), c.paragraphs > 0);
            QTest::qWait(50);
            QTRY_COMPARE(body->maximumHeight(), c.fitted ? std::max(body->documentHeightForWidth(body->width()) + 2, 48)
                                                         : QWIDGETSIZE_MAX);
        }
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
        QTemporaryDir root;
        Host host;
        host.path = root.filePath("a/temporary");
        Fixture f({{name, "", "", "payload"}}, {}, &host);
        f.fake->directory = root.filePath("a/chosen");
        QVERIFY(QDir().mkpath(f.fake->directory));
        f.fake->consent = true;
        f.view.onSaveAllAttachments();
        f.view.openAttachment(0);
        QCOMPARE(desktop.waitOpened(2).size(), 2);

        const QStringList tree = treeOf(root.path());
        QCOMPARE(tree.size(), 2);
        QVERIFY2(tree.at(0).startsWith("a/chosen/") && tree.at(1).startsWith("a/temporary/"), qPrintable(tree.join(',')));
        for (const QString& path : tree)
            QCOMPARE(safeAttachmentFileName(path.section(u'/', 2)), path.section(u'/', 2));
    }

    // The copy handed to the desktop is new every time, never executable,
    // and never written through whatever someone left under its name.
    void temporaryCopy()
    {
        QTemporaryDir root;
        Host host;
        host.path = root.filePath("not/yet/there");
        Fixture f({{"report", "", "", kPdf}}, {}, &host);
        const QString path = host.path + "/report.pdf";
        const QString outside = writeFile(root.filePath("outside.txt"), "keep me");
        QVERIFY(QDir().mkpath(host.path) && QFile::link(outside, path));
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
        QTemporaryDir temporary;
        Host host;
        host.path = temporary.path();
        Fixture f({{name, "", "", content}}, {}, &host);
        f.view.openAttachment(0); // Cancel
        if (asks) {
            const QString text = f.fake->confirmations.value(0);
            QVERIFY2(text.startsWith("Open Attachment: \"") && text.contains("run programs"), qPrintable(text));
            QVERIFY(treeOf(temporary.path()).isEmpty());
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
        QTest::newRow("the program failed") << false << 4 << 0 << true;
        QTest::newRow("no xdg-open at all") << true << 0 << 0 << true;
        QTest::newRow("program still running") << false << 1 << 2 << false;
    }
    void noProgram()
    {
        QFETCH(bool, missing);
        QFETCH(int, status);
        QFETCH(int, delay);
        QFETCH(bool, offered);
        QTemporaryDir temporary;
        Host host;
        host.path = temporary.filePath("copies");
        Fixture f({{"plan.qvtest", "", "", "plan"}}, {}, &host);
        f.view.findChild<DesktopLauncher*>()->setPatience(500);
        desktop.setMissing(missing);
        desktop.setAnswer(status, delay);
        f.fake->takeOffer = true;
        f.fake->saveFile = temporary.filePath("saved.qvtest");
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
        QList<QUrl> expected{QUrl::fromLocalFile(host.path + "/plan.qvtest"), QUrl::fromLocalFile(temporary.path())};
        expected = expected.mid(0, missing ? 0 : offered ? 2 : 1);
        QCOMPARE(desktop.waitOpened(int(expected.size())), expected);
    }

    // The real offer: a box on the view that blocks neither the window nor
    // the test, one per failed open, and "Save as..." saves.
    void noProgramOfferBox()
    {
        QTemporaryDir temporary;
        Host host;
        host.path = temporary.filePath("copies");
        Fixture f({{"a.qvtest", "", "", "A"}, {"b.qvtest", "", "", "B"}}, {}, &host);
        f.fake->realOffer = true;
        f.fake->saveFile = temporary.filePath("saved.qvtest");
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
        f.view.resize(715, 565);
        f.view.show();
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

    void plugin()
    {
        QVERIFY(manager.loadedPluginFiles().contains(TESSIL_PLUGIN_FILE));
        QVERIFY(manager.hasWidgetPlugin("/x/WINMAIL.DAT") && manager.hasWidgetPlugin("/x/m.Tnef"));

        using namespace tnefwriter;
        MapiBlockWriter props;
        props.add(MapiProp::unicode(PidTagSubject, "Quarterly report"));
        TnefWriter tnef;
        tnef.tnefVersion().messageProperties(props).attachment(AttachmentSpec{{}, "report.pdf", kPdf, {}, {}, {}});
        const QString path = writeFile(dir.filePath("winmail.dat"), tnef.bytes());
        Host host;
        QString error;
        std::unique_ptr<QWidget> view(manager.createWidget(path, nullptr, &host, &error));
        QVERIFY(view && error.isEmpty());
        QCOMPARE(child(view.get(), "subjectLabel")->text(), QStringLiteral("Quarterly report"));
        QCOMPARE(tileNames(view.get()), QStringList{"report.pdf"});
    }

    // What cannot be opened is refused with the reason in the log, and in
    // the interface language for the user.
    void pluginRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: not written
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("toldInGerman");
        QTest::newRow("not TNEF") << "data.dat" << QByteArray("An ordinary data file.\n") << "not a TNEF file"
                                  << "This is not a TNEF file (winmail.dat)." << "Dies ist keine TNEF-Datei (winmail.dat).";
        QTest::newRow("folder") << "folder.dat" << QByteArray() << "is a directory" << "This is a folder, not a file."
                                << "Dies ist ein Ordner, keine Datei.";
        QTest::newRow("damaged") << "damaged.dat" << tnefwriter::TnefWriter().attribute(9, 1, 1, "x").bytes()
                                 << "damaged TNEF stream: a record of unknown level" << "The file is too damaged to be shown."
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
        QTest::ignoreMessage(QtWarningMsg, line.constData());
        QVERIFY(!manager.createWidget(path, nullptr, &host, &error));
        QTEST(error, "told");
        MultiLanguage::instance()->switchLanguage(5);
        QTest::ignoreMessage(QtWarningMsg, line.constData()); // the log stays English
        QVERIFY(!manager.createWidget(path, nullptr, &host, &error));
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
        QTEST(error, "toldInGerman");
        QTest::ignoreMessage(QtWarningMsg, line.constData());
        QVERIFY(!manager.createWidget(path, nullptr, nullptr, nullptr)); // no host, nowhere for the message
    }

    void realSamplesInTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QStringList>("tiles");
        QTest::newRow("oom") << "oom.tnef" << "<No Subject>" << "0 B, 0 attachment" << QStringList{};
        QTest::newRow("quick") << "quick-winmail.dat" << "This is a test message" << "38.5 KB, 5 attachments"
                               << QStringList{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        QTest::newRow("sample1") << "winmail-sample1.dat" << "test" << "86.7 KB, 2 attachments"
                                 << QStringList{"zappa_av1.jpg", "bookmark.htm"};
        QTest::newRow("simple") << "bug52400-winmail-simple.dat" << "Testing TNEF Message"
                                << "2013-10-31 22:12:13, 0 B, 0 attachment" << QStringList{};
        QTest::newRow("with attachments") << "bug52400-winmail-with-attachments.dat" << "TNEF test message with attachments"
                                          << "2013-11-01 19:34:43, 307.9 KB, 2 attachments"
                                          << QStringList{"scion_tc_2007_maintenanceguide.pdf", "Duke_Wave.png"};
        QTest::newRow("bug63955") << "bug63955-winmail.dat" << "Test" << "2019-11-22 12:23:59, 462.0 KB, 2 attachments"
                                  << QStringList{"SI-61597.pdf", "SI-61598.pdf"};
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
        QCOMPARE(child<QWidget>(view, "damageNotice")->isVisible(), name == QLatin1String("oom.tnef"));
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestViewer)
#include "tst_viewer.moc"
