#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/umodule.h"
#include "console/uplayer.h"
#include "support/fakeplatform.h"
#include "support/roomplayer_script.h"
#include "support/test_paths.h"

namespace testsupport {

// A console window as the preparation sequence leaves it, talking to a scripted
// room player on loopback: its own program folder (settings pointing at the
// test suite's database, the built skin and pictures), a fake platform, and
// the real Tfplayer with SYS_IP/Sys_Port at the room player and the link
// usable. The window is enabled, the loading and standby panels are hidden and
// no timer runs, so that a test drives everything by calling handlers.
class ConsoleFixture : public ::testing::Test {
protected:
    // The room name the console serves (Sys_Room).
    static QString roomName() { return QStringLiteral("CONSOLE TEST"); }

    void SetUp() override;
    void TearDown() override;

    Tfplayer& console() { return *player_; }
    // Runs a skin command through the dispatcher.
    void skinCommand(const QString& command);
    // MemLog's lines, "MemLog" first.
    QStringList logLines() const;
    // The log lines written since the console was set up, each without its
    // "*hh:mm:ss =>" head: label followed by message.
    QStringList logEntries() const;
    // The command texts the room player received, in order.
    QStringList sent() const { return room.received(); }
    // Every skin variable written, in order, as (path, value).
    const QList<QPair<QString, QString>>& skinWrites() const { return skinWrites_; }
    // The last value written to path.
    std::optional<QString> skinVariable(const QString& path) const;
    // Forgets what was sent and written so far.
    void clearRecords();
    // Destroys the console window now, as the program's end does (it says
    // "GI#" and saves its log); console() is gone afterwards.
    void closeConsole();

    ProgramFolder folder;
    FakePlatform platform;
    ScriptedRoomPlayer room;
    std::unique_ptr<Tfmodule> module;

private:
    std::unique_ptr<Tfplayer> player_;
    QList<QPair<QString, QString>> skinWrites_;
    int setUpLogLines_ = 0;
};

}  // namespace testsupport
