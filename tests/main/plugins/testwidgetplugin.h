#pragma once

// Behaviour shared by the widget plug-ins that the host tests build. What a
// file's name contains decides what createWidget does:
//   "fail-message"  -> null, with the message "Test plug-in refused the file"
//   "fail-silent"   -> null, without touching the message
//   "bookmarks"     -> supportsBookmarks() answers true
//   anything else   -> a QLabel named after the plug-in, showing the path

#include "documentplugininterfaces.h"

#include <QFileInfo>
#include <QLabel>

class TestWidgetPluginBase : public IDocumentWidgetPlugin
{
public:
    TestWidgetPluginBase(const char* name, QStringList extensions)
        : name_(QString::fromLatin1(name)), extensions_(std::move(extensions)) {}

    QStringList supportedExtensions() const override { return extensions_; }

    QWidget* createWidget(const QString& filePath, QWidget* parent, IDocumentWidgetHost* host,
                          QString* errorMessage) override
    {
        const QString fileName = QFileInfo(filePath).fileName();
        if (fileName.contains(QLatin1String("fail-message"))) {
            if (errorMessage)
                *errorMessage = QStringLiteral("Test plug-in refused the file");
            return nullptr;
        }
        if (fileName.contains(QLatin1String("fail-silent")))
            return nullptr;
        auto* label = new QLabel(filePath, parent);
        label->setObjectName(name_);
        label->setProperty("hostTempDir", host ? host->tempDirPath() : QString());
        return label;
    }

    bool supportsBookmarks(const QString& filePath) const override
    {
        return QFileInfo(filePath).fileName().contains(QLatin1String("bookmarks"));
    }

private:
    QString name_;
    QStringList extensions_;
};
