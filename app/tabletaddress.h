#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One network interface as the tablet's address is chosen from it.
struct InterfaceAddresses {
    QString name;
    bool up = false;
    bool loopback = false;
    QStringList ipv4;  // dotted, in the system's order
};

// The address the console tells the room player ("26#"): the local address of
// its connection to the room player when there is one, because that is the
// address on the network that reaches the player; else the first IPv4 address
// outside 127.0.0.0/8 of the first interface that is up and not loopback.
// Empty when there is neither. The host's own name is no help: Debian maps it
// to 127.0.1.1.
QString ChooseTabletAddress(const QString& roomPlayerConnectionAddress,
                            const QList<InterfaceAddresses>& interfaces);

// The interfaces of this machine, from the kernel.
QList<InterfaceAddresses> SystemInterfaces();
