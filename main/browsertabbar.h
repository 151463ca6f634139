#pragma once

#include <QRect>
#include <QTabBar>

class QPainter;

// A tab bar in the style of a web browser: tabs share the width up to a cap,
// and a square "+" button follows the last tab. A tab never gets narrower
// than its name (up to the cap): when the names do not fit, the bar scrolls
// with arrows, and the "+" moves to the tab widget's corner (see
// BrowserTabWidget).
class BrowserTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit BrowserTabBar(QWidget* parent = nullptr);

    // Where the "+" button goes: right after the last tab, or in the top-left
    // corner when there is none.
    QRect plusButtonRect() const;
    bool isPlusHovered() const { return plusHovered; }
    // True when the tabs do not fit and the bar scrolls; the "+" after the
    // last tab is then neither drawn nor clickable.
    bool isOverflowing() const;

    static void paintPlusSquare(QPainter& painter, const QRect& square, bool hovered);

signals:
    void addTabRequested();
    // The tabs were laid out again (added, removed, resized, scrolled into
    // or out of overflow).
    void tabsLaidOut();

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void tabLayoutChange() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The width at which the tab's name is shown whole, up to the cap.
    int readableWidth(int index) const;

    bool plusHovered = false;
    // Where the button was last painted; presses are tested against this, so a
    // click always lands on what the user saw.
    QRect plusRect;
};
