#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "simulator/songqueue.h"
#include "simulator/songsource.h"

// The room playlist of one room in the songs database, as the room player
// reads it: the entry with the lowest play position (ties in the order added)
// plays next and is removed from the playlist when it starts; a song's length
// is its `durasi` in the catalogue, its title and artist `judul` and `artis`.
//
// The database is reached with the room player's own account, at the place the
// settings file names, read again at every connect so that a corrected file
// takes effect without a restart. A failure is written to log and the source
// carries on: the playlist reads as empty, and the next need connects again.
// One thread only: the connection belongs to the thread that made the source.
class TDatabaseSongSource final : public ISongSource {
public:
    TDatabaseSongSource(QString settingsPath, QString room, std::ostream& log);
    ~TDatabaseSongSource() override;
    TDatabaseSongSource(const TDatabaseSongSource&) = delete;
    TDatabaseSongSource& operator=(const TDatabaseSongSource&) = delete;

    std::optional<TSong> TakeNext() override;
    // The first entry whose song the catalogue has, in one statement; the
    // playlist reads as empty when the database cannot answer.
    std::optional<TSong> PeekNext() override;
    // A song the catalogue cannot describe (unknown id, database unreachable)
    // still plays, with the length the in-memory queue would give it; the log
    // says so.
    TSong Describe(int songId) override;

private:
    QSqlDatabase Connection();
    std::optional<TSong> TakeFirstEntry();
    void Failed(const char* what, const std::exception& failure);

    QString FSettingsPath;
    QString FRoom;
    std::ostream& FLog;
    QString FConnectionName;
    TSongQueue FGuessedLengths;
};

// The playlist of room in the songs database that the settings file names, for
// a room player's command line: writes "playlist of ROOM from DATABASE on
// HOST:PORT" to announce and the source's failures to log. Throws
// std::runtime_error when the file names no database; a database that does not
// answer yet is no reason to stop: the room keeps answering.
std::unique_ptr<ISongSource> OpenRoomPlaylist(const std::string& room,
                                              const std::string& settingsPath,
                                              std::ostream& announce, std::ostream& log);
