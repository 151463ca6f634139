#include "printprogressbar.h"
#include "ui_printprogressbar.h"

#include "printjob.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

PrintProgressBar::PrintProgressBar(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PrintProgressBar>())
{
    ui->setupUi(this);
    // Beside the page, in the desktop's colours, like the find bar.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    showDelay = new QTimer(this);
    showDelay->setSingleShot(true);
    connect(showDelay, &QTimer::timeout, this, [this] {
        if (job)
            show();
    });
    connect(ui->cancelButton, &QPushButton::clicked, this, [this] {
        if (!job)
            return;
        cancelling = true;
        job->cancel();
        showProgress();
    });
    hide();
}

PrintProgressBar::~PrintProgressBar() = default;

void PrintProgressBar::follow(PrintJob* newJob, int delay)
{
    if (job)
        disconnect(job, nullptr, this, nullptr);
    job = newJob;
    cancelling = false;
    if (!job) {
        hide();
        return;
    }
    connect(job, &PrintJob::progressed, this, &PrintProgressBar::showProgress);
    connect(job, &PrintJob::finished, this, [this] {
        showDelay->stop();
        hide();
    });
    showProgress();
    showDelay->start(delay);
}

QString PrintProgressBar::text() const
{
    return ui->progressLabel->text();
}

void PrintProgressBar::showProgress()
{
    if (!job)
        return;
    ui->cancelButton->setEnabled(!cancelling);
    if (cancelling) {
        ui->progressLabel->setText(tr("Cancelling…"));
        return;
    }
    if (job->stage() != PrintJob::Stage::Printing || job->pageCount() <= 0) {
        ui->progressLabel->setText(tr("Preparing the pages…"));
        ui->progressBar->setRange(0, 0); // busy
        return;
    }
    // The page being painted: one past those done.
    const int page = std::min(job->page() + 1, job->pageCount());
    ui->progressLabel->setText(job->isPdf() ? tr("Writing page %1 of %2 of the PDF…").arg(page).arg(job->pageCount())
                                            : tr("Printing page %1 of %2…").arg(page).arg(job->pageCount()));
    ui->progressBar->setRange(0, job->pageCount());
    ui->progressBar->setValue(job->page());
}

void PrintProgressBar::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topLeft(), rect().topRight());
}

void PrintProgressBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showProgress();
    }
}
