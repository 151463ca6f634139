#include "fileopenfilter.h"

#include <QDebug>
#include <QFileOpenEvent>

FileOpenFilter::FileOpenFilter(QObject* parent)
    : QObject(parent)
{
}

bool FileOpenFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FileOpen) {
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        qDebug() << "Open file:" << file;
        emit fileOpened(file);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
