// The host's foundations: the plug-in manager against libraries built beside
// this test, the settings store, the log, the recent-files list, and a second
// start handing its files to the running program.

#include "appconfig.h"
#include "cvfoundation/icvlogconfig.h"
#include "documentpluginmanager.h"
#include "logmessagehandler.h"
#include "logpruning.h"
#include "recentfiles.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QLocalSocket>
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

bool writeFile(const QString& path, const QByteArray& content = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
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
    }

    void settings()
    {
        const QString store = AppConfig().storeLocation();
        QVERIFY2(store.startsWith(QDir::homePath() + '/'), qPrintable(store));
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
        // The working folder's "djvu_plugin" is scanned too: it holds a copy of
        // the loader, a text file and a folder named like a library.
        QTemporaryDir cwd;
        const QString previous = QDir::currentPath();
        auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(QDir(cwd.path()).mkpath(QStringLiteral("djvu_plugin/folder.so")));
        QVERIFY(QFile::copy(TP_LOADER, cwd.filePath(QStringLiteral("djvu_plugin/libcopy.so"))));
        QVERIFY(writeFile(cwd.filePath(QStringLiteral("djvu_plugin/notes.txt")), "not a library"));
        QVERIFY(QDir::setCurrent(cwd.path()));
        DocumentPluginManager manager;
        manager.scanPlugins();
        QStringList loaded;
        for (const QString& file : manager.loadedPluginFiles())
            loaded << QFileInfo(file).fileName();
        // Folder order; the upper-case suffix counts; the library offering
        // neither interface is dropped and unloaded.
        QCOMPARE(loaded.size(), 4);
        QCOMPARE(loaded.first(), QFileInfo(TP_UPPER).fileName());
        QCOMPARE(loaded.last(), QStringLiteral("libcopy.so"));
        QVERIFY(!QLibrary(TP_NEITHER).isLoaded());
        QCOMPARE(manager.fileDialogFilter(), QStringLiteral("Supported Documents (*.dat *.pdf *.upper *.xps);;All Files (*)"));
        QCOMPARE(DocumentPluginManager().fileDialogFilter(), QStringLiteral("Supported Documents ();;All Files (*)"));
    }

    void routing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("canOpen");
        QTest::addColumn<bool>("widget");
        QTest::addColumn<QString>("message"); // after createWidget, which starts from "untouched"
        QTest::newRow("claimed in any case") << "/x/winmail.DAT" << true << true << "untouched";
        QTest::newRow("plug-in refuses") << "/x/fail-message.Dat" << true << true << "Test plug-in refused the file";
        QTest::newRow("loader only") << "/x/book.PDF" << true << false << "untouched";
        QTest::newRow("blank-padded claim") << "/x/a.xps" << true << false << "untouched";
        QTest::newRow("unclaimed") << "/x/a.txt" << false << false << "untouched";
        QTest::newRow("no suffix") << "/x.dat/dat" << false << false << "untouched";
        QTest::newRow("empty claim, trailing dot") << "/x/a." << false << false << "untouched";
        QTest::newRow("both: loader side") << "/x/a.djvu" << true << false << "untouched";
        QTest::newRow("both: widget side") << "/x/a.QVTEST" << true << true << "untouched";
    }
    void routing()
    {
        QFETCH(QString, path);
        QFETCH(bool, canOpen);
        QFETCH(bool, widget);
        QFETCH(QString, message);
        DocumentPluginManager manager;
        for (const char* library : {TP_DAT, TP_LOADER, TP_PLAIN, TP_EMPTY, TP_BOTH})
            manager.loadPlugin(QString::fromUtf8(library));
        QCOMPARE(manager.loadedPluginFiles().size(), 4); // the plain library yields nothing
        QCOMPARE(manager.supportedExtensions(), (QStringList{".", ".dat", ".djvu", ".pdf", ".qvtest", ".xps"}));
        QCOMPARE(manager.canOpen(path), canOpen);
        QCOMPARE(manager.hasWidgetPlugin(path), widget);
        QString got = QStringLiteral("untouched");
        std::unique_ptr<QWidget> made(manager.createWidget(path, nullptr, nullptr, &got));
        QCOMPARE(bool(made), widget && message == "untouched");
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
        QVERIFY(writeFile(recentFilesPath(), QJsonDocument(QJsonArray::fromStringList(numbered(15))).toJson()));
        QCOMPARE(loadRecentFiles(), numbered(10));
        for (const char* damaged : {"{\"files\": [\"/mail/a.dat\"]}", "[\"/mail/a.d"}) {
            QVERIFY(writeFile(recentFilesPath(), damaged));
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
        // Each program gets its own home and temporary folder (where the
        // server's socket lives); the working folder's "djvu_plugin" opens ".dat".
        QTemporaryDir box;
        const QString root = box.path();
        QVERIFY(QDir(root).mkpath(QStringLiteral("files/folder.dat")));
        QVERIFY(QDir(root).mkpath(QStringLiteral("work/djvu_plugin")));
        QVERIFY(QFile::copy(TP_DAT, root + "/work/djvu_plugin/libtp.so"));
        const QString socketPath = root + "/tmp/Docavel.veltrano.Quorvia";
        const QString a = root + "/files/a.dat", b = root + "/files/b.dat";
        // The socket file is left by a crashed instance: nobody listens.
        QVERIFY(writeFile(socketPath) && writeFile(a) && writeFile(b));
        const QString appData = root + "/home/AppData/Roaming/Veltrano/Quorvia";
        const auto start = [&](const QStringList& arguments) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("HOME"), root + "/home");
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + "/home/.config");
            env.insert(QStringLiteral("TMPDIR"), root + "/tmp");
            process->setProcessEnvironment(env);
            process->setWorkingDirectory(root + "/work");
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(QUORVIA_PROGRAM, arguments);
            return process;
        };
        const auto log = [&] {
            QString all;
            for (const QFileInfo& file : QDir(appData + "/Log").entryInfoList({QStringLiteral("*.log")}))
                all += readAll(file.filePath());
            return all;
        };
        const auto recent = [&] {
            return QJsonDocument::fromJson(readAll(appData + "/Config/recent_files.json").toUtf8()).array().toVariantList();
        };

        auto primary = start({});
        auto stop = qScopeGuard([&] { primary->kill(); primary->waitForFinished(10000); });
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(socketPath).isFile() && QFileInfo::exists(socketPath)
                                     && log().contains("First window paint"), 60000);
        for (const char* folder : {"/Log", "/Config", "/Temp"})
            QVERIFY2(QFileInfo(appData + folder).isDir(), folder);

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
        // and exits at once; without files it still reaches the first.
        for (const QStringList& arguments : {QStringList{"--option", root + "/files/folder.dat",
                                                         root + "/files/missing.dat", b}, QStringList()}) {
            QElapsedTimer clock;
            clock.start();
            auto second = start(arguments);
            QVERIFY(second->waitForFinished(60000));
            QCOMPARE(second->exitStatus(), QProcess::NormalExit);
            QCOMPARE(second->exitCode(), 0);
            QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
            QTRY_VERIFY_WITH_TIMEOUT(log().contains(QStringLiteral("[Docavel] Hand-off received: %1 file(s)")
                                                        .arg(arguments.isEmpty() ? 0 : 1)), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(recent(), (QVariantList{b, a}), 20000);
        }
        QCOMPARE(log().count("[Docavel] Hand-off received: 1 file(s)"), 2);
        QCOMPARE(log().count("Program startup"), 1);
        QCOMPARE(primary->state(), QProcess::Running);
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestHostCore)
#include "tst_host_core.moc"
