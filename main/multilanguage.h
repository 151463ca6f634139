#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QTranslator;

// Switches the interface between its seven languages: one translator for the
// program's own texts (the host's and the plug-ins'), one for Qt's standard
// texts, both loaded from the embedded resources. Whoever shows texts re-sets
// them on languageChanged().
class MultiLanguage : public QObject
{
    Q_OBJECT
public:
    // One interface language. The identifier is what the settings store keeps.
    struct Language
    {
        int id;
        QString nativeName; // as the menu lists it: in the language itself
        QString suffix;     // "en", "fr", ... in the resource file names
        int localizationCode; // what the maker's localisation manager receives
    };

    static constexpr int kEnglish = 1;

    // The process-wide object, created on first use and never destroyed. Its
    // translators are installed in the application from the start.
    static MultiLanguage* instance();

    // The seven languages, in identifier order.
    static const QList<Language>& languages();
    // The language for an identifier: English for anything outside 2 to 7.
    static const Language& languageFor(int id);
    static QString hostTranslationPath(int id);
    static QString qtTranslationPath(int id);

    // Loads both translation files of the language and tells the interface.
    // A file that does not load leaves its translator empty, so those texts
    // stay as written in the program (English).
    void switchLanguage(int id);
    // Switches to the language kept in the settings (English when none is).
    void applyStoredLanguage();

    // Identifier of the language loaded last (1 to 7); English before any switch.
    int currentLanguage() const { return current; }

    const QTranslator* hostTranslator() const { return hostTexts; }
    const QTranslator* qtTranslator() const { return qtTexts; }

signals:
    void languageChanged();

private:
    MultiLanguage();

    QTranslator* hostTexts;
    QTranslator* qtTexts;
    int current = kEnglish;
};
