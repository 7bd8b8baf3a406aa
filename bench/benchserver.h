#pragma once

#include <QString>
#include <QStringList>

// A private MariaDB for one benchmark run, started with scripts/mariadb-server.sh
// in a folder of the build on the first free port of 33330-33339 and stopped
// when the object goes. Its folder holds the setting.ini that points the
// console's settings holder at it, so that a program working there connects
// as the console does.
class TBenchServer {
public:
    TBenchServer(const QString& folder, const QString& accountFile);
    ~TBenchServer();
    TBenchServer(const TBenchServer&) = delete;
    TBenchServer& operator=(const TBenchServer&) = delete;

    // Starts the server, with empty databases when `fresh`; throws
    // std::runtime_error.
    void Start(bool fresh);
    // Starts the server and makes its catalogue hold `songs` songs: the last
    // run's when `keepCatalogue` and it has that many, else newly generated.
    // Says what it does on standard output; returns the catalogue's report line.
    QString StartWithCatalogue(int songs, bool keepCatalogue);
    // Replaces the catalogue with `songs` generated songs (scripts/catalogue.sh)
    // and returns the script's report line.
    QString LoadCatalogue(int songs);
    // The number of songs in the catalogue now.
    int Songs() const;

    QString Folder() const { return folder_; }
    QString SocketPath() const { return folder_ + QStringLiteral("/mysqld.sock"); }
    int Port() const { return port_; }
    static QString SongsDatabase() { return QStringLiteral("bench_lagu"); }

private:
    QString Run(const QString& script, const QStringList& arguments, int timeoutSeconds) const;

    QString folder_;
    QString accountFile_;
    int port_ = 0;
    bool started_ = false;
};
