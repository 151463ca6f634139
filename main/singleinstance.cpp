#include "singleinstance.h"

#include "mainwindow.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDebug>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

const int kConnectTimeoutMs = 200;
const int kWriteTimeoutMs = 1000;

QPointer<QLocalServer> server;
QMetaObject::Connection serverConnection;

bool listenOnce(QLocalServer* s)
{
    if (s->listen(localServerName()))
        return true;
    // A name left behind by an instance that crashed: clear it and try again.
    QLocalServer::removeServer(localServerName());
    return s->listen(localServerName());
}

// Reads one hand-off message: a 32-bit count, then that many strings. Read
// element by element rather than as a QStringList: the container reader
// reserves room for the announced count up front, so a damaged or hostile
// count would ask for gigabytes before a single byte of it had arrived.
QStringList readPathList(QDataStream& in)
{
    quint32 count = 0;
    in >> count;
    QStringList paths;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString path;
        in >> path;
        if (in.status() == QDataStream::Ok)
            paths.append(path);
    }
    return paths;
}

void deliver(const QPointer<MainWindow>& window, const QStringList& paths)
{
    qDebug().noquote() << QStringLiteral("[Docavel] Hand-off received: %1 file(s)").arg(paths.size());
    if (!window)
        return;
    window->openFiles(paths); // one hand-off, one batch
    if (window)
        bringWindowToFront(window->window());
}

// Takes every complete message the socket holds. A message that has arrived
// only in part stays buffered in the socket until the rest comes.
void readHandOff(const QPointer<QLocalSocket>& socket, const QPointer<MainWindow>& window)
{
    while (socket && socket->bytesAvailable() > 0) {
        QDataStream in(socket.data());
        in.startTransaction();
        const QStringList paths = readPathList(in);
        if (in.commitTransaction()) {
            socket->setProperty("quorviaHandedOff", true);
            deliver(window, paths);
            continue;
        }
        if (in.status() == QDataStream::ReadPastEnd)
            return; // wait for the rest
        // Damaged beyond resynchronising: open nothing, still answer the call.
        socket->setProperty("quorviaHandedOff", true);
        socket->abort();
        deliver(window, {});
        return;
    }
}

void acceptConnections(const QPointer<QLocalServer>& listening, const QPointer<MainWindow>& window)
{
    if (!listening)
        return;
    while (QLocalSocket* connection = listening->nextPendingConnection()) {
        QPointer<QLocalSocket> socket(connection);
        QObject::connect(connection, &QLocalSocket::readyRead, connection,
                         [socket, window] { readHandOff(socket, window); });
        QObject::connect(connection, &QLocalSocket::disconnected, connection, [socket, window] {
            // A sender that went away before its message was complete still
            // asked for the window.
            if (socket && !socket->property("quorviaHandedOff").toBool() && window)
                bringWindowToFront(window->window());
        });
        QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        if (connection->bytesAvailable() > 0)
            readHandOff(socket, window);
    }
}

} // namespace

QString localServerName()
{
    return QStringLiteral("Docavel.%1.%2").arg(QStringLiteral("veltrano"), QStringLiteral("Quorvia"));
}

QStringList fileArguments(const QStringList& arguments)
{
    QStringList files;
    for (int i = 1; i < arguments.size(); ++i) {
        const QFileInfo info(arguments.at(i));
        if (info.exists() && info.isFile())
            files.append(info.absoluteFilePath());
    }
    return files;
}

bool sendToRunningInstance(QCoreApplication* application)
{
    QLocalSocket socket;
    socket.connectToServer(localServerName(), QIODevice::ReadWrite);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        const QStringList files = application ? fileArguments(application->arguments()) : QStringList();
        QDataStream out(&socket);
        out << int(files.size());
        for (const QString& file : files)
            out << file;
        socket.flush();
        socket.waitForBytesWritten(kWriteTimeoutMs);
        return true;
    }

    auto* listening = new QLocalServer(application);
    if (listenOnce(listening)) {
        server = listening;
    } else {
        listening->deleteLater();
        server = nullptr;
    }
    return false;
}

void startLocalServer(QCoreApplication* application, MainWindow* mainWindow)
{
    if (!application || !mainWindow)
        return;
    if (!server) {
        server = new QLocalServer(application);
        listenOnce(server); // a server that cannot listen is kept all the same
    }

    const QPointer<QLocalServer> listening(server.data());
    const QPointer<MainWindow> window(mainWindow);
    QObject::disconnect(serverConnection);
    serverConnection = QObject::connect(server.data(), &QLocalServer::newConnection, application,
                                        [listening, window] { acceptConnections(listening, window); });
    acceptConnections(listening, window);

    const QStringList files = fileArguments(application->arguments());
    if (!files.isEmpty()) {
        QTimer::singleShot(0, mainWindow, [window, files] {
            if (window)
                window->openFiles(files);
        });
    }
}

QLocalServer* localServer()
{
    return server.data();
}

void bringWindowToFront(QWidget* window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}
