#pragma once

// The contract between the host program and its document plug-ins. Both sides
// compile against this one header; the meta-object code of the two signal-bearing
// interfaces lives once, in the quorvia_interfaces shared library, so that a
// qobject_cast or a pointer-to-signal connection made on one side of the boundary
// matches the objects made on the other.

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QtGlobal>

QT_BEGIN_NAMESPACE
class QAction;
class QWidget;
QT_END_NAMESPACE

#if defined(QUORVIA_INTERFACES_LIBRARY)
#  define QUORVIA_INTERFACES_EXPORT Q_DECL_EXPORT
#else
#  define QUORVIA_INTERFACES_EXPORT Q_DECL_IMPORT
#endif

// Offered by the host to every widget a plug-in creates; the widget may keep the
// pointer for its whole life, since the host's main window outlives every tab.
class IDocumentWidgetHost
{
public:
    virtual ~IDocumentWidgetHost() = default;
    // Folder for the plug-ins' temporary files. The host does not create it: a
    // plug-in that uses it creates it first.
    virtual QString tempDirPath() const = 0;
};

// A plug-in that shows a document in a widget of its own.
class IDocumentWidgetPlugin
{
public:
    virtual ~IDocumentWidgetPlugin() = default;
    // With or without a leading dot, any case, surrounding blanks allowed: the
    // host normalises them.
    virtual QStringList supportedExtensions() const = 0;
    // Returns a parentless widget that the caller then owns, or null after
    // storing a user-facing message in errorMessage (which may be null). Must
    // never throw.
    virtual QWidget* createWidget(const QString& filePath, QWidget* parent,
                                  IDocumentWidgetHost* host, QString* errorMessage) = 0;
    virtual bool supportsBookmarks(const QString& filePath) const = 0;
};

// A plug-in that converts documents to PDF through loader and image-exporter
// objects. How those objects are made is left to a richer host than this one.
class IDocumentPlugin
{
public:
    virtual ~IDocumentPlugin() = default;
    virtual QStringList supportedExtensions() const = 0;
};

// One conversion in progress. The first of pdfDataReady, pdfFileReady and failed
// ends it.
class QUORVIA_INTERFACES_EXPORT IDocumentLoader : public QObject
{
    Q_OBJECT
public:
    ~IDocumentLoader() override = 0;

signals:
    // total below 1 means the amount of work is unknown; detail may be empty.
    void progress(int current, int total, const QString& detail);
    void pdfDataReady(const QByteArray& pdfData);
    void pdfFileReady(const QString& pdfPath);
    void failed(const QString& errorMessage);

protected:
    explicit IDocumentLoader(QObject* parent = nullptr) : QObject(parent) {}
};

// One export of page images in progress. finished or failed ends it.
class QUORVIA_INTERFACES_EXPORT IDocumentImageExporter : public QObject
{
    Q_OBJECT
public:
    ~IDocumentImageExporter() override = 0;

signals:
    void progress(int current, int total, const QString& detail);
    void imageExported(const QString& filePath);
    void finished();
    void failed(const QString& errorMessage);

protected:
    explicit IDocumentImageExporter(QObject* parent = nullptr) : QObject(parent) {}
};

// Optional, beside IDocumentWidgetPlugin or IDocumentPlugin on the same root
// object: the MIME types the plug-in opens, for files whose suffix no plug-in
// claims. The host finds the file's type from its content (from its name when
// the content says nothing) and routes it to the plug-in that claims that type
// or its nearest parent type. Names as shared-mime-info spells them; aliases
// are accepted, case and surrounding blanks do not matter. The host also lists
// the types' file-name patterns in its open dialog.
class IDocumentMimeTypes
{
public:
    virtual ~IDocumentMimeTypes() = default;
    virtual QStringList supportedMimeTypes() const = 0;
};

// Optional, beside IDocumentWidgetPlugin on the same root object: the commands
// of a document widget, which the host offers in its menu and on the keyboard
// while that widget's tab is the current one. The host knows nothing of what
// they do.
//
// The host asks once, right after createWidget returned the widget, and keeps
// the list for the widget's life; the plug-in enables and disables the actions
// as its state changes. The actions must live at least as long as the widget
// (children of it, typically). The host:
//  - lists them in its menu, after "Recent Files", in the order given, with
//    their shortcuts shown (a separator action groups them);
//  - adds them to its window while their tab is current, and takes them off
//    again when another tab becomes current, so that their shortcuts work
//    wherever the focus is in the window and never clash with another tab's;
//  - takes off an action any shortcut that is one of its own: Ctrl+O (open),
//    Ctrl+W (close the tab), Ctrl+Q (quit), Ctrl+Tab, Ctrl+Shift+Tab,
//    Ctrl+PgDown, Ctrl+PgUp (switch tabs), F1 (user guide), and the other keys
//    the platform binds to QKeySequence::Open, Close, Quit, NextChild,
//    PreviousChild and HelpContents.
// A view may add the same actions to itself too (for a context menu, say).
//
// Views name their actions, by QObject::objectName, from this list, in this
// order: "print", "exportPdf", "find", "zoomIn", "zoomOut", "zoomReset",
// "saveAttachment", "saveAllAttachments", "properties"; one a view lacks is
// left out.
//
// A plug-in that implements this interface also names the document of each
// widget by the widget's own windowTitle (QWidget::setWindowTitle; changes
// are followed through windowTitleChanged): the host's window reads
// "<title> — Veltrano Quorvia" while its tab is current, and shows the file
// name instead while the title is empty. The titles of other plug-ins'
// widgets are not read: they never promised a meaning (Designer leaves
// "Form" in them).
class IDocumentWidgetActions
{
public:
    virtual ~IDocumentWidgetActions() = default;
    // documentWidget is a widget this plug-in's createWidget returned.
    virtual QList<QAction*> documentActions(QWidget* documentWidget) const = 0;
};

// Offered by the host to a plug-in that implements IDocumentDataWidgets: opens
// a document that the plug-in holds in memory (a message attached to another
// one, say) in a tab of its own, as if it were a file. The host outlives
// every plug-in's use of it.
class IDocumentDataHost
{
public:
    virtual ~IDocumentDataHost() = default;
    // Opens a new tab titled `title`, with `toolTip` as its tool tip (the
    // path of containing documents, say), showing the widget that `plugin`
    // (the plug-in's root object) makes for `data` and `key` through
    // IDocumentDataWidgets::createDataWidget. `key` names the document
    // among the plug-in's in-memory ones: while a tab opened for the same
    // plug-in and key is open, the host switches to it instead. Such a tab
    // adds no recent-file entry. False when no widget could be made (the
    // host then tells the user why).
    virtual bool openDocumentData(QObject* plugin, const QString& key, const QByteArray& data, const QString& title,
                                  const QString& toolTip) = 0;
};

// Optional, beside IDocumentWidgetPlugin on the same root object: widgets for
// documents held in memory, opened through IDocumentDataHost.
class IDocumentDataWidgets
{
public:
    virtual ~IDocumentDataWidgets() = default;
    // Called once by the host right after loading the plug-in.
    virtual void setDocumentDataHost(IDocumentDataHost* host) = 0;
    // As IDocumentWidgetPlugin::createWidget, for the document that the
    // plug-in asked the host to open as `key` with `data`.
    virtual QWidget* createDataWidget(const QString& key, const QByteArray& data, QWidget* parent,
                                      IDocumentWidgetHost* host, QString* errorMessage) = 0;
};

#define IDocumentPlugin_iid "com.example.reader.IDocumentPlugin/1.1"
#define IDocumentWidgetPlugin_iid "com.example.reader.IDocumentWidgetPlugin/1.0"
#define IDocumentMimeTypes_iid "com.veltrano.quorvia.IDocumentMimeTypes/1.0"
#define IDocumentWidgetActions_iid "com.veltrano.quorvia.IDocumentWidgetActions/1.0"
#define IDocumentDataWidgets_iid "com.veltrano.quorvia.IDocumentDataWidgets/1.0"

Q_DECLARE_INTERFACE(IDocumentPlugin, IDocumentPlugin_iid)
Q_DECLARE_INTERFACE(IDocumentWidgetPlugin, IDocumentWidgetPlugin_iid)
Q_DECLARE_INTERFACE(IDocumentMimeTypes, IDocumentMimeTypes_iid)
Q_DECLARE_INTERFACE(IDocumentWidgetActions, IDocumentWidgetActions_iid)
Q_DECLARE_INTERFACE(IDocumentDataWidgets, IDocumentDataWidgets_iid)
