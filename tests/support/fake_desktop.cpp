#include "support/fake_desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest/QTest>

namespace testsupport {

FakeDesktop::FakeDesktop()
    : path_(qgetenv("PATH"))
{
    QDir().mkpath(dir_.filePath(QStringLiteral("bin")));
    QFile script(dir_.filePath(QStringLiteral("bin/xdg-open")));
    if (script.open(QIODevice::WriteOnly)) {
        script.write("#!/bin/sh\n"
                     "printf '%s\\n' \"$1\" >> \"$FAKE_XDG_OPEN_LOG\"\n"
                     "[ -z \"$FAKE_XDG_OPEN_DELAY\" ] || sleep \"$FAKE_XDG_OPEN_DELAY\"\n"
                     "exit \"${FAKE_XDG_OPEN_STATUS:-0}\"\n");
        script.close();
    }
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FAKE_XDG_OPEN_LOG", QFile::encodeName(dir_.filePath(QStringLiteral("opened.log"))));
    setMissing(false);
    setAnswer(0);
}

FakeDesktop::~FakeDesktop()
{
    qputenv("PATH", path_);
}

void FakeDesktop::setMissing(bool missing)
{
    qputenv("PATH", missing ? QFile::encodeName(dir_.filePath(QStringLiteral("none")))
                            : QFile::encodeName(dir_.filePath(QStringLiteral("bin"))) + ":/usr/bin:/bin");
}

void FakeDesktop::setAnswer(int status, int delaySeconds)
{
    qputenv("FAKE_XDG_OPEN_STATUS", QByteArray::number(status));
    qputenv("FAKE_XDG_OPEN_DELAY", delaySeconds ? QByteArray::number(delaySeconds) : QByteArray());
}

QList<QUrl> FakeDesktop::takeOpened()
{
    // Never emptied: a line written while it would be emptied would be lost.
    QFile log(dir_.filePath(QStringLiteral("opened.log")));
    QList<QUrl> urls;
    if (!log.open(QIODevice::ReadOnly) || !log.seek(consumed_))
        return urls;
    const QByteArray text = log.readAll();
    const qsizetype complete = text.lastIndexOf('\n') + 1;
    consumed_ += complete;
    const QList<QByteArray> lines = text.left(complete).split('\n');
    for (const QByteArray& line : lines) {
        if (!line.isEmpty())
            urls << QUrl::fromLocalFile(QFile::decodeName(line));
    }
    return urls;
}

QList<QUrl> FakeDesktop::waitOpened(int count)
{
    QList<QUrl> urls = takeOpened();
    QElapsedTimer waited;
    waited.start();
    while (urls.size() < count && waited.elapsed() < 20000) {
        QTest::qWait(20);
        urls += takeOpened();
    }
    return urls;
}

} // namespace testsupport
