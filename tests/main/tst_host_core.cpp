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

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList numbered(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/mail/m%1.dat").arg(i);
    return paths;
}

QStringList reachedLog;
void recordPrevious(QtMsgType, const QMessageLogContext&, const QString& text)
{
    reachedLog << QLatin1String("previous: ") + text;
}

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

private slots:
    void initTestCase();
    void settings();
    void scanFolders();
    void routing_data();
    void routing();
    void laterLibraryWins_data();
    void laterLibraryWins();
    void logLines_data();
    void logLines();
    void reentryGoesToPreviousHandler();
    void fatalReachesDisk();
    void pruneOldLogs();
    void recentFiles();
    void recentFilesSaveIsAtomic();
    void secondStartHandsOver();

private:
    QTemporaryDir logDir;
};

void TestHostCore::initTestCase()
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

void TestHostCore::settings()
{
    const QString store = AppConfig().storeLocation();
    QVERIFY2(store.startsWith(QDir::homePath() + QLatin1Char('/')), qPrintable(store));
    {
        AppConfig fresh;
        QCOMPARE(fresh.lastOpenPath(), QDir::homePath());
        QCOMPARE(fresh.language(), 1);
        fresh.setLastOpenPath(QStringLiteral("/srv/in box"));
        fresh.setLanguage(5);
        // On disk at once, under the keys other versions read.
        const QString text = readAll(store);
        QVERIFY2(text.contains(QLatin1String("LastOpenPath=/srv/in box")) && text.contains(QLatin1String("language=5")),
                 qPrintable(text));
    }
    QCOMPARE(AppConfig().lastOpenPath(), QStringLiteral("/srv/in box"));
    QCOMPARE(AppConfig().language(), 5);
    QSettings(store, QSettings::IniFormat).setValue(QStringLiteral("language"), QStringLiteral("french"));
    QCOMPARE(AppConfig().language(), 0);
}

void TestHostCore::scanFolders()
{
    // The working folder's "djvu_plugin" is scanned too: it holds a copy of the
    // loader, a text file and a folder named like a library.
    QTemporaryDir cwd;
    const QString previous = QDir::currentPath();
    auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    QVERIFY(QDir(cwd.path()).mkpath(QStringLiteral("djvu_plugin/folder.so")));
    QVERIFY(QFile::copy(QStringLiteral(TP_LOADER), cwd.filePath(QStringLiteral("djvu_plugin/libcopy.so"))));
    writeFile(cwd.filePath(QStringLiteral("djvu_plugin/notes.txt")), "not a library");
    QVERIFY(QDir::setCurrent(cwd.path()));

    DocumentPluginManager manager;
    manager.scanPlugins();
    QStringList loaded;
    for (const QString& file : manager.loadedPluginFiles())
        loaded << QFileInfo(file).fileName();
    // Folder order; the upper-case suffix counts; the library offering neither
    // interface is dropped and unloaded.
    QCOMPARE(loaded.size(), 4);
    QCOMPARE(loaded.first(), QFileInfo(QStringLiteral(TP_UPPER)).fileName());
    QVERIFY(loaded.first().endsWith(QLatin1String(".SO")));
    QCOMPARE(loaded.last(), QStringLiteral("libcopy.so"));
    QVERIFY(!QLibrary(QStringLiteral(TP_NEITHER)).isLoaded());
    QCOMPARE(manager.fileDialogFilter(), QStringLiteral("Supported Documents (*.dat *.pdf *.upper *.xps);;All Files (*)"));
    QCOMPARE(DocumentPluginManager().fileDialogFilter(), QStringLiteral("Supported Documents ();;All Files (*)"));
}

void TestHostCore::routing_data()
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

void TestHostCore::routing()
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
    QCOMPARE(bool(made), widget && message == QLatin1String("untouched"));
    QCOMPARE(got, message);
}

void TestHostCore::laterLibraryWins_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("winner");
    QTest::newRow("late loaded last") << TP_DAT << TP_LATE << "tp_widget_late";
    QTest::newRow("late loaded first") << TP_LATE << TP_DAT << "tp_widget_dat";
}

void TestHostCore::laterLibraryWins()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, winner);
    DocumentPluginManager manager;
    manager.loadPlugin(first);
    manager.loadPlugin(second);
    manager.loadPlugin(first); // loaded once: does not win again
    QCOMPARE(manager.loadedPluginFiles().size(), 2);
    std::unique_ptr<QWidget> widget(manager.createWidget(QStringLiteral("/x/a.dat"), nullptr, nullptr, nullptr));
    QVERIFY(widget);
    QCOMPARE(widget->objectName(), winner);
}

void TestHostCore::logLines_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("tail");
    QTest::newRow("debug") << int(QtDebugMsg) << QByteArray() << "[I] [Debug] text";
    QTest::newRow("info, empty file name") << int(QtInfoMsg) << QByteArray("") << "[I] [Info] text";
    QTest::newRow("warning in context") << int(QtWarningMsg) << QByteArray("/src/main/mainwindow.cpp")
                                        << "[W] [Warning] (mainwindow.cpp:118) text";
    QTest::newRow("critical, drive path") << int(QtCriticalMsg) << QByteArray("C:/src/tabs.cpp")
                                            << "[F] [Critical] (tabs.cpp:118) text";
}

void TestHostCore::logLines()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(QString, tail);
    QVERIFY(ICVLogConfig::InitializeLogConfig(logDir.path().toStdString()));
    const QString logFile = QString::fromStdString(ICVLogConfig::CurrentLogFilePath());
    QVERIFY(logFile.startsWith(logDir.path()) && logFile.endsWith(QLatin1String(".log")));
    const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), 118, nullptr, "default");
    logmessages::handleMessage(QtMsgType(type), context, QStringLiteral("text"));
    const QString last = readAll(logFile).split(QLatin1Char('\n'), Qt::SkipEmptyParts).last();
    static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    QVERIFY2(stamp.match(last).hasMatch() && last.endsWith(tail), qPrintable(last));
}

void TestHostCore::reentryGoesToPreviousHandler()
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
    for (const QString& text : {QStringLiteral("first"), QStringLiteral("second")})
        logmessages::handleMessage(QtWarningMsg, QMessageLogContext(), text);
    QCOMPARE(reachedLog, (QStringList{"[Warning] first", "previous: from inside", "[Warning] second",
                                      "previous: from inside"}));
}

void TestHostCore::fatalReachesDisk()
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
    const QStringList lines = readAll(dir.filePath(logs.first())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].contains(QLatin1String("[F] [Fatal] ")) && lines[1].endsWith(QLatin1String(" unrecoverable state 42")),
             qPrintable(lines[1]));
}

void TestHostCore::pruneOldLogs()
{
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    for (const char* name : {"old.log", "recent.log", "old.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(name[0] == 'o' ? now.addDays(-40) : now.addDays(-20), QFileDevice::FileModificationTime));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.log")));
    QCOMPARE(::pruneOldLogs(dir.path()), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"folder.log", "old.txt", "recent.log"}));
}

void TestHostCore::recentFiles()
{
    QFile::remove(recentFilesPath());
    addRecentFile(QStringLiteral("/mail/Inbox/Report.dat"));
    addRecentFile(QStringLiteral("/mail/other.tnef"));
    addRecentFile(QStringLiteral("/MAIL/inbox/report.DAT"));
    QCOMPARE(loadRecentFiles(), (QStringList{"/MAIL/inbox/report.DAT", "/mail/other.tnef"}));

    for (const QString& path : numbered(11))
        addRecentFile(path);
    const QStringList capped = loadRecentFiles();
    QCOMPARE(capped.size(), kMaxRecentFiles);
    QCOMPARE(capped.first(), QStringLiteral("/mail/m10.dat"));
    QCOMPARE(capped.last(), QStringLiteral("/mail/m1.dat")); // the oldest is gone

    // A hand-edited list of 15 shows its first ten; damaged lists read empty.
    writeFile(recentFilesPath(), QJsonDocument(QJsonArray::fromStringList(numbered(15))).toJson());
    QCOMPARE(loadRecentFiles(), numbered(10));
    for (const QByteArray& damaged : {QByteArray("{\"files\": [\"/mail/a.dat\"]}"), QByteArray("[\"/mail/a.d")}) {
        writeFile(recentFilesPath(), damaged);
        QVERIFY(loadRecentFiles().isEmpty());
    }
}

void TestHostCore::recentFilesSaveIsAtomic()
{
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

void TestHostCore::secondStartHandsOver()
{
    // Each program gets its own home and temporary folder (where the server's
    // socket lives); the working folder's "djvu_plugin" opens ".dat" files.
    QTemporaryDir box;
    const QString root = box.path();
    QVERIFY(QDir(root).mkpath(QStringLiteral("files/folder.dat")));
    QVERIFY(QDir(root).mkpath(QStringLiteral("work/djvu_plugin")));
    QVERIFY(QFile::copy(QStringLiteral(TP_DAT), root + QLatin1String("/work/djvu_plugin/libtp.so")));
    const QString socketPath = root + QLatin1String("/tmp/Docavel.veltrano.Quorvia");
    writeFile(socketPath, QByteArray()); // left by a crashed instance: nobody listens
    const QString a = root + QLatin1String("/files/a.dat");
    const QString b = root + QLatin1String("/files/b.dat");
    writeFile(a, "x");
    writeFile(b, "x");
    const QString appData = root + QLatin1String("/home/AppData/Roaming/Veltrano/Quorvia");
    const auto start = [&](const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root + QLatin1String("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QLatin1String("/home/.config"));
        env.insert(QStringLiteral("TMPDIR"), root + QLatin1String("/tmp"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(root + QLatin1String("/work"));
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(QUORVIA_PROGRAM), arguments);
        return process;
    };
    const auto log = [&] {
        QString all;
        for (const QFileInfo& file : QDir(appData + QLatin1String("/Log")).entryInfoList({QStringLiteral("*.log")}))
            all += readAll(file.filePath());
        return all;
    };
    const auto recent = [&] {
        return QJsonDocument::fromJson(readAll(appData + QLatin1String("/Config/recent_files.json")).toUtf8())
            .array().toVariantList();
    };

    auto primary = start({});
    auto stop = qScopeGuard([&] { primary->kill(); primary->waitForFinished(10000); });
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(socketPath).isFile() && QFileInfo::exists(socketPath)
                                 && log().contains(QLatin1String("First window paint")), 60000);
    for (const char* folder : {"/Log", "/Config", "/Temp"})
        QVERIFY2(QFileInfo(appData + QLatin1String(folder)).isDir(), folder);

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

    // A second start sends only its existing files, and exits at once.
    const auto handOff = [&](const QStringList& arguments) {
        QElapsedTimer clock;
        clock.start();
        auto second = start(arguments);
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    };
    handOff({QStringLiteral("--option"), root + QLatin1String("/files/folder.dat"),
             root + QLatin1String("/files/missing.dat"), b});
    QTRY_COMPARE_WITH_TIMEOUT(recent(), (QVariantList{b, a}), 20000);
    QCOMPARE(log().count(QLatin1String("[Docavel] Hand-off received: 1 file(s)")), 2);
    // Without files it still reaches the running program, which opens nothing.
    handOff({});
    QTRY_VERIFY_WITH_TIMEOUT(log().contains(QLatin1String("[Docavel] Hand-off received: 0 file(s)")), 20000);
    QCOMPARE(recent(), (QVariantList{b, a}));
    QCOMPARE(log().count(QLatin1String("Program startup")), 1);
    QCOMPARE(primary->state(), QProcess::Running);
}

QUORVIA_WIDGET_TEST_MAIN(TestHostCore)
#include "tst_host_core.moc"
