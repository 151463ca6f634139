// The plug-in as the program meets it: found by the real plug-in manager in
// the build tree, opening TNEF files into views, refusing what is not TNEF,
// and the real Outlook samples shown in the program's main window.

#include "browsertabwidget.h"
#include "documentplugininterfaces.h"
#include "documentpluginmanager.h"
#include "mainwindow.h"

#include "support/test_data.h"
#include "support/test_main.h"
#include "support/tnef_writer.h"

#include <QApplication>
#include <QLabel>
#include <QListView>

#include <ctime>
#include <memory>

using namespace tnefwriter;

namespace {

const QString kPluginFile = QStringLiteral(TESSIL_PLUGIN_FILE);

struct Host : IDocumentWidgetHost
{
    QString tempDirPath() const override { return QDir::tempPath() + "/tessil-plugin-test"; }
};

QString labelText(const QWidget* view, const char* name)
{
    const auto* label = view->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label>");
}

QStringList tileNames(const QWidget* view)
{
    QStringList names;
    const auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    for (int row = 0; list && row < list->model()->rowCount(); ++row)
        names << list->model()->index(row, 0).data().toString();
    return names;
}

} // namespace

class TestViewerPlugin : public QObject
{
    Q_OBJECT

    std::unique_ptr<DocumentPluginManager> manager;
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC"); // the information line shows local time
        tzset();
        // The program's own scan, from the program's folder in the build tree.
        manager = std::make_unique<DocumentPluginManager>();
        manager->scanPlugins();
        QStringList loaded;
        for (const QString& file : manager->loadedPluginFiles())
            loaded << QFileInfo(file).canonicalFilePath();
        QVERIFY(loaded.contains(QFileInfo(kPluginFile).canonicalFilePath()));
    }

    void extensions()
    {
        QPluginLoader loader(kPluginFile);
        auto* plugin = qobject_cast<IDocumentWidgetPlugin*>(loader.instance());
        QVERIFY(plugin);
        QCOMPARE(plugin->supportedExtensions(), (QStringList{".dat", ".tnef"}));
        QVERIFY(manager->hasWidgetPlugin("/x/WINMAIL.DAT") && manager->hasWidgetPlugin("/x/m.Tnef"));
        QVERIFY(!manager->supportsBookmarks("/x/winmail.dat"));
    }

    void opensTnef()
    {
        MapiBlockWriter props;
        props.add(MapiProp::unicode(PidTagSubject, "Quarterly report"))
            .add(MapiProp::unicode(PidTagSentRepresentingEmailAddress, "ana@example.com"))
            .add(MapiProp::binary(PidTagBodyHtml, "<p>See the report.</p><img src=\"cid:logo@x\">"));
        TnefWriter tnef;
        tnef.tnefVersion().messageProperties(props);
        tnef.attachment(AttachmentSpec{{}, "report.pdf", "%PDF-1.4\n%%EOF\n", {}, {}, {}});
        tnef.attachment(AttachmentSpec{{}, "logo.png", "not shown", "image/png", "logo@x", {}});
        const QString path = write("winmail.dat", tnef.bytes());

        Host host;
        for (IDocumentWidgetHost* h : {static_cast<IDocumentWidgetHost*>(&host), static_cast<IDocumentWidgetHost*>(nullptr)}) {
            QString error = "untouched";
            std::unique_ptr<QWidget> view(manager->createWidget(path, nullptr, h, &error));
            QVERIFY(view);
            QCOMPARE(error, QStringLiteral("untouched"));
            QCOMPARE(labelText(view.get(), "subjectLabel"), QStringLiteral("Quarterly report"));
            QCOMPARE(labelText(view.get(), "senderLabel"), QStringLiteral("ana@example.com"));
            QCOMPARE(labelText(view.get(), "mailInfoLabel"), QStringLiteral("24 B, 2 attachments"));
            QCOMPARE(tileNames(view.get()), QStringList{"report.pdf"});
        }
    }

    void refusesWhatIsNotTnef_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not TNEF") << "data.dat" << "unknown error";
        QTest::newRow("missing") << "missing.dat" << "Cannot open file";
    }
    void refusesWhatIsNotTnef()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString path = name == "missing.dat" ? dir.filePath(name) : write(name, "An ordinary data file.\n");
        const QByteArray logLine = "[Tessil] TessilPlugin parse failed: " + reason.toUtf8();
        Host host;
        QString error;
        QTest::ignoreMessage(QtWarningMsg, logLine.constData());
        QVERIFY(!manager->createWidget(path, nullptr, &host, &error));
        QCOMPARE(error, QStringLiteral("File error. Unable to open the document."));
        QTest::ignoreMessage(QtWarningMsg, logLine.constData());
        QVERIFY(!manager->createWidget(path, nullptr, nullptr, nullptr));
    }

    void realSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QStringList>("tiles");
        QTest::newRow("quick") << "quick-winmail.dat" << "This is a test message" << ""
                               << QStringList{"quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"};
        QTest::newRow("two PDFs") << "bug63955-winmail.dat" << "Test" << "2019-11-22 12:23:59, 462.0 KB, 2 attachments"
                                  << QStringList{"SI-61597.pdf", "SI-61598.pdf"};
    }
    void realSamples()
    {
        REQUIRE_REAL_SAMPLES();
        QFETCH(QString, file);
        QFETCH(QString, subject);
        QFETCH(QString, info);
        QFETCH(QStringList, tiles);
        MainWindow window;
        window.show();
        window.openFile(testsupport::realSamplePath(file));
        QCOMPARE(window.tabWidget()->count(), 1);
        const QWidget* view = window.tabWidget()->widget(0);
        QCOMPARE(labelText(view, "subjectLabel"), subject);
        if (!info.isEmpty())
            QCOMPARE(labelText(view, "mailInfoLabel"), info);
        QCOMPARE(tileNames(view), tiles);
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestViewerPlugin)
#include "tst_viewer_plugin.moc"
