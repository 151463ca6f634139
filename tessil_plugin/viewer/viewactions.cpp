#include "viewactions.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace {

QAction* makeAction(QWidget* view, const char* name, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(view);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    return action;
}

QAction* makeSeparator(QWidget* view)
{
    auto* separator = new QAction(view);
    separator->setSeparator(true);
    return separator;
}

} // namespace

ViewActions::ViewActions(QWidget* view)
    : QObject(view)
    // Ctrl+Shift+S is spelt out: the platforms leave QKeySequence::SaveAs
    // empty. Both the shifted and the plain key of "+" zoom in, as browsers do.
    , print(makeAction(view, "print", {QKeySequence::Print}))
    , exportPdf(makeAction(view, "exportPdf", {}))
    , find(makeAction(view, "find", {QKeySequence::Find}))
    , zoomIn(makeAction(view, "zoomIn", {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}))
    , zoomOut(makeAction(view, "zoomOut", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}))
    , zoomReset(makeAction(view, "zoomReset", {QKeySequence(Qt::CTRL | Qt::Key_0)}))
    , saveAttachment(makeAction(view, "saveAttachment", {QKeySequence(Qt::CTRL | Qt::Key_S)}))
    , saveAllAttachments(makeAction(view, "saveAllAttachments", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}))
    , properties(makeAction(view, "properties", {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)}))
{
    list = {print,  exportPdf,      makeSeparator(view), find,
            zoomIn, zoomOut,        zoomReset,           makeSeparator(view),
            saveAttachment, saveAllAttachments, makeSeparator(view), properties};
    retranslate();
}

void ViewActions::retranslate()
{
    print->setText(tr("&Print..."));
    exportPdf->setText(tr("&Export as PDF..."));
    find->setText(tr("&Find..."));
    zoomIn->setText(tr("Zoom &In"));
    zoomOut->setText(tr("Zoom &Out"));
    zoomReset->setText(tr("&Actual Size"));
    saveAttachment->setText(tr("&Save Attachment..."));
    saveAllAttachments->setText(tr("Save &All Attachments..."));
    properties->setText(tr("Propert&ies"));
}
