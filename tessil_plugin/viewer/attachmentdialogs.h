#pragma once

// Everything the attachment actions ask of the user or hand to the desktop:
// file and directory dialogs, the context menu, message boxes and opening
// files or folders in other applications. The view calls them through this
// class so that tests can answer in their place; this base class shows the
// real dialogs.

#include <QString>

class QAction;
class QMenu;
class QPoint;
class QUrl;
class QWidget;

class AttachmentDialogs
{
public:
    virtual ~AttachmentDialogs();

    // The chosen file, or an empty string when the user cancels.
    virtual QString getSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath);
    // The chosen directory, or an empty string when the user cancels.
    virtual QString getExistingDirectory(QWidget* parent, const QString& title, const QString& startDirectory);
    // Runs the menu at a global position; the triggered action or null.
    virtual QAction* execMenu(QMenu* menu, const QPoint& globalPosition);
    // A warning box with a single OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text);
    // A warning box with OK and Cancel, Cancel the default; true for OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text);
    // Hands a file or folder to the desktop; the result is the desktop's.
    virtual bool openUrl(const QUrl& url);
};
