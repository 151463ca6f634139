// The program as an installation puts it down: this build tree installed into
// a temporary DESTDIR, its file list, run paths, desktop entry, metainfo,
// icons and man pages (checked by the desktop's own validators too), the
// installed programs run from there with no display or an offscreen one, and
// the Debian package that CPack builds from the same install rules.

#include "documentpluginmanager.h"
#include "productlinks.h"
#include "support/test_main.h"

#include <QDirIterator>
#include <QImage>
#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace {

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out, err;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run result;
    result.finished = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Files and links below root, relative to it, sorted.
QStringList treeOf(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QStringList expectedFiles()
{
    QString list = readText(QStringLiteral(QUORVIA_INSTALLED_FILES));
    list.replace(QLatin1String("@PRIVATE_LIBDIR@"), QLatin1String(QUORVIA_PRIVATE_LIBDIR));
    return list.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The [Desktop Entry] group's keys and values.
QMap<QString, QString> desktopEntry(const QString& path)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    const QStringList lines = readText(path).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1String("[Desktop Entry]");
        else if (inGroup && line.contains(QLatin1Char('=')))
            keys.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    }
    return keys;
}

// The texts of every element of that name, in document order.
QStringList elementTexts(const QString& xmlPath, const QString& name)
{
    QStringList texts;
    QXmlStreamReader xml(readText(xmlPath));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    return texts;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// A home, XDG folders and a temporary folder (where the single-instance
// socket lives) of its own, so nothing meets the user's running viewer.
QProcessEnvironment isolatedEnvironment(const QString& root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, folder] : {std::pair{"HOME", "/home"}, {"XDG_CONFIG_HOME", "/home/.config"},
                                       {"XDG_DATA_HOME", "/home/.local/share"}, {"XDG_CACHE_HOME", "/home/.cache"},
                                       {"XDG_RUNTIME_DIR", "/runtime"}, {"TMPDIR", "/tmp"}}) {
        env.insert(QString::fromLatin1(name), root + QLatin1String(folder));
        if (!QByteArray(folder).startsWith("/home/")) // those are the program's to make
            QDir().mkpath(root + QLatin1String(folder));
    }
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const char* name : {"LD_LIBRARY_PATH", "QT_PLUGIN_PATH", "QT_LOGGING_RULES"})
        env.remove(QString::fromLatin1(name));
    return env;
}

// The staged viewer, started and read through its log.
struct Viewer
{
    QString root;
    QProcessEnvironment env;
    std::unique_ptr<QProcess> process;

    Viewer(const QString& program, const QString& root, const QStringList& arguments)
        : root(root)
        , env(isolatedEnvironment(root))
        , process(std::make_unique<QProcess>())
    {
        process->setProcessEnvironment(env);
        process->start(program, arguments);
    }
    ~Viewer()
    {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(10000);
        }
    }
    QString log() const
    {
        QString all;
        const QDir logs(root + QStringLiteral("/home/.local/share/Veltrano/Quorvia/logs"));
        for (const QFileInfo& file : logs.entryInfoList({QStringLiteral("*.log")}))
            all += readText(file.filePath());
        return all;
    }
    // Ends it as a logout would; true when it quit normally.
    bool stop()
    {
        process->terminate();
        return process->waitForFinished(30000) && process->exitStatus() == QProcess::NormalExit
            && process->exitCode() == 0;
    }
};

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT
    QTemporaryDir stage;
    QTemporaryDir work;

    QString staged(const QString& relative) const { return stage.path() + QStringLiteral("/usr/") + relative; }
    QString desktopFile() const { return staged(QStringLiteral("share/applications/" QUORVIA_APP_ID ".desktop")); }
    QString metainfoFile() const { return staged(QStringLiteral("share/metainfo/" QUORVIA_APP_ID ".metainfo.xml")); }
    QString pluginFile() const { return staged(QStringLiteral(QUORVIA_PRIVATE_LIBDIR "/plugins/libtessil_plugin.so")); }
    QString sample() const { return QStringLiteral(QUORVIA_SOURCE_DIR "/samples/sample.tnef"); }
    QString png() const { return QStringLiteral(QUORVIA_SOURCE_DIR "/main/img/search.png"); }

private slots:
    void initTestCase()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), stage.path());
        const Run install = run(QStringLiteral(QUORVIA_CMAKE),
                                {"--install", QUORVIA_BINARY_DIR, "--prefix", "/usr"}, env);
        QVERIFY2(install.finished && install.exitCode == 0, install.err.constData());
    }

    void fileList()
    {
        QCOMPARE(treeOf(stage.path()), expectedFiles());
    }

    // Every program and library finds its own through $ORIGIN; none keeps a
    // path into the build tree.
    void runPaths_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("runPath");
        QTest::newRow("viewer") << "bin/quorvia" << "$ORIGIN/../" QUORVIA_PRIVATE_LIBDIR;
        QTest::newRow("plug-in") << QUORVIA_PRIVATE_LIBDIR "/plugins/libtessil_plugin.so" << "$ORIGIN/..";
        QTest::newRow("private library") << QUORVIA_PRIVATE_LIBDIR "/libquorvia_interfaces.so" << "";
        QTest::newRow("tessil") << "bin/tessil" << "";
    }
    void runPaths()
    {
        QFETCH(QString, file);
        QFETCH(QString, runPath);
        const Run dynamic = run(QStringLiteral("readelf"), {"-d", staged(file)});
        QVERIFY2(dynamic.finished && dynamic.exitCode == 0, dynamic.err.constData());
        static const QRegularExpression entry(QStringLiteral("\\((?:RUNPATH|RPATH)\\).*\\[(.*)\\]"));
        QCOMPARE(entry.match(QString::fromUtf8(dynamic.out)).captured(1), runPath);
    }

    void validators_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList() << desktopFile();
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net", "--strict"} << metainfoFile();
    }
    void validators()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        const Run check = run(tool, arguments << file);
        QVERIFY2(check.finished && check.exitCode == 0, (check.out + check.err).constData());
        QVERIFY2(!check.out.contains("warning") && !check.err.contains("warning"), check.out.constData());
    }

    // The entry starts the installed program on the files given, and offers
    // it for exactly the types the installed plug-ins open, as the metainfo
    // says; its names read in all seven interface languages.
    void desktopEntryAndMetainfo()
    {
        const QMap<QString, QString> entry = desktopEntry(desktopFile());
        QCOMPARE(entry.value("Exec"), QStringLiteral("quorvia %F"));
        QVERIFY(QFileInfo(staged("bin/" + entry.value("TryExec"))).isExecutable());
        QCOMPARE(entry.value("Icon"), QStringLiteral(QUORVIA_APP_ID));
        QCOMPARE(entry.value("Categories"), QStringLiteral("Office;Email;Viewer;"));
        for (const char* language : {"fr", "pt", "it", "de", "es", "ja"}) {
            const QString suffix = QStringLiteral("[%1]").arg(QLatin1String(language));
            QVERIFY2(!entry.value("Name" + suffix).isEmpty(), language);
            for (const char* key : {"GenericName", "Comment", "Keywords"}) {
                const QString translated = entry.value(QLatin1String(key) + suffix);
                QVERIFY2(!translated.isEmpty() && translated != entry.value(QLatin1String(key)), key);
            }
        }

        DocumentPluginManager manager;
        manager.loadPlugin(pluginFile());
        const QStringList claimed = manager.supportedMimeTypes();
        QVERIFY(claimed.contains("application/vnd.ms-tnef"));
        QCOMPARE(sorted(entry.value("MimeType").split(';', Qt::SkipEmptyParts)), claimed);
        QCOMPARE(sorted(elementTexts(metainfoFile(), "mediatype")), claimed);

        QCOMPARE(elementTexts(metainfoFile(), "id"), QStringList{QUORVIA_APP_ID});
        QCOMPARE(elementTexts(metainfoFile(), "launchable"), QStringList{QFileInfo(desktopFile()).fileName()});
        QVERIFY(readText(metainfoFile()).contains("<release version=\"" QUORVIA_VERSION "\""));
        const QStringList images = elementTexts(metainfoFile(), "image");
        QCOMPARE(images.size(), 1);
        QVERIFY2(images.first().startsWith("https://veltrano.example/quorvia/"), qPrintable(images.first()));
        // The image published there is the one kept in the repository.
        const QString screenshot = QStringLiteral(QUORVIA_SOURCE_DIR "/packaging/screenshots/") + QUrl(images.first()).fileName();
        QVERIFY2(!QImage(screenshot).isNull(), qPrintable(screenshot));

        // The desktop's own index (what the package's trigger builds) files
        // the entry under the claimed types.
        QTemporaryDir index;
        QVERIFY(QFile::copy(desktopFile(), index.filePath(QFileInfo(desktopFile()).fileName())));
        const Run update = run(QStringLiteral("update-desktop-database"), {index.path()});
        QVERIFY2(update.finished && update.exitCode == 0, update.err.constData());
        for (const QString& type : claimed) {
            const QString line = type + "=" QUORVIA_APP_ID ".desktop;";
            QVERIFY2(readText(index.filePath("mimeinfo.cache")).contains(line), qPrintable(line));
        }

        // Every claimed type is known once the package's definitions join the
        // system's (what shared-mime-info's trigger does): .msg files as
        // Outlook messages, a kind of OLE storage.
        QTemporaryDir mime;
        QVERIFY(QDir(mime.path()).mkpath(QStringLiteral("packages")));
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"), mime.filePath("packages/freedesktop.org.xml")));
        for (const QFileInfo& own : QDir(staged(QStringLiteral("share/mime/packages"))).entryInfoList(QDir::Files))
            QVERIFY(QFile::copy(own.filePath(), mime.filePath("packages/" + own.fileName())));
        const Run database = run(QStringLiteral("update-mime-database"), {mime.path()});
        QVERIFY2(database.finished && database.exitCode == 0, database.err.constData());
        const QStringList types = readText(mime.filePath("types")).split('\n');
        for (const QString& type : claimed)
            QVERIFY2(types.contains(type), qPrintable(type));
        QVERIFY(readText(mime.filePath("subclasses")).contains("application/vnd.ms-outlook application/x-ole-storage\n"));
        QVERIFY(readText(mime.filePath("globs2")).contains(":application/vnd.ms-outlook:*.msg\n"));
    }

    // Each size folder holds an icon of its size.
    void icons()
    {
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QImage icon(staged(QStringLiteral("share/icons/hicolor/%1x%1/apps/" QUORVIA_APP_ID ".png").arg(size)));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
        }
        QXmlStreamReader svg(readText(staged(QStringLiteral("share/icons/hicolor/scalable/apps/" QUORVIA_APP_ID ".svg"))));
        QVERIFY(svg.readNextStartElement() && svg.name() == QLatin1String("svg"));
    }

    // Both programs answer at once on standard output, with no display, and
    // never reach a running viewer (one listens here) nor write anything.
    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("start");
        for (const char* program : {"quorvia", "tessil"}) {
            const QString name = QString::fromLatin1(program);
            QTest::addRow("%s --help", program) << name << "--help" << "Usage: " + name + " ";
            QTest::addRow("%s -h", program) << name << "-h" << "Usage: " + name + " ";
            QTest::addRow("%s --version", program) << name << "--version" << name + " " QUORVIA_VERSION "\n";
            QTest::addRow("%s -v", program) << name << "-v" << name + " " QUORVIA_VERSION "\n";
        }
    }
    void helpAndVersion()
    {
        QFETCH(QString, program);
        QFETCH(QString, option);
        QFETCH(QString, start);
        QTemporaryDir root;
        QProcessEnvironment env = isolatedEnvironment(root.path());
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        QLocalServer running;
        QVERIFY(running.listen(root.path() + "/tmp/Docavel.veltrano.Quorvia"));

        const Run answer = run(staged("bin/" + program), {option}, env);
        QVERIFY(answer.finished);
        QCOMPARE(answer.exitCode, 0);
        QVERIFY2(QString::fromUtf8(answer.out).startsWith(start), answer.out.constData());
        QCOMPARE(answer.err, QByteArray());
        QVERIFY(!running.waitForNewConnection(200));
        QCOMPARE(QDir(root.path() + "/home").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // Every option the program lists is in its man page, which carries the
    // program's version.
    void manPages_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("quorvia") << "quorvia";
        QTest::newRow("tessil") << "tessil";
    }
    void manPages()
    {
        QFETCH(QString, program);
        const Run page = run(QStringLiteral("gzip"), {"-dc", staged("share/man/man1/" + program + ".1.gz")});
        QVERIFY(page.finished && page.exitCode == 0);
        const QString text = QString::fromUtf8(page.out);
        QVERIFY2(text.startsWith(QStringLiteral(".TH %1 1 ").arg(program.toUpper()))
                     && text.section('\n', 0, 0).contains(program + " " QUORVIA_VERSION "\""),
                 qPrintable(text.section('\n', 0, 0)));
        const Run help = run(staged("bin/" + program), {"--help"});
        static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
        QStringList options;
        for (auto it = option.globalMatch(QString::fromUtf8(help.out)); it.hasNext();)
            options << it.next().captured(1);
        QVERIFY(options.size() >= 3);
        for (QString name : std::as_const(options))
            QVERIFY2(text.contains(name.replace("-", "\\-")), qPrintable(name));
    }

    // The installed program, with no help from the environment, finds its
    // plug-in and opens TNEF files whatever they are called: from the command
    // line and handed over by a second start. Each open and each refusal is
    // one log line; the decoder's trace lines stay out of the log and off the
    // terminal unless asked for.
    void installedProgram()
    {
        const QString files = work.filePath("files");
        QVERIFY(QDir().mkpath(files));
        for (const char* name : {"winmail.dat", "renamed.bin", "ATT00001", "x.tnf", "picture.bin", "photo.dat"})
            QVERIFY(QFile::copy(name[0] == 'p' ? png() : sample(), files + "/" + QLatin1String(name)));
        QCOMPARE(productlinks::findUserGuide(staged("bin")), staged("share/quorvia/docs/user-guide.html"));

        Viewer viewer(staged("bin/quorvia"), work.filePath("plain"),
                      {files + "/winmail.dat", files + "/renamed.bin", files + "/ATT00001"});
        const QString opened = QStringLiteral("Opened \"%1/%2\" with libtessil_plugin.so (by the %3)");
        const QString refused = QStringLiteral("Refused \"%1/%2\": %3");
        const QStringList expected{
            opened.arg(files, "winmail.dat", "suffix .dat"),
            opened.arg(files, "renamed.bin", "type application/vnd.ms-tnef"),
            opened.arg(files, "ATT00001", "type application/vnd.ms-tnef"),
        };
        QTRY_VERIFY_WITH_TIMEOUT(viewer.log().contains(expected.last()), 60000);
        for (const QString& line : expected)
            QVERIFY2(viewer.log().contains(line), qPrintable(line));

        // Each refusal shows a warning that waits for the user; the next
        // hand-off still arrives meanwhile.
        const QList<QPair<QStringList, QString>> handOffs{
            {{files + "/x.tnf", files + "/picture.bin"},
             refused.arg(files, "picture.bin", "no plug-in claims the suffix .bin or the type image/png")},
            {{files + "/photo.dat"},
             refused.arg(files, "photo.dat", "libtessil_plugin.so (by the suffix .dat) could not open it: "
                                             "This is neither a TNEF file (winmail.dat) nor an Outlook message (.msg).")},
        };
        for (const auto& [arguments, line] : handOffs) {
            QProcess second;
            second.setProcessEnvironment(viewer.env);
            second.start(staged("bin/quorvia"), arguments);
            QVERIFY(second.waitForFinished(60000) && second.exitCode() == 0);
            QTRY_VERIFY2_WITH_TIMEOUT(viewer.log().contains(line), qPrintable(line), 30000);
        }
        QVERIFY(viewer.log().contains(opened.arg(files, "x.tnf", "type application/vnd.ms-tnef")));
        QVERIFY(!viewer.log().contains("[SAVE]") && !viewer.log().contains("0x"));
        QVERIFY(viewer.stop());
        const QByteArray terminal = viewer.process->readAllStandardError() + viewer.process->readAllStandardOutput();
        QVERIFY2(!terminal.contains("[SAVE]") && !terminal.contains("[ATTR]"), terminal.constData());

        Viewer verbose(staged("bin/quorvia"), work.filePath("verbose"), {"--verbose", files + "/winmail.dat"});
        QTRY_VERIFY_WITH_TIMEOUT(verbose.log().contains(expected.first()), 60000);
        QVERIFY(verbose.log().contains("[SAVE]"));
        QVERIFY(verbose.stop());
        QVERIFY(!verbose.process->readAllStandardError().contains("[SAVE]"));
    }

    // The package CPack builds from the same rules: the same files, the
    // computed Depends with what is loaded at run time, and no maintainer
    // scripts (the desktop's caches follow through their own triggers).
    void package()
    {
        const QString output = work.filePath("package");
        const Run cpack = run(QStringLiteral(QUORVIA_CPACK),
                              {"-G", "DEB", "-B", output, "--config", QUORVIA_BINARY_DIR "/CPackConfig.cmake"});
        QVERIFY2(cpack.finished && cpack.exitCode == 0, (cpack.out + cpack.err).constData());
        const QString architecture = QString::fromUtf8(run("dpkg", {"--print-architecture"}).out).trimmed();
        const QString deb = output + "/quorvia_" QUORVIA_VERSION "_" + architecture + ".deb";
        QVERIFY2(QFileInfo::exists(deb), qPrintable(deb));

        const auto field = [&](const char* name) {
            return QString::fromUtf8(run("dpkg-deb", {"-f", deb, QString::fromLatin1(name)}).out).trimmed();
        };
        QCOMPARE(field("Package"), QStringLiteral("quorvia"));
        QCOMPARE(field("Version"), QStringLiteral(QUORVIA_VERSION));
        const QStringList depends = field("Depends").split(", ");
        QVERIFY(depends.contains("libqt6svg6"));
        for (const char* computed : {"libqt6widgets6 ", "libqt6core6 ", "libc6 "}) {
            QVERIFY2(std::any_of(depends.cbegin(), depends.cend(),
                                 [&](const QString& d) { return d.startsWith(QLatin1String(computed)); }),
                     computed);
        }
        QVERIFY(!field("Depends").contains("quorvia"));
        QCOMPARE(field("Recommends"), QStringLiteral("xdg-utils, hicolor-icon-theme, breeze-icon-theme | adwaita-icon-theme"));

        const QString control = work.filePath("control");
        QVERIFY(run("dpkg-deb", {"-e", deb, control}).exitCode == 0);
        QCOMPARE(QDir(control).entryList(QDir::Files, QDir::Name), (QStringList{"control", "md5sums"}));

        QStringList contents;
        const QStringList listing = QString::fromUtf8(run("dpkg-deb", {"-c", deb}).out).split('\n', Qt::SkipEmptyParts);
        for (const QString& line : listing) {
            const QString path = line.section(' ', -1).mid(2); // "./usr/..."
            if (!path.endsWith('/'))
                contents << path;
        }
        contents.sort();
        QCOMPARE(contents, expectedFiles());
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestInstall)
#include "tst_install.moc"
