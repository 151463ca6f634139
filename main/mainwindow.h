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
// one operation, openFile, through which every file reaches a plug-in. It is
// also the host service that plug-in widgets keep.
class MainWindow : public QMainWindow, public IDocumentWidgetHost
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QString tempDirPath() const override;

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

    void openWithWidgetPlugin(const QString& absolutePath);
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
    QHash<QObject*, PendingTask> loaderTasks;
    QHash<QObject*, PendingTask> exportTasks;
};
