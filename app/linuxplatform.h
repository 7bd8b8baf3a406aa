#pragma once

#include "app/platform.h"

class QWidget;

// The console's platform on a Debian tablet.
//  - The clock is set with "ntpdate" (Debian package ntpsec-ntpdate), started and
//    not waited for; without it the synchronisation is skipped with a warning.
//    With LYRABOX_LOOPBACK_ONLY=1 (demo, tests) the clock is never touched.
//  - Names resolve through the system resolver; in loopback-only mode only
//    /etc/hosts is read, so that no query leaves the machine.
//  - The network state comes from Qt's network information (NetworkManager or
//    the kernel's netlink).
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

    // Reads the addresses of hostName from a hosts file ("/etc/hosts" format), in
    // file order.
    static QStringList ResolveFromHostsFile(const QString& hostsFile, const QString& hostName);
};
