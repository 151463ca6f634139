#pragma once

// A one-line label for texts that may be far longer than the room there is,
// such as a message's list of recipients: it shows as much as fits, ending
// in "…", and the whole text in its tool tip. It never widens its window.

#include <QLabel>

class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The whole text; line breaks and runs of blanks show as one space.
    void setFullText(const QString& text);
    QString fullText() const { return full; }
    // True when the text shown is cut short.
    bool isElided() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showElided();

    QString full;
};
