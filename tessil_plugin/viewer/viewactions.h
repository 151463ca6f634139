#pragma once

// The commands of a message view as actions, for the host's menu and
// keyboard (IDocumentWidgetActions) and for the view's own context menus:
// print, export as PDF, find, zoom in, out and back to actual size, save the
// selected attachment or all of them, and the message's properties. Each
// carries the object name the host knows it by, its own shortcuts and a
// translated text; the view enables them and acts on them.

#include <QList>
#include <QObject>

class QAction;
class QWidget;

class ViewActions : public QObject
{
    Q_OBJECT
public:
    // The actions are children of `view`, which they live and die with.
    explicit ViewActions(QWidget* view);

    QAction* const print;
    QAction* const exportPdf;
    QAction* const find;
    QAction* const zoomIn;
    QAction* const zoomOut;
    QAction* const zoomReset;
    QAction* const saveAttachment;
    QAction* const saveAllAttachments;
    QAction* const properties;

    // In the host's order, with a separator action between the groups
    // (printing, finding and zooming, attachments, properties).
    QList<QAction*> all() const { return list; }

    // The texts again, in the interface language.
    void retranslate();

private:
    QList<QAction*> list;
};
