#include "documentprogressdialog.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

DocumentProgressDialog::DocumentProgressDialog(QWidget* parent)
    : QDialog(parent)
    , statusLabel(new QLabel(this))
    , progressBar(new QProgressBar(this))
    , cancelButton(new QPushButton(tr("Cancel"), this))
{
    setWindowTitle(tr("Please Wait"));
    statusLabel->setText(tr("Working..."));
    statusLabel->setWordWrap(true);
    progressBar->setRange(0, kScale);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusLabel);
    layout->addWidget(progressBar);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(cancelButton, &QPushButton::clicked, this, &DocumentProgressDialog::cancelRequested);
}

QString DocumentProgressDialog::statusText() const
{
    return statusLabel->text();
}

int DocumentProgressDialog::progressValue() const
{
    return progressBar->value();
}

bool DocumentProgressDialog::isBusy() const
{
    return progressBar->minimum() == 0 && progressBar->maximum() == 0;
}

bool DocumentProgressDialog::isCancelEnabled() const
{
    return cancelButton->isEnabled();
}

void DocumentProgressDialog::onProgress(int current, int total, const QString& detail)
{
    if (total >= 1) {
        // After a stretch of unknown work the bar must get its scale back, or
        // every value would be clamped into the busy range and lost.
        if (progressBar->maximum() != kScale)
            progressBar->setRange(0, kScale);
        const double done = std::clamp(current, 0, total);
        progressBar->setValue(static_cast<int>(std::round(done * kScale / total)));
    } else {
        progressBar->setRange(0, 0);
    }
    if (!detail.isEmpty())
        statusLabel->setText(detail);
}

void DocumentProgressDialog::onFinished(bool success)
{
    Q_UNUSED(success) // the dialog closes the same way either way
    cancelButton->setEnabled(false);
    progressBar->setRange(0, kScale);
    progressBar->setValue(kScale);
    hide();
    qDebug("DocumentProgressDialog close");
}
