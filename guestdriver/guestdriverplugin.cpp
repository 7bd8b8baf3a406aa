// Loaded by Qt as a generic plugin when the console is started with
// QT_QPA_GENERIC_PLUGINS=lyraboxguest:PORT (and QT_PLUGIN_PATH naming the
// folder above "generic/"): the console itself carries no test code.
#include <QGenericPlugin>

#include "guestdriver.h"

class TGuestDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "guestdriver.json")

public:
    QObject* create(const QString& key, const QString& portText) override {
        if (key != QLatin1String("lyraboxguest")) {
            return nullptr;
        }
        bool valid = false;
        const uint port = portText.toUInt(&valid);
        if (!valid || port == 0 || port > 65535) {
            qWarning("guest driver: %s is not a port", qPrintable(portText));
            return nullptr;
        }
        return new TGuestDriver(static_cast<quint16>(port));
    }
};

#include "guestdriverplugin.moc"
