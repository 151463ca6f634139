#pragma once

// The desktop's xdg-open, played by a script put first on PATH while it
// lives: it notes the path it was given and ends with the status it was
// told, after the delay it was told. Programs that hand files to the desktop
// through xdg-open can so be tested for what they handed over and for how
// they take "no program for this file" or no xdg-open at all.

#include <QList>
#include <QTemporaryDir>
#include <QUrl>

namespace testsupport {

class FakeDesktop
{
public:
    // Answers 0 at once until told otherwise.
    FakeDesktop();
    ~FakeDesktop();

    // Whether xdg-open is nowhere on PATH.
    void setMissing(bool missing);
    // The status xdg-open ends with, after `delaySeconds`.
    void setAnswer(int status, int delaySeconds = 0);
    // The paths it was given so far, oldest first; forgets them.
    QList<QUrl> takeOpened();
    // Waits (up to 20 s) until it was given `count` paths, and takes them.
    QList<QUrl> waitOpened(int count);

private:
    QTemporaryDir dir_;
    QByteArray path_;
    qint64 consumed_ = 0;
};

} // namespace testsupport
