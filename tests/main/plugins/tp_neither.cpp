#include <QObject>
#include <QtPlugin>

// A valid Qt plug-in whose root object offers neither document interface.
class TpNeither : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.example.other.IUnrelated/1.0")
};

#include "tp_neither.moc"
