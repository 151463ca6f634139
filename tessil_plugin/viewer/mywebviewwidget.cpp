#include "mywebviewwidget.h"

#include "viewstylesheets.h"
#include "zoomingtextbrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// How long the zoom level stays on show.
const int kIndicatorMilliseconds = 1200;
// Found text, in colours that read on the white page whatever the desktop.
const QColor kHighlight(255, 231, 102);
const QColor kCurrentHighlight(255, 150, 50);
// More highlights than a screen can hold would only slow painting down.
const int kMostHighlights = 4000;

} // namespace

MyWebViewWidget::MyWebViewWidget(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    textBrowser = new ZoomingTextBrowser(this);
    textBrowser->setFrameShape(QFrame::NoFrame);
    textBrowser->setOpenExternalLinks(true);
    textBrowser->setContextMenuPolicy(Qt::CustomContextMenu);
    QTextDocument* document = textBrowser->document();
    document->setDocumentMargin(0);
    document->setDefaultFont(font());
    document->setDefaultStyleSheet(bodyDefaultStyleSheet());
    textBrowser->setStyleSheet(bodyBrowserStyleSheet());
    layout->addWidget(textBrowser);

    connect(textBrowser, &ZoomingTextBrowser::zoomStepsRequested, this,
            [this](int steps) { setZoom(ZoomingTextBrowser::steppedZoom(zoom(), steps)); });
    connect(textBrowser, &ZoomingTextBrowser::visibleAreaChanged, this, &MyWebViewWidget::markVisibleHighlights);
    connect(textBrowser, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        QMenu* menu = createContextMenu(position);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(textBrowser->viewport()->mapToGlobal(position));
    });

    // A light badge on a dark ground, over whatever the body shows.
    indicator = new QLabel(this);
    indicator->setObjectName(QStringLiteral("zoomIndicator"));
    indicator->setAlignment(Qt::AlignCenter);
    indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    indicator->setStyleSheet(QStringLiteral("#zoomIndicator { background: rgba(40, 40, 40, 210); color: white;"
                                            " border-radius: 6px; padding: 6px 14px; font-size: 15px; }"));
    indicator->hide();
    indicatorTimer = new QTimer(this);
    indicatorTimer->setSingleShot(true);
    indicatorTimer->setInterval(kIndicatorMilliseconds);
    connect(indicatorTimer, &QTimer::timeout, indicator, &QWidget::hide);
}

MyWebViewWidget::~MyWebViewWidget() = default;

void MyWebViewWidget::setDocument(std::unique_ptr<QTextDocument> document)
{
    if (!document)
        return;
    // The browser keeps the default font in step with its own font (style
    // sheet, application font); the new document starts from where it is.
    document->setDefaultFont(textBrowser->document()->defaultFont());
    QTextDocument* previous = ownDocument;
    ownDocument = document.release();
    ownDocument->setParent(textBrowser);
    setHighlights({}, 0, -1);
    textBrowser->setBodyDocument(ownDocument);
    delete previous;
}

QTextDocument* MyWebViewWidget::document() const
{
    return textBrowser->document();
}

QFont MyWebViewWidget::documentFont() const
{
    return textBrowser->document()->defaultFont();
}

QAbstractTextDocumentLayout* MyWebViewWidget::documentLayout() const
{
    return textBrowser->document()->documentLayout();
}

int MyWebViewWidget::characterCount() const
{
    return textBrowser->document()->characterCount();
}

void MyWebViewWidget::setLoading(bool loading)
{
    this->loading = loading;
    showLoadingText();
}

void MyWebViewWidget::showLoadingText()
{
    textBrowser->setPlaceholderText(loading ? tr("Loading the message…") : QString());
}

int MyWebViewWidget::zoom() const
{
    return textBrowser->zoom();
}

void MyWebViewWidget::setZoom(int percent)
{
    const int before = zoom();
    textBrowser->setZoom(percent);
    if (zoom() == before)
        return;
    indicator->setText(tr("%1%", "zoom level in percent").arg(QLocale().toString(zoom())));
    indicator->adjustSize();
    placeIndicator();
    indicator->show();
    indicator->raise();
    indicatorTimer->start();
    emit zoomChanged(zoom());
}

void MyWebViewWidget::placeIndicator()
{
    indicator->move((width() - indicator->width()) / 2, std::max(0, std::min(height() / 3, 60) - indicator->height() / 2));
}

void MyWebViewWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeIndicator();
}

void MyWebViewWidget::setHighlights(const QList<int>& starts, int length, int current)
{
    highlightStarts = starts;
    highlightLength = length;
    highlightCurrent = current;
    markVisibleHighlights();
}

void MyWebViewWidget::markVisibleHighlights()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (!highlightStarts.isEmpty() && highlightLength > 0) {
        const QPair<int, int> visible = textBrowser->visiblePositions();
        auto it = std::lower_bound(highlightStarts.cbegin(), highlightStarts.cend(), visible.first - highlightLength);
        QTextCharFormat format;
        format.setBackground(kHighlight);
        format.setForeground(Qt::black);
        for (; it != highlightStarts.cend() && *it <= visible.second && selections.size() < kMostHighlights; ++it) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(textBrowser->document());
            selection.cursor.setPosition(*it);
            selection.cursor.setPosition(*it + highlightLength, QTextCursor::KeepAnchor);
            selection.format = format;
            if (int(it - highlightStarts.cbegin()) == highlightCurrent)
                selection.format.setBackground(kCurrentHighlight);
            selections.append(selection);
        }
    }
    textBrowser->setExtraSelections(selections);
}

QRect MyWebViewWidget::showCurrentHighlight()
{
    if (highlightCurrent < 0 || highlightCurrent >= highlightStarts.size())
        return {};
    const int start = highlightStarts.at(highlightCurrent);
    textBrowser->scrollToShow(textBrowser->characterRect(start, highlightLength));
    markVisibleHighlights();
    const QRect rect = textBrowser->characterRect(start, highlightLength);
    return rect.translated(textBrowser->viewport()->mapTo(this, QPoint(0, 0)));
}

void MyWebViewWidget::setContextActions(const QList<QAction*>& actions)
{
    contextActions = actions;
}

QMenu* MyWebViewWidget::createContextMenu(const QPoint& viewportPosition)
{
    // Qt's menu takes the point in the document's terms, for the link under it.
    QMenu* menu = textBrowser->createStandardContextMenu(textBrowser->toDocument(viewportPosition).toPoint());
    menu->setParent(this, menu->windowFlags());
    if (!contextActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(contextActions);
    }
    return menu;
}

void MyWebViewWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        showLoadingText();
}

int MyWebViewWidget::documentHeightForWidth(int width) const
{
    if (!textBrowser)
        return 0;
    QTextDocument* document = textBrowser->document();
    const QMargins margins = layout()->contentsMargins();
    const int scrollBarWidth = textBrowser->verticalScrollBar()->sizeHint().width();
    const int viewportWidth = std::max(width - margins.left() - margins.right() - scrollBarWidth, 0);
    const qreal factor = zoom() / 100.0;

    // The browser lays the document out for its own viewport; measuring
    // must not leave it at another width (that shows a horizontal scroll
    // bar and wraps the text wrongly).
    const qreal browserWidth = document->textWidth();
    document->setTextWidth(textBrowser->zoom() == 100 ? viewportWidth : std::floor(textBrowser->layoutWidthFor(viewportWidth)));
    const int textHeight = static_cast<int>(std::ceil(document->size().height() * factor));
    document->setTextWidth(browserWidth);

    // What the browser puts around its viewport (its style sheet's top
    // margin) is needed too, or the text never quite fits.
    QScrollBar* horizontal = textBrowser->horizontalScrollBar();
    const int around = textBrowser->height() - textBrowser->viewport()->height()
        - (horizontal->isVisible() ? horizontal->height() : 0);
    return textHeight + std::max(around, 0) + margins.top() + margins.bottom();
}
