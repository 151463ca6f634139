// The About dialog: its notice with the current year, its title bar, the way
// to the product's page, closing, and a switch of language while it is open.

#include "about.h"
#include "multilanguage.h"
#include "support/test_main.h"
#include "urlrecorder.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void noticeShowsTheCurrentYear();
    void titleBarAndContents();
    void moreInfoOpensTheProductPage();
    void closingDeletesIt();
    void followsALanguageSwitch();
};

void TestAbout::noticeShowsTheCurrentYear()
{
    About about;
    auto* notice = about.findChild<QLabel*>(QStringLiteral("lab_notice"));
    QVERIFY(notice);
    const int year = QDate::currentDate().year();
    QCOMPARE(notice->text(), QString::fromUtf8("© %1 Veltrano. All rights reserved.").arg(year));
    QCOMPARE(About::noticeText(2031), QString::fromUtf8("© 2031 Veltrano. All rights reserved."));
}

void TestAbout::titleBarAndContents()
{
    About about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    const Qt::WindowFlags flags = about.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

    auto* product = about.findChild<QLabel*>(QStringLiteral("lab_product"));
    auto* version = about.findChild<QLabel*>(QStringLiteral("lab_version"));
    auto* icon = about.findChild<QLabel*>(QStringLiteral("iconLabel"));
    QVERIFY(product && version && icon);
    QCOMPARE(product->text(), QStringLiteral("Veltrano Quorvia"));
    QCOMPARE(version->text(), QStringLiteral("Version 2.0.0"));
    // An icon drawn for the screen it is shown on.
    const QPixmap pixmap = icon->pixmap();
    if (!QApplication::windowIcon().isNull()) {
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(80, 80));
    }
}

void TestAbout::moreInfoOpensTheProductPage()
{
    UrlRecorder recorder;
    About about;
    auto* button = about.findChild<QPushButton*>(QStringLiteral("btnMoreInfo"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("More Info"));
    button->click();
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl(QStringLiteral("https://veltrano.example/quorvia"))});
}

void TestAbout::closingDeletesIt()
{
    QPointer<About> about = new About;
    about->show();
    about->close();
    QTRY_VERIFY(about.isNull());
}

void TestAbout::followsALanguageSwitch()
{
    About about;
    auto* button = about.findChild<QPushButton*>(QStringLiteral("btnMoreInfo"));
    auto* version = about.findChild<QLabel*>(QStringLiteral("lab_version"));
    auto* notice = about.findChild<QLabel*>(QStringLiteral("lab_notice"));
    about.show();

    MultiLanguage::instance()->switchLanguage(6);
    QTRY_COMPARE(button->text(), QString::fromUtf8("Saber más"));
    QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Veltrano Quorvia"));
    QCOMPARE(version->text(), QString::fromUtf8("Versión 2.0.0"));
    QCOMPARE(notice->text(),
             QStringLiteral("© %1 Veltrano. Todos los derechos reservados.").arg(QDate::currentDate().year()));

    MultiLanguage::instance()->switchLanguage(1);
    QTRY_COMPARE(button->text(), QStringLiteral("More Info"));
    QCOMPARE(version->text(), QStringLiteral("Version 2.0.0"));
}

QUORVIA_WIDGET_TEST_MAIN(TestAbout)
#include "tst_about.moc"
