#pragma once

#include <QString>
#include <QStringList>

class MainWindow;
class QCoreApplication;
class QLocalServer;
class QWidget;

// One running instance per user: a second start hands its files to the first
// over a local socket and exits.

// "Docavel.veltrano.Quorvia"
QString localServerName();

// The arguments after the program that name existing regular files, made
// absolute, in command-line order.
QStringList fileArguments(const QStringList& arguments);

// Client half. True when a running instance took this process's files (the
// caller then exits); otherwise this process has become the server.
bool sendToRunningInstance(QCoreApplication* application);

// Server half: listens when not yet listening, opens every path that later
// starts hand over, and opens this process's own file arguments once the event
// loop runs. Both arguments must be non-null.
void startLocalServer(QCoreApplication* application, MainWindow* mainWindow);

// The process's listening server, or null.
QLocalServer* localServer();

// Shows the window normally if minimised, raises and activates it.
void bringWindowToFront(QWidget* window);
