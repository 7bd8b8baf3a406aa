#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <memory>

#include "app/umodule.h"
#include "console/skinhost.h"
#include "console/uplayer.h"
#include "support/fakeplatform.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::FakePlatform;
using testsupport::ProgramFolder;

QStringList LogLines(const Tfplayer& player) {
    return player.MemLog->toPlainText().split('\n');
}

const QRegularExpression kLogLine(R"(^\*\d\d:\d\d:\d\d =>)");

class ConsoleCreationTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    FakePlatform platform;

    std::unique_ptr<Tfmodule> moduleWithMonitor(const char* monitor) {
        folder.writeFile("setting.ini",
                         QByteArray("[PlayerKaraoke]\nMonitorPerintah=") + monitor + "\n");
        return std::make_unique<Tfmodule>();
    }
};

TEST_F(ConsoleCreationTest, StartsDisabledUnderTheLoadingPanelWithTheSkinLoaded) {
    folder.copyTools();
    auto module = moduleWithMonitor("0");
    Tfplayer player(*module, platform);

    EXPECT_EQ(player.windowTitle(), "player");
    EXPECT_TRUE(player.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(player.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(player.isEnabled());
    EXPECT_EQ(player.size(), QSize(1280, 768));
    EXPECT_TRUE(player.MainSkinNew->SkinLoaded());
    EXPECT_EQ(player.MainSkinNew->Movie(), module->PullPath + "tools/gambar/main.qml");
    EXPECT_TRUE(player.Image1->isRunning());
    EXPECT_GT(player.Image1->frameCount(), 1) << "the loading picture is animated";
    EXPECT_NE(player.IMCClient, nullptr);

    EXPECT_FALSE(player.AdvPanel1->isHidden());
    EXPECT_FALSE(player.pnlStanby->isHidden());
    for (QWidget* hidden :
         {player.PanelOrder, player.PanelViewOrder, player.PnlVerify, player.Panel_Request}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
    for (QWidget* full : {player.pnlStanby, player.PanelOrder, player.Panel_Request}) {
        EXPECT_EQ(full->geometry(), QRect(0, 0, 1280, 768)) << full->objectName().toStdString();
    }
    EXPECT_EQ(player.AdvPanel1->geometry(), QRect(485, 260, 344, 223));

    const struct {
        QTimer* timer;
        int interval;
        bool running;
    } timers[] = {{player.TimerPreparation, 1000, true},
                  {player.TmrHandle, 1000, false},
                  {player.Tmrbattery, 1000, false},
                  {player.Timer1, 1000, false},
                  {player.tmrsearching, 50, false}};
    for (const auto& t : timers) {
        EXPECT_EQ(t.timer->interval(), t.interval) << t.timer->objectName().toStdString();
        EXPECT_EQ(t.timer->isActive(), t.running) << t.timer->objectName().toStdString();
    }
    EXPECT_EQ(player.kondisi, "0");
    EXPECT_EQ(player.CekAkses, 0);
    EXPECT_EQ(player.pilihplay, 0);

    const QStringList lines = LogLines(player);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "MemLog");
    EXPECT_TRUE(kLogLine.match(lines[1]).hasMatch()) << lines[1];
    EXPECT_TRUE(lines[1].endsWith(" =>Form Create"));
    EXPECT_TRUE(player.MemLog->isHidden());
}

TEST_F(ConsoleCreationTest, TheDiagnosticStripFollowsTheMonitorSetting) {
    folder.copyTools();
    const struct {
        const char* monitor;
        int height;
    } cases[] = {{"1", 1068}, {"0x1", 1068}, {"0", 768}, {"2", 768}, {"on", 768}};
    for (const auto& c : cases) {
        auto module = moduleWithMonitor(c.monitor);
        Tfplayer player(*module, platform);
        EXPECT_EQ(player.height(), c.height) << c.monitor;
    }
}

TEST_F(ConsoleCreationTest, WithoutTheLoadingPictureCreationStopsAtItsFirstStep) {
    auto module = moduleWithMonitor("0");
    Tfplayer player(*module, platform);
    const QStringList lines = LogLines(player);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].endsWith(" =>Form Create"));
    EXPECT_TRUE(lines[2].contains(" =>Form Create Cannot open")) << lines[2];
    EXPECT_TRUE(lines[2].contains("tools/gambar/loading.gif")) << lines[2];
    EXPECT_TRUE(player.isEnabled());
    EXPECT_EQ(player.height(), 1068) << "the design height stays";
    EXPECT_TRUE(player.MainSkinNew->Movie().isEmpty());
    EXPECT_EQ(player.IMCClient, nullptr) << "no message client: every send fails and is logged";
}

TEST(ConsoleLogTest, TheSavedLogTakesTheNextFreeNumber) {
    ProgramFolder folder;
    const struct {
        QStringList existing;
        QString expected;
    } cases[] = {
        {{}, "Log 1.txt"},
        {{"Log 1.txt", "Log 2.txt"}, "Log 3.txt"},
        {{"Log 1.txt", "Log 3.txt"}, "Log 4.txt"},  // two files, but "Log 3.txt" is taken
        {{"notes.txt"}, "Log 2.txt"},
        {{"Log 2.txt", "Log 3.txt"}, "Log 4.txt"},
    };
    int round = 0;
    for (const auto& c : cases) {
        const QString dir = QStringLiteral("logs%1").arg(++round);
        QDir().mkpath(folder.path() + "/" + dir);
        for (const QString& name : c.existing) {
            folder.writeFile(dir + "/" + name, "old");
        }
        EXPECT_EQ(QFileInfo(Tfplayer::NextLogFileName(folder.path() + "/" + dir)).fileName(),
                  c.expected);
    }
    EXPECT_EQ(QFileInfo(Tfplayer::NextLogFileName(folder.path() + "/missing")).fileName(),
              "Log 1.txt");
}

// A kiosk that restarts the console must not wait for a tap: destruction
// asks nothing on screen.
TEST(ConsoleLogTest, DestructionSavesTheLogWithoutOverwritingOrAsking) {
    ProgramFolder folder;
    folder.copyTools();
    folder.writeFile("log/Log 1.txt", "first");
    folder.writeFile("log/Log 3.txt", "third");
    FakePlatform platform;
    {
        Tfmodule module;
        Tfplayer player(module, platform);
        player.WriteLog("Kirim ", "Connection refused");
    }
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();

    QFile saved(folder.path() + "/log/Log 4.txt");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "MemLog");
    EXPECT_TRUE(lines[1].endsWith(" =>Form Create"));
    EXPECT_TRUE(lines[2].endsWith(" =>Kirim Connection refused"));
    EXPECT_TRUE(lines[3].endsWith(" =>Form Fplayer Destroy"));
    QFile third(folder.path() + "/log/Log 3.txt");
    ASSERT_TRUE(third.open(QIODevice::ReadOnly));
    EXPECT_EQ(third.readAll(), "third");
}

}  // namespace
