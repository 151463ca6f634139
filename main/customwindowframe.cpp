#include "customwindowframe.h"

#include "ui_customwindowframe.h"

#include "applicationservices.h"
#include "appmenu.h"
#include "hostshortcuts.h"
#include "mainwindow.h"
#include "multilanguage.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGraphicsDropShadowEffect>
#include <QIcon>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace {

QIcon twoSizeIcon(const char* name)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/img/%1-16.png").arg(QLatin1String(name)), QSize(16, 16));
    icon.addFile(QStringLiteral(":/img/%1-32.png").arg(QLatin1String(name)), QSize(32, 32));
    return icon;
}

// Room around the background for the shadow of a window that is not maximised.
const int kShadowMargin = 4;

} // namespace

CustomWindowFrame::CustomWindowFrame(QWidget* contentWidget, QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::CustomWindowFrame>())
{
    ui->setupUi(this);

    if (contentWidget) {
        content = contentWidget;
        content->setParent(ui->mainWidget);
        ui->mainWidget->layout()->addWidget(content);
    }

    setUpFrame();

    menu = attachAppMenu(ui->btn_menu, this);
    if (menu)
        addActions(menu->windowActions());
    auto* mainWindow = qobject_cast<MainWindow*>(content);
    if (menu && mainWindow) {
        connect(menu, &AppMenu::recentFileTriggered, mainWindow, &MainWindow::openFile);
        connect(mainWindow, &MainWindow::bookmarkCommandsEnabledChanged, menu, &AppMenu::setBookmarkMenuEnabled);
        menu->setBookmarkMenuEnabled(mainWindow->currentDocumentSupportsBookmarks());
        connect(mainWindow, &MainWindow::documentActionsChanged, menu, &AppMenu::setDocumentActions);
        menu->setDocumentActions(mainWindow->currentDocumentActions());
    }
    if (mainWindow) {
        connect(mainWindow, &MainWindow::documentTitleChanged, this, &CustomWindowFrame::setDocumentTitle);
        documentName = mainWindow->documentTitle();
    }

    connect(ui->btn_minimize, &QPushButton::clicked, this, &QWidget::showMinimized);
    connect(ui->btn_maximize, &QPushButton::clicked, this, &CustomWindowFrame::toggleMaximized);
    connect(ui->btn_close, &QPushButton::clicked, qApp, &QCoreApplication::quit);
    // Quitting by keyboard is what the close button does.
    auto* quit = new QAction(this);
    quit->setObjectName(QStringLiteral("quit"));
    quit->setShortcuts(hostshortcuts::quit());
    addAction(quit);
    connect(quit, &QAction::triggered, ui->btn_close, &QPushButton::click);
    ui->label_title->installEventFilter(this);
    // btn_menu drops its menu down by itself (QPushButton::setMenu).
    connect(MultiLanguage::instance(), &MultiLanguage::languageChanged, this, &CustomWindowFrame::retranslate);

    updateTitle();
}

CustomWindowFrame::~CustomWindowFrame()
{
    // The content is deleted after this frame's own part: what it says while
    // it goes must not reach this frame.
    if (content)
        disconnect(content, nullptr, this, nullptr);
}

void CustomWindowFrame::setUpFrame()
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    // The cursor shape follows the mouse over the border even above children.
    setAttribute(Qt::WA_Hover);

    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(ApplicationServices::windowIconPath()));
    setWindowIcon(QApplication::windowIcon());
    ui->label_icon->setPixmap(QApplication::windowIcon().pixmap(QSize(32, 32)));

    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_backgrond);
    shadow->setOffset(0, 0);
    shadow->setBlurRadius(8);
    shadow->setColor(QColor(100, 100, 100, 140));
    ui->frame_backgrond->setGraphicsEffect(shadow);

    ui->btn_menu->setIcon(twoSizeIcon("menu"));
    ui->btn_minimize->setIcon(twoSizeIcon("mini"));
    ui->btn_close->setIcon(twoSizeIcon("close"));
    setMaximizeButtonState();
}

void CustomWindowFrame::setMaximizeButtonState()
{
    if (maximized) {
        ui->btn_maximize->setIcon(twoSizeIcon("restore"));
        ui->btn_maximize->setToolTip(tr("Restore"));
    } else {
        ui->btn_maximize->setIcon(twoSizeIcon("max"));
        ui->btn_maximize->setToolTip(tr("Maximize"));
    }
}

QString CustomWindowFrame::productTitle()
{
    return QStringLiteral("Veltrano Quorvia");
}

void CustomWindowFrame::setDocumentTitle(const QString& documentTitle)
{
    documentName = documentTitle;
    updateTitle();
}

void CustomWindowFrame::updateTitle()
{
    // Control characters in a subject would break the title bar's line.
    QString name = documentName.simplified();
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    setWindowTitle(name.isEmpty() ? productTitle() : QStringLiteral("%1 \u2014 %2").arg(name, productTitle()));
    elideTitle();
}

void CustomWindowFrame::elideTitle()
{
    const int room = ui->label_title->contentsRect().width();
    ui->label_title->setText(ui->label_title->fontMetrics().elidedText(windowTitle(), Qt::ElideRight, room));
    ui->label_title->setToolTip(ui->label_title->text() == windowTitle() ? QString() : windowTitle());
}

bool CustomWindowFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->label_title && event->type() == QEvent::Resize)
        elideTitle();
    return QMainWindow::eventFilter(watched, event);
}

void CustomWindowFrame::retranslate()
{
    ui->retranslateUi(this);
    setMaximizeButtonState();
    updateTitle();
    update();
}

void CustomWindowFrame::toggleMaximized()
{
    if (maximized) {
        showNormal();
        maximized = false;
        centralWidget()->layout()->setContentsMargins(kShadowMargin, kShadowMargin, kShadowMargin, kShadowMargin);
    } else {
        showMaximized();
        maximized = true;
        centralWidget()->layout()->setContentsMargins(0, 0, 0, 0);
    }
    setMaximizeButtonState();
}

CustomWindowFrame::Edges CustomWindowFrame::edgesAt(const QRect& geometry, const QPoint& globalPos)
{
    if (!geometry.contains(globalPos))
        return NoEdge;
    const bool nearTop = globalPos.y() - geometry.top() < kBorderWidth;
    const bool nearBottom = geometry.bottom() - globalPos.y() < kBorderWidth;
    const bool nearLeft = globalPos.x() - geometry.left() < kBorderWidth;
    const bool nearRight = geometry.right() - globalPos.x() < kBorderWidth;

    if (nearTop && nearLeft)
        return TopEdge | LeftEdge;
    if (nearBottom && nearLeft)
        return BottomEdge | LeftEdge;
    if (nearTop && nearRight)
        return TopEdge | RightEdge;
    if (nearBottom && nearRight)
        return BottomEdge | RightEdge;
    if (nearTop)
        return TopEdge;
    if (nearLeft)
        return LeftEdge;
    if (nearBottom)
        return BottomEdge;
    if (nearRight)
        return RightEdge;
    return NoEdge;
}

Qt::CursorShape CustomWindowFrame::cursorShapeFor(Edges edges)
{
    if (edges == (TopEdge | LeftEdge) || edges == (BottomEdge | RightEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (BottomEdge | LeftEdge) || edges == (TopEdge | RightEdge))
        return Qt::SizeBDiagCursor;
    if (edges == TopEdge || edges == BottomEdge)
        return Qt::SizeVerCursor;
    if (edges == LeftEdge || edges == RightEdge)
        return Qt::SizeHorCursor;
    return Qt::ArrowCursor;
}

QRect CustomWindowFrame::resizedGeometry(const QRect& start, Edges edges, const QPoint& delta,
                                         const QSize& minimum, const QSize& maximum)
{
    QRect geometry = start;
    if (minimum.height() != maximum.height()) {
        if (edges & TopEdge) {
            const int bottom = start.bottom();
            geometry.setTop(std::clamp(start.top() + delta.y(), bottom - maximum.height() + 1,
                                       bottom - minimum.height() + 1));
        } else if (edges & BottomEdge) {
            const int top = start.top();
            geometry.setBottom(std::clamp(start.bottom() + delta.y(), top + minimum.height() - 1,
                                          top + maximum.height() - 1));
        }
    }
    if (minimum.width() != maximum.width()) {
        if (edges & LeftEdge) {
            const int right = start.right();
            geometry.setLeft(std::clamp(start.left() + delta.x(), right - maximum.width() + 1,
                                        right - minimum.width() + 1));
        } else if (edges & RightEdge) {
            const int left = start.left();
            geometry.setRight(std::clamp(start.right() + delta.x(), left + minimum.width() - 1,
                                         left + maximum.width() - 1));
        }
    }
    return geometry;
}

void CustomWindowFrame::updateResizeEdges(const QPoint& globalPos)
{
    if (resizing)
        return;
    // A maximised window cannot be resized: no side may be grabbed, even one
    // noted before it was maximised.
    const Edges edges = maximized ? Edges(NoEdge) : edgesAt(geometry(), globalPos);
    resizeEdges = edges;
    const Qt::CursorShape shape = cursorShapeFor(edges);
    if (cursor().shape() != shape)
        setCursor(shape);
}

bool CustomWindowFrame::isInTitleBar(const QPoint& globalPos) const
{
    return ui->frame_title->rect().contains(ui->frame_title->mapFromGlobal(globalPos));
}

bool CustomWindowFrame::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
        updateResizeEdges(QCursor::pos());
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void CustomWindowFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint globalPos = event->globalPosition().toPoint();
        if (resizeEdges != NoEdge && !maximized) {
            resizePressPos = globalPos;
            resizeStartGeometry = geometry();
            resizing = true;
        } else if (isInTitleBar(globalPos)) {
            lastMovePos = globalPos;
            moving = true;
        }
    }
    QMainWindow::mousePressEvent(event);
}

void CustomWindowFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint globalPos = event->globalPosition().toPoint();
    if (resizing) {
        setGeometry(resizedGeometry(resizeStartGeometry, resizeEdges, globalPos - resizePressPos, minimumSize(),
                                    maximumSize()));
    } else if (moving && !maximized) {
        move(pos() + (globalPos - lastMovePos));
        lastMovePos = globalPos;
    } else if (moving) {
        const double fraction = double(globalPos.x() - geometry().x()) / std::max(1, width());
        // Restoring reaches the window system asynchronously: when the move
        // below runs, the widget may still report its maximised size. Place it
        // with the size it is restored to.
        const QSize restoredSize = normalGeometry().size();
        toggleMaximized();
        // The drag goes on from here: the next step moves the restored window
        // by what the cursor moves after this point, not since the press.
        lastMovePos = globalPos;
        QTimer::singleShot(0, this, [this, globalPos, fraction, restoredSize] {
            const QPoint topLeft(globalPos.x() - static_cast<int>(restoredSize.width() * fraction),
                                 globalPos.y() - 10);
            setGeometry(QRect(topLeft, restoredSize));
        });
    }
    QMainWindow::mouseMoveEvent(event);
}

void CustomWindowFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        moving = false;
        resizing = false;
    }
    QMainWindow::mouseReleaseEvent(event);
}

void CustomWindowFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isInTitleBar(event->globalPosition().toPoint())) {
        toggleMaximized();
        // The second press of the double-click began a drag; were it to go on,
        // the slightest movement before the release would restore the window
        // that has just been maximised. (The base class would start it again.)
        moving = false;
        resizing = false;
        event->accept();
        return;
    }
    QMainWindow::mouseDoubleClickEvent(event);
}

void CustomWindowFrame::closeEvent(QCloseEvent* event)
{
    // The content is asked first; when it refuses, the window stays.
    if (content && !content->close()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
