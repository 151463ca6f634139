// The recent-files list: newest first, case-insensitive replacement, the cap of
// ten, damaged files, and a save that never leaves a half-written list.

#include "apppaths.h"
#include "recentfiles.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

void writeRaw(const QByteArray& content)
{
    QFile file(recentFilesPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList numbered(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/mail/message%1.dat").arg(i);
    return paths;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pathIsInTheConfigFolder();
    void newestFirstAndCaseInsensitiveReplacement();
    void eleventhFilePushesOutTheOldest();
    void handEditedLongListShowsFirstTen();
    void damagedContentReadsEmpty_data();
    void damagedContentReadsEmpty();
    void unusableEntriesAreSkipped();
    void relativeAndEmptyPaths();
    void saveReplacesTheFileAsAWhole();
};

void TestRecentFiles::init()
{
    QFile::remove(recentFilesPath());
}

void TestRecentFiles::pathIsInTheConfigFolder()
{
    QDir(apppaths::configDir()).removeRecursively();
    const QString path = recentFilesPath();
    QCOMPARE(path, QDir::homePath() + QLatin1String("/AppData/Roaming/Veltrano/Quorvia/Config/recent_files.json"));
    QVERIFY(QDir(apppaths::configDir()).exists());
    QVERIFY(loadRecentFiles().isEmpty());
}

void TestRecentFiles::newestFirstAndCaseInsensitiveReplacement()
{
    addRecentFile(QStringLiteral("/mail/Inbox/Report.dat"));
    addRecentFile(QStringLiteral("/mail/other.tnef"));
    addRecentFile(QStringLiteral("/MAIL/inbox/report.DAT"));
    QCOMPARE(loadRecentFiles(),
             (QStringList{QStringLiteral("/MAIL/inbox/report.DAT"), QStringLiteral("/mail/other.tnef")}));

    // Written in the indented form, as a plain array.
    QFile file(recentFilesPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.startsWith("[\n    \""));
    QVERIFY(QJsonDocument::fromJson(text).isArray());
}

void TestRecentFiles::eleventhFilePushesOutTheOldest()
{
    const QStringList paths = numbered(11);
    for (const QString& path : paths)
        addRecentFile(path);
    const QStringList list = loadRecentFiles();
    QCOMPARE(list.size(), kMaxRecentFiles);
    QCOMPARE(list.first(), paths.last());
    QVERIFY(!list.contains(paths.first()));
    QCOMPARE(list.last(), paths.at(1));
}

void TestRecentFiles::handEditedLongListShowsFirstTen()
{
    const QStringList paths = numbered(15);
    writeRaw(QJsonDocument(QJsonArray::fromStringList(paths)).toJson());
    QCOMPARE(loadRecentFiles(), paths.mid(0, 10));
    // The next add trims the file back to ten.
    addRecentFile(QStringLiteral("/mail/new.dat"));
    QFile file(recentFilesPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(file.readAll()).array().size(), kMaxRecentFiles);
}

void TestRecentFiles::damagedContentReadsEmpty_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("object") << QByteArray("{\"files\": [\"/mail/a.dat\"]}");
    QTest::newRow("truncated") << QByteArray("[\"/mail/a.dat\", \"/ma");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("string") << QByteArray("\"/mail/a.dat\"");
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe[", 4);
}

void TestRecentFiles::damagedContentReadsEmpty()
{
    QFETCH(QByteArray, content);
    writeRaw(content);
    QVERIFY(loadRecentFiles().isEmpty());
    // And the next successful open replaces it with a valid list.
    addRecentFile(QStringLiteral("/mail/a.dat"));
    QCOMPARE(loadRecentFiles(), QStringList{QStringLiteral("/mail/a.dat")});
}

void TestRecentFiles::unusableEntriesAreSkipped()
{
    writeRaw("[\"/mail/a.dat\", 42, \"\", null, \"/mail/a.dat\", \"/mail/A.dat\", [\"/x\"], \"/mail/b.dat\"]");
    QCOMPARE(loadRecentFiles(), (QStringList{QStringLiteral("/mail/a.dat"), QStringLiteral("/mail/A.dat"),
                                             QStringLiteral("/mail/b.dat")}));
}

void TestRecentFiles::relativeAndEmptyPaths()
{
    addRecentFile(QString());
    QVERIFY(!QFile::exists(recentFilesPath()));
    addRecentFile(QStringLiteral("relative/name.dat"));
    QCOMPARE(loadRecentFiles(), QStringList{QDir::current().absoluteFilePath(QStringLiteral("relative/name.dat"))});
}

void TestRecentFiles::saveReplacesTheFileAsAWhole()
{
    saveRecentFiles(numbered(3));
    // A reader that opened the list before a save must still see the whole old
    // list: the new list arrives as a new file, the old one is never cut short
    // in place.
    QFile before(recentFilesPath());
    QVERIFY(before.open(QIODevice::ReadOnly));

    addRecentFile(QStringLiteral("/mail/newest.dat"));

    const QByteArray old = before.readAll();
    QCOMPARE(QJsonDocument::fromJson(old).array().size(), 3);
    QCOMPARE(loadRecentFiles().first(), QStringLiteral("/mail/newest.dat"));
    QCOMPARE(loadRecentFiles().size(), 4);

    // Nothing is left behind beside the list.
    const QStringList entries = QDir(apppaths::configDir()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(entries, QStringList{QStringLiteral("recent_files.json")});

    // A list that cannot be written leaves the old one as it was.
    QVERIFY(QFile::remove(recentFilesPath()));
    QVERIFY(QDir(apppaths::configDir()).mkdir(QStringLiteral("recent_files.json")));
    saveRecentFiles(numbered(2));
    QVERIFY(QFileInfo(recentFilesPath()).isDir());
    QVERIFY(loadRecentFiles().isEmpty());
    QVERIFY(QDir(recentFilesPath()).removeRecursively());
}

QUORVIA_WIDGET_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
