#pragma once

#include <QObject>
#include <QString>

// Turns the platform's file-open events (a document handed to the running
// program by the desktop) into fileOpened signals.
class FileOpenFilter : public QObject
{
    Q_OBJECT
public:
    explicit FileOpenFilter(QObject* parent = nullptr);

signals:
    void fileOpened(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
