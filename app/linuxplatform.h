#pragma once

#include "app/platform.h"

class QWidget;

// The console's platform on a Debian tablet.
//  - The clock is set with "ntpdate" (Debian package ntpsec-ntpdate), started and
//    not waited for; without it the synchronisation is skipped with a warning.
//    With LYRABOX_LOOPBACK_ONLY=1 (demo, tests) the clock is never touched.
//  - Names resolve through the system resolver; in loopback-only mode only
//    /etc/hosts is read, so that no query leaves the machine.
//  - The network state comes from Qt's network information: NetworkManager when
//    it runs, else GLib's network monitor (the kernel's netlink); without either
//    the network counts as up.
//  - The battery charge is the "capacity" of the first battery of the system in
//    /sys/class/power_supply (peripherals' batteries left out).
class LinuxPlatform : public IPlatform {
public:
    QString ComputerName() override;
    QString HostName() override;
    QStringList ResolveIPv4(const QString& hostName) override;
    void SynchroniseClock(const QString& timeServer) override;
    void ShowMessage(const QString& text) override;
    bool ConfirmYesCancel(const QString& text) override;
    void Sleep(int milliseconds) override;
    bool IsInternetConnected() override;
    int BatteryPercent() override;

    // The charge of the first system battery under powerSupplyDir (the layout of
    // /sys/class/power_supply), or kBatteryUnknown.
    static int BatteryPercentFrom(const QString& powerSupplyDir);

    // Reads the addresses of hostName from a hosts file ("/etc/hosts" format), in
    // file order.
    static QStringList ResolveFromHostsFile(const QString& hostsFile, const QString& hostName);

private:
    // Set once no network-information backend could be loaded, so that the
    // monitor does not look for one on every tick.
    bool networkInformationMissing_ = false;
};
