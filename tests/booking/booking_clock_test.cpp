// The booking clock: its text, its re-read of the booking record every nine
// ticks and the end of a booking found by that re-read.
#include <gtest/gtest.h>

#include "booking_fixture.h"
#include "support/qt_printers.h"

namespace {

using testsupport::BookingFixture;

const QString kClock = QStringLiteral("_root.isitextdurasi.text");

TEST(BookingClockTextTest, HoursMinutesAndSecondsWithTwoDigitsAtLeast) {
    const struct {
        qint64 ms;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},           {999, "00:00:00"},
        {61'000, "00:01:01"},      {3'725'000, "01:02:05"},
        {359'999'999, "99:59:59"}, {360'000'000, "100:00:00"},
        {86'399'000, "23:59:59"},  {3'600'000'000, "1000:00:00"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(Tfplayer::ClockText(k.ms), k.text) << k.ms;
    }
}

class BookingClockTest : public BookingFixture {
protected:
    void SetUp() override {
        BookingFixture::SetUp();
        startUp();
        addRoom(guest);
        checkIn(guest.code);
        ASSERT_TRUE(console().TmrHandle->isActive());
        clearRecords();
    }

    int clockWrites() const {
        int n = 0;
        for (const auto& [path, value] : skinWrites()) {
            n += path == kClock ? 1 : 0;
        }
        return n;
    }

    const QDateTime jam{QDate(2024, 5, 17), QTime(19, 30, 0)};
    const Room guest{.id = 720,
                     .code = QStringLiteral("7200"),
                     .name = QStringLiteral("BOOKING 720"),
                     .jam = jam,
                     .user = QStringLiteral("BUDI")};
};

TEST_F(BookingClockTest, ShowsTheDistanceBetweenJamAndNowEitherSide) {
    const struct {
        qint64 offsetMs;  // now - jam
        const char* text;
        double mnt, durasi;
    } cases[] = {
        {0, "00:00:00", 0, 0},
        {30'000, "00:00:30", 0, 30},
        {-30'000, "00:00:30", 0, 30},
        {1'999, "00:00:01", 0, 1},
        {61'000, "00:01:01", 1, 61},
        {-3'725'000, "01:02:05", 62, 3725},
        {360'000'000, "100:00:00", 6000, 360000},
        {-360'000'000, "100:00:00", 6000, 360000},
    };
    Tfplayer& c = console();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.offsetMs);
        now = jam.addMSecs(k.offsetMs);
        c.CekAkses = 1;  // no re-read on this tick
        c.lblUserNow->clear();

        c.TmrHandleTimer();

        EXPECT_EQ(skinVariable(kClock), k.text);
        EXPECT_EQ(c.Fdurasi, k.text);
        EXPECT_EQ(c.mnt, k.mnt);
        EXPECT_EQ(c.durasi, k.durasi);
        EXPECT_EQ(c.lblUserNow->text(), "BUDI");
        EXPECT_EQ(c.SpinEdit5->value(), 2);
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(BookingClockTest, ReReadsOnTheTenthTickAndThenEveryNinth) {
    Tfplayer& c = console();
    ASSERT_EQ(c.CekAkses, 0) << "a check-in leaves the counter alone";
    now = jam.addSecs(5);
    updateRoom(720, "user = 'ANI', jam = '2024-05-17 19:00:00'");

    for (int tick = 1; tick <= 9; ++tick) {
        c.TmrHandleTimer();
        ASSERT_EQ(c.SpinEdit5->value(), tick);
        ASSERT_EQ(c.lblUserNow->text(), "BUDI") << "re-read on tick " << tick;
    }
    c.TmrHandleTimer();
    EXPECT_EQ(c.SpinEdit5->value(), 1);
    EXPECT_EQ(c.lblUserNow->text(), "ANI");
    EXPECT_EQ(c.suser, "ANI");
    EXPECT_EQ(c.sjam, QDateTime(QDate(2024, 5, 17), QTime(19, 0, 0)));
    EXPECT_EQ(skinVariable(kClock), "00:30:05") << "the same tick measures from the new time";

    updateRoom(720, "user = 'WATI'");
    for (int tick = 2; tick <= 9; ++tick) {
        c.TmrHandleTimer();
        ASSERT_EQ(c.SpinEdit5->value(), tick);
        ASSERT_EQ(c.lblUserNow->text(), "ANI") << "re-read at counter " << tick;
    }
    c.TmrHandleTimer();
    EXPECT_EQ(c.SpinEdit5->value(), 1);
    EXPECT_EQ(c.lblUserNow->text(), "WATI");

    // The counter wraps like a 32-bit integer; reaching 0 re-reads as well.
    updateRoom(720, "user = 'DEWI'");
    c.CekAkses = -1;
    c.TmrHandleTimer();
    EXPECT_EQ(c.CekAkses, 1);
    EXPECT_EQ(c.lblUserNow->text(), "DEWI");
    EXPECT_TRUE(c.TmrHandle->isActive());
    EXPECT_EQ(sent(), QStringList());
}

// What the re-read does when the booking record changed outside the console.
TEST_F(BookingClockTest, ReReadFollowsTheRoomsFlags) {
    const struct {
        const char* assignments;
        bool clockRuns;
        const char* statusAfter;
        const char* checkInFieldAfter;
    } cases[] = {
        // The booking ended: standby, clock off, check-in field emptied.
        {"status = 0", false, "NOT ACTIVE", ""},
        // The room player was taken away: standby, the clock and the status stay.
        {"players = 0", true, "ACTIVE", "7200"},
        {"status = 0, players = 0", false, "NOT ACTIVE", ""},
    };
    Tfplayer& c = console();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.assignments);
        updateRoom(720, "status = 1, players = 1");
        c.edtscan->setText(guest.code);
        c.TmrHandle->start();
        c.pnlStanby->hide();
        c.CekAkses = 9;
        updateRoom(720, k.assignments);
        const int writesBefore = clockWrites();

        c.TmrHandleTimer();

        EXPECT_TRUE(standbyShown());
        EXPECT_EQ(c.TmrHandle->isActive(), k.clockRuns);
        EXPECT_EQ(c.Sys_Status->currentText(), k.statusAfter);
        EXPECT_EQ(c.edtscan->text(), k.checkInFieldAfter);
        EXPECT_EQ(clockWrites(), writesBefore + 1) << "the tick that ends it still shows the time";
        EXPECT_EQ(c.CekAkses, 1);
    }
    EXPECT_EQ(sent(), QStringList());
}

// While the songs database is away the guest sees one message for the whole
// outage, not one per tick; the clock goes on from the console's own count,
// the console tries again now and then, and the venue's log says when the
// record can be read again.
TEST_F(BookingClockTest, AnOutageGivesOneMessageAndTheClockGoesOn) {
    Tfplayer& c = console();
    c.CekAkses = 9;
    const QString songsDatabase = module->DatabaseLagu;
    cutSongsDatabase();

    // Ticks that come while the message is up (its box runs the event loop)
    // open no second one.
    int nestedTicks = 0;
    platform.whileMessageShown = [&] {
        if (++nestedTicks <= 2) {
            c.TmrHandleTimer();
        }
    };
    c.TmrHandleTimer();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_FALSE(platform.messages[0].isEmpty());
    EXPECT_TRUE(c.TmrHandle->isActive());
    EXPECT_EQ(clockWrites(), 1) << "the clock still shows the time";
    platform.whileMessageShown = nullptr;

    for (int tick = 0; tick < 60; ++tick) {
        c.TmrHandleTimer();
    }
    EXPECT_EQ(platform.messages.size(), 1) << "one message for the outage";
    EXPECT_EQ(clockWrites(), 61) << "the clock goes on every tick";
    EXPECT_FALSE(standbyShown());
    EXPECT_TRUE(c.TmrHandle->isActive());

    module->DatabaseLagu = songsDatabase;
    for (int tick = 0; tick < 40; ++tick) {
        c.TmrHandleTimer();
    }
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(logEntries().filter("Timer Handle the booking record can be read again").size(), 1)
        << logEntries().join('\n').toStdString();

    // A later outage is a new one and says so once more.
    cutSongsDatabase();
    for (int tick = 0; tick < 10; ++tick) {
        c.TmrHandleTimer();
    }
    EXPECT_EQ(platform.messages.size(), 2);
}

}  // namespace
