#include "bench/benchserver.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <iostream>
#include <stdexcept>

namespace {

constexpr int kFirstPort = 33330;
constexpr int kLastPort = 33339;

// Whether nothing listens on 127.0.0.1:port and it may be bound.
bool PortIsFree(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool free = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return free;
}

QString ScriptPath(const QString& name) {
    return QStringLiteral(LYRABOX_SOURCE_DIR "/scripts/") + name;
}

}  // namespace

TBenchServer::TBenchServer(const QString& folder, const QString& accountFile)
    : folder_(folder), accountFile_(accountFile) {}

TBenchServer::~TBenchServer() {
    if (started_) {
        try {
            Run(QStringLiteral("mariadb-server.sh"), {QStringLiteral("stop"), folder_}, 120);
        } catch (const std::exception&) {
            // The run is over; a server left behind is stopped by the next start's
            // owner or by hand, and the benchmark's figures stand.
        }
    }
}

void TBenchServer::Start(bool fresh) {
    for (int port = kFirstPort; port <= kLastPort && port_ == 0; ++port) {
        if (PortIsFree(port)) {
            port_ = port;
        }
    }
    if (port_ == 0) {
        throw std::runtime_error("no free port in 33330-33339 for the benchmark's server");
    }
    QDir().mkpath(folder_);
    QFile ini(folder_ + QStringLiteral("/setting.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot write " + ini.fileName().toStdString());
    }
    const QByteArray host = "127.0.0.1:" + QByteArray::number(port_);
    ini.write("; The benchmark's own server on loopback.\n[PlayerKaraoke]\nServerLaguHost=" + host +
              "\nServerLaguBackup=" + host + "\nDatabaseLagu=" + SongsDatabase().toLatin1() +
              "\n\n[Transaksi]\nServerTransaksi=" + host + "\nDatabaseTransaksi=bench_transaksi\n");
    ini.close();
    started_ = true;
    QStringList arguments{QStringLiteral("start"), folder_, ini.fileName(),
                          QStringLiteral("--account"), accountFile_};
    if (fresh) {
        arguments << QStringLiteral("--fresh");
    }
    Run(QStringLiteral("mariadb-server.sh"), arguments, 300);
}

QString TBenchServer::StartWithCatalogue(int songs, bool keepCatalogue) {
    std::cout << "starting the benchmark's MariaDB in " << folder_.toStdString() << std::endl;
    Start(!keepCatalogue);
    QString report;
    if (keepCatalogue && Songs() == songs) {
        report = QStringLiteral("%1 songs kept from the last run").arg(songs);
    } else {
        std::cout << "loading " << songs << " songs" << std::endl;
        report = LoadCatalogue(songs);
    }
    std::cout << report.toStdString() << std::endl;
    return report;
}

QString TBenchServer::LoadCatalogue(int songs) {
    return Run(QStringLiteral("catalogue.sh"), {folder_, SongsDatabase(), QString::number(songs)},
               1800)
        .trimmed();
}

int TBenchServer::Songs() const {
    const QString count =
        Run(QStringLiteral("mariadb-server.sh"),
            {QStringLiteral("client"), folder_, SongsDatabase(), QStringLiteral("-N"),
             QStringLiteral("-e"), QStringLiteral("SELECT COUNT(*) FROM lagu")},
            120);
    return count.trimmed().toInt();
}

QString TBenchServer::Run(const QString& script, const QStringList& arguments,
                          int timeoutSeconds) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // 500,000 songs with their indexes and word tables take about 500 MB.
    environment.insert(QStringLiteral("LYRABOX_DB_BUFFER_POOL"), QStringLiteral("1G"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(ScriptPath(script), arguments);
    if (!process.waitForFinished(timeoutSeconds * 1000) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        throw std::runtime_error((script + ' ' + arguments.join(' ') + " failed").toStdString());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
