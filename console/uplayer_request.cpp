// The song request form: a guest asks for songs the catalogue lacks, or
// leaves a message, and the request is stored for the venue's staff.
#include <algorithm>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/uplayer.h"

namespace {

// The widths of the stored request's columns: a field never holds more than
// its column takes.
constexpr int kNameLength = 60;
constexpr int kEmailLength = 100;
constexpr int kTelephoneLength = 20;
constexpr int kSongLength = 150;

bool IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

}  // namespace

void Tfplayer::WireRequestForm() {
    edtNama->setMaxLength(kNameLength);
    edtEmail->setMaxLength(kEmailLength);
    edtTelp->setMaxLength(kTelephoneLength);
    for (int i = 0; i < 5; ++i) {
        edtSong[i]->setMaxLength(kSongLength);
        edtArtis[i]->setMaxLength(kSongLength);
    }
    connect(Button3, &QPushButton::clicked, this, &Tfplayer::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &Tfplayer::Button4Click);
    connect(btcancelrequest, &SmoothButton::clicked, this, &Tfplayer::btcancelrequestClick);
    connect(btsubmitrequest, &SmoothButton::clicked, this, &Tfplayer::btsubmitrequestClick);
    // The keyboard types into the focused widget of the whole window: a key
    // must never reach the search text or a line hidden under the message box.
    connect(AdvSmoothTouchKeyBoard3, &TouchKeyboard::beforeKeyClick, this,
            &Tfplayer::FocusRequestField);
}

Tfplayer::RequestMode Tfplayer::CurrentRequestMode() const {
    return pnlcommand->isHidden() ? RequestMode::Songs : RequestMode::Message;
}

QList<QWidget*> Tfplayer::RequestFields() const {
    QList<QWidget*> fields{edtNama, edtEmail, edtTelp};
    if (CurrentRequestMode() == RequestMode::Message) {
        fields << Mguest;
    } else {
        for (int i = 0; i < 5; ++i) {
            fields << edtSong[i] << edtArtis[i];
        }
    }
    return fields;
}

void Tfplayer::FocusRequestField() {
    if (!RequestFields().contains(focusWidget())) {
        edtNama->setFocus();
    }
}

void Tfplayer::ClearRequestForm() {
    edtNama->clear();
    edtEmail->clear();
    edtTelp->clear();
    for (QLineEdit* song : edtSong) {
        song->clear();
    }
    for (QLineEdit* artis : edtArtis) {
        artis->clear();
    }
    Mguest->clear();
}

void Tfplayer::OpenRequestForm(RequestMode mode) {
    Panel_Request->show();
    pnlcommand->setVisible(mode == RequestMode::Message);
    ClearRequestForm();
    edtNama->setFocus();
}

void Tfplayer::Button3Click() {
    Unguarded([this] { OpenRequestForm(RequestMode::Songs); });
}

void Tfplayer::Button4Click() {
    Unguarded([this] { OpenRequestForm(RequestMode::Message); });
}

void Tfplayer::btcancelrequestClick() {
    Panel_Request->hide();
}

QString Tfplayer::SubmitRequestCallText() const {
    // Only what the guest could see is stored: the five lines in request
    // mode, the message in message mode.
    const bool songs = CurrentRequestMode() == RequestMode::Songs;
    const auto song = [&](int i) { return songs ? edtSong[i]->text() : QString(); };
    const auto artis = [&](int i) { return songs ? edtArtis[i]->text() : QString(); };
    return sqltext::CallText(
        QStringLiteral("SimpanRequestLagu"),
        {Sys_Room->text(), edtNama->text(), edtEmail->text(), edtTelp->text(), song(0), artis(0),
         song(1), artis(1), song(2), artis(2), song(3), artis(3), song(4), artis(4),
         songs ? QString() : Mguest->toPlainText()});
}

void Tfplayer::btsubmitrequestClick() {
    const RequestMode mode = CurrentRequestMode();
    if (mode == RequestMode::Songs &&
        std::all_of(std::begin(edtSong), std::end(edtSong),
                    [](const QLineEdit* title) { return IsBlank(title->text()); })) {
        platform_.ShowMessage(QStringLiteral("Please type at least one song title."));
        return;
    }
    if (mode == RequestMode::Message && IsBlank(Mguest->toPlainText())) {
        platform_.ShowMessage(QStringLiteral("Please type your message."));
        return;
    }
    const bool stored = Guarded(QStringLiteral("Song Request "), [this] {
        module_.Connected();
        SpCall.Close();
        SpCall.SetText(SubmitRequestCallText());
        SpCall.Execute();
    });
    if (!stored) {
        // The form stays as typed, so the guest can try again.
        platform_.ShowMessage(
            QStringLiteral("Your song request could not be sent. Please try again."));
        return;
    }
    platform_.ShowMessage(QStringLiteral("Thank you! Your song request has been sent."));
    ClearRequestForm();
    Panel_Request->hide();
}
