#include "mywebviewwidget.h"

#include "viewstylesheets.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

MyWebViewWidget::MyWebViewWidget(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    textBrowser = new QTextBrowser(this);
    textBrowser->setFrameShape(QFrame::NoFrame);
    textBrowser->setOpenExternalLinks(true);
    QTextDocument* document = textBrowser->document();
    document->setDocumentMargin(0);
    document->setDefaultFont(font());
    document->setDefaultStyleSheet(bodyDefaultStyleSheet());
    textBrowser->setStyleSheet(bodyBrowserStyleSheet());
    layout->addWidget(textBrowser);
}

void MyWebViewWidget::setHtml(const QString& html)
{
    textBrowser->setHtml(html);
}

int MyWebViewWidget::documentHeightForWidth(int width) const
{
    if (!textBrowser)
        return 0;
    QTextDocument* document = textBrowser->document();
    const QMargins margins = layout()->contentsMargins();
    const int scrollBarWidth = textBrowser->verticalScrollBar()->sizeHint().width();
    const int textWidth = std::max(width - margins.left() - margins.right() - scrollBarWidth, 0);

    // The browser lays the document out for its own viewport; measuring
    // must not leave it at another width (that shows a horizontal scroll
    // bar and wraps the text wrongly).
    const qreal browserWidth = document->textWidth();
    document->setTextWidth(textWidth);
    const int textHeight = static_cast<int>(std::ceil(document->size().height()));
    document->setTextWidth(browserWidth);

    // What the browser puts around its viewport (its style sheet's top
    // margin) is needed too, or the text never quite fits.
    QScrollBar* horizontal = textBrowser->horizontalScrollBar();
    const int around = textBrowser->height() - textBrowser->viewport()->height()
        - (horizontal->isVisible() ? horizontal->height() : 0);
    return textHeight + std::max(around, 0) + margins.top() + margins.bottom();
}
