#pragma once

// Hands a file or a web address to the program the desktop has for it, through
// xdg-open, and tells whether one took it. QDesktopServices::openUrl cannot
// tell: it reports success as soon as xdg-open has started, whether or not
// any program is there, so a file for which the desktop has no program
// seemed to open and nothing happened. Here xdg-open's exit status decides,
// without the caller ever waiting for it. The host and its plug-ins share
// this one implementation.

#include "documentplugininterfaces.h"

#include <QObject>
#include <QUrl>

#include <functional>

class QUORVIA_INTERFACES_EXPORT DesktopLauncher : public QObject
{
    Q_OBJECT
public:
    explicit DesktopLauncher(QObject* parent = nullptr);
    // An xdg-open still running goes on, owned by the application, so that a
    // program on its way is not stopped; its outcome is then no longer told.
    ~DesktopLauncher() override;

    // Starts xdg-open for `url` and returns at once. `done` follows later on
    // this object's thread (never after this object is gone) with `opened`:
    //  - false when there is no xdg-open, or it ends with a status other than
    //    0: the desktop has no program for the file, or the program failed;
    //  - true when it ends with 0, or still runs after the patience time:
    //    without a desktop environment xdg-open runs the program itself and
    //    ends only when the program does.
    // `done` may be empty.
    void open(const QUrl& url, std::function<void(bool opened)> done);

    // How long xdg-open may run before the launch counts as made; 10 s
    // unless set.
    void setPatience(int milliseconds);

private:
    int patience;
};
