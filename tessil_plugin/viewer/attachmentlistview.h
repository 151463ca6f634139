#pragma once

// The attachment tiles: a grid that wraps to the width it is given and is
// exactly as tall as its rows of tiles, so that the page, not the list,
// scrolls, and the body above it gets all the rest of the room. The selected
// tiles can be dragged out as files.

#include <QListView>

#include <functional>

class QMimeData;

class AttachmentListView : public QListView
{
    Q_OBJECT
public:
    explicit AttachmentListView(QWidget* parent = nullptr);

    // Tiles in one row when the list is `width` pixels wide (at least one).
    int columnsForWidth(int width) const;
    // The height that shows every tile in `width` pixels, frame included;
    // 0 without tiles. The size hint is this height at the current width;
    // a new width that changes the number of columns updates it.
    int tilesHeight(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void reset() override;

    // Makes what a drag of the tiles of these rows carries (null: no drag).
    void setDragData(std::function<QMimeData*(const QList<int>& rows)> provider);
    // What a drag of the selected tiles would carry now; the caller owns it.
    QMimeData* dragData() const;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void resizeEvent(QResizeEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    QList<int> selectedRows() const;

    int lastColumns = 0;
    std::function<QMimeData*(const QList<int>&)> dragProvider;
};
