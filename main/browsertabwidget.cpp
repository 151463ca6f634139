#include "browsertabwidget.h"

#include "browsertabbar.h"

#include <QVariant>

BrowserTabWidget::BrowserTabWidget(QWidget* parent)
    : QTabWidget(parent)
    , bar(new BrowserTabBar(this))
{
    setTabBar(bar);
    setTabsClosable(true);
    setDocumentMode(true);
    setUsesScrollButtons(false);
    setAcceptDrops(true);
    setStyleSheet(styleSheetText());
    connect(bar, &BrowserTabBar::addTabRequested, this, &BrowserTabWidget::addFileClicked);
    connect(this, &QTabWidget::tabCloseRequested, this, &BrowserTabWidget::closeTab);
}

QString BrowserTabWidget::styleSheetText()
{
    return QStringLiteral(
        "QTabWidget, QTabWidget::pane { background: transparent; border: none; }"
        "QTabWidget::pane { background: transparent; }"
        "QTabBar { background: #e6e6e6; qproperty-drawBase: 0; border: none;"
        " border-bottom: 1px solid #CFD4DA; }"
        "QTabWidget::tab-bar { alignment: left; background: #F8F9FA; }"
        "QTabBar::tab { font-size: 12px; background: #F1F3F5; border: none;"
        " border-bottom: 1px solid #CFD4DA; color: #485056; margin: 0px; padding: 5px 8px; }"
        "QTabBar::tab:selected { background: #ffffff; border: 1px solid #CFD4DA; border-bottom: none;"
        " margin: 0px; margin-bottom: -1px; padding: 5px 8px; }"
        "QTabBar::tab:hover { background: #E7EDF3; }"
        "QTabBar::close-button { subcontrol-position: right; image: url(:/img/close-16.png); }"
        "QTabBar::close-button:hover { background: rgb(183, 183, 183); }");
}

int BrowserTabWidget::indexOfPath(const QString& path) const
{
    return paths.indexOf(path);
}

void BrowserTabWidget::registerPath(const QString& path)
{
    if (!paths.contains(path))
        paths.append(path);
}

void BrowserTabWidget::closeTab(int index)
{
    if (index < 0 || index >= count())
        return;
    QWidget* page = widget(index);
    const QString path = page ? page->property("sourceFilePath").toString() : QString();
    if (!path.isEmpty())
        paths.removeAll(path);
    removeTab(index);
    delete page;
    if (count() == 0)
        emit allTabClosed();
}
