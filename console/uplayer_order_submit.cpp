// Order verification and submission: the guest types back four random
// letters, and the composed order is written to the transaction database.
#include <QPalette>

#include "console/ordersubmission.h"
#include "console/uplayer.h"

void Tfplayer::AdvSmoothButton3Click() {
    PnlVerify->show();
    LblVerify->setText(RandomLetters(4));
    AeVeryfy->clear();
}

void Tfplayer::MarkCodeWrong(bool wrong) {
    // The order panel's style sheet paints every field; the field's own sheet
    // wins over it, where a palette alone would never be seen.
    AeVeryfy->setStyleSheet(
        wrong ? QStringLiteral("QLineEdit { background: yellow; color: black; }") : QString());
    QPalette palette;
    if (wrong) {
        palette = AeVeryfy->palette();
        palette.setColor(QPalette::Base, Qt::yellow);
    }
    AeVeryfy->setPalette(palette);
}

void Tfplayer::AdvBackClick() {
    PnlVerify->hide();
}

void Tfplayer::AdvOKClick() {
    // An order that could not be stored (the server away, hung or refusing)
    // is said on the panel itself, where the guest looks; the order, the note
    // and the code stay as they are, so that OK can simply be tapped again.
    Guarded(QStringLiteral("Order "), [this] {
        try {
            SubmitOrder();
        } catch (...) {
            LblOrderNotice->showNotice(OrderNotSentNotice());
            throw;
        }
    });
}

void Tfplayer::SubmitOrder() {
    if (AeVeryfy->text() != LblVerify->text()) {
        MarkCodeWrong(true);
        return;
    }
    if (vtorder.recordCount() == 0) {
        return;
    }
    // A failure throws with nothing of the order saved; both panels stay open
    // with the order as composed, so "OK" can simply be tapped again.
    const TOrderSubmission::Result result = TOrderSubmission(Adosave).Submit(
        Sys_Room->text(), CattOrderan->toPlainText(), ComposedOrder(), orderClock_());
    if (result.outcome == TOrderSubmission::Outcome::RoomNotCheckedIn) {
        platform_.ShowMessage(QStringLiteral("ROOM ANDA TIDAK CHECKIN"));
        return;
    }
    PnlVerify->hide();
    PanelOrder->hide();
}
