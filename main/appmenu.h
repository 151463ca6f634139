#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class DesktopLauncher;
class QAction;
class QActionGroup;
class QMenu;
class QPushButton;
class QWidget;

// The application menu that drops down from the frame's menu button: recent
// files, the current document's commands, the interface language and the
// help entries. It turns the user's choices into requests; opening a file is
// the main window's affair.
class AppMenu : public QObject
{
    Q_OBJECT
public:
    enum FileAction {
        AddFile = 1,
        ClearAll = 2,
        SelectAll = 3,
        AppClose = 4,
        ClearFinishedItems = 5,
        AddBookmark = 6,
        OpenManagerBookmarks = 7,
    };
    Q_ENUM(FileAction)

    // Help entries, kept as each action's data.
    enum HelpId {
        UserGuideId = 100,
        ProductFaqId = 101,
        FeedbackId = 102,
        AboutId = 103,
        CheckUpdatesId = 104,
        ShowLogId = 105,
    };

    explicit AppMenu(QObject* parent = nullptr);
    ~AppMenu() override;

    QMenu* menu() const { return helpMenu; }
    QMenu* recentFilesMenu() const { return recentMenu; }
    QMenu* languageMenu() const { return languagesMenu; }
    // The help action with this id, or null.
    QAction* helpAction(int id) const;
    // The entries whose shortcuts the window carries, whether or not the
    // menu is reachable from it.
    QList<QAction*> windowActions() const;

    // Enables or disables the bookmark submenu; this product has none.
    void setBookmarkMenuEnabled(bool enabled);

signals:
    void fileActionTriggered(AppMenu::FileAction action);
    void recentFileTriggered(QString filePath);

public slots:
    void onHelpMenuTriggered(QAction* action);
    void onBookmarkMenuTriggered(QAction* action);
    // Called by a language action: its data is the language identifier.
    void onLanguageActionTriggered();
    void retranslate();
    // Lists a document's commands after "Recent Files", in this order, with
    // their shortcuts; replaces those listed before. The actions stay their
    // owner's.
    void setDocumentActions(const QList<QAction*>& actions);

private:
    void rebuildRecentFiles();
    void markCurrentLanguage();
    // Hands the user guide to the desktop, and says so when nothing shows it.
    void openUserGuide();

    QMenu* helpMenu;
    QMenu* recentMenu;
    QMenu* languagesMenu;
    QMenu* bookmarkMenu = nullptr; // not offered in this product
    QActionGroup* languageGroup;
    QAction* languageAction;
    QAction* documentSeparator;
    QAction* documentsEnd; // the separator after the document's commands
    QList<QPointer<QAction>> documentActions;
    QAction* userGuideAction;
    QAction* productFaqAction;
    QAction* feedbackAction;
    QAction* showLogAction;
    QAction* checkUpdatesAction;
    QAction* aboutAction;
    DesktopLauncher* launcher;
};

// Gives the button its drop-down application menu. The menu object's Qt parent
// is parent, or the button when parent is null; null when button is null.
AppMenu* attachAppMenu(QPushButton* button, QWidget* parent);
