// The preparation sequence: start-up, booking start and the reconnection wait
// loop, one state machine on TimerPreparation. Every tick adds one to
// preparationTimer and acts on a few values; the others steer it only by
// setting the counter to an entry value and starting the timer.
#include <QScopeGuard>

#include "app/uloading.h"
#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

// Values of preparationTimer.
constexpr int kStartUpStep = 4;              // fourth tick after creation
constexpr int kBookingStartCompletion = 10;  // third tick after the booking start
constexpr int kWaitLoopEntry = 99;
constexpr int kProbe = 103;     // fourth tick of the wait loop
constexpr int kDecision = 105;  // sixth tick of the wait loop
// How long a tick waits for the probe's answer before leaving it to a later
// tick: a room player on the venue's network answers well within it.
constexpr int kProbePromptMilliseconds = 300;

// The start-up window moves aside and says the console is being watched.
constexpr int kLoadingLeft = 880;
constexpr int kLoadingTop = 568;

// A row per record of command: the text column in item markup, the id as tag.
void AppendRows(SmoothListBox& list, TAdoCommand& command, const QString& textColumn,
                const QString& idColumn) {
    for (; !command.Eof(); command.Next()) {
        list.addItem({.notes = QStringLiteral("<html>") +
                               command.FieldByName(textColumn).AsString() +
                               QStringLiteral("</html>"),
                      .tag = command.FieldByName(idColumn).AsInteger()});
    }
}

}  // namespace

bool Tfplayer::InWaitLoop() const {
    return TimerPreparation->isActive() && preparationTimer >= kWaitLoopEntry;
}

void Tfplayer::EnterWaitLoop() {
    AdvPanel1->show();
    setEnabled(false);
    linkGivenUp_ = false;
    if (InWaitLoop()) {
        // Already waiting: the loop keeps its step, so that entries made while
        // it waits (a progress tick, the monitor) cannot keep it from deciding.
        return;
    }
    lostRounds_ = 0;
    preparationTimer = kWaitLoopEntry;
    TimerPreparation->start();
}

void Tfplayer::RecoverLink() {
    perintahSucces = 1;
    EnterWaitLoop();
    Timer1->stop();
}

void Tfplayer::Release() {
    TimerPreparation->stop();
    AdvPanel1->hide();
    // The connection-error dialog, when it is open, still waits for the guest.
    setEnabled(errorDialog_ == nullptr || !errorDialog_->isVisible());
}

void Tfplayer::TimerPreparationTimer() {
    Guarded(QStringLiteral("Timer Preparation "), [this] {
        if (probe_.Pending()) {
            // The decision waits for the probe's answer; the console's thread
            // does not.
            if (!probe_.WaitFor(0)) {
                return;
            }
            FinishProbe();
        }
        ++preparationTimer;
        SpinEdit3->setValue(preparationTimer);
        SpinEdit2->setValue(perintahSucces);
        switch (preparationTimer) {
            case kStartUpStep:
                StartUpStep();
                break;
            case kBookingStartCompletion:
                CompleteBookingStart();
                break;
            case kProbe:
                probeAnswered_ = false;
                if (perintahSucces == 1) {
                    ProbeConnection();
                }
                break;
            case kDecision:
                DecideLink();
                break;
            default:
                break;
        }
    });
}

void Tfplayer::DecideLink() {
    if (perintahSucces == 1 && probeAnswered_) {
        // The room player answered: whatever was shown about it is over.
        if (errorDialog_ != nullptr) {
            errorDialog_->close();
        }
        Release();
        RedrawPlaylist();
        perintahSucces = 1;
        return;
    }
    ++lostRounds_;
    WriteLog(QStringLiteral("Koneksi Reconect "),
             QStringLiteral("the room player is still out of reach, round %1 of %2")
                 .arg(lostRounds_)
                 .arg(kWaitLoopRounds));
    if (lostRounds_ >= kWaitLoopRounds) {
        GiveUpWaiting();
        return;
    }
    // The link is still lost: wait and decide once more.
    perintahSucces = 1;
    preparationTimer = kWaitLoopEntry;
}

void Tfplayer::GiveUpWaiting() {
    perintahSucces = 0;
    ShowConnectionError(QStringLiteral("The room player did not answer in %1 rounds of waiting")
                            .arg(kWaitLoopRounds));
}

void Tfplayer::StartUpStep() {
    LoadSongGroups();
    perintahSucces = 1;
    if (loading_ != nullptr) {
        loading_->AdvSmoothWin8Marquee1->hide();
        loading_->Label2->hide();
        loading_->move(kLoadingLeft, kLoadingTop);
        loading_->Label1->show();
    }
    lbluser->setText(QStringLiteral("KesTrel"));
    lbljam->setText(QStringLiteral("00:00"));

    pSiGol = 0;
    pSiKat = 0;
    onPlaylistSelect = 0;
    onPlaylistSelect1 = 0;
    // Emptying the search field runs its change handler: the catalogue search starts.
    edtcari->setText(QString());
    lvkategori->hide();
    lvgenre->hide();
    cbtitsing->setCurrentIndex(1);
    cbMode->setCurrentIndex(0);
    bpause = false;
    MainSkinNew->SetVariable(QStringLiteral("_root.nomer_judulartis.text"), QStringLiteral("0"));

    preparationTimer = 0;
    bacaDurasiwmp = 0;

    Sys_idroom->setValue(0);
    Sys_Room->clear();
    Sys_Port->setValue(0);
    Sys_Channel->clear();
    Sys_Players->setCurrentIndex(0);
    Sys_Status->setCurrentIndex(0);
    Sys_User->clear();
    Sys_Jam->setTime(Now().time());
    Sys_Durasi->setValue(0);
    SYS_IP->clear();

    iwaiters = 0;
    lblUserNow->setText(QStringLiteral("TOLVEK"));
    edtscan->clear();
    Release();
    platform_.Sleep(250);
    LoadMenuCategories();
}

void Tfplayer::LoadSongGroups() {
    module_.Connected();
    SpCall.Close();
    SpCall.SetText(QStringLiteral("ViewKategori;"));
    SpCall.Open();
    const SmoothListBox::UpdateScope update(*lvkategori);
    lvkategori->clear();
    lvkategori->addItem({.notes = QStringLiteral("ALL")});
    AppendRows(*lvkategori, SpCall, QStringLiteral("golongan"), QStringLiteral("idgolongan"));
}

void Tfplayer::LoadMenuCategories() {
    const auto closeMenu = qScopeGuard([this] { ADOSPMenu.Close(); });
    // Without categories the order panel opens empty; the guest sees that, and
    // the start-up goes on.
    Silent([this] {
        module_.ConnectedTransaksi();
        ADOSPMenu.Close();
        ADOSPMenu.SetText(QStringLiteral("ViewCategoryMenu;"));
        ADOSPMenu.Open();
        const SmoothListBox::UpdateScope update(*AdvCategory);
        AdvCategory->clear();
        AppendRows(*AdvCategory, ADOSPMenu, QStringLiteral("kategori"), QStringLiteral("id"));
    });
}

void Tfplayer::CompleteBookingStart() {
    platform_.Sleep(250);
    // A playlist that cannot be read must not keep the guest locked out of
    // the console: the failure is logged and the console released.
    Guarded(QStringLiteral("Timer Preparation "), [this] { PlaylistView(0); });
    Release();
    if (errorDialog_ != nullptr && errorDialog_->isVisible()) {
        // The guest decides with the dialog whether to wait for the room player.
        return;
    }
    if (kondisi == QLatin1String("1") || greetingPending_) {
        // The room player asked to be probed before it is used, or it has not
        // heard that the room went active: it is told once the probe succeeds.
        RecoverLink();
    }
}

void Tfplayer::ProbeConnection() {
    // The probe runs beside the console's thread: a room player that takes it
    // and stays silent, or a host that never answers the connect, must not
    // freeze the screen round after round. A prompt answer is taken at once.
    if (!IMCClient) {
        // Without a message client the probe fails as every send does.
        Guarded(QStringLiteral("Koneksi Reconect "), [this] {
            probeAnswered_ = Kirim(QStringLiteral("38#"));
            WriteLog(QStringLiteral("masuk timer 103"));
        });
        return;
    }
    probe_.Start(PlayerAddress(), u"38#", kConnectLimit, IMCClient->ExecuteTimeout(),
                 IMCClient->ReplyLimit());
    if (probe_.WaitFor(kProbePromptMilliseconds)) {
        FinishProbe();
    }
}

void Tfplayer::FinishProbe() {
    Guarded(QStringLiteral("Koneksi Reconect "), [this] {
        probeAnswered_ = TakeAnswer(QStringLiteral("38#"), probe_.Take());
        WriteLog(QStringLiteral("masuk timer 103"));
    });
}
