// The battery and network monitor, the call for service it ends, and logout.
#include <gtest/gtest.h>

#include <QTest>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "booking_fixture.h"
#include "support/qt_printers.h"

namespace {

using testsupport::AdminDb;
using testsupport::BookingFixture;

const QString kCall = QStringLiteral("_root.anima_txt.text");

class MonitorTest : public BookingFixture {
protected:
    bool waiting() {
        return loadingShown() && !console().isEnabled() && console().TimerPreparation->isActive();
    }
};

TEST_F(MonitorTest, NetworkStateDrivesTheLink) {
    const struct {
        bool network;
        int linkBefore;
        bool waitLoop;
        int linkAfter;
        bool progressRuns;
    } cases[] = {
        {false, 1, false, 0, false},  // network gone: link lost, progress stopped
        {false, 0, false, 0, false},  // still gone: nothing more
        {true, 0, true, 1, false},    // back while lost: the wait loop takes over
        {true, 1, false, 1, true},    // all well: nothing
    };
    Tfplayer& c = console();
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << "network " << k.network << " link " << k.linkBefore);
        c.TimerPreparation->stop();
        c.AdvPanel1->hide();
        c.setEnabled(true);
        c.preparationTimer = 10;
        c.perintahSucces = k.linkBefore;
        c.Timer1->start();
        platform.internetConnected = k.network;

        c.TmrbatteryTimer();

        EXPECT_EQ(c.perintahSucces, k.linkAfter);
        EXPECT_EQ(waiting(), k.waitLoop);
        EXPECT_EQ(c.preparationTimer, k.waitLoop ? 99 : 10);
        EXPECT_EQ(c.Timer1->isActive(), k.progressRuns);
        // The counters show what the tick found.
        EXPECT_EQ(c.SpinEdit3->value(), 10);
        EXPECT_EQ(c.SpinEdit2->value(), k.linkBefore);
    }
    EXPECT_EQ(sent(), QStringList()) << "the monitor itself sends nothing";
    EXPECT_EQ(logEntries(), QStringList());
}

TEST_F(MonitorTest, BatteryBarShowsTheChargeAndKeepsItWhenUnknown) {
    Tfplayer& c = console();
    c.Progbattery->setRange(0, 10);
    c.Progbattery->setValue(3);
    const struct {
        int reported;
        int shown;
    } cases[] = {{57, 57}, {255, 57}, {0, 0}, {100, 100}, {255, 100}, {101, 100}};
    for (const auto& k : cases) {
        platform.batteryPercent = k.reported;
        c.TmrbatteryTimer();
        EXPECT_EQ(c.Progbattery->value(), k.shown) << k.reported;
        EXPECT_EQ(c.Progbattery->minimum(), 0);
        EXPECT_EQ(c.Progbattery->maximum(), 100);
    }

    // Unknown from the start: the bar is not touched at all.
    c.Progbattery->setRange(0, 10);
    c.Progbattery->setValue(3);
    platform.batteryPercent = IPlatform::kBatteryUnknown;
    c.TmrbatteryTimer();
    EXPECT_EQ(c.Progbattery->maximum(), 10);
    EXPECT_EQ(c.Progbattery->value(), 3);
}

class ServiceCallTest : public MonitorTest {
protected:
    void SetUp() override {
        MonitorTest::SetUp();
        console().Sys_Room->setText(kRoom);
        transaksi.exec(QStringLiteral("DELETE FROM panggilan WHERE namaroom = ") +
                       sqltext::QuotedStr(kRoom));
    }
    void TearDown() override {
        transaksi.exec(QStringLiteral("DELETE FROM panggilan WHERE namaroom = ") +
                       sqltext::QuotedStr(kRoom));
        MonitorTest::TearDown();
    }
    QList<QStringList> calls() {
        return transaksi.rows(
            QStringLiteral("SELECT jenis, selesai FROM panggilan WHERE namaroom = ") +
            sqltext::QuotedStr(kRoom) + QStringLiteral(" ORDER BY id"));
    }

    const QString kRoom = QStringLiteral("BOOKING O'NEIL");
    AdminDb transaksi{AdminDb::transaksiDatabase()};
};

TEST_F(ServiceCallTest, IndicationEndsOnTheFourthTickAndOneCallAtATime) {
    Tfplayer& c = console();
    skinCommand("call");
    EXPECT_EQ(calls(), (QList<QStringList>{{"1", "0"}}));
    EXPECT_EQ(skinVariable(kCall), "1");
    EXPECT_EQ(c.iwaiters, 1);

    skinCommand("callit");
    skinCommand("call");
    EXPECT_EQ(calls().size(), 1) << "a call while the last one is indicated";

    for (int tick = 1; tick <= 3; ++tick) {
        c.TmrbatteryTimer();
        ASSERT_EQ(skinVariable(kCall), "1") << "ended on tick " << tick;
        ASSERT_EQ(c.hitwiater, tick);
    }
    c.TmrbatteryTimer();
    EXPECT_EQ(skinVariable(kCall), "2");
    EXPECT_EQ(c.iwaiters, 0);
    EXPECT_EQ(c.hitwiater, 0);

    skinCommand("callit");
    EXPECT_EQ(calls(), (QList<QStringList>{{"1", "0"}, {"2", "0"}}));
    EXPECT_EQ(c.iwaiters, 1);
    EXPECT_EQ(c.hitwiater, 0);
    EXPECT_EQ(sent(), QStringList());
    EXPECT_EQ(logEntries(), QStringList());
}

// A call that was not stored is not shown as placed: the guest would wait for
// staff who were never called. The guest is told and may call again at once.
TEST_F(ServiceCallTest, AFailedCallIsNotIndicatedAndTheGuestIsTold) {
    const QString transactionHost = module->ServerTransaksi;
    module->ServerTransaksi = QStringLiteral("127.0.0.1:") + testsupport::ClosedPort();
    module->ADOTransaksi.Close();

    skinCommand("call");

    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("FSCommand ")) << logEntries()[0].toStdString();
    EXPECT_EQ(skinVariable(kCall), std::nullopt) << "no indication of a call never placed";
    EXPECT_EQ(console().iwaiters, 0);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_FALSE(console().lblNotice->isHidden());
    EXPECT_EQ(console().lblNotice->text(), Tfplayer::CallNotPlacedNotice());
    EXPECT_TRUE(platform.messages.isEmpty()) << "no dialog to answer";

    // The server back, the next tap places the call.
    module->ServerTransaksi = transactionHost;
    skinCommand("callit");
    EXPECT_EQ(calls(), (QList<QStringList>{{"2", "0"}}));
    EXPECT_EQ(skinVariable(kCall), "1");
    EXPECT_TRUE(console().lblNotice->hideTimer().isActive());
    EXPECT_LE(console().lblNotice->shownMilliseconds(), 8000) << "a few seconds";
    console().lblNotice->hideTimer().start(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return console().lblNotice->isHidden(); }, 5000))
        << "the notice goes by itself";
}

TEST_F(MonitorTest, LogoutAsksAndEndsTheBookingOnlyOnYes) {
    const struct {
        bool yes;
        QStringList sent;
        bool standby;
        bool clockRuns;
        int status;
    } cases[] = {
        {false, {}, false, true, 1},
        {true, {"GI#"}, true, false, 0},
    };
    // Were the status rule to run, this code would check the room in.
    addRoom({.id = 740, .code = QStringLiteral("7400"), .name = QStringLiteral("BOOKING 740")});
    Tfplayer& c = console();
    c.edtscan->setText(QStringLiteral("7400"));
    for (const auto& k : cases) {
        SCOPED_TRACE(k.yes ? "Yes" : "Cancel");
        c.Sys_Status->setCurrentIndex(1);
        c.Sys_Players->setCurrentIndex(1);
        c.pnlStanby->hide();
        c.TmrHandle->start();
        platform.confirmations.clear();
        platform.confirmAnswer = k.yes;
        clearRecords();

        skinCommand("logout");

        EXPECT_EQ(platform.confirmations, QStringList{"Anda Ingin LogOut ?"});
        EXPECT_EQ(sent(), k.sent);
        EXPECT_EQ(standbyShown(), k.standby);
        EXPECT_EQ(c.TmrHandle->isActive(), k.clockRuns);
        EXPECT_EQ(c.Sys_Status->currentIndex(), k.status);
        EXPECT_EQ(c.Sys_idroom->value(), 0) << "the status rule ran";
    }
    EXPECT_EQ(logEntries(), QStringList());
}

}  // namespace
