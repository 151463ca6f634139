// The window frame: which border the cursor is on and the cursor it shows,
// resizing within the size limits, moving, maximising by double-click and
// restoring, restoring a maximised window under the cursor when it is dragged,
// and how the frame closes.

#include "appmenu.h"
#include "customwindowframe.h"
#include "support/test_main.h"

#include <QApplication>
#include <QCursor>
#include <QHoverEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using Edges = CustomWindowFrame::Edges;

namespace {

const Edges kNone = CustomWindowFrame::NoEdge;
const Edges kTop = CustomWindowFrame::TopEdge;
const Edges kBottom = CustomWindowFrame::BottomEdge;
const Edges kLeft = CustomWindowFrame::LeftEdge;
const Edges kRight = CustomWindowFrame::RightEdge;

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, local, QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void press(QWidget* w, const QPoint& global)
{
    sendMouse(w, QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
}

void moveTo(QWidget* w, const QPoint& global)
{
    sendMouse(w, QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton);
}

void release(QWidget* w, const QPoint& global)
{
    sendMouse(w, QEvent::MouseButtonRelease, global, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(QWidget* w, const QPoint& global)
{
    press(w, global);
    release(w, global);
    press(w, global);
    sendMouse(w, QEvent::MouseButtonDblClick, global, Qt::LeftButton, Qt::LeftButton);
    release(w, global);
}

void hoverAt(QWidget* w, const QPoint& global)
{
    QCursor::setPos(global);
    const QPointF local = w->mapFromGlobal(QPointF(global));
    QHoverEvent event(QEvent::HoverMove, local, QPointF(global), local);
    QApplication::sendEvent(w, &event);
}

// Content small enough for the offscreen screen, so that maximising really
// changes the geometry.
QWidget* smallContent()
{
    auto* content = new QLabel(QStringLiteral("content"));
    content->setMinimumSize(300, 200);
    return content;
}

class CloseRefuser : public QObject
{
public:
    bool refuse = true;
    int closeEvents = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            ++closeEvents;
            if (refuse) {
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

} // namespace

class TestWindowFrame : public QObject
{
    Q_OBJECT

private slots:
    void edgesAndCursorShape_data();
    void edgesAndCursorShape();
    void resizeLimits_data();
    void resizeLimits();
    void assembled();
    void hoverSetsTheCursorShape();
    void resizeByTheRightBorder();
    void moveByTheTitleBar();
    void doubleClickMaximisesAndRestores();
    void draggingAMaximisedWindowRestoresItUnderTheCursor();
    void closingAsksTheContentFirst();
    void closeButtonQuits();

private:
    void showFrame(CustomWindowFrame& frame, const QPoint& at = QPoint(50, 40));
};

void TestWindowFrame::showFrame(CustomWindowFrame& frame, const QPoint& at)
{
    frame.move(at);
    frame.resize(420, 320);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
}

void TestWindowFrame::edgesAndCursorShape_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<Edges>("edges");
    QTest::addColumn<Qt::CursorShape>("shape");

    // A window at (100, 100) of 400 x 300: right() is 499, bottom() is 399.
    QTest::newRow("top-left corner") << QPoint(100, 100) << (kTop | kLeft) << Qt::SizeFDiagCursor;
    QTest::newRow("top-left, 3 px in") << QPoint(103, 103) << (kTop | kLeft) << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left corner") << QPoint(101, 398) << (kBottom | kLeft) << Qt::SizeBDiagCursor;
    QTest::newRow("top-right corner") << QPoint(498, 101) << (kTop | kRight) << Qt::SizeBDiagCursor;
    QTest::newRow("bottom-right corner") << QPoint(499, 399) << (kBottom | kRight) << Qt::SizeFDiagCursor;
    QTest::newRow("top") << QPoint(300, 102) << kTop << Qt::SizeVerCursor;
    QTest::newRow("left") << QPoint(100, 250) << kLeft << Qt::SizeHorCursor;
    QTest::newRow("bottom") << QPoint(300, 396) << kBottom << Qt::SizeVerCursor;
    QTest::newRow("right, 3 px in") << QPoint(496, 250) << kRight << Qt::SizeHorCursor;
    QTest::newRow("right, 4 px in") << QPoint(495, 250) << kNone << Qt::ArrowCursor;
    QTest::newRow("top, 4 px in") << QPoint(300, 104) << kNone << Qt::ArrowCursor;
    QTest::newRow("top beside the corner zone") << QPoint(104, 100) << kTop << Qt::SizeVerCursor;
    QTest::newRow("middle") << QPoint(300, 250) << kNone << Qt::ArrowCursor;
    QTest::newRow("just outside, left") << QPoint(99, 250) << kNone << Qt::ArrowCursor;
    QTest::newRow("just outside, bottom") << QPoint(300, 400) << kNone << Qt::ArrowCursor;
}

void TestWindowFrame::edgesAndCursorShape()
{
    QFETCH(QPoint, pos);
    QFETCH(Edges, edges);
    QFETCH(Qt::CursorShape, shape);
    const Edges found = CustomWindowFrame::edgesAt(QRect(100, 100, 400, 300), pos);
    QCOMPARE(int(found), int(edges));
    QCOMPARE(CustomWindowFrame::cursorShapeFor(found), shape);
}

void TestWindowFrame::resizeLimits_data()
{
    QTest::addColumn<Edges>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    QTest::addColumn<QRect>("expected");

    const QSize min(300, 200);
    const QSize max(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Always from (100, 100) 400 x 300.
    QTest::newRow("right wider") << kRight << QPoint(60, 7) << min << max << QRect(100, 100, 460, 300);
    QTest::newRow("right never below the minimum") << kRight << QPoint(-500, 0) << min << max
                                                  << QRect(100, 100, 300, 300);
    QTest::newRow("left never below the minimum") << kLeft << QPoint(900, 0) << min << max
                                                  << QRect(200, 100, 300, 300);
    QTest::newRow("top never below the minimum") << kTop << QPoint(0, 250) << min << max
                                                 << QRect(100, 200, 400, 200);
    QTest::newRow("bottom never below the minimum") << kBottom << QPoint(0, -250) << min << max
                                                    << QRect(100, 100, 400, 200);
    QTest::newRow("corner, both ways") << (kBottom | kRight) << QPoint(10, 20) << min << max
                                       << QRect(100, 100, 410, 320);
    QTest::newRow("maximum width") << kRight << QPoint(300, 0) << min << QSize(450, QWIDGETSIZE_MAX)
                                   << QRect(100, 100, 450, 300);
    QTest::newRow("fixed height ignores vertical drags") << (kBottom | kRight) << QPoint(10, 50) << QSize(300, 300)
                                                         << QSize(QWIDGETSIZE_MAX, 300) << QRect(100, 100, 410, 300);
    QTest::newRow("fixed width ignores horizontal drags") << (kTop | kLeft) << QPoint(-10, -50) << QSize(400, 200)
                                                          << QSize(400, QWIDGETSIZE_MAX) << QRect(100, 50, 400, 350);
}

void TestWindowFrame::resizeLimits()
{
    QFETCH(Edges, edges);
    QFETCH(QPoint, delta);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    QFETCH(QRect, expected);
    QCOMPARE(CustomWindowFrame::resizedGeometry(QRect(100, 100, 400, 300), edges, delta, minimum, maximum), expected);
}

void TestWindowFrame::assembled()
{
    QPointer<QWidget> content = smallContent();
    auto* frame = new CustomWindowFrame(content, nullptr);
    QCOMPARE(frame->contentWidget(), content.data());
    auto* mainWidget = frame->findChild<QWidget*>(QStringLiteral("mainWidget"));
    QVERIFY(mainWidget);
    QCOMPARE(content->parentWidget(), mainWidget);
    QVERIFY(!content->isWindow());

    auto* menuButton = frame->findChild<QPushButton*>(QStringLiteral("btn_menu"));
    QVERIFY(menuButton);
    QVERIFY(frame->appMenu());
    QCOMPARE(menuButton->menu(), frame->appMenu()->menu());

    auto* title = frame->findChild<QLabel*>(QStringLiteral("label_title"));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Veltrano Quorvia"));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Veltrano Quorvia"));
    QVERIFY(!frame->windowIcon().isNull());

    // The frame owns its content.
    delete frame;
    QVERIFY(content.isNull());

    // A frame without content still has its title bar and menu.
    CustomWindowFrame empty(nullptr);
    QVERIFY(!empty.contentWidget());
    QVERIFY(empty.appMenu());
}

void TestWindowFrame::hoverSetsTheCursorShape()
{
    CustomWindowFrame frame(smallContent());
    showFrame(frame);
    const QRect g = frame.geometry();

    hoverAt(&frame, QPoint(g.right() - 1, g.center().y()));
    QCOMPARE(int(frame.currentResizeEdges()), int(kRight));
    QCOMPARE(frame.cursor().shape(), Qt::SizeHorCursor);

    hoverAt(&frame, g.bottomLeft() + QPoint(2, -2));
    QCOMPARE(int(frame.currentResizeEdges()), int(kBottom | kLeft));
    QCOMPARE(frame.cursor().shape(), Qt::SizeBDiagCursor);

    hoverAt(&frame, g.center());
    QCOMPARE(int(frame.currentResizeEdges()), int(kNone));
    QCOMPARE(frame.cursor().shape(), Qt::ArrowCursor);

    // No border can be taken hold of on a maximised window.
    frame.toggleMaximized();
    QTRY_VERIFY(frame.isMaximized());
    const QRect maximised = frame.geometry();
    hoverAt(&frame, QPoint(maximised.right(), maximised.center().y()));
    QCOMPARE(int(frame.currentResizeEdges()), int(kNone));
    QCOMPARE(frame.cursor().shape(), Qt::ArrowCursor);
}

void TestWindowFrame::resizeByTheRightBorder()
{
    CustomWindowFrame frame(smallContent());
    showFrame(frame);
    const QRect start = frame.geometry();
    QVERIFY(frame.minimumWidth() > 300);
    QVERIFY(frame.minimumWidth() < start.width());

    // Within 3 pixels of the right edge, drag right: wider, same height.
    const QPoint grip(start.right() - 2, start.center().y());
    hoverAt(&frame, grip);
    press(&frame, grip);
    moveTo(&frame, grip + QPoint(70, 25));
    QCOMPARE(frame.geometry(), QRect(start.topLeft(), QSize(start.width() + 70, start.height())));
    // The cursor shape stays while the resize goes on, wherever the cursor is.
    hoverAt(&frame, frame.geometry().center());
    QCOMPARE(frame.cursor().shape(), Qt::SizeHorCursor);
    moveTo(&frame, grip + QPoint(-2000, 0));
    QCOMPARE(frame.width(), frame.minimumWidth());
    QCOMPARE(frame.x(), start.x());
    release(&frame, grip);

    // After the release, moving the mouse resizes nothing.
    const QRect after = frame.geometry();
    moveTo(&frame, grip + QPoint(100, 0));
    QCOMPARE(frame.geometry(), after);

    // A press away from every border and from the title bar starts nothing.
    hoverAt(&frame, after.center());
    press(&frame, after.center());
    moveTo(&frame, after.center() + QPoint(40, 40));
    release(&frame, after.center() + QPoint(40, 40));
    QCOMPARE(frame.geometry(), after);
}

void TestWindowFrame::moveByTheTitleBar()
{
    CustomWindowFrame frame(smallContent());
    showFrame(frame);
    auto* title = frame.findChild<QWidget*>(QStringLiteral("frame_title"));
    QVERIFY(title);
    const QPoint start = frame.pos();
    const QPoint grip = title->mapToGlobal(QPoint(60, title->height() / 2));

    hoverAt(&frame, grip);
    press(&frame, grip);
    moveTo(&frame, grip + QPoint(5, 3));
    moveTo(&frame, grip + QPoint(30, 20));
    QCOMPARE(frame.pos(), start + QPoint(30, 20));
    release(&frame, grip + QPoint(30, 20));
    moveTo(&frame, grip + QPoint(80, 80));
    QCOMPARE(frame.pos(), start + QPoint(30, 20));
}

void TestWindowFrame::doubleClickMaximisesAndRestores()
{
    CustomWindowFrame frame(smallContent());
    showFrame(frame, QPoint(70, 60));
    const QRect normal = frame.geometry();
    auto* title = frame.findChild<QWidget*>(QStringLiteral("frame_title"));
    auto* maximize = frame.findChild<QPushButton*>(QStringLiteral("btn_maximize"));
    QVERIFY(title && maximize);
    QCOMPARE(maximize->toolTip(), QStringLiteral("Maximize"));

    doubleClick(&frame, title->mapToGlobal(QPoint(60, 10)));
    QVERIFY(frame.isFrameMaximized());
    QTRY_VERIFY(frame.isMaximized());
    QTRY_COMPARE(frame.geometry(), frame.screen()->availableGeometry());
    QCOMPARE(maximize->toolTip(), QStringLiteral("Restore"));
    QCOMPARE(frame.centralWidget()->layout()->contentsMargins(), QMargins(0, 0, 0, 0));

    // The double-click left no drag behind: moving the mouse now does not
    // restore the window that was just maximised.
    moveTo(&frame, title->mapToGlobal(QPoint(90, 12)));
    QVERIFY(frame.isFrameMaximized());

    doubleClick(&frame, title->mapToGlobal(QPoint(60, 10)));
    QVERIFY(!frame.isFrameMaximized());
    QTRY_COMPARE(frame.geometry(), normal);
    QCOMPARE(maximize->toolTip(), QStringLiteral("Maximize"));
    QCOMPARE(frame.centralWidget()->layout()->contentsMargins(), QMargins(4, 4, 4, 4));

    // A double-click elsewhere than the title bar changes nothing; the button
    // does the same as the title bar.
    doubleClick(&frame, frame.geometry().center());
    QVERIFY(!frame.isFrameMaximized());
    maximize->click();
    QVERIFY(frame.isFrameMaximized());
    maximize->click();
    QTRY_COMPARE(frame.geometry(), normal);
}

void TestWindowFrame::draggingAMaximisedWindowRestoresItUnderTheCursor()
{
    CustomWindowFrame frame(smallContent());
    showFrame(frame, QPoint(100, 120));
    const QSize normalSize = frame.size();
    frame.toggleMaximized();
    QTRY_COMPARE(frame.geometry(), frame.screen()->availableGeometry());
    const QRect maximised = frame.geometry();
    auto* title = frame.findChild<QWidget*>(QStringLiteral("frame_title"));

    // Take the title bar three quarters of the way across and drag.
    const QPoint grip(maximised.x() + maximised.width() * 3 / 4, title->mapToGlobal(QPoint(0, 12)).y());
    hoverAt(&frame, grip);
    press(&frame, grip);
    const QPoint dragged = grip + QPoint(-6, 30);
    moveTo(&frame, dragged);
    QVERIFY(!frame.isFrameMaximized());
    QTRY_COMPARE(frame.size(), normalSize);
    const double fraction = double(dragged.x() - maximised.x()) / maximised.width();
    const QPoint expected(dragged.x() - int(normalSize.width() * fraction), dragged.y() - 10);
    QTRY_COMPARE(frame.pos(), expected);

    // The drag goes on from where the window now is.
    moveTo(&frame, dragged + QPoint(15, 9));
    QCOMPARE(frame.pos(), expected + QPoint(15, 9));
    release(&frame, dragged + QPoint(15, 9));
}

void TestWindowFrame::closingAsksTheContentFirst()
{
    QWidget* content = smallContent();
    CustomWindowFrame frame(content);
    showFrame(frame);
    CloseRefuser refuser;
    content->installEventFilter(&refuser);

    QVERIFY(!frame.close());
    QCOMPARE(refuser.closeEvents, 1);
    QVERIFY(frame.isVisible());

    refuser.refuse = false;
    QVERIFY(frame.close());
    QCOMPARE(refuser.closeEvents, 2);
    QVERIFY(!frame.isVisible());
    QVERIFY(content->isHidden());
}

void TestWindowFrame::closeButtonQuits()
{
    auto* frame = new CustomWindowFrame(smallContent());
    showFrame(*frame);
    auto* close = frame->findChild<QPushButton*>(QStringLiteral("btn_close"));
    QVERIFY(close);

    bool timedOut = false;
    QTimer::singleShot(0, close, &QPushButton::click);
    QTimer::singleShot(10000, qApp, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    const int result = QApplication::exec();
    QVERIFY(!timedOut);
    QCOMPARE(result, 0);
    delete frame;
}

QUORVIA_WIDGET_TEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
