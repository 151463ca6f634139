#include "desktoplauncher.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <memory>

namespace {

const int kDefaultPatience = 10000;

} // namespace

DesktopLauncher::DesktopLauncher(QObject* parent)
    : QObject(parent)
    , patience(kDefaultPatience)
{
}

DesktopLauncher::~DesktopLauncher()
{
    const QList<QProcess*> running = findChildren<QProcess*>(QString(), Qt::FindDirectChildrenOnly);
    for (QProcess* process : running) {
        // Deleting it would kill it, and the program it is about to start with it.
        process->disconnect(this);
        if (QCoreApplication* application = QCoreApplication::instance()) {
            process->setParent(application);
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
        }
    }
}

void DesktopLauncher::setPatience(int milliseconds)
{
    patience = milliseconds;
}

void DesktopLauncher::open(const QUrl& url, std::function<void(bool opened)> done)
{
    auto* process = new QProcess(this);
    // The program xdg-open starts inherits these and may outlive both of us:
    // a pipe that nobody reads would block it, or kill it once closed.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    // Told once, whichever comes first.
    auto pending = std::make_shared<std::function<void(bool)>>(std::move(done));
    const auto tell = [pending](bool opened) {
        std::function<void(bool)> callback;
        std::swap(callback, *pending);
        if (callback)
            callback(opened);
    };
    auto* waited = new QTimer(process);
    waited->setSingleShot(true);
    connect(waited, &QTimer::timeout, this, [tell] { tell(true); });
    connect(process, &QProcess::finished, this, [process, tell](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        tell(status == QProcess::NormalExit && exitCode == 0);
    });
    connect(process, &QProcess::errorOccurred, this, [process, tell](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash also ends in finished()
        process->deleteLater();
        tell(false);
    });

    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    waited->start(patience);
    process->start(QStringLiteral("xdg-open"), {target});
}
