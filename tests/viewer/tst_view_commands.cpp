// The view's commands: the actions the host lists and their keys, printing
// to PDF, finding, zooming and dragging attachments out.

#include "attachmentdialogs.h"
#include "attachmentmodel.h"
#include "documentplugininterfaces.h"
#include "findbar.h"
#include "mywebviewwidget.h"
#include "printjob.h"
#include "propertiesdialog.h"
#include "propertymodel.h"
#include "tessilviewwidget.h"
#include "viewactions.h"
#include "zoomingtextbrowser.h"

#include "message/tessil_parser.h"
#include "support/fake_desktop.h"
#include "support/tnef_writer.h"
#include "support/test_main.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPrintDialog>
#include <QPluginLoader>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWheelEvent>

namespace {

struct FakeDialogs : AttachmentDialogs
{
    QString saveFile, directory; // empty: cancel
    QStringList saveTitles, saveFilters, directoryTitles, warnings;
    void warning(QWidget*, const QString& title, const QString& text) override { warnings << title + ": " + text; }
    QString getSaveFileName(QWidget*, const QString& title, const QString&, const QString& filter) override
    {
        saveTitles << title;
        saveFilters << filter;
        return saveFile;
    }
    QString getExistingDirectory(QWidget*, const QString& title, const QString&) override
    {
        directoryTitles << title;
        return directory;
    }
};

struct Host : IDocumentWidgetHost
{
    QTemporaryDir dir;
    QString tempDirPath() const override { return dir.path(); }
};

// A view of a message with an HTML body of `paragraphs` paragraphs and two
// attachments, shown in a window of its own with its commands on it (as the
// host puts them on its window).
struct Fixture
{
    explicit Fixture(const QString& subject = QStringLiteral("Quarterly figures"), int paragraphs = 3)
        : view(&host)
    {
        message->subject = subject;
        QByteArray html = "<html><body><p style=\"font-size:14px\">An apple, an Apple and a pineapple.</p>";
        for (int i = 0; i < paragraphs; ++i)
            html += "<p>Paragraph " + QByteArray::number(i) + " of the report, with words to fill a line or two.</p>";
        message->htmlBody = html + "</body></html>";
        for (const auto& [name, content] : {std::pair{"figures.csv", QByteArray("a,b\n1,2\n")}, {"../notes.txt", QByteArray("notes\0bytes", 11)}})
            message->attachments << QSharedPointer<TessilAttachment>::create(TessilAttachment{name, "application/octet-stream", {}, content});
        view.setDialogs(std::unique_ptr<FakeDialogs>(fake = new FakeDialogs));
        view.setMessage(message);
        view.addActions(view.documentActions());
        view.resize(700, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY(!view.isBodyPending());
    }
    QAction* action(const char* name) const { return view.findChild<QAction*>(QLatin1String(name)); }

    Host host;
    QSharedPointer<TessilMessage> message = QSharedPointer<TessilMessage>::create();
    TessilViewWidget view;
    FakeDialogs* fake = nullptr;
};

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    // Ligatures ("fi") come back as one character.
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// The height in points of the first word `word` on the PDF's first page; 0 when absent.
double wordHeight(const QString& path, const QString& word)
{
    const QString boxes = runTool(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", path, "-"});
    static const QRegularExpression pattern(QStringLiteral("<word xMin=\"[^\"]*\" yMin=\"([^\"]*)\" xMax=\"[^\"]*\" yMax=\"([^\"]*)\">([^<]*)</word>"));
    for (auto it = pattern.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(3) == word)
            return match.captured(2).toDouble() - match.captured(1).toDouble();
    }
    return 0;
}

int pdfPages(const QString& path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    const qsizetype at = info.indexOf(QLatin1String("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// A message with a subject, a time, a multi-valued integer, a binary of
// 300 bytes, and an attachment with properties of its own.
QSharedPointer<TessilMessage> propertiesMessage()
{
    using namespace tnefwriter;
    QByteArray blob;
    for (int i = 0; i < 300; ++i)
        blob += char(i);
    MapiBlockWriter props;
    props.add(MapiProp::unicode(PidTagSubject, QStringLiteral("Props")))
        .add(MapiProp::time(PidTagClientSubmitTime, QDateTime(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC)))
        .add(MapiProp::multi(PtypInteger32, 0x6801, {int32Bytes(1), int32Bytes(2), int32Bytes(3)}))
        .add(MapiProp::binary(0x6802, blob));
    TnefWriter tnef;
    tnef.tnefVersion().messageProperties(props).attachment(
        AttachmentSpec{{}, QStringLiteral("figures.csv"), "a,b\n", "text/csv", {}, {}});
    return TessilParser().parseData(tnef.bytes());
}

// The displayed row of the property tagged `tag`, column by column.
QStringList propertyRow(const QAbstractItemModel* model, const QString& tag)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, PropertyModel::TagColumn).data().toString() == tag) {
            QStringList cells;
            for (int column = 0; column < PropertyModel::ColumnCount; ++column)
                cells << model->index(row, column).data().toString();
            return cells;
        }
    }
    return {};
}

} // namespace

class TestViewCommands : public QObject
{
    Q_OBJECT
private slots:
    void documentActions()
    {
        // The plug-in as the host loads it, with a view it made.
        QPluginLoader loader(QStringLiteral(TESSIL_PLUGIN_FILE));
        auto* plugin = qobject_cast<IDocumentWidgetPlugin*>(loader.instance());
        auto* interface = qobject_cast<IDocumentWidgetActions*>(loader.instance());
        QVERIFY2(plugin && interface, qPrintable(loader.errorString()));
        Host host;
        QString error;
        std::unique_ptr<QWidget> view(
            plugin->createWidget(QStringLiteral(QUORVIA_SOURCE_DIR "/samples/sample.tnef"), nullptr, &host, &error));
        QVERIFY2(view, qPrintable(error));
        QStringList names;
        for (QAction* a : interface->documentActions(view.get())) {
            names << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
            QVERIFY(a->isSeparator() || !a->text().isEmpty());
            QCOMPARE(a->parent(), view.get());
        }
        QCOMPARE(names.join(' '), QStringLiteral("print exportPdf | find zoomIn zoomOut zoomReset | saveAttachment "
                                                 "saveAllAttachments | properties"));
        QWidget other;
        QVERIFY(interface->documentActions(&other).isEmpty());
        // The host titles the window with it.
        QCOMPARE(view->windowTitle(), view->findChild<QLabel*>(QStringLiteral("subjectLabel"))->text());
        QVERIFY(!view->windowTitle().isEmpty());
        // Without a subject the host uses the file name; never Designer's "Form".
        Fixture untitled{QString()};
        QCOMPARE(untitled.view.windowTitle(), QString());
    }

    void shortcuts_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("action");
        QTest::newRow("Ctrl+P") << QKeyCombination(Qt::CTRL, Qt::Key_P) << "print";
        QTest::newRow("Ctrl+F") << QKeyCombination(Qt::CTRL, Qt::Key_F) << "find";
        QTest::newRow("Ctrl++") << QKeyCombination(Qt::CTRL, Qt::Key_Plus) << "zoomIn";
        QTest::newRow("Ctrl+=") << QKeyCombination(Qt::CTRL, Qt::Key_Equal) << "zoomIn";
        QTest::newRow("Ctrl+-") << QKeyCombination(Qt::CTRL, Qt::Key_Minus) << "zoomOut";
        QTest::newRow("Ctrl+0") << QKeyCombination(Qt::CTRL, Qt::Key_0) << "zoomReset";
        QTest::newRow("Ctrl+S") << QKeyCombination(Qt::CTRL, Qt::Key_S) << "saveAttachment";
        QTest::newRow("Ctrl+Shift+S") << QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_S) << "saveAllAttachments";
        QTest::newRow("Alt+Return") << QKeyCombination(Qt::ALT, Qt::Key_Return) << "properties";
    }
    void shortcuts()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(QString, action);
        Fixture f;
        f.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.view));
        auto* list = f.view.findChild<QListView*>(QStringLiteral("listView"));
        list->setCurrentIndex(list->model()->index(0, 0));
        f.view.setZoom(200); // so that every zoom key has an effect
        QStringList fired;
        for (QAction* a : f.view.documentActions())
            connect(a, &QAction::triggered, this, [&fired, a] { fired << a->objectName(); });
        QTest::keyClick(list, key.key(), key.keyboardModifiers());
        QCOMPARE(fired, QStringList{action});

        // What each did.
        if (action == "find")
            QVERIFY(f.view.findBar()->isVisible());
        else if (action == "zoomIn")
            QCOMPARE(f.view.zoom(), 210);
        else if (action == "zoomOut")
            QCOMPARE(f.view.zoom(), 190);
        else if (action == "zoomReset")
            QCOMPARE(f.view.zoom(), 100);
        else if (action == "saveAttachment")
            QCOMPARE(f.fake->saveTitles.size(), 1);
        else if (action == "saveAllAttachments")
            QCOMPARE(f.fake->directoryTitles.size(), 1);
        else if (action == "print") {
            auto* dialog = f.view.findChild<QPrintDialog*>();
            QVERIFY(dialog);
            dialog->reject();
        }
    }

    void enterOpensTile()
    {
        testsupport::FakeDesktop desktop;
        Fixture f;
        auto* list = f.view.findChild<QListView*>(QStringLiteral("listView"));
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Return);
        const QList<QUrl> opened = desktop.waitOpened(1);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(QFileInfo(opened.first().toLocalFile()).fileName(), QStringLiteral("notes.txt"));
        QCOMPARE(QFileInfo(opened.first().toLocalFile()).absolutePath(), QDir(f.host.dir.path()).absolutePath());
    }

    void pdfExport()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed; test.sh installs it");
        QTemporaryDir out;
        for (const int paragraphs : {3, 160}) {
            Fixture f(QStringLiteral("Quarterly figures ") + QString::number(paragraphs), paragraphs);
            const QString path = out.filePath(QStringLiteral("m%1.pdf").arg(paragraphs));
            PrintJob* job = f.view.exportPdf(path);
            QVERIFY(job);
            QSignalSpy finished(job, &PrintJob::finished);
            QVERIFY(finished.wait(60000));
            QCOMPARE(job->outcome(), PrintJob::Outcome::Done);
            QVERIFY(!QFile::exists(path + ".part"));

            const int pages = pdfPages(path);
            if (paragraphs == 3)
                QCOMPARE(pages, 1);
            else
                QVERIFY2(pages >= 3 && pages <= 12, qPrintable(QString::number(pages)));
            const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
            QVERIFY2(text.contains(f.message->subject), qPrintable(text.left(400)));
            QVERIFY(text.contains(QStringLiteral("pineapple")));
            // Printed at the size shown (14 px is 10.5 pt), whatever the printer's resolution.
            const double height = wordHeight(path, QStringLiteral("pineapple."));
            QVERIFY2(height > 9 && height < 16, qPrintable(QString::number(height)));
            QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(pages)));
            // The names come after the body, on the last page.
            const QString last = runTool(QStringLiteral("pdftotext"),
                                         {QStringLiteral("-f"), QString::number(pages), path, QStringLiteral("-")});
            QVERIFY2(last.contains(QStringLiteral("figures.csv")) && last.contains(QStringLiteral("notes.txt")),
                     qPrintable(last.right(400)));
            QVERIFY(text.indexOf(QStringLiteral("Paragraph %1 ").arg(paragraphs - 1)) < text.indexOf(QStringLiteral("figures.csv"),
                                                                                             text.indexOf(QStringLiteral("Attachments"))));
        }

        // Over an existing file: replaced only once complete; a cancelled
        // export leaves it as it was and nothing beside it.
        {
            Fixture f(QStringLiteral("Long"), 3000);
            const QString path = out.filePath(QStringLiteral("existing.pdf"));
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            old.close();
            PrintJob* job = f.view.exportPdf(path);
            QSignalSpy finished(job, &PrintJob::finished);
            job->cancel();
            QVERIFY(finished.wait(60000));
            QCOMPARE(job->outcome(), PrintJob::Outcome::Cancelled);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("old"));
            old.close();
            QCOMPARE(QDir(out.path()).entryList({"existing.pdf*"}, QDir::Files), QStringList{"existing.pdf"});
            Fixture small;
            job = small.view.exportPdf(path);
            QSignalSpy done(job, &PrintJob::finished);
            QVERIFY(done.wait(60000));
            QCOMPARE(job->outcome(), PrintJob::Outcome::Done);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QVERIFY(old.readAll().startsWith("%PDF"));
        }

        // Into a folder that is not there: reported, nothing written.
        Fixture f;
        f.action("exportPdf")->trigger(); // the dialog offers PDF files; cancelled
        QCOMPARE(f.fake->saveFilters, QStringList{"PDF documents (*.pdf)"});
        const QString bad = out.filePath(QStringLiteral("missing/m.pdf"));
        PrintJob* job = f.view.exportPdf(bad);
        QSignalSpy finished(job, &PrintJob::finished);
        QVERIFY(finished.wait(60000));
        QCOMPARE(job->outcome(), PrintJob::Outcome::Failed);
        QTRY_COMPARE(f.fake->warnings, QStringList{"Export as PDF: The PDF could not be written."});
        QVERIFY(!QFile::exists(bad));
    }

    void find()
    {
        Fixture f;
        FindBar* bar = f.view.findBar();
        f.view.find(QStringLiteral("apple"));
        QVERIFY(bar->isVisible());
        QCOMPARE(f.view.matchCount(), 3);
        QCOMPARE(f.view.currentMatch(), 0);
        QCOMPARE(bar->matchText(), QStringLiteral("1 of 3"));

        auto* field = bar->findChild<QLineEdit*>();
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(f.view.currentMatch(), 1);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(f.view.currentMatch(), 0); // round from the last to the first
        QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(f.view.currentMatch(), 2);
        QCOMPARE(bar->matchText(), QStringLiteral("3 of 3"));
        QTest::keyClick(field, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
        QCOMPARE(f.view.currentMatch(), 1);

        // Every match is highlighted, the current one apart.
        auto* browser = f.view.findChild<QTextBrowser*>();
        const QList<QTextEdit::ExtraSelection> marks = browser->extraSelections();
        QCOMPARE(marks.size(), 3);
        QCOMPARE(marks.at(1).cursor.selectedText(), QStringLiteral("Apple"));
        QVERIFY(marks.at(1).format.background() != marks.at(0).format.background());

        f.view.find(QStringLiteral("Paragraph 2 of"));
        QCOMPARE(f.view.matchCount(), 1);
        f.view.find(QStringLiteral("kiwi"));
        QCOMPARE(f.view.matchCount(), 0);
        QCOMPARE(bar->matchText(), QStringLiteral("No matches"));

        f.view.find(QStringLiteral("apple"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(browser->extraSelections().isEmpty());
    }

    void zoom()
    {
        Fixture f;
        QCOMPARE(f.view.zoom(), 100);
        f.view.setZoom(10);
        QCOMPARE(f.view.zoom(), 50);
        QVERIFY(!f.action("zoomOut")->isEnabled());
        f.action("zoomOut")->trigger();
        QCOMPARE(f.view.zoom(), 50);
        f.view.setZoom(1000);
        QCOMPARE(f.view.zoom(), 400);
        QVERIFY(!f.action("zoomIn")->isEnabled());
        f.view.setZoom(395);
        QCOMPARE(f.view.zoom() % 10, 0);
        QCOMPARE(ZoomingTextBrowser::steppedZoom(390, 3), 400);
        QCOMPARE(ZoomingTextBrowser::steppedZoom(60, -3), 50);

        // Ctrl and the wheel, a notch at a time; the level shows briefly.
        f.view.setZoom(100);
        auto* browser = f.view.findChild<QTextBrowser*>();
        const QPointF at(20, 20);
        QWheelEvent up(at, browser->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(browser->viewport(), &up);
        QCOMPARE(f.view.zoom(), 110);
        QLabel* indicator = f.view.bodyView()->zoomIndicator();
        QVERIFY(indicator->isVisible());
        QCOMPARE(indicator->text(), QStringLiteral("110%"));
        QTRY_VERIFY_WITH_TIMEOUT(!indicator->isVisible(), 5000);

        // Each tab keeps its own.
        Fixture other;
        QCOMPARE(other.view.zoom(), 100);
    }

    // Zoomed, a click lands on what is drawn under the pointer: the mouse is
    // mapped through the scale (and handed on without calling itself again).
    void zoomedClickFollowsTheScale()
    {
        ZoomingTextBrowser browser;
        browser.setOpenLinks(false);
        auto* document = new QTextDocument(&browser);
        document->setHtml(QStringLiteral("<p>Some words before the <a href=\"https://example.com/x\">link</a> and after.</p>"));
        browser.setBodyDocument(document);
        browser.resize(600, 300);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        browser.setZoom(300);
        const int at = document->toPlainText().indexOf(QLatin1String("link"));
        const QRect link = browser.characterRect(at, 4);
        QVERIFY(link.width() > 0);
        QCOMPARE(browser.toDocument(browser.toViewport(QPointF(31, 7))), QPointF(31, 7));
        QSignalSpy clicked(&browser, &QTextBrowser::anchorClicked);
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, link.center());
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toUrl(), QUrl(QStringLiteral("https://example.com/x")));
        // The same point unscaled lies on the words before the link.
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, link.center() / 3);
        QCOMPARE(clicked.size(), 1);
    }

    void properties()
    {
        const QSharedPointer<TessilMessage> message = propertiesMessage();
        QVERIFY(message);
        PropertiesDialog dialog(message, -1);
        const QAbstractItemModel* rows = dialog.proxy();
        QCOMPARE(propertyRow(rows, "0x0037001F"), (QStringList{"0x0037001F", "PidTagSubject", "PtypString", "Props"}));
        const QDateTime sent(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::UTC);
        const QStringList time = propertyRow(rows, "0x00390040");
        QCOMPARE(time.mid(1, 2), (QStringList{"PidTagClientSubmitTime", "PtypTime"}));
        QVERIFY2(time.value(3).endsWith(sent.toLocalTime().toString("HH:mm:ss")), qPrintable(time.value(3)));
        QCOMPARE(propertyRow(rows, "0x68011003").mid(2), (QStringList{"PtypMultipleInteger32", "1; 2; 3"}));
        // The first 256 bytes on show, all of them copied.
        const QString shown = propertyRow(rows, "0x68020102").value(3);
        QVERIFY(shown.startsWith("00 01 02") && shown.endsWith("fe ff \u2026"));
        auto* table = dialog.findChild<QTableView*>();
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (rows->index(row, 0).data().toString() == "0x68020102")
                table->selectRow(row);
        }
        QCOMPARE(dialog.selectedValues().size(), 300 * 3 - 1);
        QVERIFY(dialog.selectedValues().endsWith("2a 2b"));

        // Sorted by the tag's number; filtered by any column.
        QStringList tags;
        for (int row = 0; row < rows->rowCount(); ++row)
            tags << rows->index(row, 0).data().toString();
        QVERIFY2(std::is_sorted(tags.cbegin(), tags.cend()), qPrintable(tags.join(' ')));
        dialog.findChild<QLineEdit*>("filterEdit")->setText("subject");
        QCOMPARE(rows->rowCount(), 1);
        dialog.findChild<QLineEdit*>("filterEdit")->setText("multipleinteger");
        QCOMPARE(rows->rowCount(), 1);
        dialog.findChild<QLineEdit*>("filterEdit")->clear();

        // The attachment's own properties.
        dialog.showSource(0);
        QCOMPARE(propertyRow(rows, "0x3707001F").mid(1),
                 (QStringList{"PidTagAttachLongFilename", "PtypString", "figures.csv"}));
        QVERIFY(propertyRow(rows, "0x0037001F").isEmpty());
        PropertiesDialog ofAttachment(message, 0);
        QCOMPARE(propertyRow(ofAttachment.proxy(), "0x3707001F").value(3), QStringLiteral("figures.csv"));
    }

    void drag()
    {
        Fixture f;
        std::unique_ptr<QMimeData> data(f.view.dragData({0, 1}));
        QVERIFY(data);
        const QList<QUrl> urls = data->urls();
        QCOMPARE(urls.size(), 2);
        const QByteArray expected[] = {"a,b\n1,2\n", QByteArray("notes\0bytes", 11)};
        for (int i = 0; i < 2; ++i) {
            QVERIFY(urls.at(i).isLocalFile());
            QFile file(urls.at(i).toLocalFile());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), expected[i]);
            QVERIFY(!(file.permissions() & (QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther)));
            // Inside the host's temporary folder, under a safe name.
            QVERIFY(QFileInfo(file).absoluteFilePath().startsWith(QDir(f.host.dir.path()).absolutePath() + '/'));
        }
        QCOMPARE(QFileInfo(urls.at(1).toLocalFile()).fileName(), QStringLiteral("notes.txt"));
        // A second drag gets copies of its own.
        std::unique_ptr<QMimeData> again(f.view.dragData({1}));
        QVERIFY(again && again->urls().first() != urls.at(1));

        // The list hands the selected tiles to it.
        auto* list = f.view.findChild<QListView*>(QStringLiteral("listView"));
        list->selectAll();
        QVERIFY(list->model()->flags(list->model()->index(0, 0)) & Qt::ItemIsDragEnabled);
        QCOMPARE(list->dragDropMode(), QAbstractItemView::DragOnly);
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestViewCommands)
#include "tst_view_commands.moc"
