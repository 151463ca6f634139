#include "opentimeline.h"

#include <QAbstractTextDocumentLayout>
#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>

namespace {

const int kTickMilliseconds = 20;
const int kQuietMilliseconds = 500;
const int kLongestWatchMilliseconds = 60000;

} // namespace

OpenTimeline::OpenTimeline(QWidget* view, QWidget* header, const QElapsedTimer& started)
    : view_(view)
    , header_(header)
    , clock_(started)
{
    if (!clock_.isValid())
        clock_.start();
    // The event loop has not run since the open began: the first tick
    // measures the synchronous part, and says when the message was ready.
    readyAfter_ = clock_.elapsed();
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(kTickMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, &OpenTimeline::tick);
    ticker_.start();
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &OpenTimeline::finish);
    header->installEventFilter(this);
}

OpenTimeline::~OpenTimeline()
{
    if (!finished_)
        log(QStringLiteral("closed before it settled; longest event-loop stall %1 ms").arg(longestStall_));
}

void OpenTimeline::bodyShown(bool hasBody, QAbstractTextDocumentLayout* layout)
{
    // Written from the event loop: the view may not know its file yet.
    const QString what = hasBody ? QStringLiteral("body shown after %1 ms").arg(clock_.elapsed())
                                 : QStringLiteral("no body to show after %1 ms").arg(clock_.elapsed());
    QTimer::singleShot(0, this, [this, what] { log(what); });
    layout_ = layout;
    if (layout)
        connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, &quiet_, qOverload<>(&QTimer::start));
    quiet_.start();
}

bool OpenTimeline::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == header_ && event->type() == QEvent::Paint) {
        log(QStringLiteral("header and attachments painted after %1 ms").arg(clock_.elapsed()));
        header_->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}

void OpenTimeline::tick()
{
    const qint64 now = clock_.elapsed();
    if (!ticked_)
        log(QStringLiteral("message ready after %1 ms").arg(readyAfter_));
    longestStall_ = std::max(longestStall_, now - lastTick_ - (ticked_ ? kTickMilliseconds : 0));
    lastTick_ = now;
    ticked_ = true;
    if (now > kLongestWatchMilliseconds)
        finish();
}

void OpenTimeline::finish()
{
    if (finished_)
        return;
    finished_ = true;
    ticker_.stop();
    quiet_.stop();
    if (layout_)
        disconnect(layout_, nullptr, &quiet_, nullptr);
    log(QStringLiteral("longest event-loop stall %1 ms").arg(longestStall_));
}

void OpenTimeline::log(const QString& what)
{
    if (name_.isEmpty())
        name_ = QFileInfo(view_->property("sourceFilePath").toString()).fileName();
    qDebug().noquote() << QStringLiteral("[Tessil] Open of \"%1\": %2")
                              .arg(name_.isEmpty() ? QStringLiteral("message") : name_, what);
}
