#pragma once

// The bar that follows a print job at the foot of the view: what it is
// doing ("Preparing the pages…", then "Printing page 3 of 12" or "Writing
// page 3 of 12 of the PDF"), a progress bar, and Cancel. It shows only when
// the job takes longer than a moment, and goes when the job ends.

#include <QPointer>
#include <QWidget>

#include <memory>

class PrintJob;
class QTimer;

namespace Ui {
class PrintProgressBar;
}

class PrintProgressBar : public QWidget
{
    Q_OBJECT
public:
    explicit PrintProgressBar(QWidget* parent = nullptr);
    ~PrintProgressBar() override;

    // Follows `job` from now on; shown after `delay` milliseconds unless the
    // job has ended by then.
    void follow(PrintJob* job, int delay = 300);
    QString text() const;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showProgress();

    std::unique_ptr<Ui::PrintProgressBar> ui;
    QPointer<PrintJob> job;
    QTimer* showDelay = nullptr;
    bool cancelling = false;
};
