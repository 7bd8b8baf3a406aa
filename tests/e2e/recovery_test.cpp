// The room keeps going when its room player or its database goes away and
// comes back, without anyone restarting the console.
#include "room_fixture.h"

namespace e2e {
namespace {

class RecoveryTest : public RoomTest {
protected:
    void SetUp() override {
        RoomTest::SetUp();
        if (!HasFatalFailure()) {
            checkIn();
        }
    }

    // A call for service that is stored and whose indication is over, so that
    // the transaction database's session is one kept from earlier.
    void callAndWaitForTheIndicationToEnd() {
        guest.skinTap(QStringLiteral("call"));
        ASSERT_TRUE(waitUntil([&] { return guest.skinVariable(kCallIndication) == "1"; }));
        ASSERT_TRUE(waitUntil([&] { return guest.skinVariable(kCallIndication) == "2"; }, 30000));
    }

    // Once the server is back, the guest calls until the call is placed
    // (answering the messages the outage left on the console).
    bool callUntilPlaced() {
        return waitUntil(
            [&] {
                acknowledgeMessages();
                if (inRoom()) {
                    guest.skinTap(QStringLiteral("call"));
                }
                return guest.skinVariable(kCallIndication) == QStringLiteral("1");
            },
            60000);
    }

    int callsStored() {
        return transaksi
            ->scalar(QStringLiteral("SELECT COUNT(*) FROM panggilan WHERE namaroom = 'ROOM 01'"))
            .toInt();
    }

    // The search's rows are there and both of its stages are done.
    void searchFor(const QString& text) {
        typeSearch(text);
        ASSERT_TRUE(
            waitUntil([&] { return !guest.rows(QStringLiteral("AdvSonglist")).isEmpty(); }));
        settle(1500);
    }

    static inline const QString kCallIndication = QStringLiteral("anima_txt");

    // Acknowledges every message the console shows, as staff would.
    void acknowledgeMessages() {
        for (int i = 0; i < 10 && !guest.dialogText().isEmpty(); ++i) {
            guest.answer(QStringLiteral("OK"));
            settle(300);
        }
    }
};

TEST_F(RecoveryTest, RoomPlayerKilledAndRestarted) {
    const quint16 port = room.port();
    room.kill();

    // The next command finds nobody: the console says so and waits for the guest.
    guest.skinTap(QStringLiteral("volplus"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("FrmError")); }));
    EXPECT_EQ(guest.text(QStringLiteral("FrmError/Label1")),
              QStringLiteral("Oooppss,,.. Tablet Tidak Terhubung Dengan Player"));
    EXPECT_FALSE(guest.enabled(QStringLiteral("fplayer")));

    // The room player comes back; "Coba Lagi" finds it.
    ASSERT_TRUE(room.start(roomName(), QStringLiteral(LYRABOX_E2E_SETTING_INI), port))
        << room.output().toStdString();
    guest.tap(QStringLiteral("FrmError/AdvSmoothButton2"));
    ASSERT_TRUE(waitUntil([&] { return inRoom(); }, 60000)) << "the console did not recover";
    EXPECT_FALSE(guest.visible(QStringLiteral("FrmError")));
    EXPECT_TRUE(waitUntil([&] { return room.received().contains(QStringLiteral("38#")); }));

    // Commands reach the new room player again, and its answers the skin.
    room.forget();
    guest.skinTap(QStringLiteral("volplus"));
    ASSERT_TRUE(waitUntil([&] { return guest.skinVariable(QStringLiteral("isimusic")) == "70"; }))
        << room.output().toStdString();
    EXPECT_TRUE(waitUntil([&] { return room.received().contains(QStringLiteral("27#70")); }));
    EXPECT_TRUE(console.running());
}

TEST_F(RecoveryTest, DatabaseStoppedAndStarted) {
    stopDatabase();

    // Searching and queueing with the database away: no crash, nothing saved.
    typeSearch(QStringLiteral("my"));
    guest.tapRowButton(QStringLiteral("AdvSonglist"), 0);
    settle(3000);
    ASSERT_TRUE(console.running());
    EXPECT_FALSE(sent().contains(QStringLiteral("20#"))) << "nothing was saved to announce";

    startDatabase();
    EXPECT_EQ(playlistSongs(), QStringList{});
    acknowledgeMessages();
    ASSERT_TRUE(waitUntil([&] { return inRoom(); }, 60000));

    // The same guest goes on: the search finds the song, which then plays.
    guest.skinTap(QStringLiteral("space"));
    typeSearch(QStringLiteral("love"));
    int row = -1;
    ASSERT_TRUE(waitUntil(
        [&] {
            acknowledgeMessages();
            const QStringList rows = guest.rows(QStringLiteral("AdvSonglist"));
            return !rows.isEmpty() && rows.first().contains(QStringLiteral("LOVE")) &&
                   (row = songRow(QStringLiteral("MY LOVE"))) >= 0;
        },
        60000))
        << guest.rows(QStringLiteral("AdvSonglist")).mid(0, 3).join(" | ").toStdString();
    room.forget();
    guest.tapRowButton(QStringLiteral("AdvSonglist"), row);
    ASSERT_TRUE(waitUntil([&] {
        return guest.text(QStringLiteral("Lblnowplay")).startsWith(QStringLiteral("MY LOVE"));
    })) << room.output().toStdString();
    EXPECT_TRUE(waitUntil([&] {
        return room.exchanges().contains(QStringLiteral("20# -> 5#215#") +
                                         songId(QStringLiteral("MY LOVE")));
    })) << room.output().toStdString();
}

// With the databases away, a song added and a call for service are not made,
// and the guest reads so on the console itself, without a dialog to answer;
// the call is not shown as placed. Once the server is back, both go through.
TEST_F(RecoveryTest, WhatTheDatabaseDidNotTakeIsSaidOnTheConsole) {
    typeSearch(QStringLiteral("my"));
    ASSERT_TRUE(waitUntil([&] { return !guest.rows(QStringLiteral("AdvSonglist")).isEmpty(); }));
    settle(1500);  // both search stages done
    stopDatabase();
    room.forget();

    acknowledgeMessages();
    guest.tapRowButton(QStringLiteral("AdvSonglist"), 0);
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("lblNotice")); }));
    EXPECT_EQ(guest.text(QStringLiteral("lblNotice")),
              QStringLiteral("Oooppss,,.. Lagu Gagal Ditambahkan"));
    EXPECT_FALSE(sent().contains(QStringLiteral("20#"))) << "nothing was saved to announce";
    EXPECT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("lblNotice")); }))
        << "the notice goes by itself";

    acknowledgeMessages();
    guest.skinTap(QStringLiteral("call"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("lblNotice")); }));
    EXPECT_EQ(guest.text(QStringLiteral("lblNotice")),
              QStringLiteral("Oooppss,,.. Panggilan Gagal Terkirim"));
    EXPECT_NE(guest.skinVariable(QStringLiteral("anima_txt")), QStringLiteral("1"))
        << "a call never placed is not shown as placed";

    startDatabase();
    ASSERT_TRUE(callUntilPlaced());
    EXPECT_EQ(
        transaksi->rows(QStringLiteral("SELECT namaroom, jenis FROM panggilan "
                                       "WHERE namaroom = 'ROOM 01' ORDER BY id DESC LIMIT 1")),
        (QList<QStringList>{{"ROOM 01", "1"}}));
}

// A server that hangs (a frozen host, a dropped Wi-Fi link) accepts what is
// sent and never answers. Each guest action then costs one bounded wait and
// ends with a notice; the console goes on answering meanwhile, and once the
// server answers again the same actions go through, with nothing of the failed
// ones stored.
TEST_F(RecoveryTest, AHungDatabaseCostsBoundedWaitsThatTheConsoleSays) {
    searchFor(QStringLiteral("my"));
    callAndWaitForTheIndicationToEnd();
    const int callsBefore = callsStored();
    freezeDatabase();
    room.forget();

    guest.tapRowButton(QStringLiteral("AdvSonglist"), 0);
    ASSERT_TRUE(waitUntil(
        [&] {
            return guest.text(QStringLiteral("lblNotice")) ==
                   QStringLiteral("Oooppss,,.. Lagu Gagal Ditambahkan");
        },
        60000));
    EXPECT_TRUE(guest.visible(QStringLiteral("lblNotice")));
    EXPECT_FALSE(sent().contains(QStringLiteral("20#"))) << "nothing was saved to announce";

    acknowledgeMessages();
    guest.skinTap(QStringLiteral("call"));
    ASSERT_TRUE(waitUntil(
        [&] {
            acknowledgeMessages();
            return guest.text(QStringLiteral("lblNotice")) ==
                   QStringLiteral("Oooppss,,.. Panggilan Gagal Terkirim");
        },
        60000));
    EXPECT_NE(guest.skinVariable(kCallIndication), QStringLiteral("1"))
        << "a call never placed is not shown as placed";

    // The room player's commands do not need the database.
    acknowledgeMessages();
    guest.skinTap(QStringLiteral("volplus"));
    EXPECT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("27#70")); }));
    EXPECT_TRUE(console.running());

    thawDatabase();
    ASSERT_TRUE(callUntilPlaced());
    EXPECT_EQ(callsStored(), callsBefore + 1) << "exactly the call that was shown as placed";
    EXPECT_EQ(playlistSongs(), QStringList{}) << "the song the guest was told was not added";
}

// A restart of the server ends the console's kept sessions. The first action
// after it goes through: the session is found ended and opened again.
TEST_F(RecoveryTest, TheFirstActionAfterTheServerRestartedGoesThrough) {
    searchFor(QStringLiteral("my"));
    callAndWaitForTheIndicationToEnd();
    const int callsBefore = callsStored();

    restartDatabase();
    // The booking clock may have met the server away and said so.
    acknowledgeMessages();
    guest.skinTap(QStringLiteral("call"));
    ASSERT_TRUE(waitUntil([&] { return guest.skinVariable(kCallIndication) == "1"; }))
        << "the call after the restart was not placed";
    EXPECT_FALSE(guest.visible(QStringLiteral("lblNotice")));
    EXPECT_EQ(callsStored(), callsBefore + 1);

    // The songs database's session, kept since the check-in, likewise.
    room.forget();
    acknowledgeMessages();
    guest.tapRowButton(QStringLiteral("AdvSonglist"), 0);
    EXPECT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("20#")); }))
        << "the song after the restart was not added";
    EXPECT_FALSE(guest.visible(QStringLiteral("lblNotice")));
}

}  // namespace
}  // namespace e2e
