#include "hostshortcuts.h"

#include <QAction>

namespace hostshortcuts {

namespace {

QList<QKeySequence> keys(QKeySequence::StandardKey standard, const QList<QKeySequence>& expected)
{
    QList<QKeySequence> result = QKeySequence::keyBindings(standard);
    for (const QKeySequence& key : expected) {
        if (!result.contains(key))
            result.append(key);
    }
    return result;
}

} // namespace

QList<QKeySequence> open()
{
    return keys(QKeySequence::Open, {QKeySequence(Qt::CTRL | Qt::Key_O)});
}

QList<QKeySequence> closeTab()
{
    return keys(QKeySequence::Close, {QKeySequence(Qt::CTRL | Qt::Key_W)});
}

QList<QKeySequence> quit()
{
    return keys(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)});
}

QList<QKeySequence> nextTab()
{
    return keys(QKeySequence::NextChild, {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
}

QList<QKeySequence> previousTab()
{
    // Shift+Tab reaches a program as Backtab on X11 and Wayland.
    return keys(QKeySequence::PreviousChild,
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                 QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
}

QList<QKeySequence> userGuide()
{
    return keys(QKeySequence::HelpContents, {QKeySequence(Qt::Key_F1)});
}

QList<QKeySequence> all()
{
    return open() + closeTab() + quit() + nextTab() + previousTab() + userGuide();
}

QList<QKeySequence> release(QAction* action)
{
    QList<QKeySequence> taken;
    if (!action)
        return taken;
    const QList<QKeySequence> reserved = all();
    QList<QKeySequence> kept;
    const QList<QKeySequence> shortcuts = action->shortcuts();
    for (const QKeySequence& key : shortcuts)
        (reserved.contains(key) ? taken : kept).append(key);
    if (!taken.isEmpty())
        action->setShortcuts(kept);
    return taken;
}

} // namespace hostshortcuts
