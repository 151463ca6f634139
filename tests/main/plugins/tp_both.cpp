#include "testwidgetplugin.h"

#include <QObject>

// The loader side answers its own list; the widget side answers another. Each
// base keeps its own supportedExtensions(), so the two lists stay apart.
class TpBothLoaderPart : public IDocumentPlugin
{
public:
    QStringList supportedExtensions() const override { return {QStringLiteral("djvu")}; }
};

// One root object offering both interfaces. The program tests open ".qvtest"
// files with it.
class TpBoth : public QObject, public TpBothLoaderPart, public TestWidgetPluginBase
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentPlugin IDocumentWidgetPlugin)
public:
    TpBoth() : TestWidgetPluginBase("tp_both", {QStringLiteral("qvtest")}) {}
};

#include "tp_both.moc"
