#pragma once

#include <QFlags>
#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

class AppMenu;

namespace Ui {
class CustomWindowFrame;
}

// The program's own window frame: a frameless, translucent top-level window
// with a soft shadow and a title bar of its own (icon, title, menu, minimise,
// maximise/restore, close). It moves by its title bar, resizes by a 4-pixel
// border, maximises on a double-click, and holds the main window as content.
// Its title names the current document ("Subject — Veltrano Quorvia"), and it
// carries the window-wide shortcuts of quitting and of the menu.
class CustomWindowFrame : public QMainWindow
{
    Q_OBJECT
public:
    enum Edge {
        NoEdge = 0,
        TopEdge = 1,
        BottomEdge = 2,
        LeftEdge = 4,
        RightEdge = 8,
    };
    Q_DECLARE_FLAGS(Edges, Edge)

    // How close, in pixels, the cursor must come to a side to grab it.
    static constexpr int kBorderWidth = 4;

    explicit CustomWindowFrame(QWidget* content, QWidget* parent = nullptr);
    ~CustomWindowFrame() override;

    // The sides of a window with this geometry that the cursor is on.
    static Edges edgesAt(const QRect& geometry, const QPoint& globalPos);
    static Qt::CursorShape cursorShapeFor(Edges edges);
    // The geometry after dragging the given sides by delta from start, within
    // the minimum and maximum sizes.
    static QRect resizedGeometry(const QRect& start, Edges edges, const QPoint& delta, const QSize& minimum,
                                 const QSize& maximum);

    QWidget* contentWidget() const { return content; }
    AppMenu* appMenu() const { return menu; }
    Edges currentResizeEdges() const { return resizeEdges; }
    bool isFrameMaximized() const { return maximized; }
    static QString productTitle();

public slots:
    void toggleMaximized();
    void updateTitle();
    // documentTitle empty: the product's name alone.
    void setDocumentTitle(const QString& documentTitle);
    void retranslate();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpFrame();
    void updateResizeEdges(const QPoint& globalPos);
    bool isInTitleBar(const QPoint& globalPos) const;
    void setMaximizeButtonState();
    // Fits the title to its label, shortened at the end.
    void elideTitle();

    std::unique_ptr<Ui::CustomWindowFrame> ui;
    Edges resizeEdges = NoEdge;
    bool maximized = false;
    bool moving = false;
    bool resizing = false;
    QWidget* content = nullptr;
    QPoint lastMovePos;
    QPoint resizePressPos;
    QRect resizeStartGeometry;
    AppMenu* menu = nullptr;
    QString documentName;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CustomWindowFrame::Edges)
