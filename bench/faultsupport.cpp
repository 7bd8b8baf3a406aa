#include "bench/faultsupport.h"

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QSqlError>
#include <chrono>
#include <thread>

#include "app/sqltext.h"
#include "console/skinhost.h"

namespace faultbench {

QString BinaryDir() {
    return QStringLiteral(LYRABOX_BINARY_DIR);
}

QString FolderName(const QString& fault) {
    QString name;
    for (const QChar c : fault) {
        name += c.isLetterOrNumber() ? c : QLatin1Char('-');
    }
    return name;
}

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

THeartbeat::THeartbeat() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Beat(); });
    clock_.start();
    since_.start();
    timer_.start();
}

qint64 THeartbeat::TakeLongest() {
    Beat();
    const qint64 longest = longest_;
    longest_ = 0;
    return longest;
}

void THeartbeat::Beat() {
    const qint64 gap = since_.restart();
    longest_ = std::max(longest_, gap);
    if (gap >= kNoticeableBlockMs) {
        blocks_.push_back({clock_.elapsed() - gap, gap});
    }
}

int MostBlocksInARow(const std::vector<Block>& blocks, qint64 freeBetweenMs) {
    int most = 0;
    int inARow = 0;
    qint64 previousEnd = 0;
    for (const Block& block : blocks) {
        inARow = inARow > 0 && block.startMs - previousEnd < freeBetweenMs ? inARow + 1 : 1;
        previousEnd = block.startMs + block.lengthMs;
        most = std::max(most, inARow);
    }
    return most;
}

void RunEventLoop(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void PrepareProgramFolder(const QString& folder, const QString& serverFolder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + QStringLiteral("/log"));
    if (!QFile::copy(serverFolder + QStringLiteral("/setting.ini"),
                     folder + QStringLiteral("/setting.ini"))) {
        throw std::runtime_error("no setting.ini in " + serverFolder.toStdString());
    }
    // The skin and pictures of the built program folder, when it was laid out.
    const QString tools = BinaryDir() + QStringLiteral("/run/tools");
    if (QDir(tools).exists()) {
        QProcess copy;
        copy.start(QStringLiteral("cp"), {QStringLiteral("-r"), tools, folder});
        copy.waitForFinished(30000);
    }
    QDir::setCurrent(folder);
}

void RunServerScript(const QString& serverFolder, const QString& verb) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LYRABOX_DB_BUFFER_POOL"), QStringLiteral("1G"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{verb, serverFolder};
    if (verb == QLatin1String("start")) {
        arguments << serverFolder + QStringLiteral("/setting.ini") << QStringLiteral("--account")
                  << BinaryDir() + QStringLiteral("/db/account.env");
    }
    process.start(QStringLiteral(LYRABOX_SOURCE_DIR "/scripts/mariadb-server.sh"), arguments);
    if (!process.waitForFinished(300000) || process.exitCode() != 0) {
        throw std::runtime_error("mariadb-server.sh " + verb.toStdString() + " failed: " +
                                 QString::fromLocal8Bit(process.readAll()).toStdString());
    }
}

std::unique_ptr<Tfplayer> StartConsole(Tfmodule& module, testsupport::FakePlatform& platform,
                                       QHash<QString, QString>& skin) {
    auto player = std::make_unique<Tfplayer>(module, platform);
    Tfplayer& c = *player;
    QObject::connect(c.MainSkinNew, &TSkinHost::VariableWritten,
                     [&skin](const QString& path, const QString& value) { skin[path] = value; });
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
    return player;
}

QStringList SeedPlaylistStatements(const QString& songsDatabase, const QString& room, int count) {
    QStringList statements{QStringLiteral("DELETE FROM %1.playlist WHERE namaroom = %2")
                               .arg(songsDatabase, sqltext::QuotedStr(room))};
    for (int i = 1; i <= count; ++i) {
        statements << QStringLiteral(
                          "INSERT INTO %1.playlist (idplaylist, namaroom, ukey, idlagu) "
                          "VALUES (%2, %3, 'BENCH%2', %4)")
                          .arg(songsDatabase)
                          .arg(i)
                          .arg(sqltext::QuotedStr(room))
                          .arg(20 + i);
    }
    return statements;
}

QSqlDatabase OpenAdministrator(const QString& serverFolder) {
    QSqlDatabase admin =
        QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("admin"));
    admin.setUserName(QStringLiteral("root"));
    admin.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + serverFolder +
                            QStringLiteral("/mysqld.sock;MYSQL_OPT_READ_TIMEOUT=30"));
    if (!admin.open()) {
        throw std::runtime_error("administrator's connection: " +
                                 admin.lastError().text().toStdString());
    }
    return admin;
}

QString CheckInCodeStatement(const QString& code, int idroom, int port) {
    return QStringLiteral(
               "INSERT INTO authentification.remote (kode, idroom, port, channel, "
               "ip_address) VALUES (%1, %2, %3, 'CH-A', '127.0.0.1')")
        .arg(sqltext::QuotedStr(code))
        .arg(idroom)
        .arg(port);
}

qint64 ServerPid(const QString& serverFolder) {
    QFile file(serverFolder + QStringLiteral("/mysqld.pid"));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return QString::fromLatin1(file.readAll()).trimmed().toLongLong();
}

namespace {

// The frozen server's process, for the signal handler: a process that a
// signal ends thaws it on the way out.
volatile sig_atomic_t frozenPid = 0;

void ThawAndDie(int signalNumber) {
    if (frozenPid > 0) {
        ::kill(static_cast<pid_t>(frozenPid), SIGCONT);
    }
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void ThawOnSignals() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGABRT, SIGSEGV, SIGBUS, SIGFPE}) {
        ::signal(signalNumber, ThawAndDie);
    }
}

// Whether every thread of the process has stopped: the signal takes effect
// as each thread is next scheduled, which on a loaded machine may be later
// than the guest's next statement.
bool AllThreadsStopped(qint64 pid) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task) + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;  // the thread ended
        }
        // "pid (name) state ...": the name may hold blanks and parentheses.
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        const char state = close >= 0 && close + 2 < text.size() ? text[close + 2] : '?';
        if (state != 'T' && state != 't') {
            return false;
        }
    }
    return true;
}

}  // namespace

TServerFreeze::TServerFreeze(const QString& serverFolder) : pid_(ServerPid(serverFolder)) {
    if (pid_ <= 0) {
        throw std::runtime_error("no server process to freeze in " + serverFolder.toStdString());
    }
    ThawOnSignals();
    frozenPid = static_cast<sig_atomic_t>(pid_);
    if (::kill(static_cast<pid_t>(pid_), SIGSTOP) != 0) {
        frozenPid = 0;
        throw std::runtime_error("SIGSTOP to the server failed");
    }
    QElapsedTimer waited;
    waited.start();
    while (!AllThreadsStopped(pid_)) {
        if (waited.elapsed() > 5000) {
            Thaw();
            throw std::runtime_error("the server did not stop on SIGSTOP");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void TServerFreeze::Thaw() {
    if (pid_ > 0) {
        ::kill(static_cast<pid_t>(pid_), SIGCONT);
        frozenPid = 0;
        pid_ = 0;
    }
}

TServerStop::TServerStop(const QString& serverFolder) : serverFolder_(serverFolder) {
    stopped_ = true;
    RunServerScript(serverFolder_, QStringLiteral("stop"));
}

TServerStop::~TServerStop() {
    try {
        Start();
    } catch (const std::exception&) {
        // The parent starts it again after this process (RecoverServer).
    }
}

void TServerStop::Start() {
    if (stopped_) {
        stopped_ = false;
        RunServerScript(serverFolder_, QStringLiteral("start"));
    }
}

void RecoverServer(const QString& serverFolder) {
    if (const qint64 pid = ServerPid(serverFolder); pid > 0) {
        ::kill(static_cast<pid_t>(pid), SIGCONT);
    }
    RunServerScript(serverFolder, QStringLiteral("start"));
}

}  // namespace faultbench
