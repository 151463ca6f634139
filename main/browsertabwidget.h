#pragma once

#include <QStringList>
#include <QTabWidget>

class BrowserTabBar;
class QAbstractButton;

// The document tabs. Besides the tabs it keeps the absolute path of each open
// document (entry i belongs to tab i), so a file is never opened twice. While
// the tabs scroll, the "+" square that otherwise follows the last tab stands
// in the bar's right corner, so that it stays in reach.
class BrowserTabWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit BrowserTabWidget(QWidget* parent = nullptr);

    int indexOfPath(const QString& path) const;
    void registerPath(const QString& path);
    QStringList openPaths() const { return paths; }
    BrowserTabBar* browserTabBar() const { return bar; }
    // The "+" in the corner; enabled only while the tabs scroll.
    QAbstractButton* cornerAddButton() const { return cornerAdd; }

    static QString styleSheetText();

signals:
    void allTabClosed();
    void addFileClicked();

public slots:
    // Removes the tab, forgets its document's path and deletes its widget at once.
    void closeTab(int index);

private:
    void updateCornerButton();

    BrowserTabBar* bar;
    QAbstractButton* cornerAdd;
    QStringList paths;
};
