#include "bodyloader.h"

#include "bodydocument.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QTextDocument>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

#include <exception>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Qt's importer frees several times a large body's size when it is done;
// beyond this the memory is handed back to the system at once rather than
// kept by the allocator for the rest of the session.
const qsizetype kTrimAfterCharacters = 4 * 1024 * 1024;

// Idle worker threads end after this.
const int kIdleThreadMilliseconds = 5000;

// Preparations of the whole process not yet ended, those left running when
// their workers were shut down included.
std::atomic<int> g_unfinished{0};

// Beyond this, waiting at quit is worth a line in the log.
const int kQuickShutDownMilliseconds = 200;

void shutDownAtQuit()
{
    BodyLoader::shutDown();
}

} // namespace

// The workers of the whole process. The first start() makes them and
// shutDown() ends them: deleted once nothing runs, else left alive for the
// work still running, which locks `mutex` when it ends.
class BodyWorkers
{
public:
    struct Result
    {
        PreparedBody body;
        std::unique_ptr<QTextDocument> document;
    };

    static BodyWorkers*& current()
    {
        static BodyWorkers* workers = nullptr;
        return workers;
    }

    static BodyWorkers* instance()
    {
        BodyWorkers*& workers = current();
        if (!workers) {
            static const bool registered = (qAddPostRoutine(&shutDownAtQuit), true);
            Q_UNUSED(registered)
            workers = new BodyWorkers;
        }
        return workers;
    }

    void submit(quint64 id, QSharedPointer<const TessilMessage> message, const QFont& font,
                std::shared_ptr<std::atomic<bool>> cancelled)
    {
        {
            QMutexLocker lock(&mutex);
            ++running;
            cancels.insert(id, cancelled);
        }
        ++g_unfinished;
        pool.setExpiryTimeout(kIdleThreadMilliseconds);
        pool.start([this, id, message, font, cancelled]() mutable { run(id, std::move(message), font, cancelled); });
    }

    // In a worker thread.
    void run(quint64 id, QSharedPointer<const TessilMessage> message, const QFont& font,
             const std::shared_ptr<std::atomic<bool>>& cancelled)
    {
        auto result = std::make_shared<Result>();
        try {
            if (!cancelled->load())
                result->body = prepareBody(*message, cancelled.get());
            if (!cancelled->load())
                result->document = buildBodyDocument(result->body, font, cancelled.get());
        } catch (const std::exception& error) {
            qWarning().noquote() << "[Tessil] Preparing the message body failed:" << error.what();
            result = std::make_shared<Result>();
        } catch (...) {
            qWarning("[Tessil] Preparing the message body failed");
            result = std::make_shared<Result>();
        }
        message.reset();
#if defined(__GLIBC__)
        if (result->body.html.size() > kTrimAfterCharacters)
            malloc_trim(0);
#endif
        std::unique_ptr<QTextDocument> unsent;
        QMutexLocker lock(&mutex);
        if (open && !cancelled->load()) {
            if (result->document)
                result->document->moveToThread(dispatcher->thread());
            // The result travels inside the call, so the GUI thread holds its
            // last reference and the document ends in the thread it now lives in.
            QMetaObject::invokeMethod(
                dispatcher.get(), [this, id, result = std::move(result)] { dispatch(id, *result); },
                Qt::QueuedConnection);
        } else {
            unsent = std::move(result->document);
        }
        cancels.remove(id);
        --running;
        idle.wakeAll();
        lock.unlock();
        // From here on the workers may be gone; `unsent` still lives in this thread.
        unsent.reset();
        --g_unfinished;
    }

    // In the GUI thread.
    void dispatch(quint64 id, Result& result)
    {
        std::unique_ptr<QTextDocument> document = std::move(result.document);
        if (BodyLoader* loader = loaders.take(id))
            loader->deliver(std::move(result.body), std::move(document));
    }

    QMutex mutex;
    QWaitCondition idle;
    bool open = true;  // results are delivered
    int running = 0;
    QHash<quint64, std::shared_ptr<std::atomic<bool>>> cancels; // of the work not yet ended
    QThreadPool pool;
    // In the GUI thread: the receiver of results, and the loaders waiting for one.
    std::unique_ptr<QObject> dispatcher = std::make_unique<QObject>();
    QHash<quint64, BodyLoader*> loaders;
    quint64 nextId = 1;
};

BodyLoader::BodyLoader(QObject* parent)
    : QObject(parent)
{
}

BodyLoader::~BodyLoader()
{
    cancel();
}

void BodyLoader::start(QSharedPointer<const TessilMessage> message, const QFont& font)
{
    cancel();
    body_ = PreparedBody();
    document_.reset();
    BodyWorkers* workers = BodyWorkers::instance();
    id_ = workers->nextId++;
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    workers->loaders.insert(id_, this);
    running_ = true;
    workers->submit(id_, std::move(message), font, cancelled_);
}

void BodyLoader::cancel()
{
    if (!running_)
        return;
    running_ = false;
    cancelled_->store(true);
    if (BodyWorkers* workers = BodyWorkers::current())
        workers->loaders.remove(id_);
}

std::unique_ptr<QTextDocument> BodyLoader::takeDocument()
{
    return std::move(document_);
}

void BodyLoader::deliver(PreparedBody body, std::unique_ptr<QTextDocument> document)
{
    running_ = false;
    body_ = std::move(body);
    document_ = std::move(document);
    emit ready();
}

int BodyLoader::runningPreparations()
{
    return g_unfinished.load();
}

bool BodyLoader::shutDown(int patience)
{
    BodyWorkers* workers = BodyWorkers::current();
    if (!workers)
        return true;
    BodyWorkers::current() = nullptr;
    bool ended = false;
    QElapsedTimer waited;
    waited.start();
    {
        QMutexLocker lock(&workers->mutex);
        workers->open = false;
        for (const std::shared_ptr<std::atomic<bool>>& cancelled : std::as_const(workers->cancels))
            cancelled->store(true);
        const QDeadlineTimer deadline(patience);
        while (workers->running > 0 && workers->idle.wait(&workers->mutex, deadline)) {
        }
        ended = workers->running == 0;
    }
    if (!ended)
        qWarning("[Tessil] A message body was still being prepared after %d ms; it is left running", patience);
    else if (waited.elapsed() > kQuickShutDownMilliseconds)
        qDebug("[Tessil] Waited %lld ms for a message body being imported to end", waited.elapsed());
    // Results already on their way go with their receiver, in this thread.
    workers->dispatcher.reset();
    if (ended)
        delete workers; // joins the idle threads
    return ended;
}
