// The host's foundations: the plug-in manager against libraries built beside
// this test, the options read before the application starts, the folders, the
// settings store, the log, the recent-files list, the temporary copies, and a
// second start handing its files to the running program.

#include "appconfig.h"
#include "apppaths.h"
#include "cvfoundation/icvlogconfig.h"
#include "documentpluginmanager.h"
#include "host_files.h"
#include "logmessagehandler.h"
#include "logpruning.h"
#include "programoptions.h"
#include "recentfiles.h"
#include "singleinstance.h"
#include "support/test_main.h"
#include "temporarycopies.h"

#include <QApplication>
#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <memory>

namespace {

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

QStringList numbered(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/mail/m%1.dat").arg(i);
    return paths;
}

QStringList reachedLog;
void recordPrevious(QtMsgType, const QMessageLogContext&, const QString& text) { reachedLog << "previous: " + text; }
// Something in the logging path that logs in turn.
void writerThatLogs(QtMsgType, const std::string& line)
{
    reachedLog << QString::fromStdString(line);
    logmessages::handleMessage(QtWarningMsg, QMessageLogContext(), QStringLiteral("from inside"));
}

} // namespace

class TestHostCore : public QObject
{
    Q_OBJECT
    QTemporaryDir logDir;

private slots:
    void initTestCase()
    {
        // Started again by fatalReachesDisk: log a line, then die of a fatal one.
        const QString fatalDir = qEnvironmentVariable("QUORVIA_FATAL_LOG_DIR");
        if (!fatalDir.isEmpty()) {
            ICVLogConfig::InitializeLogConfig(fatalDir.toStdString());
            logmessages::install();
            qInfo("about to fail");
            qFatal("unrecoverable state %d", 42);
        }
        // Started again by temporaryCopies: take a lock and end as a crash
        // would, without releasing it.
        const QString lockPath = qEnvironmentVariable("QUORVIA_HOLD_LOCK");
        if (!lockPath.isEmpty()) {
            auto* lock = new QLockFile(lockPath);
            std::_Exit(lock->tryLock(0) ? 0 : 1);
        }
    }

    void programOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("options"); // h(elp) v(ersion) V(erbose)
        QTest::newRow("none") << QStringList{"quorvia"} << "";
        QTest::newRow("help") << QStringList{"quorvia", "--help"} << "h";
        QTest::newRow("short forms") << QStringList{"quorvia", "-v", "-h"} << "hv";
        QTest::newRow("after files") << QStringList{"quorvia", "a.dat", "--verbose", "--version"} << "vV";
        QTest::newRow("files after --") << QStringList{"quorvia", "--", "--help", "-v"} << "";
        QTest::newRow("Qt's own and unknown") << QStringList{"quorvia", "-platform", "offscreen", "--helpx", "-hv"} << "";
        QTest::newRow("program name is no option") << QStringList{"--help"} << "";
    }
    void programOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, options);
        const ProgramOptions parsed = parseProgramOptions(arguments);
        QCOMPARE(parsed.help, options.contains('h'));
        QCOMPARE(parsed.version, options.contains('v'));
        QCOMPARE(parsed.verbose, options.contains('V'));
    }

    // Readable places below the XDG folders (which the test points into its
    // own home); the settings store shares them with the plug-ins' QSettings().
    void folders()
    {
        const QString home = QDir::homePath();
        QCOMPARE(apppaths::dataDir(), home + "/.local/share/Veltrano/Quorvia");
        QCOMPARE(apppaths::logDir(), home + "/.local/share/Veltrano/Quorvia/logs");
        QCOMPARE(apppaths::tempRoot(), home + "/.cache/Veltrano/Quorvia/attachments");
        QCOMPARE(recentFilesPath(), home + "/.local/share/Veltrano/Quorvia/recent_files.json");
        QCOMPARE(AppConfig().storeLocation(), home + "/.config/Veltrano/Quorvia.conf");
        QCOMPARE(QSettings().fileName(), AppConfig().storeLocation());
    }

    void legacyFilesMoveOnce_data()
    {
        QTest::addColumn<bool>("oldFiles");
        QTest::addColumn<bool>("newFiles");
        QTest::newRow("earlier version") << true << false;
        QTest::newRow("moved before") << true << true;
        QTest::newRow("fresh start") << false << false;
    }
    void legacyFilesMoveOnce()
    {
        QFETCH(bool, oldFiles);
        QFETCH(bool, newFiles);
        const QString home = QDir::homePath();
        const QString oldRecent = apppaths::legacyRecentFilesPath(home);
        const QString oldSettings = apppaths::legacySettingsPath(home + "/.config");
        const QString newRecent = apppaths::dataDir() + "/recent_files.json";
        const QString newSettings = home + "/.config/Veltrano/Quorvia.conf";
        const auto clear = [&] {
            for (const QString& path : {oldRecent, oldSettings, newRecent, newSettings})
                QFile::remove(path);
            QDir().rmdir(QFileInfo(oldRecent).path());
        };
        clear();
        if (oldFiles)
            QVERIFY(hostfiles::write(oldRecent, "[\"/mail/old.dat\"]")
                    && hostfiles::write(oldSettings, "[General]\nlanguage=5\n"));
        if (newFiles)
            QVERIFY(hostfiles::write(newRecent, "[\"/mail/new.dat\"]")
                    && hostfiles::write(newSettings, "[General]\nlanguage=2\n"));

        QCOMPARE(apppaths::migrateLegacyFiles(), oldFiles && !newFiles ? 2 : 0);
        QCOMPARE(loadRecentFiles().value(0), newFiles ? "/mail/new.dat" : oldFiles ? "/mail/old.dat" : QString());
        QCOMPARE(AppConfig().language(), newFiles ? 2 : oldFiles ? 5 : 1);
        // Moved means gone from the old place, and the emptied folder with it;
        // never moved over a newer file, which leaves the old one alone.
        QCOMPARE(QFileInfo::exists(oldRecent), newFiles);
        QCOMPARE(QFileInfo::exists(QFileInfo(oldRecent).path()), newFiles);
        QCOMPARE(QFileInfo::exists(oldSettings), newFiles);
        QCOMPARE(apppaths::migrateLegacyFiles(), 0);
        clear();
    }

    void temporaryCopies()
    {
        QTemporaryDir box;
        const QString root = box.filePath("attachments");
        // Left by an instance that crashed (its lock names a process that has
        // ended), by one that lost its lock, and the folder of one that still
        // runs (this process holds its lock); a link to a folder elsewhere.
        for (const QString& path : {root + "/session-crashed/report.pdf", root + "/session-unlocked/a.txt",
                                    root + "/session-running/open.pdf", box.filePath("elsewhere/keep.txt")})
            QVERIFY(hostfiles::write(path, "x"));
        QVERIFY(QFile::link(box.filePath("elsewhere"), root + "/session-link"));
        QProcess crashed;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVIA_HOLD_LOCK"), root + "/session-crashed.lock");
        crashed.setProcessEnvironment(env);
        crashed.start(QCoreApplication::applicationFilePath(), {QStringLiteral("folders")});
        QVERIFY(crashed.waitForFinished(60000) && crashed.exitCode() == 0);
        QVERIFY(QFileInfo::exists(root + "/session-crashed.lock"));
        QLockFile running(root + "/session-running.lock");
        QVERIFY(running.tryLock(0));

        QString own;
        {
            const TemporaryCopies copies(root);
            own = copies.path();
            QCOMPARE(QFileInfo(own).path(), root);
            QVERIFY(QFileInfo(own).isDir() && QFileInfo::exists(own + ".lock"));
            QStringList expected{QFileInfo(own).fileName(), "session-running"};
            expected.sort();
            QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name), expected);
            QVERIFY(QFileInfo::exists(box.filePath("elsewhere/keep.txt")));
            QVERIFY(!QFileInfo::exists(root + "/session-crashed.lock"));
            QVERIFY(hostfiles::write(own + "/sub/copy.pdf", "x"));
            // A second instance started meanwhile keeps its hands off ours.
            const TemporaryCopies second(root);
            QVERIFY(second.path() != own && QFileInfo::exists(own + "/sub/copy.pdf"));
        }
        QVERIFY(!QFileInfo::exists(own) && !QFileInfo::exists(own + ".lock"));
        QVERIFY(QFileInfo::exists(root + "/session-running/open.pdf"));
        // No folder of its own to be had: the root serves.
        QVERIFY(hostfiles::write(box.filePath("file"), "x"));
        QCOMPARE(TemporaryCopies(box.filePath("file/attachments")).path(), box.filePath("file/attachments"));
    }

    void settings()
    {
        const QString store = AppConfig().storeLocation(); // in the test's home, as folders() shows
        QCOMPARE(AppConfig().lastOpenPath(), QDir::homePath());
        QCOMPARE(AppConfig().language(), 1);
        AppConfig().setLastOpenPath(QStringLiteral("/srv/in box"));
        AppConfig().setLanguage(5);
        // On disk at once, under the keys other versions read.
        QVERIFY(readAll(store).contains("LastOpenPath=/srv/in box") && readAll(store).contains("language=5"));
        QCOMPARE(AppConfig().lastOpenPath(), QStringLiteral("/srv/in box"));
        QCOMPARE(AppConfig().language(), 5);
        QSettings(store, QSettings::IniFormat).setValue(QStringLiteral("language"), QStringLiteral("french"));
        QCOMPARE(AppConfig().language(), 0);
    }

    void scanFolders()
    {
        // Only the program's own folders: a library in the working folder's
        // "djvu_plugin" (scanned by earlier versions) would run whatever code
        // lies where the program happens to be started.
        QTemporaryDir cwd;
        const QString previous = QDir::currentPath();
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(QDir(cwd.path()).mkpath(QStringLiteral("djvu_plugin")));
        QVERIFY(QFile::copy(TP_LOADER, cwd.filePath(QStringLiteral("djvu_plugin/libcopy.so"))));
        QVERIFY(QDir::setCurrent(cwd.path()));
        DocumentPluginManager manager;
        manager.scanPlugins();
        // Folder order; the upper-case suffix counts; the library offering
        // neither interface is dropped and unloaded.
        const QStringList loaded = fileNames(manager.loadedPluginFiles());
        QCOMPARE(loaded.first(), QFileInfo(TP_UPPER).fileName());
        QCOMPARE(QSet<QString>(loaded.cbegin(), loaded.cend()),
                 (QSet<QString>{QFileInfo(TP_UPPER).fileName(), QFileInfo(TP_DAT).fileName(), QFileInfo(TP_LOADER).fileName(),
                                QFileInfo(TP_MIME).fileName(), QFileInfo(TP_LOADER_MIME).fileName(),
                                QFileInfo(TP_ACTIONS).fileName()}));
        QVERIFY(!QLibrary(TP_NEITHER).isLoaded());
        // The claimed types bring their file-name patterns.
        QCOMPARE(manager.fileDialogFilter(), QStringLiteral("Supported Documents (*.book *.dat *.mailx *.pdf *.tnef *.tnf "
                                                            "*.upper *.view *.xps winmail.dat);;All Files (*)"));
        // Commands come from the plug-in that offers them, beside its widgets.
        QVERIFY(manager.route(QStringLiteral("/x/a.view")).widgetActions);
        QVERIFY(!manager.route(QStringLiteral("/x/a.dat")).widgetActions);
        QCOMPARE(DocumentPluginManager().fileDialogFilter(), QStringLiteral("Supported Documents ();;All Files (*)"));
        // Beside the program in the build tree; the private library folder
        // of an installed one.
        QCOMPARE(DocumentPluginManager::pluginDirectoriesFor("/opt/q/bin"),
                 (QStringList{"/opt/q/bin/PlugIns/document", "/opt/q/PlugIns/document", "/opt/q/bin/plugins",
                              "/opt/q/bin/document_plugins", QDir::cleanPath("/opt/q/bin/" QUORVIA_INSTALLED_PLUGIN_DIR)}));
    }

    void routing_data()
    {
        QTest::addColumn<QString>("name"); // made in a temporary folder
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("plugin"); // TP_NAME of the library that takes it, "" for none
        QTest::addColumn<bool>("widget");
        QTest::addColumn<QString>("by");
        QTest::addColumn<QString>("message"); // after createWidget, which starts from "untouched"
        const auto row = [](const char* tag, const char* name, const QByteArray& content, const char* plugin, bool widget,
                            const QString& by, const char* message = "untouched") {
            QTest::newRow(tag) << name << content << plugin << widget << by << message;
        };
        const QString tnef = "the type application/vnd.ms-tnef";
        const char* refused = "Test plug-in refused the file";
        row("claimed in any case", "winmail.DAT", hostfiles::tnef(), "tp_widget_dat", true, "the suffix .dat");
        row("suffix before content", "photo.dat", hostfiles::png(), "tp_widget_dat", true, "the suffix .dat");
        row("plug-in refuses", "fail-message.Dat", {}, "tp_widget_dat", true, "the suffix .dat", refused);
        row("loader only", "book.PDF", hostfiles::pdf(), "tp_loader", false, "the suffix .pdf");
        row("blank-padded claim", "a.xps", {}, "tp_loader", false, "the suffix .xps");
        row("unclaimed", "a.txt", "notes\n", "", false, "the suffix .txt or the type text/plain");
        row("no suffix, unknown content", "x.dat/dat", hostfiles::binary(), "", false, "the type application/octet-stream");
        row("both: loader side", "a.djvu", {}, "tp_both", false, "the suffix .djvu");
        row("both: widget side", "a.QVTEST", {}, "tp_both", true, "the suffix .qvtest");
        row("TNEF renamed", "renamed.bin", hostfiles::tnef(), "tp_widget_mime", true, tnef);
        row("TNEF without suffix", "ATT00001", hostfiles::tnef(), "tp_widget_mime", true, tnef);
        row("TNEF named .png", "mail.png", hostfiles::tnef(), "tp_widget_mime", true, tnef);
        row("empty: the name decides", "x.tnf", {}, "tp_widget_mime", true, tnef);
        row("PNG renamed", "picture.bin", hostfiles::png(), "", false, "the suffix .bin or the type image/png");
        row("PNG named for TNEF", "photo.tnf", hostfiles::png(), "", false, "the suffix .tnf or the type image/png");
        row("parent type", "drawing", hostfiles::svg(), "tp_widget_xml", true,
            "the type image/svg+xml (a kind of application/xml)");
        row("loader by content", "book.bin", hostfiles::pdf(), "tp_loader_mime", false, "the type application/pdf");
        row("refused by content", "fail-message.bin", hostfiles::tnef(), "tp_widget_mime", true, tnef, refused);
    }
    void routing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, plugin);
        QFETCH(bool, widget);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(hostfiles::write(path, content));
        DocumentPluginManager manager;
        for (const char* library : {TP_DAT, TP_LOADER, TP_PLAIN, TP_EMPTY, TP_BOTH, TP_MIME, TP_LOADER_MIME, TP_XML})
            manager.loadPlugin(QString::fromUtf8(library));
        QCOMPARE(manager.loadedPluginFiles().size(), 7); // the plain library yields nothing
        QCOMPARE(manager.supportedExtensions(),
                 (QStringList{".", ".book", ".dat", ".djvu", ".mailx", ".pdf", ".qvtest", ".xps"}));
        QCOMPARE(manager.supportedMimeTypes(),
                 (QStringList{"application/pdf", "application/vnd.ms-tnef", "application/xml", "x-test/never-defined"}));

        const DocumentRoute route = manager.route(path);
        QCOMPARE(route.pluginFile, plugin.isEmpty() ? QString() : "lib" + plugin + ".so");
        QTEST(route.lookedUpBy(), "by");
        QCOMPARE(manager.canOpen(path), !plugin.isEmpty());
        QCOMPARE(manager.hasWidgetPlugin(path), widget);
        QString got = QStringLiteral("untouched");
        std::unique_ptr<QWidget> made(manager.createWidget(path, nullptr, nullptr, &got));
        QCOMPARE(made ? made->objectName() : QString(), widget && message == "untouched" ? plugin : QString());
        QCOMPARE(got, message);
    }

    // Of two claims the library loaded last wins; loading one again changes nothing.
    void laterLibraryWins()
    {
        for (const auto& [first, second, winner] : {std::tuple{TP_DAT, TP_LATE, "tp_widget_late"},
                                                    std::tuple{TP_LATE, TP_DAT, "tp_widget_dat"}}) {
            DocumentPluginManager manager;
            for (const char* library : {first, second, first})
                manager.loadPlugin(QString::fromUtf8(library));
            QCOMPARE(manager.loadedPluginFiles().size(), 2);
            std::unique_ptr<QWidget> made(manager.createWidget(QStringLiteral("/x/a.dat"), nullptr, nullptr, nullptr));
            QCOMPARE(made ? made->objectName() : QString(), QString::fromLatin1(winner));
        }
    }

    void logLines_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("tail");
        QTest::newRow("debug") << int(QtDebugMsg) << QByteArray() << "[I] [Debug] text";
        QTest::newRow("info, empty file") << int(QtInfoMsg) << QByteArray("") << "[I] [Info] text";
        QTest::newRow("warning") << int(QtWarningMsg) << QByteArray("/src/mainwindow.cpp")
                                 << "[W] [Warning] (mainwindow.cpp:118) text";
        QTest::newRow("critical, drive") << int(QtCriticalMsg) << QByteArray("C:/src/tabs.cpp")
                                         << "[F] [Critical] (tabs.cpp:118) text";
    }
    void logLines()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, file);
        QFETCH(QString, tail);
        QVERIFY(ICVLogConfig::InitializeLogConfig(logDir.path().toStdString()));
        const QString logFile = QString::fromStdString(ICVLogConfig::CurrentLogFilePath());
        QVERIFY(logFile.startsWith(logDir.path()) && logFile.endsWith(".log"));
        const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), 118, nullptr, "default");
        logmessages::handleMessage(QtMsgType(type), context, QStringLiteral("text"));
        const QString last = readAll(logFile).split('\n', Qt::SkipEmptyParts).last();
        static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
        QVERIFY2(stamp.match(last).hasMatch() && last.endsWith(tail), qPrintable(last));
    }

    void reentryGoesToPreviousHandler()
    {
        const QtMessageHandler outer = qInstallMessageHandler(&recordPrevious);
        logmessages::install();
        logmessages::setLineWriter(&writerThatLogs);
        auto restore = qScopeGuard([&] {
            logmessages::setLineWriter(nullptr);
            logmessages::uninstall();
            qInstallMessageHandler(outer);
        });
        // Twice: once out of the handler, the guard is down again.
        for (const char* text : {"first", "second"})
            logmessages::handleMessage(QtWarningMsg, QMessageLogContext(), QString::fromLatin1(text));
        QCOMPARE(reachedLog, (QStringList{"[Warning] first", "previous: from inside", "[Warning] second",
                                          "previous: from inside"}));
    }

    void fatalReachesDisk()
    {
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVIA_FATAL_LOG_DIR"), dir.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("pruneOldLogs")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QStringList logs = QDir(dir.path()).entryList({QStringLiteral("*.log")}, QDir::Files);
        QCOMPARE(logs.size(), 1);
        const QStringList lines = readAll(dir.filePath(logs.first())).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].contains("[F] [Fatal] ") && lines[1].endsWith(" unrecoverable state 42"), qPrintable(lines[1]));
    }

    void pruneOldLogs()
    {
        QTemporaryDir dir;
        const QDateTime now = QDateTime::currentDateTime();
        for (const char* name : {"old.log", "recent.log", "old.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(now.addDays(name[0] == 'o' ? -40 : -20), QFileDevice::FileModificationTime));
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.log")));
        QCOMPARE(::pruneOldLogs(dir.path()), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{"folder.log", "old.txt", "recent.log"}));
    }

    void recentFiles()
    {
        QFile::remove(recentFilesPath());
        for (const char* path : {"/mail/Inbox/Report.dat", "/mail/other.tnef", "/MAIL/inbox/report.DAT"})
            addRecentFile(QString::fromLatin1(path));
        QCOMPARE(loadRecentFiles(), (QStringList{"/MAIL/inbox/report.DAT", "/mail/other.tnef"}));
        for (const QString& path : numbered(11))
            addRecentFile(path);
        const QStringList capped = loadRecentFiles(); // the oldest is gone
        QVERIFY(capped.size() == kMaxRecentFiles && capped.first() == "/mail/m10.dat" && capped.last() == "/mail/m1.dat");
        // A hand-edited list of 15 shows its first ten; damaged lists read empty.
        QVERIFY(hostfiles::write(recentFilesPath(), QJsonDocument(QJsonArray::fromStringList(numbered(15))).toJson()));
        QCOMPARE(loadRecentFiles(), numbered(10));
        for (const char* damaged : {"{\"files\": [\"/mail/a.dat\"]}", "[\"/mail/a.d"}) {
            QVERIFY(hostfiles::write(recentFilesPath(), damaged));
            QVERIFY(loadRecentFiles().isEmpty());
        }
        // A reader that opened the list before a save still reads the whole old
        // list: the new one replaces the file, it is never cut short in place.
        saveRecentFiles(numbered(3));
        QFile before(recentFilesPath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        addRecentFile(QStringLiteral("/mail/newest.dat"));
        QCOMPARE(QJsonDocument::fromJson(before.readAll()).array().size(), 3);
        QCOMPARE(loadRecentFiles().size(), 4);
        QCOMPARE(QDir(QFileInfo(recentFilesPath()).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"recent_files.json"});
    }

    void secondStartHandsOver()
    {
        // The program runs from a folder of its own, whose plugins/ holds a
        // plug-in for ".dat" and one that opens TNEF by content; it gets its
        // own home, XDG folders and temporary folder (where the server's
        // socket lives).
        QTemporaryDir box;
        const QString root = box.path();
        const QString program = root + "/app/quorvia";
        QVERIFY(QDir(root).mkpath(QStringLiteral("files/folder.dat")) && QDir(root).mkpath(QStringLiteral("app/plugins")));
        QVERIFY(QFile::copy(QUORVIA_PROGRAM, program));
        QVERIFY(QFile::copy(TP_DAT, root + "/app/plugins/libtp_dat.so"));
        QVERIFY(QFile::copy(TP_MIME, root + "/app/plugins/libtp_mime.so"));
        const QString socketPath = root + "/tmp/Docavel.veltrano.Quorvia";
        const QString a = root + "/files/a.dat", b = root + "/files/b.dat";
        const QString renamed = root + "/files/renamed.bin", bare = root + "/files/ATT00001";
        // The socket file is left by a crashed instance: nobody listens.
        QVERIFY(hostfiles::write(socketPath) && hostfiles::write(a) && hostfiles::write(b));
        QVERIFY(hostfiles::write(renamed, hostfiles::tnef()) && hostfiles::write(bare, hostfiles::tnef()));
        const QString home = root + "/home";
        const QString appData = home + "/.local/share/Veltrano/Quorvia";
        const QString copies = home + "/.cache/Veltrano/Quorvia/attachments";
        QVERIFY(hostfiles::write(copies + "/session-stale/old.pdf", "left by a crash"));
        const auto start = [&](const QStringList& arguments) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const auto& [name, folder] : {std::pair{"HOME", "/home"}, {"XDG_CONFIG_HOME", "/home/.config"},
                                               {"XDG_DATA_HOME", "/home/.local/share"}, {"XDG_CACHE_HOME", "/home/.cache"},
                                               {"TMPDIR", "/tmp"}})
                env.insert(QString::fromLatin1(name), root + QLatin1String(folder));
            process->setProcessEnvironment(env);
            process->setWorkingDirectory(root);
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(program, arguments);
            return process;
        };
        const auto log = [&] {
            QString all;
            for (const QFileInfo& file : QDir(appData + "/logs").entryInfoList({QStringLiteral("*.log")}))
                all += readAll(file.filePath());
            return all;
        };
        const auto recent = [&] {
            return QJsonDocument::fromJson(readAll(appData + "/recent_files.json").toUtf8()).array().toVariantList();
        };

        auto primary = start({});
        auto stop = qScopeGuard([&] { primary->kill(); primary->waitForFinished(10000); });
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(socketPath).isFile() && QFileInfo::exists(socketPath)
                                     && log().contains("First window paint"), 60000);
        // Stale copies went at start; this instance has a folder of its own.
        const QStringList sessions = QDir(copies).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(sessions.size(), 1);
        QVERIFY(sessions.first() != "session-stale");

        // A hand-off arriving in pieces (cut inside the count and inside the path).
        QByteArray message;
        QDataStream(&message, QIODevice::WriteOnly) << int(1) << a;
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        QVERIFY(socket.waitForConnected(5000));
        for (const QByteArray& piece : {message.left(2), message.mid(2, 9), message.mid(11)}) {
            socket.write(piece);
            QVERIFY(socket.waitForBytesWritten(5000));
            QTest::qWait(200);
        }
        socket.disconnectFromServer();
        QTRY_COMPARE_WITH_TIMEOUT(recent(), QVariantList{a}, 20000);

        // A second start sends only its existing files (no option, no folder)
        // and exits at once; without files it still reaches the first. Files
        // whose suffix nobody claims open by their content.
        const QList<QStringList> starts{{"--option", root + "/files/folder.dat", root + "/files/missing.dat", b},
                                        {},
                                        {renamed, bare}};
        const QList<QVariantList> recentAfter{{b, a}, {b, a}, {bare, renamed, b, a}};
        for (int i = 0; i < starts.size(); ++i) {
            QElapsedTimer clock;
            clock.start();
            auto second = start(starts[i]);
            QVERIFY(second->waitForFinished(60000));
            QCOMPARE(second->exitStatus(), QProcess::NormalExit);
            QCOMPARE(second->exitCode(), 0);
            QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
            QTRY_VERIFY_WITH_TIMEOUT(log().contains(QStringLiteral("[Docavel] Hand-off received: %1 file(s)")
                                                        .arg(fileArguments(QStringList{"quorvia"} + starts[i]).size())), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(recent(), recentAfter[i], 20000);
        }
        const QString logged = log();
        QCOMPARE(logged.count("[Docavel] Hand-off received: 1 file(s)"), 2);
        QCOMPARE(logged.count("Program startup"), 1);
        QCOMPARE(primary->state(), QProcess::Running);

        // Asked to stop, it quits as if closed, and takes its copies along.
        primary->terminate();
        QVERIFY(primary->waitForFinished(30000));
        QCOMPARE(primary->exitStatus(), QProcess::NormalExit);
        QCOMPARE(primary->exitCode(), 0);
        QCOMPARE(QDir(copies).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestHostCore)
#include "tst_host_core.moc"
