// A room player that is slow, silent or away, met by a guest at the real
// console: the console never freezes for good, never loses or swaps the
// guest's song, and says what is going on.
#include <QFile>

#include "room_fixture.h"

namespace e2e {
namespace {

class RoomPlayerFaultTest : public RoomTest {
protected:
    // ROOM 01's playlist holds the first `count` songs of the catalogue; the
    // room player starts the first at the check-in and the rest are listed.
    void SeedPlaylistAndCheckIn(int count) {
        songs->exec(QStringLiteral("DELETE FROM playlist WHERE namaroom = 'ROOM 01'"));
        const QList<QStringList> ids = songs->rows(
            QStringLiteral("SELECT idlagu FROM lagu ORDER BY idlagu LIMIT %1").arg(count));
        for (int i = 0; i < ids.size(); ++i) {
            songs->exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                                       "VALUES (%1, 'ROOM 01', 'E2E%1', %2)")
                            .arg(i + 1)
                            .arg(ids[i].first()));
        }
        checkIn();
        ASSERT_TRUE(waitUntil([&] {
            return guest.rows(QStringLiteral("lvPlaylistnNew")).size() == count - 1;
        })) << guest.rows(QStringLiteral("lvPlaylistnNew")).join(" | ").toStdString();
    }

    // The playlist's entry keys in the database, in play order.
    QStringList EntryKeys() {
        QStringList keys;
        for (const QStringList& row :
             songs->rows(QStringLiteral("SELECT ukey FROM playlist WHERE namaroom = 'ROOM 01' "
                                        "ORDER BY idplaylist, id"))) {
            keys << row.first();
        }
        return keys;
    }

    // The room player again on its port, misbehaving as the script says.
    void RestartRoomPlayer(const QString& scriptText) {
        const quint16 port = room.port();
        room.kill();
        const QString script = folder.filePath(QStringLiteral("roomplayer.script"));
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(scriptText.toUtf8());
        file.close();
        ASSERT_TRUE(room.start(roomName(), QStringLiteral(LYRABOX_E2E_SETTING_INI), port,
                               scriptText.isEmpty() ? QString() : script))
            << room.output().toStdString();
    }
};

// After "repeat" the console asks the room player for the progress; its
// answers redraw the playlist, and the entry the guest chose stays chosen:
// "delete" then takes that entry, not the first.
TEST_F(RoomPlayerFaultTest, TheChosenEntryStaysChosenAfterRepeat) {
    SeedPlaylistAndCheckIn(5);
    ASSERT_EQ(EntryKeys(), QStringList({"E2E2", "E2E3", "E2E4", "E2E5"}));
    guest.tapRow(QStringLiteral("lvPlaylistnNew"), 2);
    room.forget();
    guest.skinTap(QStringLiteral("repeat"));
    ASSERT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("33#")); }))
        << room.output().toStdString();
    // A few more ticks of the progress, as the guest reaches for "delete".
    settle(3000);
    guest.skinTap(QStringLiteral("delete"));
    EXPECT_TRUE(waitUntil([&] { return EntryKeys().size() == 3; }));
    EXPECT_EQ(EntryKeys(), QStringList({"E2E2", "E2E3", "E2E5"}));
}

// "play" and the play-now button with the room player away: the guest is
// told, and the song stays in the playlist for later.
TEST_F(RoomPlayerFaultTest, ASongTheRoomPlayerNeverTookStaysInThePlaylist) {
    SeedPlaylistAndCheckIn(4);
    const QStringList before = EntryKeys();
    room.kill();

    guest.tapRow(QStringLiteral("lvPlaylistnNew"), 1);
    guest.skinTap(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("FrmError")); }));
    EXPECT_EQ(EntryKeys(), before);
    guest.tap(QStringLiteral("FrmError/AdvSmoothButton1"));  // "Batalkan Perintah"
    ASSERT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("FrmError")); }));

    guest.tapRowButton(QStringLiteral("lvPlaylistnNew"), 0);
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("FrmError")); }));
    EXPECT_EQ(EntryKeys(), before);
    EXPECT_EQ(guest.rows(QStringLiteral("lvPlaylistnNew")).size(), before.size());
}

// A room player that takes the command and never answers: the console waits
// for it once, then shows that it is waiting for the room player and probes
// it, and comes back by itself when the room player answers again.
TEST_F(RoomPlayerFaultTest, ASilentRoomPlayerCountsAsLostAndTheConsoleComesBack) {
    checkIn();
    RestartRoomPlayer(QStringLiteral("on 27#* silent\non 38# silent\n"));
    guest.skinTap(QStringLiteral("volplus"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("AdvPanel1")); }))
        << "the console did not show that it waits for the room player";
    EXPECT_FALSE(guest.enabled(QStringLiteral("fplayer")));

    // While it stays silent the console keeps probing, then asks the guest.
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("FrmError")); }, 90000))
        << room.output().toStdString();
    EXPECT_GE(sent().filter(QStringLiteral("38#")).size(), 2) << sent().join(' ').toStdString();

    // The room player answers again; "Coba Lagi" finds it.
    RestartRoomPlayer(QString());
    guest.tap(QStringLiteral("FrmError/AdvSmoothButton2"));
    ASSERT_TRUE(waitUntil([&] { return inRoom(); }, 30000)) << "the console did not come back";
    room.forget();
    guest.skinTap(QStringLiteral("volplus"));
    EXPECT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("27#70")); }))
        << room.output().toStdString();
}

}  // namespace
}  // namespace e2e
