// The standby screen: its artwork, the keypad typing into the check-in field,
// and START, which checks the room in (or closes the console on the exit code).
#include <QCoreApplication>
#include <QPixmap>

#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

void Tfplayer::LoadStandbyArtwork() {
    const QString folder = module_.PullPath + QStringLiteral("tools/gambar/");
    const QPixmap artwork(folder + QStringLiteral("standby.png"));
    if (artwork.isNull()) {
        // The check-in still works on the plain panel.
        qWarning("standby screen: cannot read %s", qPrintable(folder + "standby.png"));
        return;
    }
    hotstart->setPicture(artwork);
    for (const QString& spot : hotstart->hotSpotNames()) {
        const QString stem = folder + QStringLiteral("standby_") + spot;
        hotstart->addHotSpot(spot, hotstart->hotSpotRect(spot),
                             QPixmap(stem + QStringLiteral("_hover.png")),
                             QPixmap(stem + QStringLiteral("_pressed.png")));
    }
}

void Tfplayer::AdvSmoothTouchKeyBoard1BeforeKeyClick() {
    edtscan->setFocus();
}

// An unknown code gets no answer: the standby screen stays as it is. A
// check-in that failed (the database out of reach, say) says so in a notice,
// or the guest would take a good code for a wrong one.
void Tfplayer::AdvSmoothButton5Click() {
    const bool done = Silent([this] {
        if (edtscan->text() == ExitCode()) {
            // Closing the application closes this window, which says goodbye
            // to the room player.
            QCoreApplication::quit();
            return;
        }
        RoomLookup room;
        if (!LookUpRoom(edtscan->text(), room)) {
            return;
        }
        // Another room runs the refresh here, and the booking may start inside it.
        TakeRoom(room);
        const BookingRecord record = ReadBookingRecord();
        sjam = record.jam;
        suser = record.user;
        lblUserNow->setText(record.user);
        MainSkinNew->SetVariable(QStringLiteral("_root.isitextdurasi.text"), ClockText(0));
        // When the booking already started above, the status rule sends nothing more.
        Sys_StatusChange();
        Sys_PlayersChange();
    });
    if (!done) {
        LblStandbyNotice->showNotice(CheckInFailedNotice());
    }
}
