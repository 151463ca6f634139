#include "multilanguage.h"

#include "appconfig.h"
#include "applicationservices.h"
#include "cvbaseservice/icvupdatesservice.h"
#include "cvfoundation/icvlocalizationmgr.h"

#include <QCoreApplication>
#include <QTranslator>

MultiLanguage* MultiLanguage::instance()
{
    static MultiLanguage* const multiLanguage = new MultiLanguage;
    return multiLanguage;
}

MultiLanguage::MultiLanguage()
    : QObject(nullptr)
    , hostTexts(new QTranslator(this))
    , qtTexts(new QTranslator(this))
{
    QCoreApplication::installTranslator(hostTexts);
    QCoreApplication::installTranslator(qtTexts);
}

const QList<MultiLanguage::Language>& MultiLanguage::languages()
{
    static const QList<Language> table = {
        {1, QStringLiteral("English"), QStringLiteral("en"), 0},
        {2, QStringLiteral("Français"), QStringLiteral("fr"), 2},
        {3, QStringLiteral("Português"), QStringLiteral("pt"), 6},
        {4, QStringLiteral("Italiano"), QStringLiteral("it"), 4},
        {5, QStringLiteral("Deutsch"), QStringLiteral("de"), 3},
        {6, QStringLiteral("Español"), QStringLiteral("es"), 5},
        {7, QStringLiteral("日本語"), QStringLiteral("ja"), 1},
    };
    return table;
}

const MultiLanguage::Language& MultiLanguage::languageFor(int id)
{
    const QList<Language>& table = languages();
    for (const Language& language : table) {
        if (language.id == id)
            return language;
    }
    return table.first();
}

QString MultiLanguage::hostTranslationPath(int id)
{
    return QStringLiteral(":/translations/language/Translation_%1.qm").arg(languageFor(id).suffix);
}

QString MultiLanguage::qtTranslationPath(int id)
{
    return QStringLiteral(":/translations/language/qt_%1.qm").arg(languageFor(id).suffix);
}

void MultiLanguage::switchLanguage(int id)
{
    const Language& language = languageFor(id);
    current = language.id;

    // load() empties a translator before it reads, so a missing file (there is
    // no Qt file for English) leaves it empty rather than in the old language.
    (void)hostTexts->load(hostTranslationPath(language.id));
    (void)qtTexts->load(qtTranslationPath(language.id));

    emit languageChanged();

    if (const ApplicationServices* services = ApplicationServices::instance())
        ICVUpdatesService::Shared()->SetProductMeta(services->productMeta(), true);
    ICVLocalizationMgr::SharedLocalizationMgr()->SetLanguage(language.localizationCode);
}

void MultiLanguage::applyStoredLanguage()
{
    switchLanguage(AppConfig::instance()->language());
}
