// One source for every test plug-in: the build chooses what each library offers
// (TP_KIND 1 widget, 2 loader, 3 neither interface, 4 both from one root, 5 a
// widget that also claims MIME types, 6 a loader that does, 7 a widget with
// commands, 8 a widget that opens documents held in memory), its name, the extensions it claims and the MIME types (both
// "|"-separated, spelt as a careless plug-in might).

#include "documentplugininterfaces.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#define TP_CLAIMED QString::fromUtf8(TP_EXTENSIONS).split(QLatin1Char('|'))

#if TP_KIND == 7
namespace {
// A view's commands, with the shortcuts a view gives them; "properties" also
// claims Ctrl+W, which the host keeps for closing the tab. They are only the
// widget's children: their shortcuts work only if the host makes them.
void addViewCommands(QWidget* view)
{
    const struct
    {
        const char* name;
        const char* text;
        QList<QKeySequence> keys;
    } commands[] = {
        {"print", "Print...", {QKeySequence::Print}},
        {"exportPdf", "Export as PDF...", {}},
        {nullptr, nullptr, {}},
        {"find", "Find...", {QKeySequence::Find}},
        {"zoomIn", "Zoom In", {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {"zoomOut", "Zoom Out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {"zoomReset", "Actual Size", {QKeySequence(Qt::CTRL | Qt::Key_0)}},
        {"saveAttachment", "Save Attachment...", {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {"saveAllAttachments", "Save All Attachments...", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {"properties", "Properties", {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_W)}},
    };
    for (const auto& command : commands) {
        auto* action = new QAction(view);
        if (!command.name) {
            action->setSeparator(true);
        } else {
            action->setObjectName(QString::fromLatin1(command.name));
            action->setText(QString::fromLatin1(command.text));
            action->setShortcuts(command.keys);
        }
    }
}
} // namespace
#endif

#if TP_KIND == 1 || TP_KIND == 4 || TP_KIND == 5 || TP_KIND == 7
// The file's name decides: "fail-message" fails with a message, "fail-silent"
// without one; otherwise a label named after the plug-in. Kind 7 titles it
// "Subject of <name>" and gives it commands.
class WidgetPart : public IDocumentWidgetPlugin
{
public:
    QStringList supportedExtensions() const override { return TP_CLAIMED; }
    QWidget* createWidget(const QString& path, QWidget* parent, IDocumentWidgetHost*, QString* error) override
    {
        const QString name = QFileInfo(path).fileName();
        if (name.contains(QLatin1String("fail-message")) && error)
            *error = QStringLiteral("Test plug-in refused the file");
        if (name.contains(QLatin1String("fail-")))
            return nullptr;
        auto* label = new QLabel(path, parent);
        label->setObjectName(QStringLiteral(TP_NAME));
#if TP_KIND == 7
        label->setWindowTitle(QStringLiteral("Subject of ") + name);
        addViewCommands(label);
#else
        label->setWindowTitle(QStringLiteral("Form")); // as Designer leaves it
#endif
        return label;
    }
    bool supportsBookmarks(const QString&) const override { return false; }
};
#endif
#if TP_KIND == 7
class ActionsPart : public IDocumentWidgetActions
{
public:
    QList<QAction*> documentActions(QWidget* documentWidget) const override
    {
        if (!documentWidget || documentWidget->objectName() != QLatin1String(TP_NAME))
            return {};
        return documentWidget->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    }
};
#endif
#if TP_KIND == 2 || TP_KIND == 4 || TP_KIND == 6
// Beside a widget side the loader side answers a list of its own.
class LoaderPart : public IDocumentPlugin
{
public:
    QStringList supportedExtensions() const override { return TP_KIND == 4 ? QStringList{QStringLiteral("djvu")} : TP_CLAIMED; }
};
#endif
#if TP_KIND == 5 || TP_KIND == 6
class MimePart : public IDocumentMimeTypes
{
public:
    QStringList supportedMimeTypes() const override { return QString::fromUtf8(TP_MIME_TYPES).split(QLatin1Char('|')); }
};
#endif

#if TP_KIND == 1
class TestPlugin : public QObject, public WidgetPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
};
#elif TP_KIND == 2
class TestPlugin : public QObject, public LoaderPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentPlugin_iid)
    Q_INTERFACES(IDocumentPlugin)
};
#elif TP_KIND == 4
class TestPlugin : public QObject, public LoaderPart, public WidgetPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentPlugin IDocumentWidgetPlugin)
};
#elif TP_KIND == 5
class TestPlugin : public QObject, public WidgetPart, public MimePart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin IDocumentMimeTypes)
};
#elif TP_KIND == 6
class TestPlugin : public QObject, public LoaderPart, public MimePart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentPlugin_iid)
    Q_INTERFACES(IDocumentPlugin IDocumentMimeTypes)
};
#elif TP_KIND == 7
class TestPlugin : public QObject, public WidgetPart, public ActionsPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin IDocumentWidgetActions)
};
#elif TP_KIND == 8
// A file's widget is a button that asks the host to open the file's bytes as
// an in-memory document: key the file's name, title "Inside <name>", tool
// tip "<name> › Inside". Its widget is a label of the key and the bytes;
// bytes that begin with "fail" are refused with a message.
class TestPlugin : public QObject, public IDocumentWidgetPlugin, public IDocumentDataWidgets
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin IDocumentDataWidgets)
public:
    QStringList supportedExtensions() const override { return TP_CLAIMED; }
    QWidget* createWidget(const QString& path, QWidget* parent, IDocumentWidgetHost*, QString*) override
    {
        auto* button = new QPushButton(QStringLiteral("Open inside"), parent);
        button->setObjectName(QStringLiteral(TP_NAME));
        const QString name = QFileInfo(path).fileName();
        QFile file(path);
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        connect(button, &QPushButton::clicked, this, [this, name, data] {
            if (dataHost)
                dataHost->openDocumentData(this, name, data, QStringLiteral("Inside ") + name,
                                           name + QStringLiteral(" \u203A Inside"));
        });
        return button;
    }
    bool supportsBookmarks(const QString&) const override { return false; }
    void setDocumentDataHost(IDocumentDataHost* host) override { dataHost = host; }
    QWidget* createDataWidget(const QString& key, const QByteArray& data, QWidget* parent, IDocumentWidgetHost*,
                              QString* error) override
    {
        if (data.startsWith("fail")) {
            if (error)
                *error = QStringLiteral("Test plug-in refused the data");
            return nullptr;
        }
        auto* label = new QLabel(key + QStringLiteral(": ") + QString::fromUtf8(data), parent);
        label->setObjectName(QStringLiteral("inside"));
        return label;
    }

private:
    IDocumentDataHost* dataHost = nullptr;
};
#else
class TestPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.example.other.IUnrelated/1.0")
};
#endif

#include "tp.moc"
