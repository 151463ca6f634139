// Interface languages: the seven languages and their files, identifiers out of
// range falling back to English, the stored choice applied, and the menu and
// the title bar following a switch at once.

#include "appconfig.h"
#include "appmenu.h"
#include "customwindowframe.h"
#include "cvfoundation/icvlocalizationmgr.h"
#include "mainwindow.h"
#include "multilanguage.h"
#include "support/test_main.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTranslator>

namespace {

QString hostText(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source);
}

} // namespace

class TestMultiLanguage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void eachLanguageLoadsItsFiles_data();
    void eachLanguageLoadsItsFiles();
    void identifiersOutOfRangeGiveEnglish_data();
    void identifiersOutOfRangeGiveEnglish();
    void storedLanguageIsApplied_data();
    void storedLanguageIsApplied();
    void menuAndTitleBarFollowASwitch();
};

void TestMultiLanguage::cleanup()
{
    MultiLanguage::instance()->switchLanguage(MultiLanguage::kEnglish);
}

void TestMultiLanguage::eachLanguageLoadsItsFiles_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("localizationCode");
    QTest::addColumn<QString>("recentFiles");
    QTest::addColumn<QString>("qtCancel");

    QTest::newRow("English") << 1 << "en" << 0 << "Recent Files" << "Cancel";
    QTest::newRow("French") << 2 << "fr" << 2 << QString::fromUtf8("Fichiers récents") << "Annuler";
    QTest::newRow("Portuguese") << 3 << "pt" << 6 << "Arquivos recentes" << "Cancelar";
    QTest::newRow("Italian") << 4 << "it" << 4 << "File recenti" << "Annulla";
    QTest::newRow("German") << 5 << "de" << 3 << QString::fromUtf8("Zuletzt geöffnete Dateien") << "Abbrechen";
    QTest::newRow("Spanish") << 6 << "es" << 5 << "Archivos recientes" << "Cancelar";
    QTest::newRow("Japanese") << 7 << "ja" << 1 << QString::fromUtf8("最近使ったファイル")
                              << QString::fromUtf8("キャンセル");
}

void TestMultiLanguage::eachLanguageLoadsItsFiles()
{
    QFETCH(int, id);
    QFETCH(QString, suffix);
    QFETCH(int, localizationCode);
    QFETCH(QString, recentFiles);
    QFETCH(QString, qtCancel);

    MultiLanguage* languages = MultiLanguage::instance();
    QSignalSpy changed(languages, &MultiLanguage::languageChanged);
    // Start from another language, so that nothing is left over by chance.
    languages->switchLanguage(id == 7 ? 2 : 7);
    languages->switchLanguage(id);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(languages->currentLanguage(), id);

    const QString base = QStringLiteral(":/translations/language/");
    QCOMPARE(languages->hostTranslator()->filePath(), base + QStringLiteral("Translation_%1.qm").arg(suffix));
    QCOMPARE(languages->hostTranslator()->language(), suffix);
    QCOMPARE(hostText("AppMenu", "Recent Files"), recentFiles);
    QCOMPARE(ICVLocalizationMgr::SharedLocalizationMgr()->Language(), localizationCode);

    // Qt's own texts: its standard buttons.
    QCOMPARE(hostText("QPlatformTheme", "Cancel"), qtCancel);
    if (id != 1)
        QCOMPARE(languages->qtTranslator()->filePath(), base + QStringLiteral("qt_%1.qm").arg(suffix));
}

void TestMultiLanguage::identifiersOutOfRangeGiveEnglish_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("0") << 0;
    QTest::newRow("9") << 9;
    QTest::newRow("negative") << -3;
}

void TestMultiLanguage::identifiersOutOfRangeGiveEnglish()
{
    QFETCH(int, id);
    MultiLanguage* languages = MultiLanguage::instance();
    languages->switchLanguage(5);
    QCOMPARE(hostText("AppMenu", "Help"), QStringLiteral("Hilfe"));

    languages->switchLanguage(id);
    QCOMPARE(languages->currentLanguage(), 1);
    QCOMPARE(languages->hostTranslator()->filePath(), QStringLiteral(":/translations/language/Translation_en.qm"));
    QCOMPARE(hostText("AppMenu", "Help"), QStringLiteral("Help"));
    QCOMPARE(hostText("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QCOMPARE(ICVLocalizationMgr::SharedLocalizationMgr()->Language(), 0);
}

void TestMultiLanguage::storedLanguageIsApplied_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("Spanish") << QVariant(6) << 6;
    QTest::newRow("Japanese") << QVariant(7) << 7;
    QTest::newRow("not a number") << QVariant(QStringLiteral("klingon")) << 1;
    QTest::newRow("out of range") << QVariant(42) << 1;
    QTest::newRow("nothing stored") << QVariant() << 1;
}

void TestMultiLanguage::storedLanguageIsApplied()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Veltrano"),
                           QStringLiteral("Veltrano Quorvia"));
        if (stored.isValid())
            settings.setValue(QStringLiteral("language"), stored);
        else
            settings.remove(QStringLiteral("language"));
    }
    // AppConfig reads the store on each call.
    MultiLanguage::instance()->switchLanguage(3);
    MultiLanguage::instance()->applyStoredLanguage();
    QCOMPARE(MultiLanguage::instance()->currentLanguage(), expected);
}

void TestMultiLanguage::menuAndTitleBarFollowASwitch()
{
    auto* mainWindow = new MainWindow(nullptr);
    CustomWindowFrame frame(mainWindow);
    AppMenu* menu = frame.appMenu();
    auto* minimize = frame.findChild<QPushButton*>(QStringLiteral("btn_minimize"));
    auto* maximize = frame.findChild<QPushButton*>(QStringLiteral("btn_maximize"));
    auto* close = frame.findChild<QPushButton*>(QStringLiteral("btn_close"));
    auto* menuButton = frame.findChild<QPushButton*>(QStringLiteral("btn_menu"));
    auto* title = frame.findChild<QLabel*>(QStringLiteral("label_title"));
    QVERIFY(minimize && maximize && close && menuButton && title);

    QCOMPARE(menuButton->toolTip(), QStringLiteral("Menu"));
    QCOMPARE(close->toolTip(), QStringLiteral("Close"));

    MultiLanguage::instance()->switchLanguage(2);
    QCOMPARE(menu->recentFilesMenu()->title(), QString::fromUtf8("Fichiers récents"));
    QCOMPARE(menu->languageMenu()->title(), QStringLiteral("Langue"));
    QCOMPARE(menu->helpAction(AppMenu::AboutId)->text(), QString::fromUtf8("À propos"));
    QCOMPARE(menuButton->toolTip(), QStringLiteral("Menu"));
    QCOMPARE(minimize->toolTip(), QString::fromUtf8("Réduire"));
    QCOMPARE(maximize->toolTip(), QStringLiteral("Agrandir"));
    QCOMPARE(close->toolTip(), QStringLiteral("Fermer"));
    auto* emptyPageText = mainWindow->findChild<QLabel*>(QStringLiteral("label"));
    QVERIFY(emptyPageText);
    // The form follows Qt's language-change event, which is posted.
    QTRY_COMPARE(emptyPageText->text(), QStringLiteral("Ajoutez ou faites glisser des fichiers ici"));
    // The product's name is the same in every language.
    QCOMPARE(title->text(), QStringLiteral("Veltrano Quorvia"));
    QCOMPARE(frame.windowTitle(), QStringLiteral("Veltrano Quorvia"));

    // The maximise button keeps its state's text through a switch.
    frame.toggleMaximized();
    QCOMPARE(maximize->toolTip(), QStringLiteral("Restaurer"));
    MultiLanguage::instance()->switchLanguage(7);
    QCOMPARE(maximize->toolTip(), QString::fromUtf8("元のサイズに戻す"));
    QCOMPARE(minimize->toolTip(), QString::fromUtf8("最小化"));
    QCOMPARE(menu->helpAction(AppMenu::FeedbackId)->text(), QString::fromUtf8("フィードバックとサポート"));
    frame.toggleMaximized();
    QCOMPARE(maximize->toolTip(), QString::fromUtf8("最大化"));

    MultiLanguage::instance()->switchLanguage(1);
    QCOMPARE(close->toolTip(), QStringLiteral("Close"));
    QCOMPARE(menu->recentFilesMenu()->title(), QStringLiteral("Recent Files"));
    QTRY_COMPARE(emptyPageText->text(), QStringLiteral("Add or drag files here"));
}

QUORVIA_WIDGET_TEST_MAIN(TestMultiLanguage)
#include "tst_multilanguage.moc"
