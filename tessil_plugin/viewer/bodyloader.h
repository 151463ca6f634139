#pragma once

// Prepares a message's body off the GUI thread: chooses and converts the
// body (prepareBody) and imports it into a QTextDocument (buildBodyDocument)
// in a worker, then hands the document over to the GUI thread.
//
// One loader per view, living in the GUI thread. Destroying it (closing the
// tab) cancels its work, which stops at its next step; a result that still
// arrives is discarded. The workers are shared by the whole process. When the
// application quits (shutDown, run by QCoreApplication's post routines,
// after the windows are gone) they are cancelled and waited for, which takes
// one step of their work: the RTF converter looks at the flag every 64 KiB,
// a converted page is imported in pieces of about 50 ms. Only an HTML body
// that Qt's importer is working on cannot be interrupted; it is waited for.
// No worker thread is ever destroyed while it runs, nor left running into
// the process's exit, where the statics it uses are destroyed.

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
    // ones included.
    static int runningPreparations();
    // Cancels every preparation and waits for them to end; false when one
    // still ran after `patience` milliseconds and was left (a fault: it is
    // then at risk when the process exits). Loaders started afterwards work again.
    static bool shutDown(int patience = 10000);

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
