// The console against a misbehaving room player and a database that goes away
// and comes back. Each fault runs in a process of its own (this program again,
// with --fault=NAME), so that a console that crashes or hangs is counted and
// the other faults still run. That process drives a real console window (the
// console library's Tfplayer on the offscreen platform) through a guest's
// steps against the real roomplayer-sim with a script: start-up, check-in and
// a few guest commands while the fault is active, then, with the room player
// well again (or the database back), the guest's answer to what the console
// shows and more guest commands. The console's own timers and event loop run
// between the guest's touches, as on a tablet. It counts what was lost (a
// guest's playlist entry or command that did not end up where it should), what
// of it the console did not tell the guest, the steps that acted on another
// song than the guest chose, and how long the console's event loop stood still
// (a heartbeat timer in the console's thread). The run ends with a table per
// fault.
//
//   bench_faults [--songs=N] [--jobs=N] [--only=NAME,NAME...]
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "bench/benchoptions.h"
#include "bench/benchserver.h"
#include "bench/databasesteps.h"
#include "bench/faultsupport.h"
#include "console/skinhost.h"
#include "console/uplayer.h"
#include "support/fakeplatform.h"

namespace {

using namespace faultbench;

// ---- The faults ------------------------------------------------------------------

// What the fault is and when it strikes.
enum class FaultKind {
    RoomPlayer,         // the room player misbehaves as its script says, from the check-in on
    Database,           // the database's server stops after the check-in
    LinkLostAtCheckIn,  // the console's link is marked lost when the guest checks in
    PlayWhileAway,      // the room player is gone when the guest plays playlist entries
    RepeatSelection,    // the guest's playlist entry across the progress questions after "repeat"
};

struct Fault {
    const char* name;
    // The room player's script while the fault is active.
    const char* script;
    FaultKind kind = FaultKind::RoomPlayer;
};

// Songs the room player's own queue plays (ids of the generated catalogue).
const char* const kSongLines =
    "song 11 240\nsong 12 200\nsong 13 210\nsong 14 190\nsong 15 230\n"
    "song 16 250\nsong 17 180\nsong 18 220\nsong 19 260\nsong 20 205\n";

const Fault kFaults[] = {
    {"empty", "on * empty\n"},
    {"failure", "on * failure\n"},
    {"silent", "on * silent\n"},
    {"close", "on * close\n"},
    {"close-after 10", "on * close-after 10\n"},
    {"garbage 64", "on * garbage 64\n"},
    {"id-length 2^62", "on * id-length 4611686018427387904\n"},
    {"id-length -5", "on * id-length -5\n"},
    {"data-length 1000", "on * data-length 1000\n"},
    {"trickle 20", "on * trickle 20\n"},
    {"delay 3000", "on * delay 3000\n"},
    {"delay 7000", "on * delay 7000\n"},
    {"set condition 1", "set condition 1\n"},
    {"link lost at check-in", "", FaultKind::LinkLostAtCheckIn},
    {"play while away", "", FaultKind::PlayWhileAway},
    {"repeat keeps selection", "on 33#* reply 7#12#240\n", FaultKind::RepeatSelection},
    {"database away", "", FaultKind::Database},
};

const Fault* FindFault(const QString& name) {
    for (const Fault& fault : kFaults) {
        if (name == QLatin1String(fault.name)) {
            return &fault;
        }
    }
    return nullptr;
}

// ---- One fault, in its own process -----------------------------------------------------

// The playlist entry keys of before that after no longer holds.
QStringList Removed(const QStringList& before, const QStringList& after) {
    QStringList removed;
    for (const QString& key : before) {
        if (!after.contains(key)) {
            removed << key;
        }
    }
    return removed;
}

// Whether the console shows a reply of status 5 (a new song) or 0 (nothing
// plays); other statuses of these commands change nothing on the console.
bool SongReplyShown(const Tfplayer& c, const QString& reply) {
    const QStringList fields = reply.split(QLatin1Char('#'));
    if (fields.value(0) == QLatin1String("5") && fields.size() >= 3) {
        return c.onplay == fields[2].toInt() &&
               (fields[1] == QLatin1String("0") || c.ProgBar->maximum() == fields[1].toInt());
    }
    if (fields.value(0) == QLatin1String("0")) {
        return !c.Timer1->isActive();
    }
    return !reply.isEmpty();
}

// The outcome of one guest step.
struct Step {
    QString name;
    bool during = true;
    bool made = false;     // the console took the guest's touch (it was enabled)
    bool reached = false;  // the command reached the room player
    bool applied = false;  // the room player's reply shows on the console
    bool saved = true;     // a playlist entry meant to be added is in the table
    bool told = false;     // the console showed the guest that something failed
    bool wrong = false;    // the step acted on another song than the guest chose
    int lost = 0;          // the step did not happen
    int untold = 0;        // ... and the guest was not told
    qint64 blockedMs = 0;  // the longest gap of the console's event loop in the step
    QString note;
};

class TFaultRun {
public:
    TFaultRun(const Fault& fault, int index, const QString& serverFolder)
        : fault_(fault),
          index_(index),
          serverFolder_(serverFolder),
          folder_(BinaryDir() + QStringLiteral("/bench-faults/") +
                  FolderName(QString::fromLatin1(fault.name))),
          roomName_(QStringLiteral("FAULT %1").arg(index, 2, 10, QLatin1Char('0'))),
          code_(QStringLiteral("F%1").arg(index, 2, 10, QLatin1Char('0'))) {}

    // Runs the fault and prints its result line; returns the exit status.
    int Run();

private:
    bool Is(FaultKind kind) const { return fault_.kind == kind; }
    void OpenAdmin();
    void Exec(const QString& statement);
    int PlaylistRows();
    // The room's playlist entry keys in the table, in play order.
    QStringList PlaylistKeys();
    // count entries in the room's playlist, shown on the console.
    void SeedPlaylist(int count);
    void WriteScript(const QString& name, const QString& rules);
    void CheckIn(bool during);
    // The guest answers what the console shows ("Coba Lagi" on the
    // connection-error dialog) and waits while the console waits, with the
    // console's own timers running, for at most rounds wait-loop rounds.
    void Settle(int rounds);
    // The guest answers the connection-error dialog with "Batalkan Perintah".
    void Cancel();
    bool Usable() const { return player_->isEnabled() && player_->AdvPanel1->isHidden(); }
    bool Told(int messages, bool dialogShown) const;

    // Guest steps; each returns what happened.
    Step AddSong(bool during, bool plusButton);
    Step Volume(bool during, bool up);
    Step Next(bool during);
    Step PlayEntry(bool during, bool playNowButton);
    Step DeleteAfterRepeat();
    // The common part: the touch made (or not), the room player's lines read,
    // the guest's signs checked, the event loop's longest gap measured.
    template <class Touch>
    Step Make(const QString& name, bool during, const QString& command, Touch&& touch);
    void Judge(Step& step);
    // A phase between steps, counted for the blocks in a row.
    void Phase(qint64 blockedMs);

    void Note(const QString& text) {
        std::cerr << "[" << fault_.name << "] " << text.toStdString() << std::endl;
    }

    const Fault& fault_;
    int index_;
    QString serverFolder_;
    QString folder_;
    QString roomName_;
    QString code_;
    QSqlDatabase admin_;
    TRoomPlayerProcess roomPlayer_;
    int port_ = 0;
    std::unique_ptr<Tfmodule> module_;
    testsupport::FakePlatform platform_;
    std::unique_ptr<Tfplayer> player_;
    std::unique_ptr<THeartbeat> heartbeat_;
    QHash<QString, QString> skin_;
    std::vector<Exchange> exchanges_;
    int songRow_ = 0;
    std::vector<Step> steps_;
    qint64 longestBlockMs_ = 0;
    int blocksInARow_ = 0;
    int mostBlocksInARow_ = 0;
};

void TFaultRun::OpenAdmin() {
    admin_ = OpenAdministrator(serverFolder_);
}

void TFaultRun::Exec(const QString& statement) {
    QSqlQuery query(admin_);
    if (!query.exec(statement)) {
        throw std::runtime_error(statement.toStdString() + ": " +
                                 query.lastError().text().toStdString());
    }
}

int TFaultRun::PlaylistRows() {
    const QStringList keys = PlaylistKeys();
    return keys == QStringList{QStringLiteral("?")} ? -1 : static_cast<int>(keys.size());
}

QStringList TFaultRun::PlaylistKeys() {
    // The administrator's session may have gone with a restarted server.
    if (!admin_.isOpen() || !QSqlQuery(admin_).exec(QStringLiteral("SELECT 1"))) {
        admin_.close();
        admin_.open();
    }
    QSqlQuery query(admin_);
    if (!query.exec(QStringLiteral("SELECT ukey FROM %1.playlist WHERE namaroom = %2 "
                                   "ORDER BY idplaylist, id")
                        .arg(TBenchServer::SongsDatabase(), sqltext::QuotedStr(roomName_)))) {
        return {QStringLiteral("?")};
    }
    QStringList keys;
    while (query.next()) {
        keys << query.value(0).toString();
    }
    return keys;
}

void TFaultRun::SeedPlaylist(int count) {
    for (const QString& statement :
         SeedPlaylistStatements(TBenchServer::SongsDatabase(), roomName_, count)) {
        Exec(statement);
    }
    player_->PlaylistView(0);
}

void TFaultRun::WriteScript(const QString& name, const QString& rules) {
    QFile file(folder_ + QLatin1Char('/') + name);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(("# " + QString::fromLatin1(fault_.name) + "\n" + kSongLines + rules).toUtf8());
}

bool TFaultRun::Told(int messages, bool dialogShown) const {
    const Tfplayer& c = *player_;
    const bool dialogNow = c.ErrorDialog() != nullptr && c.ErrorDialog()->isVisible();
    return static_cast<int>(platform_.messages.size()) > messages || (dialogNow && !dialogShown) ||
           !c.lblNotice->isHidden() || !c.AdvPanel1->isHidden() || !c.isEnabled();
}

void TFaultRun::CheckIn(bool during) {
    Tfplayer& c = *player_;
    // The code typed on the standby screen and START: the booking starts with
    // "GO#" and the tablet's address to the room player.
    Step step = Make(QStringLiteral("check-in"), during, QStringLiteral("GO#"), [&] {
        c.edtscan->setText(code_);
        c.AdvSmoothButton5->click();
    });
    const auto greeted = [&] {
        const QString reply = ReplyOf(exchanges_, QStringLiteral("GO#"));
        return reply.startsWith(QLatin1String("1#")) &&
               c.VolPlayer ==
                   reply.section(QLatin1Char('#'), 1).section(QLatin1Char(';'), 0, 0).toInt();
    };
    step.applied = greeted();
    // The booking start completes on the preparation sequence's third tick; a
    // room player that missed "GO#" hears it once it answers a probe.
    Settle(2);
    if (!step.reached) {
        step.reached = ReplyOf(exchanges_, QStringLiteral("GO#")).size() > 0;
        step.applied = greeted();
        if (step.reached) {
            step.note = QStringLiteral("\"GO#\" after the probe");
        }
    }
    if (!step.reached && Usable()) {
        // The room player never heard that the room went active, and the
        // console goes on as if it had: nothing tells the guest.
        step.told = false;
    }
    if (!c.pnlStanby->isHidden()) {
        step.note = QStringLiteral("the standby screen stayed");
    }
    Judge(step);
}

void TFaultRun::Settle(int rounds) {
    Tfplayer& c = *player_;
    heartbeat_->TakeLongest();
    QElapsedTimer waited;
    waited.start();
    // A wait-loop round is six seconds; the probe may take the reply limit more.
    const qint64 limit = rounds * 12000LL;
    while (waited.elapsed() < limit) {
        if (TFrmError* dialog = c.ErrorDialog(); dialog != nullptr && dialog->isVisible()) {
            dialog->AdvSmoothButton2->click();  // "Coba Lagi"
        }
        RunEventLoop(200);
        for (const Exchange& exchange : ParseLines(roomPlayer_.TakeLines())) {
            exchanges_.push_back(exchange);
        }
        if (Usable() && !c.TimerPreparation->isActive()) {
            break;
        }
    }
    Phase(heartbeat_->TakeLongest());
}

void TFaultRun::Cancel() {
    Tfplayer& c = *player_;
    if (TFrmError* dialog = c.ErrorDialog(); dialog != nullptr && dialog->isVisible()) {
        dialog->AdvSmoothButton1->click();  // "Batalkan Perintah"
    }
    heartbeat_->TakeLongest();
    RunEventLoop(300);
    Phase(heartbeat_->TakeLongest());
}

void TFaultRun::Phase(qint64 blockedMs) {
    longestBlockMs_ = std::max(longestBlockMs_, blockedMs);
    blocksInARow_ = blockedMs >= kNoticeableBlockMs ? blocksInARow_ + 1 : 0;
    mostBlocksInARow_ = std::max(mostBlocksInARow_, blocksInARow_);
}

template <class Touch>
Step TFaultRun::Make(const QString& name, bool during, const QString& command, Touch&& touch) {
    Tfplayer& c = *player_;
    Step step;
    step.name = name;
    step.during = during;
    roomPlayer_.TakeLines();
    exchanges_.clear();
    const int messages = static_cast<int>(platform_.messages.size());
    const bool dialogShown = c.ErrorDialog() != nullptr && c.ErrorDialog()->isVisible();
    // A disabled console takes no touch: the guest sees its loading panel.
    step.made = Usable();
    if (!step.made) {
        step.told = true;
        step.note = QStringLiteral("console busy, touch not taken");
        return step;
    }
    heartbeat_->TakeLongest();
    touch();
    // What the touch set off, with the console's timers running.
    RunEventLoop(300);
    step.blockedMs = heartbeat_->TakeLongest();
    Phase(step.blockedMs);
    exchanges_ = ParseLines(roomPlayer_.TakeLines());
    for (const Exchange& exchange : exchanges_) {
        if (exchange.command == command) {
            step.reached = true;
        }
    }
    step.told = Told(messages, dialogShown);
    return step;
}

// A step is lost when what the guest asked for did not happen; while the fault
// lasts that is expected, as long as the console told the guest. After the
// fault every step must happen.
void TFaultRun::Judge(Step& step) {
    const bool happened = step.made && step.reached && step.applied && step.saved && !step.wrong;
    if (!step.during) {
        step.lost = happened ? 0 : 1;
        step.untold = step.lost;
    } else if (step.made) {
        // While the room player misbehaves, a command that reached it did what
        // it could; one that did not, or an entry not saved, must be told.
        const bool missing = !step.reached || !step.saved;
        step.lost = missing ? 1 : 0;
        step.untold = missing && !step.told ? 1 : 0;
    }
    // A check-in outside the fault comes before it.
    const char* phase = step.during                              ? "during"
                        : step.name == QLatin1String("check-in") ? "before"
                                                                 : "after ";
    std::cerr << "[" << fault_.name << "] " << phase << " " << step.name.toStdString() << ": made "
              << step.made << " reached " << step.reached << " applied " << step.applied
              << " saved " << step.saved << " told " << step.told << " wrong " << step.wrong
              << " lost " << step.lost << " untold " << step.untold << " blocked " << step.blockedMs
              << " ms" << (step.note.isEmpty() ? "" : " (" + step.note.toStdString() + ")")
              << std::endl;
    steps_.push_back(step);
}

Step TFaultRun::AddSong(bool during, bool plusButton) {
    Tfplayer& c = *player_;
    const int before = PlaylistRows();
    const int row = songRow_++ % c.AdvSonglist->count();
    Step step = Make(plusButton ? QStringLiteral("add song (+ on the row)")
                                : QStringLiteral("add song (saveplaylist)"),
                     during, QStringLiteral("20#"), [&] {
                         if (plusButton) {
                             c.AdvSonglistGraphicRightClick(row);
                         } else {
                             c.AdvSonglist->setSelectedIndex(row);
                             c.AdvSonglistItemClick(row);
                             c.MainSkinNewFSCommand(QStringLiteral("saveplaylist"), QString());
                         }
                     });
    if (step.made) {
        const int after = PlaylistRows();
        step.saved = before >= 0 && after == before + 1;
        if (before < 0 || after < 0) {
            // With the server away nothing can have been saved.
            step.note = QStringLiteral("server away, nothing saved");
        } else if (!step.saved) {
            step.note = QStringLiteral("playlist rows %1 -> %2").arg(before).arg(after);
        }
        // The console's playlist shows what the table holds.
        const bool listed = c.lvPlaylistnNew->count() == after;
        step.applied = SongReplyShown(c, ReplyOf(exchanges_, QStringLiteral("20#"))) && listed;
        if (!listed && after >= 0) {
            step.note += QStringLiteral(" list shows %1 of %2 rows")
                             .arg(c.lvPlaylistnNew->count())
                             .arg(after);
        }
    }
    Judge(step);
    return step;
}

Step TFaultRun::Volume(bool during, bool up) {
    Tfplayer& c = *player_;
    const int expected = std::clamp(c.VolPlayer + (up ? 10 : -10), 0, 100);
    const QString command = QStringLiteral("27#%1").arg(expected);
    Step step = Make(
        up ? QStringLiteral("volume up") : QStringLiteral("volume down"), during, command, [&] {
            c.MainSkinNewFSCommand(up ? QStringLiteral("volplus") : QStringLiteral("volminus"),
                                   QString());
        });
    if (step.made) {
        const QString reply = ReplyOf(exchanges_, command);
        const QString shown = reply.section(QLatin1Char('#'), 1, 1);
        step.applied = reply.startsWith(QLatin1String("9#")) && c.VolPlayer == shown.toInt() &&
                       skin_.value(QStringLiteral("_root.isimusic.text")) == shown;
    }
    Judge(step);
    return step;
}

Step TFaultRun::Next(bool during) {
    Tfplayer& c = *player_;
    Step step = Make(QStringLiteral("next"), during, QStringLiteral("2#a"),
                     [&] { c.MainSkinNewFSCommand(QStringLiteral("next"), QString()); });
    if (step.made) {
        step.applied = SongReplyShown(c, ReplyOf(exchanges_, QStringLiteral("2#a")));
    }
    Judge(step);
    return step;
}

// The guest plays the playlist's second entry: "play" after tapping it, or its
// play-now button. It must leave the playlist only when the room player took
// it, and no other entry may go in its place.
Step TFaultRun::PlayEntry(bool during, bool playNowButton) {
    Tfplayer& c = *player_;
    const QStringList before = PlaylistKeys();
    const int row = 1;
    const QString chosen =
        c.lvPlaylistnNew->count() > row ? c.lvPlaylistnNew->item(row).caption : QString();
    Step step = Make(playNowButton ? QStringLiteral("play-now button") : QStringLiteral("play"),
                     during, QStringLiteral("37#"), [&] {
                         if (playNowButton) {
                             c.lvPlaylistnNewGraphicRightClick(row);
                         } else {
                             c.lvPlaylistnNew->setSelectedIndex(row);
                             c.lvPlaylistnNewItemClick(row);
                             c.MainSkinNewFSCommand(QStringLiteral("play"), QString());
                         }
                     });
    for (const Exchange& exchange : exchanges_) {
        step.reached = step.reached || exchange.command.startsWith(QLatin1String("37#"));
    }
    if (step.made) {
        const QStringList removed = Removed(before, PlaylistKeys());
        step.wrong = !removed.isEmpty() && removed != QStringList{chosen};
        // A song that left the playlist without reaching the room player is
        // lost, and nothing on the screen says so: a dialog about the room
        // player does not tell the guest that the song is gone.
        step.saved = step.reached || removed.isEmpty();
        if (!step.saved) {
            step.told = false;
        }
        step.applied = step.reached && removed == QStringList{chosen};
        step.note =
            QStringLiteral("chose %1, removed %2").arg(chosen, removed.join(QLatin1Char(',')));
    }
    Judge(step);
    return step;
}

// After "repeat" the console asks the room player for the progress while the
// guest's finger is on a playlist entry; "delete" must take that entry.
Step TFaultRun::DeleteAfterRepeat() {
    Tfplayer& c = *player_;
    const int row = 2;
    c.lvPlaylistnNew->setSelectedIndex(row);
    c.lvPlaylistnNewItemClick(row);
    const QString chosen = c.lvPlaylistnNew->item(row).caption;
    c.MainSkinNewFSCommand(QStringLiteral("repeat"), QString());
    // The progress ticks while the guest reaches for "delete".
    heartbeat_->TakeLongest();
    RunEventLoop(3500);
    Phase(heartbeat_->TakeLongest());
    const QStringList before = PlaylistKeys();
    Step step = Make(QStringLiteral("delete after repeat"), true, QStringLiteral("21#"),
                     [&] { c.MainSkinNewFSCommand(QStringLiteral("delete"), QString()); });
    const QStringList removed = Removed(before, PlaylistKeys());
    step.wrong = removed != QStringList{chosen};
    step.applied = !step.wrong;
    step.note = QStringLiteral("chose %1, removed %2").arg(chosen, removed.join(QLatin1Char(',')));
    Judge(step);
    return step;
}

int TFaultRun::Run() {
    QElapsedTimer clock;
    clock.start();
    PrepareProgramFolder(folder_, serverFolder_);
    OpenAdmin();
    const QString songs = TBenchServer::SongsDatabase();
    const int idroom = 900 + index_;
    Exec(QStringLiteral("DELETE FROM %1.playlist WHERE namaroom = %2")
             .arg(songs, sqltext::QuotedStr(roomName_)));
    Exec(QStringLiteral("DELETE FROM %1.room WHERE idroom = %2").arg(songs).arg(idroom));
    Exec(QStringLiteral("DELETE FROM authentification.remote WHERE idroom = %1").arg(idroom));
    Exec(
        QStringLiteral("INSERT INTO %1.room (idroom, namaroom, status, players, jam, durasi, user) "
                       "VALUES (%2, %3, 1, 1, NOW(), 120, 'BENCH')")
            .arg(songs)
            .arg(idroom)
            .arg(sqltext::QuotedStr(roomName_)));

    WriteScript(QStringLiteral("well.script"), QString());
    WriteScript(QStringLiteral("fault.script"), QString::fromLatin1(fault_.script));
    const QString wellScript = folder_ + QStringLiteral("/well.script");
    const bool faultFromCheckIn = Is(FaultKind::RoomPlayer) || Is(FaultKind::RepeatSelection);
    port_ = roomPlayer_.Start(
        0, faultFromCheckIn ? folder_ + QStringLiteral("/fault.script") : wellScript);
    Exec(CheckInCodeStatement(code_, idroom, port_));

    module_ = std::make_unique<Tfmodule>();
    player_ = StartConsole(*module_, platform_, skin_);
    heartbeat_ = std::make_unique<THeartbeat>();
    switch (fault_.kind) {
        case FaultKind::Database:
            // The booking starts while the server is there; then it goes away.
            CheckIn(false);
            Note(QStringLiteral("stopping the server"));
            RunServerScript(serverFolder_, QStringLiteral("stop"));
            AddSong(true, false);
            Settle(1);
            AddSong(true, true);
            Settle(1);
            Volume(true, true);
            Settle(1);
            Next(true);
            Settle(1);
            Note(QStringLiteral("starting the server again"));
            RunServerScript(serverFolder_, QStringLiteral("start"));
            break;
        case FaultKind::LinkLostAtCheckIn:
            // An empty answer before the booking left the link marked lost.
            player_->perintahSucces = 0;
            CheckIn(true);
            AddSong(true, false);
            Settle(1);
            Volume(true, true);
            Settle(1);
            break;
        case FaultKind::PlayWhileAway:
            CheckIn(false);
            SeedPlaylist(4);
            Note(QStringLiteral("the room player goes away"));
            roomPlayer_.Stop();
            PlayEntry(true, false);
            // The guest gives up the command and tries the other way to play.
            Cancel();
            PlayEntry(true, true);
            Cancel();
            roomPlayer_.Start(port_, wellScript);
            break;
        case FaultKind::RepeatSelection:
            CheckIn(true);
            SeedPlaylist(5);
            DeleteAfterRepeat();
            Settle(1);
            roomPlayer_.Stop();
            roomPlayer_.Start(port_, wellScript);
            break;
        case FaultKind::RoomPlayer:
            // The room player misbehaves from the booking start on.
            CheckIn(true);
            AddSong(true, false);
            Settle(1);
            Volume(true, true);
            Settle(1);
            // The fault ends: the room player answers well again on the same port.
            roomPlayer_.Stop();
            roomPlayer_.Start(port_, wellScript);
            break;
    }
    Settle(4);
    const bool usable = Usable();

    const Step first = Volume(false, true);
    AddSong(false, false);
    Next(false);
    AddSong(false, true);
    Volume(false, false);
    if (Is(FaultKind::PlayWhileAway)) {
        SeedPlaylist(4);
        PlayEntry(false, false);
    }

    const bool survived = usable && first.made && first.reached && first.applied;
    int lost = 0;
    int untold = 0;
    int wrong = 0;
    QStringList lostSteps;
    for (const Step& step : steps_) {
        lost += step.lost;
        untold += step.untold;
        wrong += step.wrong ? 1 : 0;
        if (step.untold > 0 || step.wrong) {
            lostSteps << (step.during ? QStringLiteral("during: ") : QStringLiteral("after: ")) +
                             step.name +
                             (step.wrong ? QStringLiteral(" (another song)")
                                         : QStringLiteral(" (untold)"));
        }
    }
    // The window says goodbye to a room player that answers.
    heartbeat_.reset();
    player_.reset();
    module_.reset();
    roomPlayer_.Stop();
    std::cout << "RESULT\t" << fault_.name << '\t' << (survived ? 1 : 0) << '\t' << lost << '\t'
              << untold << '\t' << wrong << '\t' << longestBlockMs_ << '\t' << mostBlocksInARow_
              << '\t' << clock.elapsed() / 1000 << '\t'
              << lostSteps.join(QStringLiteral("; ")).toStdString() << std::endl;
    return 0;
}

// ---- The run: the server and one process per fault ---------------------------------------

struct Options {
    int songs = 5000;
    int jobs = 4;
    QStringList only;
};

struct Outcome {
    QString fault;
    bool databaseStep = false;  // a row of the database's table
    bool finished = false;      // the process ended by itself and printed its result
    QString how;                // how it ended otherwise
    bool survived = false;
    int lost = 0;
    int untold = 0;
    int wrong = 0;
    int partial = 0;
    qint64 longestBlockMs = 0;
    int blocks = 0;
    int blocksInARow = 0;
    int seconds = 0;
    QString lostSteps;
};

bool IsFault(const QString& name) {
    return FindFault(name) != nullptr || FindDatabaseStepFault(name) != nullptr;
}

// The --only name that stands for every row of the database's table.
const QString kAllDatabaseSteps = QStringLiteral("database steps");

Options ParseOptions(const QStringList& arguments) {
    Options options;
    for (const QString& argument : arguments.mid(1)) {
        const std::string text = argument.toStdString();
        if (ReadNumberOption(text, "songs", options.songs, 100) ||
            ReadNumberOption(text, "jobs", options.jobs)) {
            continue;
        }
        if (argument.startsWith(QLatin1String("--only="))) {
            options.only = argument.section(QLatin1Char('='), 1).split(QLatin1Char(','));
        } else {
            throw std::invalid_argument("unknown option " + argument.toStdString() +
                                        "; usage: bench_faults [--songs=N] [--jobs=N] "
                                        "[--only=NAME,NAME...] (NAME may be \"database steps\")");
        }
    }
    for (const QString& name : options.only) {
        if (!IsFault(name) && name != kAllDatabaseSteps) {
            throw std::invalid_argument("no fault named " + name.toStdString());
        }
    }
    return options;
}

// One fault to run: its name, the room index its process uses, and whether it
// touches the shared server (those run one at a time, after the others).
struct Job {
    QString name;
    int index = 0;
    bool database = false;
};

std::vector<Job> Jobs(const Options& options) {
    std::vector<Job> jobs;
    const auto wanted = [&](const char* name) {
        return options.only.isEmpty() || options.only.contains(QString::fromLatin1(name)) ||
               (options.only.contains(kAllDatabaseSteps) && FindDatabaseStepFault(name));
    };
    int index = 0;
    for (const Fault& fault : kFaults) {
        ++index;
        if (wanted(fault.name)) {
            jobs.push_back(
                {QString::fromLatin1(fault.name), index, fault.kind == FaultKind::Database});
        }
    }
    // The database's steps have rooms of their own, after the others'.
    index = 20;
    for (const DatabaseStepFault& fault : DatabaseStepFaults()) {
        ++index;
        if (wanted(fault.name)) {
            jobs.push_back({QString::fromLatin1(fault.name), index, true});
        }
    }
    return jobs;
}

struct Running {
    Job job;
    std::unique_ptr<QProcess> process;
    QElapsedTimer clock;
};

// Each fault's process may take a few minutes: a command to a room player
// that holds the connection waits for the reply limit, and the guest waits out the
// console's wait loop.
constexpr qint64 kFaultTimeoutMs = 20 * 60 * 1000;

Outcome Collect(Running& running) {
    Outcome outcome;
    outcome.fault = running.job.name;
    outcome.databaseStep = FindDatabaseStepFault(outcome.fault) != nullptr;
    QProcess& process = *running.process;
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.value(0) == QLatin1String("RESULT")) {
            outcome.finished = true;
            outcome.survived = f.value(2) == QLatin1String("1");
            outcome.lost = f.value(3).toInt();
            outcome.untold = f.value(4).toInt();
            outcome.wrong = f.value(5).toInt();
            outcome.longestBlockMs = f.value(6).toLongLong();
            outcome.blocksInARow = f.value(7).toInt();
            outcome.seconds = f.value(8).toInt();
            outcome.lostSteps = f.value(9);
        } else if (f.value(0) == QLatin1String("DBRESULT")) {
            outcome.finished = true;
            outcome.survived = f.value(2) == QLatin1String("1");
            outcome.lost = f.value(3).toInt();
            outcome.untold = f.value(4).toInt();
            outcome.partial = f.value(5).toInt();
            outcome.longestBlockMs = f.value(6).toLongLong();
            outcome.blocks = f.value(7).toInt();
            outcome.blocksInARow = f.value(8).toInt();
            outcome.seconds = f.value(9).toInt();
            outcome.lostSteps = f.value(10);
        }
    }
    if (!outcome.finished) {
        outcome.seconds = static_cast<int>(running.clock.elapsed() / 1000);
        if (process.exitStatus() == QProcess::CrashExit) {
            outcome.how = QStringLiteral("the console's process crashed");
        } else {
            outcome.how = QStringLiteral("the console's process ended with status %1")
                              .arg(process.exitCode());
        }
    }
    return outcome;
}

std::unique_ptr<QProcess> StartFault(const QString& program, const Job& job,
                                     const QString& serverFolder) {
    auto process = std::make_unique<QProcess>();
    const QString folder = BinaryDir() + QStringLiteral("/bench-faults");
    QDir().mkpath(folder);
    // The console's own warnings and the steps, one file per fault.
    process->setStandardErrorFile(folder + QLatin1Char('/') + FolderName(job.name) +
                                  QStringLiteral(".log"));
    process->start(program, {QStringLiteral("--fault=") + job.name,
                             QStringLiteral("--index=%1").arg(job.index),
                             QStringLiteral("--server=") + serverFolder});
    return process;
}

// Runs the jobs, at most `parallel` at once; a database job's end gives the
// shared server back, however the process ended.
void RunBatch(const QString& program, const std::vector<Job>& batch, int parallel,
              const QString& serverFolder, std::vector<Outcome>& outcomes) {
    std::vector<Running> running;
    size_t next = 0;
    while (next < batch.size() || !running.empty()) {
        while (next < batch.size() && static_cast<int>(running.size()) < parallel) {
            const Job& job = batch[next++];
            std::cout << "fault: " << job.name.toStdString() << std::endl;
            Running r{job, StartFault(program, job, serverFolder), {}};
            r.clock.start();
            running.push_back(std::move(r));
        }
        for (auto it = running.begin(); it != running.end();) {
            QProcess& process = *it->process;
            process.waitForFinished(100);
            const bool ended = process.state() == QProcess::NotRunning;
            if (!ended && it->clock.elapsed() <= kFaultTimeoutMs) {
                ++it;
                continue;
            }
            if (!ended) {
                process.kill();
                process.waitForFinished(5000);
            }
            Outcome outcome = Collect(*it);
            if (!ended) {
                outcome.finished = false;
                outcome.how = QStringLiteral("the console's process hung (killed after %1 s)")
                                  .arg(kFaultTimeoutMs / 1000);
            }
            if (it->job.database) {
                try {
                    RecoverServer(serverFolder);
                } catch (const std::exception& failure) {
                    outcome.finished = false;
                    outcome.how = QStringLiteral("the server did not come back: ") +
                                  QString::fromStdString(failure.what());
                }
            }
            outcomes.push_back(outcome);
            it = running.erase(it);
        }
    }
}

std::vector<Outcome> RunFaults(const QString& program, const Options& options,
                               const QString& serverFolder) {
    std::vector<Job> roomJobs;
    std::vector<Job> databaseJobs;
    for (const Job& job : Jobs(options)) {
        (job.database ? databaseJobs : roomJobs).push_back(job);
    }
    std::vector<Outcome> outcomes;
    // The room player's faults run side by side (they mostly wait); the
    // database's run one at a time, since every console shares the server.
    RunBatch(program, roomJobs, options.jobs, serverFolder, outcomes);
    RunBatch(program, databaseJobs, 1, serverFolder, outcomes);
    // In the table's order.
    std::vector<Outcome> ordered;
    for (const Job& job : Jobs(options)) {
        for (const Outcome& outcome : outcomes) {
            if (outcome.fault == job.name) {
                ordered.push_back(outcome);
            }
        }
    }
    return ordered;
}

QString Number(const Outcome& o, int value) {
    return o.finished ? QString::number(value) : QStringLiteral("?");
}

std::string BlockText(const Outcome& o) {
    char block[16];
    std::snprintf(block, sizeof block, "%.1f s", static_cast<double>(o.longestBlockMs) / 1000);
    return o.finished ? block : "?";
}

// The totals of a table's rows.
struct Totals {
    int rows = 0;
    int survived = 0;
    int untold = 0;
    int wrong = 0;
    int partial = 0;
    int blocksInARow = 0;
    qint64 longest = 0;
    bool known = true;

    void Add(const Outcome& o) {
        ++rows;
        survived += o.survived ? 1 : 0;
        untold += o.finished ? o.untold : 0;
        wrong += o.finished ? o.wrong : 0;
        partial += o.finished ? o.partial : 0;
        blocksInARow = std::max(blocksInARow, o.blocksInARow);
        longest = std::max(longest, o.longestBlockMs);
        known = known && o.finished;
    }
    const char* Met(bool ok) const { return ok && known ? "met" : "NOT MET"; }
};

// What a table's targets are called and where its block limit lies.
struct TargetTexts {
    const char* survived;
    const char* untold;
    const char* third;  // the table's own count with target 0
    int thirdCount;
    const char* limit;
    qint64 limitMs;
};

void PrintTargets(const Totals& totals, const TargetTexts& texts) {
    char line[400];
    std::cout << "\nTargets\n";
    std::snprintf(line, sizeof line, "  %s: %d of %d (%s)\n", texts.survived, totals.survived,
                  totals.rows, totals.Met(totals.survived == totals.rows));
    std::cout << line;
    for (const auto& [what, count] :
         {std::pair{texts.untold, totals.untold}, std::pair{texts.third, texts.thirdCount}}) {
        std::snprintf(line, sizeof line, "  %s: %d (target 0, %s)\n", what, count,
                      totals.Met(count == 0));
        std::cout << line;
    }
    std::snprintf(line, sizeof line,
                  "  longest block: %.1f s (target at most %s, %.0f s: %s); most blocks in a "
                  "row: %d (target 1: %s)\n",
                  static_cast<double>(totals.longest) / 1000, texts.limit,
                  static_cast<double>(texts.limitMs) / 1000,
                  totals.Met(totals.longest <= texts.limitMs), totals.blocksInARow,
                  totals.Met(totals.blocksInARow <= 1));
    std::cout << line;
}

void PrintRoomTable(const std::vector<Outcome>& outcomes) {
    std::cout << "  lost: guest steps that did not happen; untold: of those, the guest was not "
                 "told; other song: steps that acted on another song than the guest chose;\n"
                 "  block: the longest time the console's event loop stood still; in a row: the "
                 "most phases in a row with a block of a second or more\n\n";
    char line[400];
    std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %10s %7s %8s %6s  %s\n", "fault",
                  "survived", "lost", "untold", "other song", "block", "in a row", "time",
                  "untold or wrong steps, or how the console's process ended");
    std::cout << line;
    Totals totals;
    for (const Outcome& o : outcomes) {
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%ds", o.seconds);
        std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %10s %7s %8s %6s  %s\n",
                      o.fault.toStdString().c_str(), o.survived ? "yes" : "NO",
                      Number(o, o.lost).toStdString().c_str(),
                      Number(o, o.untold).toStdString().c_str(),
                      Number(o, o.wrong).toStdString().c_str(), BlockText(o).c_str(),
                      Number(o, o.blocksInARow).toStdString().c_str(), seconds,
                      (o.finished ? o.lostSteps : o.how).toStdString().c_str());
        std::cout << line;
        totals.Add(o);
    }
    PrintTargets(
        totals, {"every fault survived", "steps lost untold", "steps on another song", totals.wrong,
                 "the connect and reply limits", Tfplayer::kConnectLimit + Tfplayer::kReplyLimit});
}

void PrintDatabaseTable(const std::vector<Outcome>& outcomes) {
    std::cout << "  each row: the step made while the server is stopped or hung (SIGSTOP), the "
                 "server back, the step made again;\n"
                 "  lost: attempts that did not happen (the second must); untold: of those, the "
                 "guest was not told; partial: half-done or\n"
                 "  doubled changes in the databases; block: the longest stand-still of the "
                 "console's event loop; blocks: those of a second or more;\n"
                 "  in a row: the most of them less than 3 s apart\n\n";
    char line[1200];
    std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %7s %7s %6s %8s %6s  %s\n", "fault",
                  "survived", "lost", "untold", "partial", "block", "blocks", "in a row", "time",
                  "what was lost or half done, or how the console's process ended");
    std::cout << line;
    Totals totals;
    for (const Outcome& o : outcomes) {
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%ds", o.seconds);
        std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %7s %7s %6s %8s %6s  %s\n",
                      o.fault.toStdString().c_str(), o.survived ? "yes" : "NO",
                      Number(o, o.lost).toStdString().c_str(),
                      Number(o, o.untold).toStdString().c_str(),
                      Number(o, o.partial).toStdString().c_str(), BlockText(o).c_str(),
                      Number(o, o.blocks).toStdString().c_str(),
                      Number(o, o.blocksInARow).toStdString().c_str(), seconds,
                      (o.finished ? o.lostSteps : o.how).toStdString().c_str());
        std::cout << line;
        totals.Add(o);
    }
    PrintTargets(
        totals,
        {"every step survived", "attempts lost untold", "partial changes", totals.partial,
         "one bounded wait, the connection's limit and a second more", kDatabaseWaitLimitMs});
}

void PrintSummary(const std::vector<Outcome>& outcomes, const QString& loadReport) {
    std::vector<Outcome> room;
    std::vector<Outcome> database;
    for (const Outcome& o : outcomes) {
        (o.databaseStep ? database : room).push_back(o);
    }
    if (!room.empty()) {
        std::cout << "\nFaults: a console against a misbehaving room player and a database that "
                     "goes away ("
                  << loadReport.toStdString() << ")\n";
        PrintRoomTable(room);
    }
    if (!database.empty()) {
        std::cout << "\nThe database stopped or hung at each guest step ("
                  << loadReport.toStdString() << ")\n";
        PrintDatabaseTable(database);
    }
    std::cout << "\n  each fault's steps and the console's warnings: " << BinaryDir().toStdString()
              << "/bench-faults/<fault>.log; its log: bench-faults/<fault>/log/\n";
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("LYRABOX_LOOPBACK_ONLY", "1");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    try {
        // One fault in this process.
        if (arguments.size() > 1 && arguments[1].startsWith(QLatin1String("--fault="))) {
            const QString name = arguments[1].section(QLatin1Char('='), 1);
            if (!IsFault(name) || arguments.size() < 4) {
                throw std::invalid_argument("--fault=NAME --index=N --server=FOLDER");
            }
            const int index = arguments[2].section(QLatin1Char('='), 1).toInt();
            const QString serverFolder = arguments[3].section(QLatin1Char('='), 1);
            if (const DatabaseStepFault* step = FindDatabaseStepFault(name)) {
                return RunDatabaseStep(*step, index, serverFolder);
            }
            TFaultRun run(*FindFault(name), index, serverFolder);
            return run.Run();
        }

        const Options options = ParseOptions(arguments);
        TBenchServer server(BinaryDir() + QStringLiteral("/bench-faults-mariadb"),
                            BinaryDir() + QStringLiteral("/db/account.env"));
        const QString loadReport = server.StartWithCatalogue(options.songs, false);
        const std::vector<Outcome> outcomes =
            RunFaults(QCoreApplication::applicationFilePath(), options, server.Folder());
        PrintSummary(outcomes, loadReport);
    } catch (const std::exception& failure) {
        std::cerr << "bench_faults: " << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
