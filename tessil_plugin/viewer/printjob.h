#pragma once

// One printout or PDF export of a message, worked in a thread of its own so
// that the window never waits on it: the body prepared (unless the view
// has it already), the printed document composed (printcomposer.h), laid
// out in pages and painted page by page, with the page number at the foot
// of each. The job says how far it is and can be cancelled between pages.
//
// A PDF is written to a new file beside the chosen one and put in its place
// only once complete, so a cancelled or failed export leaves any file of
// that name as it was and no partial file behind.
//
// The work goes on when its job object is deleted (its tab closed): what
// was asked for is still printed or written. When the application quits,
// every job still running is cancelled and waited for, which takes at most
// a page, or the layout of the document when that has begun (see
// shutDown()).

#include "printcomposer.h"

#include "message/body_preparation.h"
#include "message/tessil_message.h"

#include <QFont>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <memory>

class QPrinter;
class QTimer;

class PrintJob : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Preparing, Printing, Finished };
    enum class Outcome { None, Done, Cancelled, Failed };

    struct Request
    {
        // Set up by the print dialog; for a PDF, only the page is used.
        std::unique_ptr<QPrinter> printer;
        PrintedHeader header;
        QSharedPointer<const TessilMessage> message;
        // The body as the view shows it; prepared from `message` in the job
        // when `bodyReady` is false.
        PreparedBody body;
        bool bodyReady = false;
        QFont font;
        // The foot of each page, "%1" the page and "%2" the page count.
        QString pageFooter;
        // Where to write a PDF; empty to print.
        QString pdfPath;
    };

    explicit PrintJob(Request request, QObject* parent = nullptr);
    ~PrintJob() override;

    void start();
    // Stops before the next page; what was written is removed.
    void cancel();

    Stage stage() const { return stage_; }
    // Pages painted so far and pages to paint, once known (Printing).
    int page() const { return page_; }
    int pageCount() const { return pageCount_; }
    Outcome outcome() const { return outcome_; }
    // Why it failed, in English, for the log.
    QString failure() const { return failure_; }
    bool isPdf() const { return pdf_; }

    // Cancels every job still running and waits for all of them, at most
    // `patience` milliseconds; false when one still ran then. Called when
    // the application quits; jobs started afterwards work again.
    static bool shutDown(int patience = 10000);
    // Jobs whose work has not ended, in the whole process.
    static int runningJobs();

signals:
    // The stage or the page changed.
    void progressed();
    // The outcome is known; the stage is Finished.
    void finished();

public:
    // What the job object and its thread share.
    struct State;

private:
    void poll();

    std::shared_ptr<State> state;
    std::unique_ptr<Request> request;
    QTimer* pollTimer = nullptr;
    Stage stage_ = Stage::Preparing;
    int page_ = 0;
    int pageCount_ = 0;
    Outcome outcome_ = Outcome::None;
    QString failure_;
    bool pdf_ = false;
};
