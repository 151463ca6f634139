#include "appmenu.h"

#include "about.h"
#include "appconfig.h"
#include "apppaths.h"
#include "cvbaseservice/icvupdatesservice.h"
#include "desktoplauncher.h"
#include "hostshortcuts.h"
#include "multilanguage.h"
#include "productlinks.h"
#include "recentfiles.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace {

QAction* makeHelpAction(QObject* parent, int id)
{
    auto* action = new QAction(parent);
    action->setData(id);
    return action;
}

// Menus read a single "&" as the mark of a shortcut letter; file names are
// shown as they are.
QString menuSafe(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

AppMenu::AppMenu(QObject* parent)
    : QObject(parent)
    , helpMenu(new QMenu)
    , recentMenu(new QMenu(helpMenu))
    , languagesMenu(new QMenu(helpMenu))
    , languageGroup(new QActionGroup(this))
    , languageAction(languagesMenu->menuAction())
    , userGuideAction(makeHelpAction(this, UserGuideId))
    , productFaqAction(makeHelpAction(this, ProductFaqId))
    , feedbackAction(makeHelpAction(this, FeedbackId))
    , showLogAction(makeHelpAction(this, ShowLogId))
    , checkUpdatesAction(makeHelpAction(this, CheckUpdatesId))
    , aboutAction(makeHelpAction(this, AboutId))
    , launcher(new DesktopLauncher(this))
{
    helpMenu->addAction(recentMenu->menuAction());
    documentSeparator = helpMenu->addSeparator();
    documentSeparator->setVisible(false);
    documentsEnd = helpMenu->addSeparator();
    helpMenu->addAction(languageAction);
    helpMenu->addSeparator();
    // Without a user guide beside the program the entry would lead nowhere.
    if (!productlinks::userGuide().isEmpty())
        helpMenu->addAction(userGuideAction);
    helpMenu->addAction(feedbackAction);
    helpMenu->addAction(showLogAction);
    helpMenu->addAction(checkUpdatesAction);
    helpMenu->addAction(aboutAction);

    userGuideAction->setShortcuts(hostshortcuts::userGuide());
    userGuideAction->setShortcutVisibleInContextMenu(true);

    recentMenu->setToolTipsVisible(true);
    connect(recentMenu, &QMenu::aboutToShow, this, &AppMenu::rebuildRecentFiles);

    languageGroup->setExclusive(true);
    const QList<MultiLanguage::Language>& languages = MultiLanguage::languages();
    for (const MultiLanguage::Language& language : languages) {
        QAction* action = languagesMenu->addAction(language.nativeName);
        action->setData(language.id);
        action->setCheckable(true);
        languageGroup->addAction(action);
        connect(action, &QAction::triggered, this, &AppMenu::onLanguageActionTriggered);
    }

    connect(helpMenu, &QMenu::triggered, this, &AppMenu::onHelpMenuTriggered);
    connect(MultiLanguage::instance(), &MultiLanguage::languageChanged, this, &AppMenu::retranslate);

    retranslate();
}

AppMenu::~AppMenu()
{
    // The menu has no Qt parent (a menu's parent must be a widget, and this is
    // not one); the submenus are its children.
    delete helpMenu;
}

QAction* AppMenu::helpAction(int id) const
{
    for (QAction* action : {userGuideAction, productFaqAction, feedbackAction, aboutAction, checkUpdatesAction,
                            showLogAction}) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

QList<QAction*> AppMenu::windowActions() const
{
    if (helpMenu->actions().contains(userGuideAction))
        return {userGuideAction};
    return {};
}

void AppMenu::setDocumentActions(const QList<QAction*>& actions)
{
    for (const QPointer<QAction>& action : std::as_const(documentActions)) {
        if (action)
            helpMenu->removeAction(action);
    }
    documentActions.clear();
    for (QAction* action : actions) {
        if (!action)
            continue;
        // A menu dropped from a button counts as a context menu, where some
        // desktops hide shortcuts.
        action->setShortcutVisibleInContextMenu(true);
        helpMenu->insertAction(documentsEnd, action);
        documentActions.append(action);
    }
    documentSeparator->setVisible(!documentActions.isEmpty());
}

void AppMenu::setBookmarkMenuEnabled(bool enabled)
{
    if (bookmarkMenu)
        bookmarkMenu->setEnabled(enabled);
}

void AppMenu::retranslate()
{
    helpMenu->setTitle(tr("Help"));
    recentMenu->setTitle(tr("Recent Files"));
    languageAction->setText(tr("Language"));
    userGuideAction->setText(tr("User Guide"));
    productFaqAction->setText(tr("Product FAQ"));
    feedbackAction->setText(tr("Feedback and Support"));
    showLogAction->setText(tr("Show Log Folder"));
    checkUpdatesAction->setText(tr("Check for Updates"));
    aboutAction->setText(tr("About"));
    // The recent files, "No Recent Files" included, are rebuilt on each showing.
    markCurrentLanguage();
}

void AppMenu::markCurrentLanguage()
{
    const int current = MultiLanguage::instance()->currentLanguage();
    const QList<QAction*> actions = languageGroup->actions();
    for (QAction* action : actions)
        action->setChecked(action->data().toInt() == current);
}

void AppMenu::rebuildRecentFiles()
{
    recentMenu->clear();
    const QStringList files = loadRecentFiles();
    if (files.isEmpty()) {
        QAction* none = recentMenu->addAction(tr("No Recent Files"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QAction* action = recentMenu->addAction(
            QStringLiteral("%1. %2").arg(i + 1).arg(menuSafe(QFileInfo(path).fileName())));
        action->setData(path);
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { emit recentFileTriggered(path); });
    }
}

void AppMenu::onHelpMenuTriggered(QAction* action)
{
    // The menu also reports what was chosen in its submenus; those act on
    // their own.
    if (!action)
        return;
    const int id = action->data().toInt();
    if (helpAction(id) != action)
        return;

    switch (id) {
    case UserGuideId:
        openUserGuide();
        break;
    case ProductFaqId:
    case FeedbackId:
        QDesktopServices::openUrl(productlinks::productWebPage());
        break;
    case AboutId: {
        auto* about = new About(QApplication::activeWindow());
        about->exec(); // deletes itself when closed
        break;
    }
    case CheckUpdatesId:
        ICVUpdatesService::Shared()->CheckForUpdates();
        break;
    case ShowLogId:
        QDesktopServices::openUrl(QUrl::fromLocalFile(apppaths::logDir()));
        break;
    default:
        break;
    }
}

void AppMenu::openUserGuide()
{
    const QUrl guide = productlinks::userGuide();
    // The window the guide was asked for, should it be gone by the answer.
    const QPointer<QWidget> window = QApplication::activeWindow();
    launcher->open(guide, [this, guide, window](bool opened) {
        if (opened)
            return;
        auto* box = new QMessageBox(QMessageBox::Information, tr("User Guide"),
                                    tr("No program on this computer is set up to show web pages, so the user guide "
                                       "cannot be opened.\n\nThe guide is the file %1.")
                                        .arg(QDir::toNativeSeparators(guide.toLocalFile())),
                                    QMessageBox::Close, window);
        box->setObjectName(QStringLiteral("userGuideUnavailable"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Without a loop of its own, like every other notice of the window.
        box->open();
    });
}

void AppMenu::onBookmarkMenuTriggered(QAction* action)
{
    if (!action)
        return;
    bool ok = false;
    const int value = action->data().toInt(&ok);
    if (ok && value >= AddFile && value <= OpenManagerBookmarks)
        emit fileActionTriggered(static_cast<FileAction>(value));
}

void AppMenu::onLanguageActionTriggered()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const int id = action->data().toInt();
    MultiLanguage::instance()->switchLanguage(id);
    AppConfig::instance()->setLanguage(id);
}

AppMenu* attachAppMenu(QPushButton* button, QWidget* parent)
{
    if (!button)
        return nullptr;
    auto* appMenu = new AppMenu(parent ? static_cast<QObject*>(parent) : button);
    button->setMenu(appMenu->menu());
    return appMenu;
}
