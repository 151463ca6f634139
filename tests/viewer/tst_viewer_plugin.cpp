// The plug-in as the program uses it: found by the real plug-in manager in
// the build tree, cast by interface identifier, opening TNEF files into
// views (and refusing what is not TNEF), one root object per library, and
// the real Outlook samples shown in the program's main window.

#include "documentplugininterfaces.h"
#include "documentpluginmanager.h"
#include "mainwindow.h"
#include "browsertabwidget.h"
#include "viewer_fixtures.h"

#include "support/test_data.h"
#include "support/test_main.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QListView>
#include <QPluginLoader>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

using namespace viewertest;

namespace {

const QString kPluginFile = QStringLiteral(TESSIL_PLUGIN_FILE);
const QString kFailure = QStringLiteral("File error. Unable to open the document.");

class FakeHost : public IDocumentWidgetHost
{
public:
    QString tempDirPath() const override { return QDir::tempPath() + QStringLiteral("/tessil-plugin-test"); }
};

QString labelText(const QWidget* view, const char* name)
{
    const auto* label = view->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QStringList tileNames(const QWidget* view)
{
    QStringList names;
    const auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    if (!list || !list->model())
        return {QStringLiteral("<no list>")};
    for (int row = 0; row < list->model()->rowCount(); ++row)
        names << list->model()->index(row, 0).data().toString();
    return names;
}

QString writeTemporary(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestViewerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void foundAndCastByIdentifier();
    void opensTnefIntoAView();
    void refusesWhatIsNotTnef_data();
    void refusesWhatIsNotTnef();
    void realSamplesInTheProgram_data();
    void realSamplesInTheProgram();
    void screenshots();
    void oneRootObjectPerLibrary();

private:
    std::unique_ptr<DocumentPluginManager> manager;
};

void TestViewerPlugin::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QCoreApplication::setApplicationName(QStringLiteral("Veltrano Quorvia"));
    QVERIFY2(QFileInfo::exists(kPluginFile), qPrintable(kPluginFile));
    // The program's own scan, from the program's folder in the build tree.
    manager = std::make_unique<DocumentPluginManager>();
    manager->scanPlugins();
}

void TestViewerPlugin::foundAndCastByIdentifier()
{
    QStringList loaded;
    for (const QString& file : manager->loadedPluginFiles())
        loaded << QFileInfo(file).canonicalFilePath();
    QVERIFY(loaded.contains(QFileInfo(kPluginFile).canonicalFilePath()));
    QVERIFY(manager->hasWidgetPlugin(QStringLiteral("/x/WINMAIL.DAT")));
    QVERIFY(manager->hasWidgetPlugin(QStringLiteral("/x/message.Tnef")));
    QVERIFY(!manager->supportsBookmarks(QStringLiteral("/x/winmail.dat")));

    QPluginLoader loader(kPluginFile);
    QCOMPARE(loader.metaData().value(QLatin1String("IID")).toString(),
             QStringLiteral("com.example.reader.IDocumentWidgetPlugin/1.0"));
    QCOMPARE(loader.metaData().value(QLatin1String("className")).toString(), QStringLiteral("TessilPlugin"));
    QVERIFY(loader.metaData().value(QLatin1String("MetaData")).toObject().isEmpty());

    QObject* root = loader.instance();
    QVERIFY2(root, qPrintable(loader.errorString()));
    QCOMPARE(root->metaObject()->className(), "TessilPlugin");
    void* byIdentifier = root->qt_metacast("com.example.reader.IDocumentWidgetPlugin/1.0");
    QVERIFY(byIdentifier);
    QCOMPARE(root->qt_metacast("IDocumentWidgetPlugin"), byIdentifier);
    QCOMPARE(root->qt_metacast("TessilPlugin"), static_cast<void*>(root));
    QCOMPARE(static_cast<void*>(qobject_cast<IDocumentWidgetPlugin*>(root)), byIdentifier);
    QVERIFY(!qobject_cast<IDocumentPlugin*>(root));

    auto* plugin = static_cast<IDocumentWidgetPlugin*>(byIdentifier);
    QCOMPARE(plugin->supportedExtensions(), (QStringList{QStringLiteral(".dat"), QStringLiteral(".tnef")}));
    QVERIFY(!plugin->supportsBookmarks(QStringLiteral("/x/winmail.dat")));
}

void TestViewerPlugin::opensTnefIntoAView()
{
    QTemporaryDir dir;
    MessageFixture fixture;
    fixture.subject = QStringLiteral("Quarterly report");
    fixture.senderEmail = QStringLiteral("ana.ruiz@example.com");
    fixture.htmlBody = "<html><body><p>See the attached report.</p></body></html>";
    fixture.attachments = {{QStringLiteral("report.pdf"), "%PDF-1.4\n%%EOF\n"}};
    const QString path = writeTemporary(dir, QStringLiteral("winmail.dat"), fixture.tnef());

    FakeHost host;
    for (IDocumentWidgetHost* h : {static_cast<IDocumentWidgetHost*>(&host), static_cast<IDocumentWidgetHost*>(nullptr)}) {
        QString error = QStringLiteral("untouched");
        std::unique_ptr<QWidget> widget(manager->createWidget(path, nullptr, h, &error));
        QVERIFY(widget);
        QCOMPARE(error, QStringLiteral("untouched"));
        QCOMPARE(widget->metaObject()->className(), "TessilViewWidget");
        QVERIFY(!widget->parentWidget());
        QCOMPARE(labelText(widget.get(), "subjectLabel"), fixture.subject);
        QCOMPARE(labelText(widget.get(), "senderLabel"), fixture.senderEmail);
        QCOMPARE(labelText(widget.get(), "mailInfoLabel"), QStringLiteral("15 B, 1 attachment"));
        QCOMPARE(tileNames(widget.get()), QStringList{QStringLiteral("report.pdf")});
    }
}

void TestViewerPlugin::refusesWhatIsNotTnef_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not TNEF") << QByteArray("This is an ordinary data file.\n") << QStringLiteral("unknown error");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("unknown error");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot open file");
}

void TestViewerPlugin::refusesWhatIsNotTnef()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = reason == QLatin1String("Cannot open file")
        ? dir.filePath(QStringLiteral("missing.dat"))
        : writeTemporary(dir, QStringLiteral("data.dat"), bytes);
    FakeHost host;

    const QByteArray logLine = "[Tessil] TessilPlugin parse failed: " + reason.toUtf8();
    QString error;
    QTest::ignoreMessage(QtWarningMsg, logLine.constData());
    QVERIFY(!manager->createWidget(path, nullptr, &host, &error));
    QCOMPARE(error, kFailure);

    // No place for the message: still a clean refusal.
    QTest::ignoreMessage(QtWarningMsg, logLine.constData());
    QVERIFY(!manager->createWidget(path, nullptr, nullptr, nullptr));
}

void TestViewerPlugin::realSamplesInTheProgram_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QStringList>("tiles");
    QTest::addColumn<QString>("size");

    QTest::newRow("quick") << QStringLiteral("quick-winmail.dat") << QStringLiteral("This is a test message")
                           << QStringList{QStringLiteral("quick.doc"), QStringLiteral("quick.html"),
                                          QStringLiteral("quick.pdf"), QStringLiteral("quick.txt"),
                                          QStringLiteral("quick.xml")}
                           << QString();
    QTest::newRow("two attachments") << QStringLiteral("bug52400-winmail-with-attachments.dat") << QString()
                                     << QStringList{QStringLiteral("scion_tc_2007_maintenanceguide.pdf"),
                                                    QStringLiteral("Duke_Wave.png")}
                                     << QStringLiteral("307.9 KB"); // 193258 + 122016 bytes
    QTest::newRow("two PDFs") << QStringLiteral("bug63955-winmail.dat") << QString()
                              << QStringList{QStringLiteral("SI-61597.pdf"), QStringLiteral("SI-61598.pdf")}
                              << QStringLiteral("462.0 KB"); // 236426 + 236653 bytes
    QTest::newRow("simple") << QStringLiteral("bug52400-winmail-simple.dat") << QString() << QStringList{}
                            << QStringLiteral("0 B");
}

void TestViewerPlugin::realSamplesInTheProgram()
{
    REQUIRE_REAL_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QString, subject);
    QFETCH(QStringList, tiles);
    QFETCH(QString, size);

    MainWindow window;
    window.resize(1000, 700);
    window.show();
    window.openFile(testsupport::realSamplePath(file));
    QCOMPARE(window.tabWidget()->count(), 1);
    QWidget* view = window.tabWidget()->widget(0);
    QCOMPARE(view->metaObject()->className(), "TessilViewWidget");
    QCOMPARE(view->property("sourceFilePath").toString(), QFileInfo(testsupport::realSamplePath(file)).absoluteFilePath());

    if (!subject.isEmpty())
        QCOMPARE(labelText(view, "subjectLabel"), subject);
    else
        QVERIFY(!labelText(view, "subjectLabel").isEmpty());
    const QString info = labelText(view, "mailInfoLabel");
    const QString count = QStringLiteral("%1 %2").arg(tiles.size()).arg(tiles.size() < 2 ? QStringLiteral("attachment")
                                                                                       : QStringLiteral("attachments"));
    const QRegularExpression line(QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d, )?\\d+(\\.\\d)? (B|KB|MB), ")
                                  + count + QLatin1Char('$'));
    QVERIFY2(line.match(info).hasMatch(), qPrintable(info));
    if (!size.isEmpty())
        QVERIFY2(info.contains(size + QStringLiteral(", ")), qPrintable(info));
    QCOMPARE(tileNames(view), tiles);
    const auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    QCOMPARE(list->isVisible(), !tiles.isEmpty());
}

void TestViewerPlugin::screenshots()
{
    // Pictures of the program's window to look at; nothing is compared.
    REQUIRE_REAL_SAMPLES();
    QStringList files{testsupport::realSamplePath(QStringLiteral("quick-winmail.dat")),
                      testsupport::realSamplePath(QStringLiteral("bug52400-winmail-with-attachments.dat")),
                      testsupport::realSamplePath(QStringLiteral("winmail-sample1.dat"))};
    const QString sample = QStringLiteral(QUORVIA_SOURCE_DIR "/samples/sample.tnef");
    if (QFileInfo::exists(sample))
        files << sample;
    QDir().mkpath(QStringLiteral(VIEWER_SCREENSHOT_DIR));
    for (const QString& file : files) {
        MainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openFile(file);
        QTest::qWait(200);
        const QString out = QStringLiteral(VIEWER_SCREENSHOT_DIR "/%1.png").arg(QFileInfo(file).completeBaseName());
        QVERIFY(window.grab().save(out));
        qInfo("screenshot: %s", qPrintable(out));
    }
}

void TestViewerPlugin::oneRootObjectPerLibrary()
{
    QLibrary library(kPluginFile);
    using InstanceFunction = QObject* (*)();
    auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    QVERIFY2(instance, qPrintable(library.errorString()));
    QPointer<QObject> first = instance();
    QVERIFY(first);
    QCOMPARE(instance(), first.data());
    QPluginLoader loader(kPluginFile);
    QCOMPARE(loader.instance(), first.data());

    // Once deleted, the next call makes a new one instead of handing out a
    // dangling pointer.
    manager.reset();
    delete first.data();
    QVERIFY(!first);
    QObject* second = instance();
    QVERIFY(second);
    QCOMPARE(second->metaObject()->className(), "TessilPlugin");
    QCOMPARE(instance(), second);
}

QUORVIA_WIDGET_TEST_MAIN(TestViewerPlugin)
#include "tst_viewer_plugin.moc"
