#include "mainwindow.h"

#include "ui_mainwindow.h"

#include "appconfig.h"
#include "apppaths.h"
#include "browsertabwidget.h"
#include "documentpluginmanager.h"
#include "documentprogressdialog.h"
#include "hostshortcuts.h"
#include "openfailuresdialog.h"
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
#include <QSignalBlocker>
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

// Tab texts read a single "&" as the mark of a shortcut letter; file names
// are shown as they are.
QString tabSafe(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);

    pluginManager = new DocumentPluginManager(this);
    pluginManager->scanPlugins();
    pluginManager->offerDocumentDataHost(this);

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
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::onCurrentTabChanged);

    // Active wherever the focus is in the window, and nowhere else.
    const auto addCommand = [this](const char* name, const QList<QKeySequence>& keys, void (MainWindow::*slot)()) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    addCommand("open", hostshortcuts::open(), &MainWindow::on_btnOpenFile_clicked);
    addCommand("closeTab", hostshortcuts::closeTab(), &MainWindow::closeCurrentTab);
    addCommand("nextTab", hostshortcuts::nextTab(), &MainWindow::showNextTab);
    addCommand("previousTab", hostshortcuts::previousTab(), &MainWindow::showPreviousTab);

    ui->toolbarWidget->hide();
}

MainWindow::~MainWindow()
{
    // Closing the tabs changes the current one; whoever listens may be half
    // torn down already (the frame that holds this window).
    const QSignalBlocker quietTabs(ui->tabWidget);
    blockSignals(true);
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
    QList<OpenOutcome> failures;
    for (const QString& path : paths) {
        const OpenOutcome outcome = openOne(path);
        if (!outcome.opened && !outcome.reason.isEmpty())
            failures.append(outcome);
    }
    if (!failures.isEmpty())
        reportOpenFailures(failures);
}

void MainWindow::reportOpenFailures(const QList<OpenOutcome>& failures)
{
    // One dialog at a time: failures of a batch that arrives while it is
    // shown (a hand-off, say) join its list.
    if (!failuresDialog) {
        failuresDialog = new OpenFailuresDialog(this);
        failuresDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    for (const OpenOutcome& failure : failures)
        failuresDialog->addFailure(failure.path, failure.reason);
    // Window-modal, without a nested event loop: a batch arriving meanwhile
    // is handled at once.
    failuresDialog->open();
    failuresDialog->raise();
    failuresDialog->activateWindow();
}

MainWindow::OpenOutcome MainWindow::refuse(const QString& path, const QString& logReason, const QString& userReason)
{
    qInfo().noquote() << QStringLiteral("[Docavel] Refused %1: %2").arg(forLog(path), oneLine(logReason));
    return OpenOutcome{false, path, userReason};
}

MainWindow::OpenOutcome MainWindow::openOne(const QString& path)
{
    if (path.isEmpty())
        return {};

    const QFileInfo info(path);
    const QString absolutePath = info.absoluteFilePath();
    if (!info.exists())
        return refuse(absolutePath, QStringLiteral("it does not exist"), tr("File does not exist."));

    const int openIndex = ui->tabWidget->indexOfPath(absolutePath);
    if (openIndex >= 0) {
        qInfo().noquote() << QStringLiteral("[Docavel] Already open: %1").arg(forLog(absolutePath));
        rememberOpened(absolutePath);
        ui->tabWidget->setCurrentIndex(openIndex);
        showTabPage();
        return OpenOutcome{true, absolutePath, {}};
    }

    // A folder has nothing to show, and reading a pipe or a device would wait
    // for ever.
    if (!info.isFile()) {
        return refuse(absolutePath, QStringLiteral("it is not a regular file"),
                      info.isDir() ? tr("This is a folder, not a file.") : tr("This is not a regular file."));
    }

    const DocumentRoute route = pluginManager->route(absolutePath);
    if (!route.widgetPlugin) {
        const QString lookup = route.lookedUpBy();
        const QString reason = route.isClaimed()
            ? QStringLiteral("only %1 claims it by %2, and it shows nothing in a window").arg(route.pluginFile, lookup)
            : QStringLiteral("no plug-in claims %1").arg(lookup.isEmpty() ? QStringLiteral("a file without suffix")
                                                                           : lookup);
        return refuse(absolutePath, reason, tr("No document plugin can open this file."));
    }

    QString errorMessage;
    QWidget* widget = pluginManager->createWidget(route, absolutePath, nullptr, this, &errorMessage);
    if (!widget) {
        const QString reason = QStringLiteral("%1 (by %2) could not open it: %3")
                                   .arg(route.pluginFile, route.lookedUpBy(),
                                        errorMessage.isEmpty() ? QStringLiteral("no reason given") : errorMessage);
        return refuse(absolutePath, reason,
                      errorMessage.isEmpty() ? tr("File error. Unable to open the document.") : errorMessage);
    }
    qInfo().noquote() << QStringLiteral("[Docavel] Opened %1 with %2 (by %3)")
                             .arg(forLog(absolutePath), route.pluginFile, route.lookedUpBy());

    widget->setProperty(kSourceFileProperty, absolutePath);
    widget->setProperty(kBookmarksProperty, route.widgetPlugin->supportsBookmarks(absolutePath));
    rememberOpened(absolutePath);
    const QList<QAction*> actions =
        route.widgetActions ? route.widgetActions->documentActions(widget) : QList<QAction*>();
    addDocumentTab(widget, absolutePath, info.fileName(), absolutePath, actions, route.widgetActions != nullptr);
    return OpenOutcome{true, absolutePath, {}};
}

bool MainWindow::openDocumentData(QObject* plugin, const QString& key, const QByteArray& data, const QString& title,
                                  const QString& toolTip)
{
    // Never a path: no file can take an in-memory document's place.
    const QString tabKey = QStringLiteral("memory:%1:%2").arg(quintptr(plugin), 0, 16).arg(key);
    const int openIndex = ui->tabWidget->indexOfPath(tabKey);
    if (openIndex >= 0) {
        ui->tabWidget->setCurrentIndex(openIndex);
        showTabPage();
        return true;
    }
    QString errorMessage;
    DocumentRoute route;
    QWidget* widget = pluginManager->createDataWidget(plugin, key, data, nullptr, this, &errorMessage, &route);
    if (!widget) {
        qInfo().noquote() << QStringLiteral("[Docavel] Refused the in-memory document %1: %2")
                                 .arg(forLog(toolTip), errorMessage.isEmpty() ? QStringLiteral("no reason given")
                                                                              : oneLine(errorMessage));
        reportOpenFailures({OpenOutcome{false, toolTip.isEmpty() ? title : toolTip,
                                        errorMessage.isEmpty() ? tr("File error. Unable to open the document.")
                                                               : errorMessage}});
        return false;
    }
    qInfo().noquote() << QStringLiteral("[Docavel] Opened the in-memory document %1 with %2")
                             .arg(forLog(toolTip), route.pluginFile);
    // The tab's key stands for its file: closing the tab forgets it.
    widget->setProperty(kSourceFileProperty, tabKey);
    widget->setProperty(kBookmarksProperty, false);
    const QList<QAction*> actions =
        route.widgetActions ? route.widgetActions->documentActions(widget) : QList<QAction*>();
    addDocumentTab(widget, tabKey, title, toolTip, actions, route.widgetActions != nullptr);
    return true;
}

void MainWindow::addDocumentTab(QWidget* widget, const QString& key, const QString& name, const QString& toolTip,
                                const QList<QAction*>& actions, bool titled)
{
    DocumentTab tab;
    tab.name = name;
    tab.titled = titled;
    for (QAction* action : actions) {
        if (!action)
            continue;
        const QList<QKeySequence> taken = hostshortcuts::release(action);
        for (const QKeySequence& lost : taken) {
            qWarning().noquote() << QStringLiteral("[Docavel] %1 is the window's own key: taken off the document "
                                                   "command \"%2\"")
                                        .arg(lost.toString(QKeySequence::PortableText), action->objectName());
        }
        tab.actions.append(action);
    }
    documentTabs.insert(widget, tab);
    connect(widget, &QObject::destroyed, this, [this, widget] { documentTabs.remove(widget); });
    if (titled) {
        connect(widget, &QWidget::windowTitleChanged, this, [this, widget] {
            if (widget == titledWidget)
                emit documentTitleChanged(documentTitle());
        });
    }

    const int index = ui->tabWidget->addTab(widget, tabSafe(name));
    ui->tabWidget->setTabToolTip(index, toolTip);
    ui->tabWidget->registerPath(key);
    ui->tabWidget->setCurrentIndex(index);
    showTabPage();
    updateBookmarkCommands();
}

void MainWindow::onCurrentTabChanged()
{
    QWidget* current = ui->tabWidget->currentWidget();
    const auto found = documentTabs.constFind(current);
    QList<QAction*> actions;
    if (found != documentTabs.constEnd()) {
        for (const QPointer<QAction>& action : found->actions) {
            if (action)
                actions.append(action);
        }
    }
    // Another tab's shortcuts must not stay active: two actions on one key
    // would leave both silent.
    for (const QPointer<QAction>& action : std::as_const(activeActions)) {
        if (action)
            removeAction(action);
    }
    activeActions.clear();
    for (QAction* action : std::as_const(actions)) {
        addAction(action);
        activeActions.append(action);
    }
    titledWidget = current;
    emit documentActionsChanged(actions);
    emit documentTitleChanged(documentTitle());
}

OpenFailuresDialog* MainWindow::openFailuresDialog() const
{
    return failuresDialog;
}

QList<QAction*> MainWindow::currentDocumentActions() const
{
    QList<QAction*> actions;
    for (const QPointer<QAction>& action : activeActions) {
        if (action)
            actions.append(action);
    }
    return actions;
}

QString MainWindow::documentTitle() const
{
    const QWidget* current = ui->tabWidget->currentWidget();
    if (!current)
        return QString();
    const DocumentTab tab = documentTabs.value(current);
    const QString own = tab.titled ? current->windowTitle().trimmed() : QString();
    return own.isEmpty() ? tab.name : own;
}

void MainWindow::closeCurrentTab()
{
    if (ui->tabWidget->count() > 0)
        ui->tabWidget->closeTab(ui->tabWidget->currentIndex());
}

void MainWindow::showNextTab()
{
    const int count = ui->tabWidget->count();
    if (count > 1)
        ui->tabWidget->setCurrentIndex((ui->tabWidget->currentIndex() + 1) % count);
}

void MainWindow::showPreviousTab()
{
    const int count = ui->tabWidget->count();
    if (count > 1)
        ui->tabWidget->setCurrentIndex((ui->tabWidget->currentIndex() + count - 1) % count);
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
