// The room's status fields and the booking clock: the room look-up and the
// booking record fill the fields, two rules decide between the standby screen
// and a running booking, and the clock shows the time since (or until) the
// booking's recorded time, re-reading the record every nine ticks.
#include <QScopeGuard>
#include <QTime>
#include <cstdlib>

#include "app/sqltext.h"
#include "app/uloading.h"
#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

const QString kClockVariable = QStringLiteral("_root.isitextdurasi.text");

// The clock re-reads the booking record when its counter reaches this value
// (or wraps to 0), then counts on from 1.
constexpr int kReReadAt = 10;
// While the booking record cannot be read, the clock tries again after this
// many ticks instead of every nine.
constexpr int kOutageRetryTicks = 30;

// The preparation sequence's counter at a booking start: the console is
// released three ticks later.
constexpr int kBookingStartEntry = 7;

QString TwoDigits(qint64 value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

void Tfplayer::WireBooking() {
    // A new value typed or set from code runs the refresh at once; the flags
    // raise their rules only when changed by hand, never when set from code.
    connect(Sys_idroom, &QSpinBox::valueChanged, this, &Tfplayer::Sys_idroomChange);
    connect(Sys_Status, &QComboBox::activated, this, &Tfplayer::Sys_StatusChange);
    connect(Sys_Players, &QComboBox::activated, this, &Tfplayer::Sys_PlayersChange);
    connect(TmrHandle, &QTimer::timeout, this, &Tfplayer::TmrHandleTimer);
    connect(TimerPreparation, &QTimer::timeout, this, &Tfplayer::TimerPreparationTimer);
    connect(Tmrbattery, &QTimer::timeout, this, &Tfplayer::TmrbatteryTimer);
    connect(AdvSmoothTouchKeyBoard1, &TouchKeyboard::beforeKeyClick, this,
            &Tfplayer::AdvSmoothTouchKeyBoard1BeforeKeyClick);
    connect(AdvSmoothButton5, &SmoothButton::clicked, this, &Tfplayer::AdvSmoothButton5Click);
    LoadStandbyArtwork();
}

void Tfplayer::RegisterBookingCommands() {
    AddCommand(QStringLiteral("logout"), [this] { Logout(); });
    AddCommand(QStringLiteral("call"), [this] { CallForService(1); });
    AddCommand(QStringLiteral("callit"), [this] { CallForService(2); });
}

bool Tfplayer::LookUpRoom(const QString& code, RoomLookup& room) {
    module_.ConnectedAuthen();
    SpCallAuthen.Close();
    SpCallAuthen.SetConnection(&module_.AdoAuthen);
    SpCallAuthen.SetText(sqltext::CallText(QStringLiteral("remote_room"), {code}));
    SpCallAuthen.Open();
    if (SpCallAuthen.RecordCount() == 0) {
        return false;
    }
    room.idroom = SpCallAuthen.FieldByName(QStringLiteral("idroom")).AsInteger();
    room.port = SpCallAuthen.FieldByName(QStringLiteral("port")).AsInteger();
    room.channel = SpCallAuthen.FieldByName(QStringLiteral("channel")).AsString();
    room.ip_address = SpCallAuthen.FieldByName(QStringLiteral("ip_address")).AsString();
    return true;
}

void Tfplayer::TakeRoom(const RoomLookup& room) {
    Sys_idroom->setValue(room.idroom);
    Sys_Port->setValue(room.port);
    Sys_Channel->setText(room.channel);
    SYS_IP->setText(room.ip_address);
}

Tfplayer::BookingRecord Tfplayer::ReadBookingRecord() {
    module_.Connected();
    SpCall.Close();
    // The booking record's call is written without the closing semicolon.
    SpCall.SetText(QStringLiteral("CekRoom_id(%1)").arg(Sys_idroom->value()));
    SpCall.Open();
    BookingRecord record;
    if (!SpCall.Eof()) {
        record.status = SpCall.FieldByName(QStringLiteral("status")).AsInteger();
        record.players = SpCall.FieldByName(QStringLiteral("players")).AsInteger();
        record.jam = SpCall.FieldByName(QStringLiteral("jam")).AsDateTime();
        record.durasi = SpCall.FieldByName(QStringLiteral("durasi")).AsInteger();
        record.namaroom = SpCall.FieldByName(QStringLiteral("namaroom")).AsString();
        record.user = SpCall.FieldByName(QStringLiteral("user")).AsString();
    }
    // A flag outside 0 and 1 selects no item and so counts as NOT ACTIVE.
    Sys_Status->setCurrentIndex(record.status);
    Sys_Players->setCurrentIndex(record.players);
    Sys_Jam->setTime(record.jam.isValid() ? record.jam.time() : QTime(0, 0));
    Sys_Durasi->setValue(record.durasi);
    Sys_Room->setText(record.namaroom);
    Sys_User->setText(record.user);
    return record;
}

QString Tfplayer::ClockText(qint64 milliseconds) {
    const qint64 minutes = milliseconds / 60000;
    const qint64 seconds = milliseconds / 1000;
    return TwoDigits(minutes / 60) + QLatin1Char(':') + TwoDigits(minutes % 60) + QLatin1Char(':') +
           TwoDigits(seconds % 60);
}

void Tfplayer::ShowStandby() {
    pnlStanby->show();
    // The standby screen means the guest's booking is over.
    ForgetPreviousGuest();
}

void Tfplayer::Sys_idroomChange() {
    Guarded(QStringLiteral("Syd_ID Room Chnage "), [this] {
        const BookingRecord record = ReadBookingRecord();
        lblUserNow->setText(record.user);
        MainSkinNew->SetVariable(kClockVariable, ClockText(0));
        Sys_PlayersChange();
        Sys_StatusChange();
    });
}

void Tfplayer::Sys_PlayersChange() {
    Guarded(QStringLiteral("Sys_Player Change "), [this] {
        if (IsActive(Sys_Status) && !IsActive(Sys_Players)) {
            ShowStandby();
            Sys_Status->setCurrentIndex(0);
        }
    });
}

void Tfplayer::Sys_StatusChange() {
    Guarded(QStringLiteral("Sys_Status Change "), [this] {
        RoomLookup room;
        if (!LookUpRoom(edtscan->text(), room)) {
            return;
        }
        // A new room id runs the refresh here, and with it this rule once more.
        TakeRoom(room);
        if (IsActive(Sys_Status) && !IsActive(Sys_Players)) {
            ShowStandby();
        }
        if (!IsActive(Sys_Players)) {
            return;
        }
        if (!IsActive(Sys_Status)) {
            ShowStandby();
            TmrHandle->stop();
            return;
        }
        if (!AdvPanel1->isHidden()) {
            // A booking start is already under way.
            return;
        }
        BookingStart();
    });
}

void Tfplayer::BookingStart() {
    ForgetPreviousGuest();
    GreetRoomPlayer();
    Tmrbattery->start();
    pnlStanby->hide();
    AdvPanel1->show();
    preparationTimer = kBookingStartEntry;
    TimerPreparation->start();
    // No input reaches the console until the preparation sequence releases it.
    setEnabled(false);
    TmrHandle->start();
}

bool Tfplayer::GreetRoomPlayer() {
    // Cleared while the two go out, so that their own answers do not send
    // them once more.
    greetingPending_ = false;
    const bool active = Kirim(QStringLiteral("GO#"));
    // The connection that carried "GO#" ends at the tablet's address on the
    // room player's network; the start-up window's address is the fallback
    // when no connection got through.
    const QString connectionAddress =
        IMCClient ? QString::fromStdString(IMCClient->LocalAddress()) : QString();
    const bool address =
        Kirim(QStringLiteral("26#") + (!connectionAddress.isEmpty() ? connectionAddress
                                       : loading_ != nullptr        ? loading_->myip_address
                                                                    : QString()));
    // A room player that missed either hears both once it answers again.
    greetingPending_ = !(active && address);
    return !greetingPending_;
}

void Tfplayer::ReReadBooking() {
    const BookingRecord record = ReadBookingRecord();
    sjam = record.jam;
    suser = record.user;
    if (IsActive(Sys_Status) && !IsActive(Sys_Players)) {
        ShowStandby();
    }
    if (!IsActive(Sys_Status)) {
        // The booking ended outside the console.
        greetingPending_ = false;
        ShowStandby();
        TmrHandle->stop();
        edtscan->clear();
    }
}

void Tfplayer::TmrHandleTimer() {
    // The message box runs the event loop, and this timer with it: the ticks
    // meanwhile wait for the guest to dismiss it.
    if (clockTickRunning_) {
        return;
    }
    clockTickRunning_ = true;
    const auto tickDone = qScopeGuard([this] { clockTickRunning_ = false; });
    Unguarded([this] {
        // The counter wraps like the 32-bit integer it is.
        CekAkses = static_cast<int>(static_cast<quint32>(CekAkses) + 1U);
        ++outageTicks_;
        const bool due = CekAkses >= kReReadAt || CekAkses == 0;
        // While the songs database is away it is asked less often: each try
        // may cost the guest a wait.
        if (due && (!songsDatabaseAway_ || outageTicks_ >= kOutageRetryTicks)) {
            ReReadOnClock();
        }
        if (due) {
            CekAkses = 1;
        }
        // Before or after the recorded time, the clock shows the distance,
        // from the console's own count while the record cannot be read.
        const qint64 distance = sjam.isValid() ? std::llabs(sjam.msecsTo(Now())) : 0;
        mnt = static_cast<double>(distance / 60000);
        durasi = static_cast<double>(distance / 1000);
        Fdurasi = ClockText(distance);
        lblUserNow->setText(suser);
        MainSkinNew->SetVariable(kClockVariable, Fdurasi);
        SpinEdit5->setValue(CekAkses);
    });
}

void Tfplayer::ReReadOnClock() {
    outageTicks_ = 0;
    try {
        ReReadBooking();
    } catch (...) {
        const QString failure = FailureText(std::current_exception());
        if (songsDatabaseAway_) {
            // One message for the outage; the quiet retries go to the journal.
            qWarning("lyrabox: the booking record still cannot be read: %s", qPrintable(failure));
            return;
        }
        songsDatabaseAway_ = true;
        WriteLog(QStringLiteral("Timer Handle "), failure);
        platform_.ShowMessage(failure);
        return;
    }
    if (songsDatabaseAway_) {
        songsDatabaseAway_ = false;
        WriteLog(QStringLiteral("Timer Handle "),
                 QStringLiteral("the booking record can be read again"));
    }
}

void Tfplayer::Logout() {
    if (!platform_.ConfirmYesCancel(QStringLiteral("Anda Ingin LogOut ?"))) {
        return;
    }
    greetingPending_ = false;
    Kirim(QStringLiteral("GI#"));
    // Set from code: the status rule does not run.
    Sys_Status->setCurrentIndex(0);
    FrezeON();
    TmrHandle->stop();
    // "GI#" has emptied the room player's copy of the search text already.
    edtcari->setText(QString());
    ForgetPreviousGuest();
}
