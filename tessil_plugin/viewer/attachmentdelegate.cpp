#include "attachmentdelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

AttachmentDelegate::AttachmentDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QFont AttachmentDelegate::nameFont()
{
    QFont font = QApplication::font();
    font.setPointSize(9);
    return font;
}

QStringList AttachmentDelegate::splitName(const QString& name, const QFontMetrics& metrics, int width)
{
    if (metrics.elidedText(name, Qt::ElideMiddle, width) == name)
        return {name};

    // Grow the first line one character at a time, never cutting a surrogate
    // pair in two. Names of zero-width characters would let the search run
    // over the whole name, measuring ever longer prefixes: a tile never shows
    // more than a few dozen characters, so a few hundred is plenty.
    const qsizetype searchLimit = std::min<qsizetype>(name.size(), 512);
    qsizetype length = 0;
    for (qsizetype next = 1; next <= searchLimit; ++next) {
        if (next < name.size() && name.at(next - 1).isHighSurrogate() && name.at(next).isLowSurrogate())
            continue;
        if (metrics.boundingRect(name.left(next)).width() > width)
            break;
        length = next;
    }
    if (length == 0)
        length = (name.size() > 1 && name.at(0).isHighSurrogate() && name.at(1).isLowSurrogate()) ? 2 : 1;
    return {name.left(length), metrics.elidedText(name.mid(length), Qt::ElideMiddle, width)};
}

void AttachmentDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect tile = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    painter->fillRect(tile, option.palette.brush(QPalette::Base));
    if (selected) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(43, 101, 217, 255));
        painter->drawRoundedRect(tile, 6.0, 6.0);
    }

    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    const QRect iconRect(tile.left() + (tile.width() - IconSize) / 2, tile.top() + 4, IconSize, IconSize);
    icon.paint(painter, iconRect, Qt::AlignCenter, QIcon::Normal, QIcon::Off);

    const QString text = index.data(Qt::DisplayRole).toString();
    const QFont font = nameFont();
    painter->setFont(font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : QColor(Qt::black));

    const QRect textRect(tile.left() + 7, iconRect.bottom() + 3, tile.width() - 14, tile.height() - 56);
    const QFontMetrics metrics(font);
    const QStringList lines = splitName(text, metrics, textRect.width() - 2);
    if (lines.size() == 1) {
        painter->drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, lines.first());
    } else {
        const int lineHeight = metrics.lineSpacing();
        painter->drawText(QRect(textRect.left(), textRect.top(), textRect.width(), lineHeight), Qt::AlignHCenter,
                          lines.at(0));
        painter->drawText(QRect(textRect.left(), textRect.top() + lineHeight + 1, textRect.width(), lineHeight),
                          Qt::AlignHCenter, lines.at(1));
    }
    painter->restore();
}

QSize AttachmentDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(TileWidth, TileHeight);
}

bool AttachmentDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (event && event->type() == QEvent::ToolTip && index.isValid()) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
