// Check-in on the standby screen and the status fields' rules: the room
// look-up, the booking record, the booking start and the exit code.
#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include "app/uloading.h"
#include "booking_fixture.h"
#include "support/qt_printers.h"

namespace {

using testsupport::BookingFixture;

class CheckInTest : public BookingFixture {
protected:
    void SetUp() override {
        BookingFixture::SetUp();
        startUp();
    }

    // The fields, timers and panels a check-in may change, in one comparable text.
    QString consoleState() {
        Tfplayer& c = console();
        return QStringList{QString::number(c.Sys_idroom->value()),
                           c.Sys_Room->text(),
                           QString::number(c.Sys_Port->value()),
                           c.Sys_Channel->text(),
                           c.SYS_IP->text(),
                           QString::number(c.Sys_Status->currentIndex()),
                           QString::number(c.Sys_Players->currentIndex()),
                           c.Sys_User->text(),
                           QString::number(c.Sys_Durasi->value()),
                           c.lblUserNow->text(),
                           QString::number(standbyShown()),
                           QString::number(loadingShown()),
                           QString::number(c.isEnabled()),
                           QString::number(c.TmrHandle->isActive()),
                           QString::number(c.Tmrbattery->isActive()),
                           QString::number(c.TimerPreparation->isActive()),
                           QString::number(c.preparationTimer)}
            .join(QLatin1Char('|'));
    }

    // Whether START with this code asks the application to end: the test's
    // own event loop ends at once, or only on the fallback queued after it.
    bool startQuitsTheApplication(const QString& code) {
        QTimer::singleShot(0, [&] {
            checkIn(code);
            QTimer::singleShot(0, [] { QCoreApplication::exit(7); });
        });
        return QCoreApplication::exec() == 0;
    }

    const Room guest{.id = 701,
                     .code = QStringLiteral("7011"),
                     .name = QStringLiteral("BOOKING 701"),
                     .jam = QDateTime(QDate(2024, 5, 17), QTime(19, 30, 0)),
                     .user = QStringLiteral("BUDI")};
};

TEST_F(CheckInTest, UnknownCodeChangesNothing) {
    addRoom(guest);
    const QString before = consoleState();
    // Codes compare exactly: no trimming, no prefix; the exit code with more
    // after it is an ordinary code.
    for (const QString code : {"", "9999", "7011 ", " 7011", "701", "5837160"}) {
        SCOPED_TRACE(code.toStdString());
        checkIn(code);
        EXPECT_EQ(consoleState(), before);
        EXPECT_EQ(sent(), QStringList());
        EXPECT_TRUE(skinWrites().isEmpty());
        EXPECT_EQ(logEntries(), QStringList());
        EXPECT_TRUE(console().LblStandbyNotice->isHidden()) << "an unknown code gets no answer";
    }
}

// The same room as before runs the booking start through the status rule at
// the end of the check-in; another room runs it from inside the refresh that
// its new id starts. Either way it happens once.
class CheckInRoomTest : public CheckInTest, public ::testing::WithParamInterface<int> {};

TEST_P(CheckInRoomTest, StartsTheBookingOnce) {
    addRoom(guest);
    Tfplayer& c = console();
    c.Sys_idroom->setValue(GetParam());
    clearRecords();

    checkIn(guest.code);

    EXPECT_EQ(sent(), (QStringList{"GO#", "26#127.0.0.1"}))
        << "the tablet's end of the connection that carried GO#";
    EXPECT_EQ(c.Sys_idroom->value(), 701);
    EXPECT_EQ(c.Sys_Room->text(), "BOOKING 701");
    EXPECT_EQ(c.Sys_Port->value(), room.port());
    EXPECT_EQ(c.Sys_Channel->text(), "CH-A");
    EXPECT_EQ(c.SYS_IP->text(), room.host());
    EXPECT_EQ(c.Sys_Status->currentText(), "ACTIVE");
    EXPECT_EQ(c.Sys_Players->currentText(), "ACTIVE");
    EXPECT_EQ(c.Sys_User->text(), "BUDI");
    EXPECT_EQ(c.Sys_Jam->time(), QTime(19, 30, 0));
    EXPECT_EQ(c.Sys_Durasi->value(), 120);
    EXPECT_EQ(c.sjam, guest.jam);
    EXPECT_EQ(c.suser, "BUDI");
    EXPECT_EQ(c.lblUserNow->text(), "BUDI");
    EXPECT_EQ(skinVariable("_root.isitextdurasi.text"), "00:00:00");
    EXPECT_EQ(c.edtscan->text(), "7011") << "the field keeps the code";

    EXPECT_FALSE(standbyShown());
    EXPECT_TRUE(loadingShown());
    EXPECT_FALSE(c.isEnabled());
    EXPECT_EQ(c.preparationTimer, 7);
    EXPECT_TRUE(c.TimerPreparation->isActive());
    EXPECT_TRUE(c.TmrHandle->isActive());
    EXPECT_TRUE(c.Tmrbattery->isActive());
    EXPECT_EQ(logEntries(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(SameOrAnotherRoom, CheckInRoomTest, ::testing::Values(701, 0));

// The start-up window's address comes from the interfaces; the room player
// is told the address its own connection came from, which is on its network.
TEST_F(CheckInTest, TheRoomPlayerIsToldTheAddressItsConnectionCameFrom) {
    Tfloading loading(*module, platform, [] { return nullptr; });
    loading.tmrloading->stop();
    loading.myip_address = QStringLiteral("10.1.2.3");
    Tfplayer second(*module, platform, &loading);
    for (int tick = 1; tick <= 4; ++tick) {
        second.TimerPreparationTimer();
    }
    ASSERT_TRUE(second.isEnabled());
    addRoom(guest);

    second.edtscan->setText(guest.code);
    second.AdvSmoothButton5Click();

    EXPECT_EQ(sent(), (QStringList{"GO#", "26#127.0.0.1"}));
}

// Rooms that are not both ACTIVE stay on standby and send nothing; what
// happens to the clock and to Sys_Status depends on which flag is off.
TEST_F(CheckInTest, RoomNotFullyActiveStaysOnStandby) {
    const struct {
        int status, players;
        const char* statusAfter;
        bool clockRunsAfter;
    } cases[] = {
        {1, 0, "NOT ACTIVE", true},   // players rule: Sys_Status set back
        {0, 1, "NOT ACTIVE", false},  // status rule: clock stopped
        {0, 0, "NOT ACTIVE", true},   // status rule stops at the players flag
    };
    int id = 710;
    for (const auto& k : cases) {
        SCOPED_TRACE(::testing::Message() << "status " << k.status << " players " << k.players);
        Room r = guest;
        r.id = id;
        r.code = QString::number(id);
        r.name = QStringLiteral("BOOKING %1").arg(id);
        r.status = k.status;
        r.players = k.players;
        addRoom(r);
        ++id;
        console().TmrHandle->start();
        clearRecords();

        checkIn(r.code);

        EXPECT_EQ(sent(), QStringList());
        EXPECT_TRUE(standbyShown());
        EXPECT_FALSE(loadingShown());
        EXPECT_TRUE(console().isEnabled());
        EXPECT_EQ(console().Sys_idroom->value(), r.id);
        EXPECT_EQ(console().Sys_Status->currentText(), k.statusAfter);
        EXPECT_EQ(console().Sys_Players->currentIndex(), k.players);
        EXPECT_EQ(console().TmrHandle->isActive(), k.clockRunsAfter);
        EXPECT_FALSE(console().Tmrbattery->isActive());
        EXPECT_EQ(logEntries(), QStringList());
    }
}

TEST_F(CheckInTest, StatusRuleSendsNothingWhileABookingStartIsUnderWay) {
    addRoom(guest);
    console().edtscan->setText(guest.code);
    console().AdvPanel1->show();

    console().Sys_StatusChange();

    EXPECT_EQ(sent(), QStringList());
    EXPECT_EQ(console().Sys_idroom->value(), 701) << "the look-up still fills the fields";
    EXPECT_FALSE(console().TmrHandle->isActive());
}

TEST_F(CheckInTest, FlagsSetFromCodeRaiseNothingAndHandEditsRaiseTheirRules) {
    addRoom(guest);
    Tfplayer& c = console();
    c.edtscan->setText(guest.code);

    c.Sys_Status->setCurrentIndex(1);
    c.Sys_Players->setCurrentIndex(1);
    EXPECT_EQ(c.Sys_idroom->value(), 0) << "the status rule ran";
    EXPECT_EQ(sent(), QStringList());

    // The technician picks NOT ACTIVE for the players in the diagnostic strip:
    // the players rule shows the standby screen and resets the status.
    c.pnlStanby->hide();
    QTest::keyClick(c.Sys_Players, Qt::Key_Up);
    EXPECT_TRUE(standbyShown());
    EXPECT_EQ(c.Sys_Status->currentIndex(), 0);

    // Picking ACTIVE for the status runs the status rule: look-up, refresh
    // with the booking record, booking start.
    QTest::keyClick(c.Sys_Status, Qt::Key_Down);
    EXPECT_EQ(c.Sys_idroom->value(), 701);
    EXPECT_EQ(sent(), (QStringList{"GO#", "26#127.0.0.1"}));
    EXPECT_FALSE(standbyShown());
}

TEST_F(CheckInTest, NewRoomIdRunsTheRefreshAtOnceAndTheSameIdDoesNot) {
    Room other = guest;
    other.id = 702;
    other.code = QStringLiteral("7022");
    other.name = QStringLiteral("BOOKING 702");
    other.user = QStringLiteral("SARI");
    other.players = 0;
    addRoom(other);
    Tfplayer& c = console();

    c.Sys_idroom->setValue(702);
    EXPECT_EQ(c.lblUserNow->text(), "SARI") << "refreshed before setValue returned";
    EXPECT_EQ(c.Sys_Room->text(), "BOOKING 702");
    EXPECT_EQ(c.Sys_Status->currentText(), "NOT ACTIVE") << "the players rule ran";
    EXPECT_TRUE(standbyShown());
    EXPECT_EQ(skinWrites().size(), 1);
    EXPECT_EQ(skinVariable("_root.isitextdurasi.text"), "00:00:00");

    c.lblUserNow->clear();
    c.Sys_idroom->setValue(702);
    EXPECT_EQ(c.lblUserNow->text(), "") << "the same value ran the refresh";
    EXPECT_EQ(skinWrites().size(), 1);

    // A room without a booking record reads as NOT ACTIVE with empty texts.
    c.Sys_idroom->setValue(799);
    EXPECT_EQ(c.Sys_Room->text(), "");
    EXPECT_EQ(c.Sys_User->text(), "");
    EXPECT_EQ(c.Sys_Status->currentIndex(), 0);
    EXPECT_EQ(c.Sys_Players->currentIndex(), 0);
    EXPECT_EQ(c.Sys_Jam->time(), QTime(0, 0));
    EXPECT_EQ(logEntries(), QStringList());
}

TEST_F(CheckInTest, RefreshFailureIsLoggedWithItsLabel) {
    addRoom(guest);
    cutSongsDatabase();

    console().Sys_idroom->setValue(701);

    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Syd_ID Room Chnage ")) << logEntries()[0].toStdString();
    EXPECT_GT(logEntries()[0].size(), QString("Syd_ID Room Chnage ").size()) << "no message";
    EXPECT_EQ(console().lblUserNow->text(), "TOLVEK");
    EXPECT_EQ(sent(), QStringList());
}

// A good code that the console could not check in with (the databases away)
// must not read as a wrong one: the standby screen says that the check-in
// failed, and nothing starts.
TEST_F(CheckInTest, ACheckInThatFailedSaysSoOnTheStandbyScreen) {
    addRoom(guest);
    const struct {
        const char* what;
        std::function<void()> cut;
        QString logged;
    } cases[] = {
        {"the booking record cannot be read", [&] { cutSongsDatabase(); }, "Syd_ID Room Chnage "},
        {"the server is away",
         [&] {
             module->ServerLaguHost = QStringLiteral("127.0.0.1:1");
             module->AdoConn.Close();
             module->AdoAuthen.Close();
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.cut();
        checkIn(guest.code);

        EXPECT_FALSE(console().LblStandbyNotice->isHidden());
        EXPECT_EQ(console().LblStandbyNotice->text(), Tfplayer::CheckInFailedNotice());
        EXPECT_TRUE(standbyShown());
        EXPECT_EQ(sent(), QStringList());
        EXPECT_TRUE(platform.messages.isEmpty()) << "a notice, not a box to answer";
        if (!c.logged.isEmpty()) {
            ASSERT_EQ(logEntries().size(), 1);
            EXPECT_TRUE(logEntries()[0].startsWith(c.logged)) << logEntries()[0].toStdString();
        }
        console().LblStandbyNotice->hide();
    }
}

TEST_F(CheckInTest, ExitCodeEndsTheApplicationAndNothingElse) {
    addRoom(guest);
    EXPECT_FALSE(startQuitsTheApplication("5837160"));
    EXPECT_FALSE(startQuitsTheApplication("583716 "));
    EXPECT_FALSE(startQuitsTheApplication(" 583716"));
    const QString before = consoleState();

    EXPECT_TRUE(startQuitsTheApplication("583716"));
    EXPECT_EQ(consoleState(), before);
    EXPECT_EQ(sent(), QStringList());
    EXPECT_EQ(logEntries(), QStringList());
}

TEST_F(CheckInTest, KeypadTypesIntoTheCheckInField) {
    Tfplayer& c = console();
    c.show();
    c.Sys_Room->setFocus();
    const QString before = c.Sys_Room->text();
    for (const QString key : {"7", "0", "1", "*", "Back", "1"}) {
        const QRect rect = c.AdvSmoothTouchKeyBoard1->keyRect(key);
        ASSERT_FALSE(rect.isEmpty()) << key.toStdString();
        QTest::mouseClick(c.AdvSmoothTouchKeyBoard1, Qt::LeftButton, {}, rect.center());
    }
    EXPECT_EQ(c.edtscan->text(), "7011");
    EXPECT_EQ(c.Sys_Room->text(), before);
    c.hide();
}

}  // namespace
