// Where the battery bar's charge comes from on Linux: the power-supply class
// of the kernel, here as a folder tree laid out like /sys/class/power_supply.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "app/linuxplatform.h"

namespace {

// device name -> attribute -> content
using Supplies = std::map<QString, std::map<QString, QString>>;

int ChargeOf(const Supplies& supplies) {
    QTemporaryDir root;
    for (const auto& [device, attributes] : supplies) {
        QDir(root.path()).mkpath(device);
        for (const auto& [name, content] : attributes) {
            QFile file(root.filePath(device + QLatin1Char('/') + name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write((content + QLatin1Char('\n')).toLatin1());
        }
    }
    return LinuxPlatform::BatteryPercentFrom(root.path());
}

TEST(BatterySourceTest, FirstSystemBatteryOrUnknown) {
    const int unknown = IPlatform::kBatteryUnknown;
    const struct {
        const char* name;
        Supplies supplies;
        int charge;
    } cases[] = {
        {"no power supply at all", {}, unknown},
        {"mains only", {{"AC", {{"type", "Mains"}, {"online", "1"}}}}, unknown},
        {"one battery", {{"BAT0", {{"type", "Battery"}, {"capacity", "57"}}}}, 57},
        {"an empty battery", {{"BAT0", {{"type", "Battery"}, {"capacity", "0"}}}}, 0},
        {"a headset's battery is not the tablet's",
         {{"hid-headset", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "20"}}},
          {"BAT1", {{"type", "Battery"}, {"scope", "System"}, {"capacity", "81"}}}},
         81},
        {"a removed battery is skipped",
         {{"BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "0"}}},
          {"BAT1", {{"type", "Battery"}, {"present", "1"}, {"capacity", "40"}}}},
         40},
        {"the first in name order",
         {{"BAT1", {{"type", "Battery"}, {"capacity", "12"}}},
          {"BAT0", {{"type", "Battery"}, {"capacity", "90"}}}},
         90},
        {"energy levels without a capacity",
         {{"BAT0", {{"type", "Battery"}, {"energy_now", "25000000"}, {"energy_full", "40000000"}}}},
         63},
        {"charge levels without a capacity",
         {{"BAT0", {{"type", "Battery"}, {"charge_now", "3000"}, {"charge_full", "3000"}}}},
         100},
        {"a capacity out of range falls back to the levels",
         {{"BAT0",
           {{"type", "Battery"}, {"capacity", "150"}, {"energy_now", "1"}, {"energy_full", "4"}}}},
         25},
        {"nothing readable",
         {{"BAT0", {{"type", "Battery"}, {"capacity", "n/a"}, {"energy_full", "0"}}}},
         unknown},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(ChargeOf(k.supplies), k.charge) << k.name;
    }
}

}  // namespace
