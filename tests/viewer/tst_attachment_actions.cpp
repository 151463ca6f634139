// Opening and saving attachments, with the dialogs and the desktop replaced
// by a stand-in: unique names, the remembered directory, names from the
// message confined to the chosen or temporary directory, and the question
// asked before a program or script is handed to the desktop.

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
const char kSaveDirectoryKey[] = "tessil/lastAttachmentSaveDir";

class FakeHost : public IDocumentWidgetHost
{
public:
    explicit FakeHost(const QString& path) : path_(path) {}
    QString tempDirPath() const override { return path_; }

private:
    QString path_;
};

QSharedPointer<TessilAttachment> attachment(const QString& name, const QByteArray& data,
                                            const QString& contentId = QString())
{
    auto a = QSharedPointer<TessilAttachment>::create();
    a->fileName = name;
    a->data = data;
    a->contentId = contentId;
    return a;
}

QSharedPointer<TessilMessage> messageWith(const QList<QSharedPointer<TessilAttachment>>& attachments)
{
    auto message = QSharedPointer<TessilMessage>::create();
    message->subject = QStringLiteral("Files");
    message->attachments = attachments;
    return message;
}

// A view of `message` whose dialogs are a FakeDialogs, returned in `fake`.
std::unique_ptr<TessilViewWidget> viewOf(const QSharedPointer<TessilMessage>& message, IDocumentWidgetHost* host,
                                         FakeDialogs** fake)
{
    auto view = std::make_unique<TessilViewWidget>(host);
    auto dialogs = std::make_unique<FakeDialogs>();
    *fake = dialogs.get();
    view->setDialogs(std::move(dialogs));
    view->setMessage(message);
    return view;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every file and link below `root`, as paths relative to it, sorted.
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
    return QSettings().value(QLatin1String(kSaveDirectoryKey)).toString();
}

QString downloadLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

} // namespace

class TestAttachmentActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void saveAllNumbersTakenNames();
    void unnamedAttachmentSavedAsAttachmentBin();
    void rememberedDirectoryAndItsFallback();
    void singleSave();
    void singleSaveFailure();
    void hostileNamesStayInTheirDirectory_data();
    void hostileNamesStayInTheirDirectory();
    void openWritesAFreshTemporaryCopy();
    void openWithoutHostUsesSystemTemporaryFolder();
    void openFailureWarns();
    void executableAttachmentsNeedConsent_data();
    void executableAttachmentsNeedConsent();
    void executableTypes_data();
    void executableTypes();
    void contextMenu();
    void doubleClickOpens();
};

void TestAttachmentActions::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QCoreApplication::setApplicationName(QStringLiteral("Veltrano Quorvia"));
    qRegisterMetaType<QSharedPointer<TessilAttachment>>();
}

void TestAttachmentActions::init()
{
    QSettings().clear();
}

void TestAttachmentActions::saveAllNumbersTakenNames()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("report.pdf")), "already there");
    const auto message = messageWith({attachment(QStringLiteral("report.pdf"), kPdf),
                                      attachment(QStringLiteral("logo.png"), kPng, QStringLiteral("logo@x")),
                                      attachment(QStringLiteral("notes.txt"), "notes")});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);
    fake->directoryAnswer = dir.path();

    view->onSaveAllAttachments();
    QCOMPARE(fake->directoryTitles, QStringList{QStringLiteral("Select Save Directory")});
    QCOMPARE(treeOf(dir.path()), (QStringList{QStringLiteral("notes.txt"), QStringLiteral("report (2).pdf"),
                                              QStringLiteral("report.pdf")}));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("report.pdf"))), QByteArray("already there"));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("report (2).pdf"))), kPdf);
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
    QCOMPARE(storedSaveDirectory(), dir.path());

    view->onSaveAllAttachments();
    QVERIFY(treeOf(dir.path()).contains(QStringLiteral("report (3).pdf")));
    QVERIFY(treeOf(dir.path()).contains(QStringLiteral("notes (2).txt")));
    QCOMPARE(treeOf(dir.path()).size(), 5); // the inline image is never saved

    // Cancelling the directory dialog writes nothing and opens nothing.
    fake->directoryAnswer.clear();
    view->onSaveAllAttachments();
    QCOMPARE(treeOf(dir.path()).size(), 5);
    QCOMPARE(fake->openedUrls.size(), 2);
}

void TestAttachmentActions::unnamedAttachmentSavedAsAttachmentBin()
{
    // The parser names an unnamed attachment of unknown content ".bin".
    QTemporaryDir dir;
    const auto message = messageWith({attachment(QStringLiteral(".bin"), QByteArray("\x01\x02\x03", 3))});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);
    fake->directoryAnswer = dir.path();
    view->onSaveAllAttachments();
    QCOMPARE(treeOf(dir.path()), QStringList{QStringLiteral("attachment.bin")});

    // The save dialog proposes the same safe name, not a hidden file.
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(fake->saveTitles, QStringList{QStringLiteral("Save Attachment")});
    QCOMPARE(fake->saveProposals, QStringList{QDir(dir.path()).filePath(QStringLiteral("attachment.bin"))});
}

void TestAttachmentActions::rememberedDirectoryAndItsFallback()
{
    QTemporaryDir root;
    const QString first = root.filePath(QStringLiteral("first"));
    const QString second = root.filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkpath(first));
    QVERIFY(QDir().mkpath(second));
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf), attachment(QStringLiteral("b.txt"), "b")});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);

    // Nothing stored yet: both dialogs start in the download folder.
    QCOMPARE(view->lastSaveDirectory(), downloadLocation());
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    view->onSaveAllAttachments();
    QCOMPARE(fake->saveProposals.value(0), QDir(downloadLocation()).filePath(QStringLiteral("a.pdf")));
    QCOMPARE(fake->directoryStarts.value(0), downloadLocation());
    QVERIFY(storedSaveDirectory().isEmpty()); // both were cancelled

    // A single save remembers its file's directory ...
    fake->saveFileAnswer = QDir(first).filePath(QStringLiteral("chosen.pdf"));
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(storedSaveDirectory(), first);
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(1, 0));
    QCOMPARE(fake->saveProposals.last(), QDir(first).filePath(QStringLiteral("b.txt")));

    // ... a multiple save the chosen directory, even when nothing is written.
    fake->directoryAnswer = second;
    view->saveAttachments({});
    QCOMPARE(storedSaveDirectory(), first); // no rows, no question
    view->onSaveAllAttachments();
    QCOMPARE(storedSaveDirectory(), second);
    QCOMPARE(fake->directoryStarts.last(), first);

    // A remembered directory that is gone: back to the download folder.
    QVERIFY(QDir(second).removeRecursively());
    QCOMPARE(view->lastSaveDirectory(), downloadLocation());
}

void TestAttachmentActions::singleSave()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept name.pdf"));
    writeFile(target, QByteArray(4096, 'o')); // longer than what replaces it
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);
    QSignalSpy saved(view.get(), &TessilViewWidget::attachmentSaveRequested);

    fake->saveFileAnswer = target;
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(readFile(target), kPdf);
    QCOMPARE(treeOf(dir.path()), QStringList{QStringLiteral("kept name.pdf")});
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(dir.path())});
    QCOMPARE(saved.count(), 1);
    QCOMPARE(saved.at(0).at(0).value<QSharedPointer<TessilAttachment>>(), message->attachmentAt(0));
    QVERIFY(fake->warnings.isEmpty());

    // "Save as..." on the one selected tile, and on the current one when
    // nothing is selected, is this same single save.
    auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    list->selectionModel()->select(view->attachmentModel()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    view->onSaveAttachment();
    QCOMPARE(saved.count(), 2);
    list->selectionModel()->clearSelection();
    list->selectionModel()->setCurrentIndex(view->attachmentModel()->index(0, 0), QItemSelectionModel::NoUpdate);
    view->onSaveAttachment();
    QCOMPARE(saved.count(), 3);
    QVERIFY(fake->directoryTitles.isEmpty());

    // Cancelled: nothing more happens.
    fake->saveFileAnswer.clear();
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(saved.count(), 3);
    QCOMPARE(fake->openedUrls.size(), 3);
}

void TestAttachmentActions::singleSaveFailure()
{
    QTemporaryDir dir;
    QSettings().setValue(QLatin1String(kSaveDirectoryKey), dir.path());
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);
    QSignalSpy saved(view.get(), &TessilViewWidget::attachmentSaveRequested);

    const QString target = dir.filePath(QStringLiteral("missing/folder/a.pdf"));
    fake->saveFileAnswer = target;
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(fake->warnings.size(), 1);
    QCOMPARE(fake->warnings.at(0).title, QStringLiteral("Error"));
    QCOMPARE(fake->warnings.at(0).text, QStringLiteral("Cannot write to %1").arg(target));
    QCOMPARE(saved.count(), 0);
    QVERIFY(fake->openedUrls.isEmpty());
    QCOMPARE(storedSaveDirectory(), dir.path());

    view->onAttachmentDoubleClicked(QModelIndex());
    QCOMPARE(fake->saveTitles.size(), 1);
}

void TestAttachmentActions::hostileNamesStayInTheirDirectory_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent directories") << QStringLiteral("../../escape.txt");
    QTest::newRow("backslash parents") << QStringLiteral("..\\..\\escape.txt");
    QTest::newRow("absolute path") << QStringLiteral("/tmp/escape.txt");
    QTest::newRow("drive letter") << QStringLiteral("C:\\Windows\\escape.txt");
    QTest::newRow("drive relative") << QStringLiteral("C:escape.txt");
    QTest::newRow("subdirectory") << QStringLiteral("sub/dir/escape.txt");
    QTest::newRow("control characters") << QStringLiteral("esc\x01" "ape\x1B\n.txt");
    QTest::newRow("dot dot only") << QStringLiteral("..");
    QTest::newRow("hidden file") << QStringLiteral(".bashrc");
    QTest::newRow("right-to-left override") << QStringLiteral("invoice\u202Etxt.exe");
}

void TestAttachmentActions::hostileNamesStayInTheirDirectory()
{
    QFETCH(QString, name);
    QTemporaryDir root;
    const QString chosen = root.filePath(QStringLiteral("a/b/chosen"));
    const QString temporary = root.filePath(QStringLiteral("a/b/temporary"));
    QVERIFY(QDir().mkpath(chosen));
    FakeHost host(temporary);
    const auto message = messageWith({attachment(name, "payload")});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);
    fake->directoryAnswer = chosen;
    fake->confirmAnswer = true;

    view->onSaveAllAttachments();
    view->openAttachment(0);

    const QStringList tree = treeOf(root.path());
    QCOMPARE(tree.size(), 2);
    QVERIFY2(tree.at(0).startsWith(QLatin1String("a/b/chosen/")) && tree.at(0).count(QLatin1Char('/')) == 3,
             qPrintable(tree.join(QLatin1String(", "))));
    QVERIFY2(tree.at(1).startsWith(QLatin1String("a/b/temporary/")) && tree.at(1).count(QLatin1Char('/')) == 3,
             qPrintable(tree.join(QLatin1String(", "))));
    for (const QString& path : tree) {
        const QString written = QFileInfo(path).fileName();
        QVERIFY2(!written.startsWith(QLatin1Char('.')), qPrintable(written));
        for (const QChar c : written)
            QVERIFY2(c.category() != QChar::Other_Control && c != QChar(0x202E), qPrintable(written));
        QCOMPARE(readFile(root.filePath(path)), QByteArray("payload"));
    }

    // The single save proposes the safe name inside the remembered directory.
    view->onAttachmentDoubleClicked(view->attachmentModel()->index(0, 0));
    QCOMPARE(QFileInfo(fake->saveProposals.value(0)).absolutePath(), chosen);
    QCOMPARE(QFileInfo(fake->saveProposals.value(0)).fileName(), QFileInfo(tree.at(0)).fileName());
}

void TestAttachmentActions::openWritesAFreshTemporaryCopy()
{
    QTemporaryDir root;
    const QString temporary = root.filePath(QStringLiteral("not/yet/there"));
    FakeHost host(temporary);
    const auto message = messageWith({attachment(QStringLiteral("report"), kPdf)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);

    // Named after the content's type; the folder is made on the way.
    const QString path = QDir(temporary).filePath(QStringLiteral("report.pdf"));
    QCOMPARE(view->temporaryFilePath(QStringLiteral("report.pdf")), QDir::toNativeSeparators(path));
    view->openAttachment(0);
    QCOMPARE(readFile(path), kPdf);
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

    // An earlier copy, even a changed and executable one, is replaced.
    writeFile(path, QByteArray(10000, 'x'));
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser));
    view->openAttachment(0);
    QCOMPARE(readFile(path), kPdf);
    QVERIFY(!(QFile::permissions(path) & (QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup
                                          | QFileDevice::ExeOther)));

    // A link left under the name is replaced, not written through.
    const QString outside = root.filePath(QStringLiteral("outside.txt"));
    writeFile(outside, "keep me");
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(outside, path));
    view->openAttachment(0);
    QCOMPARE(readFile(outside), QByteArray("keep me"));
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(readFile(path), kPdf);
    QCOMPARE(fake->openedUrls.size(), 3);
    QVERIFY(fake->warnings.isEmpty());
    QVERIFY(fake->confirmations.isEmpty());

    view->openAttachment(1); // no such row
    view->openAttachment(-1);
    QCOMPARE(fake->openedUrls.size(), 3);
}

void TestAttachmentActions::openWithoutHostUsesSystemTemporaryFolder()
{
    QTemporaryDir temporary;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    const auto message = messageWith({attachment(QStringLiteral("photo.png"), kPng)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, nullptr, &fake);
    view->openAttachment(0);
    qputenv("TMPDIR", previous);

    QCOMPARE(treeOf(temporary.path()), QStringList{QStringLiteral("photo.png")});
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(temporary.filePath(QStringLiteral("photo.png")))});
}

void TestAttachmentActions::openFailureWarns()
{
    QTemporaryDir root;
    const QString notAFolder = root.filePath(QStringLiteral("file"));
    writeFile(notAFolder, "x");
    FakeHost host(notAFolder);
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);
    view->openAttachment(0);
    QCOMPARE(fake->warnings.size(), 1);
    QCOMPARE(fake->warnings.at(0).title, QStringLiteral("Error"));
    QCOMPARE(fake->warnings.at(0).text,
             QStringLiteral("Cannot create temp file: %1")
                 .arg(QDir::toNativeSeparators(QDir(notAFolder).filePath(QStringLiteral("a.pdf")))));
    QVERIFY(fake->openedUrls.isEmpty());
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
    QTest::newRow("text") << QStringLiteral("notes.txt") << QByteArray("shopping list\n") << false;
}

void TestAttachmentActions::executableAttachmentsNeedConsent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, asks);

    QTemporaryDir temporary;
    FakeHost host(temporary.path());
    const auto message = messageWith({attachment(name, content)});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);

    fake->confirmAnswer = false;
    view->openAttachment(0);
    if (asks) {
        QCOMPARE(fake->confirmations.size(), 1);
        QCOMPARE(fake->confirmations.at(0).title, QStringLiteral("Open Attachment"));
        QVERIFY2(fake->confirmations.at(0).text.contains(QLatin1Char('"') + name + QLatin1Char('"')),
                 qPrintable(fake->confirmations.at(0).text));
        QVERIFY(fake->confirmations.at(0).text.contains(QLatin1String("run programs")));
        // Cancel: nothing written, nothing opened.
        QVERIFY(fake->openedUrls.isEmpty());
        QVERIFY(treeOf(temporary.path()).isEmpty());

        fake->confirmAnswer = true;
        view->openAttachment(0);
        QCOMPARE(fake->confirmations.size(), 2);
    } else {
        QVERIFY(fake->confirmations.isEmpty());
    }
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(temporary.filePath(name))});
    QCOMPARE(readFile(temporary.filePath(name)), content);
    QVERIFY(!(QFile::permissions(temporary.filePath(name)) & (QFileDevice::ExeOwner | QFileDevice::ExeUser)));
}

void TestAttachmentActions::executableTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");

    const QByteArray text("plain words\n");
    const struct
    {
        const char* name;
        bool executable;
    } byName[] = {
        {"setup.exe", true},      {"SETUP.EXE", true},        {"run.exe.", true},      {"run.exe ", true},
        {"update.com", true},     {"go.bat", true},           {"go.cmd", true},        {"saver.scr", true},
        {"old.pif", true},        {"package.msi", true},      {"patch.msp", true},     {"macro.vbs", true},
        {"macro.vbe", true},      {"code.js", true},          {"code.jse", true},      {"job.wsf", true},
        {"host.wsh", true},       {"tool.ps1", true},         {"page.hta", true},      {"panel.cpl", true},
        {"app.jar", true},        {"link.lnk", true},         {"keys.reg", true},      {"help.chm", true},
        {"site.url", true},       {"start.desktop", true},    {"start.sh", true},      {"start.bash", true},
        {"installer.run", true},  {"firmware.bin", true},     {"App.AppImage", true},  {"tool.py", true},
        {"tool.pl", true},        {"tool.rb", true},          {"Tool.command", true},  {"lib.so", true},
        {"report.pdf", false},    {"photo.jpeg", false},      {"notes.txt", false},    {"archive.tar.gz", false},
        {"Makefile", false},      {"sheet.xlsx", false},      {"exe", false},          {"invoice.exe.pdf", false},
    };
    for (const auto& row : byName)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << text << row.executable;

    QTest::newRow("Windows program content") << QStringLiteral("report.pdf") << kWindowsProgram << true;
    QTest::newRow("ELF program content") << QStringLiteral("photo.jpeg") << kElfProgram << true;
    QTest::newRow("shell script content") << QStringLiteral("notes.txt") << QByteArray("#!/bin/sh\nrm -rf ~\n")
                                          << true;
    QTest::newRow("python script content") << QStringLiteral("data") << QByteArray("#!/usr/bin/env python3\n")
                                           << true;
    QTest::newRow("PDF content") << QStringLiteral("report.pdf") << kPdf << false;
    QTest::newRow("PNG content") << QStringLiteral("x.png") << kPng << false;
}

void TestAttachmentActions::executableTypes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    QCOMPARE(isExecutableAttachment(name, content), executable);
}

void TestAttachmentActions::contextMenu()
{
    QTemporaryDir root;
    FakeHost host(root.filePath(QStringLiteral("temporary")));
    const QString chosen = root.filePath(QStringLiteral("chosen"));
    QVERIFY(QDir().mkpath(chosen));
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf), attachment(QStringLiteral("b.txt"), "b"),
                                      attachment(QStringLiteral("c.txt"), "c")});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);
    view->resize(600, 400);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    const QPoint onSecond = list->visualRect(view->attachmentModel()->index(1, 0)).center();
    const QPoint empty(list->viewport()->width() - 5, list->viewport()->height() - 5);
    QVERIFY(!list->indexAt(empty).isValid());

    const QStringList all{QStringLiteral("Open"), QStringLiteral("Save as..."),
                          QStringLiteral("Save All Attachments...")};
    emit list->customContextMenuRequested(onSecond);
    emit list->customContextMenuRequested(empty);
    QCOMPARE(fake->menus, (QList<QStringList>{all, {QStringLiteral("Save All Attachments...")}}));

    fake->menuChoice = QStringLiteral("Open");
    emit list->customContextMenuRequested(onSecond);
    QCOMPARE(fake->openedUrls,
             QList<QUrl>{QUrl::fromLocalFile(QDir(host.tempDirPath()).filePath(QStringLiteral("b.txt")))});

    // "Save as..." with several tiles selected asks for a directory.
    list->selectAll();
    fake->menuChoice = QStringLiteral("Save as...");
    fake->directoryAnswer = chosen;
    emit list->customContextMenuRequested(onSecond);
    QVERIFY(fake->saveTitles.isEmpty());
    QCOMPARE(fake->directoryTitles.size(), 1);
    QCOMPARE(treeOf(chosen).size(), 3);

    fake->menuChoice = QStringLiteral("Save All Attachments...");
    emit list->customContextMenuRequested(empty);
    QCOMPARE(treeOf(chosen).size(), 6);

    // An empty list shows no menu at all.
    view->setMessage(messageWith({}));
    fake->menus.clear();
    emit list->customContextMenuRequested(empty);
    QVERIFY(fake->menus.isEmpty());
}

void TestAttachmentActions::doubleClickOpens()
{
    QTemporaryDir temporary;
    FakeHost host(temporary.path());
    const auto message = messageWith({attachment(QStringLiteral("a.pdf"), kPdf), attachment(QStringLiteral("b.txt"), "b")});
    FakeDialogs* fake = nullptr;
    const auto view = viewOf(message, &host, &fake);
    view->resize(600, 400);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    auto* list = view->findChild<QListView*>(QStringLiteral("listView"));
    const QPoint onSecond = list->visualRect(view->attachmentModel()->index(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, onSecond);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, onSecond);
    QCOMPARE(fake->openedUrls, QList<QUrl>{QUrl::fromLocalFile(temporary.filePath(QStringLiteral("b.txt")))});
    QVERIFY(fake->saveTitles.isEmpty());
}

QUORVIA_WIDGET_TEST_MAIN(TestAttachmentActions)
#include "tst_attachment_actions.moc"
