// The application menu: its entries and their order, the Recent Files submenu
// rebuilt from the stored list on each showing and what its entries open, the
// help entries, and choosing the interface language.

#include "appconfig.h"
#include "apppaths.h"
#include "appmenu.h"
#include "browsertabwidget.h"
#include "customwindowframe.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "multilanguage.h"
#include "recentfiles.h"
#include "support/test_main.h"
#include "urlrecorder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

QStringList visibleEntries(const QMenu* menu)
{
    QStringList entries;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* action : actions)
        entries << (action->isSeparator() ? QStringLiteral("--") : action->iconText());
    return entries;
}

void showMenu(QMenu* menu)
{
    emit menu->aboutToShow();
}

void writeRecentFile(const QByteArray& content)
{
    QFile file(recentFilesPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void makeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("content");
}

} // namespace

class TestAppMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void entriesInOrder();
    void emptyOrDamagedListShowsNoRecentFiles_data();
    void emptyOrDamagedListShowsNoRecentFiles();
    void recentFilesNumberedWithFullPathTips();
    void recentFilesRebuiltOnEachShowing();
    void recentEntryOpensThroughTheMainWindow();
    void helpEntriesOpenTheirPages();
    void aboutAndUpdateCheckShowDialogs();
    void entriesOfSubmenusAreNotHelpEntries();
    void languageSubmenuSwitchesAndRemembers();
};

void TestAppMenu::init()
{
    QFile::remove(recentFilesPath());
}

void TestAppMenu::cleanup()
{
    MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
}

void TestAppMenu::entriesInOrder()
{
    // The build places the user guide beside this test, as beside the program.
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + QLatin1String("/docs/user-guide.html")),
             "the user guide should have been copied beside the test");
    AppMenu menu;
    QCOMPARE(visibleEntries(menu.menu()),
             (QStringList{"Recent Files", "--", "Language", "--", "User Guide", "Feedback and Support",
                          "Show Log in Explorer", "Check for Updates", "About"}));
    QCOMPARE(menu.menu()->actions().at(0), menu.recentFilesMenu()->menuAction());
    QCOMPARE(menu.menu()->actions().at(2), menu.languageMenu()->menuAction());

    const QList<QPair<int, QString>> ids = {{100, "User Guide"},           {101, "Product FAQ"},
                                            {102, "Feedback and Support"}, {103, "About"},
                                            {104, "Check for Updates"},    {105, "Show Log in Explorer"}};
    for (const auto& [id, text] : ids) {
        QAction* action = menu.helpAction(id);
        QVERIFY2(action, qPrintable(text));
        QCOMPARE(action->text(), text);
        QCOMPARE(action->data().toInt(), id);
    }
    // "Product FAQ" exists but is not offered.
    QVERIFY(!menu.menu()->actions().contains(menu.helpAction(101)));
    QVERIFY(!menu.helpAction(99));
}

void TestAppMenu::emptyOrDamagedListShowsNoRecentFiles_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no file") << false << QByteArray();
    QTest::newRow("object") << true << QByteArray("{\"files\": [\"/mail/a.dat\"]}");
    QTest::newRow("truncated") << true << QByteArray("[\"/mail/a.dat\", \"/ma");
}

void TestAppMenu::emptyOrDamagedListShowsNoRecentFiles()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    if (present)
        writeRecentFile(content);
    AppMenu menu;
    showMenu(menu.recentFilesMenu());
    const QList<QAction*> actions = menu.recentFilesMenu()->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.first()->text(), QStringLiteral("No Recent Files"));
    QVERIFY(!actions.first()->isEnabled());
}

void TestAppMenu::recentFilesNumberedWithFullPathTips()
{
    const QStringList paths = {QStringLiteral("/mail/inbox/winmail.dat"), QStringLiteral("/mail/Q3 report & notes.tnef"),
                               QStringLiteral("/mail/old/winmail.dat")};
    saveRecentFiles(paths);
    AppMenu menu;
    QSignalSpy spy(&menu, &AppMenu::recentFileTriggered);
    showMenu(menu.recentFilesMenu());

    // File names only, numbered from 1; an ampersand in a name is shown as it
    // is, not taken for a shortcut mark.
    QCOMPARE(visibleEntries(menu.recentFilesMenu()),
             (QStringList{"1. winmail.dat", "2. Q3 report & notes.tnef", "3. winmail.dat"}));
    QVERIFY(menu.recentFilesMenu()->toolTipsVisible());
    const QList<QAction*> actions = menu.recentFilesMenu()->actions();
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions.at(i)->toolTip(), paths.at(i));
        QVERIFY(actions.at(i)->isEnabled());
    }

    actions.at(2)->trigger();
    actions.at(1)->trigger();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), paths.at(2));
    QCOMPARE(spy.at(1).at(0).toString(), paths.at(1));
}

void TestAppMenu::recentFilesRebuiltOnEachShowing()
{
    AppMenu menu;
    showMenu(menu.recentFilesMenu());
    QCOMPARE(visibleEntries(menu.recentFilesMenu()), QStringList{"No Recent Files"});

    // Another instance (or the main window) changes the list in between.
    addRecentFile(QStringLiteral("/mail/a.dat"));
    addRecentFile(QStringLiteral("/mail/b.dat"));
    showMenu(menu.recentFilesMenu());
    QCOMPARE(visibleEntries(menu.recentFilesMenu()), (QStringList{"1. b.dat", "2. a.dat"}));

    QStringList many;
    for (int i = 0; i < 15; ++i)
        many << QStringLiteral("/mail/m%1.dat").arg(i);
    writeRecentFile(QJsonDocument(QJsonArray::fromStringList(many)).toJson());
    showMenu(menu.recentFilesMenu());
    const QStringList entries = visibleEntries(menu.recentFilesMenu());
    QCOMPARE(entries.size(), 10);
    QCOMPARE(entries.first(), QStringLiteral("1. m0.dat"));
    QCOMPARE(entries.last(), QStringLiteral("10. m9.dat"));

    QFile::remove(recentFilesPath());
    showMenu(menu.recentFilesMenu());
    QCOMPARE(visibleEntries(menu.recentFilesMenu()), QStringList{"No Recent Files"});
}

void TestAppMenu::recentEntryOpensThroughTheMainWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("Doc.dat"));
    makeFile(existing);
    const QString missing = dir.filePath(QStringLiteral("moved-away.dat"));
    saveRecentFiles({missing, existing});

    auto* mainWindow = new MainWindow(nullptr);
    CustomWindowFrame frame(mainWindow);
    QMenu* recent = frame.appMenu()->recentFilesMenu();
    ModalAnswerer answerer;

    showMenu(recent);
    recent->actions().at(0)->trigger();
    QCOMPARE(answerer.shown.size(), 1);
    QCOMPARE(answerer.shown.first().title, QStringLiteral("Open Failed"));
    QCOMPARE(answerer.shown.first().text, QStringLiteral("File does not exist."));
    QCOMPARE(mainWindow->tabWidget()->count(), 0);
    // The missing file keeps its place in the list.
    QCOMPARE(loadRecentFiles(), (QStringList{missing, existing}));
    showMenu(recent);
    QCOMPARE(visibleEntries(recent), (QStringList{"1. moved-away.dat", "2. Doc.dat"}));

    showMenu(recent);
    recent->actions().at(1)->trigger();
    QCOMPARE(answerer.shown.size(), 1);
    QCOMPARE(mainWindow->tabWidget()->count(), 1);
    QCOMPARE(mainWindow->tabWidget()->openPaths(), QStringList{existing});
    QCOMPARE(loadRecentFiles(), (QStringList{existing, missing}));
}

void TestAppMenu::helpEntriesOpenTheirPages()
{
    UrlRecorder recorder;
    AppMenu menu;

    menu.helpAction(AppMenu::UserGuideId)->trigger();
    menu.helpAction(AppMenu::FeedbackId)->trigger();
    // Not offered in the menu, but handled all the same.
    menu.onHelpMenuTriggered(menu.helpAction(AppMenu::ProductFaqId));
    menu.helpAction(AppMenu::ShowLogId)->trigger();

    QCOMPARE(recorder.urls.size(), 4);
    const QUrl guide = recorder.urls.at(0);
    QVERIFY(guide.isLocalFile());
    QCOMPARE(QFileInfo(guide.toLocalFile()).canonicalFilePath(),
             QFileInfo(QCoreApplication::applicationDirPath() + QLatin1String("/docs/user-guide.html"))
                 .canonicalFilePath());
    const QUrl webPage(QStringLiteral("https://veltrano.example/quorvia"));
    QCOMPARE(recorder.urls.at(1), webPage);
    QCOMPARE(recorder.urls.at(2), webPage);
    QCOMPARE(recorder.urls.at(3),
             QUrl::fromLocalFile(QDir::homePath() + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Log")));
}

void TestAppMenu::aboutAndUpdateCheckShowDialogs()
{
    AppMenu menu;
    ModalAnswerer answerer;

    menu.helpAction(AppMenu::AboutId)->trigger();
    QCOMPARE(answerer.shown.size(), 1);
    QCOMPARE(answerer.shown.at(0).className, QStringLiteral("About"));
    QCOMPARE(answerer.shown.at(0).title, QStringLiteral("About"));

    menu.helpAction(AppMenu::CheckUpdatesId)->trigger();
    QCOMPARE(answerer.shown.size(), 2);
    QCOMPARE(answerer.shown.at(1).title, QStringLiteral("Check for Updates"));
}

void TestAppMenu::entriesOfSubmenusAreNotHelpEntries()
{
    // A recent file or a language whose data happens to look like a help id
    // does nothing but its own job.
    UrlRecorder recorder;
    AppMenu menu;
    QAction stray;
    stray.setData(AppMenu::FeedbackId);
    menu.onHelpMenuTriggered(&stray);
    menu.onHelpMenuTriggered(nullptr);
    QVERIFY(recorder.urls.isEmpty());

    writeRecentFile("[\"105\"]");
    showMenu(menu.recentFilesMenu());
    QCOMPARE(menu.recentFilesMenu()->actions().first()->data().toInt(), int(AppMenu::ShowLogId));
    emit menu.menu()->triggered(menu.recentFilesMenu()->actions().first());
    emit menu.menu()->triggered(menu.languageMenu()->actions().first());
    QVERIFY(recorder.urls.isEmpty());
}

void TestAppMenu::languageSubmenuSwitchesAndRemembers()
{
    AppMenu menu;
    QCOMPARE(visibleEntries(menu.languageMenu()),
             (QStringList{"English", QString::fromUtf8("Français"), QString::fromUtf8("Português"), "Italiano",
                          "Deutsch", QString::fromUtf8("Español"), QString::fromUtf8("日本語")}));
    auto checked = [&menu] {
        QStringList names;
        const QList<QAction*> actions = menu.languageMenu()->actions();
        for (QAction* action : actions) {
            if (action->isChecked())
                names << action->text();
        }
        return names;
    };
    QCOMPARE(checked(), QStringList{"English"});

    menu.languageMenu()->actions().at(4)->trigger(); // Deutsch
    QCOMPARE(MultiLanguage::instance()->currentLanguage(), 5);
    QCOMPARE(AppConfig::instance()->language(), 5);
    QCOMPARE(checked(), QStringList{"Deutsch"});
    QCOMPARE(menu.recentFilesMenu()->title(), QString::fromUtf8("Zuletzt geöffnete Dateien"));
    QCOMPARE(menu.helpAction(AppMenu::CheckUpdatesId)->text(), QStringLiteral("Nach Updates suchen"));
    // The language names stay in their own languages.
    QCOMPARE(menu.languageMenu()->actions().at(1)->text(), QString::fromUtf8("Français"));
    showMenu(menu.recentFilesMenu());
    QCOMPARE(visibleEntries(menu.recentFilesMenu()), QStringList{QString::fromUtf8("Keine zuletzt geöffneten Dateien")});

    // Switching elsewhere (not through this menu) moves the check mark too.
    MultiLanguage::instance()->switchLanguage(7);
    QCOMPARE(checked(), QStringList{QString::fromUtf8("日本語")});
    QCOMPARE(AppConfig::instance()->language(), 5); // only a choice in the menu is stored

    menu.languageMenu()->actions().at(0)->trigger();
    QCOMPARE(AppConfig::instance()->language(), 1);
    QCOMPARE(menu.recentFilesMenu()->title(), QStringLiteral("Recent Files"));
}

QUORVIA_WIDGET_TEST_MAIN(TestAppMenu)
#include "tst_appmenu.moc"
