// One source for every test plug-in: the build chooses what each library offers
// (TP_KIND 1 widget, 2 loader, 3 neither interface, 4 both from one root, 5 a
// widget that also claims MIME types, 6 a loader that does), its name, the
// extensions it claims and the MIME types (both "|"-separated, spelt as a
// careless plug-in might).

#include "documentplugininterfaces.h"

#include <QFileInfo>
#include <QLabel>

#define TP_CLAIMED QString::fromUtf8(TP_EXTENSIONS).split(QLatin1Char('|'))

#if TP_KIND == 1 || TP_KIND == 4 || TP_KIND == 5
// The file's name decides: "fail-message" fails with a message, "fail-silent"
// without one; otherwise a label named after the plug-in.
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
        return label;
    }
    bool supportsBookmarks(const QString&) const override { return false; }
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
#else
class TestPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.example.other.IUnrelated/1.0")
};
#endif

#include "tp.moc"
