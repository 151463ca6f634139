// The attachment grid: which attachments get a tile and what the model says
// about them, how a tile is painted and its name split over two lines, the
// tool tip and the shared icon cache.

#include "attachmentdelegate.h"
#include "attachmenticons.h"
#include "attachmentmodel.h"
#include "tessilviewwidget.h"
#include "viewer_fixtures.h"

#include "support/test_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QListView>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>

using namespace viewertest;

namespace {

QSharedPointer<TessilAttachment> attachment(const QString& name, const QByteArray& data,
                                            const QString& contentId = QString(),
                                            const QString& mimeType = QString())
{
    auto a = QSharedPointer<TessilAttachment>::create();
    a->fileName = name;
    a->data = data;
    a->contentId = contentId;
    a->mimeType = mimeType;
    return a;
}

QSharedPointer<TessilMessage> messageWith(const QList<QSharedPointer<TessilAttachment>>& attachments)
{
    auto message = QSharedPointer<TessilMessage>::create();
    message->attachments = attachments;
    return message;
}

const int kNameWidth = AttachmentDelegate::TileWidth - 14 - 2;

} // namespace

class TestAttachmentList : public QObject
{
    Q_OBJECT

private slots:
    void inlineImagesGetNoRow();
    void rolesOfARow();
    void namesSplitOverTwoLines_data();
    void namesSplitOverTwoLines();
    void pathologicalNamesSplitQuickly();
    void tilePainting();
    void toolTipShowsWholeName();
    void iconsCachedByLowerCaseSuffix();
};

void TestAttachmentList::inlineImagesGetNoRow()
{
    // Loaded from a TNEF stream: the parser's names, the real content ids.
    MessageFixture fixture;
    fixture.htmlBody = "<html><body><img src=\"cid:logo@x\"></body></html>";
    fixture.attachments = {{QStringLiteral("first.txt"), "one"},
                           {QStringLiteral("logo.png"), "two", "logo@x", "image/png"},
                           {QStringLiteral("third.txt"), "three"}};
    const QSharedPointer<TessilMessage> message = fixture.load();
    QVERIFY(message);

    AttachmentModel model;
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setMessage(message);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.attachmentAt(0), message->attachmentAt(0));
    QCOMPARE(model.attachmentAt(1), message->attachmentAt(2));
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("third.txt"));
    QVERIFY(!model.attachmentAt(2));
    QVERIFY(!model.attachmentAt(-1));
    QCOMPARE(model.rowCount(model.index(0, 0)), 0); // a list has no children
}

void TestAttachmentList::rolesOfARow()
{
    AttachmentModel model;
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.attachmentAt(0));

    model.setMessage(messageWith({attachment(QStringLiteral("a.pdf"), "pdf bytes"),
                                  attachment(QString(), "12345", QString(), QStringLiteral("text/plain"))}));
    const QModelIndex first = model.index(0, 0);
    const QModelIndex second = model.index(1, 0);
    QCOMPARE(model.data(first, Qt::DisplayRole).toString(), QStringLiteral("a.pdf"));
    QCOMPARE(model.data(second, Qt::DisplayRole).toString(), QStringLiteral("attachment"));
    QCOMPARE(qvariant_cast<QIcon>(model.data(first, Qt::DecorationRole)).cacheKey(),
             iconForFileName(QStringLiteral("x.pdf")).cacheKey());
    const QVariant size = model.data(second, Qt::UserRole + 1);
    QCOMPARE(size.userType(), QMetaType::LongLong);
    QCOMPARE(size.toLongLong(), 5);
    QCOMPARE(model.data(second, Qt::UserRole + 2).toString(), QStringLiteral("text/plain"));
    QCOMPARE(model.data(second, Qt::UserRole + 3).toInt(), 1);
    QVERIFY(!model.data(first, Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(first, Qt::UserRole + 4).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::DisplayRole).isValid());

    model.setMessage({});
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.attachmentAt(0));
    QVERIFY(!model.data(first, Qt::DisplayRole).isValid()); // a stale index
}

void TestAttachmentList::namesSplitOverTwoLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("fits") << QStringLiteral("a.pdf");
    QTest::newRow("two lines") << QStringLiteral("quarterly-report.pdf");
    QTest::newRow("elided second line")
        << QStringLiteral("a-very-long-attachment-name-that-needs-far-more-than-two-lines-of-a-tile.docx");
    QTest::newRow("no break opportunity") << QString(60, QLatin1Char('W'));
    QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98"
                                                 "\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80.png")
                                   .repeated(3);
}

void TestAttachmentList::namesSplitOverTwoLines()
{
    QFETCH(QString, name);
    const QFontMetrics metrics(AttachmentDelegate::nameFont());
    const QStringList lines = AttachmentDelegate::splitName(name, metrics, kNameWidth);

    if (metrics.horizontalAdvance(name) <= kNameWidth) {
        QCOMPARE(lines, QStringList{name});
        return;
    }
    QCOMPARE(lines.size(), 2);
    const QString& first = lines.at(0);
    QVERIFY(name.startsWith(first));
    QVERIFY(!first.isEmpty());
    // The longest prefix that fits: one more character would not.
    QVERIFY(metrics.boundingRect(first).width() <= kNameWidth);
    qsizetype next = first.size() + 1;
    if (name.at(first.size()).isHighSurrogate())
        ++next;
    QVERIFY(metrics.boundingRect(name.left(next)).width() > kNameWidth);
    QVERIFY2(!first.back().isHighSurrogate(), "a character was cut in two");

    const QString rest = name.mid(first.size());
    QCOMPARE(lines.at(1), metrics.elidedText(rest, Qt::ElideMiddle, kNameWidth));
    QVERIFY(metrics.horizontalAdvance(lines.at(1)) <= kNameWidth);
}

void TestAttachmentList::pathologicalNamesSplitQuickly()
{
    // Soft hyphens take no room inside a line: a name that starts with very
    // many of them must not make the split measure ever longer prefixes.
    const QString zeroWidth = QString(100000, QChar(0x00AD)) + QString(40, QLatin1Char('W')) + QStringLiteral(".exe");
    const QFontMetrics metrics(AttachmentDelegate::nameFont());
    QElapsedTimer timer;
    timer.start();
    const QStringList lines = AttachmentDelegate::splitName(zeroWidth, metrics, kNameWidth);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!lines.isEmpty());
    QVERIFY(lines.size() <= 2);
}

void TestAttachmentList::tilePainting()
{
    AttachmentModel model;
    model.setMessage(messageWith({attachment(QStringLiteral("quarterly-report-2024.pdf"), "x")}));
    AttachmentDelegate delegate;
    QCOMPARE(delegate.sizeHint(QStyleOptionViewItem(), model.index(0, 0)), QSize(90, 96));

    const auto paintTile = [&](bool selected) {
        QImage image(90, 96, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 90, 96);
        option.palette = QPalette(Qt::white);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::HighlightedText, Qt::white);
        option.state = QStyle::State_Enabled;
        if (selected)
            option.state |= QStyle::State_Selected;
        QPainter painter(&image);
        delegate.paint(&painter, option, model.index(0, 0));
        return image;
    };
    const auto inkRows = [](const QImage& image, QRgb background) {
        QList<int> rows;
        for (int y = 52; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != background) {
                    rows << y;
                    break;
                }
            }
        }
        return rows;
    };

    const QImage plain = paintTile(false);
    QCOMPARE(plain.pixel(1, 1), qRgb(255, 255, 255)); // Base fill, no selection
    const QList<int> plainInk = inkRows(plain, qRgb(255, 255, 255));
    QVERIFY(!plainInk.isEmpty());
    // The name is drawn on two lines below the icon: a gap between them.
    QVERIFY(plainInk.last() - plainInk.first() + 1 > plainInk.size());

    const QImage selected = paintTile(true);
    QCOMPARE(selected.pixel(45, 2), qRgb(43, 101, 217)); // the rounded selection
    QCOMPARE(selected.pixel(0, 0), qRgb(255, 255, 255)); // outside its rounded corner
    QVERIFY(!inkRows(selected, qRgb(43, 101, 217)).isEmpty());
}

void TestAttachmentList::toolTipShowsWholeName()
{
    const QString longName = QStringLiteral("a-very-long-attachment-name-that-does-not-fit-a-tile-at-all.pdf");
    TessilViewWidget view(nullptr);
    view.resize(600, 400);
    view.setMessage(messageWith({attachment(longName, "x")}));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    auto* list = view.findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(list);
    const QRect tile = list->visualRect(list->model()->index(0, 0));
    QVERIFY(tile.isValid());
    QHelpEvent event(QEvent::ToolTip, tile.center(), list->viewport()->mapToGlobal(tile.center()));
    QApplication::sendEvent(list->viewport(), &event);
    QTRY_COMPARE(QToolTip::text(), longName);
    QToolTip::hideText();
}

void TestAttachmentList::iconsCachedByLowerCaseSuffix()
{
    const int before = cachedIconCount();
    const QIcon upper = iconForFileName(QStringLiteral("a.QZXPDF"));
    QCOMPARE(cachedIconCount(), before + 1);
    const QIcon lower = iconForFileName(QStringLiteral("b.qzxpdf"));
    QCOMPARE(cachedIconCount(), before + 1);
    QCOMPARE(lower.cacheKey(), upper.cacheKey());

    // Names without a suffix share one entry.
    const QIcon none = iconForFileName(QStringLiteral("README"));
    QCOMPARE(iconForFileName(QStringLiteral("Makefile")).cacheKey(), none.cacheKey());
    QCOMPARE(cachedIconCount(), before + 2);

    // The icon is chosen by name alone, never by what a path from the
    // message names on this machine (here a folder).
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("box.qzxdir"));
    QVERIFY(QDir().mkpath(folder));
    const QImage folderIcon = iconForFileName(folder).pixmap(48).toImage();
    QCOMPARE(folderIcon, iconForFileName(QStringLiteral("other.qzxnone")).pixmap(48).toImage());

    // The suffix is what follows the last dot.
    iconForFileName(QStringLiteral("archive.tar.qzxgz"));
    QCOMPARE(cachedIconCount(), before + 5);
    QCOMPARE(iconForFileName(QStringLiteral("other.QZXGZ")).cacheKey(),
             iconForFileName(QStringLiteral("archive.tar.qzxgz")).cacheKey());
}

QUORVIA_WIDGET_TEST_MAIN(TestAttachmentList)
#include "tst_attachment_list.moc"
