// Two guests of ROOM 01 one after the other, on the real program: what the
// first left open or typed is gone when the second checks in.
#include <algorithm>
#include <functional>

#include "room_fixture.h"
#include "support/qt_printers.h"

namespace e2e {
namespace {

class BetweenGuestsTest : public RoomTest {
protected:
    void SetUp() override {
        RoomTest::SetUp();
        if (!HasFatalFailure()) {
            checkIn();
        }
    }

    // The booking ends at the desk; the console finds out on its clock.
    void endBookingOutside() {
        songs->exec(QStringLiteral("UPDATE room SET status = 0 WHERE namaroom = 'ROOM 01'"));
        ASSERT_TRUE(waitUntil([this] { return onStandby(); }, 30000))
            << "the console did not notice the booking's end";
    }

    void checkInNextGuest() {
        songs->exec(
            QStringLiteral("UPDATE room SET status = 1, user = 'NEXT GUEST' "
                           "WHERE namaroom = 'ROOM 01'"));
        checkIn();
    }

    // A search typed and a song chosen from its rows.
    void chooseSong(const QString& title) {
        typeSearch(title);
        int row = -1;
        ASSERT_TRUE(waitUntil([&] {
            // Every row it shows has the title's words.
            const QStringList rows = guest.rows(QStringLiteral("AdvSonglist"));
            const QStringList words = title.split(QLatin1Char(' '));
            const bool filtered = std::all_of(rows.begin(), rows.end(), [&](const QString& shown) {
                return std::all_of(words.begin(), words.end(),
                                   [&](const QString& word) { return shown.contains(word); });
            });
            return filtered && (row = songRow(title)) >= 0;
        }));
        searchRows = guest.rows(QStringLiteral("AdvSonglist"));
        guest.tapRow(QStringLiteral("AdvSonglist"), row);
        ASSERT_TRUE(
            waitUntil([&] { return guest.selectedRow(QStringLiteral("AdvSonglist")) >= 0; }));
    }

    // An order with a row and a note, waiting at its verification code.
    void leaveAnOrderAtTheCode() {
        guest.skinTap(QStringLiteral("emenu"));
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PanelOrder")); }));
        const int category = guest.rowContaining(QStringLiteral("AdvCategory"), "MINUMAN");
        ASSERT_GE(category, 0);
        guest.tapRow(QStringLiteral("AdvCategory"), category);
        int item = -1;
        ASSERT_TRUE(waitUntil([&] {
            return (item = guest.rowContaining(QStringLiteral("AdvItem"), "ES TEH MANIS")) >= 0;
        }));
        guest.tapRowButton(QStringLiteral("AdvItem"), item);
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PanelViewOrder")); }));
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard2"), QStringLiteral("LESS ICE"));
        guest.tap(QStringLiteral("addOrder"));
        ASSERT_TRUE(waitUntil([&] { return guest.rows(QStringLiteral("AdvOrder")).size() == 1; }));
        guest.tap(QStringLiteral("CattOrderan"));
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard2"), QStringLiteral("MEJA 2"));
        ASSERT_TRUE(
            waitUntil([&] { return guest.text(QStringLiteral("CattOrderan")) == "MEJA 2"; }));
        guest.tap(QStringLiteral("PanelOrder/AdvSmoothButton3"));
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PnlVerify")); }));
        guest.tap(QStringLiteral("AeVeryfy"));
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard2"), QStringLiteral("QZ"));
        ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("AeVeryfy")) == "QZ"; }));
    }

    // A song request half filled in.
    void leaveARequestHalfTyped() {
        guest.skinTap(QStringLiteral("songrequest"));
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("Panel_Request")); }));
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard3"), QStringLiteral("RINA"));
        ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("edtNama")) == "RINA"; }));
        guest.tap(QStringLiteral("edtSong1"));
        guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard3"), QStringLiteral("LAGU"));
        ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("edtSong1")) == "LAGU"; }));
    }

    // The rows the last guest's search left.
    QStringList searchRows;
};

TEST_F(BetweenGuestsTest, NothingTheLastGuestLeftOpenReachesTheNext) {
    const struct {
        const char* what;
        std::function<void()> leave;
    } leftovers[] = {
        {"an order at its code", [this] { leaveAnOrderAtTheCode(); }},
        {"a request half typed", [this] { leaveARequestHalfTyped(); }},
    };
    for (const auto& leftover : leftovers) {
        SCOPED_TRACE(leftover.what);
        chooseSong(QStringLiteral("MY LOVE"));
        leftover.leave();
        ASSERT_FALSE(HasFatalFailure());
        room.forget();
        endBookingOutside();
        // The room player's copy of the search text, shown on the TV, goes too.
        EXPECT_TRUE(waitUntil([this] { return sent().contains(QStringLiteral("35#")); }))
            << sent().join(" ").toStdString();
        checkInNextGuest();
        ASSERT_FALSE(HasFatalFailure());

        for (const char* panel : {"PanelOrder", "PanelViewOrder", "PnlVerify", "Panel_Request"}) {
            EXPECT_FALSE(guest.visible(QString::fromLatin1(panel))) << panel;
        }
        for (const char* field :
             {"CattOrderan", "Catatan", "AeVeryfy", "LblVerify", "lblMenu", "edtNama", "edtEmail",
              "edtTelp", "edtSong1", "Mguest", "edtcari"}) {
            EXPECT_EQ(guest.text(QString::fromLatin1(field)), QString()) << field;
        }
        EXPECT_EQ(guest.rows(QStringLiteral("AdvOrder")), QStringList{});
        // The song list starts over as the search does: the whole catalogue,
        // its first row selected.
        EXPECT_TRUE(waitUntil([&] {
            return guest.rows(QStringLiteral("AdvSonglist")).size() > searchRows.size() &&
                   guest.selectedRow(QStringLiteral("AdvSonglist")) == 0;
        })) << guest.rows(QStringLiteral("AdvSonglist")).mid(0, 3).join(" | ").toStdString();
        EXPECT_EQ(guest.text(QStringLiteral("lblUserNow")), QStringLiteral("NEXT GUEST"));
        // The skin is the next guest's to tap.
        EXPECT_EQ(guest.refusal({{"op", "skinTap"}, {"command", "emenu"}}), QString());
        ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("PanelOrder")); }));
        guest.tap(QStringLiteral("AdvSmoothButton4"));
        ASSERT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("PanelOrder")); }));
    }
}

}  // namespace
}  // namespace e2e
