#pragma once

#include <QString>
#include <QStringList>

#include "app/tabletaddress.h"

// What the console needs from the machine it runs on. LinuxPlatform is the real
// one; tests give their own, so that no test shows a dialog, sleeps, resolves a
// name or touches the clock.
class IPlatform {
public:
    virtual ~IPlatform() = default;

    virtual QString ComputerName() = 0;
    virtual QString HostName() = 0;
    // The machine's network interfaces with their IPv4 addresses.
    virtual QList<InterfaceAddresses> NetworkInterfaces() = 0;
    // Starts setting the clock from the time service of timeServer and returns
    // at once; the outcome is not reported.
    virtual void SynchroniseClock(const QString& timeServer) = 0;

    // A message box with an OK button; returns when it is dismissed.
    virtual void ShowMessage(const QString& text) = 0;
    // A question with the buttons Yes and Cancel; true for Yes.
    virtual bool ConfirmYesCancel(const QString& text) = 0;
    virtual void Sleep(int milliseconds) = 0;
    // The system's word on whether the network is up.
    virtual bool IsInternetConnected() = 0;

    // The battery's charge in percent, 0 to 100, or kBatteryUnknown when there
    // is no battery or its charge cannot be read.
    static constexpr int kBatteryUnknown = 255;
    virtual int BatteryPercent() = 0;
};
