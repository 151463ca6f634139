#pragma once

#include <QObject>
#include <QSettings>
#include <QString>

// The user's persistent settings: where the open dialog starts and which
// interface language was chosen. Every change is written through at once.
class AppConfig : public QObject
{
    Q_OBJECT
public:
    // The process-wide store, created on first use and never destroyed.
    static AppConfig* instance();

    // Sets the application's organisation and application names before opening
    // the store, so everything that asks Qt for them afterwards agrees.
    explicit AppConfig(QObject* parent = nullptr);

    QString lastOpenPath() const;
    void setLastOpenPath(const QString& path);

    int language() const;
    void setLanguage(int language);

    // The file or registry key behind the store.
    QString storeLocation() const;

private:
    QSettings settings;
};
