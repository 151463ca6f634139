#pragma once

// A stand-in for the dialogs and desktop calls of the attachment actions:
// answers as told and records what was asked.

#include "attachmentdialogs.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace viewertest {

// Answers the attachment actions' questions. Everything asked is recorded.
class FakeDialogs : public AttachmentDialogs
{
public:
    struct Shown
    {
        QString title;
        QString text;
    };

    // Answers.
    QString saveFileAnswer;     // empty: cancel
    QString directoryAnswer;    // empty: cancel
    QString menuChoice;         // text of the action to pick; empty: dismiss
    bool confirmAnswer = false; // true: OK

    // Records.
    QStringList saveProposals;
    QStringList saveTitles;
    QStringList directoryStarts;
    QStringList directoryTitles;
    QList<QStringList> menus; // action texts of each menu shown
    QList<Shown> warnings;
    QList<Shown> confirmations;
    QList<QUrl> openedUrls;

    QString getSaveFileName(QWidget*, const QString& title, const QString& proposedPath) override
    {
        saveTitles << title;
        saveProposals << proposedPath;
        return saveFileAnswer;
    }
    QString getExistingDirectory(QWidget*, const QString& title, const QString& startDirectory) override
    {
        directoryTitles << title;
        directoryStarts << startDirectory;
        return directoryAnswer;
    }
    QAction* execMenu(QMenu* menu, const QPoint&) override
    {
        QStringList texts;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            if (action->text() == menuChoice)
                chosen = action;
        }
        menus << texts;
        return chosen;
    }
    void warning(QWidget*, const QString& title, const QString& text) override { warnings << Shown{title, text}; }
    bool confirm(QWidget*, const QString& title, const QString& text) override
    {
        confirmations << Shown{title, text};
        return confirmAnswer;
    }
    bool openUrl(const QUrl& url) override
    {
        openedUrls << url;
        return true;
    }
};

} // namespace viewertest
