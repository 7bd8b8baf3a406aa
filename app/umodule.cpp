#include "app/umodule.h"

#include <QDir>
#include <tuple>

#include "app/buildconfig.h"
#include "app/inifile.h"

Tfmodule* fmodule = nullptr;

namespace {

const QString kDriver = QStringLiteral("Driver={MySQL ODBC 5.1 Driver};Server=");

// The working directory with one trailing separator: every file the console
// reads or writes is relative to it.
QString ProgramFolder() {
    QString path = QDir::currentPath();
    if (!path.endsWith('/')) {
        path += '/';
    }
    return path;
}

// A name with a blank or a ";" reaches no server: most likely a comment
// written after the value, which the INI reader keeps as part of it. The
// console runs on with the value as written, but the venue's journal says why
// nothing connects.
void WarnOfSuspectName(const QString& section, const QString& key, const QString& value) {
    if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char(' ')) ||
        value.contains(QLatin1Char('\t'))) {
        qWarning(
            "lyrabox: setting.ini [%s] %s=\"%s\" holds a blank or a \";\": no host or "
            "database has such a name; write a comment on a line of its own",
            qPrintable(section), qPrintable(key), qPrintable(value));
    }
}

}  // namespace

Tfmodule::Tfmodule(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("fmodule"));
    AdoConn.SetConnectionStringSource([this] { return SongsConnectionString(); });
    AdoAuthen.SetConnectionStringSource([this] { return AuthenConnectionString(); });
    ADOTransaksi.SetConnectionStringSource([this] { return TransaksiConnectionString(); });
    DataModuleCreate();
}

void Tfmodule::DataModuleCreate() {
    PullPath = ProgramFolder();
    UserDBLagu = UserTransaksi = QString::fromLatin1(buildconfig::kDatabaseUser);
    PassDBLagu = PassTransaksi = QString::fromLatin1(buildconfig::kDatabasePassword);

    const TIniFile ini(PullPath + QStringLiteral("setting.ini"));
    const QString defaultHost = QString::fromLatin1(buildconfig::kDefaultHost);
    const QString player = QStringLiteral("PlayerKaraoke");
    ServerLaguHost = ini.ReadString(player, QStringLiteral("ServerLaguHost"), defaultHost);
    ServerLaguBackup = ini.ReadString(player, QStringLiteral("ServerLaguBackup"), defaultHost);
    DatabaseLagu = ini.ReadString(player, QStringLiteral("DatabaseLagu"), QString());
    iVolMas = ini.ReadInteger(player, QStringLiteral("VolMaster"), 0);
    iVolAwal = ini.ReadInteger(player, QStringLiteral("VolAwal"), 0);
    monitor = ini.ReadInteger(player, QStringLiteral("MonitorPerintah"), 0);
    intervalpromo = ini.ReadInteger(player, QStringLiteral("IntervalPromo"), 0);
    const QString transaksi = QStringLiteral("Transaksi");
    ServerTransaksi = ini.ReadString(transaksi, QStringLiteral("ServerTransaksi"), defaultHost);
    DatabaseTransaksi = ini.ReadString(transaksi, QStringLiteral("DatabaseTransaksi"), QString());

    for (const auto& [section, key, value] :
         {std::tuple{player, QStringLiteral("ServerLaguHost"), ServerLaguHost},
          std::tuple{player, QStringLiteral("ServerLaguBackup"), ServerLaguBackup},
          std::tuple{player, QStringLiteral("DatabaseLagu"), DatabaseLagu},
          std::tuple{transaksi, QStringLiteral("ServerTransaksi"), ServerTransaksi},
          std::tuple{transaksi, QStringLiteral("DatabaseTransaksi"), DatabaseTransaksi}}) {
        WarnOfSuspectName(section, key, value);
    }
}

QString Tfmodule::SongsConnectionString() const {
    return kDriver + ServerLaguHost + ";Database=" + DatabaseLagu + ";User=" + UserDBLagu +
           ";Password=" + PassDBLagu + ";Option=3;";
}

QString Tfmodule::AuthenConnectionString() const {
    return kDriver + ServerLaguHost + ";Database=authentification" + ";User=" + UserDBLagu +
           ";Password=" + PassDBLagu + ";Option=3;";
}

QString Tfmodule::TransaksiConnectionString() const {
    return kDriver + ServerTransaksi + ";Database=" + DatabaseTransaksi + ";User=" + UserTransaksi +
           ";Password=" + PassTransaksi + ";Option=3;";
}

void Tfmodule::Connect(TAdoConnection& connection, const QString& connectionString) {
    if (connection.Connected()) {
        return;
    }
    try {
        connection.LoginPrompt = false;
        connection.Close();
        connection.SetConnectionString(connectionString);
        connection.Open();
    } catch (const std::exception&) {
        // Deliberately silent: the statement the caller runs next fails on the
        // closed connection and is handled where it is run.
    }
}

void Tfmodule::Connected() {
    Connect(AdoConn, SongsConnectionString());
}

void Tfmodule::ConnectedAuthen() {
    Connect(AdoAuthen, AuthenConnectionString());
}

void Tfmodule::ConnectedTransaksi() {
    Connect(ADOTransaksi, TransaksiConnectionString());
}
