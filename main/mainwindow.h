#pragma once

#include "documentplugininterfaces.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class BrowserTabWidget;
class DocumentPluginManager;
class DocumentProgressDialog;
class OpenFailuresDialog;
class QAction;

namespace Ui {
class MainWindow;
}

// The document area: an empty page inviting files, the document tabs, and the
// one operation through which every file reaches a plug-in. Files arrive in
// batches (the command line, one drop, one hand-off from a second start, one
// choice in the open dialog: openFiles) or one at a time (a recent file:
// openFile); the files of a batch that fail are reported together, in one
// dialog. It is also the host service that plug-in widgets keep, and it keeps
// the current tab's commands (a plug-in's IDocumentWidgetActions) active in
// the window beside its own keyboard commands: open, close the tab, next and
// previous tab.
class MainWindow : public QMainWindow, public IDocumentWidgetHost, public IDocumentDataHost
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QString tempDirPath() const override;
    // A tab of its own for a plug-in's in-memory document (an attached
    // message): no recent-file entry; a second open of the same key
    // switches to its tab.
    bool openDocumentData(QObject* plugin, const QString& key, const QByteArray& data, const QString& title,
                          const QString& toolTip) override;
    // This instance's folder for temporary copies; the root of all instances'
    // folders until set.
    void setTempDirPath(const QString& path);

    bool currentDocumentSupportsBookmarks() const;
    // The current tab's commands, in the plug-in's order; none without tabs.
    QList<QAction*> currentDocumentActions() const;
    // What the window's title names: the current document's own title, its
    // file name when it has none; empty without tabs.
    QString documentTitle() const;
    // The dialog listing the failures of the last batch while it is shown.
    OpenFailuresDialog* openFailuresDialog() const;
    DocumentPluginManager* documentPluginManager() const { return pluginManager; }
    BrowserTabWidget* tabWidget() const;
    bool isShowingTabPage() const;

    // Follows a conversion or an image export: shows a progress dialog for it
    // and takes the object over until its final signal.
    void trackLoader(IDocumentLoader* loader, const QString& documentPath);
    void trackImageExporter(IDocumentImageExporter* exporter, const QString& documentPath);
    int pendingTaskCount() const { return loaderTasks.size() + exportTasks.size(); }

signals:
    void bookmarkCommandsEnabledChanged(bool enabled);
    void documentActionsChanged(const QList<QAction*>& actions);
    void documentTitleChanged(const QString& title);

public slots:
    void openFile(const QString& path);
    void openFiles(const QStringList& paths);
    void on_btnOpenFile_clicked();
    void updateBookmarkCommands();
    void closeCurrentTab();
    // Both wrap around.
    void showNextTab();
    void showPreviousTab();

    void onLoaderProgress(int current, int total, QString detail);
    void onLoaderPdfFileReady(QString pdfPath);
    void onLoaderPdfDataReady(QByteArray pdfData);
    void onLoaderFailed(QString message);
    void onImageExportProgress(int current, int total, QString detail);
    void onImageExportFinished();
    void onImageExportFailed(QString message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct PendingTask
    {
        QString documentPath;
        DocumentProgressDialog* dialog = nullptr;
    };

    // What became of one file of a batch; a failure carries the reason for
    // the user, unless there is nothing to report (an empty path).
    struct OpenOutcome
    {
        bool opened = false;
        QString path;
        QString reason;
    };

    // A document in a tab: its commands, the name that stands for it when it
    // gives no title of its own, and whether its widget's title is one.
    struct DocumentTab
    {
        QList<QPointer<QAction>> actions;
        QString name;
        bool titled = false;
    };

    OpenOutcome openOne(const QString& path);
    OpenOutcome refuse(const QString& path, const QString& logReason, const QString& userReason);
    // Shows widget in a new tab that becomes the current one. key tells
    // documents apart (a file's absolute path); the tab shows name, with
    // toolTip as its tip. actions are the plug-in's commands for the widget;
    // titled says the widget's windowTitle names its document.
    void addDocumentTab(QWidget* widget, const QString& key, const QString& name, const QString& toolTip,
                        const QList<QAction*>& actions, bool titled);
    void onCurrentTabChanged();
    void reportOpenFailures(const QList<OpenOutcome>& failures);
    void showTabPage();
    void showEmptyPage();
    void setToolbarEnabled(bool enabled);
    void rememberOpened(const QString& absolutePath);
    // Ends the sender's task: closes its dialog and schedules both for
    // deletion. False when the sender has no task (any more).
    bool finishTask(QHash<QObject*, PendingTask>& tasks, QObject* sender, bool success, PendingTask* taken);
    void warn(const QString& title, const QString& text);

    std::unique_ptr<Ui::MainWindow> ui;
    DocumentPluginManager* pluginManager;
    QString temporaryFolder;
    QHash<QObject*, PendingTask> loaderTasks;
    QHash<QObject*, PendingTask> exportTasks;
    QHash<const QWidget*, DocumentTab> documentTabs;
    // The actions now added to this window: the current tab's.
    QList<QPointer<QAction>> activeActions;
    QPointer<QWidget> titledWidget;
    QPointer<OpenFailuresDialog> failuresDialog;
};
