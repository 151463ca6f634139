#pragma once

class QCoreApplication;

// Ends the event loop, as closing the window does, when the process is asked
// to stop (SIGTERM, SIGINT, SIGHUP: a logout, Ctrl+C in the terminal), so that
// the program still tidies up after itself: its temporary copies go. Does
// nothing where these signals do not exist.
void quitOnTerminationSignals(QCoreApplication* application);
