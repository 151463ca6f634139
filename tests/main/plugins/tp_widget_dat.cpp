#include "testwidgetplugin.h"

#include <QObject>

class TpWidgetDat : public QObject, public TestWidgetPluginBase
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
public:
    TpWidgetDat()
        : TestWidgetPluginBase("tp_widget_dat",
                               {QStringLiteral("DAT"), QStringLiteral(" .Dat "), QStringLiteral("dat")}) {}
};

#include "tp_widget_dat.moc"
