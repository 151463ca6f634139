// The settings store: defaults on a fresh account, what a damaged value reads
// as, and that every change is on disk at once, in the test's own home.

#include "appconfig.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

class TestAppConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void freshAccountDefaults();
    void namesAreSetForEveryone();
    void changesAreWrittenThroughAtOnce();
    void valuesSurviveANewInstance();
    void nonNumericLanguageReadsAsZero();

private:
    QString storePath;
};

void TestAppConfig::initTestCase()
{
    // The store must follow the temporary home that the test entry point set,
    // never the real user's.
    storePath = AppConfig().storeLocation();
    QVERIFY2(storePath.startsWith(QDir::homePath() + QLatin1Char('/')), qPrintable(storePath));
    QVERIFY(!QFile::exists(storePath));
}

void TestAppConfig::freshAccountDefaults()
{
    AppConfig config;
    QCOMPARE(config.lastOpenPath(), QDir::homePath());
    QCOMPARE(config.language(), 1);
}

void TestAppConfig::namesAreSetForEveryone()
{
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QString());
    AppConfig config;
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Veltrano"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Veltrano Quorvia"));
    // A plain QSettings made afterwards, as the plug-in makes one, shares the store.
    QCOMPARE(QSettings().fileName(), storePath);
}

void TestAppConfig::changesAreWrittenThroughAtOnce()
{
    AppConfig config;
    config.setLastOpenPath(QStringLiteral("/srv/mail/in box"));
    config.setLanguage(5);

    QFile file(storePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.contains("LastOpenPath=/srv/mail/in box"), text.constData());
    QVERIFY2(text.contains("language=5"), text.constData());
}

void TestAppConfig::valuesSurviveANewInstance()
{
    {
        AppConfig first;
        first.setLastOpenPath(QStringLiteral("/data/tnef"));
        first.setLanguage(7);
    }
    AppConfig second;
    QCOMPARE(second.lastOpenPath(), QStringLiteral("/data/tnef"));
    QCOMPARE(second.language(), 7);
    QCOMPARE(AppConfig::instance()->language(), 7);
}

void TestAppConfig::nonNumericLanguageReadsAsZero()
{
    {
        AppConfig config;
        QSettings raw(storePath, QSettings::IniFormat);
        raw.setValue(QStringLiteral("language"), QStringLiteral("french"));
        raw.sync();
    }
    AppConfig config;
    QCOMPARE(config.language(), 0);
}

QUORVIA_WIDGET_TEST_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
