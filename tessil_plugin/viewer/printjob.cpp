#include "printjob.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDebug>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <exception>
#include <functional>

namespace {

// How often the job object looks at the work's progress.
const int kPollMilliseconds = 100;
// Room under each page's text for its number, in lines of the footer font.
const qreal kFooterLines = 2.0;
// The resolution the printed document is laid out for, a screen's.
const qreal kLayoutDpi = 96.0;

std::atomic<int> g_running{0};

void shutDownAtQuit()
{
    PrintJob::shutDown();
}

} // namespace

// What the job object and its thread share. The thread writes, the job
// object reads; `done` is set last.
struct PrintJob::State
{
    std::atomic<bool> cancelled{false};
    std::atomic<int> stage{int(Stage::Preparing)};
    std::atomic<int> page{0};
    std::atomic<int> pageCount{0};
    std::atomic<bool> done{false};
    Outcome outcome = Outcome::None; // read after `done`
    QString failure;
};

namespace {

// The threads of jobs not yet ended, each with a way to cancel its work,
// for shutDown. Only the GUI thread touches them.
QList<QPair<QThread*, std::function<void()>>>& runningThreads()
{
    static QList<QPair<QThread*, std::function<void()>>> threads;
    return threads;
}

// A new empty file beside `target`, to write the PDF into; empty on failure.
QString reservePartFile(const QString& target, QString* error)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = info.fileName() + (attempt ? QStringLiteral(".%1.part").arg(attempt) : QStringLiteral(".part"));
        QFile file(info.dir().filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (file.error() != QFileDevice::OpenError || file.exists())
            continue;
        *error = file.errorString();
        return {};
    }
    *error = QStringLiteral("no free name beside the file");
    return {};
}

// `body` and `footer` are in the document's units; `scale` takes them to
// the printer's pixels.
void paintPage(QPainter& painter, QTextDocument& document, int index, qreal scale, const QSizeF& body,
               const QRectF& footer, const QString& footerText)
{
    painter.save();
    painter.scale(scale, scale);
    const QRectF view(0, index * body.height(), body.width(), body.height());
    painter.save();
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom, footerText);
    painter.restore();
}

} // namespace

namespace {

// The whole work of one job, in its thread.
void work(PrintJob::Request& request, PrintJob::State& state);

} // namespace

PrintJob::PrintJob(Request newRequest, QObject* parent)
    : QObject(parent)
    , state(std::make_shared<State>())
    , request(std::make_unique<Request>(std::move(newRequest)))
    , pdf_(!request->pdfPath.isEmpty())
{
    pollTimer = new QTimer(this);
    pollTimer->setInterval(kPollMilliseconds);
    connect(pollTimer, &QTimer::timeout, this, &PrintJob::poll);
}

PrintJob::~PrintJob() = default;

void PrintJob::start()
{
    if (!request)
        return;
    static const bool registered = (qAddPostRoutine(&shutDownAtQuit), true);
    Q_UNUSED(registered)

    std::shared_ptr<State> shared = state;
    std::shared_ptr<Request> owned(request.release());
    ++g_running;
    QThread* thread = QThread::create([shared, owned] {
        work(*owned, *shared);
        // The printer and the message go with the thread that used them.
        owned->printer.reset();
        owned->message.reset();
        shared->done = true;
        --g_running;
    });
    thread->setObjectName(QStringLiteral("Quorvia print"));
    std::weak_ptr<State> weak = shared;
    runningThreads().append({thread, [weak] {
                                 if (const std::shared_ptr<State> running = weak.lock())
                                     running->cancelled = true;
                             }});
    connect(thread, &QThread::finished, thread, [thread] {
        QList<QPair<QThread*, std::function<void()>>>& threads = runningThreads();
        for (qsizetype i = 0; i < threads.size(); ++i) {
            if (threads.at(i).first == thread)
                threads.removeAt(i--);
        }
        thread->deleteLater();
    });
    thread->start(QThread::LowPriority);
    pollTimer->start();
}

void PrintJob::cancel()
{
    state->cancelled = true;
}

void PrintJob::poll()
{
    const Stage newStage = Stage(state->stage.load());
    const int newPage = state->page.load();
    const int newCount = state->pageCount.load();
    const bool done = state->done.load();
    if (newStage != stage_ || newPage != page_ || newCount != pageCount_) {
        stage_ = newStage;
        page_ = newPage;
        pageCount_ = newCount;
        if (!done)
            emit progressed();
    }
    if (!done)
        return;
    pollTimer->stop();
    outcome_ = state->outcome;
    failure_ = state->failure;
    stage_ = Stage::Finished;
    emit finished();
}

int PrintJob::runningJobs()
{
    return g_running.load();
}

bool PrintJob::shutDown(int patience)
{
    QList<QPair<QThread*, std::function<void()>>> threads = runningThreads();
    runningThreads().clear();
    for (const auto& entry : std::as_const(threads))
        entry.second();
    const QDeadlineTimer deadline(patience);
    bool ended = true;
    for (const auto& entry : std::as_const(threads)) {
        if (entry.first->wait(deadline))
            delete entry.first;
        else
            ended = false;
    }
    if (!ended)
        qWarning("[Tessil] A print job still ran after %d ms; it is left running", patience);
    return ended;
}

namespace {

void fail(PrintJob::State& state, const QString& why)
{
    state.outcome = PrintJob::Outcome::Failed;
    state.failure = why;
}

void work(PrintJob::Request& request, PrintJob::State& state)
{
    try {
        QPrinter& printer = *request.printer;
        PreparedBody body = request.body;
        if (!request.bodyReady && request.message)
            body = prepareBody(*request.message, &state.cancelled);
        // Laid out as on a screen of 96 dpi and painted scaled to the
        // printer: sizes in pixels, which bodies and the header use, would
        // otherwise be the printer's dots, a fraction of their size. An image
        // measures as well as a screen in any thread.
        QImage layoutDevice(1, 1, QImage::Format_ARGB32);
        layoutDevice.setDotsPerMeterX(qRound(kLayoutDpi / 0.0254));
        layoutDevice.setDotsPerMeterY(qRound(kLayoutDpi / 0.0254));
        std::unique_ptr<QTextDocument> document;
        if (!state.cancelled)
            document = composePrintDocument(request.header, body, request.font, &layoutDevice, &state.cancelled);
        if (state.cancelled || !document) {
            state.outcome = PrintJob::Outcome::Cancelled;
            return;
        }

        QString partFile;
        if (!request.pdfPath.isEmpty()) {
            QString error;
            partFile = reservePartFile(request.pdfPath, &error);
            if (partFile.isEmpty()) {
                fail(state, QStringLiteral("cannot create a file beside %1: %2").arg(request.pdfPath, error));
                return;
            }
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(partFile);
        }
        const auto dropPartFile = [&] {
            if (!partFile.isEmpty())
                QFile::remove(partFile);
        };

        QPainter painter;
        if (!painter.begin(&printer)) {
            dropPartFile();
            fail(state, request.pdfPath.isEmpty() ? QStringLiteral("the printer did not start")
                                                  : QStringLiteral("cannot write %1").arg(partFile));
            return;
        }
        // The printer's area inside its margins; the painter starts at its corner.
        const qreal scale = printer.resolution() / qreal(layoutDevice.logicalDpiX());
        const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
        const QSizeF page(area.width() / scale, area.height() / scale);
        const QFont footerFont(request.font, &layoutDevice);
        const qreal footerHeight = QFontMetricsF(footerFont, &layoutDevice).height() * kFooterLines;
        const QSizeF bodySize(page.width(), std::max(page.height() - footerHeight, page.height() / 2));
        document->setPageSize(bodySize);
        const int pages = std::max(document->pageCount(), 1);

        int first = 1;
        int last = pages;
        if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
            first = std::min(printer.fromPage(), pages);
            last = std::clamp(printer.toPage() > 0 ? printer.toPage() : pages, first, pages);
        }
        state.pageCount = last - first + 1;
        state.stage = int(PrintJob::Stage::Printing);
        painter.setFont(footerFont);
        const QRectF footer(0, bodySize.height(), bodySize.width(), footerHeight);
        for (int page = first; page <= last; ++page) {
            if (state.cancelled) {
                printer.abort();
                painter.end();
                dropPartFile();
                state.outcome = PrintJob::Outcome::Cancelled;
                return;
            }
            if (page > first && !printer.newPage()) {
                painter.end();
                dropPartFile();
                fail(state, QStringLiteral("the printer refused a new page"));
                return;
            }
            paintPage(painter, *document, page - 1, scale, bodySize, footer, request.pageFooter.arg(page).arg(pages));
            state.page = page - first + 1;
        }
        const bool ended = painter.end();
        if (!ended || printer.printerState() == QPrinter::Error) {
            dropPartFile();
            fail(state, request.pdfPath.isEmpty() ? QStringLiteral("the printer failed")
                                                  : QStringLiteral("cannot write %1").arg(partFile));
            return;
        }
        // Put in place of the chosen file in one step.
        if (!partFile.isEmpty()
            && std::rename(QFile::encodeName(partFile).constData(), QFile::encodeName(request.pdfPath).constData()) != 0) {
            dropPartFile();
            fail(state, QStringLiteral("cannot replace %1").arg(request.pdfPath));
            return;
        }
        state.outcome = PrintJob::Outcome::Done;
    } catch (const std::exception& error) {
        fail(state, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        fail(state, QStringLiteral("unexpected exception"));
    }
}

} // namespace
