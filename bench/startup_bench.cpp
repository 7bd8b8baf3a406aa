// bench_startup: the console's start-up time to its standby screen, and its
// memory with a whole song list and a full playlist on screen. The real
// lyrabox program is started from a program folder on Qt's offscreen platform
// against a private MariaDB and roomplayer-sim, and watched through the guest
// driver. Usage in bench/README.md.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/benchoptions.h"
#include "bench/benchserver.h"
#include "guestsession.h"
#include "processes.h"
#include "programfolder.h"

namespace {

constexpr int kListedSongs = 715;  // both search stages: 15 and 700 rows
constexpr double kTargetMegabytes = 150.0;
const QString kRoom = QStringLiteral("BENCH STARTUP");
const QString kCode = QStringLiteral("9601");

struct TOptions {
    int songs = 500000;
    int runs = 5;
    int playlist = 200;
    bool keepCatalogue = false;
};

TOptions ReadOptions(const QStringList& arguments) {
    TOptions options;
    for (const QString& argument : arguments.mid(1)) {
        const std::string text = argument.toStdString();
        if (argument == QLatin1String("--keep_catalogue")) {
            options.keepCatalogue = true;
        } else if (!ReadNumberOption(text, "songs", options.songs) &&
                   !ReadNumberOption(text, "runs", options.runs) &&
                   !ReadNumberOption(text, "playlist", options.playlist)) {
            throw std::runtime_error(
                "usage: bench_startup [--songs=N] [--runs=N] [--playlist=N] [--keep_catalogue]");
        }
    }
    if (options.songs < kListedSongs || options.playlist > options.songs) {
        throw std::runtime_error("the catalogue must hold the listed songs and the playlist");
    }
    return options;
}

void Wait(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

// Polls until the condition holds; throws with `what` after the timeout.
template <class Condition>
void WaitFor(guestdriver::ConsoleProcess& console, Condition condition, const char* what,
             int timeoutMs = 120000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (!console.running()) {
            throw std::runtime_error(std::string("the console ended while waiting for ") + what +
                                     ":\n" + console.output().toStdString());
        }
        if (deadline.hasExpired()) {
            throw std::runtime_error(std::string("timed out waiting for ") + what + ":\n" +
                                     console.output().toStdString());
        }
        Wait(10);
    }
}

class TAdmin {
public:
    explicit TAdmin(const QString& socket) {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("admin"));
        db_.setUserName(QStringLiteral("root"));
        db_.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + socket);
        if (!db_.open()) {
            throw std::runtime_error("administrator's connection: " +
                                     db_.lastError().text().toStdString());
        }
    }
    void Exec(const QString& statement) {
        QSqlQuery query(db_);
        if (!query.exec(statement)) {
            throw std::runtime_error(statement.toStdString() + ": " +
                                     query.lastError().text().toStdString());
        }
    }

private:
    QSqlDatabase db_;
};

// Kilobytes of a "VmRSS:"-like line of /proc/PID/status.
double StatusMegabytes(qint64 pid, const QByteArray& field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + status.fileName().toStdString());
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':')) {
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    throw std::runtime_error("no " + field.toStdString() + " in " +
                             status.fileName().toStdString());
}

bool OnStandby(guestdriver::GuestSession& guest) {
    return guest.visible(QStringLiteral("pnlStanby")) &&
           !guest.visible(QStringLiteral("AdvPanel1"));
}

// Launches the console and returns the time until its standby screen takes input.
double LaunchToStandby(guestdriver::ConsoleProcess& console, guestdriver::GuestSession& guest,
                       const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    if (!console.start(folder, guest.port())) {
        throw std::runtime_error("lyrabox did not start");
    }
    WaitFor(
        console, [&] { return guest.accept(5); }, "the guest driver");
    WaitFor(
        console, [&] { return OnStandby(guest); }, "the standby screen");
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(const TOptions& options) {
    TBenchServer server(QStringLiteral(LYRABOX_BINARY_DIR "/bench-startup"),
                        QStringLiteral(LYRABOX_BINARY_DIR "/db/account.env"));
    const QString catalogue = server.StartWithCatalogue(options.songs, options.keepCatalogue);
    const QString settingIni = server.Folder() + QStringLiteral("/setting.ini");
    const QString songs = TBenchServer::SongsDatabase();

    TAdmin admin(server.SocketPath());
    admin.Exec(QStringLiteral("DELETE FROM %1.room WHERE namaroom = '%2'").arg(songs, kRoom));
    admin.Exec(QStringLiteral("DELETE FROM %1.playlist WHERE namaroom = '%2'").arg(songs, kRoom));
    admin.Exec(
        QStringLiteral("INSERT INTO %1.room (idroom, namaroom, status, players, jam, durasi, "
                       "user) VALUES (960, '%2', 1, 1, NOW(), 600, 'BENCH')")
            .arg(songs, kRoom));
    guestdriver::RoomPlayerProcess room;
    if (!room.start(kRoom, settingIni)) {
        throw std::runtime_error("roomplayer-sim did not start:\n" + room.output().toStdString());
    }
    admin.Exec(QStringLiteral("DELETE FROM authentification.remote WHERE kode = '%1'").arg(kCode));
    admin.Exec(QStringLiteral("INSERT INTO authentification.remote (kode, idroom, port, channel, "
                              "ip_address) VALUES ('%1', 960, %2, 'CH-B', '127.0.0.1')")
                   .arg(kCode)
                   .arg(room.port()));

    QTemporaryDir folder;
    if (!folder.isValid()) {
        throw std::runtime_error("cannot make a program folder");
    }
    guestdriver::LayOutProgramFolder(folder.path(), settingIni);

    std::vector<double> starts;
    for (int run = 1; run < options.runs; ++run) {
        guestdriver::GuestSession guest;
        guestdriver::ConsoleProcess console;
        starts.push_back(LaunchToStandby(console, guest, folder.path()));
        console.kill();
    }

    // The last start stays: check in with a full playlist and the whole song list.
    admin.Exec(QStringLiteral("INSERT INTO %1.playlist (idplaylist, namaroom, ukey, idlagu) "
                              "SELECT ROW_NUMBER() OVER (ORDER BY idlagu), '%2', "
                              "CONCAT('B', idlagu), idlagu FROM %1.lagu ORDER BY idlagu LIMIT %3")
                   .arg(songs, kRoom)
                   .arg(options.playlist));
    guestdriver::GuestSession guest;
    guestdriver::ConsoleProcess console;
    starts.push_back(LaunchToStandby(console, guest, folder.path()));
    const double standbyMegabytes = StatusMegabytes(console.pid(), "VmRSS");
    guest.typeOn(QStringLiteral("AdvSmoothTouchKeyBoard1"), kCode);
    guest.tap(QStringLiteral("AdvSmoothButton5"));
    WaitFor(
        console,
        [&] {
            return !guest.visible(QStringLiteral("pnlStanby")) &&
                   !guest.visible(QStringLiteral("AdvPanel1")) &&
                   guest.enabled(QStringLiteral("fplayer"));
        },
        "the check-in");
    // The room player takes the first entry to play; the rest stays listed.
    const int listedEntries = options.playlist - 1;
    WaitFor(
        console,
        [&] { return guest.rows(QStringLiteral("lvPlaylistnNew")).size() >= listedEntries; },
        "the playlist");
    // A search typed and erased lists the whole catalogue's first songs again.
    guest.skinTap(QStringLiteral("s"));
    guest.skinTap(QStringLiteral("backspace"));
    WaitFor(
        console,
        [&] {
            return guest.text(QStringLiteral("edtcari")).isEmpty() &&
                   guest.rows(QStringLiteral("AdvSonglist")).size() == kListedSongs;
        },
        "the whole song list");
    Wait(2000);  // let the skin and both lists settle and paint
    const double residentMegabytes = StatusMegabytes(console.pid(), "VmRSS");
    const double peakMegabytes = StatusMegabytes(console.pid(), "VmHWM");
    console.kill();
    room.kill();

    std::printf("Start-up: the lyrabox program on Qt's offscreen platform, %d launches\n",
                options.runs);
    std::printf("  %s\n", qPrintable(catalogue));
    std::printf("  launch to standby screen, ms: median %.0f, fastest %.0f, slowest %.0f\n",
                Median(starts), *std::min_element(starts.begin(), starts.end()),
                *std::max_element(starts.begin(), starts.end()));
    std::printf("  resident on the standby screen: %.1f MB\n", standbyMegabytes);
    std::printf("Memory: checked in, %d songs listed, %d playlist entries listed\n", kListedSongs,
                listedEntries);
    std::printf("  resident now %.1f MB, peak resident %.1f MB\n", residentMegabytes,
                peakMegabytes);
    std::printf("Target\n  peak resident under %.0f MB: %.1f MB, %s\n", kTargetMegabytes,
                peakMegabytes, peakMegabytes < kTargetMegabytes ? "met" : "NOT MET");
    return peakMegabytes < kTargetMegabytes ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    try {
        return Run(ReadOptions(QCoreApplication::arguments()));
    } catch (const std::exception& failure) {
        std::cerr << "bench_startup: " << failure.what() << std::endl;
        return 2;
    }
}
