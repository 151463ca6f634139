// The plug-in manager against real plug-in libraries built beside this test:
// loading, casting by identifier, normalising extensions, routing and the open
// dialog's filter.

#include "documentplugininterfaces.h"
#include "documentpluginmanager.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <memory>

namespace {

class RecordingHost : public IDocumentWidgetHost
{
public:
    QString tempDirPath() const override { return QStringLiteral("/tmp/recording-host"); }
};

} // namespace

class TestDocumentPluginManager : public QObject
{
    Q_OBJECT

private slots:
    void directoriesInOrder();
    void normalizedSuffix_data();
    void normalizedSuffix();
    void extensionsAreNormalisedIntoOneKey();
    void emptyExtensionNeverMatchesAFile();
    void loaderOnlyExtensionHasNoWidget();
    void rootWithBothInterfacesKeepsListsApart();
    void librariesThatOfferNothingAreDropped();
    void samePathIsLoadedOnce();
    void laterLibraryWinsAnExtension();
    void createWidgetForwardsAndReportsFailure();
    void createWidgetForUnclaimedSuffix();
    void bookmarksFollowTheClaimingPlugin();
    void filterTexts();
    void scanFindsLibrariesInEveryFolder();
};

void TestDocumentPluginManager::directoriesInOrder()
{
    const QString app = QCoreApplication::applicationDirPath();
    const QStringList expected = {
        QDir::cleanPath(app + QLatin1String("/PlugIns/document")),
        QDir::cleanPath(app + QLatin1String("/../PlugIns/document")),
        QDir::cleanPath(app + QLatin1String("/plugins")),
        QDir::cleanPath(app + QLatin1String("/document_plugins")),
        QDir::cleanPath(QDir::currentPath() + QLatin1String("/djvu_plugin")),
    };
    QCOMPARE(DocumentPluginManager::pluginDirectories(), expected);
}

void TestDocumentPluginManager::normalizedSuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("upper case") << "/x/report.TNEF" << ".tnef";
    QTest::newRow("last suffix only") << "archive.tar.gz" << ".gz";
    QTest::newRow("no dot") << "/x/README" << "";
    QTest::newRow("trailing dot") << "/x/name." << "";
    QTest::newRow("dot in folder only") << "/x.dat/name" << "";
    QTest::newRow("mixed case") << "winmail.Dat" << ".dat";
}

void TestDocumentPluginManager::normalizedSuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(DocumentPluginManager::normalizedSuffix(path), expected);
}

void TestDocumentPluginManager::extensionsAreNormalisedIntoOneKey()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    QCOMPARE(manager.supportedExtensions(), QStringList{QStringLiteral(".dat")});
    QVERIFY(manager.canOpen(QStringLiteral("/x/winmail.DAT")));
    QVERIFY(manager.hasWidgetPlugin(QStringLiteral("/x/a.b.dat")));
    QVERIFY(!manager.canOpen(QStringLiteral("/x/winmail.tnef")));
    QVERIFY(!manager.canOpen(QStringLiteral("/x/dat")));
}

void TestDocumentPluginManager::emptyExtensionNeverMatchesAFile()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_EMPTY));
    QCOMPARE(manager.supportedExtensions(), QStringList{QStringLiteral(".")});
    QVERIFY(!manager.canOpen(QStringLiteral("/x/noextension")));
    QVERIFY(!manager.canOpen(QStringLiteral("/x/trailing.")));
    QVERIFY(!manager.hasWidgetPlugin(QStringLiteral("/x/trailing.")));
}

void TestDocumentPluginManager::loaderOnlyExtensionHasNoWidget()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_LOADER));
    QCOMPARE(manager.supportedExtensions(), (QStringList{QStringLiteral(".pdf"), QStringLiteral(".xps")}));
    QVERIFY(manager.canOpen(QStringLiteral("/x/book.PDF")));
    QVERIFY(!manager.hasWidgetPlugin(QStringLiteral("/x/book.pdf")));
    QVERIFY(!manager.supportsBookmarks(QStringLiteral("/x/book-bookmarks.pdf")));
}

void TestDocumentPluginManager::rootWithBothInterfacesKeepsListsApart()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_BOTH));
    QCOMPARE(manager.loadedPluginFiles().size(), 1);
    QVERIFY(manager.canOpen(QStringLiteral("/x/a.djvu")));
    QVERIFY(!manager.hasWidgetPlugin(QStringLiteral("/x/a.djvu")));
    QVERIFY(manager.hasWidgetPlugin(QStringLiteral("/x/a.qvtest")));
    QCOMPARE(manager.supportedExtensions(), (QStringList{QStringLiteral(".djvu"), QStringLiteral(".qvtest")}));
}

void TestDocumentPluginManager::librariesThatOfferNothingAreDropped()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_NEITHER));
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_NOT_PLUGIN));
    manager.loadPlugin(QStringLiteral("/nonexistent/folder/libmissing.so"));
    QVERIFY(manager.loadedPluginFiles().isEmpty());
    QVERIFY(manager.supportedExtensions().isEmpty());
    // The plug-in that answered neither identifier was unloaded again.
    QVERIFY(!QLibrary(QStringLiteral(HOST_TEST_PLUGIN_NEITHER)).isLoaded());
}

void TestDocumentPluginManager::samePathIsLoadedOnce()
{
    DocumentPluginManager manager;
    const QString path = QStringLiteral(HOST_TEST_PLUGIN_DAT);
    manager.loadPlugin(path);
    manager.loadPlugin(path);
    // The same library reached through a link counts as the same library.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("liblinked.so"));
    QVERIFY(QFile::link(path, link));
    manager.loadPlugin(link);
    QCOMPARE(manager.loadedPluginFiles().size(), 1);
}

void TestDocumentPluginManager::laterLibraryWinsAnExtension()
{
    RecordingHost host;
    {
        DocumentPluginManager manager;
        manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
        manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT_LATE));
        std::unique_ptr<QWidget> widget(manager.createWidget(QStringLiteral("/x/a.dat"), nullptr, &host, nullptr));
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), QStringLiteral("tp_widget_dat_late"));
    }
    {
        DocumentPluginManager manager;
        manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT_LATE));
        manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
        std::unique_ptr<QWidget> widget(manager.createWidget(QStringLiteral("/x/a.dat"), nullptr, &host, nullptr));
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), QStringLiteral("tp_widget_dat"));
    }
}

void TestDocumentPluginManager::createWidgetForwardsAndReportsFailure()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    RecordingHost host;

    QWidget parent;
    QString message = QStringLiteral("untouched");
    QWidget* widget = manager.createWidget(QStringLiteral("/x/Doc.DAT"), &parent, &host, &message);
    QVERIFY(widget);
    QCOMPARE(widget->parent(), &parent);
    QCOMPARE(qobject_cast<QLabel*>(widget)->text(), QStringLiteral("/x/Doc.DAT"));
    QCOMPARE(widget->property("hostTempDir").toString(), host.tempDirPath());
    QCOMPARE(message, QStringLiteral("untouched"));

    QVERIFY(!manager.createWidget(QStringLiteral("/x/fail-message.dat"), nullptr, &host, &message));
    QCOMPARE(message, QStringLiteral("Test plug-in refused the file"));
    // A null message pointer is passed through as null.
    QVERIFY(!manager.createWidget(QStringLiteral("/x/fail-message.dat"), nullptr, &host, nullptr));
}

void TestDocumentPluginManager::createWidgetForUnclaimedSuffix()
{
    DocumentPluginManager manager;
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_LOADER));
    RecordingHost host;
    for (const QString& path : {QStringLiteral("/x/a.txt"), QStringLiteral("/x/a.pdf"), QStringLiteral("/x/noext")}) {
        QString message;
        QVERIFY2(!manager.createWidget(path, nullptr, &host, &message), qPrintable(path));
        QVERIFY(message.isEmpty());
    }
}

void TestDocumentPluginManager::bookmarksFollowTheClaimingPlugin()
{
    DocumentPluginManager manager;
    QVERIFY(!manager.supportsBookmarks(QStringLiteral("/x/with-bookmarks.dat")));
    manager.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    QVERIFY(manager.supportsBookmarks(QStringLiteral("/x/with-bookmarks.dat")));
    QVERIFY(!manager.supportsBookmarks(QStringLiteral("/x/plain.dat")));
    QVERIFY(!manager.supportsBookmarks(QStringLiteral("/x/with-bookmarks.txt")));
}

void TestDocumentPluginManager::filterTexts()
{
    DocumentPluginManager none;
    QCOMPARE(none.fileDialogFilter(), QStringLiteral("Supported Documents ();;All Files (*)"));

    DocumentPluginManager one;
    one.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    QCOMPARE(one.fileDialogFilter(), QStringLiteral("Supported Documents (*.dat);;All Files (*)"));

    DocumentPluginManager several;
    several.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_LOADER));
    several.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_BOTH));
    several.loadPlugin(QStringLiteral(HOST_TEST_PLUGIN_DAT));
    QCOMPARE(several.fileDialogFilter(),
             QStringLiteral("Supported Documents (*.dat *.djvu *.pdf *.qvtest *.xps);;All Files (*)"));
}

void TestDocumentPluginManager::scanFindsLibrariesInEveryFolder()
{
    // The working folder's "djvu_plugin" holds a copy of the loader plug-in,
    // a text file and a folder whose name looks like a library.
    QTemporaryDir cwd;
    QVERIFY(cwd.isValid());
    const QString previous = QDir::currentPath();
    auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    QVERIFY(QDir(cwd.path()).mkpath(QStringLiteral("djvu_plugin/folder.so")));
    const QString copy = cwd.filePath(QStringLiteral("djvu_plugin/libcopied_loader.so"));
    QVERIFY(QFile::copy(QStringLiteral(HOST_TEST_PLUGIN_LOADER), copy));
    QFile notes(cwd.filePath(QStringLiteral("djvu_plugin/notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a library");
    notes.close();
    QVERIFY(QDir::setCurrent(cwd.path()));

    DocumentPluginManager manager;
    manager.scanPlugins();

    QStringList loaded;
    for (const QString& file : manager.loadedPluginFiles())
        loaded << QFileInfo(file).fileName();
    loaded.sort();
    const QString upper = QFileInfo(QStringLiteral(HOST_TEST_PLUGIN_UPPER)).fileName();
    QVERIFY2(upper.endsWith(QLatin1String(".SO")), qPrintable(upper));
    QStringList expected = {
        QFileInfo(QStringLiteral(HOST_TEST_PLUGIN_DAT)).fileName(),
        QFileInfo(QStringLiteral(HOST_TEST_PLUGIN_EMPTY)).fileName(),
        QFileInfo(QStringLiteral(HOST_TEST_PLUGIN_LOADER)).fileName(),
        QFileInfo(QStringLiteral(HOST_TEST_PLUGIN_BOTH)).fileName(),
        upper,
        QStringLiteral("libcopied_loader.so"),
    };
    expected.sort();
    QCOMPARE(loaded, expected);
    QCOMPARE(manager.supportedExtensions(),
             (QStringList{QStringLiteral("."), QStringLiteral(".dat"), QStringLiteral(".djvu"),
                          QStringLiteral(".pdf"), QStringLiteral(".qvtest"), QStringLiteral(".upper"),
                          QStringLiteral(".xps")}));
    QVERIFY(manager.hasWidgetPlugin(QStringLiteral("/x/A.UPPER")));
}

QUORVIA_WIDGET_TEST_MAIN(TestDocumentPluginManager)
#include "tst_documentpluginmanager.moc"
