// The logging layer: the line format, dispatch by level into the log file,
// pruning old logs, the re-entry guard, concurrent writers, a fatal message
// reaching the disk before the process aborts, and the start-up of the layer.

#include "applicationservices.h"
#include "apppaths.h"
#include "cvbaseservice/icvproductmeta.h"
#include "cvbaseservice/icvupdatesservice.h"
#include "cvfoundation/icvlogconfig.h"
#include "logmessagehandler.h"
#include "logpruning.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <vector>

namespace {

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString currentLogFile()
{
    return QString::fromStdString(ICVLogConfig::CurrentLogFilePath());
}

// Records what reaches the handler that was installed before ours.
QStringList previousHandlerMessages;
void recordingHandler(QtMsgType, const QMessageLogContext&, const QString& text)
{
    previousHandlerMessages << text;
}

// Qt stops a qWarning() issued inside a handler before it reaches any handler,
// so the path that can come back is a direct call, as a helper in the logging
// path would make.
std::atomic<int> writerCalls{0};
void writerThatLogsAgain(QtMsgType, const std::string&)
{
    ++writerCalls;
    logmessages::handleMessage(QtWarningMsg, QMessageLogContext(),
                               QStringLiteral("logged from inside the logging path"));
}

void touch(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    QVERIFY(file.flush()); // a later flush would set the time to now again
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void formatLine_data();
    void formatLine();
    void unknownTypeHasEmptyLabel();
    void dispatchByLevel();
    void reentryGoesToPreviousHandler();
    void concurrentWritersKeepLinesWhole();
    void pruneByAgeAndSuffix();
    void pruneCalendarMonth();
    void fatalIsOnDiskBeforeAbort();
    void startUpMakesFoldersAndInstallsHandler();
};

void TestLogging::formatLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("warning, no context") << int(QtWarningMsg) << QByteArray() << 0 << "[Warning] text here";
    QTest::newRow("debug, no context") << int(QtDebugMsg) << QByteArray() << 0 << "[Debug] text here";
    QTest::newRow("info, no context") << int(QtInfoMsg) << QByteArray() << 0 << "[Info] text here";
    QTest::newRow("critical, no context") << int(QtCriticalMsg) << QByteArray() << 0 << "[Critical] text here";
    QTest::newRow("fatal, no context") << int(QtFatalMsg) << QByteArray() << 0 << "[Fatal] text here";
    QTest::newRow("empty file name") << int(QtWarningMsg) << QByteArray("") << 12 << "[Warning] text here";
    QTest::newRow("with context") << int(QtWarningMsg) << QByteArray("/src/main/mainwindow.cpp") << 118
                                  << "[Warning] (mainwindow.cpp:118) text here";
    QTest::newRow("windows separators") << int(QtDebugMsg) << QByteArray("C:/src/tabs.cpp") << 7
                                        << "[Debug] (tabs.cpp:7) text here";
    QTest::newRow("utf-8 file name") << int(QtInfoMsg) << QByteArray("/src/\xc3\xa9t\xc3\xa9.cpp") << 3
                                     << QString::fromUtf8("[Info] (\xc3\xa9t\xc3\xa9.cpp:3) text here");
}

void TestLogging::formatLine()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, expected);
    const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), line, nullptr, "default");
    QCOMPARE(logmessages::formatLine(QtMsgType(type), context, QStringLiteral("text here")), expected);
}

void TestLogging::unknownTypeHasEmptyLabel()
{
    const QtMsgType unknown = static_cast<QtMsgType>(7);
    QCOMPARE(logmessages::levelLabel(unknown), QString());
    QCOMPARE(logmessages::formatLine(unknown, QMessageLogContext(), QStringLiteral("t")), QStringLiteral("[] t"));
}

void TestLogging::dispatchByLevel()
{
    QTemporaryDir dir;
    QVERIFY(ICVLogConfig::InitializeLogConfig(dir.path().toStdString()));
    const QString logFile = currentLogFile();
    QVERIFY(logFile.startsWith(dir.path()));
    QVERIFY(logFile.endsWith(QLatin1String(".log")));

    const QMessageLogContext none;
    logmessages::handleMessage(QtDebugMsg, none, QStringLiteral("a debug line"));
    logmessages::handleMessage(QtInfoMsg, none, QStringLiteral("an info line"));
    logmessages::handleMessage(QtWarningMsg, none, QStringLiteral("a warning line"));
    logmessages::handleMessage(QtCriticalMsg, none, QStringLiteral("a critical line"));
    logmessages::handleMessage(static_cast<QtMsgType>(7), none, QStringLiteral("an unknown line"));

    const QStringList lines = readLines(logFile);
    QCOMPARE(lines.size(), 4);
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    for (const QString& line : lines)
        QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
    QVERIFY(lines[0].endsWith(QLatin1String("[I] [Debug] a debug line")));
    QVERIFY(lines[1].endsWith(QLatin1String("[I] [Info] an info line")));
    QVERIFY(lines[2].endsWith(QLatin1String("[W] [Warning] a warning line")));
    QVERIFY(lines[3].endsWith(QLatin1String("[F] [Critical] a critical line")));
}

void TestLogging::reentryGoesToPreviousHandler()
{
    QTemporaryDir dir;
    QVERIFY(ICVLogConfig::InitializeLogConfig(dir.path().toStdString()));
    previousHandlerMessages.clear();
    writerCalls = 0;

    const QtMessageHandler outer = qInstallMessageHandler(&recordingHandler);
    logmessages::install();
    logmessages::setLineWriter(&writerThatLogsAgain);
    auto restore = qScopeGuard([&] {
        logmessages::setLineWriter(nullptr);
        logmessages::uninstall();
        qInstallMessageHandler(outer);
    });

    qWarning("first");
    qWarning("second");
    QCOMPARE(writerCalls.load(), 2);
    QCOMPARE(previousHandlerMessages,
             QStringList({QStringLiteral("logged from inside the logging path"),
                          QStringLiteral("logged from inside the logging path")}));

    // Once out of the handler the guard is down again: ordinary messages go to
    // the log, not to the previous handler.
    logmessages::setLineWriter(nullptr);
    previousHandlerMessages.clear();
    qWarning("third");
    QVERIFY(previousHandlerMessages.isEmpty());
    QVERIFY(readLines(currentLogFile()).constLast().endsWith(QLatin1String("third")));
}

void TestLogging::concurrentWritersKeepLinesWhole()
{
    QTemporaryDir dir;
    QVERIFY(ICVLogConfig::InitializeLogConfig(dir.path().toStdString()));
    const QtMessageHandler outer = qInstallMessageHandler(nullptr);
    logmessages::install();
    auto restore = qScopeGuard([&] {
        logmessages::uninstall();
        qInstallMessageHandler(outer);
    });

    constexpr int threads = 4;
    constexpr int perThread = 300;
    std::vector<QThread*> workers;
    for (int t = 0; t < threads; ++t) {
        workers.push_back(QThread::create([t] {
            for (int i = 0; i < perThread; ++i)
                qInfo("worker %d line %d %s", t, i, "payload-payload-payload-payload");
        }));
        workers.back()->start();
    }
    for (QThread* worker : workers) {
        QVERIFY(worker->wait(60000));
        delete worker;
    }

    const QStringList lines = readLines(currentLogFile());
    QCOMPARE(lines.size(), threads * perThread);
    const QRegularExpression whole(
        QStringLiteral("^\\S+ \\S+ \\[I\\] \\[Info\\]( \\([^)]*\\))? worker \\d line \\d+ payload-payload-payload-payload$"));
    for (const QString& line : lines)
        QVERIFY2(whole.match(line).hasMatch(), qPrintable(line));
}

void TestLogging::pruneByAgeAndSuffix()
{
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    touch(dir.filePath(QStringLiteral("old.log")), now.addDays(-32));
    touch(dir.filePath(QStringLiteral("yesterday.log")), now.addDays(-1));
    touch(dir.filePath(QStringLiteral("old.txt")), now.addDays(-32));
    touch(dir.filePath(QStringLiteral("old.log.1")), now.addDays(-32));
    touch(dir.filePath(QStringLiteral("old.LOGX")), now.addDays(-32));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.log")));

    QCOMPARE(pruneOldLogs(dir.path()), 1);
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(left, (QStringList{QStringLiteral("folder.log"), QStringLiteral("old.LOGX"), QStringLiteral("old.log.1"),
                                QStringLiteral("old.txt"), QStringLiteral("yesterday.log")}));

    // A missing folder is no failure.
    QCOMPARE(pruneOldLogs(dir.filePath(QStringLiteral("absent"))), 0);
}

void TestLogging::pruneCalendarMonth()
{
    // The cut-off is one calendar month: 31 March minus a month is 28 or 29
    // February, so a file of 1 March stays and one of 27 February goes.
    QTemporaryDir dir;
    const QDateTime cutoff(QDate(2023, 3, 31).addMonths(-1), QTime(12, 0));
    QCOMPARE(cutoff.date(), QDate(2023, 2, 28));
    touch(dir.filePath(QStringLiteral("march.log")), QDateTime(QDate(2023, 3, 1), QTime(9, 0)));
    touch(dir.filePath(QStringLiteral("february.log")), QDateTime(QDate(2023, 2, 27), QTime(9, 0)));
    QCOMPARE(pruneLogsOlderThan(dir.path(), cutoff), 1);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("march.log"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("february.log"))));
}

void TestLogging::fatalIsOnDiskBeforeAbort()
{
    QTemporaryDir dir;
    QProcess child;
    child.setWorkingDirectory(dir.path());
    child.start(QStringLiteral(LOG_FATAL_CHILD), {dir.path()});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    const QStringList logs = QDir(dir.path()).entryList({QStringLiteral("*.log")}, QDir::Files);
    QCOMPARE(logs.size(), 1);
    const QStringList lines = readLines(dir.filePath(logs.first()));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].contains(QLatin1String("[I] [Info]")) && lines[0].endsWith(QLatin1String("child is about to fail")),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].contains(QLatin1String("[F] [Fatal]")) && lines[1].endsWith(QLatin1String("unrecoverable state 42")),
             qPrintable(lines[1]));
}

void TestLogging::startUpMakesFoldersAndInstallsHandler()
{
    QVERIFY(!ApplicationServices::instance());
    const QtMessageHandler outer = qInstallMessageHandler(nullptr);

    // An outdated log from an earlier run is pruned on the way up.
    QVERIFY(QDir().mkpath(apppaths::logDir()));
    touch(apppaths::logDir() + QLatin1String("/stale.log"), QDateTime::currentDateTime().addDays(-40));

    ApplicationServices* services = ApplicationServices::startUp();
    auto restore = qScopeGuard([&] {
        logmessages::uninstall();
        qInstallMessageHandler(outer);
    });
    QVERIFY(services);
    QCOMPARE(ApplicationServices::startUp(), services);

    const QString home = QDir::homePath();
    QCOMPARE(apppaths::logDir(), home + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Log"));
    QCOMPARE(apppaths::configDir(), home + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Config"));
    QCOMPARE(apppaths::tempDir(), home + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Temp"));
    for (const QString& folder : {apppaths::logDir(), apppaths::configDir(), apppaths::tempDir()})
        QVERIFY2(QDir(folder).exists(), qPrintable(folder));
    QVERIFY(!QFile::exists(apppaths::logDir() + QLatin1String("/stale.log")));

    // The start-up line goes in unframed; later messages come through the handler.
    qWarning("after start-up");
    const QString logFile = currentLogFile();
    QVERIFY(logFile.startsWith(apppaths::logDir()));
    const QStringList lines = readLines(logFile);
    QVERIFY(lines.size() >= 2);
    QVERIFY2(lines.first().endsWith(QLatin1String("[I] Program startup: initialization in progress...")),
             qPrintable(lines.first()));
    QVERIFY(lines.last().contains(QLatin1String("[W] [Warning]")));
    QVERIFY(lines.last().endsWith(QLatin1String(" after start-up")));

    QCOMPARE(ApplicationServices::windowIconPath(), QStringLiteral(":/img/icons/tessil_icon.ico"));
    const auto meta = ICVUpdatesService::Shared()->ProductMeta();
    QVERIFY(meta);
    QCOMPARE(meta->ProductId(), std::string("10021"));
    QCOMPARE(meta->Version(), std::string("2.0.0"));
    QCOMPARE(meta->Vendor(), std::string("Veltrano"));
}

QUORVIA_WIDGET_TEST_MAIN(TestLogging)
#include "tst_logging.moc"
