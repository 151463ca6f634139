#include "browsertabbar.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
const int kMinTabWidth = 18;
const int kMaxTabWidth = 180;
const int kPlusArm = 6;
} // namespace

BrowserTabBar::BrowserTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setMouseTracking(true);
    setExpanding(true);
    setElideMode(Qt::ElideMiddle);
}

QRect BrowserTabBar::plusButtonRect() const
{
    if (count() == 0) {
        const int side = height() - 10;
        return QRect(5, 5, side, side);
    }
    const QRect last = tabRect(count() - 1);
    const int side = last.height();
    return QRect(last.right() + 1, (height() - side) / 2, side, side - 1);
}

QSize BrowserTabBar::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    const int tabHeight = size.height();
    if (count() > 0 && width() > tabHeight) {
        // Leave one tab height free for the "+" button.
        const int share = (width() - tabHeight) / count();
        size.setWidth(std::clamp(share, kMinTabWidth, kMaxTabWidth));
    }
    return size;
}

void BrowserTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && plusRect.contains(event->position().toPoint())) {
        emit addTabRequested();
        return;
    }
    QTabBar::mousePressEvent(event);
}

void BrowserTabBar::mouseMoveEvent(QMouseEvent* event)
{
    const QRect button = plusButtonRect();
    const bool hovered = button.contains(event->position().toPoint());
    if (hovered != plusHovered) {
        plusHovered = hovered;
        update(button);
    }
    QTabBar::mouseMoveEvent(event);
}

void BrowserTabBar::leaveEvent(QEvent* event)
{
    if (plusHovered) {
        plusHovered = false;
        update(plusButtonRect());
    }
    QTabBar::leaveEvent(event);
}

void BrowserTabBar::paintEvent(QPaintEvent* event)
{
    QTabBar::paintEvent(event);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRect button = plusButtonRect();
    painter.setBrush(QColor(plusHovered ? "#E7EDF3" : "#e6e6e6"));
    painter.drawRect(button);
    plusRect = button;

    painter.setPen(QPen(QColor("#0e0f0f"), 1));
    const QPoint c = button.center();
    painter.drawLine(c.x() - kPlusArm, c.y(), c.x() + kPlusArm, c.y());
    painter.drawLine(c.x(), c.y() - kPlusArm, c.x(), c.y() + kPlusArm);
}
