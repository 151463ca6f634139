// The translation files: every text of the program (the host's and the message
// viewer's) is in every language's file, each is finished, keeps the
// placeholders, shortcut marks and line breaks of its source, and the program
// embeds them compiled as they stand.

#include "multilanguage.h"
#include "support/test_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    bool numerus = false;
    QString type;           // the translation's type attribute: unfinished, vanished, obsolete
    QStringList translations; // one, or one per plural form
};

struct TsFile
{
    QString language;
    QString sourceLanguage;
    QList<Message> messages;
    QString error;
};

TsFile readTs(const QString& path)
{
    TsFile ts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ts.error = QStringLiteral("cannot open %1").arg(path);
        return ts;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS")) {
            ts.language = xml.attributes().value(QLatin1String("language")).toString();
            ts.sourceLanguage = xml.attributes().value(QLatin1String("sourcelanguage")).toString();
        } else if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = Message();
            message.context = context;
            message.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            message.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            if (message.numerus) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("numerusform"))
                        message.translations << xml.readElementText();
                    else
                        xml.skipCurrentElement();
                }
            } else {
                message.translations << xml.readElementText();
            }
            ts.messages << message;
        }
    }
    if (xml.hasError())
        ts.error = QStringLiteral("%1: %2 at line %3").arg(path, xml.errorString()).arg(xml.lineNumber());
    return ts;
}

QString key(const Message& message)
{
    return message.context + QLatin1Char('|') + message.source + QLatin1Char('|') + message.comment;
}

QString tsPath(const QString& language)
{
    return QStringLiteral(QUORVIA_SOURCE_DIR "/main/translations/Translation_%1.ts").arg(language);
}

const QStringList& allLanguages()
{
    static const QStringList languages = {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("pt"),
                                          QStringLiteral("it"), QStringLiteral("de"), QStringLiteral("es"),
                                          QStringLiteral("ja")};
    return languages;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// %1 ... %99 and %n, as a sorted list with repetitions.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%(\\d{1,2}|n|L\\d)"));
    QStringList found;
    auto it = pattern.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(0);
    return sorted(found);
}

// The shortcut marks of a text: "&" before a letter, not the "&&" of a plain ampersand.
int shortcutMarks(const QString& text)
{
    int marks = 0;
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (!text.at(i + 1).isSpace())
            ++marks;
    }
    return marks;
}

// The number of plural forms Qt's tools expect for each language.
int pluralForms(const QString& language)
{
    return language == QLatin1String("ja") ? 1 : 2;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void filesAreFinished_data();
    void filesAreFinished();
    void everyProgramTextIsInEveryFile();
    void frenchPunctuationIsSpaced();
    void embeddedFilesMatchTheirSources_data();
    void embeddedFilesMatchTheirSources();
};

void TestTranslations::filesAreFinished_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : allLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void TestTranslations::filesAreFinished()
{
    QFETCH(QString, language);
    const TsFile ts = readTs(tsPath(language));
    QVERIFY2(ts.error.isEmpty(), qPrintable(ts.error));
    QCOMPARE(ts.language, language);
    QCOMPARE(ts.sourceLanguage, QStringLiteral("en"));
    QVERIFY(!ts.messages.isEmpty());

    QStringList problems;
    QSet<QString> seen;
    for (const Message& message : ts.messages) {
        const QString where = message.context + QLatin1String(": \"") + message.source + QLatin1Char('"');
        if (seen.contains(key(message)))
            problems << where + QLatin1String(" appears twice");
        seen.insert(key(message));
        if (!message.type.isEmpty()) {
            problems << where + QLatin1String(" is ") + message.type;
            continue;
        }
        const int forms = message.numerus ? pluralForms(language) : 1;
        if (message.translations.size() != forms) {
            problems << where + QStringLiteral(" has %1 forms instead of %2").arg(message.translations.size()).arg(forms);
            continue;
        }
        for (const QString& translation : message.translations) {
            if (translation.trimmed().isEmpty()) {
                problems << where + QLatin1String(" is empty");
                continue;
            }
            QStringList expectedPlaceholders = placeholders(message.source);
            QStringList actualPlaceholders = placeholders(translation);
            // A one-form language writes the number of a plural text once.
            if (message.numerus) {
                expectedPlaceholders.removeAll(QStringLiteral("%n"));
                actualPlaceholders.removeAll(QStringLiteral("%n"));
            }
            if (expectedPlaceholders != actualPlaceholders)
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" changes the placeholders");
            if (shortcutMarks(message.source) != shortcutMarks(translation))
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" changes the shortcut mark");
            if (message.source.count(QLatin1Char('\n')) != translation.count(QLatin1Char('\n')))
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" changes the line breaks");
            if (translation != translation.trimmed() && message.source == message.source.trimmed())
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" adds white space");
            if (message.source.endsWith(QLatin1String("..."))
                && !(translation.endsWith(QLatin1String("...")) || translation.endsWith(QChar(0x2026))))
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" drops the ellipsis");
            if (message.source.contains(QLatin1String("Veltrano Quorvia"))
                && !translation.contains(QLatin1String("Veltrano Quorvia")))
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" drops the product name");
            // English texts are their sources, unless deliberately reworded.
            if (language == QLatin1String("en") && !message.numerus && translation != message.source)
                problems << where + QLatin1String(" -> \"") + translation + QLatin1String("\" differs in English");
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::everyProgramTextIsInEveryFile()
{
    // Collect the program's texts afresh from its sources, as the update script
    // does, and compare them with each file.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString scratch = dir.filePath(QStringLiteral("scratch_en.ts"));
    QStringList arguments = {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                             QStringLiteral("none"), QStringLiteral("-source-language"), QStringLiteral("en"),
                             QStringLiteral("-target-language"), QStringLiteral("en"),
                             QStringLiteral(QUORVIA_SOURCE_DIR "/main")};
    const QString viewer = QStringLiteral(QUORVIA_SOURCE_DIR "/tessil_plugin/viewer");
    if (QDir(viewer).exists())
        arguments << viewer;
    arguments << QStringLiteral("-ts") << scratch;
    QProcess lupdate;
    lupdate.start(QStringLiteral(QUORVIA_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());

    const TsFile current = readTs(scratch);
    QVERIFY2(current.error.isEmpty(), qPrintable(current.error));
    QSet<QString> texts;
    for (const Message& message : current.messages)
        texts.insert(key(message));
    // The texts this test knows are there, in case the scan itself went wrong.
    QVERIFY(texts.contains(QStringLiteral("MainWindow|File does not exist.|")));
    QVERIFY(texts.contains(QStringLiteral("AppMenu|Recent Files|")));

    for (const QString& language : allLanguages()) {
        const TsFile ts = readTs(tsPath(language));
        QVERIFY2(ts.error.isEmpty(), qPrintable(ts.error));
        QSet<QString> inFile;
        for (const Message& message : ts.messages)
            inFile.insert(key(message));
        QStringList missing = QSet<QString>(texts).subtract(inFile).values();
        QStringList stale = QSet<QString>(inFile).subtract(texts).values();
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("Translation_%1.ts lacks (run main/translations/"
                                                              "update_translations.sh):\n")
                                                   .arg(language)
                                               + sorted(missing).join(QLatin1Char('\n'))));
        QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("Translation_%1.ts holds texts the program no longer has:\n")
                                                 .arg(language)
                                             + sorted(stale).join(QLatin1Char('\n'))));
    }
}

void TestTranslations::frenchPunctuationIsSpaced()
{
    // French sets a space before : ; ! ? (a colon inside "%1:%2" or a path is
    // no punctuation).
    const TsFile ts = readTs(tsPath(QStringLiteral("fr")));
    QVERIFY2(ts.error.isEmpty(), qPrintable(ts.error));
    static const QRegularExpression unspaced(QStringLiteral("[^\\s\\x{00A0}\\x{202F}][:;!?](?=\\s|$)"));
    QStringList problems;
    for (const Message& message : ts.messages) {
        for (const QString& translation : message.translations) {
            if (unspaced.match(translation).hasMatch())
                problems << translation;
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTranslations::embeddedFilesMatchTheirSources_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("language");
    for (const MultiLanguage::Language& language : MultiLanguage::languages())
        QTest::newRow(qPrintable(language.suffix)) << language.id << language.suffix;
}

void TestTranslations::embeddedFilesMatchTheirSources()
{
    QFETCH(int, id);
    QFETCH(QString, language);

    QTranslator embedded;
    QVERIFY(embedded.load(MultiLanguage::hostTranslationPath(id)));
    QCOMPARE(embedded.language(), language);
    // Qt's own texts come with every language but English, which needs none.
    if (language != QLatin1String("en")) {
        QTranslator qt;
        QVERIFY2(qt.load(MultiLanguage::qtTranslationPath(id)), qPrintable(MultiLanguage::qtTranslationPath(id)));
        QVERIFY(!qt.isEmpty());
    }

    // The compiled file says what its source says: the build did not embed an
    // older state of the translations.
    const TsFile ts = readTs(tsPath(language));
    QVERIFY2(ts.error.isEmpty(), qPrintable(ts.error));
    for (const Message& message : ts.messages) {
        const QByteArray context = message.context.toUtf8();
        const QByteArray source = message.source.toUtf8();
        const QByteArray comment = message.comment.toUtf8();
        const QString got = embedded.translate(context.constData(), source.constData(),
                                               comment.isEmpty() ? nullptr : comment.constData(),
                                               message.numerus ? 1 : -1);
        QCOMPARE(got, message.translations.first());
    }
}

QUORVIA_WIDGET_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
