#include "app/tabletaddress.h"

#include <QHostAddress>
#include <QNetworkInterface>

QString ChooseTabletAddress(const QString& roomPlayerConnectionAddress,
                            const QList<InterfaceAddresses>& interfaces) {
    if (!roomPlayerConnectionAddress.isEmpty()) {
        return roomPlayerConnectionAddress;
    }
    for (const InterfaceAddresses& interface : interfaces) {
        if (!interface.up || interface.loopback) {
            continue;
        }
        for (const QString& address : interface.ipv4) {
            const QHostAddress parsed(address);
            if (parsed.protocol() == QAbstractSocket::IPv4Protocol && !parsed.isLoopback()) {
                return address;
            }
        }
    }
    return {};
}

QList<InterfaceAddresses> SystemInterfaces() {
    QList<InterfaceAddresses> result;
    for (const QNetworkInterface& system : QNetworkInterface::allInterfaces()) {
        InterfaceAddresses interface;
        interface.name = system.name();
        interface.up = system.flags().testFlag(QNetworkInterface::IsUp) &&
                       system.flags().testFlag(QNetworkInterface::IsRunning);
        interface.loopback = system.flags().testFlag(QNetworkInterface::IsLoopBack);
        for (const QNetworkAddressEntry& entry : system.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                interface.ipv4 << entry.ip().toString();
            }
        }
        result << interface;
    }
    return result;
}
