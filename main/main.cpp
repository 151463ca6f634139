#include "appconfig.h"
#include "applicationservices.h"
#include "customwindowframe.h"
#include "fileopenfilter.h"
#include "firstpaintprobe.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "singleinstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>

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
    // Before any window exists, so that every form is built in the chosen language.
    MultiLanguage::instance()->applyStoredLanguage();

    auto* mainWindow = new MainWindow(nullptr);
    startLocalServer(&application, mainWindow);

    FileOpenFilter fileOpenFilter;
    application.installEventFilter(&fileOpenFilter);
    QObject::connect(&fileOpenFilter, &FileOpenFilter::fileOpened, mainWindow, &MainWindow::openFile);

    auto* frame = new CustomWindowFrame(mainWindow, nullptr);
    FirstPaintProbe firstPaint(frame, sinceStart);
    frame->show();

    const int result = application.exec();
    delete frame; // and with it the main window, its content
    return result;
}
