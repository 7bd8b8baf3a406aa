#pragma once

#include <QComboBox>
#include <QDateTime>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QTimeEdit>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "app/adocommand.h"
#include "app/platform.h"
#include "console/UErr.h"
#include "console/ordersubmission.h"
#include "console/playerexchange.h"
#include "console/runlog.h"
#include "console/uppercaseedit.h"
#include "link/timclient.h"
#include "widgets/animatedpicture.h"
#include "widgets/hotspotpicture.h"
#include "widgets/memorytable.h"
#include "widgets/noticelabel.h"
#include "widgets/rangeslider.h"
#include "widgets/smoothbutton.h"
#include "widgets/smoothlistbox.h"
#include "widgets/smoothpanel.h"
#include "widgets/touchkeyboard.h"

class Tfmodule;
class Tfloading;
class TSkinHost;

// The console window. It hosts the skin, lays the native lists and panels over
// fixed places of it, keeps the room's state in its fields and in controls of
// the diagnostic strip, owns the message client and writes the console's log.
//
// The class is declared once, here, in one block per concern; each concern is
// implemented in its own uplayer_<concern>.cpp. Components are public and carry
// their names as objectName; handlers are public slots so that tests call a
// timer's handler instead of waiting for it.
class Tfplayer : public QWidget {
    Q_OBJECT

public:
    // loading is the start-up window that the preparation sequence rearranges;
    // it may be null (tests).
    Tfplayer(Tfmodule& module, IPlatform& platform, Tfloading* loading = nullptr,
             QWidget* parent = nullptr);
    ~Tfplayer() override;

    // ---- Creation, destruction, log (uplayer.cpp) ------------------------------
    // Appends "*hh:mm:ss =>" + label + message to MemLog and to the run's log
    // file, which is flushed line by line: whatever ends the run (a signal, the
    // loss of the X server, a crash) the file holds every line written before.
    // The first line opens the file under NextLogFileName, with MemLog's text.
    void WriteLog(const QString& label, const QString& message = QString());
    QString LogFolder() const;
    // "Log " + number + ".txt" in folder: the count of ".txt" files there plus
    // one, or the next number after it that no file holds yet.
    static QString NextLogFileName(const QString& folder);
    // Closes the run's log file and empties MemLog; a later line starts a new
    // file. Throws when the log file could not be written.
    void SaveLog();

    // Runs action; a failure writes one log line with label and the failure's
    // message, and the handler ends there. Returns whether action completed.
    template <class Action>
    bool Guarded(const QString& label, Action&& action);
    // Runs action; a failure is dropped on purpose (the caller says why).
    template <class Action>
    bool Silent(Action&& action);
    // Runs action; a failure is shown in a message box and the program runs on.
    template <class Action>
    void Unguarded(Action&& action);

    // ---- Shared routines (uplayer_routines.cpp) ---------------------------------
    // Fills list with the fields of value separated by delimiter (not empty).
    void ParseDelimited(QStringList& list, const QString& value, const QString& delimiter);
    void ParseDelimited(QListWidget* list, const QString& value, const QString& delimiter);
    void FrezeON();
    struct VersionNumbers {
        quint16 major = 0, minor = 0, release = 0, build = 0;
    };
    static VersionNumbers GetVersionNumbers();
    static QString GetVersionText();
    bool IsInternetConnected();
    // text cut to n UTF-16 code units, its last one replaced by U+2026.
    static QString TruncateWithEllipsis(const QString& text, int n);
    static QString RandomCode(int n);
    static QString RandomLetters(int n);

public slots:
    void FormCloseQuery();
    void FormClose();
    void getVersionClick();

public:
    // ---- Skin command dispatcher (uplayer_dispatch.cpp) ---------------------------
    // How a row of the command table handles a failure of its own: a plain row
    // lets it reach the dispatcher, which logs "FSCommand "; a silent row drops it.
    enum class CommandKind { Plain, Silent };
    // Adds a row for one exact command name. Each concern registers its rows
    // from RegisterCommands().
    void AddCommand(const QString& name, std::function<void()> action,
                    CommandKind kind = CommandKind::Plain);
    // Adds a row for commands whose first two characters are prefix; the action
    // receives characters 3 to 6 with blanks and control characters trimmed.
    void AddPrefixCommand(const QString& prefix, std::function<void(const QString&)> action);
    bool HasCommand(const QString& name) const { return commands_.contains(name); }

public slots:
    void MainSkinNewFSCommand(const QString& command, const QString& args);

public:
    // ---- Player command exchange (uplayer_kirim.cpp) --------------------------------
    // How long the console waits for the room player: to connect, and for the
    // whole answer once connected. A room player on the venue's network answers
    // within milliseconds; one that takes the connection and then says nothing
    // for five seconds is treated as gone, so that a guest's tap never holds the
    // touch screen longer than the two limits together.
    static constexpr uint32_t kConnectLimit = 10000;
    static constexpr uint32_t kReplyLimit = 5000;
    // The reply lines Memo1 keeps: enough to read back a night's trouble, not
    // weeks of replies.
    static constexpr int kReplyLinesKept = 500;
    // Sends one command text to the room player and applies its answer.
    // Returns whether the room player answered with a reply text: false when
    // nothing was sent (the link is lost), the connect failed, no complete
    // answer came back, or the answer was empty.
    bool Kirim(const QString& siPesan);
    // The connection-error dialog on screen or hidden; null when none is open.
    // There is at most one: a failure while it is open raises it again.
    TFrmError* ErrorDialog() const { return errorDialog_; }

    // ---- Playback progress (uplayer_progress.cpp) -------------------------------------
    // "mm:ss" with at least two digits each: 75 gives "01:15", 6000 gives "100:00".
    static QString ElapsedText(int seconds);
    // Shows song Icontrol as now playing (0: none) and refreshes the next song.
    void OnTextPlay(int Icontrol);

    // ---- Room playlist (uplayer_playlist.cpp) -----------------------------------------
    // Reloads the room playlist and selects row urutan.
    void PlaylistView(int urutan);
    // Reloads the room playlist keeping the entry the guest selected (by its
    // idplaylist) and the scroll position; the first row when that entry left.
    void RedrawPlaylist();

    // ---- Preparation sequence (uplayer_preparation.cpp) -------------------------------
    // The wait loop's entry: loading panel, console disabled, reconnection from 99.
    void EnterWaitLoop();
    // The wait loop's rounds (six ticks each) before the guest is asked: a room
    // player that stays away or keeps answering nothing ends in the
    // connection-error dialog instead of an endless loading panel.
    static constexpr int kWaitLoopRounds = 3;
    bool InWaitLoop() const;
    // True from the booking start until "GO#" and the tablet's address have
    // reached the room player.
    bool GreetingPending() const { return greetingPending_; }

public:
    // ---- Progress ticks and player-control commands (uplayer_progress.cpp, ----
    // ---- uplayer_player_commands.cpp) ------------------------------------------
    // The elapsed time back to none: the bar's thumb, spnDurWmp and lblwmp.
    void ResetElapsed();

public slots:
    // The progress timer's tick: one second on, or a fresh question to the room
    // player when the count ran out or the length is missing.
    void Timer1Timer();
    // The bar cannot leave 0 while nothing plays and playback is not paused.
    void ProgBarChange();
    // Seek where the guest let the bar go, never into the last five seconds.
    void ProgBarMouseUp();

private:
    void WirePlayer();
    void RegisterPlayerCommands();

public:
    // ---- Catalogue search, song groups, playlist operations, request form ------
    // ---- (uplayer_search.cpp, uplayer_songlist.cpp, uplayer_playlist.cpp, ------
    // ---- uplayer_request.cpp) --------------------------------------------------
    // Search stage windows: the first stage replaces the list with up to 15
    // rows, the second appends up to 700 more once typing pauses.
    static constexpr int kFirstStageCount = 15;
    static constexpr int kSecondStageCount = 700;
    // One search stage: MYlimit 0 runs the first, any other value the second;
    // TiSing 1 searches titles, anything else artists.
    void CariProcedur(int MYlimit, int TiSing, int siGol, int siKat, int siMod,
                      const QString& keyword);
    // The keyword as a pattern: "\" dropped, "%" escaped, blanks turned into "%".
    static QString SearchPattern(const QString& keyword);
    // 2 for an empty keyword or one of ASCII letters and digits only, else 1.
    static int KeywordClass(const QString& keyword);
    // Both search stages again from the first tick: keytime 0, timer enabled.
    void RestartSearch();
    // The caption the skin shows for song groups 0 to 12; empty for others.
    static QString GroupLabel(int idgolongan);

    // Adds song s to the room playlist (nothing for 0). The button form reloads
    // before telling the room player, the command form tells it first.
    enum class AddForm { Button, Command };
    void AddSongToPlaylist(int s, AddForm form);
    // The playlist operations of the skin commands; each ends quietly where
    // there is nothing to act on.
    void DeleteSelectedEntry();
    enum class Move { Up, Down };
    void MoveSelectedEntry(Move direction);
    void PrioritiseSelectedEntry();
    // "play": the selected playlist entry when the playlist was touched last,
    // otherwise (or when the playlist has no entry selected) the selected
    // song-list song.
    void PlaySelectedSong();
    // The notices over the playlist when the songs or transaction database
    // did not take a change.
    static QString SongNotAddedNotice() {
        return QStringLiteral("Oooppss,,.. Lagu Gagal Ditambahkan");
    }
    static QString PlaylistNotChangedNotice() {
        return QStringLiteral("Oooppss,,.. Playlist Gagal Diubah");
    }
    static QString CallNotPlacedNotice() {
        return QStringLiteral("Oooppss,,.. Panggilan Gagal Terkirim");
    }
    static QString OrderNotSentNotice() {
        return QStringLiteral("Oooppss,,.. Pesanan Gagal Terkirim, Silakan Coba Lagi");
    }
    // A search that the songs database did not answer: an empty list would
    // read as "no such song".
    static QString SearchFailedNotice() {
        return QStringLiteral("Oooppss,,.. Pencarian Lagu Gagal");
    }
    // On the standby screen, when a check-in could not be looked up or begun;
    // an unknown code still gets no answer.
    static QString CheckInFailedNotice() {
        return QStringLiteral("Oooppss,,.. Check In Gagal, Silakan Coba Lagi");
    }
    // Sends "37#" for entry and, once the room player took it, removes the
    // entry from the playlist and reloads it with row rowAfter selected.
    // Returns whether the room player took it.
    bool PlayPlaylistEntry(const SmoothListItem& entry, int rowAfter);

    // The song request form; message mode shows the message box over the
    // five title and artist lines.
    enum class RequestMode { Songs, Message };
    void OpenRequestForm(RequestMode mode);
    RequestMode CurrentRequestMode() const;

public slots:
    void tmrsearchingTimer();
    void edtcariChange();
    void cbModeChange();
    void cbtitsingChange();
    void lvkategoriItemClick(int itemindex);
    void lvgenreItemClick(int itemindex);
    void AdvSonglistItemClick(int itemindex);
    void AdvSonglistItemSelected(int itemindex);
    void AdvSonglistGraphicRightClick(int itemindex);
    void lvPlaylistnNewItemClick(int itemindex);
    void lvPlaylistnNewGraphicRightClick(int itemindex);
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void btcancelrequestClick();
    void btsubmitrequestClick();

private:
    // Runs change, the database part of a guest's change; when it fails the
    // guest sees notice over the playlist and the failure goes on to the
    // caller, which logs it. Nothing after it runs then.
    template <class Change>
    void ChangeDatabase(const QString& notice, Change&& change);
    void WireSongs();
    void RegisterSongCommands();
    void RegisterSearchKeyCommands();
    // A character typed in the skin: into the search text, mirrored to the room player.
    void TypeSearchKey(const QString& character);
    void ChooseListMode(int mode);
    void WireRequestForm();
    // The request form's fields the guest can type into in the current mode.
    QList<QWidget*> RequestFields() const;
    // Keeps the on-screen keyboard typing into one of those fields.
    void FocusRequestField();
    QString SubmitRequestCallText() const;
    void ClearRequestForm();

public:
    // ---- Room status, booking clock, preparation, standby, monitor -------------
    // ---- (uplayer_booking.cpp, uplayer_preparation.cpp, uplayer_standby.cpp, ---
    // ---- uplayer_monitor.cpp) --------------------------------------------------
    // The clock of the booking and of the start-up step; tests set their own.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

    // A row of the room look-up in the authentication database.
    struct RoomLookup {
        int idroom = 0;
        int port = 0;
        QString channel;
        QString ip_address;
    };
    // Looks the check-in code up; false when no room has it.
    bool LookUpRoom(const QString& code, RoomLookup& room);
    // The booking record of Sys_idroom; a room without one reads as zeros,
    // empty texts and no time.
    struct BookingRecord {
        int status = 0;
        int players = 0;
        QDateTime jam;
        int durasi = 0;
        QString namaroom;
        QString user;
    };
    // Reads the booking record into the status fields and returns it.
    BookingRecord ReadBookingRecord();
    // The clock's text for a distance: hours (two digits or more), minutes and
    // seconds, as "hh:mm:ss".
    static QString ClockText(qint64 milliseconds);
    // The text that closes the console when typed on the standby screen.
    static QString ExitCode() { return QStringLiteral("583716"); }

public slots:
    void Sys_idroomChange();
    void Sys_PlayersChange();
    void Sys_StatusChange();
    void TmrHandleTimer();
    void TimerPreparationTimer();
    void AdvSmoothTouchKeyBoard1BeforeKeyClick();
    void AdvSmoothButton5Click();
    void TmrbatteryTimer();

private:
    void WireBooking();
    void RegisterBookingCommands();
    static bool IsActive(const QComboBox* flag) { return flag->currentIndex() == 1; }
    void ShowStandby();
    // Sys_idroom (which may run the room refresh) and the room player's address.
    void TakeRoom(const RoomLookup& room);
    void BookingStart();
    void StartUpStep();
    void LoadSongGroups();
    void LoadMenuCategories();
    void CompleteBookingStart();
    void ProbeConnection();
    void Release();
    // The wait loop from 99 with the link believed usable and the progress stopped.
    void RecoverLink();
    void Logout();
    void CallForService(int kind);
    void LoadStandbyArtwork();
    // True while a clock tick runs, message box included.
    bool clockTickRunning_ = false;
    // The clock's re-read of the booking record, and its retries while the
    // songs database is away: one message for the outage, a log line when the
    // record can be read again.
    void ReReadBooking();
    void ReReadOnClock();
    bool songsDatabaseAway_ = false;
    int outageTicks_ = 0;

public:
    // ---- Between guests (uplayer_guest.cpp) --------------------------------------
    // Closes and empties everything a guest may have left open or typed: the
    // order panel with its detail and verification panels, the song request
    // form, the search text and the song list's selection. Run when a booking
    // ends and when one starts.
    void ForgetPreviousGuest();

public:
    // ---- Ordering (uplayer_order.cpp) -------------------------------------------
    // Verification and submission: uplayer_order_submit.cpp.
    // Opens the order panel on an empty order ("emenu" and the diagnostic button).
    void OpenOrderPanel();
    // The order row the detail panel shows, held in lblMenu's tag; 0 while it
    // shows a menu item not yet in the order.
    int DetailRowNumber() const;
    // The rows of the order table, first to last, as they are submitted.
    QList<TOrderLine> ComposedOrder();
    // A menu price as the lists show it: no decimals, thousands grouped with
    // the locale's separator (25000 gives "25.000" where that is a point).
    static QString PriceText(double hargajual);
    static QString MenuItemNotes(const QString& menu, double hargajual);
    static QString OrderRowNotes(int qty, const QString& menu, const QString& catatan);
    // The moment an order is placed at; the system clock unless a test says otherwise.
    void SetOrderClock(std::function<QDateTime()> clock) { orderClock_ = std::move(clock); }
    // The longest note an order row holds.
    static constexpr int kRowNoteLength = 50;

public slots:
    void AdvCategoryItemClick(int itemindex);
    void AdvItemGraphicRightClick(int itemindex);
    void AdvOrderGraphicRightClick(int itemindex);
    void BtMinOrderClick();
    void BtPlusOrderClick();
    void addOrderClick();
    void AdvSmoothButton1Click();
    void AdvSmoothButton2Click();
    void AdvSmoothButton4Click();
    void AdvSmoothButton3Click();
    void AdvBackClick();
    void AdvOKClick();
    void Button2Click();

private:
    void WireOrdering();
    void RegisterOrderCommands();
    void SetDetailRowNumber(int number);
    void FillMenuList();
    // Rebuilds the order list from the table, shows "No Order" for an empty
    // one and closes the detail panel.
    void ShowOrderList();
    int HighestRowNumber();
    // Keeps the order panel's keyboard typing into one of the panel's fields.
    void FocusOrderField();
    void SubmitOrder();
    // The code field in yellow after a wrong code, or back to its own colours.
    void MarkCodeWrong(bool wrong);
    std::function<QDateTime()> orderClock_ = [] { return QDateTime::currentDateTime(); };

public:
public:
    // ---- The skin ------------------------------------------------------------------
    TSkinHost* MainSkinNew;

    // ---- Songs: search, groups, playlist (regions over the skin) ------------------
    TUpperCaseEdit* edtcari;
    SmoothListBox* AdvSonglist;
    SmoothListBox* lvkategori;
    SmoothListBox* lvgenre;
    SmoothListBox* lvPlaylistnNew;
    QLabel* lblCountPlaylist;
    // Over the playlist: a change the database did not take.
    NoticeLabel* lblNotice;

    // ---- Playback progress ----------------------------------------------------------
    RangeSlider* ProgBar;
    QLabel* lblwmp;
    QLabel* Lblnowplay;
    QLabel* lblnextsong;
    QSpinBox* spnDurWmp;

    // ---- Booking labels and battery -------------------------------------------------
    QLabel* lblUserNow;
    QLabel* lbluser;
    QLabel* lbljam;
    QProgressBar* Progbattery;

    // ---- Standby screen -----------------------------------------------------------
    SmoothPanel* pnlStanby;
    HotSpotPicture* hotstart;
    QLineEdit* edtscan;
    TouchKeyboard* AdvSmoothTouchKeyBoard1;
    SmoothButton* AdvSmoothButton5;

    // ---- Loading panel ----------------------------------------------------------------
    SmoothPanel* AdvPanel1;
    AnimatedPicture* Image1;
    QLabel* Label1;

    // ---- Order panel --------------------------------------------------------------------
    SmoothPanel* PanelOrder;
    SmoothListBox* AdvCategory;
    SmoothListBox* AdvItem;
    SmoothListBox* AdvOrder;
    QLabel* Label20;
    QLabel* Label21;
    TouchKeyboard* AdvSmoothTouchKeyBoard2;
    TUpperCasePlainEdit* CattOrderan;
    SmoothButton* AdvSmoothButton4;
    SmoothButton* AdvSmoothButton3;
    SmoothPanel* PanelViewOrder;
    QLabel* lblMenu;
    QLabel* LblPrice;
    QLineEdit* AeJum;
    SmoothButton* BtMinOrder;
    SmoothButton* BtPlusOrder;
    TUpperCaseEdit* Catatan;
    QLabel* lblHintmenu;
    SmoothButton* addOrder;
    SmoothButton* AdvSmoothButton1;
    SmoothButton* AdvSmoothButton2;
    SmoothPanel* PnlVerify;
    QLabel* Label22;
    QLabel* Label27;
    QLabel* LblVerify;
    QLabel* Label28;
    TUpperCaseEdit* AeVeryfy;
    SmoothButton* AdvBack;
    SmoothButton* AdvOK;
    // On the verification panel: an order that could not be stored.
    NoticeLabel* LblOrderNotice;
    NoticeLabel* LblStandbyNotice;
    QListWidget* LBmenu;
    MemoryTable vtorder;
    MemoryField vtorderidmenu{vtorder, QStringLiteral("idmenu")};
    MemoryField vtorderqty{vtorder, QStringLiteral("qty")};
    MemoryField vtordercatatan{vtorder, QStringLiteral("catatan")};
    MemoryField vtordermenu{vtorder, QStringLiteral("menu")};
    MemoryField vtordernumber{vtorder, QStringLiteral("number")};

    // ---- Song request form ------------------------------------------------------------
    SmoothPanel* Panel_Request;
    QLineEdit* edtNama;
    QLineEdit* edtEmail;
    QLineEdit* edtTelp;
    QLineEdit* edtSong[5];
    QLineEdit* edtArtis[5];
    SmoothPanel* pnlcommand;
    QPlainTextEdit* Mguest;
    SmoothButton* btcancelrequest;
    SmoothButton* btsubmitrequest;
    TouchKeyboard* AdvSmoothTouchKeyBoard3;

    // ---- Diagnostic strip -------------------------------------------------------------
    QWidget* DiagnosticStrip;
    QSpinBox* Sys_idroom;
    QLineEdit* Sys_Room;
    QSpinBox* Sys_Port;
    QLineEdit* Sys_Channel;
    QLineEdit* SYS_IP;
    QComboBox* Sys_Status;
    QComboBox* Sys_Players;
    QLineEdit* Sys_User;
    QTimeEdit* Sys_Jam;
    QSpinBox* Sys_Durasi;
    QListWidget* LBMain;
    QListWidget* LBDetails;
    QPlainTextEdit* Memo1;
    QComboBox* cbMode;
    QComboBox* cbtitsing;
    QSpinBox* SpinEdit1;
    QSpinBox* SpinEdit2;
    QSpinBox* SpinEdit3;
    QSpinBox* SpinEdit5;
    QLineEdit* Edit2;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* getVersion;

    // ---- The log ----------------------------------------------------------------------
    QPlainTextEdit* MemLog;

    // ---- Timers -------------------------------------------------------------------------
    QTimer* TimerPreparation;
    QTimer* TmrHandle;
    QTimer* Tmrbattery;
    QTimer* Timer1;
    QTimer* tmrsearching;

    // ---- Database command objects -------------------------------------------------------
    TAdoCommand SpCall;
    TAdoCommand AdoSpFlast;
    TAdoCommand ADOplaylistnew;
    TAdoCommand ADOpriority;
    TAdoCommand ADOupdatepriority;
    TAdoCommand SpCallAuthen;
    TAdoCommand ADOTransaksi;
    TAdoCommand ADOSPMenu;
    TAdoCommand Adosave;

    // ---- The message client -------------------------------------------------------------
    // Null when creation failed before making it: every send then fails and is
    // logged.
    std::unique_ptr<TIMCClient> IMCClient;

    // ---- Fields ---------------------------------------------------------------------------
    int pSiGol = 0;
    int pSiKat = 0;
    int keytime = 0;
    bool bpause = false;
    int IdlaguSelect = 0;
    int onPlaylistSelect = 0;
    int onPlaylistSelect1 = 0;
    int iwaiters = 0;
    int hitwiater = 0;
    int VolPlayer = 0;
    int bacaDurasiwmp = 0;
    int perintahSucces = 0;
    int JumlahOrder = 0;
    int onplay = 0;
    int pilihplay = 0;
    QDateTime sjam;
    double mnt = 0;
    double durasi = 0;
    QString suser;
    QString Fdurasi;
    int CekAkses = 0;
    QString kondisi;
    int preparationTimer = 0;

    Tfmodule& module() const { return module_; }
    IPlatform& platform() const { return platform_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the controls (uplayer_layout.cpp).
    void CreateSkinRegions();
    void CreateStandbyScreen();
    void CreateLoadingPanel();
    void CreateOrderPanel();
    void CreateRequestForm();
    void CreateDiagnosticStrip();
    void CreateTimers();

    void FormCreate();
    void FormDestroy();
    static QString FailureText(const std::exception_ptr& failure);

    // The dispatcher's table (uplayer_dispatch.cpp).
    struct CommandRow {
        std::function<void()> action;
        CommandKind kind;
    };
    void RegisterCommands();
    QHash<QString, CommandRow> commands_;
    QHash<QString, std::function<void(const QString&)>> prefixCommands_;

    // Kirim's parts (uplayer_kirim.cpp).
    std::string PlayerAddress() const;
    // Applies what the exchange of siPesan came to, as Kirim does; returns
    // whether the room player answered with a reply text.
    bool TakeAnswer(const QString& siPesan, const TExchangeOutcome& outcome);
    void ApplyReply(const QString& reply);
    // The link counts as lost: the progress stops and the wait loop probes.
    void MarkLinkLost();
    // Opens the connection-error dialog, or raises the open one with message.
    void ShowConnectionError(const QString& message);
    // The room player is told once that the console goes away; nothing waits
    // for the guest and no timer fires while the window closes.
    void SayGoodbye();

    // The wait loop's parts (uplayer_preparation.cpp).
    void DecideLink();
    void GiveUpWaiting();
    void FinishProbe();
    TBackgroundExchange probe_;
    // "GO#" and the tablet's address; false when the room player did not take them.
    bool GreetRoomPlayer();

    Tfmodule& module_;
    IPlatform& platform_;
    Tfloading* loading_;
    QPointer<TFrmError> errorDialog_;
    // Rounds of the wait loop, since it was entered afresh, that ended with
    // the link still lost.
    int lostRounds_ = 0;
    // Whether this round's probe got an answer from the room player.
    bool probeAnswered_ = false;
    // The wait loop gave up and the guest was asked: the monitor does not start
    // it again by itself until the network has been seen down.
    bool linkGivenUp_ = false;
    bool greetingPending_ = false;
    bool closing_ = false;
    RunLog runLog_;
};

extern Tfplayer* fplayer;

template <class Action>
bool Tfplayer::Guarded(const QString& label, Action&& action) {
    try {
        action();
        return true;
    } catch (...) {
        WriteLog(label, FailureText(std::current_exception()));
        return false;
    }
}

template <class Change>
void Tfplayer::ChangeDatabase(const QString& notice, Change&& change) {
    try {
        change();
    } catch (...) {
        lblNotice->showNotice(notice);
        throw;
    }
}

template <class Action>
bool Tfplayer::Silent(Action&& action) {
    try {
        action();
        return true;
    } catch (...) {
        // The guest is told nothing; the venue's journal still hears of it.
        qWarning("lyrabox: a quiet step failed: %s",
                 qPrintable(FailureText(std::current_exception())));
        return false;
    }
}

template <class Action>
void Tfplayer::Unguarded(Action&& action) {
    try {
        action();
    } catch (...) {
        platform_.ShowMessage(FailureText(std::current_exception()));
    }
}
