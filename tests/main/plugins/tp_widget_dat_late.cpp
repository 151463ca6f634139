#include "testwidgetplugin.h"

#include <QObject>

// Claims ".dat" as well, to show which of two libraries wins.
class TpWidgetDatLate : public QObject, public TestWidgetPluginBase
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
public:
    TpWidgetDatLate() : TestWidgetPluginBase("tp_widget_dat_late", {QStringLiteral(".dat")}) {}
};

#include "tp_widget_dat_late.moc"
