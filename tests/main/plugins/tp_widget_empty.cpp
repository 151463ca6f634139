#include "testwidgetplugin.h"

#include <QObject>

class TpWidgetEmpty : public QObject, public TestWidgetPluginBase
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
public:
    TpWidgetEmpty() : TestWidgetPluginBase("tp_widget_empty", {QString()}) {}
};

#include "tp_widget_empty.moc"
