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

namespace {

// A tile never shows more than a few dozen characters; names of zero-width
// characters must not make the search measure ever longer prefixes.
const qsizetype kSearchLimit = 512;
const qsizetype kLongestSuffix = 12;

bool fits(const QString& text, const QFontMetrics& metrics, int width)
{
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width()) <= width;
}

bool isPairAt(const QString& text, qsizetype at)
{
    return at > 0 && at < text.size() && text.at(at - 1).isHighSurrogate() && text.at(at).isLowSurrogate();
}

// Where the suffix's dot is: the last dot that is neither the first
// character nor followed by more than kLongestSuffix characters; -1 if none.
qsizetype suffixDot(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 && name.size() - dot <= kLongestSuffix && dot + 1 < name.size() ? dot : -1;
}

// True when a line may end before name[at].
bool isBreak(const QString& name, qsizetype at, qsizetype extensionDot)
{
    const QChar before = name.at(at - 1);
    const QChar after = name.at(at);
    if (before.isSpace() || after.isSpace())
        return before.isSpace() && !after.isSpace();
    static const QString breakAfter = QStringLiteral("-_,;)]}+~&.\u00AD\u2010\u2013\u2014");
    static const QString breakBefore = QStringLiteral("([{");
    if (at == extensionDot)
        return true;
    if (before == u'.' && at - 1 == extensionDot)
        return false; // never between the dot and the suffix
    return breakAfter.contains(before) || breakBefore.contains(after);
}

} // namespace

QString AttachmentDelegate::elideKeepingSuffix(const QString& text, const QFontMetrics& metrics, int width)
{
    if (fits(text, metrics, width))
        return text;
    const QString ellipsis(QChar(0x2026));
    const qsizetype dot = suffixDot(text);
    const QString suffix = dot >= 0 ? text.mid(dot) : QString();
    if (!suffix.isEmpty() && fits(ellipsis + suffix, metrics, width)) {
        // Only the ends of a long stem can show.
        const QString stem = text.left(dot);
        const qsizetype most = std::min<qsizetype>(stem.size(), kSearchLimit);
        for (qsizetype kept = most; kept >= 0; --kept) {
            qsizetype head = (kept + 1) / 2;
            qsizetype tail = kept / 2;
            if (isPairAt(stem, head))
                --head;
            if (isPairAt(stem, stem.size() - tail))
                --tail;
            const QString candidate = stem.left(head) + ellipsis + stem.right(tail) + suffix;
            if (fits(candidate, metrics, width))
                return candidate;
        }
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

QStringList AttachmentDelegate::splitName(const QString& name, const QFontMetrics& metrics, int width)
{
    if (fits(name, metrics, width))
        return {name};

    const qsizetype extensionDot = suffixDot(name);
    const qsizetype searchLimit = std::min<qsizetype>(name.size(), kSearchLimit);
    qsizetype atBreak = 0;   // the longest fitting prefix that ends at a break
    qsizetype anywhere = 0;  // the longest fitting prefix
    for (qsizetype next = 1; next <= searchLimit; ++next) {
        if (isPairAt(name, next))
            continue; // never cut a surrogate pair in two
        const QString prefix = name.left(next);
        if (!fits(QStringView(prefix).trimmed().toString(), metrics, width))
            break;
        anywhere = next;
        if (next < name.size() && isBreak(name, next, extensionDot) && !QStringView(prefix).trimmed().isEmpty())
            atBreak = next;
    }
    qsizetype length = atBreak > 0 ? atBreak : anywhere;
    if (length == 0)
        length = isPairAt(name, 1) ? 2 : 1;
    const QString first = QStringView(name).left(length).trimmed().toString();
    const QString rest = QStringView(name).mid(length).trimmed().toString();
    if (rest.isEmpty())
        return {metrics.elidedText(first, Qt::ElideMiddle, width)};
    return {first, elideKeepingSuffix(rest, metrics, width)};
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
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));

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
        QToolTip::showText(event->globalPos(), index.data(Qt::ToolTipRole).toString(), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
