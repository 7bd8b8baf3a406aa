#pragma once

#include <QPointer>
#include <QWidget>

#include "app/platform.h"

// The console's platform on a Debian tablet.
//  - The clock is set with "ntpdate" (Debian package ntpsec-ntpdate), started and
//    not waited for; without it the synchronisation is skipped with a warning.
//    With LYRABOX_LOOPBACK_ONLY=1 (demo, tests) the clock is never touched.
//  - The network interfaces come from the kernel (QNetworkInterface).
//  - The network state comes from Qt's network information: NetworkManager when
//    it runs, else GLib's network monitor (the kernel's netlink); without either
//    the network counts as up.
//  - The battery charge is the "capacity" of the first battery of the system in
//    /sys/class/power_supply (peripherals' batteries left out).
class LinuxPlatform : public IPlatform {
public:
    QString ComputerName() override;
    QString HostName() override;
    QList<InterfaceAddresses> NetworkInterfaces() override;
    void SynchroniseClock(const QString& timeServer) override;
    void ShowMessage(const QString& text) override;
    bool ConfirmYesCancel(const QString& text) override;
    void Sleep(int milliseconds) override;
    bool IsInternetConnected() override;
    int BatteryPercent() override;

    // From now on the program is ending on the system's request (SIGTERM,
    // SIGHUP): nobody is there to answer a box, so a message goes to standard
    // error (the kiosk's journal) and answers at once, a question as Cancel.
    void SetEnding() { ending_ = true; }
    // The window the message boxes are centred over (the console window).
    void SetDialogOwner(QWidget* owner) { dialogOwner_ = owner; }

    // The charge of the first system battery under powerSupplyDir (the layout of
    // /sys/class/power_supply), or kBatteryUnknown.
    static int BatteryPercentFrom(const QString& powerSupplyDir);

private:
    bool ending_ = false;
    QPointer<QWidget> dialogOwner_;
    // Set once no network-information backend could be loaded, so that the
    // monitor does not look for one on every tick.
    bool networkInformationMissing_ = false;
};
