#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "guestsession.h"
#include "processes.h"
#include "support/admin_db.h"

namespace e2e {

// One karaoke room for a test: the demo rooms on the end-to-end tests' own
// MariaDB, ROOM 01's booking running with an empty playlist, roomplayer-sim
// playing that room's playlist, and the lyrabox program started from a
// program folder of its own, on its standby screen, with a guest at it.
class RoomTest : public ::testing::Test {
protected:
    static QString roomName() { return QStringLiteral("ROOM 01"); }
    static QString checkInCode() { return QStringLiteral("1111"); }

    void SetUp() override;
    void TearDown() override;

    // Polls, keeping both processes' output flowing, until the condition holds.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);
    // Lets both processes run for a while, as a guest waits to see what happens.
    void settle(int milliseconds);
    // The console is on its standby screen and takes input.
    bool onStandby();
    // Checked in: no standby screen, no loading panel.
    bool inRoom();

    // Types the code on the standby keypad and taps START.
    void typeCodeAndStart(const QString& code);
    // Checks in with ROOM 01's code and waits until the room is usable.
    void checkIn();
    // Types a search on the skin's keyboard, one key per tap.
    void typeSearch(const QString& text);
    // The song-list row showing the title; -1 when none.
    int songRow(const QString& title);

    // The songs' ids of ROOM 01's playlist in play order.
    QStringList playlistSongs();
    QString songId(const QString& title);
    // The commands the room player received since the last forget().
    QStringList sent() { return room.received(); }

    void stopDatabase();
    void startDatabase();
    void restartDatabase();
    // The server stops answering (SIGSTOP): connections are still accepted
    // and statements sent, but nothing comes back, as from a hung host.
    // TearDown lets it go on again.
    void freezeDatabase();
    void thawDatabase();
    // The log files the console wrote into its program folder's "log/".
    QStringList logFiles() const;

    QTemporaryDir folder;
    guestdriver::GuestSession guest;
    guestdriver::RoomPlayerProcess room;
    guestdriver::ConsoleProcess console;
    std::unique_ptr<testsupport::AdminDb> songs;
    std::unique_ptr<testsupport::AdminDb> transaksi;

private:
    qint64 frozenServer_ = 0;
    void ConnectAdmin();
    void PrepareDatabases();
    void PrepareProgramFolder();
    void StartConsole();
};

}  // namespace e2e
