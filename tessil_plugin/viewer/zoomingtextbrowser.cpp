#include "zoomingtextbrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Room kept around a rectangle scrolled into view, in pixels.
const int kScrollMargin = 40;
// Documents up to this many characters are measured whole for the scroll
// ranges of a zoom.
const int kMeasuredCharacters = 100000;

} // namespace

ZoomingTextBrowser::ZoomingTextBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    // Qt sets the ranges for an unscaled document whenever it lays the
    // document out; a zoomed browser puts its own back at once, before the
    // position is bound to Qt's (see fitScrollBars).
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
        if (fittingScrollBars || !zoomed())
            return;
        browserVerticalMaximum = maximum;
        fitScrollBars();
    });
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
        if (fittingScrollBars || !zoomed())
            return;
        browserHorizontalMaximum = maximum;
        fitScrollBars();
    });
    watchDocumentSize();
}

int ZoomingTextBrowser::steppedZoom(int current, int steps)
{
    // A level between steps goes to the next step in the direction asked.
    int level = current;
    if (steps > 0)
        level = (current / kZoomStep + steps) * kZoomStep;
    else if (steps < 0)
        level = ((current + kZoomStep - 1) / kZoomStep + steps) * kZoomStep;
    return std::clamp(level, kMinimumZoom, kMaximumZoom);
}

void ZoomingTextBrowser::setZoom(int percent)
{
    const int level = std::clamp((percent + kZoomStep / 2) / kZoomStep * kZoomStep, kMinimumZoom, kMaximumZoom);
    if (level == zoomPercent)
        return;
    // The first line shown stays the first line shown.
    const int anchor = std::max(document()->documentLayout()->hitTest(toDocument(QPointF(0, 0)), Qt::FuzzyHit), 0);
    const bool wasZoomed = zoomed();
    zoomPercent = level;
    if (!zoomed()) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        if (!wasZoomed)
            setLineWrapMode(QTextEdit::FixedPixelWidth);
        applyLayoutWidth();
    }
    fitScrollBars();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + characterRect(anchor, 0).top());
    viewport()->update();
    emit visibleAreaChanged();
}

qreal ZoomingTextBrowser::layoutWidthFor(qreal viewportWidth) const
{
    return std::max(viewportWidth / factor(), 1.0);
}

void ZoomingTextBrowser::applyLayoutWidth()
{
    if (!zoomed())
        return;
    const int width = int(std::floor(layoutWidthFor(viewport()->width())));
    if (lineWrapColumnOrWidth() != width)
        setLineWrapColumnOrWidth(width);
}

QSizeF ZoomingTextBrowser::unscaledDocumentSize() const
{
    // A short document is measured. A long one is laid out by the browser a
    // piece at a time (measuring would lay it all out at once); its size is
    // then what the browser's own scroll ranges say it is, at least the
    // width it is laid out for.
    if (document()->characterCount() <= kMeasuredCharacters)
        return document()->documentLayout()->documentSize();
    const QSize room = viewport()->size();
    const qreal width = browserHorizontalMaximum > 0 ? browserHorizontalMaximum + room.width()
                                                     : layoutWidthFor(room.width());
    return QSizeF(width, browserVerticalMaximum + room.height());
}

void ZoomingTextBrowser::fitScrollBars()
{
    if (!zoomed() || fittingScrollBars)
        return;
    fittingScrollBars = true;
    const QSizeF size = unscaledDocumentSize() * factor();
    const QSize room = viewport()->size();
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    vertical->setRange(0, std::max(0, int(std::ceil(size.height())) - room.height()));
    vertical->setPageStep(room.height());
    horizontal->setRange(0, std::max(0, int(std::ceil(size.width())) - room.width()));
    horizontal->setPageStep(room.width());
    fittingScrollBars = false;
}

void ZoomingTextBrowser::watchDocumentSize()
{
    disconnect(documentSizeConnection);
    // Queued: after Qt's own handling of the same change.
    documentSizeConnection = connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
                                     this, &ZoomingTextBrowser::fitScrollBars, Qt::QueuedConnection);
}

void ZoomingTextBrowser::setBodyDocument(QTextDocument* newDocument)
{
    setDocument(newDocument);
    watchDocumentSize();
    if (zoomed()) {
        applyLayoutWidth();
        fitScrollBars();
    }
}

QPointF ZoomingTextBrowser::scrollOffset() const
{
    return QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPointF ZoomingTextBrowser::toDocument(const QPointF& viewportPoint) const
{
    return (viewportPoint + scrollOffset()) / factor();
}

QPointF ZoomingTextBrowser::toViewport(const QPointF& documentPoint) const
{
    return documentPoint * factor() - scrollOffset();
}

QPair<int, int> ZoomingTextBrowser::visiblePositions() const
{
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const int first = layout->hitTest(toDocument(QPointF(0, 0)), Qt::FuzzyHit);
    const int last = layout->hitTest(toDocument(QPointF(viewport()->width(), viewport()->height())), Qt::FuzzyHit);
    return {std::max(first, 0), std::max(last, first)};
}

QRect ZoomingTextBrowser::characterRect(int position, int length) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid() || !block.layout())
        return {};
    const QTextLayout* layout = block.layout();
    const QPointF blockTopLeft = document()->documentLayout()->blockBoundingRect(block).topLeft();
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return QRectF(toViewport(blockTopLeft), QSizeF(1, 1)).toAlignedRect();
    const qreal left = line.cursorToX(inBlock);
    const int endInLine = std::min(inBlock + std::max(length, 0), line.textStart() + line.textLength());
    const qreal right = std::max(line.cursorToX(endInLine), left + 1);
    const QRectF inDocument(blockTopLeft + QPointF(left, line.y()), QSizeF(right - left, line.height()));
    return QRectF(toViewport(inDocument.topLeft()), inDocument.size() * factor()).toAlignedRect();
}

bool ZoomingTextBrowser::scrollToShow(const QRect& rect)
{
    const QRect room = viewport()->rect();
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const int before = vertical->value() + horizontal->value();
    if (rect.top() < room.top() + kScrollMargin || rect.bottom() > room.bottom() - kScrollMargin)
        vertical->setValue(vertical->value() + rect.center().y() - room.center().y());
    if (rect.left() < room.left() || rect.right() > room.right())
        horizontal->setValue(horizontal->value() + rect.left() - kScrollMargin);
    return vertical->maximum() > 0 || horizontal->maximum() > 0 || vertical->value() + horizontal->value() != before;
}

void ZoomingTextBrowser::paintEvent(QPaintEvent* event)
{
    if (!zoomed() || document()->isEmpty()) {
        QTextBrowser::paintEvent(event);
        return;
    }
    // Qt asks to repaint what changed in unscaled terms, which at a zoom is
    // another area: everything is painted then.
    if (!event->region().contains(viewport()->rect()))
        viewport()->update();

    QPainter painter(viewport());
    const QPointF offset = scrollOffset();
    painter.translate(-offset);
    painter.scale(factor(), factor());

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.cursorPosition = -1;
    context.clip = QRectF(offset / factor(), QSizeF(viewport()->size()) / factor());
    for (const QTextEdit::ExtraSelection& extra : extraSelections())
        context.selections.append({extra.cursor, extra.format});
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = cursor;
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        context.selections.append(selection);
    }
    painter.setClipRect(context.clip);
    document()->documentLayout()->draw(&painter, context);
}

void ZoomingTextBrowser::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    applyLayoutWidth();
    fitScrollBars();
    emit visibleAreaChanged();
}

void ZoomingTextBrowser::scrollContentsBy(int dx, int dy)
{
    QTextBrowser::scrollContentsBy(dx, dy);
    emit visibleAreaChanged();
}

void ZoomingTextBrowser::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QTextBrowser::wheelEvent(event);
        return;
    }
    // One step per notch (120 units); a touchpad's small deltas add up.
    wheelRemainder += event->angleDelta().y();
    const int steps = wheelRemainder / 120;
    wheelRemainder -= steps * 120;
    if (steps != 0)
        emit zoomStepsRequested(steps);
    event->accept();
}

template <typename Handler> void ZoomingTextBrowser::forwardMouse(QMouseEvent* event, Handler handler)
{
    if (!zoomed()) {
        handler(event);
        return;
    }
    // The browser maps a position to the document by adding the scroll
    // offset; the position that gives the right point that way:
    const QPointF position = toDocument(event->position()) - scrollOffset();
    QMouseEvent mapped(event->type(), position, event->scenePosition(), event->globalPosition(), event->button(),
                       event->buttons(), event->modifiers(), event->pointingDevice());
    handler(&mapped);
    event->setAccepted(mapped.isAccepted());
}

void ZoomingTextBrowser::mousePressEvent(QMouseEvent* event)
{
    // The base class's handler itself: a member pointer would call this override again.
    forwardMouse(event, [this](QMouseEvent* mapped) { QTextBrowser::mousePressEvent(mapped); });
}

void ZoomingTextBrowser::mouseMoveEvent(QMouseEvent* event)
{
    forwardMouse(event, [this](QMouseEvent* mapped) { QTextBrowser::mouseMoveEvent(mapped); });
}

void ZoomingTextBrowser::mouseReleaseEvent(QMouseEvent* event)
{
    forwardMouse(event, [this](QMouseEvent* mapped) { QTextBrowser::mouseReleaseEvent(mapped); });
}

void ZoomingTextBrowser::mouseDoubleClickEvent(QMouseEvent* event)
{
    forwardMouse(event, [this](QMouseEvent* mapped) { QTextBrowser::mouseDoubleClickEvent(mapped); });
}
