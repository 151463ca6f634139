#pragma once

// Prepares a message's body off the GUI thread: chooses and converts the
// body (prepareBody) and imports it into a QTextDocument (buildBodyDocument)
// in a worker, then hands the document over to the GUI thread.
//
// One loader per view, living in the GUI thread. Destroying it (closing the
// tab) cancels its work; a result that still arrives is discarded. The
// workers are shared by the whole process; when the application quits
// (shutDown, run by QCoreApplication's post routines), they are asked to
// stop and waited for at most 200 ms. Work that cannot stop by then is left
// to end on its own: its thread is never destroyed while it runs, and the
// plug-in's code stays mapped until the process ends.

#include "message/body_preparation.h"
#include "message/tessil_message.h"

#include <QFont>
#include <QObject>
#include <QSharedPointer>

#include <atomic>
#include <memory>

class QTextDocument;

class BodyLoader : public QObject
{
    Q_OBJECT
public:
    explicit BodyLoader(QObject* parent = nullptr);
    ~BodyLoader() override;

    // Starts preparing the body of `message`, with `font` as the document's
    // default font. Any earlier preparation is cancelled.
    void start(QSharedPointer<const TessilMessage> message, const QFont& font);
    // Cancels the running preparation, if any; its result never arrives.
    void cancel();
    bool isRunning() const { return running_; }

    // After ready(): the body that was chosen (source None when none shows
    // anything or the preparation failed), and its document, which the
    // caller takes over (null when there is none).
    const PreparedBody& body() const { return body_; }
    std::unique_ptr<QTextDocument> takeDocument();

    // Preparations that have not ended yet, in the whole process, cancelled
    // ones and those left running by shutDown() included.
    static int runningPreparations();
    // Cancels every preparation and waits up to `milliseconds` for them to
    // end; true when none runs any more. Loaders started afterwards work again.
    static bool shutDown(int milliseconds = 200);

signals:
    void ready();

private:
    friend class BodyWorkers;
    void deliver(PreparedBody body, std::unique_ptr<QTextDocument> document);

    quint64 id_ = 0;
    bool running_ = false;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    PreparedBody body_;
    std::unique_ptr<QTextDocument> document_;
};
