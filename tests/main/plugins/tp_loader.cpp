#include "documentplugininterfaces.h"

#include <QObject>

class TpLoader : public QObject, public IDocumentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IDocumentPlugin_iid)
    Q_INTERFACES(IDocumentPlugin)
public:
    QStringList supportedExtensions() const override
    {
        return {QStringLiteral("pdf"), QStringLiteral(" XPS")};
    }
};

#include "tp_loader.moc"
