// Many consoles against one server for a bounded time: each console is a
// thread with its own settings holder, connection and command objects, made
// and used the way the console window makes and uses them, and its own room.
// A console types search keys at a guest's pace (each key runs the first
// search stage; a pause after the last key runs the second) and changes its
// room playlist every few seconds (add a song, move an entry up or down,
// delete one, read the playlist). Every statement is timed; the run ends with
// a table per statement kind: count, median, 99th percentile and errors, next
// to the targets (no errors; the first search stage's 99th percentile under
// 50 ms).
//
//   bench_load [--seconds=N] [--consoles=N] [--songs=N] [--seed=N] [--keep_catalogue]
#include <QApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/adocommand.h"
#include "app/dberror.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "bench/benchoptions.h"
#include "bench/benchserver.h"
#include "console/uplayer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr double kFirstStageTargetMs = 50;

struct Options {
    int seconds = 60;
    int consoles = 100;
    int songs = 500000;
    int seed = 20240611;
    bool keepCatalogue = false;
};

// What a console times, in the order of the summary.
enum Kind {
    kConnect,
    kFirstStage,
    kFirstStageWithConnect,
    kSecondStage,
    kSecondStageWithConnect,
    kSavePlaylist,
    kGantiUrutan,
    kDeleteLagu,
    kListPlayList,
    kSelectLaguView,
    kPlaylistCheck,
    kKinds
};

const char* const kKindNames[kKinds] = {
    "connect (before a stage or a change)",
    "search, first stage (0, 15)",
    "  the same with its connect",
    "search, second stage (15, 700)",
    "  the same with its connect",
    "SavePlaylist",
    "GantiUrutanPlaylist",
    "DeleteLaguPlaylist",
    "ListPlayList",
    "SelectLaguView (now playing)",
    "playlist as the console expects it",
};

// Whether a kind is a measured statement (the check is a count only).
bool Timed(int kind) {
    return kind != kPlaylistCheck;
}

struct Figures {
    std::vector<double> milliseconds[kKinds];
    long errors[kKinds] = {};
    long count[kKinds] = {};
    std::map<std::string, long> messages;
    // The slowest calls of each search stage, with their statements.
    std::vector<std::pair<double, std::string>> slowest[2];
    long keys = 0;
    long playlistChanges = 0;
};

// Words a guest types, from the generated catalogue's titles and artists (the
// skin's keys: letters, digits and a few signs, no accents).
const char* const kTitleWords[] = {
    "LOVE",    "CINTA",   "BABY",     "HEART",     "RINDU",    "NIGHT",   "HATI",    "DON'T",
    "SAYANG",  "DREAM",   "MALAM",    "KASIH",     "WORLD",    "BINTANG", "HOME",    "JANJI",
    "FOREVER", "MIMPI",   "HUJAN",    "SUMMER",    "SENJA",    "RAIN",    "PULANG",  "LIGHT",
    "DANCE",   "SWEET",   "DUNIA",    "ANGEL",     "HEAVEN",   "TONIGHT", "MOON",    "BROKEN",
    "ALWAYS",  "KEMBALI", "STAR",     "GOOD",      "JALAN",    "RUMAH",   "SAHABAT", "RIVER",
    "GOLDEN",  "KISS",    "OCEAN",    "SHADOW",    "MELODY",   "MORNING", "CRAZY",   "HAPPY",
    "TEARS",   "CITY",    "YOUNG",    "BEAUTIFUL", "SUNSHINE", "FREE",    "100%",    "MEMORIES",
    "FRIEND",  "MOTHER",  "STORM",    "WINTER",    "KING",     "QUEEN",   "MAGIC",   "HORIZON",
    "DIAMOND", "TRAIN",   "MIDNIGHT", "PROMISE",   "SECRET",   "HOPE",    "ISLAND",  "MOUNTAIN",
    "MY LOVE", "I LOVE",  "YOU ME",   "MALAM INI"};
const char* const kArtistWords[] = {"BRUNO", "DEWI",   "MAYA",  "SANTOSO", "WIJAYA", "KUSUMA",
                                    "EMMA",  "NOAH",   "LUNA",  "GOLDEN",  "NEON",   "SENJA",
                                    "B M",   "DEWI S", "ROYAL", "SILVER"};

// One console: its settings holder and command objects live on its thread,
// as they live on the console window's thread.
class TSimulatedConsole {
public:
    TSimulatedConsole(int number, unsigned seed, Clock::time_point end)
        : room_(QStringLiteral("LOAD %1").arg(number, 3, 10, QLatin1Char('0'))),
          random_(seed),
          end_(end) {}

    void Run(std::mutex& setup) {
        {
            // The client library keeps a count of its users that is not made
            // for threads opening their first connection at the same moment.
            const std::lock_guard lock(setup);
            module_ = std::make_unique<Tfmodule>();
            AdoSpFlast_ = std::make_unique<TAdoCommand>(
                QStringLiteral("AdoSpFlast"), &module_->AdoConn, TAdoCommand::Kind::StoredProc);
            SpCall_ = std::make_unique<TAdoCommand>(QStringLiteral("SpCall"), &module_->AdoConn,
                                                    TAdoCommand::Kind::StoredProc);
            ADOplaylistnew_ = std::make_unique<TAdoCommand>(
                QStringLiteral("ADOplaylistnew"), &module_->AdoConn, TAdoCommand::Kind::StoredProc);
        }
        // Guests do not all arrive on the same millisecond.
        Clock::time_point next = Clock::now() + Ms(Uniform(0, 1500));
        nextPlaylistChange_ = next + Ms(Uniform(1000, 6000));
        while (next < end_) {
            next = Word(next);
        }
        const std::lock_guard lock(setup);
        AdoSpFlast_.reset();
        SpCall_.reset();
        ADOplaylistnew_.reset();
        module_.reset();
    }

    Figures& figures() { return figures_; }

private:
    static Clock::duration Ms(int milliseconds) { return std::chrono::milliseconds(milliseconds); }
    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    // Waits until `when`, running meanwhile what falls due in the order it
    // falls due: the search's second stage, a playlist change (the guest
    // changes the playlist between keys). Returns false when the run is over.
    bool WaitUntil(Clock::time_point when) {
        for (;;) {
            const bool second = pendingSecond_ && secondDue_ <= nextPlaylistChange_;
            const Clock::time_point due = second ? secondDue_ : nextPlaylistChange_;
            if (due > when || due >= end_) {
                break;
            }
            std::this_thread::sleep_until(due);
            if (second) {
                pendingSecond_ = false;
                Stage(1);
            } else {
                ChangePlaylist();
                nextPlaylistChange_ = Clock::now() + Ms(Uniform(3000, 6000));
            }
        }
        if (when >= end_) {
            std::this_thread::sleep_until(end_);
            return false;
        }
        std::this_thread::sleep_until(when);
        return true;
    }

    // One word typed key by key from `start`, then a pause to read the list;
    // returns when the next word starts.
    Clock::time_point Word(Clock::time_point start) {
        // A new search, a second word after a blank, or a few keys taken back.
        const int choice = Uniform(0, 9);
        if (choice < 5 || text_.size() > 20) {
            if (!text_.isEmpty()) {
                // "clear": the emptied field runs both stages over the whole list.
                text_.clear();
                if (!Key(start)) {
                    return end_;
                }
                start += Ms(Uniform(600, 1500));
            }
            target_ = Chance(0.8) ? 1 : 0;
            mode_ = Chance(0.7) ? 0 : Uniform(1, 4);
        } else if (choice < 8 && !text_.isEmpty()) {
            // "space": a blank, searched like any key.
            text_ += QLatin1Char(' ');
            if (!Key(start)) {
                return end_;
            }
            start += Ms(Uniform(150, 400));
        } else if (!text_.isEmpty()) {
            const int back = std::min<int>(Uniform(1, 3), static_cast<int>(text_.size()));
            Clock::time_point when = start;
            for (int i = 0; i < back; ++i) {
                text_.chop(1);
                if (!Key(when)) {
                    return end_;
                }
                when += Ms(Uniform(150, 400));
            }
            start = when;
        }
        const QString word =
            QString::fromUtf8(target_ == 1 ? kTitleWords[Uniform(0, std::size(kTitleWords) - 1)]
                                           : kArtistWords[Uniform(0, std::size(kArtistWords) - 1)]);
        // Guests often stop typing before the word ends.
        const int keys = std::min<int>(static_cast<int>(word.size()), Uniform(2, 7));
        Clock::time_point when = start;
        for (int i = 0; i < keys; ++i) {
            text_ += word.at(i);
            if (!Key(when)) {
                return end_;
            }
            if (i + 1 < keys) {
                when += Ms(Uniform(150, 400));
            }
        }
        // The guest reads the list before the next word.
        return when + Ms(Uniform(1000, 4000));
    }

    // One key at `when` (the field's text is already changed). The search
    // timer ticks every 50 ms: its first tick after the key runs the first
    // stage, its tenth the second, unless a key came in between and set the
    // count back.
    bool Key(Clock::time_point when) {
        if (!WaitUntil(when)) {
            return false;
        }
        pendingSecond_ = false;
        std::this_thread::sleep_for(Ms(Uniform(1, 50)));
        ++figures_.keys;
        Stage(0);
        return true;
    }

    void Stage(int MYlimit) {
        // The statement as CariProcedur builds it.
        const QString pattern = Tfplayer::SearchPattern(text_);
        const bool firstStage = MYlimit == 0;
        const int offset = firstStage ? 0 : Tfplayer::kFirstStageCount;
        const int count = firstStage ? Tfplayer::kFirstStageCount : Tfplayer::kSecondStageCount;
        const int keywordClass = text_.isEmpty() ? 1 : Tfplayer::KeywordClass(text_);
        const QString text =
            sqltext::CallText(QStringLiteral("CariJudulArtis"),
                              {qint64{keywordClass}, qint64{0}, qint64{0}, qint64{mode_},
                               target_ == 1 ? pattern : QString(),
                               target_ == 1 ? QString() : pattern, qint64{offset}, qint64{count}});
        const Clock::time_point start = Clock::now();
        Connect();
        AdoSpFlast_->SetText(text);
        const Kind kind = firstStage ? kFirstStage : kSecondStage;
        const bool ok = Timed(kind, [&] {
            AdoSpFlast_->Open();
            std::vector<int> ids;
            for (AdoSpFlast_->First(); !AdoSpFlast_->Eof(); AdoSpFlast_->Next()) {
                ids.push_back(AdoSpFlast_->FieldByName(QStringLiteral("idlagu")).AsInteger());
                // The row's texts, as the list's row is built from them.
                AdoSpFlast_->FieldByName(QStringLiteral("judul")).AsString();
                AdoSpFlast_->FieldByName(QStringLiteral("artis")).AsString();
            }
            if (firstStage && !ids.empty()) {
                shown_ = std::move(ids);
            }
        });
        AdoSpFlast_->Close();
        if (ok) {
            KeepSlowest(figures_.slowest[firstStage ? 0 : 1], figures_.milliseconds[kind].back(),
                        text.toStdString());
        }
        // The console disconnects after every stage; the next use connects again.
        module_->AdoConn.Close();
        if (ok) {
            Record(firstStage ? kFirstStageWithConnect : kSecondStageWithConnect,
                   Milliseconds(Clock::now() - start).count());
        }
        if (firstStage) {
            // Nine ticks of 50 ms after the first stage's tick, or at once when
            // the stage took longer than that (the timer does not catch up).
            secondDue_ = std::max(start + Ms(450), Clock::now());
            pendingSecond_ = true;
        }
    }

    static void KeepSlowest(std::vector<std::pair<double, std::string>>& slowest, double ms,
                            std::string text) {
        constexpr size_t kKept = 5;
        if (slowest.size() < kKept || ms > slowest.back().first) {
            slowest.emplace_back(ms, std::move(text));
            std::sort(slowest.begin(), slowest.end(), std::greater<>());
            if (slowest.size() > kKept) {
                slowest.pop_back();
            }
        }
    }

    void Connect() {
        if (module_->AdoConn.Connected()) {
            return;
        }
        const Clock::time_point start = Clock::now();
        module_->Connected();
        if (module_->AdoConn.Connected()) {
            Record(kConnect, Milliseconds(Clock::now() - start).count());
        } else {
            // The connect routine swallows the failure; the statement then fails.
            Fail(kConnect, "connect failed");
        }
    }

    template <class Action>
    bool Timed(Kind kind, Action&& action) {
        const Clock::time_point start = Clock::now();
        try {
            action();
        } catch (const std::exception& failure) {
            Fail(kind, failure.what());
            return false;
        }
        Record(kind, Milliseconds(Clock::now() - start).count());
        return true;
    }

    void Record(Kind kind, double ms) {
        ++figures_.count[kind];
        figures_.milliseconds[kind].push_back(ms);
    }

    void Fail(Kind kind, const std::string& message) {
        ++figures_.count[kind];
        ++figures_.errors[kind];
        ++figures_.messages[std::string(kKindNames[kind]) + ": " + message];
    }

    // A playlist change as the skin's commands make it, each followed by the
    // reload that PlaylistView does (and its now-playing refresh).
    void ChangePlaylist() {
        ++figures_.playlistChanges;
        const int rows = static_cast<int>(rows_.size());
        int choice = Uniform(0, 9);
        if (rows < 3) {
            choice = 0;
        } else if (rows > 15) {
            choice = 9;
        }
        if (choice < 4 || rows == 0) {
            if (shown_.empty()) {
                ReadPlaylist(0);
                return;
            }
            // "saveplaylist": the selected row of the song list.
            const int song = shown_[Uniform(0, static_cast<int>(shown_.size()) - 1)];
            const QString ukey = Tfplayer::RandomCode(6);
            Connect();
            SpCall_->Close();
            SpCall_->SetText(
                sqltext::CallText(QStringLiteral("SavePlaylist"), {qint64{song}, room_, ukey}));
            if (Timed(kSavePlaylist, [&] { SpCall_->Execute(); })) {
                expected_.insert(ukey);
            }
            ReadPlaylist(0);
        } else if (choice < 8) {
            // "up" or "down" on a selected row that has a neighbour there.
            const bool up = Chance(0.5);
            const int i = up ? Uniform(1, rows - 1) : Uniform(0, rows - 2);
            const int neighbour = up ? i - 1 : i + 1;
            Connect();
            SpCall_->Close();
            SpCall_->SetText(sqltext::CallText(
                QStringLiteral("GantiUrutanPlaylist"),
                {qint64{rows_[i].idplaylist}, qint64{rows_[neighbour].idplaylist}, room_}));
            Timed(kGantiUrutan, [&] { SpCall_->Execute(); });
            ReadPlaylist(neighbour);
        } else if (choice == 8) {
            // "Button5": the playlist read again.
            ReadPlaylist(0);
        } else {
            // "delete" on a selected row.
            const int i = Uniform(0, rows - 1);
            Connect();
            SpCall_->Close();
            SpCall_->SetText(sqltext::CallText(QStringLiteral("DeleteLaguPlaylist"),
                                               {qint64{rows_[i].idplaylist}, room_}));
            if (Timed(kDeleteLagu, [&] { SpCall_->Execute(); })) {
                // Every entry at that position goes (in steady state, one).
                for (const Row& row : rows_) {
                    if (row.idplaylist == rows_[i].idplaylist) {
                        expected_.erase(row.ukey);
                    }
                }
            }
            ReadPlaylist(i == 0 ? 0 : i - 1);
        }
    }

    struct Row {
        int idplaylist;
        int idlagu;
        QString ukey;
    };

    void ReadPlaylist(int /*selected*/) {
        Connect();
        ADOplaylistnew_->SetText(QStringLiteral("ListPlayList(") + sqltext::QuotedStr(room_) +
                                 QStringLiteral(");"));
        std::vector<Row> rows;
        const bool ok = Timed(kListPlayList, [&] {
            ADOplaylistnew_->Open();
            for (ADOplaylistnew_->First(); !ADOplaylistnew_->Eof(); ADOplaylistnew_->Next()) {
                const auto field = [this](const char* name) {
                    return ADOplaylistnew_->FieldByName(QString::fromLatin1(name));
                };
                field("judul").AsString();
                field("artis").AsString();
                rows.push_back({field("idplaylist").AsInteger(), field("idlagu").AsInteger(),
                                field("ukey").AsString()});
            }
        });
        ADOplaylistnew_->Close();
        if (!ok) {
            return;
        }
        rows_ = std::move(rows);
        std::set<QString> shown;
        for (const Row& row : rows_) {
            shown.insert(row.ukey);
        }
        // Only this console changes its room's playlist: what it reads is what
        // it made, no entry lost and none twice.
        ++figures_.count[kPlaylistCheck];
        if (shown != expected_ || shown.size() != rows_.size()) {
            ++figures_.errors[kPlaylistCheck];
            ++figures_.messages[std::string(kKindNames[kPlaylistCheck]) +
                                ": the playlist read differs from the changes made"];
            expected_ = shown;
        }
        // The now-playing refresh: the song the room plays (the first entry's).
        if (!rows_.empty()) {
            Connect();
            SpCall_->SetText(QStringLiteral("SelectLaguView(%1)").arg(rows_.front().idlagu));
            Timed(kSelectLaguView, [&] { SpCall_->Open(); });
            SpCall_->Close();
        }
    }

    QString room_;
    std::mt19937 random_;
    Clock::time_point end_;
    std::unique_ptr<Tfmodule> module_;
    std::unique_ptr<TAdoCommand> AdoSpFlast_;
    std::unique_ptr<TAdoCommand> SpCall_;
    std::unique_ptr<TAdoCommand> ADOplaylistnew_;

    QString text_;
    int target_ = 1;
    int mode_ = 0;
    bool pendingSecond_ = false;
    Clock::time_point secondDue_{};
    Clock::time_point nextPlaylistChange_{};
    std::vector<int> shown_;
    std::vector<Row> rows_;
    std::set<QString> expected_;
    Figures figures_;
};

}  // namespace

namespace {

// The nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) {
        return -1;
    }
    const auto rank =
        static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

std::string Ms(double value) {
    if (value < 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f" : "%.1f", value);
    return text;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (ReadNumberOption(argument, "seconds", options.seconds) ||
            ReadNumberOption(argument, "consoles", options.consoles) ||
            ReadNumberOption(argument, "songs", options.songs) ||
            ReadNumberOption(argument, "seed", options.seed, 0)) {
            continue;
        }
        if (argument == "--keep_catalogue") {
            options.keepCatalogue = true;
        } else {
            throw std::invalid_argument(
                "unknown option " + argument +
                "; usage: bench_load [--seconds=N] [--consoles=N] [--songs=N] [--seed=N] "
                "[--keep_catalogue]");
        }
    }
    return options;
}

// One value of the server's status or variables, read as an administrator.
QString ServerValue(QSqlDatabase& admin, const QString& statement) {
    QSqlQuery query(admin);
    if (query.exec(statement) && query.next()) {
        return query.value(1).toString();
    }
    return QStringLiteral("?");
}

void PrintSummary(const Options& options, const Figures& all, const QString& loadReport,
                  QSqlDatabase& admin) {
    std::cout << "\nLoad: " << options.consoles << " consoles for " << options.seconds
              << " s against one server (" << loadReport.toStdString() << ")\n";
    std::cout << "  " << all.keys << " search keys typed, " << all.playlistChanges
              << " playlist changes; milliseconds per statement, seen by the console\n\n";
    char line[240];
    std::snprintf(line, sizeof line, "  %-38s %8s %8s %8s %8s %7s\n", "statement", "count", "per s",
                  "median", "p99", "errors");
    std::cout << line;
    long totalErrors = 0;
    for (int kind = 0; kind < kKinds; ++kind) {
        std::vector<double> sorted = all.milliseconds[kind];
        std::sort(sorted.begin(), sorted.end());
        totalErrors += all.errors[kind];
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.1f",
                      static_cast<double>(all.count[kind]) / options.seconds);
        std::snprintf(line, sizeof line, "  %-38s %8ld %8s %8s %8s %7ld\n", kKindNames[kind],
                      all.count[kind], rate, Timed(kind) ? Ms(Percentile(sorted, 50)).c_str() : "",
                      Timed(kind) ? Ms(Percentile(sorted, 99)).c_str() : "", all.errors[kind]);
        std::cout << line;
    }
    if (!all.messages.empty()) {
        std::cout << "\n  errors by message:\n";
        for (const auto& [message, count] : all.messages) {
            std::cout << "    " << count << " x " << message << "\n";
        }
    }
    const char* const stages[] = {"first", "second"};
    for (int stage = 0; stage < 2; ++stage) {
        std::vector<std::pair<double, std::string>> slowest = all.slowest[stage];
        std::sort(slowest.begin(), slowest.end(), std::greater<>());
        slowest.resize(std::min<size_t>(slowest.size(), 5));
        std::cout << "\n  slowest " << stages[stage] << " stages (ms, statement):\n";
        for (const auto& [ms, text] : slowest) {
            std::cout << "    " << Ms(ms) << "  " << text << "\n";
        }
    }
    std::cout << "\n  server: max_connections "
              << ServerValue(admin, "SHOW VARIABLES LIKE 'max_connections'").toStdString()
              << ", most connections at once "
              << ServerValue(admin, "SHOW GLOBAL STATUS LIKE 'Max_used_connections'").toStdString()
              << ", connections made "
              << ServerValue(admin, "SHOW GLOBAL STATUS LIKE 'Connections'").toStdString()
              << ", refused for too many "
              << ServerValue(admin, "SHOW GLOBAL STATUS LIKE 'Connection_errors_max_connections'")
                     .toStdString()
              << "\n";

    std::vector<double> first = all.milliseconds[kFirstStage];
    std::sort(first.begin(), first.end());
    std::vector<double> firstWithConnect = all.milliseconds[kFirstStageWithConnect];
    std::sort(firstWithConnect.begin(), firstWithConnect.end());
    const double p99 = Percentile(first, 99);
    const double p99WithConnect = Percentile(firstWithConnect, 99);
    const auto verdict = [](bool met) { return met ? "met" : "NOT MET"; };
    std::cout << "\nTargets\n";
    std::snprintf(line, sizeof line, "  %-52s %10s %8s\n", "", "measured", "");
    std::cout << line;
    std::snprintf(line, sizeof line, "  %-52s %10ld %8s\n", "errors, all statements (target 0)",
                  totalErrors, verdict(totalErrors == 0));
    std::cout << line;
    std::snprintf(line, sizeof line, "  %-52s %10s %8s\n", "first stage p99, ms (target under 50)",
                  Ms(p99).c_str(), verdict(p99 >= 0 && p99 < kFirstStageTargetMs));
    std::cout << line;
    std::snprintf(line, sizeof line, "  %-52s %10s %8s\n",
                  "first stage with its connect p99, ms (target under 50)",
                  Ms(p99WithConnect).c_str(),
                  verdict(p99WithConnect >= 0 && p99WithConnect < kFirstStageTargetMs));
    std::cout << line;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LYRABOX_LOOPBACK_ONLY", "1");
    QApplication app(argc, argv);
    try {
        const Options options = ParseOptions(argc, argv);
        TBenchServer server(QStringLiteral(LYRABOX_BINARY_DIR "/bench-load-mariadb"),
                            QStringLiteral(LYRABOX_BINARY_DIR "/db/account.env"));
        const QString loadReport = server.StartWithCatalogue(options.songs, options.keepCatalogue);

        QSqlDatabase admin =
            QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("admin"));
        admin.setUserName(QStringLiteral("root"));
        admin.setDatabaseName(TBenchServer::SongsDatabase());
        admin.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + server.SocketPath());
        if (!admin.open()) {
            throw std::runtime_error("administrator's connection: " +
                                     admin.lastError().text().toStdString());
        }
        // Each run starts with empty playlists in the consoles' rooms.
        QSqlQuery(admin).exec(QStringLiteral("DELETE FROM playlist WHERE namaroom LIKE 'LOAD %'"));
        QSqlQuery(admin).exec(QStringLiteral("FLUSH STATUS"));

        // The consoles' settings holders read setting.ini from the working folder.
        QDir::setCurrent(server.Folder());
        std::cout << "running " << options.consoles << " consoles for " << options.seconds << " s"
                  << std::endl;
        std::mutex setup;
        std::vector<std::unique_ptr<TSimulatedConsole>> consoles;
        const Clock::time_point end = Clock::now() + std::chrono::seconds(options.seconds);
        for (int i = 0; i < options.consoles; ++i) {
            consoles.push_back(std::make_unique<TSimulatedConsole>(
                i + 1, options.seed + static_cast<unsigned>(i), end));
        }
        std::vector<std::thread> threads;
        for (auto& console : consoles) {
            threads.emplace_back([&console, &setup] { console->Run(setup); });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }

        Figures all;
        for (auto& console : consoles) {
            Figures& figures = console->figures();
            for (int kind = 0; kind < kKinds; ++kind) {
                all.milliseconds[kind].insert(all.milliseconds[kind].end(),
                                              figures.milliseconds[kind].begin(),
                                              figures.milliseconds[kind].end());
                all.errors[kind] += figures.errors[kind];
                all.count[kind] += figures.count[kind];
            }
            for (const auto& [message, count] : figures.messages) {
                all.messages[message] += count;
            }
            for (int stage = 0; stage < 2; ++stage) {
                all.slowest[stage].insert(all.slowest[stage].end(), figures.slowest[stage].begin(),
                                          figures.slowest[stage].end());
            }
            all.keys += figures.keys;
            all.playlistChanges += figures.playlistChanges;
        }
        PrintSummary(options, all, loadReport, admin);
        admin.close();
    } catch (const std::exception& failure) {
        std::cerr << "bench_load: " << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
