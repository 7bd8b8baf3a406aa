// Between two guests: however a booking ends, and when the next one starts,
// nothing the previous guest left open or typed stays on the console.
#include <gtest/gtest.h>

#include <functional>

#include "booking_fixture.h"
#include "support/qt_printers.h"

namespace {

using testsupport::BookingFixture;

class BetweenGuestsTest : public BookingFixture {
protected:
    void SetUp() override {
        BookingFixture::SetUp();
        startUp();
        addRoom(guest);
    }

    // The guest's booking runs and the console is released.
    void bookingRuns() {
        updateRoom(guest.id, "status = 1, players = 1");
        checkIn(guest.code);
        preparationTicks(3);
        ASSERT_FALSE(standbyShown());
        ASSERT_FALSE(loadingShown());
    }

    // A search with a song chosen, an order waiting at its code, and a song
    // request half typed under it.
    void leaveEverythingOpen() {
        Tfplayer& c = console();
        c.edtcari->setText(QStringLiteral("MY LOVE"));
        c.AdvSonglist->addItem({.notes = QStringLiteral("<html>MY LOVE</html>"), .tag = 812});
        c.AdvSonglist->setSelectedIndex(c.AdvSonglist->count() - 1);
        c.IdlaguSelect = 812;

        c.OpenRequestForm(Tfplayer::RequestMode::Message);
        c.edtNama->setText(QStringLiteral("RINA"));
        c.edtEmail->setText(QStringLiteral("rina@example.com"));
        c.edtTelp->setText(QStringLiteral("0812"));
        c.edtSong[0]->setText(QStringLiteral("LAGU"));
        c.edtArtis[4]->setText(QStringLiteral("ARTIS"));
        c.Mguest->setPlainText(QStringLiteral("HALO"));

        c.OpenOrderPanel();
        c.AdvItem->addItem({.notes = QStringLiteral("<html>TEH<br><IND x=\"250\">Rp. 5.000</html>"),
                            .hint = QStringLiteral("MN001")});
        c.AdvItemGraphicRightClick(0);
        c.Catatan->setText(QStringLiteral("LESS ICE"));
        c.addOrderClick();
        c.AdvItemGraphicRightClick(0);
        c.CattOrderan->setPlainText(QStringLiteral("MEJA 2"));
        c.AdvSmoothButton3Click();
        c.AeVeryfy->setText(QStringLiteral("QZ"));
        ASSERT_EQ(c.vtorder.recordCount(), 1);
    }

    void expectNothingLeft() {
        Tfplayer& c = console();
        for (QWidget* panel :
             {static_cast<QWidget*>(c.PanelOrder), static_cast<QWidget*>(c.PanelViewOrder),
              static_cast<QWidget*>(c.PnlVerify), static_cast<QWidget*>(c.Panel_Request)}) {
            EXPECT_TRUE(panel->isHidden()) << panel->objectName();
        }
        EXPECT_EQ(c.vtorder.recordCount(), 0);
        EXPECT_EQ(c.AdvOrder->count(), 0);
        EXPECT_EQ(c.AdvItem->count(), 0);
        EXPECT_EQ(c.DetailRowNumber(), 0);
        for (QLineEdit* field :
             {static_cast<QLineEdit*>(c.Catatan), c.AeJum, static_cast<QLineEdit*>(c.AeVeryfy),
              c.edtNama, c.edtEmail, c.edtTelp, static_cast<QLineEdit*>(c.edtcari)}) {
            EXPECT_EQ(field->text(), QString()) << field->objectName();
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(c.edtSong[i]->text(), QString()) << i;
            EXPECT_EQ(c.edtArtis[i]->text(), QString()) << i;
        }
        EXPECT_EQ(c.Mguest->toPlainText(), QString());
        EXPECT_EQ(c.CattOrderan->toPlainText(), QString());
        for (QLabel* label : {c.lblMenu, c.LblPrice, c.lblHintmenu, c.LblVerify}) {
            EXPECT_EQ(label->text(), QString()) << label->objectName();
        }
        EXPECT_EQ(c.AdvSonglist->selectedIndex(), -1);
        EXPECT_EQ(c.IdlaguSelect, 0);
    }

    const Room guest{.id = 750,
                     .code = QStringLiteral("7500"),
                     .name = QStringLiteral("BOOKING 750"),
                     .user = QStringLiteral("BUDI")};
};

TEST_F(BetweenGuestsTest, EveryEndOfABookingForgetsTheGuest) {
    Tfplayer& c = console();
    const struct {
        const char* how;
        std::function<void()> end;
    } endings[] = {
        {"the clock finds the booking ended",
         [&] {
             updateRoom(guest.id, "status = 0");
             c.CekAkses = 9;
             c.TmrHandleTimer();
         }},
        {"the clock finds the room player taken away",
         [&] {
             updateRoom(guest.id, "players = 0");
             c.CekAkses = 9;
             c.TmrHandleTimer();
         }},
        {"logout",
         [&] {
             platform.confirmAnswer = true;
             skinCommand("logout");
         }},
        {"the status set to NOT ACTIVE by hand",
         [&] {
             c.Sys_Status->setCurrentIndex(0);
             c.Sys_StatusChange();
         }},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.how);
        bookingRuns();
        leaveEverythingOpen();

        ending.end();

        EXPECT_TRUE(standbyShown());
        expectNothingLeft();
    }
}

// A booking that starts under what another left behind (the status changed by
// hand on the diagnostic strip, say) starts clean all the same.
TEST_F(BetweenGuestsTest, TheNextBookingStartsClean) {
    Tfplayer& c = console();
    bookingRuns();
    c.Sys_Status->setCurrentIndex(0);
    c.pnlStanby->show();
    leaveEverythingOpen();

    checkIn(guest.code);
    preparationTicks(3);

    EXPECT_FALSE(standbyShown());
    expectNothingLeft();
}

}  // namespace
