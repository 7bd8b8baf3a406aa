#include "songs_fixture.h"

#include <QCryptographicHash>

namespace songstest {

void SongsFixture::SetUp() {
    ConsoleFixture::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QByteArray fullName = QByteArray(test->test_suite_name()) + '.' + test->name();
    room = QStringLiteral("SONG'S ") +
           QString::fromLatin1(
               QCryptographicHash::hash(fullName, QCryptographicHash::Sha1).toHex().left(16));
    console().Sys_Room->setText(room);
    songs.exec(
        QStringLiteral("SET GLOBAL log_output = 'TABLE';\n"
                       "SET GLOBAL general_log = 1;\n"
                       "TRUNCATE TABLE mysql.general_log"));
}

void SongsFixture::TearDown() {
    ConsoleFixture::TearDown();
    songs.exec(QStringLiteral("SET GLOBAL general_log = 0;\n"
                              "DELETE FROM playlist WHERE namaroom = %1;\n"
                              "DELETE FROM requestlagu WHERE namaroom = %1")
                   .arg(quotedRoom()));
    for (int id : addedSongs_) {
        songs.exec(QStringLiteral("DELETE FROM lagu WHERE idlagu = %1").arg(id));
    }
}

QString SongsFixture::literal(const QString& text) {
    return "'" + QString(text).replace("'", "''") + "'";
}

int SongsFixture::addSong(const QString& title, const QString& artist, int group) {
    songs.exec(QStringLiteral("INSERT INTO lagu (judul, artis, idgolongan, tanggalmasuk) "
                              "VALUES (%1, %2, %3, '2026-01-01')")
                   .arg(literal(title), literal(artist))
                   .arg(group));
    const int id = songs.scalar(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    addedSongs_ << id;
    return id;
}

QList<int> SongsFixture::seedPlaylist(const QList<std::pair<QString, int>>& entries) {
    QList<int> ids;
    for (const auto& [key, position] : entries) {
        const int song = addSong(QStringLiteral("SONG ") + key, QStringLiteral("ARTIST ") + key);
        songs.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) "
                                  "VALUES (%1, %2, '%3', %4)")
                       .arg(position)
                       .arg(quotedRoom(), key)
                       .arg(song));
        ids << song;
    }
    console().PlaylistView(0);
    return ids;
}

QStringList SongsFixture::positions() {
    QStringList result;
    for (const QStringList& row :
         songs.rows(QStringLiteral("SELECT ukey, idplaylist FROM playlist WHERE namaroom = %1 "
                                   "ORDER BY ukey")
                        .arg(quotedRoom()))) {
        result << row[0] + "=" + row[1];
    }
    return result;
}

QStringList SongsFixture::shownKeys() {
    QStringList keys;
    for (int i = 0; i < console().lvPlaylistnNew->count(); ++i) {
        keys << console().lvPlaylistnNew->item(i).caption;
    }
    return keys;
}

QStringList SongsFixture::statements(const QString& prefix) {
    QStringList result;
    // The administrator's own statements come from root; the console has its own account.
    for (const QStringList& row : songs.rows(
             QStringLiteral("SELECT argument FROM mysql.general_log "
                            "WHERE command_type = 'Query' AND user_host NOT LIKE 'root%'"))) {
        if (row[0].startsWith(prefix)) {
            result << row[0];
        }
    }
    return result;
}

QStringList SongsFixture::recorded(QStringList sentTexts) {
    for (QString& text : sentTexts) {
        if (text.endsWith(';')) {
            text.chop(1);
        }
    }
    return sentTexts;
}

void SongsFixture::tick(int times) {
    for (int i = 0; i < times; ++i) {
        console().tmrsearchingTimer();
    }
}

void SongsFixture::loseSongsServer() {
    console().module().AdoConn.Close();
    module->ServerLaguHost = QStringLiteral("127.0.0.1:1");
}

}  // namespace songstest
