// The message view: header and information line, which attachments get a
// tile, the body view's fit, and opening and saving attachments with the
// dialogs and the desktop answered by a stand-in.

#include "attachmentdelegate.h"
#include "attachmentdialogs.h"
#include "attachmenticons.h"
#include "attachmentmodel.h"
#include "documentplugininterfaces.h"
#include "message/attachment_file_names.h"
#include "mywebviewwidget.h"
#include "tessilviewwidget.h"

#include "support/test_main.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QListView>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace {

const QByteArray kPdf("%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n");
const QByteArray kPng("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1F\x15\xC4\x89", 33);
const QByteArray kElf = QByteArray("\x7F" "ELF\x02\x01\x01\0", 8) + QByteArray(8, '\0')
    + QByteArray("\x02\0\x3E\0", 4) + QByteArray(48, '\0');
const QFileDevice::Permissions kExecutable =
    QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;

// Answers as told and records what the view asked.
struct FakeDialogs : AttachmentDialogs
{
    QString directory, saveFile; // empty: cancel
    bool consent = false;
    QStringList directoryStarts, saveProposals, warnings, confirmations;
    QList<QUrl> opened;

    QString getSaveFileName(QWidget*, const QString&, const QString& proposed) override
    {
        saveProposals << proposed;
        return saveFile;
    }
    QString getExistingDirectory(QWidget*, const QString&, const QString& start) override
    {
        directoryStarts << start;
        return directory;
    }
    void warning(QWidget*, const QString& title, const QString& text) override { warnings << title + ": " + text; }
    bool confirm(QWidget*, const QString& title, const QString& text) override
    {
        confirmations << title + ": " + text;
        return consent;
    }
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return true;
    }
};

struct Host : IDocumentWidgetHost
{
    QString path;
    QString tempDirPath() const override { return path; }
};

struct Attachment
{
    QString name;
    QByteArray data;
    QString contentId = {};
};

// A view of a message with these attachments and body.
struct Fixture
{
    explicit Fixture(const QList<Attachment>& attachments, const QByteArray& html = {}, Host* host = nullptr,
                     const QString& subject = QStringLiteral("Files"))
        : view(host)
    {
        message->subject = subject;
        message->htmlBody = html;
        for (const Attachment& a : attachments) {
            auto attachment = QSharedPointer<TessilAttachment>::create();
            attachment->fileName = a.name;
            attachment->data = a.data;
            attachment->contentId = a.contentId;
            message->attachments << attachment;
        }
        auto owned = std::make_unique<FakeDialogs>();
        fake = owned.get();
        view.setDialogs(std::move(owned));
        view.setMessage(message);
    }
    QModelIndex index(int row) const { return view.attachmentModel()->index(row, 0); }
    template <typename T> T* child(const char* name) const { return view.findChild<T*>(QLatin1String(name)); }
    bool show()
    {
        view.resize(715, 565);
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }

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
    QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

QByteArray paragraphs(int count)
{
    return QByteArray("<p>A paragraph of the message body.</p>").repeated(count);
}

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void header_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QDateTime>("sent");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<bool>("inlineOnly");
        QTest::addColumn<QString>("info");
        const QDateTime may(QDate(2024, 5, 1), QTime(10, 20, 30), Qt::LocalTime);
        QTest::newRow("placeholders") << "" << QDateTime() << QList<int>{} << false << "0 B, 0 attachment";
        QTest::newRow("markup in subject") << "<b>Budget</b> & plans" << may << QList<int>{10000, 2595} << false
                                           << "2024-05-01 10:20:30, 12.3 KB, 2 attachments";
        QTest::newRow("one") << "One" << QDateTime() << QList<int>{1023} << false << "1023 B, 1 attachment";
        // Inline images get no tile but count in the line.
        QTest::newRow("inline images only") << "Pictures" << QDateTime() << QList<int>{1000, 536} << true
                                            << "1.5 KB, 2 attachments";
    }
    void header()
    {
        QFETCH(QString, subject);
        QFETCH(QDateTime, sent);
        QFETCH(QList<int>, sizes);
        QFETCH(bool, inlineOnly);
        QFETCH(QString, info);
        QList<Attachment> attachments;
        for (int size : sizes)
            attachments << Attachment{"f.png", QByteArray(size, 'x'), inlineOnly ? "id@x" : ""};
        Fixture f(attachments, {}, nullptr, subject);
        f.message->senderEmail = subject.isEmpty() ? QString() : QStringLiteral("ana@example.com");
        f.message->sentTime = sent.toUTC();
        f.view.setMessage(f.message);

        QLabel* subjectLabel = f.child<QLabel>("subjectLabel");
        subjectLabel->ensurePolished();
        QCOMPARE(f.child<QLabel>("senderLabel")->text(), QString(subject.isEmpty() ? "<No Sender>" : "ana@example.com"));
        QCOMPARE(subjectLabel->text(), subject.isEmpty() ? QString("<No Subject>") : subject);
        QCOMPARE(subjectLabel->textFormat(), Qt::PlainText); // never read as markup
        QCOMPARE(subjectLabel->palette().color(QPalette::WindowText),
                 subject.isEmpty() ? QColor(180, 180, 180) : QColor(Qt::black));
        QCOMPARE(f.child<QLabel>("mailInfoLabel")->text(), info);
        QCOMPARE(f.view.attachmentModel()->rowCount(), inlineOnly ? 0 : sizes.size());
        QCOMPARE(f.child<QListView>("listView")->isHidden(), sizes.isEmpty() || inlineOnly);
    }

    void grid()
    {
        Fixture f({{"a.pdf", kPdf}, {"logo.png", kPng, "logo@x"}, {"", "12345"}});
        const AttachmentModel* model = f.view.attachmentModel();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->attachmentAt(1), f.message->attachmentAt(2));
        QVERIFY(!model->attachmentAt(2) && !model->attachmentAt(-1));
        QCOMPARE(f.index(1).data().toString(), QStringLiteral("attachment"));
        QCOMPARE(f.index(1).data(AttachmentModel::SizeRole).toLongLong(), 5);
        // One icon per lower-case suffix, chosen by name alone.
        const int cached = cachedIconCount();
        QCOMPARE(iconForFileName("a.QZXPDF").cacheKey(), iconForFileName("b.qzxpdf").cacheKey());
        QCOMPARE(cachedIconCount(), cached + 1);
    }

    void tileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("fits") << "a.pdf";
        QTest::newRow("two lines") << "quarterly-report.pdf";
        QTest::newRow("elided") << "a-very-long-attachment-name-that-needs-far-more-than-two-lines-of-a-tile.docx";
        QTest::newRow("emoji") << QString("😀").repeated(30);
        // Take no room: the split must not measure ever longer prefixes.
        QTest::newRow("soft hyphens") << QString(100000, QChar(0xAD)) + QString(40, u'W');
    }
    void tileNames()
    {
        QFETCH(QString, name);
        const int width = AttachmentDelegate::TileWidth - 16;
        const QFontMetrics metrics(AttachmentDelegate::nameFont());
        const QStringList lines = AttachmentDelegate::splitName(name, metrics, width);
        if (metrics.horizontalAdvance(name) <= width) {
            QCOMPARE(lines, QStringList{name});
            return;
        }
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines.at(0).isEmpty() && name.startsWith(lines.at(0)));
        QVERIFY(!lines.at(0).back().isHighSurrogate());
        QVERIFY(metrics.boundingRect(lines.at(0)).width() <= width);
        QVERIFY(metrics.horizontalAdvance(lines.at(1)) <= width);
    }

    void bodyView_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("contentId");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("no body") << QByteArray() << "" << false << false;
        QTest::newRow("short body") << paragraphs(3) << "" << true << true;
        // Without a list to follow it the body takes the page.
        QTest::newRow("no tiles") << paragraphs(3) << "id@x" << true << false;
        QTest::newRow("long body") << paragraphs(300) << "" << true << false;
    }
    void bodyView()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, contentId);
        QFETCH(bool, shown);
        QFETCH(bool, fitted);
        Fixture f({{"report.pdf", kPdf, contentId}}, html);
        QVERIFY(f.show());
        auto* body = f.child<MyWebViewWidget>("webView");
        QCOMPARE(body->isVisible(), shown);
        if (fitted) {
            QTRY_VERIFY(body->maximumHeight() < QWIDGETSIZE_MAX);
            QCOMPARE(body->maximumHeight(), std::max(body->documentHeightForWidth(body->width()) + 2, 48));
        } else {
            QTest::qWait(50);
            QCOMPARE(body->maximumHeight(), QWIDGETSIZE_MAX);
        }
    }

    // Save All writes every tile beside what is there, never over it.
    void saveAll()
    {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("report.pdf"), "mine"));
        // ".bin" is what the parser names an unnamed attachment of unknown content.
        Fixture f({{"report.pdf", kPdf}, {"logo.png", kPng, "logo@x"}, {".bin", "\x01\x02"}});
        const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        f.fake->directory = dir.path();
        f.view.onSaveAllAttachments();
        f.view.onSaveAllAttachments();
        QCOMPARE(treeOf(dir.path()), (QStringList{"attachment (2).bin", "attachment.bin", "report (2).pdf",
                                                  "report (3).pdf", "report.pdf"}));
        QCOMPARE(readFile(dir.filePath("report.pdf")), QByteArray("mine"));
        QCOMPARE(readFile(dir.filePath("report (3).pdf")), kPdf);
        QCOMPARE(f.fake->directoryStarts, (QStringList{downloads, dir.path()}));
        QCOMPARE(f.fake->opened, (QList<QUrl>{QUrl::fromLocalFile(dir.path()), QUrl::fromLocalFile(dir.path())}));

        // The single save proposes the same safe name in the remembered directory.
        f.fake->saveFile = dir.filePath("chosen.bin");
        f.view.onAttachmentDoubleClicked(f.index(1));
        QCOMPARE(f.fake->saveProposals, QStringList{dir.filePath("attachment.bin")});
        QCOMPARE(readFile(dir.filePath("chosen.bin")), QByteArray("\x01\x02"));

        f.fake->directory.clear(); // cancelled: nothing written
        f.view.onSaveAllAttachments();
        QCOMPARE(treeOf(dir.path()).size(), 6);
        QVERIFY(dir.remove());
        QCOMPARE(f.view.lastSaveDirectory(), downloads);
    }

    void hostileNamesConfined_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parents") << "../../escape.txt";
        QTest::newRow("drive letter") << "C:\\Windows\\escape.txt";
        QTest::newRow("subfolder") << "sub/dir/escape.txt";
        QTest::newRow("controls") << "esc\x01" "ape\x1B\n.txt";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("bidi override") << QString::fromUtf16(u"invoice\u202Etxt.exe");
    }
    void hostileNamesConfined()
    {
        QFETCH(QString, name);
        QTemporaryDir root;
        const QString chosen = root.filePath("a/chosen");
        QVERIFY(QDir().mkpath(chosen));
        Host host;
        host.path = root.filePath("a/temporary");
        Fixture f({{name, "payload"}}, {}, &host);
        f.fake->directory = chosen;
        f.fake->consent = true;
        f.view.onSaveAllAttachments();
        f.view.openAttachment(0);

        const QStringList tree = treeOf(root.path());
        QCOMPARE(tree.size(), 2);
        QVERIFY2(tree.at(0).startsWith("a/chosen/") && tree.at(1).startsWith("a/temporary/"), qPrintable(tree.join(',')));
        for (const QString& path : tree) {
            const QString written = path.section(u'/', 2);
            QCOMPARE(safeAttachmentFileName(written), written);
            QVERIFY(!written.contains(u'/') && !written.startsWith(u'.'));
        }
    }

    // The copy handed to the desktop is new every time, never executable,
    // and never written through whatever someone left under its name.
    void temporaryCopy()
    {
        QTemporaryDir root;
        Host host;
        host.path = root.filePath("not/yet/there");
        Fixture f({{"report", kPdf}}, {}, &host);
        const QString path = QDir(host.path).filePath("report.pdf");
        const QString outside = root.filePath("outside.txt");
        QVERIFY(writeFile(outside, "keep me"));
        QVERIFY(QDir().mkpath(host.path) && QFile::link(outside, path));
        f.view.openAttachment(0);
        QCOMPARE(readFile(outside), QByteArray("keep me"));
        QCOMPARE(readFile(path), kPdf);
        QVERIFY(!(QFile::permissions(path) & kExecutable));
        QCOMPARE(f.fake->opened, QList<QUrl>{QUrl::fromLocalFile(path)});

        host.path = outside; // a folder that cannot be made
        f.view.openAttachment(0);
        QCOMPARE(f.fake->warnings, QStringList{"Error: Cannot create temp file: " + outside + "/report.pdf"});
        QCOMPARE(f.fake->opened.size(), 1);
    }

    void executableWarning_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("asks");
        QTest::newRow("double extension") << "invoice.pdf.exe" << QByteArray("MZ") << true;
        QTest::newRow("trailing dot") << "run.exe." << QByteArray("MZ") << true;
        QTest::newRow("shell script") << "setup.sh" << QByteArray("echo hi\n") << true;
        QTest::newRow("launcher") << "Invoice.desktop" << QByteArray("[Desktop Entry]\nExec=sh\n") << true;
        QTest::newRow("program as PDF") << "report.pdf" << kElf << true;
        QTest::newRow("script as text") << "notes.txt" << QByteArray("#!/bin/sh\nrm -rf ~\n") << true;
        QTest::newRow("PDF") << "report.pdf" << kPdf << false;
        QTest::newRow("picture") << "photo.png" << kPng << false;
    }
    void executableWarning()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, asks);
        QTemporaryDir temporary;
        Host host;
        host.path = temporary.path();
        Fixture f({{name, content}}, {}, &host);
        f.view.openAttachment(0); // Cancel
        if (asks) {
            QCOMPARE(f.fake->confirmations.size(), 1);
            const QString text = f.fake->confirmations.at(0);
            QVERIFY2(text.startsWith("Open Attachment: \"") && text.contains("run programs"), qPrintable(text));
            QVERIFY(f.fake->opened.isEmpty() && treeOf(temporary.path()).isEmpty());
            f.fake->consent = true;
            f.view.openAttachment(0);
        }
        QCOMPARE(f.fake->confirmations.size(), asks ? 2 : 0);
        QCOMPARE(f.fake->opened.size(), 1);
        QCOMPARE(readFile(f.fake->opened.at(0).toLocalFile()), content);
    }

    void warningDefaultsToCancel()
    {
        // Enter on the real warning box must not open the file.
        QTimer press;
        connect(&press, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        press.start(20);
        QVERIFY(!AttachmentDialogs().confirm(nullptr, "Open Attachment", "x.exe"));
    }
};

QUORVIA_WIDGET_TEST_MAIN(TestViewer)
#include "tst_viewer.moc"
