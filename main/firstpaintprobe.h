#pragma once

#include <QElapsedTimer>
#include <QObject>

// Writes one debug line when the watched window is painted for the first time,
// with the time since the program started: the start-up time as a user sees it.
class FirstPaintProbe : public QObject
{
    Q_OBJECT
public:
    FirstPaintProbe(QObject* watched, const QElapsedTimer& sinceStart, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer clock;
};
