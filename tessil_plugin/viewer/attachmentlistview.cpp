#include "attachmentlistview.h"

#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

AttachmentListView::AttachmentListView(QWidget* parent)
    : QListView(parent)
{
    // The list shows every tile; only the page around it scrolls.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int AttachmentListView::columnsForWidth(int width) const
{
    const int cell = std::max(gridSize().width(), 1);
    // The icon view starts a new row before a tile that would come within
    // the spacing of the right edge.
    const int frame = QListView::width() - maximumViewportSize().width();
    const int room = width - frame - spacing() - 1;
    return std::max(room / cell, 1);
}

int AttachmentListView::tilesHeight(int width) const
{
    const int count = model() ? model()->rowCount(rootIndex()) : 0;
    if (count == 0)
        return 0;
    const int columns = columnsForWidth(width);
    const int rows = (count + columns - 1) / columns;
    const int frame = height() - maximumViewportSize().height();
    return rows * gridSize().height() + frame;
}

QSize AttachmentListView::sizeHint() const
{
    return QSize(QListView::sizeHint().width(), tilesHeight(width()));
}

QSize AttachmentListView::minimumSizeHint() const
{
    return QSize(std::max(gridSize().width(), 1), tilesHeight(width()));
}

void AttachmentListView::reset()
{
    QListView::reset();
    updateGeometry();
}

void AttachmentListView::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    const int columns = columnsForWidth(event->size().width());
    if (columns != lastColumns) {
        lastColumns = columns;
        updateGeometry();
    }
}

void AttachmentListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QListView::rowsInserted(parent, start, end);
    updateGeometry();
}

void AttachmentListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    QListView::rowsAboutToBeRemoved(parent, start, end);
    QTimer::singleShot(0, this, [this] { updateGeometry(); });
}
