#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "support/admin_db.h"
#include "support/console_fixture.h"

namespace songstest {

// The console serving a room of its own (its name has a quote, so every
// statement's quoting is exercised), with songs of its own in the catalogue.
// The server records the statements the console's account sends, so a test
// reads them exactly as they arrived.
class SongsFixture : public testsupport::ConsoleFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a song to the catalogue and returns its id; removed after the test.
    int addSong(const QString& title, const QString& artist, int group = 2);

    // Puts entries into the room's playlist, each as (entry key, position),
    // each with a song of its own titled "SONG " + key, and shows the playlist
    // with its first row selected. Returns the songs' ids in order.
    QList<int> seedPlaylist(const QList<std::pair<QString, int>>& entries);
    // The room's entries in the database as "key=position", ordered by key.
    QStringList positions();
    // The playlist as shown: each row's entry key, in order.
    QStringList shownKeys();

    // The statements the console sent to the server since the test began, in
    // order, each starting with prefix (all of them for an empty prefix).
    QStringList statements(const QString& prefix = QString());
    // Statements as the server's log records them: the server drops a final ";".
    static QStringList recorded(QStringList sentTexts);

    // Ticks of the search debounce.
    void tick(int times = 1);
    // Points the songs connection at a port where no server listens.
    void loseSongsServer();

    // text as an SQL literal, written here without the console's own quoting.
    static QString literal(const QString& text);
    QString quotedRoom() const { return literal(room); }

    testsupport::AdminDb songs{testsupport::AdminDb::songsDatabase()};
    QString room;

private:
    QList<int> addedSongs_;
};

}  // namespace songstest
