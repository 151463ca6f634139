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
const char* const kSourceFileProperty = "sourceFilePath";
const char* const kBookmarksProperty = "quorviaSupportsBookmarks";

// Each open leaves one log line: control characters (a newline in a file
// name or a plug-in's message) are shown as '?'.
QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return text;
}

QString forLog(const QString& path)
{
    return QLatin1Char('"') + oneLine(path) + QLatin1Char('"');
}
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
    return temporaryFolder.isEmpty() ? apppaths::tempRoot() : temporaryFolder;
}

void MainWindow::setTempDirPath(const QString& path)
{
    temporaryFolder = path;
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
    openFiles({path});
}

void MainWindow::openFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        const OpenOutcome outcome = openOne(path);
        if (!outcome.opened && !outcome.title.isEmpty())
            warn(outcome.title, outcome.text);
    }
}

MainWindow::OpenOutcome MainWindow::refuse(const QString& path, const QString& reason, const QString& title,
                                           const QString& text)
{
    qInfo().noquote() << QStringLiteral("[Docavel] Refused %1: %2").arg(forLog(path), oneLine(reason));
    return OpenOutcome{false, title, text};
}

MainWindow::OpenOutcome MainWindow::openOne(const QString& path)
{
    if (path.isEmpty())
        return {};

    const QFileInfo info(path);
    const QString absolutePath = info.absoluteFilePath();
    if (!info.exists())
        return refuse(absolutePath, QStringLiteral("it does not exist"), tr("Open Failed"), tr("File does not exist."));

    const int openIndex = ui->tabWidget->indexOfPath(absolutePath);
    if (openIndex >= 0) {
        qInfo().noquote() << QStringLiteral("[Docavel] Already open: %1").arg(forLog(absolutePath));
        rememberOpened(absolutePath);
        ui->tabWidget->setCurrentIndex(openIndex);
        showTabPage();
        return OpenOutcome{true, {}, {}};
    }

    // A folder has nothing to show, and reading a pipe or a device would wait
    // for ever.
    if (!info.isFile()) {
        return refuse(absolutePath, QStringLiteral("it is not a regular file"), tr("Unsupported Format"),
                      tr("No document plugin can open this file."));
    }

    const DocumentRoute route = pluginManager->route(absolutePath);
    if (!route.widgetPlugin) {
        const QString lookup = route.lookedUpBy();
        const QString reason = route.isClaimed()
            ? QStringLiteral("only %1 claims it by %2, and it shows nothing in a window").arg(route.pluginFile, lookup)
            : QStringLiteral("no plug-in claims %1").arg(lookup.isEmpty() ? QStringLiteral("a file without suffix")
                                                                           : lookup);
        return refuse(absolutePath, reason, tr("Unsupported Format"), tr("No document plugin can open this file."));
    }

    QString errorMessage;
    QWidget* widget = pluginManager->createWidget(route, absolutePath, nullptr, this, &errorMessage);
    if (!widget) {
        const QString reason = QStringLiteral("%1 (by %2) could not open it: %3")
                                   .arg(route.pluginFile, route.lookedUpBy(),
                                        errorMessage.isEmpty() ? QStringLiteral("no reason given") : errorMessage);
        return refuse(absolutePath, reason, tr("Open Failed"),
                      errorMessage.isEmpty() ? tr("File error. Unable to open the document.") : errorMessage);
    }
    qInfo().noquote() << QStringLiteral("[Docavel] Opened %1 with %2 (by %3)")
                             .arg(forLog(absolutePath), route.pluginFile, route.lookedUpBy());

    widget->setProperty(kSourceFileProperty, absolutePath);
    widget->setProperty(kBookmarksProperty, route.widgetPlugin->supportsBookmarks(absolutePath));
    rememberOpened(absolutePath);
    const QString fileName = info.fileName();
    const int index = ui->tabWidget->addTab(widget, fileName);
    ui->tabWidget->setTabToolTip(index, fileName);
    ui->tabWidget->registerPath(absolutePath);
    ui->tabWidget->setCurrentIndex(index);
    showTabPage();
    updateBookmarkCommands();
    return OpenOutcome{true, {}, {}};
}

void MainWindow::on_btnOpenFile_clicked()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, tr("Open Document"), AppConfig::instance()->lastOpenPath(), pluginManager->fileDialogFilter());
    openFiles(files);
}

bool MainWindow::currentDocumentSupportsBookmarks() const
{
    // Asked when the document opened: the plug-in that showed it knows, and
    // finding it again could mean reading the file.
    const QWidget* current = ui->tabWidget->currentWidget();
    return current && current->property(kBookmarksProperty).toBool();
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
        QStringList files;
        for (const QUrl& url : urls) {
            if (!url.toLocalFile().isEmpty())
                files << url.toLocalFile();
        }
        openFiles(files);
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
