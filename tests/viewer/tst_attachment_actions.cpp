// Opening and saving attachments, with the dialogs and the desktop replaced
// by a stand-in: unique names, the remembered directory, names from the
// message confined to their directory, and the question asked before a
// program or script is handed to the desktop.

#include "attachmentmodel.h"
#include "documentplugininterfaces.h"
#include "executableattachment.h"
#include "fake_dialogs.h"
#include "tessilviewwidget.h"

#include "support/test_main.h"

#include <QApplication>
#include <QDirIterator>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace viewertest;

Q_DECLARE_METATYPE(QSharedPointer<TessilAttachment>)

namespace {

const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");
const QByteArray kPng("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33);
const QByteArray kWindowsProgram = QByteArray("MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF\0\0", 16) + QByteArray(64, '\0');
const QByteArray kElfProgram = QByteArray("\x7F" "ELF\x02\x01\x01\0", 8) + QByteArray(8, '\0')
    + QByteArray("\x02\0\x3E\0", 4) + QByteArray(48, '\0');
const QString kSaveDirectoryKey = QStringLiteral("tessil/lastAttachmentSaveDir");
const QFileDevice::Permissions kExecutable =
    QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;

class FakeHost : public IDocumentWidgetHost
{
public:
    explicit FakeHost(const QString& path) : path(path) {}
    QString tempDirPath() const override { return path; }
    QString path;
};

using Attachments = QList<QPair<QString, QByteArray>>; // name, content

// A view of a message with these attachments, its dialogs a FakeDialogs.
struct Fixture
{
    explicit Fixture(const Attachments& attachments, IDocumentWidgetHost* host = nullptr)
        : view(host)
    {
        message->subject = QStringLiteral("Files");
        for (const auto& [name, content] : attachments) {
            auto attachment = QSharedPointer<TessilAttachment>::create();
            attachment->fileName = name;
            attachment->data = content;
            message->attachments.append(attachment);
        }
        auto dialogs = std::make_unique<FakeDialogs>();
        fake = dialogs.get();
        view.setDialogs(std::move(dialogs));
        view.setMessage(message);
    }
    QModelIndex index(int row) const { return view.attachmentModel()->index(row, 0); }
    QListView* list() const { return view.findChild<QListView*>(QStringLiteral("listView")); }

    QSharedPointer<TessilMessage> message = QSharedPointer<TessilMessage>::create();
    TessilViewWidget view;
    FakeDialogs* fake = nullptr;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file and link below `root`, relative to it, sorted.
QStringList treeOf(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (!it.fileInfo().isDir() || it.fileInfo().isSymLink())
            entries << QDir(root).relativeFilePath(it.filePath());
    }
    entries.sort();
    return entries;
}

QString storedSaveDirectory()
{
    return QSettings().value(kSaveDirectoryKey).toString();
}

} // namespace

class TestAttachmentActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QSettings().clear(); }

    void saveAllKeepsWhatIsThere();
    void rememberedDirectoryAndItsFallback();
    void singleSave();
    void hostileNamesStayInTheirDirectory_data();
    void hostileNamesStayInTheirDirectory();
    void openingWritesAFreshTemporaryCopy();
    void executableAttachmentsNeedConsent_data();
    void executableAttachmentsNeedConsent();
    void executableTypes_data();
    void executableTypes();
    void contextMenuAndDoubleClick();
};

void TestAttachmentActions::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QCoreApplication::setApplicationName(QStringLiteral("Veltrano Quorvia"));
    qRegisterMetaType<QSharedPointer<TessilAttachment>>();
}

void TestAttachmentActions::saveAllKeepsWhatIsThere()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(QStringLiteral("report.pdf")), "already there"));
    // ".bin" is what the parser names an unnamed attachment of unknown content.
    Fixture f({{QStringLiteral("report.pdf"), kPdf}, {QStringLiteral("logo.png"), kPng},
               {QStringLiteral(".bin"), "\x01\x02"}});
    f.message->attachments[1]->contentId = QStringLiteral("logo@x"); // inline: never saved
    f.view.setMessage(f.message);
    f.fake->directoryAnswer = dir.path();

    f.view.onSaveAllAttachments();
    QCOMPARE(f.fake->directoryTitles, QStringList{QStringLiteral("Select Save Directory")});
    QCOMPARE(treeOf(dir.path()), (QStringList{QStringLiteral("attachment.bin"), QStringLiteral("report (2).pdf"),
                                              QStringLiteral("report.pdf")}));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("report.pdf"))), QByteArray("already there"));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("report (2).pdf"))), kPdf);
    QCOMPARE(f.fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(dir.path())});

    f.view.onSaveAllAttachments();
    QVERIFY(treeOf(dir.path()).contains(QStringLiteral("report (3).pdf")));
    QVERIFY(treeOf(dir.path()).contains(QStringLiteral("attachment (2).bin")));
    QCOMPARE(treeOf(dir.path()).size(), 5);

    // The single save proposes the same safe name, not a hidden ".bin".
    f.view.onAttachmentDoubleClicked(f.index(1));
    QCOMPARE(f.fake->saveProposals, QStringList{QDir(dir.path()).filePath(QStringLiteral("attachment.bin"))});

    // Cancelling the directory dialog writes and opens nothing.
    f.fake->directoryAnswer.clear();
    f.view.onSaveAllAttachments();
    QCOMPARE(treeOf(dir.path()).size(), 5);
    QCOMPARE(f.fake->openedUrls.size(), 2);
}

void TestAttachmentActions::rememberedDirectoryAndItsFallback()
{
    QTemporaryDir root;
    const QString first = root.filePath(QStringLiteral("first"));
    const QString second = root.filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    Fixture f({{QStringLiteral("a.pdf"), kPdf}, {QStringLiteral("b.txt"), "b"}});

    // Nothing stored: both dialogs start in the download folder.
    f.view.onAttachmentDoubleClicked(f.index(0));
    f.view.onSaveAllAttachments();
    QCOMPARE(f.fake->saveProposals.value(0), QDir(downloads).filePath(QStringLiteral("a.pdf")));
    QCOMPARE(f.fake->directoryStarts.value(0), downloads);
    QVERIFY(storedSaveDirectory().isEmpty()); // both were cancelled

    // A single save remembers its file's directory ...
    f.fake->saveFileAnswer = QDir(first).filePath(QStringLiteral("chosen.pdf"));
    f.view.onAttachmentDoubleClicked(f.index(0));
    QCOMPARE(storedSaveDirectory(), first);
    f.view.onAttachmentDoubleClicked(f.index(1));
    QCOMPARE(f.fake->saveProposals.last(), QDir(first).filePath(QStringLiteral("b.txt")));

    // ... a multiple save the chosen directory.
    f.fake->directoryAnswer = second;
    f.view.onSaveAllAttachments();
    QCOMPARE(f.fake->directoryStarts.last(), first);
    QCOMPARE(storedSaveDirectory(), second);

    // A remembered directory that is gone: back to the download folder.
    QVERIFY(QDir(second).removeRecursively());
    QCOMPARE(f.view.lastSaveDirectory(), downloads);
}

void TestAttachmentActions::singleSave()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept name.pdf"));
    QVERIFY(writeFile(target, QByteArray(4096, 'o'))); // longer than what replaces it
    Fixture f({{QStringLiteral("a.pdf"), kPdf}, {QStringLiteral("b.txt"), "b"}});
    QSignalSpy saved(&f.view, &TessilViewWidget::attachmentSaveRequested);

    f.fake->saveFileAnswer = target;
    f.view.onAttachmentDoubleClicked(f.index(0));
    QCOMPARE(f.fake->saveTitles, QStringList{QStringLiteral("Save Attachment")});
    QCOMPARE(readFile(target), kPdf);
    QCOMPARE(treeOf(dir.path()), QStringList{QStringLiteral("kept name.pdf")});
    QCOMPARE(f.fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
    QCOMPARE(saved.count(), 1);
    QCOMPARE(saved.at(0).at(0).value<QSharedPointer<TessilAttachment>>(), f.message->attachmentAt(0));

    // "Save as..." on one selected tile, or on the current one when none
    // is selected, is this single save; on several it asks for a directory.
    QItemSelectionModel* selection = f.list()->selectionModel();
    selection->select(f.index(1), QItemSelectionModel::ClearAndSelect);
    f.view.onSaveAttachment();
    QCOMPARE(readFile(target), QByteArray("b"));
    selection->clearSelection();
    selection->setCurrentIndex(f.index(0), QItemSelectionModel::NoUpdate);
    f.view.onSaveAttachment();
    QCOMPARE(saved.count(), 3);
    f.list()->selectAll();
    f.view.onSaveAttachment();
    QCOMPARE(f.fake->saveTitles.size(), 3);
    QCOMPARE(f.fake->directoryTitles.size(), 1);

    // A target that cannot be written: an error, and nothing else changes.
    const QString unwritable = dir.filePath(QStringLiteral("missing/folder/a.pdf"));
    f.fake->saveFileAnswer = unwritable;
    f.view.onAttachmentDoubleClicked(f.index(0));
    QCOMPARE(f.fake->warnings.size(), 1);
    QCOMPARE(f.fake->warnings.at(0).title, QStringLiteral("Error"));
    QCOMPARE(f.fake->warnings.at(0).text, QStringLiteral("Cannot write to %1").arg(unwritable));
    QCOMPARE(saved.count(), 3);
    QCOMPARE(f.fake->openedUrls.size(), 3);
    QCOMPARE(storedSaveDirectory(), dir.path());
}

void TestAttachmentActions::hostileNamesStayInTheirDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent directories") << QStringLiteral("../../escape.txt");
    QTest::newRow("backslash parents") << QStringLiteral("..\\..\\escape.txt");
    QTest::newRow("absolute path") << QStringLiteral("/tmp/escape.txt");
    QTest::newRow("drive letter") << QStringLiteral("C:\\Windows\\escape.txt");
    QTest::newRow("subdirectory") << QStringLiteral("sub/dir/escape.txt");
    QTest::newRow("control characters") << QStringLiteral("esc\x01" "ape\x1B\n.txt");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("hidden file") << QStringLiteral(".bashrc");
    QTest::newRow("right-to-left override") << QStringLiteral("invoice\u202Etxt.exe");
}

void TestAttachmentActions::hostileNamesStayInTheirDirectory()
{
    QFETCH(QString, name);
    QTemporaryDir root;
    const QString chosen = root.filePath(QStringLiteral("a/b/chosen"));
    QVERIFY(QDir().mkpath(chosen));
    FakeHost host(root.filePath(QStringLiteral("a/b/temporary")));
    Fixture f({{name, "payload"}}, &host);
    f.fake->directoryAnswer = chosen;
    f.fake->confirmAnswer = true;

    f.view.onSaveAllAttachments();
    f.view.openAttachment(0);

    const QStringList tree = treeOf(root.path());
    const QString listing = tree.join(QLatin1String(", "));
    QCOMPARE(tree.size(), 2);
    QVERIFY2(tree.at(0).startsWith(QLatin1String("a/b/chosen/")) && tree.at(0).count(u'/') == 3, qPrintable(listing));
    QVERIFY2(tree.at(1).startsWith(QLatin1String("a/b/temporary/")) && tree.at(1).count(u'/') == 3, qPrintable(listing));
    for (const QString& path : tree) {
        const QString written = QFileInfo(path).fileName();
        QVERIFY2(!written.startsWith(u'.'), qPrintable(written));
        for (const QChar c : written)
            QVERIFY2(c.category() != QChar::Other_Control && c != QChar(0x202E), qPrintable(written));
    }

    // The single save proposes that safe name inside the remembered directory.
    f.view.onAttachmentDoubleClicked(f.index(0));
    QCOMPARE(f.fake->saveProposals.value(0), QDir(chosen).filePath(QFileInfo(tree.at(0)).fileName()));
}

void TestAttachmentActions::openingWritesAFreshTemporaryCopy()
{
    QTemporaryDir root;
    FakeHost host(root.filePath(QStringLiteral("not/yet/there")));
    Fixture f({{QStringLiteral("report"), kPdf}}, &host);

    // Named after the content's type; the folder is made on the way.
    const QString path = QDir(host.path).filePath(QStringLiteral("report.pdf"));
    f.view.openAttachment(0);
    QCOMPARE(readFile(path), kPdf);
    QCOMPARE(f.fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

    // An earlier copy, even a changed and executable one, is replaced.
    QVERIFY(writeFile(path, QByteArray(10000, 'x')));
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | kExecutable));
    f.view.openAttachment(0);
    QCOMPARE(readFile(path), kPdf);
    QVERIFY(!(QFile::permissions(path) & kExecutable));

    // So is a link left under the name: it is not written through.
    const QString outside = root.filePath(QStringLiteral("outside.txt"));
    QVERIFY(writeFile(outside, "keep me"));
    QVERIFY(QFile::remove(path) && QFile::link(outside, path));
    f.view.openAttachment(0);
    QCOMPARE(readFile(outside), QByteArray("keep me"));
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(f.fake->openedUrls.size(), 3);
    QVERIFY(f.fake->warnings.isEmpty());

    // A temporary folder that cannot be made: an error, nothing opened.
    host.path = outside;
    f.view.openAttachment(0);
    QCOMPARE(f.fake->warnings.size(), 1);
    QCOMPARE(f.fake->warnings.at(0).title, QStringLiteral("Error"));
    QCOMPARE(f.fake->warnings.at(0).text, QStringLiteral("Cannot create temp file: %1")
                                              .arg(QDir::toNativeSeparators(outside + QStringLiteral("/report.pdf"))));
    QCOMPARE(f.fake->openedUrls.size(), 3);

    // Without a host: the system's temporary folder.
    QTemporaryDir system;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(system.path()));
    Fixture hostless({{QStringLiteral("photo.png"), kPng}});
    hostless.view.openAttachment(0);
    qputenv("TMPDIR", previous);
    QCOMPARE(treeOf(system.path()), QStringList{QStringLiteral("photo.png")});
}

void TestAttachmentActions::executableAttachmentsNeedConsent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("asks");
    QTest::newRow("double extension") << QStringLiteral("invoice.pdf.exe") << kWindowsProgram << true;
    QTest::newRow("shell script") << QStringLiteral("setup.sh") << QByteArray("echo hi\n") << true;
    QTest::newRow("desktop launcher") << QStringLiteral("Invoice.desktop")
                                      << QByteArray("[Desktop Entry]\nType=Application\nExec=sh -c x\n") << true;
    QTest::newRow("program posing as a PDF") << QStringLiteral("report.pdf") << kElfProgram << true;
    QTest::newRow("PDF") << QStringLiteral("report.pdf") << kPdf << false;
    QTest::newRow("picture") << QStringLiteral("photo.png") << kPng << false;
}

void TestAttachmentActions::executableAttachmentsNeedConsent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, asks);
    QTemporaryDir temporary;
    FakeHost host(temporary.path());
    Fixture f({{name, content}}, &host);

    f.view.openAttachment(0); // answered with Cancel
    if (asks) {
        QCOMPARE(f.fake->confirmations.size(), 1);
        QCOMPARE(f.fake->confirmations.at(0).title, QStringLiteral("Open Attachment"));
        const QString text = f.fake->confirmations.at(0).text;
        QVERIFY2(text.contains(u'"' + name + u'"') && text.contains(QLatin1String("run programs")), qPrintable(text));
        QVERIFY(f.fake->openedUrls.isEmpty());
        QVERIFY(treeOf(temporary.path()).isEmpty());

        f.fake->confirmAnswer = true;
        f.view.openAttachment(0);
    }
    QCOMPARE(f.fake->confirmations.size(), asks ? 2 : 0);
    QCOMPARE(f.fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(temporary.filePath(name))});
    QCOMPARE(readFile(temporary.filePath(name)), content);
    QVERIFY(!(QFile::permissions(temporary.filePath(name)) & kExecutable));
}

void TestAttachmentActions::executableTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");

    const struct
    {
        const char* name;
        bool executable;
    } byName[] = {
        {"SETUP.EXE", true},     {"run.exe. ", true},      {"go.bat", true},       {"saver.scr", true},
        {"macro.vbs", true},     {"code.js", true},        {"tool.ps1", true},     {"page.hta", true},
        {"app.jar", true},       {"link.lnk", true},       {"keys.reg", true},     {"start.desktop", true},
        {"installer.run", true}, {"App.AppImage", true},   {"tool.py", true},      {"Tool.command", true},
        {"report.pdf", false},   {"archive.tar.gz", false}, {"Makefile", false},   {"invoice.exe.pdf", false},
    };
    for (const auto& row : byName)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << QByteArray("plain words\n") << row.executable;

    QTest::newRow("Windows program content") << QStringLiteral("report.pdf") << kWindowsProgram << true;
    QTest::newRow("ELF program content") << QStringLiteral("photo.jpeg") << kElfProgram << true;
    QTest::newRow("script content") << QStringLiteral("notes.txt") << QByteArray("#!/bin/sh\nrm -rf ~\n") << true;
    QTest::newRow("PDF content") << QStringLiteral("report.pdf") << kPdf << false;
}

void TestAttachmentActions::executableTypes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QCOMPARE(isExecutableAttachment(name, content), executable);
}

void TestAttachmentActions::contextMenuAndDoubleClick()
{
    QTemporaryDir root;
    FakeHost host(root.filePath(QStringLiteral("temporary")));
    Fixture f({{QStringLiteral("a.pdf"), kPdf}, {QStringLiteral("b.txt"), "b"}, {QStringLiteral("c.txt"), "c"}}, &host);
    f.view.resize(600, 400);
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    QListView* list = f.list();
    const QPoint onSecond = list->visualRect(f.index(1)).center();
    const QPoint empty(list->viewport()->width() - 5, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(empty).isValid());
    const QUrl secondCopy = QUrl::fromLocalFile(QDir(host.path).filePath(QStringLiteral("b.txt")));

    emit list->customContextMenuRequested(onSecond);
    emit list->customContextMenuRequested(empty);
    QCOMPARE(f.fake->menus, (QList<QStringList>{{QStringLiteral("Open"), QStringLiteral("Save as..."),
                                                 QStringLiteral("Save All Attachments...")},
                                                {QStringLiteral("Save All Attachments...")}}));
    f.fake->menuChoice = QStringLiteral("Open");
    emit list->customContextMenuRequested(onSecond);
    QCOMPARE(f.fake->openedUrls, QList<QUrl>{secondCopy});
    f.fake->menuChoice = QStringLiteral("Save All Attachments...");
    emit list->customContextMenuRequested(empty);
    QCOMPARE(f.fake->directoryTitles.size(), 1);

    // A double click opens; it does not save.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, onSecond);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, onSecond);
    QCOMPARE(f.fake->openedUrls, (QList<QUrl>{secondCopy, secondCopy}));
    QVERIFY(f.fake->saveTitles.isEmpty());

    // An empty list shows no menu at all.
    f.view.setMessage(QSharedPointer<TessilMessage>::create());
    emit list->customContextMenuRequested(empty);
    QCOMPARE(f.fake->menus.size(), 4);
}

QUORVIA_WIDGET_TEST_MAIN(TestAttachmentActions)
#include "tst_attachment_actions.moc"
