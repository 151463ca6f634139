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
    // Only names longer than the cap are shortened, in the middle, so that
    // the suffix stays.
    setElideMode(Qt::ElideMiddle);
    setUsesScrollButtons(true);
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

int BrowserTabBar::readableWidth(int index) const
{
    return std::min(QTabBar::tabSizeHint(index).width(), kMaxTabWidth);
}

QSize BrowserTabBar::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    const int tabHeight = size.height();
    if (count() > 0 && width() > tabHeight) {
        // Leave one tab height free for the "+" button.
        const int share = (width() - tabHeight) / count();
        size.setWidth(std::max(readableWidth(index), std::clamp(share, kMinTabWidth, kMaxTabWidth)));
    }
    return size;
}

QSize BrowserTabBar::minimumTabSizeHint(int index) const
{
    // Qt shrinks tabs down to this before it scrolls; by default that is a
    // few letters of the name.
    return QSize(readableWidth(index), QTabBar::tabSizeHint(index).height());
}

bool BrowserTabBar::isOverflowing() const
{
    int needed = 0;
    for (int i = 0; i < count(); ++i)
        needed += minimumTabSizeHint(i).width();
    return count() > 0 && needed > width();
}

void BrowserTabBar::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    emit tabsLaidOut();
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
    if (isOverflowing()) {
        plusRect = QRect();
        return;
    }
    QPainter painter(this);
    const QRect button = plusButtonRect();
    paintPlusSquare(painter, button, plusHovered);
    plusRect = button;
}

void BrowserTabBar::paintPlusSquare(QPainter& painter, const QRect& square, bool hovered)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(hovered ? "#E7EDF3" : "#e6e6e6"));
    painter.drawRect(square);
    painter.setPen(QPen(QColor("#0e0f0f"), 1));
    const QPoint c = square.center();
    painter.drawLine(c.x() - kPlusArm, c.y(), c.x() + kPlusArm, c.y());
    painter.drawLine(c.x(), c.y() - kPlusArm, c.x(), c.y() + kPlusArm);
    painter.restore();
}
