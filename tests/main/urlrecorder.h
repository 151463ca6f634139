#pragma once

// Stands in for the desktop: while it lives, the URLs that the program asks
// QDesktopServices to open for the given schemes are recorded instead.

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    explicit UrlRecorder(const QStringList& schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                                      QStringLiteral("file")})
        : handled(schemes)
    {
        for (const QString& scheme : handled)
            QDesktopServices::setUrlHandler(scheme, this, "record");
    }

    ~UrlRecorder() override
    {
        for (const QString& scheme : handled)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> urls;

public slots:
    void record(const QUrl& url) { urls.append(url); }

private:
    QStringList handled;
};
