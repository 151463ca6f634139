#include "appconfig.h"
#include "applicationservices.h"
#include "apppaths.h"
#include "customwindowframe.h"
#include "fileopenfilter.h"
#include "firstpaintprobe.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "programoptions.h"
#include "quitsignals.h"
#include "singleinstance.h"
#include "temporarycopies.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLoggingCategory>

#include <cstdio>

namespace {

bool writeOut(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    // Before any application object: no display needed, no running instance
    // reached.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = parseProgramOptions(arguments);
    if (options.help)
        return writeOut(programHelpText()) ? 0 : 1;
    if (options.version)
        return writeOut(programVersionText()) ? 0 : 1;

    // The names decide every folder and the settings store; the desktop file
    // name lets the desktop match the window to the menu entry.
    apppaths::setApplicationNames();
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVIA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVIA_APP_ID));

    QApplication application(argc, argv);
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    if (sendToRunningInstance(&application))
        return 0;

    // The settings store first: it moves an earlier version's files into place
    // before any folder is made.
    AppConfig::instance();
    ApplicationServices::startUp();
    // Plug-ins write their trace lines in "quorvia.*" categories; asked for,
    // they reach the log through the message handler the start-up installed.
    if (options.verbose || AppConfig::instance()->verboseLog())
        QLoggingCategory::setFilterRules(QStringLiteral("quorvia.*.debug=true"));
    // Before any window exists, so that every form is built in the chosen language.
    MultiLanguage::instance()->applyStoredLanguage();

    const TemporaryCopies temporaryCopies(apppaths::tempRoot());
    auto* mainWindow = new MainWindow(nullptr);
    mainWindow->setTempDirPath(temporaryCopies.path());
    startLocalServer(&application, mainWindow);

    FileOpenFilter fileOpenFilter;
    application.installEventFilter(&fileOpenFilter);
    QObject::connect(&fileOpenFilter, &FileOpenFilter::fileOpened, mainWindow, &MainWindow::openFile);

    auto* frame = new CustomWindowFrame(mainWindow, nullptr);
    FirstPaintProbe firstPaint(frame, sinceStart);
    frame->show();
    quitOnTerminationSignals(&application);

    const int result = application.exec();
    delete frame; // and with it the main window, its content
    return result;
}
