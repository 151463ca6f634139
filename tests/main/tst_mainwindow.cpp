// The main window's open flow against the test plug-ins found beside this test:
// the three warnings, opened tabs, files already open, drops, the open dialog,
// the empty page, and the loader and exporter tasks.

#include "appconfig.h"
#include "browsertabbar.h"
#include "browsertabwidget.h"
#include "documentpluginmanager.h"
#include "documentprogressdialog.h"
#include "mainwindow.h"
#include "recentfiles.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

struct Shown
{
    QString title;
    QString text;
};

// Answers every modal dialog that comes up while it lives: message boxes are
// recorded and closed, a file dialog is handed to the given callback.
class ModalAnswerer : public QObject
{
public:
    std::function<void(QFileDialog*)> onFileDialog;
    QList<Shown> boxes;

    ModalAnswerer()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                boxes.append({box->windowTitle(), box->text()});
                box->done(QMessageBox::Ok);
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                if (onFileDialog)
                    onFileDialog(dialog);
                else
                    dialog->reject();
            }
        });
        timer.start(10);
    }

private:
    QTimer timer;
};

class TestLoader : public IDocumentLoader
{
    Q_OBJECT
};

class TestExporter : public IDocumentImageExporter
{
    Q_OBJECT
};

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void record(const QUrl& url) { urls.append(url); }
};

void makeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("content");
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void formAsBuilt();
    void failuresWarnAndChangeNothing_data();
    void failuresWarnAndChangeNothing();
    void openingAddsATab();
    void bookmarkCommandsFollowTheCurrentDocument();
    void alreadyOpenFileSwitchesToItsTab();
    void dragEnterAcceptsOnlyOpenableFiles();
    void dropOpensSupportedAndWarnsAboutTheRest();
    void emptyPageAfterLastTabCloses();
    void openDialogStartsInLastFolder();
    void plusSquareShowsTheOpenDialog();
    void loaderTaskProgressAndFailure();
    void loaderTaskEndsWithFirstFinalSignal();
    void exporterTaskFinishAndFailure();

private:
    QString file(const QString& name) const { return QDir(dir.path()).absoluteFilePath(name); }

    QTemporaryDir dir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(dir.isValid());
    for (const char* name : {"Doc.dat", "notes.txt", "book.pdf", "scan.djvu", "fail-message.dat", "fail-silent.dat",
                             "with-bookmarks.dat", "second/Other.dat", "page.qvtest"})
        makeFile(file(QString::fromLatin1(name)));
}

void TestMainWindow::init()
{
    QFile::remove(recentFilesPath());
    AppConfig::instance()->setLastOpenPath(QStringLiteral("/initial/folder"));
}

void TestMainWindow::formAsBuilt()
{
    MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window.size(), QSize(1024, 740));
    QCOMPARE(window.minimumSize(), QSize(1024, 740));
    QVERIFY(!window.isShowingTabPage());
    QCOMPARE(window.tempDirPath(), QDir::homePath() + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Temp"));

    auto* toolbar = window.findChild<QWidget*>(QStringLiteral("toolbarWidget"));
    QVERIFY(toolbar);
    QVERIFY(toolbar->isHidden());
    const QList<QToolButton*> buttons = toolbar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(buttons.size(), 19);
    for (QToolButton* button : buttons)
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("searchBox"));
    QVERIFY(search && !search->isEnabled());
    QCOMPARE(search->placeholderText(), QStringLiteral("Search"));
    QCOMPARE(search->actions().size(), 1);

    auto* add = window.findChild<QPushButton*>(QStringLiteral("btnOpenFile"));
    QVERIFY(add);
    QCOMPARE(add->text(), QString::fromUtf8("\xef\xbc\x8b Add File(s)"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("label"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Add or drag files here"));
    BrowserTabWidget* tabs = window.tabWidget();
    QVERIFY(tabs->documentMode() && tabs->tabsClosable() && !tabs->usesScrollButtons() && !tabs->tabBarAutoHide());
    QVERIFY(tabs->acceptDrops());
    QVERIFY(window.acceptDrops());
}

void TestMainWindow::failuresWarnAndChangeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << "absent.dat" << "Open Failed" << "File does not exist.";
    QTest::newRow("unclaimed") << "notes.txt" << "Unsupported Format" << "No document plugin can open this file.";
    QTest::newRow("loader only") << "book.pdf" << "Unsupported Format" << "No document plugin can open this file.";
    QTest::newRow("loader side of a dual plug-in")
        << "scan.djvu" << "Unsupported Format" << "No document plugin can open this file.";
    QTest::newRow("plug-in message") << "fail-message.dat" << "Open Failed" << "Test plug-in refused the file";
    QTest::newRow("plug-in without message")
        << "fail-silent.dat" << "Open Failed" << "File error. Unable to open the document.";
}

void TestMainWindow::failuresWarnAndChangeNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, text);
    MainWindow window;
    ModalAnswerer answerer;
    QSignalSpy bookmarkSpy(&window, &MainWindow::bookmarkCommandsEnabledChanged);

    window.openFile(file(name));

    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().title, title);
    QCOMPARE(answerer.boxes.first().text, text);
    QCOMPARE(window.tabWidget()->count(), 0);
    QVERIFY(window.tabWidget()->openPaths().isEmpty());
    QVERIFY(!window.isShowingTabPage());
    QVERIFY(loadRecentFiles().isEmpty());
    QCOMPARE(AppConfig::instance()->lastOpenPath(), QStringLiteral("/initial/folder"));
    QCOMPARE(bookmarkSpy.count(), 0);

    window.openFile(QString()); // ignored without a word
    QCOMPARE(answerer.boxes.size(), 1);
}

void TestMainWindow::openingAddsATab()
{
    MainWindow window;
    ModalAnswerer answerer;
    QDir::setCurrent(dir.path());
    window.openFile(QStringLiteral("Doc.dat")); // relative: made absolute

    QVERIFY(answerer.boxes.isEmpty());
    BrowserTabWidget* tabs = window.tabWidget();
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Doc.dat"));
    QCOMPARE(tabs->tabToolTip(0), QStringLiteral("Doc.dat"));
    QWidget* widget = tabs->widget(0);
    QCOMPARE(widget->objectName(), QStringLiteral("tp_widget_dat"));
    QCOMPARE(widget->property("sourceFilePath").toString(), file(QStringLiteral("Doc.dat")));
    QCOMPARE(widget->property("hostTempDir").toString(), window.tempDirPath());
    QCOMPARE(tabs->openPaths(), QStringList{file(QStringLiteral("Doc.dat"))});
    QVERIFY(window.isShowingTabPage());
    QCOMPARE(loadRecentFiles(), QStringList{file(QStringLiteral("Doc.dat"))});
    QCOMPARE(AppConfig::instance()->lastOpenPath(), QDir(dir.path()).absolutePath());

    window.openFile(file(QStringLiteral("page.qvtest")));
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(tabs->widget(1)->objectName(), QStringLiteral("tp_both"));
}

void TestMainWindow::bookmarkCommandsFollowTheCurrentDocument()
{
    MainWindow window;
    ModalAnswerer answerer;
    QSignalSpy spy(&window, &MainWindow::bookmarkCommandsEnabledChanged);

    window.openFile(file(QStringLiteral("with-bookmarks.dat")));
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().first().toBool(), true);
    QVERIFY(window.currentDocumentSupportsBookmarks());

    window.openFile(file(QStringLiteral("Doc.dat")));
    QCOMPARE(spy.last().first().toBool(), false);

    spy.clear();
    window.tabWidget()->setCurrentIndex(0);
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().first().toBool(), true);
}

void TestMainWindow::alreadyOpenFileSwitchesToItsTab()
{
    MainWindow window;
    ModalAnswerer answerer;
    const QString first = file(QStringLiteral("Doc.dat"));
    const QString second = file(QStringLiteral("second/Other.dat"));
    window.openFile(first);
    window.openFile(second);
    QCOMPARE(AppConfig::instance()->lastOpenPath(), QFileInfo(second).absolutePath());
    QCOMPARE(loadRecentFiles(), (QStringList{second, first}));

    window.openFile(dir.path() + QLatin1String("/second/../Doc.dat"));
    QVERIFY(answerer.boxes.isEmpty());
    QCOMPARE(window.tabWidget()->count(), 2);
    QCOMPARE(window.tabWidget()->currentIndex(), 0);
    QCOMPARE(loadRecentFiles(), (QStringList{first, second}));
    QCOMPARE(AppConfig::instance()->lastOpenPath(), QFileInfo(first).absolutePath());
}

void TestMainWindow::dragEnterAcceptsOnlyOpenableFiles()
{
    MainWindow window;
    auto* emptyPage = window.findChild<QWidget*>(QStringLiteral("emptyPage"));
    QVERIFY(emptyPage);

    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile(file(QStringLiteral("notes.txt"))),
                   QUrl::fromLocalFile(file(QStringLiteral("Doc.dat")))});
    QDragEnterEvent acceptable(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &mixed, Qt::LeftButton, Qt::NoModifier);
    acceptable.setAccepted(false);
    QApplication::sendEvent(emptyPage, &acceptable);
    QVERIFY(acceptable.isAccepted());
    QCOMPARE(acceptable.dropAction(), Qt::CopyAction);

    // A loader-claimed extension is still welcome on the drag; opening it warns.
    QMimeData loaderOnly;
    loaderOnly.setUrls({QUrl::fromLocalFile(file(QStringLiteral("book.pdf")))});
    QDragEnterEvent loaderEnter(QPoint(5, 5), Qt::CopyAction, &loaderOnly, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.tabWidget(), &loaderEnter);
    QVERIFY(loaderEnter.isAccepted());

    QMimeData refused;
    refused.setUrls({QUrl::fromLocalFile(file(QStringLiteral("notes.txt"))), QUrl(QStringLiteral("https://example.org/a.dat"))});
    QDragEnterEvent refusedEnter(QPoint(5, 5), Qt::CopyAction, &refused, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(emptyPage, &refusedEnter);
    QVERIFY(!refusedEnter.isAccepted());
}

void TestMainWindow::dropOpensSupportedAndWarnsAboutTheRest()
{
    MainWindow window;
    ModalAnswerer answerer;
    auto* emptyPage = window.findChild<QWidget*>(QStringLiteral("emptyPage"));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file(QStringLiteral("Doc.dat"))),
                  QUrl::fromLocalFile(file(QStringLiteral("notes.txt"))),
                  QUrl(QStringLiteral("https://example.org/remote.dat"))});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setAccepted(false);
    // Qt hands a drop only to the target of a drag in progress, which a test
    // cannot fake; ask the window's filter directly, as that delivery would.
    QObject* filter = &window;
    QVERIFY(filter->eventFilter(emptyPage, &drop));

    QVERIFY(drop.isAccepted());
    QCOMPARE(window.tabWidget()->count(), 1);
    QCOMPARE(window.tabWidget()->openPaths(), QStringList{file(QStringLiteral("Doc.dat"))});
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().title, QStringLiteral("Unsupported Format"));
}

void TestMainWindow::emptyPageAfterLastTabCloses()
{
    MainWindow window;
    ModalAnswerer answerer;
    window.openFile(file(QStringLiteral("with-bookmarks.dat")));
    window.openFile(file(QStringLiteral("Doc.dat")));
    QSignalSpy spy(&window, &MainWindow::bookmarkCommandsEnabledChanged);

    window.tabWidget()->closeTab(0);
    QVERIFY(window.isShowingTabPage());
    window.tabWidget()->closeTab(0);
    QVERIFY(!window.isShowingTabPage());
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last().first().toBool(), false);
    QVERIFY(!window.currentDocumentSupportsBookmarks());
    for (QWidget* child : window.findChild<QWidget*>(QStringLiteral("toolbarWidget"))->findChildren<QWidget*>())
        QVERIFY(!child->isEnabled());

    // The closed file can be opened again into a fresh tab.
    window.openFile(file(QStringLiteral("Doc.dat")));
    QCOMPARE(window.tabWidget()->count(), 1);
    QVERIFY(window.isShowingTabPage());
}

void TestMainWindow::openDialogStartsInLastFolder()
{
    MainWindow window;
    AppConfig::instance()->setLastOpenPath(dir.path());
    ModalAnswerer answerer;
    QString seenTitle;
    QString seenDirectory;
    QStringList seenFilters;
    answerer.onFileDialog = [&](QFileDialog* dialog) {
        seenTitle = dialog->windowTitle();
        seenDirectory = dialog->directory().absolutePath();
        seenFilters = dialog->nameFilters();
        dialog->selectFile(file(QStringLiteral("Doc.dat")));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it; the base call still reaches it
    };

    window.on_btnOpenFile_clicked();

    QCOMPARE(seenTitle, QStringLiteral("Open Document"));
    QCOMPARE(seenDirectory, QDir(dir.path()).absolutePath());
    QCOMPARE(seenFilters.size(), 2);
    QVERIFY2(seenFilters.first().startsWith(QLatin1String("Supported Documents (")), qPrintable(seenFilters.first()));
    QVERIFY(seenFilters.first().contains(QLatin1String("*.dat")));
    QCOMPARE(seenFilters.last(), QStringLiteral("All Files (*)"));
    QCOMPARE(window.tabWidget()->count(), 1);

    // Cancelling opens nothing.
    answerer.onFileDialog = nullptr;
    window.on_btnOpenFile_clicked();
    QCOMPARE(window.tabWidget()->count(), 1);
}

void TestMainWindow::plusSquareShowsTheOpenDialog()
{
    MainWindow window;
    ModalAnswerer answerer;
    window.openFile(file(QStringLiteral("Doc.dat")));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BrowserTabBar* bar = window.tabWidget()->browserTabBar();
    bar->repaint();

    int dialogs = 0;
    answerer.onFileDialog = [&](QFileDialog* dialog) {
        ++dialogs;
        dialog->reject();
    };
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->plusButtonRect().center());
    QCOMPARE(dialogs, 1);
}

void TestMainWindow::loaderTaskProgressAndFailure()
{
    MainWindow window;
    ModalAnswerer answerer;
    QPointer<TestLoader> loader = new TestLoader;
    window.trackLoader(loader, file(QStringLiteral("book.pdf")));
    QCOMPARE(window.pendingTaskCount(), 1);
    QPointer<DocumentProgressDialog> dialog = window.findChild<DocumentProgressDialog*>();
    QVERIFY(dialog);

    emit loader->progress(1, 3, QStringLiteral("Page 1 of 3"));
    QCOMPARE(dialog->progressValue(), 333);
    QCOMPARE(dialog->statusText(), QStringLiteral("Page 1 of 3"));

    QTest::ignoreMessage(QtWarningMsg, "[Docavel] Open failed: converter crashed");
    emit loader->failed(QStringLiteral("converter crashed"));
    QCOMPARE(window.pendingTaskCount(), 0);
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().title, QStringLiteral("Open Failed"));
    QCOMPARE(answerer.boxes.first().text, QStringLiteral("File error. Unable to open the document."));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(loader.isNull());
    QVERIFY(dialog.isNull());

    // A failure without a message closes quietly.
    QPointer<TestLoader> quiet = new TestLoader;
    window.trackLoader(quiet, file(QStringLiteral("book.pdf")));
    emit quiet->failed(QString());
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(window.pendingTaskCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(quiet.isNull());
}

void TestMainWindow::loaderTaskEndsWithFirstFinalSignal()
{
    MainWindow window;
    ModalAnswerer answerer;
    QPointer<TestLoader> loader = new TestLoader;
    window.trackLoader(loader, file(QStringLiteral("book.pdf")));
    QPointer<DocumentProgressDialog> dialog = window.findChild<DocumentProgressDialog*>();

    QTest::ignoreMessage(QtDebugMsg, "DocumentProgressDialog close");
    emit loader->pdfFileReady(QStringLiteral("/tmp/out.pdf"));
    QCOMPARE(window.pendingTaskCount(), 0);
    QVERIFY(!dialog->isVisible());
    // Whatever the finished loader says afterwards is no longer news.
    emit loader->failed(QStringLiteral("late complaint"));
    emit loader->progress(1, 2, QStringLiteral("late"));
    QVERIFY(answerer.boxes.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(loader.isNull());
    QVERIFY(dialog.isNull());

    QPointer<TestLoader> inMemory = new TestLoader;
    window.trackLoader(inMemory, file(QStringLiteral("book.pdf")));
    emit inMemory->pdfDataReady(QByteArray("%PDF-1.7"));
    QCOMPARE(window.pendingTaskCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(inMemory.isNull());
}

void TestMainWindow::exporterTaskFinishAndFailure()
{
    MainWindow window;
    ModalAnswerer answerer;
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "record");
    auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); });

    QPointer<TestExporter> exporter = new TestExporter;
    window.trackImageExporter(exporter, file(QStringLiteral("book.pdf")));
    QPointer<DocumentProgressDialog> dialog = window.findChild<DocumentProgressDialog*>();
    emit exporter->progress(0, 0, QStringLiteral("Rendering"));
    QVERIFY(dialog->isBusy());
    emit exporter->imageExported(QStringLiteral("/tmp/page1.png"));
    QCOMPARE(window.pendingTaskCount(), 1);
    emit exporter->finished();
    QCOMPARE(window.pendingTaskCount(), 0);
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(file(QStringLiteral("book.pdf")))});
    QVERIFY(answerer.boxes.isEmpty());

    QPointer<TestExporter> failing = new TestExporter;
    window.trackImageExporter(failing, file(QStringLiteral("book.pdf")));
    emit failing->failed(QStringLiteral("Disk full"));
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().title, QStringLiteral("Export Images"));
    QCOMPARE(answerer.boxes.first().text, QStringLiteral("Disk full"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(exporter.isNull());
    QVERIFY(failing.isNull());
    QCOMPARE(recorder.urls.size(), 1);
}

QUORVIA_WIDGET_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
