#include "testwidgetplugin.h"

#include <QObject>

// Built with an upper-case library suffix.
class TpWidgetUpper : public QObject, public TestWidgetPluginBase
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentWidgetPlugin_iid)
    Q_INTERFACES(IDocumentWidgetPlugin)
public:
    TpWidgetUpper() : TestWidgetPluginBase("tp_widget_upper", {QStringLiteral("upper")}) {}
};

#include "tp_widget_upper.moc"
