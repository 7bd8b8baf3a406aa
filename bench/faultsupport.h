#pragma once

// What the fault runs of bench_faults share: the room-player simulator as a
// process, the console's event loop watched from inside, the program folder
// and the shared server's script, and the guards that give the server back.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/umodule.h"
#include "console/uplayer.h"
#include "support/fakeplatform.h"

namespace faultbench {

// The build folder, where the programs and the faults' folders are.
QString BinaryDir();
// A fault's folder name: its name without blanks and signs.
QString FolderName(const QString& fault);

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

std::vector<Exchange> ParseLines(const QStringList& lines);
// The reply of command as the room player sent it, when it went out whole.
QString ReplyOf(const std::vector<Exchange>& exchanges, const QString& command);

// A gap this long is a block a guest notices: taps wait, the screen stands still.
constexpr qint64 kNoticeableBlockMs = 1000;

// One block of the console's event loop: when it began (milliseconds since
// the heartbeat started) and how long it lasted.
struct Block {
    qint64 startMs = 0;
    qint64 lengthMs = 0;
};

// The console's event loop seen from inside: a timer of its own thread that
// should fire every 20 ms. The longest gap between two of its ticks is the
// longest time the console could not answer a touch, draw its screen or run its
// own timers.
class THeartbeat : public QObject {
public:
    THeartbeat();
    // The longest gap since the last call, in milliseconds.
    qint64 TakeLongest();
    // The time since the last tick went to the benchmark's own work (its
    // administrator's queries, the server's script), not to the console: it
    // counts for nothing.
    void Skip() { since_.restart(); }
    // Counts the time up to now: the end of a stretch of the console's work.
    void Flush() { Beat(); }
    // The gaps of kNoticeableBlockMs or more since ClearBlocks, in order.
    const std::vector<Block>& Blocks() const { return blocks_; }
    void ClearBlocks() { blocks_.clear(); }

private:
    void Beat();

    QTimer timer_;
    QElapsedTimer clock_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
    std::vector<Block> blocks_;
};

// The most blocks in a row: blocks that each began less than freeBetweenMs
// after the one before ended, so that a guest who tries again at once meets
// the next one.
int MostBlocksInARow(const std::vector<Block>& blocks, qint64 freeBetweenMs);

// Lets the console's own event loop and timers run for milliseconds.
void RunEventLoop(int milliseconds);

// Makes folder the program folder of one fault: empty, with the server's
// setting.ini, the built skin and pictures and a log folder; and the
// working directory.
void PrepareProgramFolder(const QString& folder, const QString& serverFolder);

// scripts/mariadb-server.sh VERB on the shared server ("start" with its
// settings and account); throws when it fails.
void RunServerScript(const QString& serverFolder, const QString& verb);

// A console window made and started as a tablet starts it: the preparation
// sequence's first four ticks with the standby screen over it, and the
// emptied search field's search listing the catalogue. The skin's variables
// are written into skin. Throws when the start-up search listed nothing.
std::unique_ptr<Tfplayer> StartConsole(Tfmodule& module, testsupport::FakePlatform& platform,
                                       QHash<QString, QString>& skin);

// The statements that make a room's playlist hold count entries of its own:
// positions 1 to count, keys "BENCH1"..., songs 21....
QStringList SeedPlaylistStatements(const QString& songsDatabase, const QString& room, int count);

// The administrator's connection to the shared server on its socket, with a
// read limit so that a frozen server cannot hold the benchmark for ever.
QSqlDatabase OpenAdministrator(const QString& serverFolder);

// The statement that gives a room's check-in code the room player on
// 127.0.0.1:port.
QString CheckInCodeStatement(const QString& code, int idroom, int port);

// The shared server's process id, from its pid file; 0 when there is none.
qint64 ServerPid(const QString& serverFolder);

// The shared server frozen with SIGSTOP: it takes connections and never
// answers. It gets SIGCONT on Thaw, when the guard goes (also when the run
// throws) and when a signal ends this process; a process killed outright is
// covered by the parent's RecoverServer.
class TServerFreeze {
public:
    explicit TServerFreeze(const QString& serverFolder);
    ~TServerFreeze() { Thaw(); }
    TServerFreeze(const TServerFreeze&) = delete;
    TServerFreeze& operator=(const TServerFreeze&) = delete;
    void Thaw();

private:
    qint64 pid_ = 0;
};

// The shared server stopped; started again on Start or when the guard goes.
class TServerStop {
public:
    explicit TServerStop(const QString& serverFolder);
    ~TServerStop();
    TServerStop(const TServerStop&) = delete;
    TServerStop& operator=(const TServerStop&) = delete;
    void Start();

private:
    QString serverFolder_;
    bool stopped_ = false;
};

// After a database fault's process ended, however it ended: the server
// thawed and running again.
void RecoverServer(const QString& serverFolder);

}  // namespace faultbench
