// The battery and network monitor, and the call for service whose indication
// in the skin it ends. The monitor runs from the first booking start on.
#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

const QString kCallVariable = QStringLiteral("_root.anima_txt.text");

// The call's indication ends on this many ticks of the monitor after the call.
constexpr int kCallIndicationTicks = 4;

}  // namespace

void Tfplayer::CallForService(int kind) {
    if (iwaiters == 1) {
        // The previous call is still being indicated.
        return;
    }
    iwaiters = 1;
    hitwiater = 0;
    try {
        ChangeDatabase(CallNotPlacedNotice(), [&] {
            module_.ConnectedTransaksi();
            ADOTransaksi.Close();
            ADOTransaksi.SetText(
                sqltext::CallText(QStringLiteral("Caller"), {Sys_Room->text(), qint64{kind}}));
            ADOTransaksi.Execute();
        });
    } catch (...) {
        // Staff were not called: the guest may call again at once.
        iwaiters = 0;
        throw;
    }
    // Only a call that is stored is shown as placed.
    MainSkinNew->SetVariable(kCallVariable, QStringLiteral("1"));
}

void Tfplayer::TmrbatteryTimer() {
    Guarded(QStringLiteral("Timer Battery "), [this] {
        SpinEdit3->setValue(preparationTimer);
        SpinEdit2->setValue(perintahSucces);
        if (!IsInternetConnected()) {
            // Nothing reaches the room player: the next send waits and probes.
            perintahSucces = 0;
            Timer1->stop();
            // Its return is worth waiting for again, whatever the guest was asked.
            linkGivenUp_ = false;
        }
        // Asked again: the network may be back, or the link was marked lost
        // by an empty reply from the room player. A wait under way decides
        // by its own probe; one that gave up waits for the guest's answer.
        if (IsInternetConnected() && perintahSucces == 0 && !linkGivenUp_ && !InWaitLoop()) {
            RecoverLink();
        }
        if (iwaiters == 1) {
            ++hitwiater;
            if (hitwiater >= kCallIndicationTicks) {
                MainSkinNew->SetVariable(kCallVariable, QStringLiteral("2"));
                iwaiters = 0;
                hitwiater = 0;
            }
        }
        // 255 means the charge cannot be determined: the bar keeps what it shows.
        const int charge = platform_.BatteryPercent();
        if (charge >= 0 && charge <= 100) {
            Progbattery->setRange(0, 100);
            Progbattery->setValue(charge);
        }
    });
}
