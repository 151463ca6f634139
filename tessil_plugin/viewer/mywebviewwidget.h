#pragma once

// The message body: a read-only rich-text browser that takes the widget's
// font as its default and whose height the view can fit to the text.

#include <QWidget>

class QTextBrowser;

class MyWebViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MyWebViewWidget(QWidget* parent = nullptr);

    void setHtml(const QString& html);
    // The height the widget needs to show all of its text without scrolling
    // when it is `width` pixels wide (leaving room for a vertical scroll
    // bar); 0 without a browser.
    int documentHeightForWidth(int width) const;

private:
    QTextBrowser* textBrowser = nullptr;
};
