#include "attachmentlistview.h"

#include <QDrag>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

AttachmentListView::AttachmentListView(QWidget* parent)
    : QListView(parent)
{
    // The list shows every tile; only the page around it scrolls.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Out of the window only: the grid takes no drops and never reorders.
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void AttachmentListView::setDragData(std::function<QMimeData*(const QList<int>&)> provider)
{
    dragProvider = std::move(provider);
}

QList<int> AttachmentListView::selectedRows() const
{
    QList<int> rows;
    if (const QItemSelectionModel* selection = selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QMimeData* AttachmentListView::dragData() const
{
    const QList<int> rows = selectedRows();
    return dragProvider && !rows.isEmpty() ? dragProvider(rows) : nullptr;
}

void AttachmentListView::startDrag(Qt::DropActions)
{
    QMimeData* data = dragData();
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const QModelIndex shown = currentIndex().isValid() ? currentIndex() : selectionModel()->selectedIndexes().value(0);
    const QIcon icon = shown.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull())
        drag->setPixmap(icon.pixmap(iconSize(), devicePixelRatio()));
    // A copy: the file manager takes the files, the message keeps its attachments.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
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
