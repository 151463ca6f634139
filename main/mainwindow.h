#pragma once

#include "documentplugininterfaces.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <memory>

class BrowserTabWidget;
class DocumentPluginManager;
class DocumentProgressDialog;

namespace Ui {
class MainWindow;
}

// The document area: an empty page inviting files, the document tabs, and the
// one operation through which every file reaches a plug-in. Files arrive in
// batches (the command line, one drop, one hand-off from a second start, one
// choice in the open dialog: openFiles) or one at a time (a recent file:
// openFile). It is also the host service that plug-in widgets keep.
class MainWindow : public QMainWindow, public IDocumentWidgetHost
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QString tempDirPath() const override;
    // This instance's folder for temporary copies; the root of all instances'
    // folders until set.
    void setTempDirPath(const QString& path);

    bool currentDocumentSupportsBookmarks() const;
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

public slots:
    void openFile(const QString& path);
    void openFiles(const QStringList& paths);
    void on_btnOpenFile_clicked();
    void updateBookmarkCommands();

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

    // What became of one file of a batch; a failure carries the warning for
    // the user.
    struct OpenOutcome
    {
        bool opened = false;
        QString title;
        QString text;
    };

    OpenOutcome openOne(const QString& path);
    OpenOutcome refuse(const QString& path, const QString& reason, const QString& title, const QString& text);
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
};
