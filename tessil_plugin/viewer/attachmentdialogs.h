#pragma once

// Everything the attachment actions ask of the user: file and directory
// dialogs, the context menu and message boxes. The view calls them through
// this class so that tests can answer in their place; this base class shows
// the real dialogs. (Files go to the desktop through DesktopLauncher.)

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

class AttachmentDialogs
{
public:
    virtual ~AttachmentDialogs();

    // The chosen file, or an empty string when the user cancels. `filter`
    // names the kind of file in QFileDialog's form; empty for any file.
    virtual QString getSaveFileName(QWidget* parent, const QString& title, const QString& proposedPath,
                                    const QString& filter);
    // The chosen directory, or an empty string when the user cancels.
    virtual QString getExistingDirectory(QWidget* parent, const QString& title, const QString& startDirectory);
    // Runs the menu at a global position; the triggered action or null.
    virtual QAction* execMenu(QMenu* menu, const QPoint& globalPosition);
    // A warning box with a single OK button.
    virtual void warning(QWidget* parent, const QString& title, const QString& text);
    // A warning box with OK and Cancel, Cancel the default; true for OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text);
    // Says that something could not be opened and offers "Save as..."
    // instead: returns at once, and calls `save` if the user takes the
    // offer. The box belongs to `parent` and goes with it.
    virtual void offerSaveInstead(QWidget* parent, const QString& title, const QString& text,
                                  std::function<void()> save);
};
