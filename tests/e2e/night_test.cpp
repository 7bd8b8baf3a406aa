// A night in ROOM 01 as a guest spends it, on the real program.
#include <QRegularExpression>

#include "room_fixture.h"

namespace e2e {
namespace {

class NightTest : public RoomTest {};

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

}  // namespace
}  // namespace e2e
