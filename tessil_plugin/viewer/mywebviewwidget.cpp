#include "mywebviewwidget.h"

#include "viewstylesheets.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
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

MyWebViewWidget::~MyWebViewWidget() = default;

void MyWebViewWidget::setDocument(std::unique_ptr<QTextDocument> document)
{
    if (!document)
        return;
    // The browser keeps the default font in step with its own font (style
    // sheet, application font); the new document starts from where it is.
    document->setDefaultFont(textBrowser->document()->defaultFont());
    QTextDocument* previous = ownDocument;
    ownDocument = document.release();
    ownDocument->setParent(textBrowser);
    textBrowser->setDocument(ownDocument);
    delete previous;
}

QFont MyWebViewWidget::documentFont() const
{
    return textBrowser->document()->defaultFont();
}

QAbstractTextDocumentLayout* MyWebViewWidget::documentLayout() const
{
    return textBrowser->document()->documentLayout();
}

int MyWebViewWidget::characterCount() const
{
    return textBrowser->document()->characterCount();
}

void MyWebViewWidget::setLoading(bool loading)
{
    this->loading = loading;
    showLoadingText();
}

void MyWebViewWidget::showLoadingText()
{
    textBrowser->setPlaceholderText(loading ? tr("Loading the message…") : QString());
}

void MyWebViewWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        showLoadingText();
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
