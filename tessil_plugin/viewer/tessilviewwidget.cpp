#include "tessilviewwidget.h"
#include "ui_tessilviewwidget.h"

#include "attachmentdelegate.h"
#include "attachmentdialogs.h"
#include "attachmentdrag.h"
#include "attachmentlistview.h"
#include "attachmentmodel.h"
#include "bodyloader.h"
#include "bodysearch.h"
#include "desktoplauncher.h"
#include "documentplugininterfaces.h"
#include "elidedlabel.h"
#include "executableattachment.h"
#include "findbar.h"
#include "interfacelocale.h"
#include "meetingline.h"
#include "mywebviewwidget.h"
#include "zoomingtextbrowser.h"
#include "opentimeline.h"
#include "printjob.h"
#include "printprogressbar.h"
#include "propertiesdialog.h"
#include "viewactions.h"
#include "viewstylesheets.h"

#include "message/attachment_file_names.h"
#include "message/attachment_type.h"
#include "message/file_extension.h"
#include "message/info_line.h"
#include "message/mailbox_text.h"
#include "message/recipients.h"
#include "message/meeting_details.h"

#include <QAction>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QSaveFile>
#include <QScrollArea>
#include <QSettings>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

const char kLastSaveDirectoryKey[] = "tessil/lastAttachmentSaveDir";
const int kNoHeightLimit = 16777215; // QWIDGETSIZE_MAX
const int kMinimumBodyHeight = 48;
// How long a body may take before its area says that it is loading.
const int kLoadingTextDelay = 300;
// The fewest square pixels a character takes in any type a body could use.
const int kSmallestCharacterArea = 24;

// Writes all of `content`; false when the device takes less.
bool writeAll(QIODevice& device, const QByteArray& content)
{
    return device.write(content) == content.size();
}

} // namespace

TessilViewWidget::TessilViewWidget(IDocumentWidgetHost* documentHost, QWidget* parent)
    : QWidget(parent)
    , host(documentHost)
    , ui(std::make_unique<Ui::TessilViewWidget>())
    , dialogs(std::make_unique<AttachmentDialogs>())
{
    ui->setupUi(this);
    // The page is white paper whatever the desktop's palette, as mail readers
    // show a message: bodies are written for it (they set dark colours and
    // leave the background alone). The form's style sheet therefore also
    // gives everything on the page dark text, the tiles included; a palette
    // would not do, since the style sheet's rules replace widgets' palettes.
    // Dialogs and menus are windows of their own and follow the desktop.
    ui->scrollArea->setStyleSheet(scrollBarStyleSheet());
    // Long sender addresses and subjects are cut at the window's edge
    // instead of widening the whole page (and the body with it).
    for (QLabel* label : {ui->senderLabel, ui->dateLabel, ui->subjectLabel, ui->mailInfoLabel, ui->meetingLabel})
        label->setMinimumWidth(1);
    ui->webView->layout()->setContentsMargins(9, 0, 0, 0);
    setupAttachmentList();

    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    ui->damageIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(iconSize));
    connect(ui->damageCloseButton, &QToolButton::clicked, ui->damageNotice, &QWidget::hide);
    ui->damageNotice->hide();
    launcher = new DesktopLauncher(this);

    bodyLoader = new BodyLoader(this);
    connect(bodyLoader, &BodyLoader::ready, this, &TessilViewWidget::showPreparedBody);
    loadingDelay = new QTimer(this);
    loadingDelay->setSingleShot(true);
    loadingDelay->setInterval(kLoadingTextDelay);
    connect(loadingDelay, &QTimer::timeout, this, [this] { ui->webView->setLoading(true); });

    // Below the page, as browsers put them.
    search = std::make_unique<BodySearch>();
    finder = new FindBar(this);
    finder->hide();
    ui->gridLayout->addWidget(finder, 2, 0);
    printProgress = new PrintProgressBar(this);
    ui->gridLayout->addWidget(printProgress, 3, 0);
    connect(finder, &FindBar::searchChanged, this, &TessilViewWidget::runSearch);
    connect(finder, &FindBar::nextRequested, this, &TessilViewWidget::findNext);
    connect(finder, &FindBar::previousRequested, this, &TessilViewWidget::findPrevious);
    connect(finder, &FindBar::closed, this, [this] {
        search->clear();
        ui->webView->setHighlights({}, 0, -1);
        ui->webView->setFocus(Qt::OtherFocusReason);
    });
    connect(ui->webView, &MyWebViewWidget::zoomChanged, this, [this] {
        ui->webView->setMaximumHeight(kNoHeightLimit);
        QTimer::singleShot(0, this, &TessilViewWidget::adjustBodyHeight);
        updateActions();
    });
    ui->topFrame->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->topFrame, &QWidget::customContextMenuRequested, this, &TessilViewWidget::showHeaderContextMenu);
    setupActions();
}

void TessilViewWidget::setupActions()
{
    viewActions = new ViewActions(this);
    connect(viewActions->print, &QAction::triggered, this, &TessilViewWidget::print);
    connect(viewActions->exportPdf, &QAction::triggered, this, &TessilViewWidget::exportPdfInteractively);
    connect(viewActions->find, &QAction::triggered, this, [this] {
        finder->activate();
        if (!finder->text().isEmpty())
            runSearch();
    });
    connect(viewActions->zoomIn, &QAction::triggered, this,
            [this] { setZoom(ZoomingTextBrowser::steppedZoom(zoom(), 1)); });
    connect(viewActions->zoomOut, &QAction::triggered, this,
            [this] { setZoom(ZoomingTextBrowser::steppedZoom(zoom(), -1)); });
    connect(viewActions->zoomReset, &QAction::triggered, this, [this] { setZoom(100); });
    connect(viewActions->saveAttachment, &QAction::triggered, this, &TessilViewWidget::onSaveAttachment);
    connect(viewActions->saveAllAttachments, &QAction::triggered, this, &TessilViewWidget::onSaveAllAttachments);
    connect(viewActions->properties, &QAction::triggered, this, &TessilViewWidget::showProperties);
    connect(ui->listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TessilViewWidget::updateActions);
    connect(ui->listView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TessilViewWidget::updateActions);
    // The body's menu offers what acts on the body.
    ui->webView->setContextActions({viewActions->print, viewActions->exportPdf, viewActions->find});
    updateActions();
}

void TessilViewWidget::updateActions()
{
    const bool shown = message != nullptr;
    viewActions->print->setEnabled(shown);
    viewActions->exportPdf->setEnabled(shown);
    viewActions->find->setEnabled(shown);
    viewActions->zoomIn->setEnabled(shown && zoom() < 400);
    viewActions->zoomOut->setEnabled(shown && zoom() > 50);
    viewActions->zoomReset->setEnabled(shown && zoom() != 100);
    viewActions->saveAttachment->setEnabled(!selectedRows().isEmpty() || ui->listView->currentIndex().isValid());
    viewActions->saveAllAttachments->setEnabled(model->rowCount() > 0);
    viewActions->properties->setEnabled(shown);
}

QList<QAction*> TessilViewWidget::documentActions() const
{
    return viewActions->all();
}

MyWebViewWidget* TessilViewWidget::bodyView() const
{
    return ui->webView;
}

int TessilViewWidget::zoom() const
{
    return ui->webView->zoom();
}

void TessilViewWidget::setZoom(int percent)
{
    ui->webView->setZoom(percent);
}

TessilViewWidget::~TessilViewWidget() = default;

void TessilViewWidget::setupAttachmentList()
{
    model = new AttachmentModel(this);
    QListView* list = ui->listView;
    list->setModel(model);
    list->setMouseTracking(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectItems);
    list->setItemDelegate(new AttachmentDelegate(this));
    list->setGridSize(QSize(AttachmentDelegate::TileWidth, AttachmentDelegate::TileHeight));
    list->setIconSize(QSize(AttachmentDelegate::IconSize, AttachmentDelegate::IconSize));
    list->setViewMode(QListView::IconMode);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    // Static movement turns dragging off; tiles are still dragged out as files.
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragOnly);
    list->setSpacing(8);
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setStyleSheet(scrollBarStyleSheet());
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(list, &QWidget::customContextMenuRequested, this, &TessilViewWidget::showContextMenu);
    // A double-click, Enter, or a single click where the desktop opens items so.
    connect(list, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { openAttachment(index.row()); });
    ui->listView->setDragData([this](const QList<int>& rows) { return dragData(rows); });
}

QMimeData* TessilViewWidget::dragData(const QList<int>& rows) const
{
    QList<QSharedPointer<TessilAttachment>> attachments;
    for (int row : rows) {
        if (const QSharedPointer<TessilAttachment> attachment = model->attachmentAt(row))
            attachments.append(attachment);
    }
    if (attachments.isEmpty())
        return nullptr;
    const QString folder = QDir(host ? host->tempDirPath() : QDir::tempPath()).filePath(QStringLiteral("drag"));
    QString error;
    QMimeData* data = attachmentDragData(attachments, folder, &error);
    if (!data)
        qWarning().noquote() << "[Tessil] Cannot drag the attachments out:" << error;
    return data;
}

void TessilViewWidget::setDialogs(std::unique_ptr<AttachmentDialogs> replacement)
{
    if (replacement)
        dialogs = std::move(replacement);
}

void TessilViewWidget::setMessage(QSharedPointer<TessilMessage> newMessage, const QElapsedTimer& openStarted)
{
    message = newMessage;
    prepared = prepareMessage(newMessage);
    model->setMessage(prepared);
    ui->listView->setVisible(model->rowCount() > 0);
    bodyLoader->cancel();
    loadingDelay->stop();
    ui->webView->setLoading(false);
    bodySource = DisplayBody::None;
    ui->damageNotice->setVisible(message && !message->warnings.isEmpty());
    search->clear();
    ui->webView->setHighlights({}, 0, -1);
    finder->setMatches(-1, 0);
    updateActions();
    // The host names the tab's document by it; no subject leaves it the file name.
    setWindowTitle(message ? message->subject.simplified() : QString());
    if (!message)
        return;

    timeline = std::make_unique<OpenTimeline>(this, ui->topFrame, openStarted);
    showHeader();
    // Kept in view while the body is prepared when there is one to prepare,
    // so that the tiles need not move when it arrives.
    hasBody = !message->htmlBody.isEmpty() || !message->rtfBody.isEmpty() || !message->plainBody.isEmpty();
    bodyPending = hasBody;
    ui->webView->setVisible(hasBody);
    if (!hasBody) {
        timeline->bodyShown(false, nullptr);
        emit bodyShown();
        return;
    }
    loadingDelay->start();
    bodyLoader->start(prepared.message, ui->webView->documentFont());
}

void TessilViewWidget::showPreparedBody()
{
    loadingDelay->stop();
    ui->webView->setLoading(false);
    bodyPending = false;
    bodySource = bodyLoader->body().source;
    std::unique_ptr<QTextDocument> document = bodyLoader->takeDocument();
    hasBody = document != nullptr;
    ui->webView->setVisible(hasBody);
    if (hasBody) {
        ui->webView->setDocument(std::move(document));
        // Once the layout has settled.
        QTimer::singleShot(0, this, &TessilViewWidget::adjustBodyHeight);
    }
    // A search made while the body loaded looks again in the body.
    if (finder->isVisible() && !finder->text().isEmpty())
        runSearch();
    if (timeline)
        timeline->bodyShown(hasBody, hasBody ? ui->webView->documentLayout() : nullptr);
    emit bodyShown();
}

void TessilViewWidget::showHeader()
{
    const QLocale locale = interfaceLocale();
    const QString sender = mailboxText(message->senderName, message->senderEmail);
    ui->senderLabel->setText(sender.isEmpty() ? tr("<No Sender>") : sender);
    const auto showRow = [](QLabel* title, QLabel* value, bool shown) {
        title->setVisible(shown);
        value->setVisible(shown);
    };
    // From the recipient list where the file has one, with each address.
    ui->toLabel->setFullText(recipientLine(*message, RecipientType::To));
    showRow(ui->toTitleLabel, ui->toLabel, !ui->toLabel->fullText().isEmpty());
    ui->ccLabel->setFullText(recipientLine(*message, RecipientType::Cc));
    showRow(ui->ccTitleLabel, ui->ccLabel, !ui->ccLabel->fullText().isEmpty());
    const QDateTime sent = message->sentTime;
    ui->dateLabel->setText(sent.isValid() ? locale.toString(sent.toLocalTime(), QLocale::LongFormat) : QString());
    showRow(ui->dateTitleLabel, ui->dateLabel, sent.isValid());

    ui->subjectLabel->setText(message->subject.isEmpty() ? tr("<No Subject>") : message->subject);
    if (!message->subject.isEmpty())
        ui->subjectLabel->setStyleSheet(QStringLiteral("font-size:13px;color:black;font-weight:bold;"));

    // Count and size cover every attachment, inline images included.
    const InformationFigures& figures = prepared.information;
    ui->mailInfoLabel->setText(formatDateInfo(figures.sentTime) + formatTotalSize(figures.totalSize, locale)
                               + QStringLiteral(", ") + tr("%n attachment(s)", "", figures.attachmentCount));

    const std::optional<MeetingDetails> details = meetingDetails(*message);
    ui->meetingLabel->setText(details ? meetingLine(*details, locale) : QString());
    ui->meetingLabel->setVisible(!ui->meetingLabel->text().isEmpty());
}

int TessilViewWidget::roomForBody() const
{
    // The page's height less everything else on it that shows, and the
    // spacing between them.
    const QBoxLayout* page = ui->verticalLayout_3;
    const QMargins margins = page->contentsMargins();
    int taken = margins.top() + margins.bottom();
    int shown = 0;
    for (int i = 0; i < page->count(); ++i) {
        QWidget* widget = page->itemAt(i)->widget();
        if (!widget || widget->isHidden())
            continue;
        ++shown;
        if (widget != ui->webView)
            taken += widget == ui->listView ? ui->listView->sizeHint().height() : widget->height();
    }
    taken += std::max(shown - 1, 0) * std::max(page->spacing(), 0);
    return std::max(ui->scrollArea->viewport()->height() - taken, 0);
}

void TessilViewWidget::adjustBodyHeight()
{
    if (!isVisible())
        return;
    if (!hasBody || bodyPending || ui->listView->isHidden()) {
        ui->webView->setMaximumHeight(kNoHeightLimit);
        return;
    }

    const int available = roomForBody();
    const qint64 room = qint64(available) * std::max(ui->webView->width(), 0);
    if (ui->webView->characterCount() > room / kSmallestCharacterArea) {
        ui->webView->setMaximumHeight(kNoHeightLimit);
        return;
    }
    const int needed = ui->webView->documentHeightForWidth(ui->webView->width()) + 2;
    if (needed > 0 && needed < available)
        ui->webView->setMaximumHeight(std::max(needed, kMinimumBodyHeight));
    else
        ui->webView->setMaximumHeight(kNoHeightLimit);
}

void TessilViewWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    // The form's own texts, then ours over them: a message stays on show.
    ui->retranslateUi(this);
    if (message)
        showHeader();
    ui->listView->viewport()->update();
}

void TessilViewWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    adjustBodyHeight();
}

void TessilViewWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    adjustBodyHeight();
}

void TessilViewWidget::showContextMenu(const QPoint& pos)
{
    const QModelIndex index = ui->listView->indexAt(pos);
    QMenu menu(this);
    QAction* openAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAllAction = nullptr;
    if (index.isValid()) {
        openAction = menu.addAction(tr("Open"));
        // Acts on the selection, which the right click has set to this tile.
        saveAction = menu.addAction(tr("Save as..."));
    }
    if (model->rowCount() > 0)
        saveAllAction = menu.addAction(tr("Save All Attachments..."));
    if (menu.actions().isEmpty())
        return;

    QAction* chosen = dialogs->execMenu(&menu, ui->listView->viewport()->mapToGlobal(pos));
    if (!chosen)
        return;
    if (chosen == openAction)
        openAttachment(index.row());
    else if (chosen == saveAction)
        onSaveAttachment();
    else if (chosen == saveAllAction)
        onSaveAllAttachments();
}

QString TessilViewWidget::temporaryFilePath(const QString& fileName) const
{
    const QDir directory(host ? host->tempDirPath() : QDir::tempPath());
    directory.mkpath(QStringLiteral("."));
    return QDir::toNativeSeparators(directory.filePath(safeAttachmentFileName(fileName)));
}

void TessilViewWidget::openAttachment(int row)
{
    const QSharedPointer<TessilAttachment> attachment = model->attachmentAt(row);
    if (!attachment)
        return;
    if (attachment->isMessage) {
        openAttachedMessage(attachment);
        return;
    }
    const QByteArray content = attachment->content();
    // Named so that the desktop, which goes by the name, opens it with a
    // program for what it is.
    const QString fileName = ensureFileExtension(attachment->fileName, content, attachment->effectiveMimeType());
    const QString path = temporaryFilePath(fileNameForType(fileName, attachment->effectiveMimeType()));
    const QString name = QFileInfo(path).fileName();

    if (isExecutableAttachment(name, content)
        && !dialogs->confirm(this, tr("Open Attachment"),
                             tr("\"%1\" is a program or script. Opening it can run programs on your computer "
                                "and harm it.\n\nOpen it only if you trust the sender and expected this file. "
                                "Open it anyway?")
                                 .arg(name))) {
        return;
    }

    // A fresh file every time: an earlier copy, or a link someone left under
    // this name, is replaced rather than written through.
    QFile::remove(path);
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    if (written) {
        file.setPermissions(file.permissions()
                            & ~(QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup
                                | QFileDevice::ExeOther));
        written = writeAll(file, content) && file.flush();
        file.close();
        if (!written)
            file.remove();
    }
    if (!written) {
        dialogs->warning(this, tr("Error"), tr("Cannot create temp file: %1").arg(path));
        return;
    }
    launcher->open(QUrl::fromLocalFile(path), [this, attachment, name](bool opened) {
        if (opened)
            return;
        dialogs->offerSaveInstead(this, tr("Open Attachment"),
                                  tr("No program on this computer is set up to open \"%1\".\n\nYou can save it "
                                     "instead and open it with a program of your choice.")
                                      .arg(name),
                                  [this, attachment] { saveAttachmentAs(attachment); });
    });
}

void TessilViewWidget::onAttachmentDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (const QSharedPointer<TessilAttachment> attachment = model->attachmentAt(index.row()))
        saveAttachmentAs(attachment);
}

void TessilViewWidget::openAttachedMessage(const QSharedPointer<TessilAttachment>& attachment)
{
    // Quorvia shows it itself: no program on the desktop is known to.
    if (!attachment->message) {
        dialogs->warning(this, tr("Open Attachment"),
                         AttachmentModel::attachedMessageLimitText(attachment->messageLimit));
        return;
    }
    const QString subject = attachment->message->subject.simplified();
    const QString title = subject.isEmpty() ? QFileInfo(attachment->fileName).completeBaseName() : subject;
    const QString path = documentPath.isEmpty() ? title : documentPath + QStringLiteral(" \u203A ") + title;
    if (messageOpener && messageOpener(attachment->message, attachment->content(), title, path))
        return;
    if (!messageOpener) {
        dialogs->offerSaveInstead(this, tr("Open Attachment"),
                                  tr("This program cannot open \"%1\" in a tab of its own.\n\nYou can save it "
                                     "instead and open the saved file.")
                                      .arg(attachment->fileName),
                                  [this, attachment] { saveAttachmentAs(attachment); });
    }
}

void TessilViewWidget::saveAttachmentAs(const QSharedPointer<TessilAttachment>& attachment)
{
    const QByteArray content = attachment->content();
    const QString name = safeAttachmentFileName(ensureFileExtension(attachment->fileName, content));

    const QString path =
        dialogs->getSaveFileName(this, tr("Save Attachment"), QDir(lastSaveDirectory()).filePath(name), QString());
    if (path.isEmpty())
        return;

    // Written beside the target and moved over it at the end, so a failed
    // write leaves a file the user chose to replace as it was.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    const bool saved = file.open(QIODevice::WriteOnly) && writeAll(file, content) && file.commit();
    if (!saved) {
        file.cancelWriting();
        dialogs->warning(this, tr("Error"), tr("Cannot write to %1").arg(path));
        return;
    }

    const QString directory = QFileInfo(path).absolutePath();
    rememberSaveDirectory(directory);
    // Showing the folder is a courtesy: the file is saved either way.
    launcher->open(QUrl::fromLocalFile(directory), {});
    emit attachmentSaveRequested(attachment);
}

void TessilViewWidget::onSaveAttachment()
{
    const QList<int> rows = selectedRows();
    if (rows.size() >= 2) {
        saveAttachments(rows);
        return;
    }
    const QModelIndex index = rows.isEmpty() ? ui->listView->currentIndex() : model->index(rows.first(), 0);
    if (index.isValid())
        onAttachmentDoubleClicked(index);
}

void TessilViewWidget::onSaveAllAttachments()
{
    if (!message)
        return;
    QList<int> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows.append(row);
    saveAttachments(rows);
}

void TessilViewWidget::saveAttachments(const QList<int>& rows)
{
    if (rows.isEmpty())
        return;
    const QString directory =
        dialogs->getExistingDirectory(this, tr("Select Save Directory"), lastSaveDirectory());
    if (directory.isEmpty())
        return;
    rememberSaveDirectory(directory);

    int written = 0;
    for (int row : rows) {
        const QSharedPointer<TessilAttachment> attachment = model->attachmentAt(row);
        if (!attachment)
            continue;
        const QByteArray content = attachment->content();
        QFile file;
        // A new file under a free, safe name; what is there already is kept.
        if (!openUniqueFile(directory, ensureFileExtension(attachment->fileName, content), &file))
            continue;
        if (writeAll(file, content) && file.flush()) {
            file.close();
            ++written;
        } else {
            file.close();
            file.remove();
        }
    }
    if (written > 0)
        launcher->open(QUrl::fromLocalFile(directory), {});
}

QList<int> TessilViewWidget::selectedRows() const
{
    QList<int> rows;
    const QItemSelectionModel* selection = ui->listView->selectionModel();
    if (!selection)
        return rows;
    const QModelIndexList indexes = selection->selectedIndexes();
    for (const QModelIndex& index : indexes) {
        if (index.isValid())
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString TessilViewWidget::lastSaveDirectory() const
{
    const QString stored = QSettings().value(QLatin1String(kLastSaveDirectoryKey)).toString();
    if (!stored.isEmpty() && QFileInfo(stored).isDir())
        return stored;
    // A dialog told of a folder that is not there starts in the working
    // folder, which may be anywhere.
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty() && QFileInfo(downloads).isDir())
        return downloads;
    return QDir::homePath();
}

void TessilViewWidget::rememberSaveDirectory(const QString& directory)
{
    QSettings().setValue(QLatin1String(kLastSaveDirectoryKey), QFileInfo(directory).absoluteFilePath());
}

PrintJob* TessilViewWidget::printJob() const
{
    return lastPrintJob;
}

void TessilViewWidget::print()
{
    if (!message)
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(message->subject);
    auto* dialog = new QPrintDialog(printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Window-modal and without a nested event loop: the tab may close meanwhile.
    // The printer goes with the dialog's connection when the view closes first.
    auto shared = std::make_shared<std::unique_ptr<QPrinter>>(std::move(printer));
    connect(dialog, &QDialog::finished, this, [this, shared](int result) {
        if (result == QDialog::Accepted && *shared)
            startPrintJob(QString(), std::move(*shared));
    });
    dialog->open();
}

void TessilViewWidget::exportPdfInteractively()
{
    if (!message)
        return;
    const QString base = safeAttachmentFileName(
        message->subject.simplified().isEmpty() ? tr("message") : message->subject.simplified());
    const QString path = dialogs->getSaveFileName(this, tr("Export as PDF"),
                                                  QDir(lastSaveDirectory()).filePath(base + QStringLiteral(".pdf")),
                                                  tr("PDF documents (*.pdf)"));
    if (path.isEmpty())
        return;
    rememberSaveDirectory(QFileInfo(path).absolutePath());
    exportPdf(path);
}

PrintJob* TessilViewWidget::exportPdf(const QString& path)
{
    if (!message)
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(message->subject);
    startPrintJob(path, std::move(printer));
    return lastPrintJob;
}

void TessilViewWidget::startPrintJob(const QString& pdfPath, std::unique_ptr<QPrinter> printer)
{
    PrintJob::Request request;
    request.printer = std::move(printer);
    request.message = message;
    request.pdfPath = pdfPath;
    request.font = ui->webView->documentFont();
    request.pageFooter = tr("Page %1 of %2");
    if (!bodyPending && bodySource != DisplayBody::None) {
        request.body = bodyLoader->body();
        request.bodyReady = true;
    }
    PrintedHeader& header = request.header;
    header.fields.append({ui->fromLabel->text(), ui->senderLabel->text()});
    if (!ui->toLabel->fullText().isEmpty())
        header.fields.append({ui->toTitleLabel->text(), ui->toLabel->fullText()});
    if (!ui->ccLabel->fullText().isEmpty())
        header.fields.append({ui->ccTitleLabel->text(), ui->ccLabel->fullText()});
    if (!ui->dateLabel->text().isEmpty())
        header.fields.append({ui->dateTitleLabel->text(), ui->dateLabel->text()});
    header.subject = ui->subjectLabel->text();
    header.information = ui->mailInfoLabel->text();
    header.meeting = ui->meetingLabel->text();
    header.attachmentsTitle = tr("Attachments");
    for (int row = 0; row < model->rowCount(); ++row)
        header.attachmentNames.append(model->index(row, 0).data(Qt::DisplayRole).toString());

    auto* job = new PrintJob(std::move(request), this);
    lastPrintJob = job;
    printProgress->follow(job);
    connect(job, &PrintJob::finished, this, [this, job] {
        if (job->outcome() == PrintJob::Outcome::Failed) {
            qWarning().noquote() << "[Tessil] Printing failed:" << job->failure();
            dialogs->warning(this, job->isPdf() ? tr("Export as PDF") : tr("Print"),
                             job->isPdf() ? tr("The PDF could not be written.") : tr("The message could not be printed."));
        }
        job->deleteLater();
    });
    job->start();
}

void TessilViewWidget::showProperties()
{
    if (!message)
        return;
    // The attachment selected in the grid first, else the message.
    const QList<int> rows = selectedRows();
    int attachment = -1;
    if (!rows.isEmpty()) {
        const QSharedPointer<TessilAttachment> selected = model->attachmentAt(rows.first());
        attachment = int(message->attachments.indexOf(selected));
    }
    auto* dialog = new PropertiesDialog(message, attachment, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void TessilViewWidget::showHeaderContextMenu(const QPoint& pos)
{
    QMenu menu(this);
    menu.addAction(viewActions->properties);
    menu.addAction(viewActions->print);
    menu.addAction(viewActions->exportPdf);
    dialogs->execMenu(&menu, ui->topFrame->mapToGlobal(pos));
}

void TessilViewWidget::find(const QString& text)
{
    finder->activate();
    finder->setText(text);
    runSearch();
}

void TessilViewWidget::runSearch()
{
    const QString text = finder->text();
    if (!hasBody || bodyPending || text.isEmpty()) {
        search->clear();
    } else {
        search->search(ui->webView->document(), text, finder->caseSensitivity());
    }
    showCurrentMatch();
}

int TessilViewWidget::matchCount() const
{
    return search->count();
}

int TessilViewWidget::currentMatch() const
{
    return search->current();
}

void TessilViewWidget::findNext()
{
    if (search->count() == 0) {
        runSearch();
        return;
    }
    search->next();
    showCurrentMatch();
}

void TessilViewWidget::findPrevious()
{
    if (search->count() == 0) {
        runSearch();
        return;
    }
    search->previous();
    showCurrentMatch();
}

void TessilViewWidget::showCurrentMatch()
{
    finder->setMatches(search->current(), search->count());
    ui->webView->setHighlights(search->starts(), search->length(), search->current());
    const QRect rect = ui->webView->showCurrentHighlight();
    // The body may be as tall as its text, inside the page that scrolls.
    if (!rect.isEmpty()) {
        const QPoint center = ui->webView->mapTo(ui->scrollAreaWidgetContents, rect.center());
        ui->scrollArea->ensureVisible(center.x(), center.y(), rect.width() / 2 + 20, rect.height() / 2 + 40);
    }
}
