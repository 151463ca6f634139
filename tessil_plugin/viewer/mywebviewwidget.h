#pragma once

// The message body: a read-only rich-text browser whose document is built
// elsewhere (in a worker, see BodyLoader) and handed over, which can say that
// the body is still loading, and whose height the view can fit to the text.

#include <QWidget>

#include <memory>

class QAbstractTextDocumentLayout;
class QTextBrowser;
class QTextDocument;

class MyWebViewWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MyWebViewWidget(QWidget* parent = nullptr);
    ~MyWebViewWidget() override;

    // Shows `document`, which the widget takes over; it must live in the GUI
    // thread by now. It gets the browser's current default font.
    void setDocument(std::unique_ptr<QTextDocument> document);
    // The default font a document for this widget is built with.
    QFont documentFont() const;
    QAbstractTextDocumentLayout* documentLayout() const;
    // Characters of the document shown (QTextDocument::characterCount).
    int characterCount() const;

    // While set, an empty body says that it is loading.
    void setLoading(bool loading);
    bool isLoading() const { return loading; }

    // The height the widget needs to show all of its text without scrolling
    // when it is `width` pixels wide (leaving room for a vertical scroll
    // bar); 0 without a browser. Lays the whole document out.
    int documentHeightForWidth(int width) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void showLoadingText();

    QTextBrowser* textBrowser = nullptr;
    QTextDocument* ownDocument = nullptr; // the last one handed over
    bool loading = false;
};
