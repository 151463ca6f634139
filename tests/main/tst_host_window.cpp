// What the user sees: the tabs, the open flow of the main window (through the
// test plug-ins found beside this test), the menu, the languages, the frame and
// the two dialogs.

#include "about.h"
#include "appconfig.h"
#include "appmenu.h"
#include "browsertabbar.h"
#include "browsertabwidget.h"
#include "customwindowframe.h"
#include "documentprogressdialog.h"
#include "host_files.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "recentfiles.h"
#include "support/test_main.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTranslator>

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
// filters.
struct DialogAnswer : QObject
{
    QStringList filters;
    DialogAnswer(const QString& typed)
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
        filters = dialog->nameFilters();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it, QDialog does not
    }
};

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

QStringList entries(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("--") : action->iconText());
    return texts;
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

private slots:
    void initTestCase()
    {
        for (const char* name : {"Doc.dat", "notes.txt", "book.pdf", "fail-message.dat", "fail-silent.dat", "sub/Other.dat"})
            QVERIFY(hostfiles::write(file(QString::fromLatin1(name))));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder.dat")));
        // Named for nothing that a plug-in claims; their content decides.
        for (const char* name : {"renamed.bin", "ATT00001", "fail-message.bin"})
            QVERIFY(hostfiles::write(file(QString::fromLatin1(name)), hostfiles::tnef()));
        QVERIFY(hostfiles::write(file(QStringLiteral("picture.bin")), hostfiles::png()));
        QVERIFY(hostfiles::write(file(QStringLiteral("scan.bin")), hostfiles::pdf()));
    }

    void init()
    {
        QFile::remove(recentFilesPath());
        AppConfig::instance()->setLastOpenPath(QStringLiteral("/initial"));
    }

    void cleanup()
    {
        MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
    }

    void tabWidths_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<int>("expected"); // -1: an equal share of (width - height)
        QTest::newRow("capped at 180") << 5 << 1000 << 180;
        QTest::newRow("equal share") << 10 << 1000 << -1;
        QTest::newRow("floor of 18") << 60 << 600 << 18;
    }

    void tabWidths()
    {
        QFETCH(int, tabs);
        QFETCH(int, barWidth);
        QFETCH(int, expected);
        ExposedTabBar bar;
        for (int i = 0; i < tabs; ++i)
            bar.addTab(QStringLiteral("document %1.dat").arg(i));
        const int height = bar.baseHint().height();
        bar.resize(barWidth, height + 6);
        QCOMPARE(bar.tabSizeHint(tabs - 1), QSize(expected < 0 ? (barWidth - height) / tabs : expected, height));
        bar.resize(height - 1, height); // narrower than a tab is high: Qt's own size
        QCOMPARE(bar.tabSizeHint(0), bar.baseHint());
    }

    void plusSquare()
    {
        BrowserTabBar empty;
        empty.resize(400, 40);
        QCOMPARE(empty.plusButtonRect(), QRect(5, 5, 30, 30));

        BrowserTabWidget tabs;
        tabs.resize(800, 300);
        addDocument(tabs, QStringLiteral("/docs/a.dat"));
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        BrowserTabBar* bar = tabs.browserTabBar();
        bar->repaint(); // presses are tested against where the square was painted
        QCOMPARE(bar->plusButtonRect().left(), bar->tabRect(0).right() + 1);
        QSignalSpy clicked(&tabs, &BrowserTabWidget::addFileClicked);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        QCOMPARE(clicked.count(), 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->plusButtonRect().center());
        QCOMPARE(clicked.count(), 1);
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
        const QString unsupported = "Unsupported Format: No document plugin can open this file.";
        const QString refused = "Open Failed: Test plug-in refused the file";
        QTest::newRow("missing") << "absent.dat" << "Open Failed: File does not exist." << "it does not exist";
        QTest::newRow("unclaimed") << "notes.txt" << unsupported << "no plug-in claims the suffix .txt or the type text/plain";
        QTest::newRow("loader only") << "book.pdf" << unsupported
                                     << "only libtp_loader.so claims it by the suffix .pdf, and it shows nothing in a window";
        QTest::newRow("loader only, by content") << "scan.bin" << unsupported
                                                 << "only libtp_loader_mime.so claims it by the type application/pdf, "
                                                    "and it shows nothing in a window";
        QTest::newRow("PNG renamed") << "picture.bin" << unsupported << "no plug-in claims the suffix .bin or the type image/png";
        QTest::newRow("folder") << "folder.dat" << unsupported << "it is not a regular file";
        QTest::newRow("plug-in message") << "fail-message.dat" << refused
                                         << "libtp_widget_dat.so (by the suffix .dat) could not open it: "
                                            "Test plug-in refused the file";
        QTest::newRow("by content, plug-in message") << "fail-message.bin" << refused
                                                     << "libtp_widget_mime.so (by the type application/vnd.ms-tnef) "
                                                        "could not open it: Test plug-in refused the file";
        QTest::newRow("no message") << "fail-silent.dat" << "Open Failed: File error. Unable to open the document."
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
        QCOMPARE(boxes.shown, QStringList{shown});
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
                                                           "*.upper *.xps winmail.dat)"));
        QCOMPARE(window.tabWidget()->openPaths(), (QStringList{file("renamed.bin"), file("ATT00001")}));
        QCOMPARE(window.tabWidget()->widget(1)->objectName(), QStringLiteral("tp_widget_mime"));
        QCOMPARE(boxes.shown, QStringList{"Unsupported Format: No document plugin can open this file."});
        QCOMPARE(loadRecentFiles(), (QStringList{file("ATT00001"), file("renamed.bin")}));
    }

    void drops_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<bool>("accepted"); // by the drag-enter check
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("warnings");
        QTest::newRow("only unsupported") << QStringList{"notes.txt", "picture.bin"} << false << QStringList() << 2;
        QTest::newRow("mixed") << QStringList{"Doc.dat", "notes.txt"} << true << QStringList{"Doc.dat"} << 1;
        QTest::newRow("by content") << QStringList{"picture.bin", "ATT00001", "renamed.bin"} << true
                                    << QStringList{"ATT00001", "renamed.bin"} << 1;
    }
    void drops()
    {
        QFETCH(QStringList, dropped);
        QFETCH(bool, accepted);
        QFETCH(QStringList, opened);
        QFETCH(int, warnings);
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
        QCOMPARE(enter.isAccepted(), accepted);
        // Qt delivers a drop only during a real drag; the window's filter gets it
        // as that delivery would.
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(static_cast<QObject&>(window).eventFilter(emptyPage, &drop));
        QVERIFY(drop.isAccepted());
        QStringList openedPaths;
        for (const QString& name : opened)
            openedPaths << file(name);
        QCOMPARE(window.tabWidget()->openPaths(), openedPaths);
        QCOMPARE(boxes.shown.size(), warnings);
    }

    void menuEntries()
    {
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        AppMenu& menu = *frame.appMenu();
        QCOMPARE(entries(menu.menu()), (QStringList{"Recent Files", "--", "Language", "--", "User Guide",
                                                   "Feedback and Support", "Show Log Folder", "Check for Updates",
                                                   "About"}));
        emit menu.recentFilesMenu()->aboutToShow();
        QCOMPARE(entries(menu.recentFilesMenu()), QStringList{"No Recent Files"});
        // Rebuilt on each showing: numbered from 1, file names, full paths as tips.
        saveRecentFiles({QStringLiteral("/mail/a & b.dat"), QStringLiteral("/old/winmail.dat")});
        emit menu.recentFilesMenu()->aboutToShow();
        QCOMPARE(entries(menu.recentFilesMenu()), (QStringList{"1. a & b.dat", "2. winmail.dat"}));
        QCOMPARE(menu.recentFilesMenu()->actions().at(1)->toolTip(), QStringLiteral("/old/winmail.dat"));
        // A file gone missing warns and keeps its place.
        BoxCloser boxes;
        menu.recentFilesMenu()->actions().at(1)->trigger();
        QCOMPARE(boxes.shown, QStringList{"Open Failed: File does not exist."});
        QCOMPARE(loadRecentFiles(), (QStringList{"/mail/a & b.dat", "/old/winmail.dat"}));
        QCOMPARE(window->tabWidget()->count(), 0);
        // One that needs its content to be recognised opens the same way.
        saveRecentFiles({file(QStringLiteral("renamed.bin"))});
        emit menu.recentFilesMenu()->aboutToShow();
        menu.recentFilesMenu()->actions().at(0)->trigger();
        QCOMPARE(window->tabWidget()->openPaths(), QStringList{file(QStringLiteral("renamed.bin"))});
    }

    void languageSwitch()
    {
        auto* window = new MainWindow;
        CustomWindowFrame frame(window);
        AppMenu* menu = frame.appMenu();
        auto* close = frame.findChild<QPushButton*>(QStringLiteral("btn_close"));
        QCOMPARE(entries(menu->languageMenu()), (QStringList{"English", "Français", "Português", "Italiano", "Deutsch",
                                                             "Español", "日本語"}));

        menu->languageMenu()->actions().at(4)->trigger();
        QCOMPARE(AppConfig::instance()->language(), 5);
        QVERIFY(menu->languageMenu()->actions().at(4)->isChecked());
        QCOMPARE(menu->recentFilesMenu()->title(), QStringLiteral("Zuletzt geöffnete Dateien"));
        QCOMPARE(close->toolTip(), QStringLiteral("Schließen"));
    }

    void translations_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("recentFiles");
        QTest::newRow("en") << 1 << "en" << "Recent Files";
        QTest::newRow("fr") << 2 << "fr" << "Fichiers récents";
        QTest::newRow("pt") << 3 << "pt" << "Arquivos recentes";
        QTest::newRow("it") << 4 << "it" << "File recenti";
        QTest::newRow("de") << 5 << "de" << "Zuletzt geöffnete Dateien";
        QTest::newRow("es") << 6 << "es" << "Archivos recientes";
        QTest::newRow("ja") << 7 << "ja" << "最近使ったファイル";
        QTest::newRow("0 is English") << 0 << "en" << "Recent Files";
        QTest::newRow("9 is English") << 9 << "en" << "Recent Files";
    }

    void translations()
    {
        QFETCH(int, id);
        QFETCH(QString, suffix);
        QFETCH(QString, recentFiles);
        MultiLanguage::instance()->switchLanguage(7); // so that a switch left undone shows
        MultiLanguage::instance()->switchLanguage(id);
        QCOMPARE(MultiLanguage::instance()->hostTranslator()->language(), suffix);
        QCOMPARE(QCoreApplication::translate("AppMenu", "Recent Files"), recentFiles);
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
        QFETCH(int, edges);
        QFETCH(Qt::CursorShape, shape);
        const auto found = CustomWindowFrame::edgesAt(QRect(100, 100, 400, 300), pos);
        QCOMPARE(int(found), edges);
        QCOMPARE(CustomWindowFrame::cursorShapeFor(found), shape);
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

    void aboutNotice()
    {
        About about;
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lab_notice"))->text(), QStringLiteral("© %1 Veltrano. All rights reserved.").arg(QDate::currentDate().year()));
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestHostWindow)
#include "tst_host_window.moc"
