#include "elidedlabel.h"

#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

ElidedLabel::ElidedLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text)
{
    full = text.simplified();
    setToolTip(full);
    showElided();
}

bool ElidedLabel::isElided() const
{
    return text() != full;
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(0, QLabel::minimumSizeHint().height());
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(full) + margins.left() + margins.right() + 2 * margin(),
                 QLabel::sizeHint().height());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        showElided();
}

void ElidedLabel::showElided()
{
    const int room = contentsRect().width() - 2 * margin();
    const QString shown = fontMetrics().elidedText(full, Qt::ElideRight, std::max(room, 0));
    if (shown != text())
        QLabel::setText(shown);
}
