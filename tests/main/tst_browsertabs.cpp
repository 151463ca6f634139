// The browser-style tabs: the width formula, the "+" square and its click,
// closing tabs and the bookkeeping of open paths.

#include "browsertabbar.h"
#include "browsertabwidget.h"
#include "support/test_main.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>

namespace {

class ExposedTabBar : public BrowserTabBar
{
public:
    using BrowserTabBar::tabSizeHint;
    QSize baseHint(int index) const { return QTabBar::tabSizeHint(index); }
};

QWidget* documentWidget(const QString& path)
{
    auto* widget = new QLabel(path);
    if (!path.isEmpty())
        widget->setProperty("sourceFilePath", path);
    return widget;
}

void addDocument(BrowserTabWidget& tabs, const QString& path)
{
    tabs.addTab(documentWidget(path), path.section(QLatin1Char('/'), -1));
    tabs.registerPath(path);
}

} // namespace

class TestBrowserTabs : public QObject
{
    Q_OBJECT

private slots:
    void tabWidthShareIsCapped_data();
    void tabWidthShareIsCapped();
    void narrowBarKeepsBaseHint();
    void plusSquareFollowsLastTab();
    void plusSquareWithoutTabs();
    void clickOnPlusAsksForFiles();
    void hoverTracksThePlusSquare();
    void closeButtonRemovesTabAndPath();
    void closingTabWithoutPathKeepsOthers();
    void allTabClosedOnceAfterTheLast();
};

void TestBrowserTabs::tabWidthShareIsCapped_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<int>("expectedShareOrCap"); // -1: (width - height) / tabs unclamped
    QTest::newRow("five on 1000: capped at 180") << 5 << 1000 << 180;
    QTest::newRow("ten on 1000: share") << 10 << 1000 << -1;
    QTest::newRow("one on 150: share") << 1 << 150 << -1;
    QTest::newRow("sixty on 600: floor of 18") << 60 << 600 << 18;
}

void TestBrowserTabs::tabWidthShareIsCapped()
{
    QFETCH(int, tabs);
    QFETCH(int, barWidth);
    QFETCH(int, expectedShareOrCap);
    ExposedTabBar bar;
    for (int i = 0; i < tabs; ++i)
        bar.addTab(QStringLiteral("document %1.dat").arg(i));
    const int tabHeight = bar.baseHint(0).height();
    bar.resize(barWidth, tabHeight + 6);
    QVERIFY(tabHeight > 0 && tabHeight < barWidth);

    const int expected = expectedShareOrCap >= 0 ? expectedShareOrCap : (barWidth - tabHeight) / tabs;
    for (int i = 0; i < tabs; ++i) {
        const QSize hint = bar.tabSizeHint(i);
        QCOMPARE(hint.width(), expected);
        QCOMPARE(hint.height(), tabHeight);
    }
}

void TestBrowserTabs::narrowBarKeepsBaseHint()
{
    ExposedTabBar bar;
    bar.addTab(QStringLiteral("a rather long document name.dat"));
    const QSize base = bar.baseHint(0);
    bar.resize(base.height() - 1, base.height());
    QCOMPARE(bar.tabSizeHint(0), base);
}

void TestBrowserTabs::plusSquareFollowsLastTab()
{
    BrowserTabWidget tabs;
    tabs.resize(1000, 300);
    for (int i = 0; i < 5; ++i)
        addDocument(tabs, QStringLiteral("/docs/file%1.dat").arg(i));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    BrowserTabBar* bar = tabs.browserTabBar();
    const QRect last = bar->tabRect(4);
    const QRect plus = bar->plusButtonRect();
    QCOMPARE(plus.left(), last.right() + 1);
    QCOMPARE(plus.top(), (bar->height() - last.height()) / 2);
    QCOMPARE(plus.width(), last.height());
    QCOMPARE(plus.height(), last.height() - 1);
    // Five capped tabs leave the square fully on the bar.
    QVERIFY2(bar->rect().contains(plus), qPrintable(QStringLiteral("bar %1, plus at %2..%3")
                                                      .arg(bar->width()).arg(plus.left()).arg(plus.right())));
}

void TestBrowserTabs::plusSquareWithoutTabs()
{
    BrowserTabBar bar;
    bar.resize(400, 40);
    QCOMPARE(bar.plusButtonRect(), QRect(5, 5, 30, 30));
}

void TestBrowserTabs::clickOnPlusAsksForFiles()
{
    BrowserTabWidget tabs;
    tabs.resize(800, 300);
    addDocument(tabs, QStringLiteral("/docs/a.dat"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    BrowserTabBar* bar = tabs.browserTabBar();
    bar->repaint(); // the press is tested against where the square was painted

    QSignalSpy addSpy(&tabs, &BrowserTabWidget::addFileClicked);
    QTest::mouseClick(bar, Qt::RightButton, {}, bar->plusButtonRect().center());
    QCOMPARE(addSpy.count(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    QCOMPARE(addSpy.count(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->plusButtonRect().center());
    QCOMPARE(addSpy.count(), 1);
    QCOMPARE(tabs.count(), 1);
}

void TestBrowserTabs::hoverTracksThePlusSquare()
{
    BrowserTabWidget tabs;
    tabs.resize(800, 300);
    addDocument(tabs, QStringLiteral("/docs/a.dat"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    BrowserTabBar* bar = tabs.browserTabBar();

    QTest::mouseMove(bar, bar->plusButtonRect().center());
    QTRY_VERIFY(bar->isPlusHovered());
    QTest::mouseMove(bar, bar->tabRect(0).center());
    QTRY_VERIFY(!bar->isPlusHovered());
    QTest::mouseMove(bar, bar->plusButtonRect().center());
    QTRY_VERIFY(bar->isPlusHovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    QVERIFY(!bar->isPlusHovered());
}

void TestBrowserTabs::closeButtonRemovesTabAndPath()
{
    BrowserTabWidget tabs;
    tabs.resize(800, 300);
    addDocument(tabs, QStringLiteral("/docs/a.dat"));
    addDocument(tabs, QStringLiteral("/docs/b.dat"));
    addDocument(tabs, QStringLiteral("/docs/c.dat"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    QPointer<QWidget> middle = tabs.widget(1);
    QWidget* closeButton = tabs.tabBar()->tabButton(1, QTabBar::RightSide);
    QVERIFY(closeButton);
    QTest::mouseClick(closeButton, Qt::LeftButton);

    QVERIFY(middle.isNull()); // deleted at once, not later
    QCOMPARE(tabs.count(), 2);
    QCOMPARE(tabs.openPaths(), (QStringList{QStringLiteral("/docs/a.dat"), QStringLiteral("/docs/c.dat")}));
    QCOMPARE(tabs.indexOfPath(QStringLiteral("/docs/c.dat")), 1);
    QCOMPARE(tabs.indexOfPath(QStringLiteral("/docs/b.dat")), -1);
}

void TestBrowserTabs::closingTabWithoutPathKeepsOthers()
{
    BrowserTabWidget tabs;
    addDocument(tabs, QStringLiteral("/docs/a.dat"));
    tabs.addTab(documentWidget(QString()), QStringLiteral("no path"));
    QSignalSpy closedSpy(&tabs, &BrowserTabWidget::allTabClosed);

    emit tabs.tabCloseRequested(1);
    QCOMPARE(tabs.count(), 1);
    QCOMPARE(tabs.openPaths(), QStringList{QStringLiteral("/docs/a.dat")});
    QCOMPARE(closedSpy.count(), 0);

    // An index that is no tab changes nothing and announces nothing.
    tabs.closeTab(5);
    tabs.closeTab(-1);
    QCOMPARE(tabs.count(), 1);
    QCOMPARE(closedSpy.count(), 0);
}

void TestBrowserTabs::allTabClosedOnceAfterTheLast()
{
    BrowserTabWidget tabs;
    for (const char* path : {"/docs/a.dat", "/docs/b.dat", "/docs/c.dat"})
        addDocument(tabs, QString::fromLatin1(path));
    QSignalSpy closedSpy(&tabs, &BrowserTabWidget::allTabClosed);

    emit tabs.tabCloseRequested(0);
    emit tabs.tabCloseRequested(0);
    QCOMPARE(closedSpy.count(), 0);
    emit tabs.tabCloseRequested(0);
    QCOMPARE(closedSpy.count(), 1);
    QVERIFY(tabs.openPaths().isEmpty());
    tabs.closeTab(0); // nothing left to close
    QCOMPARE(closedSpy.count(), 1);
}

QUORVIA_WIDGET_TEST_MAIN(TestBrowserTabs)
#include "tst_browsertabs.moc"
