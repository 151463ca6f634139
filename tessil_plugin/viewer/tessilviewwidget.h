#pragma once

// The widget that shows one opened TNEF message: the header (sender, To, Cc
// and date, the subject, an information line with date, total attachment
// size and attachment count, and for meetings when, where and by whom), the
// body as rich text, and the attachments as a grid of tiles that can be
// opened with the desktop's applications or saved. Above it all, a notice
// says when the file is damaged. Its page stays light whatever the
// desktop's palette.
//
// Its commands (print, export as PDF, find, zoom, save, properties) are
// actions (ViewActions) that the host lists in its menu and whose keys it
// makes work; the view's context menus offer them too. The view's window
// title is the message's subject.

#include "message/prepared_message.h"
#include "message/tessil_message.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QList>
#include <QSharedPointer>
#include <QWidget>

#include <functional>

#include <memory>

class AttachmentDialogs;
class AttachmentModel;
class BodyLoader;
class BodySearch;
class DesktopLauncher;
class FindBar;
class IDocumentWidgetHost;
class MyWebViewWidget;
class OpenTimeline;
class PrintJob;
class PrintProgressBar;
class QAction;
class QMimeData;
class QModelIndex;
class QTimer;
class ViewActions;

namespace Ui {
class TessilViewWidget;
}

class TessilViewWidget : public QWidget
{
    Q_OBJECT
public:
    // `host` gives the folder for temporary copies; it may be null, and the
    // system's temporary folder is used instead.
    explicit TessilViewWidget(IDocumentWidgetHost* host, QWidget* parent = nullptr);
    ~TessilViewWidget() override;

    // Shows the message: the header and the tiles at once, the body as soon
    // as it has been prepared in a worker (the body area says that it is
    // loading when that takes longer than about 300 ms). `openStarted`, when
    // running, has run since the open began, for the open's timings in the log.
    void setMessage(QSharedPointer<TessilMessage> message, const QElapsedTimer& openStarted = QElapsedTimer());
    AttachmentModel* attachmentModel() const { return model; }
    // True while the body is being prepared.
    bool isBodyPending() const { return bodyPending; }
    // Which body is shown; None without one, and while it is pending.
    DisplayBody shownBody() const { return bodySource; }

    // Lets the body view shrink to its text when the text is shorter than the
    // room left beside the header and the attachment list, so the list
    // follows the text directly. A body with more characters than that room
    // could hold even in the smallest type is not measured (measuring lays
    // the whole of it out at once) and keeps the full height.
    void adjustBodyHeight();

    // Writes the attachment of `row` into the temporary folder and hands it
    // to the desktop; programs and scripts only after the user agrees. When
    // the desktop has no program for it, says so and offers to save it.
    void openAttachment(int row);
    void showContextMenu(const QPoint& pos);
    // Saves the attachments of `rows` into one chosen directory, next to
    // whatever is already there.
    void saveAttachments(const QList<int>& rows);
    QList<int> selectedRows() const;
    // The remembered save directory while it exists, else the download
    // folder while that exists, else the home folder.
    QString lastSaveDirectory() const;
    // Where the attachment named `fileName` is copied for opening: inside the
    // host's temporary folder (created when missing) under its safe name.
    QString temporaryFilePath(const QString& fileName) const;

    // Opens an attached message in a tab of its own: the message as read,
    // its file's bytes, the tab's title and its path of containing
    // messages. True when it opened (or its tab was already open).
    using MessageOpener = std::function<bool(const QSharedPointer<TessilMessage>& message, const QByteArray& data,
                                             const QString& title, const QString& path)>;
    // Without one, an attached message is offered for saving instead.
    void setMessageOpener(MessageOpener opener) { messageOpener = std::move(opener); }
    // Where the shown message lies: its file's name, or for an attached
    // message the path of containing messages ("outer.msg › Subject").
    void setDocumentPath(const QString& path) { documentPath = path; }
    QString documentPathText() const { return documentPath; }

    // Replaces the dialogs of the attachment actions.
    void setDialogs(std::unique_ptr<AttachmentDialogs> dialogs);

    // The commands, in the host's order with separators (see ViewActions).
    QList<QAction*> documentActions() const;
    ViewActions* actions() const { return viewActions; }

    // Writes the message as it prints into the PDF file `path` in a worker;
    // the job reports when it is done and goes with the view. Null without
    // a message.
    PrintJob* exportPdf(const QString& path);
    // The last print job started, while it exists.
    PrintJob* printJob() const;

    // Finding: opens the bar, searches for `text` from the top of the body
    // and highlights every match; the count and the current match (from 0;
    // -1 for none).
    FindBar* findBar() const { return finder; }
    void find(const QString& text);
    int matchCount() const;
    int currentMatch() const;
    void findNext();
    void findPrevious();

    MyWebViewWidget* bodyView() const;
    // The body's zoom in percent (50 to 400).
    int zoom() const;
    void setZoom(int percent);

    // What a drag of the attachments of `rows` carries: file URLs of fresh
    // copies in the temporary folder (null when none could be written).
    QMimeData* dragData(const QList<int>& rows) const;

signals:
    void attachmentSaveRequested(QSharedPointer<TessilAttachment> attachment);
    // The body is in place (or known to show nothing).
    void bodyShown();

public slots:
    // Saves the attachment of `index` through a save dialog.
    void onAttachmentDoubleClicked(const QModelIndex& index);
    void onSaveAttachment();
    void onSaveAllAttachments();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setupAttachmentList();
    void showHeader();
    // The height the body could take: the page's less what else shows on it.
    int roomForBody() const;
    void showPreparedBody();
    void saveAttachmentAs(const QSharedPointer<TessilAttachment>& attachment);
    void rememberSaveDirectory(const QString& directory);
    void openAttachedMessage(const QSharedPointer<TessilAttachment>& attachment);
    void setupActions();
    void updateActions();
    void print();
    void exportPdfInteractively();
    void startPrintJob(const QString& pdfPath, std::unique_ptr<class QPrinter> printer);
    void showProperties();
    void showHeaderContextMenu(const QPoint& pos);
    void runSearch();
    void showCurrentMatch();

    AttachmentModel* model = nullptr;
    QSharedPointer<TessilMessage> message;
    PreparedMessage prepared; // its body stays empty: the view keeps the document only
    IDocumentWidgetHost* host = nullptr;
    bool hasBody = false;
    bool bodyPending = false;
    DisplayBody bodySource = DisplayBody::None;
    BodyLoader* bodyLoader = nullptr;
    QTimer* loadingDelay = nullptr;
    DesktopLauncher* launcher = nullptr;
    std::unique_ptr<OpenTimeline> timeline;
    std::unique_ptr<Ui::TessilViewWidget> ui;
    std::unique_ptr<AttachmentDialogs> dialogs;
    MessageOpener messageOpener;
    QString documentPath;
    ViewActions* viewActions = nullptr;
    FindBar* finder = nullptr;
    std::unique_ptr<BodySearch> search;
    PrintProgressBar* printProgress = nullptr;
    QPointer<PrintJob> lastPrintJob;
};
