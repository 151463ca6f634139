#pragma once

// The message body: a read-only rich-text browser whose document is built
// elsewhere (in a worker, see BodyLoader) and handed over, which can say that
// the body is still loading, and whose height the view can fit to the text.
// It zooms (Ctrl and the wheel too; the level shows for a moment when it
// changes), highlights found text, and offers the view's commands in its
// context menu beside copying.

#include <QList>
#include <QWidget>

#include <memory>

class QAbstractTextDocumentLayout;
class QAction;
class QLabel;
class QMenu;
class QTextBrowser;
class QTextDocument;
class QTimer;
class ZoomingTextBrowser;

class MyWebViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MyWebViewWidget(QWidget* parent = nullptr);
    ~MyWebViewWidget() override;

    // Shows `document`, which the widget takes over; it must live in the GUI
    // thread by now. It gets the browser's current default font.
    void setDocument(std::unique_ptr<QTextDocument> document);
    // The document shown (the browser's empty one before the first).
    QTextDocument* document() const;
    // The default font a document for this widget is built with.
    QFont documentFont() const;
    QAbstractTextDocumentLayout* documentLayout() const;
    // Characters of the document shown (QTextDocument::characterCount).
    int characterCount() const;

    // While set, an empty body says that it is loading.
    void setLoading(bool loading);
    bool isLoading() const { return loading; }

    // The height the widget needs to show all of its text without scrolling
    // when it is `width` pixels wide (leaving room for a vertical scroll
    // bar), at the current zoom; 0 without a browser. Lays the whole
    // document out.
    int documentHeightForWidth(int width) const;

    // The zoom in percent (ZoomingTextBrowser's bounds and steps).
    int zoom() const;
    void setZoom(int percent);
    // The text showing the level for a moment after it changed.
    QLabel* zoomIndicator() const { return indicator; }

    // Highlights `length` characters at each of `starts` (document
    // positions, in order), the one at index `current` (-1: none) more
    // strongly. Only what is in view is marked at any time, so that any
    // number of matches costs nothing to show.
    void setHighlights(const QList<int>& starts, int length, int current);
    // Scrolls the browser to the current highlight as far as it can scroll,
    // and returns where the highlight is then, in this widget's coordinates
    // (an empty rectangle without one), for a scroll area around the widget.
    QRect showCurrentHighlight();

    // Put after the copy commands in the context menu.
    void setContextActions(const QList<QAction*>& actions);
    // The context menu for a point of the browser's viewport; the caller owns it.
    QMenu* createContextMenu(const QPoint& viewportPosition);

signals:
    void zoomChanged(int percent);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showLoadingText();
    void markVisibleHighlights();
    void placeIndicator();

    ZoomingTextBrowser* textBrowser = nullptr;
    QTextDocument* ownDocument = nullptr; // the last one handed over
    bool loading = false;
    QLabel* indicator = nullptr;
    QTimer* indicatorTimer = nullptr;
    QList<QAction*> contextActions;
    QList<int> highlightStarts;
    int highlightLength = 0;
    int highlightCurrent = -1;
};
