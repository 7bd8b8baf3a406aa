#include "app/uloading.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <memory>

#include "app/umodule.h"
#include "support/fakeplatform.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::FakePlatform;
using testsupport::ProgramFolder;

class StartupTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    Tfmodule module;
    FakePlatform platform;
    int consolesCreated = 0;
    QPointer<QWidget> console;
    std::unique_ptr<Tfloading> loading = std::make_unique<Tfloading>(module, platform, [this] {
        ++consolesCreated;
        console = new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        return console.data();
    });

    ~StartupTest() override { delete console.data(); }

    void tick(int times) {
        for (int i = 0; i < times; ++i) {
            loading->tmrloadingTimer();
        }
    }
};

TEST_F(StartupTest, TheWindowIsAsDesignedWhenCreated) {
    EXPECT_EQ(loading->size(), QSize(453, 101));
    EXPECT_TRUE(loading->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(loading->Label2->text(), "Loading.....");
    EXPECT_EQ(loading->Label1->text(), "Monitoring.........");
    EXPECT_TRUE(loading->Label1->isHidden());
    EXPECT_EQ(loading->AdvSmoothWin8Marquee1->size(), QSize(400, 20));
    ASSERT_NE(loading->tmrloading, nullptr);
    EXPECT_EQ(loading->tmrloading->interval(), 1000);
    EXPECT_TRUE(loading->tmrloading->isActive());
    EXPECT_EQ(loading->TickCount(), 0);
}

TEST_F(StartupTest, TicksSynchroniseLearnTheAddressThenCreateTheConsoleOnce) {
    platform.interfaces = {{"lo", true, true, {"127.0.0.1"}},
                           {"wlan0", true, false, {"192.168.7.20", "10.0.0.4"}}};
    loading->show();
    EXPECT_EQ(loading->NamaPC, "TABLET-07");

    tick(1);
    EXPECT_TRUE(platform.clockSyncs.isEmpty());
    EXPECT_TRUE(loading->myip_address.isEmpty());

    tick(1);
    EXPECT_EQ(platform.clockSyncs, QStringList{module.ServerTransaksi});
    EXPECT_EQ(loading->myip_address, "192.168.7.20") << "the first address off loopback";
    EXPECT_EQ(consolesCreated, 0);

    tick(1);
    EXPECT_EQ(consolesCreated, 1);
    ASSERT_TRUE(console);
    EXPECT_TRUE(console->isVisible());
    EXPECT_EQ(loading->tmrloading, nullptr) << "the timer is destroyed: no fourth tick";
    EXPECT_EQ(platform.clockSyncs.size(), 1);
}

TEST_F(StartupTest, WithoutANetworkTheAddressIsEmpty) {
    platform.interfaces = {{"lo", true, true, {"127.0.0.1"}}};
    tick(2);
    EXPECT_TRUE(loading->myip_address.isEmpty());
}

TEST_F(StartupTest, OnlyTheComputerNamedExactlyKestrelGetsANormalWindow) {
    const struct {
        QString name;
        bool normalWindow;
    } cases[] = {{"KESTREL", true}, {"kestrel", false}, {"Kestrel", false}, {"KESTREL2", false}};
    for (const auto& c : cases) {
        platform.computerName = c.name;
        consolesCreated = 0;
        auto startup = std::make_unique<Tfloading>(module, platform, [this] {
            delete console.data();
            console = new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
            return console.data();
        });
        startup->show();
        for (int i = 0; i < 3; ++i) {
            startup->tmrloadingTimer();
        }
        ASSERT_TRUE(console);
        EXPECT_EQ(!(console->windowFlags() & Qt::FramelessWindowHint), c.normalWindow)
            << c.name.toStdString();
        EXPECT_EQ(!(console->windowFlags() & Qt::WindowStaysOnTopHint), c.normalWindow)
            << c.name.toStdString();
    }
}

TEST_F(StartupTest, ClosingSynchronisesTheClockTwiceMore) {
    tick(2);
    loading->show();
    loading->close();
    EXPECT_EQ(platform.clockSyncs.size(), 3);
}

}  // namespace
