#pragma once

#include <QObject>
#include <QSettings>
#include <QString>

// The user's persistent settings: where the open dialog starts, which
// interface language was chosen and whether the log takes the decoder's trace
// lines. Every change is written through at once.
class AppConfig : public QObject
{
    Q_OBJECT
public:
    // The process-wide store, created on first use and never destroyed.
    static AppConfig* instance();

    // Sets the application's organisation and application names before opening
    // the store, so everything that asks Qt for them afterwards agrees; a
    // store of an earlier version is moved into place first.
    explicit AppConfig(QObject* parent = nullptr);

    QString lastOpenPath() const;
    void setLastOpenPath(const QString& path);

    int language() const;
    void setLanguage(int language);

    // "VerboseLog=true", set by hand for support: as if every start had
    // --verbose.
    bool verboseLog() const;

    // The file or registry key behind the store.
    QString storeLocation() const;

private:
    QSettings settings;
};
