// What the user sees: the tabs, the open flow of the main window (through the
// test plug-ins found beside this test), the menu, the languages, the frame and
// the two dialogs.

#include "appconfig.h"
#include "appmenu.h"
#include "browsertabbar.h"
#include "browsertabwidget.h"
#include "customwindowframe.h"
#include "documentpluginmanager.h"
#include "documentprogressdialog.h"
#include "host_files.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "openfailuresdialog.h"
#include "recentfiles.h"
#include "support/fake_desktop.h"
#include "support/test_main.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QPalette>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>

namespace {

// Closes the message boxes that come up while it lives, recording them.
struct BoxCloser : QObject
{
    QStringList shown; // "title: text"
    QTimer timer;
    BoxCloser()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                shown << box->windowTitle() + ": " + box->text(), box->done(QMessageBox::Ok);
        });
        timer.start(10);
    }
};

// Keeps the host's "[Docavel]" lines while it lives.
struct LogCapture
{
    static inline QStringList lines;
    QtMessageHandler previous;
    LogCapture()
    {
        lines.clear();
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            if (text.startsWith(QLatin1String("[Docavel] ")))
                lines << text.mid(10);
        });
    }
    ~LogCapture() { qInstallMessageHandler(previous); }
};

// Answers the next open dialog with the names typed into it, recording its
// filters; cancels it when nothing is to be typed.
struct DialogAnswer : QObject
{
    QStringList filters;
    bool shown = false;
    DialogAnswer(const QString& typed = QString())
    {
        QTimer::singleShot(0, this, [this, typed] { answer(typed); });
    }
    void answer(const QString& typed)
    {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, this, [this, typed] { answer(typed); });
            return;
        }
        shown = true;
        filters = dialog->nameFilters();
        if (typed.isEmpty())
            return dialog->reject();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it, QDialog does not
    }
};

// The failures the window lists, "name: reason", after which it closes the
// list; the full path is each name's tip.
QStringList takeFailures(MainWindow& window)
{
    QStringList rows;
    OpenFailuresDialog* dialog = window.openFailuresDialog();
    if (!dialog)
        return rows;
    const auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("failureList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows << item->text(0) + ": " + item->text(1);
        if (QFileInfo(item->toolTip(0)).fileName() != item->text(0) || QFileInfo(item->toolTip(0)).isRelative())
            rows << "tip is not the full path: " + item->toolTip(0);
    }
    dialog->close();
    return rows;
}

class ExposedTabBar : public BrowserTabBar
{
public:
    using BrowserTabBar::tabSizeHint;
    QSize baseHint() const { return QTabBar::tabSizeHint(0); }
};

void addDocument(BrowserTabWidget& tabs, const QString& path)
{
    auto* widget = new QLabel(path);
    tabs.addTab(widget, path);
    if (!path.isEmpty())
        widget->setProperty("sourceFilePath", path), tabs.registerPath(path);
}

// What the menu shows: separators as "--", shortcuts after a tab.
QStringList entries(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible())
            continue;
        QString text = action->isSeparator() ? QStringLiteral("--") : action->iconText();
        if (!action->shortcut().isEmpty() && action->isShortcutVisibleInContextMenu())
            text += '\t' + action->shortcut().toString(QKeySequence::PortableText);
        texts << text;
    }
    return texts;
}

// The commands a test plug-in's widget offers, in order.
QList<QAction*> commandsOf(const QWidget* document)
{
    return document->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
}

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& global, Qt::MouseButtons buttons)
{
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, local, QPointF(global), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A double-click up to, not including, its last release.
void doubleClick(QWidget* target, const QPoint& global)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                              QEvent::MouseButtonDblClick})
        sendMouse(target, type, global, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
}

// A window content that refuses to close while told to.
struct RefusingContent : QLabel
{
    bool refuse = true;
    int asked = 0;
    void closeEvent(QCloseEvent* event) override { ++asked, event->setAccepted(!refuse); }
};

} // namespace

class TestHostWindow : public QObject
{
    Q_OBJECT
    QString file(const QString& name) const { return QDir(dir.path()).absoluteFilePath(name); }
    QTemporaryDir dir;
    testsupport::FakeDesktop desktop;

private slots:
    void initTestCase()
    {
        for (const char* name : {"Doc.dat", "notes.txt", "book.pdf", "fail-message.dat", "fail-silent.dat", "sub/Other.dat",
                                 "a.view", "b.view", "a & b.dat"})
            QVERIFY(hostfiles::write(file(QString::fromLatin1(name))));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.dat")));
        // Named for nothing that a plug-in claims; their content decides.
        for (const char* name : {"renamed.bin", "ATT00001"})
            QVERIFY(hostfiles::write(file(QString::fromLatin1(name)), hostfiles::tnef()));
        QVERIFY(hostfiles::write(file(QStringLiteral("picture.bin")), hostfiles::png()));
    }

    void init()
    {
        QFile::remove(recentFilesPath());
        AppConfig::instance()->setLastOpenPath(QStringLiteral("/initial"));
    }

    void cleanup()
    {
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
        desktop.setMissing(false);
        desktop.setAnswer(0);
    }

    void tabWidths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<int>("expected"); // -1: an equal share of (width - height); -2: the whole name
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("capped at 180") << "a.dat" << 5 << 1000 << 180 << false;
        QTest::newRow("equal share") << "a.dat" << 8 << 1000 << -1 << false;
        QTest::newRow("never below the name") << "document 10.dat" << 60 << 600 << -2 << true;
        QTest::newRow("a long name capped") << QString(60, QLatin1Char('x')) + ".dat" << 2 << 1000 << 180 << false;
    }

    void tabWidths()
    {
        QFETCH(QString, name);
        QFETCH(int, tabs);
        QFETCH(int, barWidth);
        QFETCH(int, expected);
        ExposedTabBar bar;
        for (int i = 0; i < tabs; ++i)
            bar.addTab(name);
        const int height = bar.baseHint().height();
        bar.resize(barWidth, height + 6);
        const int width = expected == -1 ? (barWidth - height) / tabs : expected == -2 ? bar.baseHint().width() : expected;
        QCOMPARE(bar.tabSizeHint(tabs - 1), QSize(width, height));
        QTEST(bar.isOverflowing(), "scrolls");
        bar.resize(height - 1, height); // narrower than a tab is high: Qt's own size
        QCOMPARE(bar.tabSizeHint(0), bar.baseHint());
    }

    // Names that do not fit scroll instead of shrinking to a few letters;
    // the "+" then waits in the corner, else it follows the last tab.
    void scrollingTabs()
    {
        BrowserTabBar empty;
        empty.resize(400, 40);
        QCOMPARE(empty.plusButtonRect(), QRect(5, 5, 30, 30));
        BrowserTabWidget tabs;
        tabs.resize(700, 300);
        for (int i = 0; i < 30; ++i)
            addDocument(tabs, QStringLiteral("/docs/message %1.dat").arg(i));
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        BrowserTabBar* bar = tabs.browserTabBar();
        QSignalSpy clicked(&tabs, &BrowserTabWidget::addFileClicked);
        for (int shown : {30, 2}) {
            while (tabs.count() > shown)
                tabs.closeTab(0);
            const bool scrolls = shown == 30;
            QTRY_COMPARE(bar->isOverflowing(), scrolls);
            QCOMPARE(tabs.cornerAddButton()->isEnabled(), scrolls);
            int arrows = 0;
            for (const QToolButton* button : bar->findChildren<QToolButton*>())
                arrows += button->isVisible();
            QCOMPARE(arrows, scrolls ? 2 : 0);
            for (int i = 0; i < tabs.count(); ++i) {
                const int whole = bar->fontMetrics().horizontalAdvance(tabs.tabText(i));
                QVERIFY2(bar->tabRect(i).width() > whole, qPrintable(tabs.tabText(i)));
            }
            bar->repaint(); // presses are tested against where the square was painted
            const int before = clicked.count();
            QTest::mouseClick(tabs.cornerAddButton(), Qt::LeftButton);
            if (!scrolls) {
                QCOMPARE(bar->plusButtonRect().left(), bar->tabRect(tabs.count() - 1).right() + 1);
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->plusButtonRect().center());
            }
            QCOMPARE(clicked.count(), before + 1);
        }
    }

    void closingTabs()
    {
        BrowserTabWidget tabs;
        for (const char* path : {"/docs/a.dat", "", "/docs/c.dat", "/docs/d.dat"})
            addDocument(tabs, QString::fromLatin1(path));
        QSignalSpy allClosed(&tabs, &BrowserTabWidget::allTabClosed);
        QPointer<QWidget> first = tabs.widget(0);
        emit tabs.tabCloseRequested(0);
        QVERIFY(first.isNull()); // deleted at once
        emit tabs.tabCloseRequested(0); // its widget names no path
        QCOMPARE(tabs.openPaths(), (QStringList{"/docs/c.dat", "/docs/d.dat"}));
        QCOMPARE(tabs.indexOfPath(QStringLiteral("/docs/d.dat")), 1);
        emit tabs.tabCloseRequested(1);
        QCOMPARE(allClosed.count(), 0);
        emit tabs.tabCloseRequested(0);
        tabs.closeTab(0);
        QCOMPARE(allClosed.count(), 1);
        QVERIFY(tabs.openPaths().isEmpty());
    }

    void openWarnings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("logged"); // after "Refused <path>: "
        const QString unsupported = "No document plugin can open this file.";
        const QString refused = "Test plug-in refused the file";
        QTest::newRow("missing") << "absent.dat" << "File does not exist." << "it does not exist";
        QTest::newRow("unclaimed") << "notes.txt" << unsupported << "no plug-in claims the suffix .txt or the type text/plain";
        QTest::newRow("loader only") << "book.pdf" << unsupported
                                     << "only libtp_loader.so claims it by the suffix .pdf, and it shows nothing in a window";
        QTest::newRow("folder") << "folder.dat" << "This is a folder, not a file." << "it is not a regular file";
        QTest::newRow("plug-in message") << "fail-message.dat" << refused
                                         << "libtp_widget_dat.so (by the suffix .dat) could not open it: "
                                            "Test plug-in refused the file";
        QTest::newRow("no message") << "fail-silent.dat" << "File error. Unable to open the document."
                                    << "libtp_widget_dat.so (by the suffix .dat) could not open it: no reason given";
    }

    void openWarnings()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QFETCH(QString, logged);
        MainWindow window;
        BoxCloser boxes;
        LogCapture log;
        window.openFile(file(name));
        QCOMPARE(takeFailures(window), QStringList{name + ": " + shown});
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(log.lines, QStringList{QStringLiteral("Refused \"%1\": %2").arg(file(name), logged)});
        QVERIFY(window.tabWidget()->count() == 0 && !window.isShowingTabPage() && loadRecentFiles().isEmpty());
        QCOMPARE(AppConfig::instance()->lastOpenPath(), QStringLiteral("/initial"));
    }

    void openFlow()
    {
        MainWindow window;
        BoxCloser boxes;
        LogCapture log;
        const QString doc = file(QStringLiteral("Doc.dat"));
        const QString other = file(QStringLiteral("sub/Other.dat"));
        window.openFile(doc);
        window.openFile(other);
        BrowserTabWidget* tabs = window.tabWidget();
        QCOMPARE(tabs->count(), 2);
        QVERIFY(tabs->tabText(0) == "Doc.dat" && tabs->widget(0)->objectName() == "tp_widget_dat");
        QCOMPARE(AppConfig::instance()->lastOpenPath(), QFileInfo(other).path());

        // Opening it again switches to its tab and still counts as a use.
        window.openFile(file(QStringLiteral("sub/../Doc.dat")));
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(loadRecentFiles(), (QStringList{doc, other}));
        QCOMPARE(AppConfig::instance()->lastOpenPath(), dir.path());
        QVERIFY(boxes.shown.isEmpty());
        const QString opened = QStringLiteral("Opened \"%1\" with libtp_widget_dat.so (by the suffix .dat)");
        QCOMPARE(log.lines, (QStringList{opened.arg(doc), opened.arg(other), QStringLiteral("Already open: \"%1\"").arg(doc)}));

        tabs->closeTab(0);
        QVERIFY(window.isShowingTabPage());
        tabs->closeTab(0);
        QVERIFY(!window.isShowingTabPage());
    }

    // The open dialog offers the claimed types' patterns, and what is chosen
    // there opens by the same rule as everywhere: by content when no plug-in
    // claims the suffix.
    void openDialog()
    {
        MainWindow window;
        BoxCloser boxes;
        AppConfig::instance()->setLastOpenPath(dir.path());
        DialogAnswer answer(QStringLiteral("\"renamed.bin\" \"ATT00001\" \"picture.bin\""));
        window.on_btnOpenFile_clicked();
        QCOMPARE(answer.filters.value(0), QStringLiteral("Supported Documents (*.book *.dat *.mailx *.pdf *.tnef *.tnf "
                                                           "*.upper *.view *.xps winmail.dat)"));
        QCOMPARE(window.tabWidget()->openPaths(), (QStringList{file("renamed.bin"), file("ATT00001")}));
        QCOMPARE(window.tabWidget()->widget(1)->objectName(), QStringLiteral("tp_widget_mime"));
        QCOMPARE(takeFailures(window), QStringList{"picture.bin: No document plugin can open this file."});
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(loadRecentFiles(), (QStringList{file("ATT00001"), file("renamed.bin")}));
    }

    void drops_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<bool>("accepted"); // by the drag-enter check
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("failures");
        QTest::newRow("only unsupported") << QStringList{"notes.txt", "picture.bin"} << false << QStringList() << 2;
        QTest::newRow("mixed") << QStringList{"Doc.dat", "notes.txt"} << true << QStringList{"Doc.dat"} << 1;
        QTest::newRow("by content") << QStringList{"picture.bin", "ATT00001", "renamed.bin"} << true
                                    << QStringList{"ATT00001", "renamed.bin"} << 1;
    }
    void drops()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, opened);
        MainWindow window;
        BoxCloser boxes;
        auto* emptyPage = window.findChild<QWidget*>(QStringLiteral("emptyPage"));
        QVERIFY(emptyPage);
        QList<QUrl> urls{QUrl(QStringLiteral("https://veltrano.example/remote.dat"))}; // not a local file: skipped
        for (const QString& name : dropped)
            urls << QUrl::fromLocalFile(file(name));
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(emptyPage, &enter);
        QTEST(enter.isAccepted(), "accepted");
        // Qt delivers a drop only during a real drag; the window's filter gets it
        // as that delivery would.
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(static_cast<QObject&>(window).eventFilter(emptyPage, &drop));
        QVERIFY(drop.isAccepted());
        QStringList openedPaths;
        for (const QString& name : opened)
            openedPaths << file(name);
        QCOMPARE(window.tabWidget()->openPaths(), openedPaths);
        QTEST(int(takeFailures(window).size()), "failures");
        QVERIFY(boxes.shown.isEmpty());
    }

    // The failures of one batch in one list, in the interface language;
    // those of a batch arriving while it is shown join it.
    void failureList()
    {
        MainWindow window;
        BoxCloser boxes;
        window.show();
        window.openFiles({file("absent.dat"), file("Doc.dat"), file("notes.txt"), file("folder.dat")});
        QPointer<OpenFailuresDialog> dialog = window.openFailuresDialog();
        QVERIFY(dialog && dialog->isVisible() && dialog->windowModality() == Qt::WindowModal);
        QCOMPARE(window.tabWidget()->count(), 1);
        const auto* heading = dialog->findChild<QLabel*>(QStringLiteral("headingLabel"));
        QCOMPARE(heading->text(), QStringLiteral("3 files could not be opened."));
        window.openFiles({file("notes.txt"), file("fail-silent.dat")}); // a hand-off, say
        QCOMPARE(window.openFailuresDialog(), dialog.data());
        QCOMPARE(heading->text(), QStringLiteral("4 files could not be opened."));
        QCOMPARE(takeFailures(window), (QStringList{"absent.dat: File does not exist.",
                                                    "notes.txt: No document plugin can open this file.",
                                                    "folder.dat: This is a folder, not a file.",
                                                    "fail-silent.dat: File error. Unable to open the document."}));
        QTRY_VERIFY(dialog.isNull()); // deleted once closed
        window.openFiles({file("Doc.dat"), file("sub/Other.dat")});
        QVERIFY(!window.openFailuresDialog());

        MultiLanguage::instance()->switchLanguage(5);
        window.openFiles({file("absent.dat")});
        QCOMPARE(window.openFailuresDialog()->windowTitle(), QStringLiteral("Öffnen fehlgeschlagen"));
        QCOMPARE(window.openFailuresDialog()->findChild<QLabel*>(QStringLiteral("headingLabel"))->text(),
                 QStringLiteral("1 Datei konnte nicht geöffnet werden."));
        QCOMPARE(takeFailures(window), QStringList{"absent.dat: Die Datei existiert nicht."});
        QVERIFY(boxes.shown.isEmpty());
    }

    // A reason cut short by "…" could read as another reason.
    void longReasonShownWhole()
    {
        OpenFailuresDialog dialog;
        const QString reason = QStringLiteral("Dies ist weder eine TNEF-Datei (winmail.dat) noch eine Outlook-Nachricht (.msg).");
        dialog.addFailure(QStringLiteral("/tmp/Bericht.dat"), reason);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("failureList"));
        QVERIFY(list->header()->sectionSize(1) > list->fontMetrics().horizontalAdvance(reason));
    }

    // The guide goes to the desktop through xdg-open, without waiting for
    // it; when nothing can show it the window says so, and where it lies.
    void userGuideWithoutProgram_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("told");
        QTest::newRow("shown") << false << 0 << false;
        QTest::newRow("no program for web pages") << false << 3 << true;
        QTest::newRow("no xdg-open at all") << true << 0 << true;
    }
    void userGuideWithoutProgram()
    {
        QFETCH(bool, missing);
        QFETCH(int, status);
        QFETCH(bool, told);
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        frame.show();
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        desktop.setMissing(missing);
        desktop.setAnswer(status);
        desktop.takeOpened();
        frame.appMenu()->helpAction(AppMenu::UserGuideId)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!told || frame.findChild<QMessageBox*>("userGuideUnavailable"), 20000);
        const QList<QUrl> opened = desktop.waitOpened(missing ? 0 : 1);
        QCOMPARE(opened.size(), missing ? 0 : 1);
        QVERIFY(missing || opened.first().fileName() == "user-guide.html");
        auto* box = frame.findChild<QMessageBox*>("userGuideUnavailable");
        if (!told) {
            QTest::qWait(200);
            QVERIFY(!frame.findChild<QMessageBox*>("userGuideUnavailable"));
            return;
        }
        QVERIFY(box->isVisible() && box->windowModality() == Qt::WindowModal);
        QVERIFY2(box->text().startsWith("No program on this computer is set up to show web pages")
                     && box->text().contains(QDir::toNativeSeparators(QApplication::applicationDirPath() + "/docs/user-guide.html")),
                 qPrintable(box->text()));
        box->button(QMessageBox::Close)->click();
        QTRY_VERIFY(!frame.findChild<QMessageBox*>("userGuideUnavailable"));
    }

    void menuEntries()
    {
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        AppMenu& menu = *frame.appMenu();
        QCOMPARE(entries(menu.menu()), (QStringList{"Recent Files", "--", "Language", "--", "User Guide\tF1",
                                                   "Feedback and Support", "Show Log Folder", "Check for Updates",
                                                   "About"}));
        emit menu.recentFilesMenu()->aboutToShow();
        QCOMPARE(entries(menu.recentFilesMenu()), QStringList{"No Recent Files"});
        // Rebuilt on each showing: numbered from 1, file names, full paths as tips.
        saveRecentFiles({QStringLiteral("/mail/a & b.dat"), QStringLiteral("/old/winmail.dat")});
        emit menu.recentFilesMenu()->aboutToShow();
        QCOMPARE(entries(menu.recentFilesMenu()), (QStringList{"1. a & b.dat", "2. winmail.dat"}));
        QCOMPARE(menu.recentFilesMenu()->actions().at(1)->toolTip(), QStringLiteral("/old/winmail.dat"));
        // A file gone missing is reported and keeps its place.
        menu.recentFilesMenu()->actions().at(1)->trigger();
        QCOMPARE(takeFailures(*window), QStringList{"winmail.dat: File does not exist."});
        QCOMPARE(loadRecentFiles(), (QStringList{"/mail/a & b.dat", "/old/winmail.dat"}));
        QCOMPARE(window->tabWidget()->count(), 0);
        // One that needs its content to be recognised opens the same way.
        saveRecentFiles({file(QStringLiteral("renamed.bin"))});
        emit menu.recentFilesMenu()->aboutToShow();
        menu.recentFilesMenu()->actions().at(0)->trigger();
        QCOMPARE(window->tabWidget()->openPaths(), QStringList{file(QStringLiteral("renamed.bin"))});

        // A language chosen there is kept and shown at once, in the frame too.
        QCOMPARE(entries(menu.languageMenu()), (QStringList{"English", "Français", "Português", "Italiano", "Deutsch",
                                                            "Español", "日本語"}));
        menu.languageMenu()->actions().at(4)->trigger();
        QCOMPARE(AppConfig::instance()->language(), 5);
        QVERIFY(menu.languageMenu()->actions().at(4)->isChecked());
        QCOMPARE(menu.recentFilesMenu()->title(), QStringLiteral("Zuletzt geöffnete Dateien"));
        QCOMPARE(frame.findChild<QPushButton*>(QStringLiteral("btn_close"))->toolTip(), QStringLiteral("Schließen"));
    }

    // The current tab's commands follow "Recent Files", in the plug-in's
    // order, with their shortcuts; a tab without any lists none.
    void documentCommands()
    {
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        QMenu* menu = frame.appMenu()->menu();
        const QStringList before = entries(menu);
        const QStringList commands{"--", "Print\tCtrl+P", "Export as PDF", "--", "Find\tCtrl+F",
                                   "Zoom In\tCtrl++", "Zoom Out\tCtrl+-", "Actual Size\tCtrl+0",
                                   "Save Attachment\tCtrl+S", "Save All Attachments\tCtrl+Shift+S",
                                   "Properties\tAlt+Return"};
        const QStringList withCommands = QStringList{before.first()} + commands + before.mid(1);
        window->openFiles({file("a.view"), file("Doc.dat"), file("b.view")});
        QCOMPARE(entries(menu), withCommands);
        QCOMPARE(menu->actions().mid(2, 10), commandsOf(window->tabWidget()->widget(2)));
        window->tabWidget()->setCurrentIndex(1);
        QCOMPARE(entries(menu), before);
        window->tabWidget()->setCurrentIndex(0);
        QCOMPARE(entries(menu), withCommands);
        QCOMPARE(menu->actions().mid(2, 10), commandsOf(window->tabWidget()->widget(0)));
        window->tabWidget()->closeTab(0); // its commands go with it
        QCOMPARE(entries(menu), before);
    }

    // A plug-in's in-memory document opens in a tab of its own under the
    // title and tool tip it gives, adds no recent file, and a second open
    // of the same key switches to that tab; a refusal is reported.
    void inMemoryDocuments()
    {
        MainWindow window;
        window.documentPluginManager()->loadPlugin(QString::fromUtf8(TP_DATA));
        QVERIFY(hostfiles::write(file("outer.inner"), "the inner bytes"));
        QVERIFY(hostfiles::write(file("broken.inner"), "fail here"));
        window.openFiles({file("outer.inner")});
        QCOMPARE(window.tabWidget()->count(), 1);
        const QStringList recent = loadRecentFiles();
        auto* button = qobject_cast<QPushButton*>(window.tabWidget()->widget(0));
        QVERIFY(button);
        button->click();
        QCOMPARE(window.tabWidget()->count(), 2);
        QCOMPARE(window.tabWidget()->currentIndex(), 1);
        QCOMPARE(window.tabWidget()->tabText(1), QStringLiteral("Inside outer.inner"));
        QCOMPARE(window.tabWidget()->tabToolTip(1), QStringLiteral("outer.inner \u203A Inside"));
        auto* inside = qobject_cast<QLabel*>(window.tabWidget()->widget(1));
        QVERIFY(inside);
        QCOMPARE(inside->text(), QStringLiteral("outer.inner: the inner bytes"));
        QCOMPARE(loadRecentFiles(), recent);

        window.tabWidget()->setCurrentIndex(0);
        button->click();
        QCOMPARE(window.tabWidget()->count(), 2);
        QCOMPARE(window.tabWidget()->currentIndex(), 1);
        // Closed, it opens afresh.
        window.tabWidget()->closeTab(1);
        button->click();
        QCOMPARE(window.tabWidget()->count(), 2);

        window.openFiles({file("broken.inner")});
        QCOMPARE(window.tabWidget()->count(), 3);
        qobject_cast<QPushButton*>(window.tabWidget()->widget(2))->click();
        QCOMPARE(window.tabWidget()->count(), 3);
        QVERIFY(window.openFailuresDialog());
        QCOMPARE(window.openFailuresDialog()->failureCount(), 1);
    }

    void shortcuts_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("effect");
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        // Tabs: a.view, b.view (both with the same commands), Doc.dat (none).
        QTest::newRow("Ctrl+P, this tab's print") << 1 << int(Qt::Key_P) << ctrl << "print in b.view";
        QTest::newRow("Ctrl+F") << 0 << int(Qt::Key_F) << ctrl << "find in a.view";
        QTest::newRow("Ctrl++") << 0 << int(Qt::Key_Plus) << ctrl << "zoomIn in a.view";
        QTest::newRow("Ctrl+=") << 1 << int(Qt::Key_Equal) << ctrl << "zoomIn in b.view";
        QTest::newRow("Ctrl+-") << 0 << int(Qt::Key_Minus) << ctrl << "zoomOut in a.view";
        QTest::newRow("Ctrl+0") << 0 << int(Qt::Key_0) << ctrl << "zoomReset in a.view";
        QTest::newRow("Ctrl+S") << 0 << int(Qt::Key_S) << ctrl << "saveAttachment in a.view";
        QTest::newRow("Ctrl+Shift+S") << 0 << int(Qt::Key_S) << (ctrl | shift) << "saveAllAttachments in a.view";
        QTest::newRow("Alt+Return") << 1 << int(Qt::Key_Return) << int(Qt::AltModifier) << "properties in b.view";
        QTest::newRow("no commands in this tab") << 2 << int(Qt::Key_P) << ctrl << "";
        QTest::newRow("Ctrl+W, the host's") << 0 << int(Qt::Key_W) << ctrl << "closed a.view";
        QTest::newRow("Ctrl+Tab") << 0 << int(Qt::Key_Tab) << ctrl << "now b.view";
        QTest::newRow("Ctrl+Tab wraps") << 2 << int(Qt::Key_Tab) << ctrl << "now a.view";
        QTest::newRow("Ctrl+Shift+Tab wraps") << 0 << int(Qt::Key_Backtab) << (ctrl | shift) << "now Doc.dat";
        QTest::newRow("Ctrl+PgDown") << 1 << int(Qt::Key_PageDown) << ctrl << "now Doc.dat";
        QTest::newRow("Ctrl+PgUp") << 1 << int(Qt::Key_PageUp) << ctrl << "now a.view";
        QTest::newRow("Ctrl+O") << 0 << int(Qt::Key_O) << ctrl << "open dialog";
        QTest::newRow("Ctrl+Q") << 0 << int(Qt::Key_Q) << ctrl << "quit";
        QTest::newRow("F1") << 2 << int(Qt::Key_F1) << 0 << "user guide";
    }

    // Each key, pressed where the focus is, does its one thing. The main
    // window on its own carries the document's keys; the frame adds its own
    // (and its menu's).
    void shortcuts()
    {
        QFETCH(int, current);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, effect);
        auto* window = new MainWindow;
        const bool framed = effect == "quit" || effect == "user guide";
        std::unique_ptr<QWidget> top(framed ? static_cast<QWidget*>(new CustomWindowFrame(window)) : window);
        auto* close = top->findChild<QPushButton*>(QStringLiteral("btn_close"));
        QVERIFY(!close || close->disconnect(qApp)); // the test would end here
        window->openFiles({file("a.view"), file("b.view"), file("Doc.dat")});
        BrowserTabWidget* tabs = window->tabWidget();
        tabs->setCurrentIndex(current);
        top->show();
        QApplication::setActiveWindow(top.get());
        QVERIFY(QTest::qWaitForWindowActive(top.get()));

        QStringList effects;
        for (int i = 0; i < tabs->count(); ++i) {
            for (QAction* action : commandsOf(tabs->widget(i))) {
                connect(action, &QAction::triggered, this, [&effects, action, name = tabs->tabText(i)] {
                    effects << action->objectName() + " in " + name;
                });
            }
        }
        if (close)
            connect(close, &QPushButton::clicked, this, [&effects] { effects << "quit"; });
        desktop.takeOpened();
        DialogAnswer dialog;
        const QString name = tabs->tabText(current);

        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : tabs->currentWidget(),
                        Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (tabs->count() < 3)
            effects << "closed " + name;
        else if (tabs->currentIndex() != current)
            effects << "now " + tabs->tabText(tabs->currentIndex());
        if (dialog.shown)
            effects << "open dialog";
        const QList<QUrl> opened = desktop.waitOpened(effect == "user guide" ? 1 : 0);
        if (opened.size() == 1 && opened.first().fileName() == "user-guide.html")
            effects << "user guide";
        QCOMPARE(effects.join(", "), effect);
    }

    // "Subject — Veltrano Quorvia" for the current tab, the file name for a
    // document without a title, the product alone without tabs.
    // The title bar keeps its light grey on a dark desktop palette, so its
    // text must keep a dark colour too, or the title turns light on light.
    void titleReadableOnDarkPalette()
    {
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        QApplication::setPalette(dark);
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* label = frame.findChild<QLabel*>(QStringLiteral("label_title"));
        const QColor text = label->palette().color(label->foregroundRole());
        QApplication::setPalette(before);
        QVERIFY2(text.lightness() < 100, qPrintable(text.name()));
    }

    void windowTitle()
    {
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const auto* label = frame.findChild<QLabel*>(QStringLiteral("label_title"));
        const int minimumWidth = frame.minimumSizeHint().width();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Veltrano Quorvia"));
        window->openFiles({file("a.view"), file("a & b.dat")});
        BrowserTabWidget* tabs = window->tabWidget();
        QCOMPARE(frame.windowTitle(), QStringLiteral("a & b.dat \u2014 Veltrano Quorvia"));
        QCOMPARE(label->text(), frame.windowTitle());
        QCOMPARE(tabs->tabText(1), QStringLiteral("a && b.dat")); // no shortcut letter
        QCOMPARE(tabs->tabToolTip(1), file("a & b.dat"));
        tabs->setCurrentIndex(0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Subject of a.view \u2014 Veltrano Quorvia"));
        // The view retitles itself: followed while its tab is current.
        tabs->widget(1)->setWindowTitle(QStringLiteral("Not current"));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Subject of a.view \u2014 Veltrano Quorvia"));
        const QString subject = QStringLiteral("Re:\tQ3 plan ") + QString(400, QLatin1Char('x'));
        tabs->widget(0)->setWindowTitle(subject);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Re: Q3 plan %1 \u2014 Veltrano Quorvia").arg(QString(400, 'x')));
        // A long subject is shortened in the title bar and widens nothing.
        QVERIFY(label->text().endsWith(QChar(0x2026)) && label->toolTip() == frame.windowTitle());
        QCOMPARE(frame.minimumSizeHint().width(), minimumWidth);
        tabs->closeTab(1);
        tabs->closeTab(0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Veltrano Quorvia"));
        QCOMPARE(label->text(), frame.windowTitle());
    }

    void translations_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("en") << 1 << "en";
        QTest::newRow("fr") << 2 << "fr";
        QTest::newRow("pt") << 3 << "pt";
        QTest::newRow("it") << 4 << "it";
        QTest::newRow("de") << 5 << "de";
        QTest::newRow("es") << 6 << "es";
        QTest::newRow("ja") << 7 << "ja";
        QTest::newRow("0 is English") << 0 << "en";
        QTest::newRow("9 is English") << 9 << "en";
    }

    void translations()
    {
        QFETCH(int, id);
        QFETCH(QString, suffix);
        MultiLanguage::instance()->switchLanguage(7); // so that a switch left undone shows
        MultiLanguage::instance()->switchLanguage(id);
        QCOMPARE(MultiLanguage::instance()->hostTranslator()->language(), suffix);
        QCOMPARE(MultiLanguage::instance()->qtTranslator()->isEmpty(), suffix == "en"); // Qt's own texts
        // Every text of the source file is finished and translated.
        QFile ts(QStringLiteral(QUORVIA_SOURCE_DIR "/main/translations/Translation_%1.ts").arg(suffix));
        QVERIFY(ts.open(QIODevice::ReadOnly));
        static const QRegularExpression unfinished(QStringLiteral("type=\"|<translation>\\s*</|<numerusform>\\s*</"));
        const QRegularExpressionMatch match = unfinished.match(QString::fromUtf8(ts.readAll()));
        QVERIFY2(!match.hasMatch(), qPrintable(match.captured()));
    }

    void frameEdges_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("edges");
        QTest::addColumn<Qt::CursorShape>("shape");
        // Of a window at (100, 100) sized 400 x 300: right() is 499, bottom() 399.
        QTest::newRow("top-left") << QPoint(103, 103) << int(CustomWindowFrame::TopEdge | CustomWindowFrame::LeftEdge)
                                  << Qt::SizeFDiagCursor;
        QTest::newRow("bottom-left") << QPoint(101, 398)
                                     << int(CustomWindowFrame::BottomEdge | CustomWindowFrame::LeftEdge)
                                     << Qt::SizeBDiagCursor;
        QTest::newRow("right, 3 px in") << QPoint(496, 250) << int(CustomWindowFrame::RightEdge) << Qt::SizeHorCursor;
        QTest::newRow("right, 4 px in") << QPoint(495, 250) << 0 << Qt::ArrowCursor;
        QTest::newRow("just outside") << QPoint(99, 250) << 0 << Qt::ArrowCursor;
    }

    void frameEdges()
    {
        QFETCH(QPoint, pos);
        const auto found = CustomWindowFrame::edgesAt(QRect(100, 100, 400, 300), pos);
        QTEST(int(found), "edges");
        QTEST(CustomWindowFrame::cursorShapeFor(found), "shape");
    }

    void frameResizeLimits()
    {
        // Never below the minimum, and the far side stays put.
        const QSize min(300, 200), max(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const QRect start(100, 100, 400, 300);
        QCOMPARE(CustomWindowFrame::resizedGeometry(start, CustomWindowFrame::LeftEdge, {900, 0}, min, max), QRect(200, 100, 300, 300));
        QCOMPARE(CustomWindowFrame::resizedGeometry(start, CustomWindowFrame::TopEdge, {0, 250}, min, max), QRect(100, 200, 400, 200));
    }

    void frameMaximiseDragClose()
    {
        auto* content = new RefusingContent;
        content->setMinimumSize(300, 200); // small enough that maximising changes the geometry
        CustomWindowFrame frame(content);
        frame.move(70, 60);
        frame.resize(420, 320);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QRect normal = frame.geometry();
        auto* title = frame.findChild<QWidget*>(QStringLiteral("frame_title"));
        const QPoint grip = title->mapToGlobal(QPoint(60, 10));
        doubleClick(&frame, grip);
        // The second press begins no drag: moving before the release must not
        // restore the window just maximised.
        sendMouse(&frame, QEvent::MouseMove, grip + QPoint(30, 2), Qt::LeftButton);
        sendMouse(&frame, QEvent::MouseButtonRelease, grip + QPoint(30, 2), Qt::NoButton);
        QTRY_COMPARE(frame.geometry(), frame.screen()->availableGeometry());
        const QPoint maxGrip = title->mapToGlobal(QPoint(60, 10));
        doubleClick(&frame, maxGrip);
        sendMouse(&frame, QEvent::MouseButtonRelease, maxGrip, Qt::NoButton);
        QTRY_COMPARE(frame.geometry(), normal);
        doubleClick(&frame, normal.center()); // not on the title bar
        QVERIFY(!frame.isFrameMaximized());

        // Dragged by its title bar three quarters across, it is restored with
        // the same fraction under the cursor, 10 px below its top.
        frame.toggleMaximized();
        QTRY_COMPARE(frame.geometry(), frame.screen()->availableGeometry());
        const QRect maximised = frame.geometry();
        const QPoint from(maximised.x() + maximised.width() * 3 / 4, title->mapToGlobal(QPoint(0, 12)).y());
        const QPoint to = from + QPoint(-6, 30);
        sendMouse(&frame, QEvent::MouseButtonPress, from, Qt::LeftButton);
        sendMouse(&frame, QEvent::MouseMove, to, Qt::LeftButton);
        const double fraction = double(to.x() - maximised.x()) / maximised.width();
        QTRY_COMPARE(frame.geometry(), QRect(QPoint(to.x() - int(normal.width() * fraction), to.y() - 10), normal.size()));
        sendMouse(&frame, QEvent::MouseButtonRelease, to, Qt::NoButton);

        // Closed other than by its button, the frame asks its content first.
        QVERIFY(!frame.close() && frame.isVisible());
        content->refuse = false;
        QVERIFY(frame.close() && !frame.isVisible());
        QCOMPARE(content->asked, 2);
    }

    void progressValues_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("value"); // -1: busy
        QTest::newRow("a third") << 1 << 3 << 333;
        QTest::newRow("past the end") << 5 << 4 << 1000;
        QTest::newRow("negative") << -3 << 10 << 0;
        QTest::newRow("no overflow") << 2000000000 << 2100000000 << 952;
        QTest::newRow("unknown total") << 0 << 0 << -1;
    }

    void progressValues()
    {
        QFETCH(int, current);
        QFETCH(int, total);
        QFETCH(int, value);
        DocumentProgressDialog dialog;
        dialog.show();
        dialog.onProgress(current, total, QStringLiteral("Page"));
        QCOMPARE(dialog.isBusy(), value < 0);
        if (value >= 0)
            QCOMPARE(dialog.progressValue(), value);
        dialog.onFinished(false);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.progressValue(), 1000);
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestHostWindow)
#include "tst_host_window.moc"
