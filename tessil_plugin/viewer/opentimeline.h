#pragma once

// Measures one open as its user lives it and writes it to the log at debug
// level: when the message was ready, when the view with its header and
// tiles was first painted, when the body was shown, and the longest time the
// event loop went without running (a 20 ms timer that keeps firing while
// nothing blocks it). The synchronous part of the open (decoding, setting up
// the view) counts as a stall too. The measurement ends once the body's
// layout has been quiet for half a second.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QAbstractTextDocumentLayout;
class QWidget;

class OpenTimeline : public QObject
{
    Q_OBJECT
public:
    // `started` has run since the open began; `view` names the file in the
    // log (its "sourceFilePath", which the host sets once the view exists)
    // and `header`, a part of it, is watched for the view's first paint.
    // Both must outlive the timeline.
    OpenTimeline(QWidget* view, QWidget* header, const QElapsedTimer& started);
    ~OpenTimeline() override;

    // The body is in place; `layout` (null without a body) is watched until
    // it settles.
    void bodyShown(bool hasBody, QAbstractTextDocumentLayout* layout);

    // The longest stall so far, in milliseconds.
    qint64 longestStall() const { return longestStall_; }
    bool isFinished() const { return finished_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    void finish();
    void log(const QString& what);

    QWidget* view_;
    QWidget* header_;
    QString name_;
    QElapsedTimer clock_;
    qint64 readyAfter_ = 0;
    qint64 lastTick_ = 0;
    bool ticked_ = false;
    qint64 longestStall_ = 0;
    bool finished_ = false;
    QTimer ticker_;
    QTimer quiet_;
    QPointer<QAbstractTextDocumentLayout> layout_;
};
