#pragma once

// Paints an attachment tile: a 48-pixel icon and the name on at most two
// lines under it (the second elided in the middle), with the whole name as
// the tool tip.

#include <QStringList>
#include <QStyledItemDelegate>

class QFontMetrics;

class AttachmentDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int TileWidth = 90;
    static constexpr int TileHeight = 96;
    static constexpr int IconSize = 48;

    explicit AttachmentDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The font the names are drawn in.
    static QFont nameFont();
    // The lines a name is drawn on in `width` pixels: the name itself when it
    // fits, else the longest prefix that fits (at least one character) and
    // the rest elided in the middle.
    static QStringList splitName(const QString& name, const QFontMetrics& metrics, int width);
};
