#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class OpenFailuresDialog;
}

// The files of one open (the command line, a drop, a hand-off from a second
// start, a choice in the open dialog) that could not be opened, each with its
// reason, in one list. Failures that arrive while it is still shown join the
// list rather than stack another dialog on top.
class OpenFailuresDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OpenFailuresDialog(QWidget* parent = nullptr);
    ~OpenFailuresDialog() override;

    // The file name is listed, the full path is its tool tip. The same file
    // with the same reason is listed once.
    void addFailure(const QString& path, const QString& reason);
    int failureCount() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateHeading();
    void widenForReasons();

    std::unique_ptr<Ui::OpenFailuresDialog> ui;
};
