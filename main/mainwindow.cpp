#include "mainwindow.h"

#include "ui_mainwindow.h"

#include "appconfig.h"
#include "apppaths.h"
#include "browsertabwidget.h"
#include "documentpluginmanager.h"
#include "documentprogressdialog.h"
#include "recentfiles.h"

#include <QAction>
#include <QDebug>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

namespace {
const int kTabPageIndex = 0;
const int kEmptyPageIndex = 1;
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);

    pluginManager = new DocumentPluginManager(this);
    pluginManager->scanPlugins();

    showEmptyPage();
    ui->emptyPage->installEventFilter(this);
    ui->tabWidget->installEventFilter(this);
    ui->emptyPage->setAcceptDrops(true);
    ui->tabWidget->setAcceptDrops(true);
    setAcceptDrops(true);

    setToolbarEnabled(false);

    ui->searchBox->addAction(QIcon(QStringLiteral(":/img/search.png")), QLineEdit::LeadingPosition);

    connect(ui->tabWidget, &BrowserTabWidget::allTabClosed, this, [this] {
        showEmptyPage();
        setToolbarEnabled(false);
        emit bookmarkCommandsEnabledChanged(false);
    });
    connect(ui->tabWidget, &BrowserTabWidget::addFileClicked, this, &MainWindow::on_btnOpenFile_clicked);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::updateBookmarkCommands);

    ui->toolbarWidget->hide();
}

MainWindow::~MainWindow()
{
    // Document widgets belong to plug-in code: delete them while the plug-in
    // manager, and so every library, is certainly still there.
    while (ui->tabWidget->count() > 0)
        delete ui->tabWidget->widget(0);
}

QString MainWindow::tempDirPath() const
{
    return apppaths::tempDir();
}

BrowserTabWidget* MainWindow::tabWidget() const
{
    return ui->tabWidget;
}

bool MainWindow::isShowingTabPage() const
{
    return ui->stackedWidget->currentIndex() == kTabPageIndex;
}

void MainWindow::showTabPage()
{
    ui->stackedWidget->setCurrentIndex(kTabPageIndex);
}

void MainWindow::showEmptyPage()
{
    ui->stackedWidget->setCurrentIndex(kEmptyPageIndex);
}

void MainWindow::setToolbarEnabled(bool enabled)
{
    const QList<QWidget*> children = ui->toolbarWidget->findChildren<QWidget*>();
    for (QWidget* child : children)
        child->setEnabled(enabled);
}

void MainWindow::warn(const QString& title, const QString& text)
{
    QMessageBox::warning(this, title, text, QMessageBox::Ok);
}

void MainWindow::rememberOpened(const QString& absolutePath)
{
    AppConfig::instance()->setLastOpenPath(QFileInfo(absolutePath).absolutePath());
    addRecentFile(absolutePath);
}

void MainWindow::openFile(const QString& path)
{
    if (path.isEmpty())
        return;

    const QFileInfo info(path);
    if (!info.exists()) {
        warn(tr("Open Failed"), tr("File does not exist."));
        return;
    }

    const QString absolutePath = info.absoluteFilePath();
    const int openIndex = ui->tabWidget->indexOfPath(absolutePath);
    if (openIndex >= 0) {
        rememberOpened(absolutePath);
        ui->tabWidget->setCurrentIndex(openIndex);
        showTabPage();
        return;
    }

    if (!pluginManager->canOpen(absolutePath) || !pluginManager->hasWidgetPlugin(absolutePath)) {
        warn(tr("Unsupported Format"), tr("No document plugin can open this file."));
        return;
    }

    openWithWidgetPlugin(absolutePath);
}

void MainWindow::openWithWidgetPlugin(const QString& absolutePath)
{
    QString errorMessage;
    QWidget* widget = pluginManager->createWidget(absolutePath, nullptr, this, &errorMessage);
    if (!widget) {
        warn(tr("Open Failed"),
             errorMessage.isEmpty() ? tr("File error. Unable to open the document.") : errorMessage);
        return;
    }

    widget->setProperty("sourceFilePath", absolutePath);
    rememberOpened(absolutePath);
    const QString fileName = QFileInfo(absolutePath).fileName();
    const int index = ui->tabWidget->addTab(widget, fileName);
    ui->tabWidget->setTabToolTip(index, fileName);
    ui->tabWidget->registerPath(absolutePath);
    ui->tabWidget->setCurrentIndex(index);
    showTabPage();
    updateBookmarkCommands();
}

void MainWindow::on_btnOpenFile_clicked()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Open Document"), AppConfig::instance()->lastOpenPath(), pluginManager->fileDialogFilter());
    for (const QString& file : files)
        openFile(file);
}

bool MainWindow::currentDocumentSupportsBookmarks() const
{
    const QWidget* current = ui->tabWidget->currentWidget();
    if (!current)
        return false;
    const QString path = current->property("sourceFilePath").toString();
    if (path.isEmpty())
        return false;
    return pluginManager->supportsBookmarks(path);
}

void MainWindow::updateBookmarkCommands()
{
    emit bookmarkCommandsEnabledChanged(currentDocumentSupportsBookmarks());
}

void MainWindow::changeEvent(QEvent* event)
{
    // A language switch at run time reaches every widget as this event; the
    // form's texts (empty page, button, toolbar captions) follow it at once.
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->emptyPage && watched != ui->tabWidget)
        return QMainWindow::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!drag->mimeData()->hasUrls())
            return false;
        bool anyOpenable = false;
        const QList<QUrl> urls = drag->mimeData()->urls();
        for (const QUrl& url : urls) {
            const QString local = url.toLocalFile();
            if (!local.isEmpty() && pluginManager->canOpen(local)) {
                anyOpenable = true;
                break;
            }
        }
        if (anyOpenable) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragMove:
        static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        drop->acceptProposedAction();
        for (const QUrl& url : urls)
            openFile(url.toLocalFile());
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::trackLoader(IDocumentLoader* loader, const QString& documentPath)
{
    if (!loader)
        return;
    loader->setParent(this);
    auto* dialog = new DocumentProgressDialog(this);
    loaderTasks.insert(loader, PendingTask{documentPath, dialog});
    connect(loader, &IDocumentLoader::progress, this, &MainWindow::onLoaderProgress);
    connect(loader, &IDocumentLoader::pdfDataReady, this, &MainWindow::onLoaderPdfDataReady);
    connect(loader, &IDocumentLoader::pdfFileReady, this, &MainWindow::onLoaderPdfFileReady);
    connect(loader, &IDocumentLoader::failed, this, &MainWindow::onLoaderFailed);
    dialog->show();
}

void MainWindow::trackImageExporter(IDocumentImageExporter* exporter, const QString& documentPath)
{
    if (!exporter)
        return;
    exporter->setParent(this);
    auto* dialog = new DocumentProgressDialog(this);
    exportTasks.insert(exporter, PendingTask{documentPath, dialog});
    connect(exporter, &IDocumentImageExporter::progress, this, &MainWindow::onImageExportProgress);
    connect(exporter, &IDocumentImageExporter::finished, this, &MainWindow::onImageExportFinished);
    connect(exporter, &IDocumentImageExporter::failed, this, &MainWindow::onImageExportFailed);
    dialog->show();
}

bool MainWindow::finishTask(QHash<QObject*, PendingTask>& tasks, QObject* sender, bool success,
                            PendingTask* taken)
{
    const auto it = tasks.find(sender);
    if (it == tasks.end())
        return false;
    const PendingTask task = *it;
    tasks.erase(it);
    if (task.dialog) {
        task.dialog->onFinished(success);
        task.dialog->deleteLater();
    }
    if (taken)
        *taken = task;
    sender->deleteLater();
    return true;
}

void MainWindow::onLoaderProgress(int current, int total, QString detail)
{
    const auto it = loaderTasks.constFind(sender());
    if (it != loaderTasks.constEnd() && it->dialog)
        it->dialog->onProgress(current, total, detail);
}

// Only the first final signal of a task counts: anything a sender emits after it
// (it is already scheduled for deletion) is ignored.

void MainWindow::onLoaderPdfFileReady(QString pdfPath)
{
    Q_UNUSED(pdfPath) // this product shows no PDF
    finishTask(loaderTasks, sender(), true, nullptr);
}

void MainWindow::onLoaderPdfDataReady(QByteArray pdfData)
{
    Q_UNUSED(pdfData)
    finishTask(loaderTasks, sender(), true, nullptr);
}

void MainWindow::onLoaderFailed(QString message)
{
    if (!finishTask(loaderTasks, sender(), false, nullptr))
        return;
    if (!message.isEmpty()) {
        qWarning().noquote() << "[Docavel] Open failed:" << message;
        warn(tr("Open Failed"), tr("File error. Unable to open the document."));
    }
}

void MainWindow::onImageExportProgress(int current, int total, QString detail)
{
    const auto it = exportTasks.constFind(sender());
    if (it != exportTasks.constEnd() && it->dialog)
        it->dialog->onProgress(current, total, detail);
}

void MainWindow::onImageExportFinished()
{
    PendingTask task;
    if (!finishTask(exportTasks, sender(), true, &task))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(task.documentPath));
}

void MainWindow::onImageExportFailed(QString message)
{
    if (!finishTask(exportTasks, sender(), false, nullptr))
        return;
    if (!message.isEmpty())
        warn(tr("Export Images"), message);
}
