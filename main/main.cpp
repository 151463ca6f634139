#include "appconfig.h"
#include "applicationservices.h"
#include "fileopenfilter.h"
#include "firstpaintprobe.h"
#include "mainwindow.h"
#include "singleinstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>

namespace {

// The one place where the window frame will wrap the main window: until the
// frame exists, the main window is its own top-level window. Returns the
// top-level widget to show; the caller keeps owning the main window.
QWidget* wrapInWindowFrame(MainWindow* mainWindow)
{
    return mainWindow;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    QApplication application(argc, argv);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    if (sendToRunningInstance(&application))
        return 0;

    ApplicationServices::startUp();
    // The settings store also names the application for everything else,
    // plug-ins included, that asks Qt for it.
    AppConfig::instance();

    auto* mainWindow = new MainWindow(nullptr);
    startLocalServer(&application, mainWindow);

    FileOpenFilter fileOpenFilter;
    application.installEventFilter(&fileOpenFilter);
    QObject::connect(&fileOpenFilter, &FileOpenFilter::fileOpened, mainWindow, &MainWindow::openFile);

    QWidget* topLevel = wrapInWindowFrame(mainWindow);
    FirstPaintProbe firstPaint(topLevel, sinceStart);
    topLevel->show();

    const int result = application.exec();
    if (topLevel != mainWindow)
        delete topLevel; // the frame owns the main window
    else
        delete mainWindow;
    return result;
}
