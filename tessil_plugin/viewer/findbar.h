#pragma once

// The bar that finds text in a message's body: a field, buttons for the
// previous and the next match, "Match case", how many matches there are
// ("2 of 17") and a close button. Enter in the field goes to the next match,
// Shift+Enter to the previous one, Escape closes the bar. It only asks; the
// view searches and tells it the count.

#include <QWidget>

#include <memory>

namespace Ui {
class FindBar;
}

class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);
    ~FindBar() override;

    QString text() const;
    void setText(const QString& text);
    Qt::CaseSensitivity caseSensitivity() const;

    // Shows the bar with the field focused and its text selected, so that
    // typing replaces it and Enter searches again.
    void activate();

    // What the bar says: "current of count" (current counted from 0; -1 for
    // none), "No matches" for a text that has none, nothing for no text.
    void setMatches(int current, int count);
    QString matchText() const;

signals:
    // The text or the case sensitivity changed.
    void searchChanged();
    void nextRequested();
    void previousRequested();
    // Escape or the close button; the bar is hidden by then.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void close();
    void showMatches();

    std::unique_ptr<Ui::FindBar> ui;
    int current = -1;
    int count = 0;
};
