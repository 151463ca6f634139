#pragma once

#include <QKeySequence>
#include <QList>

class QAction;

// The host's own keyboard shortcuts. Each command takes the keys the platform
// binds to its standard key, and the ones users know from other programs
// where the platform lacks them (Qt binds no key to Quit on some desktops).
// A document's commands never get one of these keys: see release().
namespace hostshortcuts {

QList<QKeySequence> open();
QList<QKeySequence> closeTab();
QList<QKeySequence> quit();
QList<QKeySequence> nextTab();
QList<QKeySequence> previousTab();
QList<QKeySequence> userGuide();

// Every key above.
QList<QKeySequence> all();

// Takes the host's keys off a document's action, so that a key never means
// two things; returns the keys taken.
QList<QKeySequence> release(QAction* action);

} // namespace hostshortcuts
