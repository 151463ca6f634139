#pragma once

#include <QStringList>
#include <QTabWidget>

class BrowserTabBar;

// The document tabs. Besides the tabs it keeps the absolute path of each open
// document (entry i belongs to tab i), so a file is never opened twice.
class BrowserTabWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit BrowserTabWidget(QWidget* parent = nullptr);

    int indexOfPath(const QString& path) const;
    void registerPath(const QString& path);
    QStringList openPaths() const { return paths; }
    BrowserTabBar* browserTabBar() const { return bar; }

    static QString styleSheetText();

signals:
    void allTabClosed();
    void addFileClicked();

public slots:
    // Removes the tab, forgets its document's path and deletes its widget at once.
    void closeTab(int index);

private:
    BrowserTabBar* bar;
    QStringList paths;
};
