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
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/sqltext.h"
#include "app/umodule.h"
#include "bench/benchoptions.h"
#include "bench/benchserver.h"
#include "console/skinhost.h"
#include "console/uplayer.h"
#include "support/fakeplatform.h"

namespace {

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

// A fault's folder name: its name without blanks and signs.
QString FolderName(const QString& fault) {
    QString name;
    for (const QChar c : fault) {
        name += c.isLetterOrNumber() ? c : QLatin1Char('-');
    }
    return name;
}

QString BinaryDir() {
    return QStringLiteral(LYRABOX_BINARY_DIR);
}

// ---- One fault, in its own process -----------------------------------------------------

// The room-player simulator as a process of its own, its output read line by line.
class TRoomPlayerProcess {
public:
    ~TRoomPlayerProcess() { Stop(); }

    // Starts it on port (0: a free one) with the script; returns the port.
    int Start(int port, const QString& scriptPath) {
        process_.setProgram(BinaryDir() + QStringLiteral("/bin/roomplayer-sim"));
        process_.setArguments({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                               QStringLiteral("--script"), scriptPath});
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(10000)) {
            throw std::runtime_error("roomplayer-sim did not start");
        }
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000) {
            Read(100);
            for (const QString& line : lines_) {
                if (line.startsWith(QLatin1String("listening on "))) {
                    const int found = line.section(QLatin1Char(':'), -1).toInt();
                    lines_.clear();
                    return found;
                }
            }
            if (process_.state() == QProcess::NotRunning) {
                break;
            }
        }
        throw std::runtime_error(
            "roomplayer-sim did not say where it listens: " +
            QString::fromLocal8Bit(process_.readAllStandardError()).toStdString());
    }

    void Stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(10000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }

    // The lines "COMMAND -> WHAT IT DID" written since the last call.
    QStringList TakeLines() {
        Read(50);
        QStringList taken = lines_;
        lines_.clear();
        return taken;
    }

private:
    void Read(int waitMs) {
        process_.waitForReadyRead(waitMs);
        partial_ += process_.readAllStandardOutput();
        for (qsizetype end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
            lines_ << QString::fromUtf8(partial_.left(end));
            partial_.remove(0, end + 1);
        }
    }

    QProcess process_;
    QByteArray partial_;
    QStringList lines_;
};

// What the room player did with one command, from its line.
struct Exchange {
    QString command;
    QString what;   // e.g. "9#70", "failure marker", "silent", "trickle 20: 9#70"
    QString reply;  // the reply's text when one went out whole, else empty
};

std::vector<Exchange> ParseLines(const QStringList& lines) {
    std::vector<Exchange> exchanges;
    for (const QString& line : lines) {
        const qsizetype arrow = line.indexOf(QLatin1String(" -> "));
        if (arrow < 0) {
            continue;
        }
        Exchange exchange{line.left(arrow), line.mid(arrow + 4), QString()};
        static const char* const kWhole[] = {"trickle", "delay"};
        if (!exchange.what.contains(QLatin1Char(' ')) && exchange.what.contains(QLatin1Char('#'))) {
            exchange.reply = exchange.what;
        } else {
            for (const char* action : kWhole) {
                if (exchange.what.startsWith(QLatin1String(action)) &&
                    exchange.what.contains(QLatin1String(": "))) {
                    exchange.reply = exchange.what.section(QLatin1String(": "), 1);
                }
            }
        }
        exchanges.push_back(exchange);
    }
    return exchanges;
}

// The reply of command as the room player sent it, when it went out whole.
QString ReplyOf(const std::vector<Exchange>& exchanges, const QString& command) {
    for (const Exchange& exchange : exchanges) {
        if (exchange.command == command) {
            return exchange.reply;
        }
    }
    return {};
}

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

// The console's event loop seen from inside: a timer of its own thread that
// should fire every 20 ms. The longest gap between two of its ticks is the
// longest time the console could not answer a touch, draw its screen or run its
// own timers.
class THeartbeat : public QObject {
public:
    THeartbeat() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Beat(); });
        since_.start();
        timer_.start();
    }
    // The longest gap since the last call, in milliseconds.
    qint64 TakeLongest() {
        Beat();
        const qint64 longest = longest_;
        longest_ = 0;
        return longest;
    }

private:
    void Beat() { longest_ = std::max(longest_, since_.restart()); }

    QTimer timer_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

// A gap this long is a block a guest notices: taps wait, the screen stands still.
constexpr qint64 kNoticeableBlockMs = 1000;

// Lets the console's own event loop and timers run for milliseconds.
void RunEventLoop(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
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
    void PrepareFolder();
    void OpenAdmin();
    void Exec(const QString& statement);
    int PlaylistRows();
    // The room's playlist entry keys in the table, in play order.
    QStringList PlaylistKeys();
    // count entries in the room's playlist, shown on the console.
    void SeedPlaylist(int count);
    void WriteScript(const QString& name, const QString& rules);
    void StartUp();
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

    void ServerScript(const QString& verb);
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

void TFaultRun::PrepareFolder() {
    QDir(folder_).removeRecursively();
    QDir().mkpath(folder_ + QStringLiteral("/log"));
    if (!QFile::copy(serverFolder_ + QStringLiteral("/setting.ini"),
                     folder_ + QStringLiteral("/setting.ini"))) {
        throw std::runtime_error("no setting.ini in " + serverFolder_.toStdString());
    }
    // The skin and pictures of the built program folder, when it was laid out.
    const QString tools = BinaryDir() + QStringLiteral("/run/tools");
    QDir source(tools);
    if (source.exists()) {
        QProcess copy;
        copy.start(QStringLiteral("cp"), {QStringLiteral("-r"), tools, folder_});
        copy.waitForFinished(30000);
    }
    QDir::setCurrent(folder_);
}

void TFaultRun::OpenAdmin() {
    admin_ = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("admin"));
    admin_.setUserName(QStringLiteral("root"));
    admin_.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + serverFolder_ +
                             QStringLiteral("/mysqld.sock"));
    if (!admin_.open()) {
        throw std::runtime_error("administrator's connection: " +
                                 admin_.lastError().text().toStdString());
    }
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
    const QString songs = TBenchServer::SongsDatabase();
    Exec(QStringLiteral("DELETE FROM %1.playlist WHERE namaroom = %2")
             .arg(songs, sqltext::QuotedStr(roomName_)));
    for (int i = 1; i <= count; ++i) {
        Exec(QStringLiteral("INSERT INTO %1.playlist (idplaylist, namaroom, ukey, idlagu) "
                            "VALUES (%2, %3, 'BENCH%2', %4)")
                 .arg(songs)
                 .arg(i)
                 .arg(sqltext::QuotedStr(roomName_))
                 .arg(20 + i));
    }
    player_->PlaylistView(0);
}

void TFaultRun::WriteScript(const QString& name, const QString& rules) {
    QFile file(folder_ + QLatin1Char('/') + name);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(("# " + QString::fromLatin1(fault_.name) + "\n" + kSongLines + rules).toUtf8());
}

void TFaultRun::ServerScript(const QString& verb) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LYRABOX_DB_BUFFER_POOL"), QStringLiteral("1G"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{verb, serverFolder_};
    if (verb == QLatin1String("start")) {
        arguments << serverFolder_ + QStringLiteral("/setting.ini") << QStringLiteral("--account")
                  << BinaryDir() + QStringLiteral("/db/account.env");
    }
    process.start(QStringLiteral(LYRABOX_SOURCE_DIR "/scripts/mariadb-server.sh"), arguments);
    if (!process.waitForFinished(300000) || process.exitCode() != 0) {
        throw std::runtime_error("mariadb-server.sh " + verb.toStdString() + " failed: " +
                                 QString::fromLocal8Bit(process.readAll()).toStdString());
    }
}

void TFaultRun::StartUp() {
    module_ = std::make_unique<Tfmodule>();
    player_ = std::make_unique<Tfplayer>(*module_, platform_);
    Tfplayer& c = *player_;
    QObject::connect(c.MainSkinNew, &TSkinHost::VariableWritten,
                     [this](const QString& path, const QString& value) { skin_[path] = value; });
    // The start-up step on the fourth tick of the preparation sequence, the
    // standby screen over the console.
    c.preparationTimer = 0;
    c.AdvPanel1->show();
    c.setEnabled(false);
    c.pnlStanby->show();
    for (int i = 0; i < 4; ++i) {
        c.TimerPreparationTimer();
    }
    // The emptied search field's search: both stages of the whole list.
    for (int i = 0; i < 10; ++i) {
        c.tmrsearchingTimer();
    }
    if (c.AdvSonglist->count() == 0) {
        throw std::runtime_error("the start-up search listed no songs");
    }
    heartbeat_ = std::make_unique<THeartbeat>();
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
    PrepareFolder();
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
    Exec(QStringLiteral("INSERT INTO authentification.remote (kode, idroom, port, channel, "
                        "ip_address) VALUES (%1, %2, %3, 'CH-A', '127.0.0.1')")
             .arg(sqltext::QuotedStr(code_))
             .arg(idroom)
             .arg(port_));

    StartUp();
    switch (fault_.kind) {
        case FaultKind::Database:
            // The booking starts while the server is there; then it goes away.
            CheckIn(false);
            Note(QStringLiteral("stopping the server"));
            ServerScript(QStringLiteral("stop"));
            AddSong(true, false);
            Settle(1);
            AddSong(true, true);
            Settle(1);
            Volume(true, true);
            Settle(1);
            Next(true);
            Settle(1);
            Note(QStringLiteral("starting the server again"));
            ServerScript(QStringLiteral("start"));
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
    bool finished = false;  // the process ended by itself and printed its result
    QString how;            // how it ended otherwise
    bool survived = false;
    int lost = 0;
    int untold = 0;
    int wrong = 0;
    qint64 longestBlockMs = 0;
    int blocksInARow = 0;
    int seconds = 0;
    QString lostSteps;
};

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
                                        "[--only=NAME,NAME...]");
        }
    }
    for (const QString& name : options.only) {
        if (FindFault(name) == nullptr) {
            throw std::invalid_argument("no fault named " + name.toStdString());
        }
    }
    return options;
}

struct Running {
    const Fault* fault;
    std::unique_ptr<QProcess> process;
    QElapsedTimer clock;
};

// Each fault's process may take a few minutes: a command to a room player
// that holds the connection waits for the reply limit, and the guest waits out the
// console's wait loop.
constexpr qint64 kFaultTimeoutMs = 20 * 60 * 1000;

Outcome Collect(Running& running) {
    Outcome outcome;
    outcome.fault = QString::fromLatin1(running.fault->name);
    QProcess& process = *running.process;
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("RESULT\t"))) {
            continue;
        }
        const QStringList f = line.split(QLatin1Char('\t'));
        outcome.finished = true;
        outcome.survived = f.value(2) == QLatin1String("1");
        outcome.lost = f.value(3).toInt();
        outcome.untold = f.value(4).toInt();
        outcome.wrong = f.value(5).toInt();
        outcome.longestBlockMs = f.value(6).toLongLong();
        outcome.blocksInARow = f.value(7).toInt();
        outcome.seconds = f.value(8).toInt();
        outcome.lostSteps = f.value(9);
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

std::unique_ptr<QProcess> StartFault(const QString& program, const Fault& fault, int index,
                                     const QString& serverFolder) {
    auto process = std::make_unique<QProcess>();
    const QString folder = BinaryDir() + QStringLiteral("/bench-faults");
    QDir().mkpath(folder);
    // The console's own warnings and the steps, one file per fault.
    process->setStandardErrorFile(folder + QLatin1Char('/') +
                                  FolderName(QString::fromLatin1(fault.name)) +
                                  QStringLiteral(".log"));
    process->start(program, {QStringLiteral("--fault=") + QString::fromLatin1(fault.name),
                             QStringLiteral("--index=%1").arg(index),
                             QStringLiteral("--server=") + serverFolder});
    return process;
}

std::vector<Outcome> RunFaults(const QString& program, const Options& options,
                               const QString& serverFolder) {
    std::vector<const Fault*> roomFaults;
    std::vector<const Fault*> databaseFaults;
    int index = 0;
    std::vector<std::pair<const Fault*, int>> indexes;
    for (const Fault& fault : kFaults) {
        ++index;
        if (!options.only.isEmpty() && !options.only.contains(QString::fromLatin1(fault.name))) {
            continue;
        }
        (fault.kind == FaultKind::Database ? databaseFaults : roomFaults).push_back(&fault);
        indexes.push_back({&fault, index});
    }
    const auto indexOf = [&indexes](const Fault* fault) {
        for (const auto& [f, i] : indexes) {
            if (f == fault) {
                return i;
            }
        }
        return 0;
    };
    std::vector<Outcome> outcomes;
    // The room player's faults run side by side (they mostly wait); the
    // database's runs alone, since every console shares the server.
    for (const auto& batch : {roomFaults, databaseFaults}) {
        std::vector<Running> running;
        size_t next = 0;
        while (next < batch.size() || !running.empty()) {
            while (next < batch.size() && static_cast<int>(running.size()) < options.jobs) {
                const Fault* fault = batch[next++];
                std::cout << "fault: " << fault->name << std::endl;
                Running r{fault, StartFault(program, *fault, indexOf(fault), serverFolder), {}};
                r.clock.start();
                running.push_back(std::move(r));
            }
            for (auto it = running.begin(); it != running.end();) {
                QProcess& process = *it->process;
                process.waitForFinished(100);
                if (process.state() == QProcess::NotRunning) {
                    outcomes.push_back(Collect(*it));
                    it = running.erase(it);
                } else if (it->clock.elapsed() > kFaultTimeoutMs) {
                    process.kill();
                    process.waitForFinished(5000);
                    Outcome outcome = Collect(*it);
                    outcome.finished = false;
                    outcome.how = QStringLiteral("the console's process hung (killed after %1 s)")
                                      .arg(kFaultTimeoutMs / 1000);
                    outcomes.push_back(outcome);
                    it = running.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    // In the table's order.
    std::vector<Outcome> ordered;
    for (const Fault& fault : kFaults) {
        for (const Outcome& outcome : outcomes) {
            if (outcome.fault == QLatin1String(fault.name)) {
                ordered.push_back(outcome);
            }
        }
    }
    return ordered;
}

void PrintSummary(const std::vector<Outcome>& outcomes, const QString& loadReport) {
    std::cout << "\nFaults: a console against a misbehaving room player and a database that goes "
                 "away ("
              << loadReport.toStdString() << ")\n";
    std::cout << "  lost: guest steps that did not happen; untold: of those, the guest was not "
                 "told; other song: steps that acted on another song than the guest chose;\n"
                 "  block: the longest time the console's event loop stood still; in a row: the "
                 "most phases in a row with a block of a second or more\n\n";
    char line[400];
    std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %10s %7s %8s %6s  %s\n", "fault",
                  "survived", "lost", "untold", "other song", "block", "in a row", "time",
                  "untold or wrong steps, or how the console's process ended");
    std::cout << line;
    int survived = 0;
    int untold = 0;
    int wrong = 0;
    int blocksInARow = 0;
    qint64 longest = 0;
    bool known = true;
    for (const Outcome& o : outcomes) {
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%ds", o.seconds);
        char block[16];
        std::snprintf(block, sizeof block, "%.1f s", static_cast<double>(o.longestBlockMs) / 1000);
        const auto number = [&](int value) {
            return o.finished ? QString::number(value) : QStringLiteral("?");
        };
        std::snprintf(line, sizeof line, "  %-22s %8s %4s %6s %10s %7s %8s %6s  %s\n",
                      o.fault.toStdString().c_str(), o.survived ? "yes" : "NO",
                      number(o.lost).toStdString().c_str(), number(o.untold).toStdString().c_str(),
                      number(o.wrong).toStdString().c_str(), o.finished ? block : "?",
                      number(o.blocksInARow).toStdString().c_str(), seconds,
                      (o.finished ? o.lostSteps : o.how).toStdString().c_str());
        std::cout << line;
        survived += o.survived ? 1 : 0;
        untold += o.finished ? o.untold : 0;
        wrong += o.finished ? o.wrong : 0;
        blocksInARow = std::max(blocksInARow, o.blocksInARow);
        longest = std::max(longest, o.longestBlockMs);
        known = known && o.finished;
    }
    const int total = static_cast<int>(outcomes.size());
    const qint64 limitMs = Tfplayer::kConnectLimit + Tfplayer::kReplyLimit;
    const auto met = [&](bool ok) { return ok && known ? "met" : "NOT MET"; };
    std::cout << "\nTargets\n";
    std::snprintf(line, sizeof line, "  every fault survived: %d of %d (%s)\n", survived, total,
                  met(survived == total));
    std::cout << line;
    std::snprintf(line, sizeof line, "  steps lost untold: %d (target 0, %s)\n", untold,
                  met(untold == 0));
    std::cout << line;
    std::snprintf(line, sizeof line, "  steps on another song: %d (target 0, %s)\n", wrong,
                  met(wrong == 0));
    std::cout << line;
    std::snprintf(line, sizeof line,
                  "  longest block: %.1f s (target at most the connect and reply limits, %.0f s: "
                  "%s); most blocks in a row: %d (target 1: %s)\n",
                  static_cast<double>(longest) / 1000, static_cast<double>(limitMs) / 1000,
                  met(longest <= limitMs), blocksInARow, met(blocksInARow <= 1));
    std::cout << line;
    std::cout << "  each fault's steps and the console's warnings: " << BinaryDir().toStdString()
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
            const Fault* fault = FindFault(arguments[1].section(QLatin1Char('='), 1));
            if (fault == nullptr || arguments.size() < 4) {
                throw std::invalid_argument("--fault=NAME --index=N --server=FOLDER");
            }
            TFaultRun run(*fault, arguments[2].section(QLatin1Char('='), 1).toInt(),
                          arguments[3].section(QLatin1Char('='), 1));
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
