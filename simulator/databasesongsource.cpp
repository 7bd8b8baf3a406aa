#include "simulator/databasesongsource.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <cerrno>
#include <initializer_list>
#include <stdexcept>

#include "simulator/playeraccount.h"
#include "simulator/songsdatabase.h"

namespace {

// The program whose log the lines go to: roomplayer-sim or lyrabox-player.
const char* ProgramName() {
    return program_invocation_short_name;
}

// A console waits for the room player's answer while it reads the playlist, so
// a server that does not answer must not hold the reply for long.
constexpr int kConnectTimeoutSeconds = 3;
constexpr int kReadWriteTimeoutSeconds = 5;

// Entries that vanish between the look and the delete (a console removed them)
// or whose song is missing from the catalogue are passed over, this many at most
// per song started.
constexpr int kTakeAttempts = 8;

[[noreturn]] void Throw(const QString& what, const QSqlError& error) {
    throw std::runtime_error((what + QStringLiteral(": ") + error.text()).toStdString());
}

QSqlQuery Run(const QSqlDatabase& db, const QString& statement,
              std::initializer_list<QVariant> values) {
    QSqlQuery query(db);
    if (!query.prepare(statement)) {
        Throw(statement, query.lastError());
    }
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        Throw(statement, query.lastError());
    }
    return query;
}

// The catalogue's columns a TSong is made of, in this order, from row's column first.
constexpr const char* kSongColumns = "l.durasi, l.judul, l.artis";

TSong SongFromRow(int songId, const QSqlQuery& row, int first) {
    return TSong{songId, row.value(first).toInt(), row.value(first + 1).toString().toStdString(),
                 row.value(first + 2).toString().toStdString()};
}

}  // namespace

TDatabaseSongSource::TDatabaseSongSource(QString settingsPath, QString room, std::ostream& log)
    : FSettingsPath(std::move(settingsPath)), FRoom(std::move(room)), FLog(log) {
    static std::atomic<int> serial = 0;
    FConnectionName = QStringLiteral("roomplayer#%1").arg(++serial);
    QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), FConnectionName);
}

TDatabaseSongSource::~TDatabaseSongSource() {
    QSqlDatabase::database(FConnectionName, false).close();
    QSqlDatabase::removeDatabase(FConnectionName);
}

QSqlDatabase TDatabaseSongSource::Connection() {
    QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
    if (db.isOpen()) {
        // A session kept from an earlier need may have ended on the server's
        // side (a restart, an idle timeout): check it before relying on it.
        if (QSqlQuery(db).exec(QStringLiteral("SELECT 1"))) {
            return db;
        }
        db.close();
    }
    const TSongsDatabase where = ReadSongsDatabase(FSettingsPath);
    db.setHostName(where.host);
    db.setPort(where.port);
    db.setDatabaseName(where.database);
    db.setUserName(QString::fromLatin1(playeraccount::kUser));
    db.setPassword(QString::fromLatin1(playeraccount::kPassword));
    db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                                        "MYSQL_OPT_WRITE_TIMEOUT=%2")
                             .arg(kConnectTimeoutSeconds)
                             .arg(kReadWriteTimeoutSeconds));
    if (!db.open()) {
        Throw(QStringLiteral("connecting to %1").arg(where.Describe()), db.lastError());
    }
    return db;
}

void TDatabaseSongSource::Failed(const char* what, const std::exception& failure) {
    FLog << ProgramName() << ": " << what << ": " << failure.what() << std::endl;
    // A session that failed may be gone on the server's side: the next need
    // connects afresh.
    QSqlDatabase::database(FConnectionName, false).close();
}

std::optional<TSong> TDatabaseSongSource::TakeNext() {
    try {
        return TakeFirstEntry();
    } catch (const std::exception& failure) {
        Failed("the room playlist reads as empty", failure);
        return std::nullopt;
    }
}

std::optional<TSong> TDatabaseSongSource::TakeFirstEntry() {
    const QSqlDatabase db = Connection();
    for (int attempt = 0; attempt < kTakeAttempts; ++attempt) {
        QSqlQuery first = Run(db,
                              QStringLiteral("SELECT p.id, p.idlagu, %1 FROM playlist p "
                                             "LEFT JOIN lagu l ON l.idlagu = p.idlagu "
                                             "WHERE p.namaroom = ? "
                                             "ORDER BY p.idplaylist, p.id LIMIT 1")
                                  .arg(QLatin1String(kSongColumns)),
                              {FRoom});
        if (!first.next()) {
            return std::nullopt;
        }
        const qint64 entry = first.value(0).toLongLong();
        const int songId = first.value(1).toInt();
        const QSqlQuery removed =
            Run(db, QStringLiteral("DELETE FROM playlist WHERE id = ?"), {entry});
        if (removed.numRowsAffected() < 1) {
            continue;  // a console removed it first; the next entry is the one to play
        }
        if (first.value(2).isNull()) {
            FLog << ProgramName() << ": song " << songId
                 << " of the playlist is not in the catalogue; passed over" << std::endl;
            continue;
        }
        return SongFromRow(songId, first, 2);
    }
    FLog << ProgramName() << ": no playable entry among the first " << kTakeAttempts
         << " of the playlist; playback stops" << std::endl;
    return std::nullopt;
}

std::optional<TSong> TDatabaseSongSource::PeekNext() {
    try {
        // Entries whose song the catalogue lacks are passed over when taken, so
        // the one shown as next is the first the catalogue has.
        QSqlQuery first = Run(Connection(),
                              QStringLiteral("SELECT p.idlagu, %1 FROM playlist p "
                                             "JOIN lagu l ON l.idlagu = p.idlagu "
                                             "WHERE p.namaroom = ? "
                                             "ORDER BY p.idplaylist, p.id LIMIT 1")
                                  .arg(QLatin1String(kSongColumns)),
                              {FRoom});
        if (first.next()) {
            return SongFromRow(first.value(0).toInt(), first, 1);
        }
    } catch (const std::exception& failure) {
        Failed("the next song of the playlist cannot be read", failure);
    }
    return std::nullopt;
}

TSong TDatabaseSongSource::Describe(int songId) {
    const char* why = "is not in the catalogue";
    try {
        QSqlQuery song = Run(Connection(),
                             QStringLiteral("SELECT %1 FROM lagu l WHERE l.idlagu = ?")
                                 .arg(QLatin1String(kSongColumns)),
                             {songId});
        if (song.next()) {
            return SongFromRow(songId, song, 0);
        }
    } catch (const std::exception& failure) {
        Failed("the catalogue cannot give a song's length", failure);
        why = "has no length from the catalogue";
    }
    TSong guess = FGuessedLengths.Describe(songId);
    FLog << ProgramName() << ": song " << songId << " " << why << "; it plays for "
         << guess.lengthSeconds << " s" << std::endl;
    return guess;
}

std::unique_ptr<ISongSource> OpenRoomPlaylist(const std::string& room,
                                              const std::string& settingsPath,
                                              std::ostream& announce, std::ostream& log) {
    const QString settings = QString::fromStdString(settingsPath);
    announce << "playlist of " << room << " from "
             << ReadSongsDatabase(settings).Describe().toStdString() << std::endl;
    return std::make_unique<TDatabaseSongSource>(settings, QString::fromStdString(room), log);
}
