#pragma once

// The body's text browser, with a zoom that scales everything it shows as a
// browser's zoom does: text of every size, pictures, tables and their rules.
// Qt's own zoom (QTextEdit::zoomIn) changes only the default font, which
// nearly every message overrides. At 100 % the browser is Qt's as it is; at
// any other level the document is laid out for the width the zoom leaves
// and painted scaled, and the scroll bars, the mouse and found-text
// highlights follow the scale.

#include <QTextBrowser>

class ZoomingTextBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    static constexpr int kMinimumZoom = 50;
    static constexpr int kMaximumZoom = 400;
    static constexpr int kZoomStep = 10;

    explicit ZoomingTextBrowser(QWidget* parent = nullptr);

    // The level in percent; 100 shows the document as laid out.
    int zoom() const { return zoomPercent; }
    // Sets the level, kept within kMinimumZoom and kMaximumZoom and on a
    // multiple of kZoomStep; the point of the document at the top of the
    // view stays there.
    void setZoom(int percent);
    // `current` moved by `steps` steps, within the bounds.
    static int steppedZoom(int current, int steps);

    // Document coordinates of a point of the viewport, and back.
    QPointF toDocument(const QPointF& viewportPoint) const;
    QPointF toViewport(const QPointF& documentPoint) const;
    // The document positions shown in the viewport, first and last.
    QPair<int, int> visiblePositions() const;
    // The rectangle of the characters from `position` on for `length`
    // characters, in viewport coordinates (their line's height), scaled.
    QRect characterRect(int position, int length) const;
    // Scrolls as little as needed to show `rect` (viewport coordinates),
    // with some room around it; true when the browser could scroll.
    bool scrollToShow(const QRect& rect);

    // The width the document is laid out for when the browser is `width`
    // pixels wide, and the height it then takes on screen.
    qreal layoutWidthFor(qreal viewportWidth) const;

    // Replaces the document; the zoom stays.
    void setBodyDocument(QTextDocument* document);

signals:
    // Ctrl with the mouse wheel: steps up (positive) or down.
    void zoomStepsRequested(int steps);
    // The part of the document on show changed (scrolled, resized, zoomed).
    void visibleAreaChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    qreal factor() const { return zoomPercent / 100.0; }
    bool zoomed() const { return zoomPercent != 100; }
    QPointF scrollOffset() const;
    void applyLayoutWidth();
    // Scroll ranges for the scaled document, set over the browser's own
    // (which it sets for the unscaled one whenever it lays out). Set while
    // the browser still binds the position to its own range, they keep the
    // position from being cut back.
    void fitScrollBars();
    QSizeF unscaledDocumentSize() const;
    // Sends `event` on with its position in the terms of an unzoomed browser.
    template <typename Handler> void forwardMouse(QMouseEvent* event, Handler handler);
    void watchDocumentSize();

    int zoomPercent = 100;
    bool fittingScrollBars = false;
    // The browser's own last maximum scroll positions, for the unscaled document.
    int browserVerticalMaximum = 0;
    int browserHorizontalMaximum = 0;
    int wheelRemainder = 0;
    QMetaObject::Connection documentSizeConnection;
};
