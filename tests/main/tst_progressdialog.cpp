// The progress dialog: the 0..1000 scale, the busy state, status texts and
// finishing.

#include "documentprogressdialog.h"
#include "support/test_main.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>

class TestProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void scaledValue_data();
    void scaledValue();
    void unknownAmountShowsBusyIndicator();
    void knownAmountAfterBusyGetsItsScaleBack();
    void emptyDetailKeepsText();
    void finishingClosesTheSameWayEitherWay_data();
    void finishingClosesTheSameWayEitherWay();
    void cancelButtonAsksToCancel();
};

void TestProgressDialog::scaledValue_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("expected");
    QTest::newRow("past the end") << 5 << 4 << 1000;
    QTest::newRow("negative") << -3 << 10 << 0;
    QTest::newRow("a third") << 1 << 3 << 333;
    QTest::newRow("two thirds") << 2 << 3 << 667;
    QTest::newRow("half of a thousandth rounds up") << 1 << 2000 << 1;
    QTest::newRow("complete") << 7 << 7 << 1000;
    QTest::newRow("large totals do not overflow") << 2000000000 << 2100000000 << 952;
}

void TestProgressDialog::scaledValue()
{
    QFETCH(int, current);
    QFETCH(int, total);
    QFETCH(int, expected);
    DocumentProgressDialog dialog;
    dialog.onProgress(current, total, QString());
    QCOMPARE(dialog.progressValue(), expected);
    QVERIFY(!dialog.isBusy());
}

void TestProgressDialog::unknownAmountShowsBusyIndicator()
{
    DocumentProgressDialog dialog;
    dialog.onProgress(0, 0, QStringLiteral("Reading pages"));
    QVERIFY(dialog.isBusy());
    QCOMPARE(dialog.statusText(), QStringLiteral("Reading pages"));
    dialog.onProgress(3, -1, QString());
    QVERIFY(dialog.isBusy());
}

void TestProgressDialog::knownAmountAfterBusyGetsItsScaleBack()
{
    DocumentProgressDialog dialog;
    dialog.onProgress(0, 0, QString());
    QVERIFY(dialog.isBusy());
    dialog.onProgress(1, 4, QString());
    QVERIFY(!dialog.isBusy());
    QCOMPARE(dialog.progressValue(), 250);
}

void TestProgressDialog::emptyDetailKeepsText()
{
    DocumentProgressDialog dialog;
    dialog.onProgress(1, 10, QStringLiteral("Page 1"));
    dialog.onProgress(2, 10, QString());
    QCOMPARE(dialog.statusText(), QStringLiteral("Page 1"));
}

void TestProgressDialog::finishingClosesTheSameWayEitherWay_data()
{
    QTest::addColumn<bool>("success");
    QTest::newRow("success") << true;
    QTest::newRow("failure") << false;
}

void TestProgressDialog::finishingClosesTheSameWayEitherWay()
{
    QFETCH(bool, success);
    DocumentProgressDialog dialog;
    dialog.show();
    dialog.onProgress(0, 0, QString());
    QTest::ignoreMessage(QtDebugMsg, "DocumentProgressDialog close");
    dialog.onFinished(success);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.isCancelEnabled());
    QVERIFY(!dialog.isBusy());
    QCOMPARE(dialog.progressValue(), 1000);
}

void TestProgressDialog::cancelButtonAsksToCancel()
{
    DocumentProgressDialog dialog;
    QSignalSpy spy(&dialog, &DocumentProgressDialog::cancelRequested);
    auto* button = dialog.findChild<QPushButton*>();
    QVERIFY(button);
    button->click();
    QCOMPARE(spy.count(), 1);
}

QUORVIA_WIDGET_TEST_MAIN(TestProgressDialog)
#include "tst_progressdialog.moc"
