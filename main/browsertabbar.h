#pragma once

#include <QRect>
#include <QTabBar>

// A tab bar in the style of a web browser: tabs share the width up to a cap,
// and a square "+" button follows the last tab.
class BrowserTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit BrowserTabBar(QWidget* parent = nullptr);

    // Where the "+" button goes: right after the last tab, or in the top-left
    // corner when there is none.
    QRect plusButtonRect() const;
    bool isPlusHovered() const { return plusHovered; }

signals:
    void addTabRequested();

protected:
    QSize tabSizeHint(int index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool plusHovered = false;
    // Where the button was last painted; presses are tested against this, so a
    // click always lands on what the user saw.
    QRect plusRect;
};
