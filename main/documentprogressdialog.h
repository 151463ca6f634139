#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

// Shows how far a document conversion or image export has got.
class DocumentProgressDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DocumentProgressDialog(QWidget* parent = nullptr);

    static constexpr int kScale = 1000;

    QString statusText() const;
    int progressValue() const;
    bool isBusy() const; // no known amount of work: the bar shows a busy indicator
    bool isCancelEnabled() const;

signals:
    void cancelRequested();

public slots:
    // total below 1 means the amount of work is unknown; an empty detail keeps
    // the previous status text.
    void onProgress(int current, int total, const QString& detail);
    void onFinished(bool success);

private:
    QLabel* statusLabel;
    QProgressBar* progressBar;
    QPushButton* cancelButton;
};
