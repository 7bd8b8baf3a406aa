#pragma once

#include <QString>

#include "support/admin_db.h"

// Songs and room-playlist rows that the player tests read through the console's
// own account. The songs get ids far above the demo catalogue's and leave with
// the object, together with the test room's playlist, so other tests see the
// catalogue as they expect it.
class PlayerRows {
public:
    struct Song {
        int id;
        const char* judul;
        const char* artis;
    };
    static constexpr Song kNowPlaying{812, "LAGU MALAM", "SENJA BAND"};
    static constexpr Song kNext{813, "HUJAN TERAKHIR", "DUA MUSIM"};
    // Title and artist longer than the playlist's fifteen characters.
    static constexpr Song kLong{814, "SEPANJANG JALAN KENANGAN", "ORKES MELAYU NUSANTARA"};

    explicit PlayerRows(const QString& room) : room_(room) {
        for (const Song& song : {kNowPlaying, kNext, kLong}) {
            songs_.exec(QStringLiteral("INSERT INTO lagu (idlagu, judul, artis, idgolongan, "
                                       "tanggalmasuk) VALUES (%1, '%2', '%3', 1, '2024-01-01') "
                                       "ON DUPLICATE KEY UPDATE judul = VALUES(judul), "
                                       "artis = VALUES(artis)")
                            .arg(song.id)
                            .arg(QString::fromLatin1(song.judul), QString::fromLatin1(song.artis)));
        }
        clearPlaylist();
    }
    ~PlayerRows() {
        clearPlaylist();
        songs_.exec(QStringLiteral("DELETE FROM lagu WHERE idlagu IN (%1, %2, %3)")
                        .arg(kNowPlaying.id)
                        .arg(kNext.id)
                        .arg(kLong.id));
    }
    PlayerRows(const PlayerRows&) = delete;
    PlayerRows& operator=(const PlayerRows&) = delete;

    // Appends song to the room's playlist at position.
    void addEntry(int position, const Song& song, const QString& ukey) {
        songs_.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                                   "VALUES (%1, '%2', '%3', %4)")
                        .arg(position)
                        .arg(room_, ukey)
                        .arg(song.id));
    }
    void clearPlaylist() {
        songs_.exec(QStringLiteral("DELETE FROM playlist WHERE namaroom = '%1'").arg(room_));
    }

private:
    QString room_;
    testsupport::AdminDb songs_{testsupport::AdminDb::songsDatabase()};
};
