#include "browsertabwidget.h"

#include "browsertabbar.h"

#include <QAbstractButton>
#include <QPainter>
#include <QVariant>

namespace {

// The corner's "+": a square as high as the tabs, drawn like the one after
// the last tab, and blank while that one is shown.
class CornerAddButton : public QAbstractButton
{
public:
    CornerAddButton(BrowserTabBar* tabBar, QWidget* parent)
        : QAbstractButton(parent)
        , tabBar(tabBar)
    {
        setObjectName(QStringLiteral("cornerAddButton"));
        setAttribute(Qt::WA_Hover);
        setFocusPolicy(Qt::NoFocus);
        setEnabled(false);
    }

    QSize sizeHint() const override
    {
        const int side = tabBar->count() > 0 ? tabBar->tabRect(0).height() : tabBar->sizeHint().height();
        return QSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor("#e6e6e6"));
        if (isEnabled())
            BrowserTabBar::paintPlusSquare(painter, rect().adjusted(0, 0, 0, -1), underMouse());
        // The bar's bottom line runs on under the corner.
        painter.setPen(QColor("#CFD4DA"));
        painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    }

private:
    BrowserTabBar* tabBar;
};

} // namespace

BrowserTabWidget::BrowserTabWidget(QWidget* parent)
    : QTabWidget(parent)
    , bar(new BrowserTabBar(this))
    , cornerAdd(new CornerAddButton(bar, this))
{
    setTabBar(bar);
    setTabsClosable(true);
    setDocumentMode(true);
    setUsesScrollButtons(true);
    setAcceptDrops(true);
    setStyleSheet(styleSheetText());
    setCornerWidget(cornerAdd, Qt::TopRightCorner);
    connect(bar, &BrowserTabBar::addTabRequested, this, &BrowserTabWidget::addFileClicked);
    connect(cornerAdd, &QAbstractButton::clicked, this, &BrowserTabWidget::addFileClicked);
    connect(bar, &BrowserTabBar::tabsLaidOut, this, &BrowserTabWidget::updateCornerButton);
    connect(this, &QTabWidget::tabCloseRequested, this, &BrowserTabWidget::closeTab);
}

void BrowserTabWidget::updateCornerButton()
{
    cornerAdd->setEnabled(bar->isOverflowing());
    cornerAdd->update();
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
        "QTabBar::close-button:hover { background: rgb(183, 183, 183); }"
        "QTabBar::scroller { width: 40px; }"
        "QTabBar QToolButton { background: #e6e6e6; border: none; border-bottom: 1px solid #CFD4DA; }"
        "QTabBar QToolButton:hover { background: #E7EDF3; }");
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
