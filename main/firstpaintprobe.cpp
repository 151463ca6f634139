#include "firstpaintprobe.h"

#include <QDebug>
#include <QEvent>

FirstPaintProbe::FirstPaintProbe(QObject* watched, const QElapsedTimer& sinceStart, QObject* parent)
    : QObject(parent)
    , clock(sinceStart)
{
    if (watched)
        watched->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        qDebug().noquote() << QStringLiteral("[Docavel] First window paint %1 ms after start").arg(clock.elapsed());
        watched->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}
