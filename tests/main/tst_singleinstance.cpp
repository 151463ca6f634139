// Single instance with the real program: a second start hands its files to the
// running one and exits; messages that arrive in pieces, damaged messages and a
// stale server name. Each program runs offscreen with a home, a temporary
// folder (where the server's socket lives) and a working folder of its own;
// the working folder's "djvu_plugin" holds the test plug-in that opens
// ".qvtest" files. Observed through the recent-files list and the log.

#include "fileopenfilter.h"
#include "singleinstance.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileOpenEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

const int kStartTimeoutMs = 60000;

class Sandbox
{
public:
    Sandbox()
    {
        QDir root(dir.path());
        root.mkpath(QStringLiteral("home"));
        root.mkpath(QStringLiteral("tmp"));
        root.mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        root.mkpath(QStringLiteral("work/djvu_plugin"));
        root.mkpath(QStringLiteral("files/folder.qvtest"));
        QFile::copy(QStringLiteral(HOST_TEST_PLUGIN_BOTH), root.filePath(QStringLiteral("work/djvu_plugin/libtp_both.so")));
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    QString socketPath() const { return path(QStringLiteral("tmp/Docavel.veltrano.Quorvia")); }
    QString recentFilesPath() const
    {
        return path(QStringLiteral("home/AppData/Roaming/Veltrano/Quorvia/Config/recent_files.json"));
    }

    QString makeFile(const QString& name) const
    {
        const QString p = path(QStringLiteral("files/") + name);
        QFile file(p);
        file.open(QIODevice::WriteOnly);
        file.write("test document");
        return p;
    }

    QStringList recentFiles() const
    {
        QFile file(recentFilesPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList list;
        for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array())
            list << value.toString();
        return list;
    }

    QString log() const
    {
        QString all;
        const QDir logDir(path(QStringLiteral("home/AppData/Roaming/Veltrano/Quorvia/Log")));
        for (const QString& name : logDir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
            QFile file(logDir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                all += QString::fromUtf8(file.readAll());
        }
        return all;
    }

    int handOffsLogged() const { return log().count(QLatin1String("[Docavel] Hand-off received:")); }

    std::unique_ptr<QProcess> program(const QStringList& arguments) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("home/.config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("home/.local/share")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral("home/.cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(path(QStringLiteral("work")));
        process->setProgram(QStringLiteral(QUORVIA_PROGRAM));
        process->setArguments(arguments);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        return process;
    }

private:
    QTemporaryDir dir;
};

// Stops every program a test started, whatever way the test ends.
class Programs
{
public:
    ~Programs()
    {
        for (auto& process : processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(10000);
            }
        }
    }
    QProcess* add(std::unique_ptr<QProcess> process)
    {
        processes.push_back(std::move(process));
        return processes.back().get();
    }

private:
    std::vector<std::unique_ptr<QProcess>> processes;
};

// Starts the first instance and waits until it listens.
QProcess* startPrimary(const Sandbox& box, Programs& programs, const QStringList& arguments = {})
{
    QProcess* primary = programs.add(box.program(arguments));
    primary->start();
    if (!primary->waitForStarted(kStartTimeoutMs))
        return nullptr;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartTimeoutMs) {
        if (QFileInfo(box.socketPath()).exists() && !QFileInfo(box.socketPath()).isFile()
            && box.log().contains(QLatin1String("First window paint")))
            return primary;
        if (primary->state() == QProcess::NotRunning)
            return nullptr;
        QTest::qWait(50);
    }
    return nullptr;
}

// Runs a second start to its end; returns its exit code, or -1.
int runSecond(const Sandbox& box, const QStringList& arguments, qint64* elapsedMs = nullptr)
{
    auto second = box.program(arguments);
    QElapsedTimer clock;
    clock.start();
    second->start();
    if (!second->waitForFinished(kStartTimeoutMs))
        return -1;
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    return second->exitStatus() == QProcess::NormalExit ? second->exitCode() : -1;
}

QByteArray handOffMessage(const QStringList& paths)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << int(paths.size());
    for (const QString& path : paths)
        out << path;
    return bytes;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void fileArgumentsKeepOnlyExistingFiles();
    void fileOpenEventsBecomeSignals();
    void ownFileArgumentsOpenAfterStart();
    void secondStartHandsOverItsFile();
    void secondStartWithoutFilesOpensNothing();
    void nonFilesAreNeverSent();
    void messageInPiecesOpensEveryFile();
    void damagedMessagesDoNotHarmTheServer();
    void staleServerNameIsReplaced();
};

void TestSingleInstance::fileArgumentsKeepOnlyExistingFiles()
{
    Sandbox box;
    const QString a = box.makeFile(QStringLiteral("a.qvtest"));
    const QString b = box.makeFile(QStringLiteral("b.txt"));
    QDir::setCurrent(box.path(QStringLiteral("files")));
    const QStringList arguments = {a, QStringLiteral("--verbose"), box.path(QStringLiteral("files/folder.qvtest")),
                                   box.path(QStringLiteral("files/missing.qvtest")), QStringLiteral("b.txt"),
                                   QStringLiteral("-"), a};
    QCOMPARE(fileArguments(arguments), (QStringList{b, a}));
    QVERIFY(fileArguments({QStringLiteral("quorvia")}).isEmpty());
}

void TestSingleInstance::fileOpenEventsBecomeSignals()
{
    FileOpenFilter filter;
    qApp->installEventFilter(&filter);
    QSignalSpy spy(&filter, &FileOpenFilter::fileOpened);

    QFileOpenEvent event(QStringLiteral("/mail/winmail.dat"));
    QTest::ignoreMessage(QtDebugMsg, "Open file: \"/mail/winmail.dat\"");
    QCoreApplication::sendEvent(qApp, &event);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), QStringLiteral("/mail/winmail.dat"));

    QEvent other(QEvent::User);
    QCoreApplication::sendEvent(qApp, &other);
    QCOMPARE(spy.count(), 1);
    qApp->removeEventFilter(&filter);
}

void TestSingleInstance::ownFileArgumentsOpenAfterStart()
{
    Sandbox box;
    Programs programs;
    const QString a = box.makeFile(QStringLiteral("first.qvtest"));
    const QString b = box.makeFile(QStringLiteral("second.qvtest"));
    QVERIFY(startPrimary(box, programs, {a, QStringLiteral("--flag"), b}));
    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), (QStringList{b, a}), 20000);
}

void TestSingleInstance::secondStartHandsOverItsFile()
{
    Sandbox box;
    Programs programs;
    QProcess* primary = startPrimary(box, programs);
    QVERIFY(primary);
    const QString file = box.makeFile(QStringLiteral("handed.qvtest"));

    qint64 elapsed = 0;
    QCOMPARE(runSecond(box, {file}, &elapsed), 0);
    qInfo("second start handed its file over and exited in %lld ms", static_cast<long long>(elapsed));
    QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));
    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), QStringList{file}, 20000);

    // Handing the same file over again switches to its tab: it stays the only
    // entry, and the primary is still the one serving.
    QCOMPARE(runSecond(box, {file}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(box.handOffsLogged(), 2, 20000);
    QCOMPARE(box.recentFiles(), QStringList{file});
    QCOMPARE(primary->state(), QProcess::Running);
}

void TestSingleInstance::secondStartWithoutFilesOpensNothing()
{
    Sandbox box;
    Programs programs;
    QVERIFY(startPrimary(box, programs));
    QCOMPARE(runSecond(box, {}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(box.log().contains(QLatin1String("[Docavel] Hand-off received: 0 file(s)")), 20000);
    QVERIFY(box.recentFiles().isEmpty());
    // The second start wrote no log of its own and made no second server.
    QCOMPARE(box.log().count(QLatin1String("Program startup")), 1);
}

void TestSingleInstance::nonFilesAreNeverSent()
{
    Sandbox box;
    Programs programs;
    QVERIFY(startPrimary(box, programs));
    const QString file = box.makeFile(QStringLiteral("real.qvtest"));
    QCOMPARE(runSecond(box, {QStringLiteral("--option"), box.path(QStringLiteral("files/folder.qvtest")),
                             box.path(QStringLiteral("files/missing.qvtest")), file}),
             0);
    QTRY_VERIFY_WITH_TIMEOUT(box.log().contains(QLatin1String("[Docavel] Hand-off received: 1 file(s)")), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), QStringList{file}, 20000);
}

void TestSingleInstance::messageInPiecesOpensEveryFile()
{
    Sandbox box;
    Programs programs;
    QProcess* primary = startPrimary(box, programs);
    QVERIFY(primary);
    const QString a = box.makeFile(QStringLiteral("piece-one.qvtest"));
    const QString b = box.makeFile(QStringLiteral("piece-two.qvtest"));
    const QByteArray message = handOffMessage({a, b});

    QLocalSocket socket;
    socket.connectToServer(box.socketPath());
    QVERIFY(socket.waitForConnected(5000));
    // Cut inside the count, then inside the second path.
    const QList<int> cuts = {2, int(message.size()) - 7, int(message.size())};
    int sent = 0;
    for (int cut : cuts) {
        socket.write(message.mid(sent, cut - sent));
        QVERIFY(socket.waitForBytesWritten(5000));
        sent = cut;
        QTest::qWait(300);
    }
    socket.disconnectFromServer();

    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), (QStringList{b, a}), 20000);
    QCOMPARE(box.handOffsLogged(), 1);
    QCOMPARE(primary->state(), QProcess::Running);
}

void TestSingleInstance::damagedMessagesDoNotHarmTheServer()
{
    Sandbox box;
    Programs programs;
    QProcess* primary = startPrimary(box, programs);
    QVERIFY(primary);

    const auto sendRaw = [&](const QByteArray& bytes) {
        QLocalSocket socket;
        socket.connectToServer(box.socketPath());
        QVERIFY(socket.waitForConnected(5000));
        socket.write(bytes);
        QVERIFY(socket.waitForBytesWritten(5000));
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(5000);
    };

    // A count of four billion paths with none following.
    sendRaw(QByteArray("\xff\xff\xff\xff", 4));
    // One path whose length is odd, which no UTF-16 text can have.
    sendRaw(QByteArray("\x00\x00\x00\x01\x00\x00\x00\x03\x00\x41\x00", 11));
    // A path claiming 2 GiB of text.
    sendRaw(QByteArray("\x00\x00\x00\x01\x7f\xff\xff\xfe\x00\x41", 10));
    QTRY_COMPARE_WITH_TIMEOUT(box.handOffsLogged(), 1, 20000); // only the odd length is complete enough to judge
    QTest::qWait(300);
    QCOMPARE(primary->state(), QProcess::Running);

    // And a proper hand-off still works afterwards.
    const QString file = box.makeFile(QStringLiteral("after.qvtest"));
    QCOMPARE(runSecond(box, {file}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), QStringList{file}, 20000);
}

void TestSingleInstance::staleServerNameIsReplaced()
{
    Sandbox box;
    Programs programs;
    // What a crashed instance leaves behind: the name exists, nobody listens.
    {
        QFile stale(box.socketPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    QVERIFY(startPrimary(box, programs));
    QVERIFY(!QFileInfo(box.socketPath()).isFile());

    const QString file = box.makeFile(QStringLiteral("after-crash.qvtest"));
    QCOMPARE(runSecond(box, {file}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(box.recentFiles(), QStringList{file}, 20000);
}

QUORVIA_WIDGET_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
