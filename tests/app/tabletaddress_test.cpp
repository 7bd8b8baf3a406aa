#include "app/tabletaddress.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

InterfaceAddresses Up(const QString& name, QStringList ipv4) {
    return {name, true, false, std::move(ipv4)};
}

TEST(TabletAddressTest, ChoosesTheAddressTheRoomPlayerReaches) {
    const InterfaceAddresses loopback{"lo", true, true, {"127.0.0.1"}};
    const InterfaceAddresses down{"eth0", false, false, {"10.0.0.8"}};
    const struct {
        const char* what;
        QString connection;
        QList<InterfaceAddresses> interfaces;
        QString expected;
    } cases[] = {
        {"the connection's own end wins",
         "10.20.0.17",
         {loopback, Up("wlan0", {"192.168.1.4"})},
         "10.20.0.17"},
        {"a room player on this machine is reached on loopback",
         "127.0.0.1",
         {Up("wlan0", {"192.168.1.4"})},
         "127.0.0.1"},
        {"no connection: the first interface off loopback",
         "",
         {loopback, Up("wlan0", {"192.168.1.4"}), Up("eth1", {"10.0.0.9"})},
         "192.168.1.4"},
        {"an interface that is down is passed over",
         "",
         {down, Up("wlan0", {"192.168.1.4"})},
         "192.168.1.4"},
        {"the host's name on Debian is 127.0.1.1: never told",
         "",
         {loopback, Up("dummy0", {"127.0.1.1"}), Up("wlan0", {"172.16.3.3"})},
         "172.16.3.3"},
        {"the first address of the interface",
         "",
         {Up("wlan0", {"192.168.1.4", "192.168.1.5"})},
         "192.168.1.4"},
        {"an interface without IPv4 is passed over",
         "",
         {Up("wg0", {}), Up("wlan0", {"192.168.1.4"})},
         "192.168.1.4"},
        {"only loopback: empty", "", {loopback}, ""},
        {"only down interfaces: empty", "", {down}, ""},
        {"nothing at all: empty", "", {}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseTabletAddress(c.connection, c.interfaces), c.expected) << c.what;
    }
}

}  // namespace
