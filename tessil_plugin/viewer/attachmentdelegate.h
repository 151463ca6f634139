#pragma once

// Paints an attachment tile: a 48-pixel icon and the name on at most two
// lines under it, broken between words or at a separator, the second line
// elided in the middle with the file's suffix kept, and the whole name as
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
    // fits, else the longest prefix that fits and ends between words or at a
    // separator (after a blank, "-", "_", ",", ";", a closing bracket or a
    // dot, or before an opening bracket or the suffix's dot), or, when no such
    // prefix fits, the longest that fits (at least one character); then the
    // rest, elided in the middle so that its suffix (".pdf") stays whole.
    static QStringList splitName(const QString& name, const QFontMetrics& metrics, int width);
    // `text` in `width` pixels: itself when it fits, else with its middle
    // replaced by "…", keeping its suffix (the last dot and what follows,
    // up to 12 characters) whole when that fits.
    static QString elideKeepingSuffix(const QString& text, const QFontMetrics& metrics, int width);
};
