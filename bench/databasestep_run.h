#pragma once

// One row of the database's table in its process: the console, its room and
// the guest's step with the server stopped or hung, and the databases read
// afterwards. The run's frame is in databasestep_run.cpp, the steps
// themselves in databasestep_guest.cpp.
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <iostream>
#include <memory>

#include "bench/benchserver.h"
#include "bench/databasesteps.h"
#include "bench/faultsupport.h"

namespace faultbench::dbstep {

// The skin's variables the steps read.
inline const QString kCallVariable = QStringLiteral("_root.anima_txt.text");
inline const QString kClockVariable = QStringLiteral("_root.isitextdurasi.text");

// How long the guest looks at the console after a touch: a notice must show
// within a second; the rest lets the console's timers run.
inline constexpr int kLookMs = 1500;
// How long the fault lasts after the step, the console's timers running.
inline constexpr int kFaultRestMs = 3000;
// The console's time to settle after the server is back, at the least and at
// the most (four rounds of its wait loop).
inline constexpr int kSettleMs = 3000;
inline constexpr int kSettleLimitMs = 48000;
// The clock re-reads the booking record every nine ticks of a second; while
// the record could not be read it waits longer before it tries again.
inline constexpr int kReReadWaitMs = 25000;
inline constexpr int kReReadAfterLimitMs = 60000;

inline const QString kSongsDb = TBenchServer::SongsDatabase();
inline const QString kTransaksiDb = QStringLiteral("bench_transaksi");
inline constexpr int kMenuCategory = 9000;
inline const QString kMenuItem = QStringLiteral("BENCH-TEA");
inline const QString kUserAfter = QStringLiteral("BENCH AGAIN");
inline constexpr int kSeededEntries = 5;

// What the console showed the guest while one attempt at the step lasted.
struct Signs {
    bool notice = false;         // lblNotice over the playlist, with a text
    bool orderNotice = false;    // LblOrderNotice on the verification panel
    bool standbyNotice = false;  // LblStandbyNotice on the standby screen
    bool message = false;        // a message box
    bool dialog = false;         // the connection-error dialog, newly shown
    bool shownPlaced = false;    // the skin's call indication
    QStringList texts;

    bool Told() const { return notice || orderNotice || standbyNotice || message || dialog; }
    QString Text() const {
        QStringList said;
        if (Told()) {
            said << texts;
        }
        return said.isEmpty() ? QStringLiteral("nothing shown") : said.join(QStringLiteral(" / "));
    }
};

// One attempt at the step: during the fault or after it.
struct Attempt {
    bool after = false;
    bool made = false;     // the change (or the search, the check-in) happened
    bool through = false;  // after the fault: made, and the console shows it
    Signs signs;
    QString note;
};

class TDatabaseStepRun {
public:
    TDatabaseStepRun(const DatabaseStepFault& fault, int index, const QString& serverFolder)
        : fault_(fault),
          serverFolder_(serverFolder),
          folder_(BinaryDir() + QStringLiteral("/bench-faults/") +
                  FolderName(QString::fromLatin1(fault.name))),
          roomName_(QStringLiteral("FAULT %1").arg(index, 2, 10, QLatin1Char('0'))),
          code_(QStringLiteral("F%1").arg(index, 2, 10, QLatin1Char('0'))),
          idroom_(900 + index) {}

    int Run();

private:
    bool Is(GuestStep step) const { return fault_.step == step; }
    // The steps that change the databases (the others read them).
    bool IsChange() const {
        return !Is(GuestStep::Search) && !Is(GuestStep::CheckIn) && !Is(GuestStep::Clock);
    }
    Tfplayer& C() { return *player_; }
    bool Usable() const { return player_->isEnabled() && player_->AdvPanel1->isHidden(); }
    void Note(const QString& text) {
        std::cerr << "[" << fault_.name << "] " << text.toStdString() << std::endl;
    }

    // The administrator's connection on the server's socket; used only while
    // the server is there.
    void OpenAdmin();
    void Exec(const QString& statement);
    QList<QStringList> Rows(const QString& statement);
    int Count(const QString& statement) { return Rows(statement).value(0).value(0).toInt(); }
    void PrepareRows();
    void SeedPlaylist();
    QStringList PlaylistKeys();
    int SongEntries();
    int Calls();
    // Order heads of the room with the number of their lines.
    QList<QStringList> OrderHeads();
    // The playlist's half-done changes: entries parked at 1000, positions
    // shared, entries not the ones expected.
    int PlaylistDamage(const QString& when);

    // The console's work: a touch and what its timers do for lookMs after it,
    // the signs sampled all the while.
    void Drive(Signs& signs, const std::function<void()>& touch, int lookMs,
               const std::function<bool()>& done = {});
    void Look(Signs& signs, int milliseconds, const std::function<bool()>& done = {});
    void Sample(Signs& signs);
    // After the fault: the guest answers the connection-error dialog and
    // waits while the console waits.
    void Settle();
    bool CheckIn(Signs& signs);

    // The step's parts.
    void Prepare();
    void Touch(Attempt& attempt);
    void Judge(Attempt& attempt);
    void TypeWord(Signs& signs);
    void SelectEntry(const QString& key, int fallbackRow);
    int RowOf(const QString& key);
    QList<int> ListedSongs();
    void ComposeOrder();

    const DatabaseStepFault& fault_;
    QString serverFolder_;
    QString folder_;
    QString roomName_;
    QString code_;
    int idroom_;
    QSqlDatabase admin_;
    TRoomPlayerProcess roomPlayer_;
    std::unique_ptr<Tfmodule> module_;
    testsupport::FakePlatform platform_;
    std::unique_ptr<Tfplayer> player_;
    std::unique_ptr<THeartbeat> heartbeat_;
    QHash<QString, QString> skin_;

    // What the step works on.
    QString word_;             // search: the letters typed
    QList<int> reference_;     // search: the songs it lists with the server there
    int songRow_ = 0;          // add: the song list's row
    int song_ = 0;             // add: its song
    QString chosen_;           // delete, priority: the entry's key
    QStringList keysBefore_;   // delete, priority: the playlist before the attempt
    int countBefore_ = 0;      // add, call, order: rows before the attempt
    int messagesAtFault_ = 0;  // clock: message boxes before the fault
    int partial_ = 0;
    QStringList notes_;
};

}  // namespace faultbench::dbstep
