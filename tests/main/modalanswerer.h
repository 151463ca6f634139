#pragma once

// Answers the modal dialogs that come up while it lives, so that tests of code
// that shows them do not block: message boxes are recorded and closed, any
// other modal dialog is recorded by title and rejected.

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

class ModalAnswerer : public QObject
{
public:
    struct Shown
    {
        QString className;
        QString title;
        QString text;
    };

    QList<Shown> shown;

    ModalAnswerer()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown.append({QString::fromLatin1(box->metaObject()->className()), box->windowTitle(), box->text()});
                box->done(QMessageBox::Ok);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                shown.append({QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle(), {}});
                dialog->reject();
            }
        });
        timer.start(10);
    }

private:
    QTimer timer;
};
