#pragma once

#include <QStringList>
#include <functional>

#include "app/platform.h"

namespace testsupport {

// A platform that records what the console asked of it and answers from its
// fields: no dialog, no sleep, no name look-up, no clock.
class FakePlatform : public IPlatform {
public:
    QString computerName = QStringLiteral("TABLET-07");
    QString hostName = QStringLiteral("tablet-07");
    QList<InterfaceAddresses> interfaces{
        {QStringLiteral("lo"), true, true, {QStringLiteral("127.0.0.1")}}};
    bool internetConnected = true;
    bool confirmAnswer = true;
    int batteryPercent = kBatteryUnknown;

    QStringList clockSyncs;     // time servers asked for, in order
    QStringList messages;       // texts of message boxes shown
    QStringList confirmations;  // texts of Yes/Cancel questions
    QList<int> sleeps;          // milliseconds slept
    // Runs while a message box is up, as the event loop runs timers then.
    std::function<void()> whileMessageShown;

    QString ComputerName() override { return computerName; }
    QString HostName() override { return hostName; }
    QList<InterfaceAddresses> NetworkInterfaces() override { return interfaces; }
    void SynchroniseClock(const QString& timeServer) override { clockSyncs << timeServer; }
    void ShowMessage(const QString& text) override {
        messages << text;
        if (whileMessageShown) {
            whileMessageShown();
        }
    }
    bool ConfirmYesCancel(const QString& text) override {
        confirmations << text;
        return confirmAnswer;
    }
    void Sleep(int milliseconds) override { sleeps << milliseconds; }
    bool IsInternetConnected() override { return internetConnected; }
    int BatteryPercent() override { return batteryPercent; }
};

}  // namespace testsupport
