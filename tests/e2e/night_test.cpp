// A night in ROOM 01 as a guest spends it, on the real program.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <functional>

#include "room_fixture.h"

namespace e2e {
namespace {

class NightTest : public RoomTest {};

TEST_F(NightTest, TheStandbyScreenCoversTheSkinUntilCheckIn) {
    const QString refused = guest.refusal({{"op", "skinTap"}, {"command", "volplus"}});
    EXPECT_TRUE(refused.contains(QStringLiteral("covered"))) << refused.toStdString();
    settle(1000);
    EXPECT_EQ(sent(), QStringList{});
}

TEST_F(NightTest, CheckInToARunningBookingStartsTheRoom) {
    typeCodeAndStart(checkInCode());
    ASSERT_TRUE(waitUntil([this] { return inRoom(); }, 30000));

    EXPECT_EQ(guest.text(QStringLiteral("Sys_Room")), roomName());
    EXPECT_EQ(guest.text(QStringLiteral("edtscan")), checkInCode());
    // The room player hears that the room is active and where the tablet is.
    ASSERT_TRUE(waitUntil([this] { return sent().contains(QStringLiteral("GO#")); }));
    const QStringList commands = sent();
    const qsizetype go = commands.indexOf(QStringLiteral("GO#"));
    ASSERT_LT(go + 1, commands.size()) << commands.join(' ').toStdString();
    EXPECT_TRUE(commands[go + 1].startsWith(QStringLiteral("26#")))
        << commands.join(' ').toStdString();
    // Its settings reach the skin; the booking clock runs.
    EXPECT_TRUE(
        waitUntil([this] { return guest.skinVariable(QStringLiteral("isimusic")) == "60"; }));
    EXPECT_TRUE(waitUntil([this] {
        static const QRegularExpression clock(QStringLiteral("^00:0[1-9]:\\d\\d$"));
        return clock.match(guest.skinVariable(QStringLiteral("isitextdurasi"))).hasMatch();
    })) << guest.skinVariable(QStringLiteral("isitextdurasi")).toStdString();
    EXPECT_EQ(guest.text(QStringLiteral("lblUserNow")), QStringLiteral("GUEST DEMO"));
}

// Checked in to ROOM 01's running booking.
class GuestTest : public RoomTest {
protected:
    void SetUp() override {
        RoomTest::SetUp();
        if (!HasFatalFailure()) {
            checkIn();
        }
    }

    QStringList playlistRows() { return guest.rows(QStringLiteral("lvPlaylistnNew")); }

    // Searches the title and waits for its row in the song list.
    int find(const QString& title) {
        guest.skinTap(QStringLiteral("clear"));
        typeSearch(title);
        // The list follows the typing on the console's next tick: wait until
        // every row it shows matches.
        int row = -1;
        EXPECT_TRUE(waitUntil([&] {
            const QStringList rows = guest.rows(QStringLiteral("AdvSonglist"));
            const QStringList words = title.split(QLatin1Char(' '));
            const bool filtered =
                !rows.isEmpty() && std::all_of(rows.begin(), rows.end(), [&](const QString& r) {
                    return std::all_of(words.begin(), words.end(),
                                       [&](const QString& word) { return r.contains(word); });
                });
            return filtered && (row = songRow(title)) >= 0;
        })) << "no row for "
            << title.toStdString() << " after typing; the list shows "
            << guest.rows(QStringLiteral("AdvSonglist")).mid(0, 5).join(" | ").toStdString();
        return row;
    }
};

TEST_F(GuestTest, SearchesAddsThreeSongsReordersAndPlays) {
    const QString first = songId(QStringLiteral("MY LOVE"));
    const QString second = songId(QStringLiteral("CINTA SEJATI"));
    const QString third = songId(QStringLiteral("DON'T STOP"));
    room.forget();

    // The first song goes in with its row's own button and starts at once,
    // since nothing plays; the room player takes it off the playlist.
    int row = find(QStringLiteral("MY LOVE"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(guest.text(QStringLiteral("edtcari")), QStringLiteral("MY LOVE"));
    guest.tapRowButton(QStringLiteral("AdvSonglist"), row);
    ASSERT_TRUE(waitUntil([&] {
        return guest.text(QStringLiteral("Lblnowplay")).contains("MY LOVE");
    })) << guest.text(QStringLiteral("Lblnowplay")).toStdString();

    // The next two: tap the row, then the skin's save button.
    for (const QString& title : {QStringLiteral("CINTA SEJATI"), QStringLiteral("DON'T STOP")}) {
        row = find(title);
        ASSERT_GE(row, 0);
        guest.tapRow(QStringLiteral("AdvSonglist"), row);
        guest.skinTap(QStringLiteral("saveplaylist"));
        ASSERT_TRUE(waitUntil([&] { return playlistRows().join('\n').contains(title); }));
    }
    EXPECT_EQ(playlistSongs(), (QStringList{second, third}));
    EXPECT_TRUE(waitUntil([&] { return sent().count(QStringLiteral("20#")) == 3; }))
        << sent().join(' ').toStdString();
    EXPECT_EQ(guest.text(QStringLiteral("lblCountPlaylist")), QStringLiteral("2"));

    // The last one up, before the other.
    guest.tapRow(QStringLiteral("lvPlaylistnNew"), 1);
    guest.skinTap(QStringLiteral("up"));
    ASSERT_TRUE(waitUntil([&] {
        return playlistSongs() == QStringList{third, second};
    })) << playlistSongs().join(' ').toStdString();
    EXPECT_TRUE(waitUntil([&] { return playlistRows().value(0).contains("DON'T STOP"); }));
    EXPECT_TRUE(waitUntil([&] {
        return guest.text(QStringLiteral("lblnextsong")).contains("DON'T STOP");
    })) << guest.text(QStringLiteral("lblnextsong")).toStdString();

    // Played from the playlist: it leaves the playlist and plays at once.
    room.forget();
    guest.tapRow(QStringLiteral("lvPlaylistnNew"), 0);
    guest.skinTap(QStringLiteral("play"));
    ASSERT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("37#") + third); }))
        << sent().join(' ').toStdString();
    EXPECT_TRUE(
        waitUntil([&] { return guest.text(QStringLiteral("Lblnowplay")).contains("DON'T STOP"); }));
    EXPECT_EQ(playlistSongs(), QStringList{second});
    EXPECT_TRUE(waitUntil([&] { return playlistRows().size() == 1; }));
    // The bar counts the new song's seconds.
    EXPECT_TRUE(waitUntil([&] {
        const QString elapsed = guest.text(QStringLiteral("lblwmp"));
        return elapsed >= QStringLiteral("00:02") && elapsed <= QStringLiteral("00:30");
    })) << guest.text(QStringLiteral("lblwmp")).toStdString();
}

TEST_F(GuestTest, VolumeAndKeyFollowTheRoomPlayer) {
    // Each tap, and what the room player answers into the skin.
    struct Tap {
        const char* command;
        const char* field;
        const char* shown;
    };
    const Tap taps[] = {
        {"volplus", "isimusic", "70"},  {"volplus", "isimusic", "80"},
        {"volminus", "isimusic", "70"}, {"keyplus", "isikey", "1"},
        {"keyplus", "isikey", "2"},     {"keyminus", "isikey", "1"},
    };
    room.forget();
    for (const Tap& tap : taps) {
        guest.skinTap(QString::fromLatin1(tap.command));
        ASSERT_TRUE(waitUntil([&] {
            return guest.skinVariable(QString::fromLatin1(tap.field)) == QLatin1String(tap.shown);
        })) << tap.command
            << " did not show " << tap.shown;
    }
    const QStringList expected{"27#70", "27#80", "27#70", "13#", "13#", "11#"};
    EXPECT_TRUE(waitUntil([&] {
        return sent().filter(QRegularExpression(QStringLiteral("^(27|11|13)#"))) == expected;
    })) << sent().join(' ').toStdString();
}

TEST_F(GuestTest, CallsForServiceAndOrdersFoodAndDrinks) {
    guest.skinTap(QStringLiteral("call"));
    ASSERT_TRUE(waitUntil([&] { return guest.skinVariable(QStringLiteral("anima_txt")) == "1"; }));
    EXPECT_EQ(
        transaksi->rows(QStringLiteral("SELECT namaroom, jenis, selesai FROM panggilan "
                                       "WHERE namaroom = 'ROOM 01' ORDER BY id DESC LIMIT 1")),
        (QList<QStringList>{{"ROOM 01", "1", "0"}}));
    EXPECT_TRUE(waitUntil([&] { return guest.skinVariable(QStringLiteral("anima_txt")) == "2"; }));

    const int ordersBefore =
        transaksi->scalar(QStringLiteral("SELECT COUNT(*) FROM torder_room")).toInt();
    guest.skinTap(QStringLiteral("emenu"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PanelOrder")); }));
    const auto orderItem = [&](const QString& category, const QString& menu, int qty,
                               const QString& note) {
        const int categoryRow = guest.rowContaining(QStringLiteral("AdvCategory"), category);
        ASSERT_GE(categoryRow, 0) << category.toStdString();
        guest.tapRow(QStringLiteral("AdvCategory"), categoryRow);
        int itemRow = -1;
        ASSERT_TRUE(waitUntil(
            [&] { return (itemRow = guest.rowContaining(QStringLiteral("AdvItem"), menu)) >= 0; }));
        guest.tapRowButton(QStringLiteral("AdvItem"), itemRow);
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PanelViewOrder")); }));
        for (int i = 1; i < qty; ++i) {
            guest.tap(QStringLiteral("BtPlusOrder"));
        }
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard2"), note);
        ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("Catatan")) == note; }))
            << guest.text(QStringLiteral("Catatan")).toStdString();
        guest.tap(QStringLiteral("addOrder"));
        ASSERT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("PanelViewOrder")); }));
    };
    orderItem(QStringLiteral("MINUMAN"), QStringLiteral("ES TEH MANIS"), 3,
              QStringLiteral("LESS ICE"));
    orderItem(QStringLiteral("MAKANAN"), QStringLiteral("NASI GORENG SPESIAL"), 1, QString());
    ASSERT_EQ(guest.rows(QStringLiteral("AdvOrder")).size(), 2);

    guest.tap(QStringLiteral("PanelOrder/AdvSmoothButton3"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PnlVerify")); }));
    const QString code = guest.text(QStringLiteral("LblVerify"));
    ASSERT_EQ(code.size(), 4);
    guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard2"), code);
    ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("AeVeryfy")) == code; }));
    guest.tap(QStringLiteral("AdvOK"));
    ASSERT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("PanelOrder")); }));

    EXPECT_EQ(transaksi->scalar(QStringLiteral("SELECT COUNT(*) FROM torder_room")).toInt(),
              ordersBefore + 1);
    EXPECT_EQ(transaksi->rows(
                  QStringLiteral("SELECT h.idroom, r.idmenu, r.qty, r.catatan FROM torder_room h "
                                 "JOIN torderroom_rinci r ON r.co = h.co "
                                 "WHERE h.co = (SELECT MAX(co) FROM torder_room) ORDER BY r.id")),
              (QList<QStringList>{{"1", "MN001", "3", "LESS ICE"}, {"1", "MK001", "1", ""}}));
}

TEST_F(GuestTest, LogsOutToTheStandbyScreenAndLeavesWithTheExitCode) {
    room.forget();
    guest.skinTap(QStringLiteral("logout"));
    ASSERT_TRUE(
        waitUntil([&] { return guest.dialogText() == QStringLiteral("Anda Ingin LogOut ?"); }));
    guest.answer(QStringLiteral("Yes"));
    ASSERT_TRUE(waitUntil([&] { return onStandby(); }));
    EXPECT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("GI#")); }))
        << sent().join(' ').toStdString();
    // The run's log is on disk while the console runs, not only at its end.
    ASSERT_EQ(logFiles().size(), 1);
    EXPECT_TRUE(logFiles().first().startsWith(QStringLiteral("MemLog\n*")))
        << logFiles().first().toStdString();

    // The exit code ends the program without waiting for a tap; the venue
    // reads in the journal where it left its log.
    room.forget();
    typeCodeAndStart(QStringLiteral("583716"));
    ASSERT_TRUE(console.waitForExit(30000)) << "the console did not end by itself";
    EXPECT_TRUE(console.output().contains(QStringLiteral("the log is saved in ")))
        << console.output().toStdString();
    // The room player's own report of what it received, once it has written it.
    const auto readFor = [&](int milliseconds, const std::function<bool()>& done) {
        for (const QDeadlineTimer deadline(milliseconds); !done() && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(20);
        }
    };
    readFor(5000, [&] { return !sent().isEmpty(); });
    readFor(300, [] { return false; });
    EXPECT_EQ(sent(), QStringList({QStringLiteral("GI#")})) << "one goodbye";
    EXPECT_FALSE(console.crashed());
    EXPECT_EQ(console.exitCode(), 0);
    const QStringList logs = logFiles();
    ASSERT_EQ(logs.size(), 1);
    EXPECT_TRUE(logs.first().startsWith(QStringLiteral("MemLog"))) << logs.first().toStdString();
}

}  // namespace
}  // namespace e2e
