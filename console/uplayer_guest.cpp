// Between two guests: a booking's end and the next one's start leave nothing
// of the previous guest on the console, however the booking ended.
#include "console/uplayer.h"

void Tfplayer::ForgetPreviousGuest() {
    // The order: its panels closed, its rows, note and code gone, so that no
    // one can send it to the next guest's bill.
    PanelViewOrder->hide();
    PnlVerify->hide();
    PanelOrder->hide();
    vtorder.open();
    vtorder.empty();
    AdvOrder->clear();
    AdvItem->clear();
    Label20->show();
    Label21->show();
    CattOrderan->clear();
    JumlahOrder = 0;
    SetDetailRowNumber(0);
    for (QLabel* label : {lblMenu, LblPrice, lblHintmenu, LblVerify}) {
        label->clear();
    }
    AeJum->clear();
    Catatan->clear();
    AeVeryfy->clear();
    MarkCodeWrong(false);
    LblOrderNotice->hide();

    // The song request: name, e-mail, telephone, songs and message.
    Panel_Request->hide();
    pnlcommand->hide();
    ClearRequestForm();

    // The search and the chosen song. Emptying the search text runs its
    // change handler: the catalogue is listed afresh.
    AdvSonglist->setSelectedIndex(-1);
    IdlaguSelect = 0;
    const bool searched = !edtcari->text().isEmpty();
    edtcari->setText(QString());
    // The room player keeps its own copy of the search text, which the room's
    // TV shows: it goes with the guest. A room player already known to be
    // away is not waited for here; it hears nothing of this guest's search.
    if (searched && perintahSucces != 0) {
        Kirim(QStringLiteral("35#"));
    }
}
