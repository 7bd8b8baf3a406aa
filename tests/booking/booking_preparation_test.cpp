// The preparation sequence: the start-up step, the booking start's completion
// and the reconnection wait loop with its probe and decision.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTest>

#include "app/uloading.h"
#include "app/umodule.h"
#include "booking_fixture.h"
#include "console/skinhost.h"
#include "support/qt_printers.h"

namespace {

using testsupport::AdminDb;
using testsupport::BookingFixture;
using testsupport::FakePlatform;
using testsupport::ProgramFolder;

QStringList Notes(const SmoothListBox* list) {
    QStringList notes;
    for (int i = 0; i < list->count(); ++i) {
        notes << list->item(i).notes + QLatin1Char('=') + QString::number(list->item(i).tag);
    }
    return notes;
}

QStringList Expected(const QList<QStringList>& rows) {
    QStringList notes;
    for (const QStringList& row : rows) {
        notes << QStringLiteral("<html>") + row[0] + QStringLiteral("</html>=") + row[1];
    }
    return notes;
}

// A console as the program makes it, with its start-up window, before its
// first tick.
class StartUpTest : public ::testing::Test {
protected:
    void make() {
        folder.copyTools();
        module = std::make_unique<Tfmodule>();
        loading = std::make_unique<Tfloading>(*module, platform, [] { return nullptr; });
        loading->tmrloading->stop();
        console = std::make_unique<Tfplayer>(*module, platform, loading.get());
        console->Now = [this] { return now; };
        QObject::connect(
            console->MainSkinNew, &TSkinHost::VariableWritten,
            [this](const QString& path, const QString& value) { skinWrites.insert(path, value); });
        logLinesAtStart = console->MemLog->toPlainText().split('\n').size();
    }

    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            console->TimerPreparationTimer();
        }
    }

    QStringList logEntries() const {
        QStringList lines = console->MemLog->toPlainText().split('\n').mid(logLinesAtStart);
        for (QString& line : lines) {
            line = line.mid(QStringLiteral("*hh:mm:ss =>").size());
        }
        return lines;
    }

    bool waiting() const {
        return !console->AdvPanel1->isHidden() && !console->isEnabled() &&
               console->TimerPreparation->isActive();
    }

    void TearDown() override {
        if (console) {
            console->perintahSucces = 0;  // no goodbye to a room player that is not there
        }
        console.reset();
    }

    ProgramFolder folder;
    FakePlatform platform;
    std::unique_ptr<Tfmodule> module;
    std::unique_ptr<Tfloading> loading;
    std::unique_ptr<Tfplayer> console;
    QHash<QString, QString> skinWrites;
    qsizetype logLinesAtStart = 0;
    QDateTime now{QDate(2024, 5, 17), QTime(18, 45, 12)};
};

TEST_F(StartUpTest, FourthTickLoadsTheListsResetsTheStateAndReleases) {
    make();
    Tfplayer& c = *console;
    // State a start-up must clear, set without running any handler.
    {
        const QSignalBlocker a(c.Sys_idroom), b(c.edtcari);
        c.Sys_idroom->setValue(5);
        c.edtcari->setText(QStringLiteral("DESIGN TEXT"));
    }
    c.Sys_Room->setText("OLD");
    c.Sys_Port->setValue(9);
    c.Sys_Channel->setText("X");
    c.SYS_IP->setText("10.0.0.1");
    c.Sys_Status->setCurrentIndex(1);
    c.Sys_Players->setCurrentIndex(1);
    c.Sys_User->setText("U");
    c.Sys_Durasi->setValue(60);
    c.edtscan->setText("1234");
    c.pSiGol = c.pSiKat = c.onPlaylistSelect = c.onPlaylistSelect1 = 3;
    c.bpause = true;
    c.iwaiters = 1;
    c.bacaDurasiwmp = 1;
    c.lvkategori->show();
    c.cbtitsing->setCurrentIndex(0);
    c.cbMode->setCurrentIndex(2);

    ticks(3);
    EXPECT_TRUE(waiting());
    EXPECT_EQ(c.lvkategori->count(), 0);
    EXPECT_EQ(c.SpinEdit3->value(), 3);
    EXPECT_EQ(c.perintahSucces, 0);

    ticks(1);

    AdminDb songs(AdminDb::songsDatabase());
    AdminDb transaksi(AdminDb::transaksiDatabase());
    const QStringList groups = Expected(
        songs.rows("SELECT golongan, idgolongan FROM golongan ORDER BY urutan, idgolongan"));
    ASSERT_FALSE(groups.isEmpty()) << "the demo data has song groups";
    EXPECT_EQ(Notes(c.lvkategori), QStringList{"ALL=0"} + groups);
    EXPECT_EQ(
        Notes(c.AdvCategory),
        Expected(transaksi.rows("SELECT kategori, id FROM kategorimenu ORDER BY urutan, id")));
    EXPECT_FALSE(c.AdvCategory->isEmpty());

    EXPECT_EQ(c.perintahSucces, 1);
    EXPECT_TRUE(loading->AdvSmoothWin8Marquee1->isHidden());
    EXPECT_TRUE(loading->Label2->isHidden());
    EXPECT_FALSE(loading->Label1->isHidden());
    EXPECT_EQ(loading->pos(), QPoint(880, 568));
    EXPECT_EQ(c.lbluser->text(), "KesTrel");
    EXPECT_EQ(c.lbljam->text(), "00:00");

    EXPECT_EQ(c.pSiGol, 0);
    EXPECT_EQ(c.pSiKat, 0);
    EXPECT_EQ(c.onPlaylistSelect, 0);
    EXPECT_EQ(c.onPlaylistSelect1, 0);
    EXPECT_EQ(c.edtcari->text(), "");
    EXPECT_TRUE(c.tmrsearching->isActive()) << "emptying the search field starts the search";
    EXPECT_TRUE(c.lvkategori->isHidden());
    EXPECT_TRUE(c.lvgenre->isHidden());
    EXPECT_EQ(c.cbtitsing->currentIndex(), 1);
    EXPECT_EQ(c.cbMode->currentIndex(), 0);
    EXPECT_FALSE(c.bpause);
    EXPECT_EQ(skinWrites.value("_root.nomer_judulartis.text"), "0");
    EXPECT_EQ(c.preparationTimer, 0);
    EXPECT_EQ(c.bacaDurasiwmp, 0);

    EXPECT_EQ(c.Sys_idroom->value(), 0);
    EXPECT_EQ(c.Sys_Room->text(), "");
    EXPECT_EQ(c.Sys_Port->value(), 0);
    EXPECT_EQ(c.Sys_Channel->text(), "");
    EXPECT_EQ(c.Sys_Status->currentIndex(), 0);
    EXPECT_EQ(c.Sys_Players->currentIndex(), 0);
    EXPECT_EQ(c.Sys_User->text(), "");
    EXPECT_EQ(c.Sys_Jam->time(), QTime(18, 45, 12));
    EXPECT_EQ(c.Sys_Durasi->value(), 0);
    EXPECT_EQ(c.SYS_IP->text(), "");
    EXPECT_EQ(c.iwaiters, 0);
    EXPECT_EQ(c.lblUserNow->text(), "TOLVEK");
    EXPECT_EQ(c.edtscan->text(), "");

    EXPECT_FALSE(c.TimerPreparation->isActive());
    EXPECT_TRUE(c.AdvPanel1->isHidden());
    EXPECT_TRUE(c.isEnabled());
    EXPECT_FALSE(c.pnlStanby->isHidden()) << "the standby screen waits for a check-in";
    EXPECT_FALSE(c.Tmrbattery->isActive()) << "the monitor waits for the first booking";
    EXPECT_FALSE(c.TmrHandle->isActive());
    EXPECT_EQ(platform.sleeps, QList<int>{250});
    EXPECT_EQ(logEntries(), QStringList());
}

TEST_F(StartUpTest, SongsDatabaseOutOfReachReleasesOnTheTenthTick) {
    const QString nowhere = QStringLiteral("127.0.0.1:") + testsupport::ClosedPort();
    make();
    module->ServerLaguHost = nowhere;
    module->ServerLaguBackup = nowhere;
    module->AdoConn.Close();

    ticks(4);
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Timer Preparation ")) << logEntries()[0].toStdString();
    EXPECT_GT(logEntries()[0].size(), QString("Timer Preparation ").size()) << "no message";
    EXPECT_EQ(console->lvkategori->count(), 0);
    EXPECT_EQ(console->AdvCategory->count(), 0);
    EXPECT_EQ(console->perintahSucces, 0);
    EXPECT_FALSE(loading->Label2->isHidden());

    for (int tick = 5; tick <= 9; ++tick) {
        ticks(1);
        ASSERT_TRUE(waiting()) << "tick " << tick;
    }
    ticks(1);
    EXPECT_FALSE(console->TimerPreparation->isActive());
    EXPECT_TRUE(console->AdvPanel1->isHidden());
    EXPECT_TRUE(console->isEnabled());
    // The playlist could not be read either; that is logged, and the guest
    // still gets the console.
    ASSERT_EQ(logEntries().size(), 2);
    EXPECT_TRUE(logEntries()[1].startsWith("Timer Preparation ")) << logEntries()[1].toStdString();

    // The link was never marked usable: the first send waits and probes.
    console->Kirim(QStringLiteral("20#"));
    EXPECT_TRUE(waiting());
    EXPECT_EQ(console->preparationTimer, 99);
}

// The wait loop against the scripted room player.
class WaitLoopTest : public BookingFixture {
protected:
    bool waiting() {
        return loadingShown() && !console().isEnabled() && console().TimerPreparation->isActive();
    }

    // Ticks n times and says which ticks sent what, e.g. "4:38#".
    QStringList ticksSending(int n) {
        QStringList sends;
        for (int tick = 1; tick <= n; ++tick) {
            room.clearReceived();
            console().TimerPreparationTimer();
            for (const QString& command : sent()) {
                sends << QString::number(tick) + QLatin1Char(':') + command;
            }
        }
        return sends;
    }

    int countLog(const QString& label) {
        return static_cast<int>(logEntries().filter(label).size());
    }
};

TEST_F(WaitLoopTest, EveryEntryProbesOnTheFourthTickAndDecidesOnTheSixth) {
    const struct {
        const char* name;
        std::function<void()> enter;
    } entries[] = {
        {"direct", [this] { console().EnterWaitLoop(); }},
        {"Coba Lagi",
         [this] {
             // A send the room player refuses opens the dialog.
             console().Sys_Port->setValue(testsupport::ClosedPort().toInt());
             console().Kirim(QStringLiteral("20#"));
             console().Sys_Port->setValue(room.port());
             ASSERT_NE(console().ErrorDialog(), nullptr);
             console().ErrorDialog()->AdvSmoothButton2->click();
         }},
        {"network back",
         [this] {
             platform.internetConnected = false;
             console().TmrbatteryTimer();
             ASSERT_FALSE(waiting()) << "the network is still down";
             platform.internetConnected = true;
             console().TmrbatteryTimer();
         }},
        {"empty reply",
         [this] {
             room.answerNext(testsupport::ScriptedRoomPlayer::Answer::EmptyString());
             console().Kirim(QStringLiteral("20#"));
             ASSERT_EQ(console().perintahSucces, 0);
             console().TmrbatteryTimer();
         }},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        console().setEnabled(true);
        console().AdvPanel1->hide();
        console().perintahSucces = 1;
        console().Timer1->start();
        entry.enter();
        ASSERT_TRUE(waiting());
        EXPECT_EQ(console().preparationTimer, 99);
        EXPECT_EQ(console().perintahSucces, 1);
        const int probesBefore = countLog("masuk timer 103");

        EXPECT_EQ(ticksSending(5), QStringList{"4:38#"});
        EXPECT_TRUE(waiting()) << "released before the sixth tick";
        EXPECT_EQ(countLog("masuk timer 103"), probesBefore + 1);
        EXPECT_EQ(ticksSending(1), QStringList());
        EXPECT_FALSE(loadingShown());
        EXPECT_TRUE(console().isEnabled());
        EXPECT_FALSE(console().TimerPreparation->isActive());
        EXPECT_EQ(console().preparationTimer, 105);
        EXPECT_EQ(console().SpinEdit3->value(), 105);
    }
}

TEST_F(WaitLoopTest, FromKirimTheFirstPassOnlyMarksTheLinkUsable) {
    console().perintahSucces = 0;
    console().Kirim(QStringLiteral("20#"));
    EXPECT_EQ(sent(), QStringList()) << "a lost link sends nothing";
    ASSERT_TRUE(waiting());

    EXPECT_EQ(ticksSending(6), QStringList()) << "no probe on the first pass";
    EXPECT_TRUE(waiting());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_EQ(ticksSending(6), QStringList{"4:38#"});
    EXPECT_TRUE(console().isEnabled());
}

// Entries made while the loop waits (a progress tick's send, the monitor)
// would otherwise put it back to its start for as long as they come, and it
// would never decide.
TEST_F(WaitLoopTest, EnteringAgainWhileRunningKeepsTheLoopsStep) {
    console().EnterWaitLoop();
    EXPECT_EQ(ticksSending(3), QStringList());
    console().EnterWaitLoop();
    EXPECT_EQ(console().preparationTimer, 102);
    EXPECT_FALSE(console().isEnabled());
    EXPECT_EQ(ticksSending(3), QStringList{"1:38#"});
    EXPECT_TRUE(console().isEnabled());
}

TEST_F(WaitLoopTest, EmptyProbeReplyRunsTheLoopAgain) {
    room.answerCommand(QStringLiteral("38#"),
                       testsupport::ScriptedRoomPlayer::Answer::EmptyString());
    console().EnterWaitLoop();
    EXPECT_EQ(ticksSending(6), QStringList{"4:38#"});
    EXPECT_TRUE(waiting()) << "an empty answer leaves the link lost";
    EXPECT_EQ(console().preparationTimer, 99);

    room.resetScript();
    EXPECT_EQ(ticksSending(6), QStringList{"4:38#"});
    EXPECT_TRUE(console().isEnabled());
    EXPECT_EQ(countLog("masuk timer 103"), 2);
}

// A room player that keeps answering nothing does not keep the console behind
// its loading panel for good: after a few rounds, each logged, the guest is
// asked with the connection-error dialog, and the monitor leaves that answer
// to the guest.
TEST_F(WaitLoopTest, ARoomPlayerThatNeverAnswersEndsInTheDialog) {
    using Answer = testsupport::ScriptedRoomPlayer::Answer;
    room.answerCommand(QStringLiteral("38#"), Answer::EmptyString());
    console().Tmrbattery->start();
    console().EnterWaitLoop();
    QStringList probes;
    for (int round = 0; round < Tfplayer::kWaitLoopRounds; ++round) {
        probes << ticksSending(6);
        // The monitor ticks between the loop's ticks, as on the tablet.
        console().TmrbatteryTimer();
    }
    EXPECT_EQ(probes, QStringList({"4:38#", "4:38#", "4:38#"}));
    ASSERT_NE(console().ErrorDialog(), nullptr);
    EXPECT_TRUE(console().ErrorDialog()->isVisible());
    EXPECT_FALSE(console().TimerPreparation->isActive());
    EXPECT_FALSE(loadingShown()) << "the dialog, not the loading panel, speaks to the guest";
    EXPECT_FALSE(console().isEnabled());
    EXPECT_EQ(countLog("Koneksi Reconect the room player is still out of reach"),
              Tfplayer::kWaitLoopRounds);

    console().TmrbatteryTimer();
    EXPECT_FALSE(console().TimerPreparation->isActive()) << "the monitor waits for the guest";
    EXPECT_EQ(ticksSending(6), QStringList());

    room.resetScript();
    console().ErrorDialog()->AdvSmoothButton2->click();  // "Coba Lagi"
    EXPECT_EQ(ticksSending(6), QStringList{"4:38#"});
    EXPECT_TRUE(console().isEnabled());
}

// The probe does not hold the console's thread: while a room player sits on
// it, the loop's ticks come and go (the loading picture keeps moving) and the
// decision waits for the probe's outcome.
TEST_F(WaitLoopTest, ASilentProbeDoesNotHoldTheConsole) {
    using Answer = testsupport::ScriptedRoomPlayer::Answer;
    console().IMCClient->SetReplyLimit(3000);
    room.answerCommand(QStringLiteral("38#"), Answer::NoAnswer());
    console().EnterWaitLoop();
    EXPECT_EQ(ticksSending(4), QStringList{"4:38#"});
    ASSERT_EQ(console().preparationTimer, 103);
    for (int tick = 0; tick < 3; ++tick) {
        console().TimerPreparationTimer();
    }
    EXPECT_EQ(console().preparationTimer, 103) << "the ticks came back before the probe did";
    EXPECT_TRUE(waiting());

    // Once the reply limit has passed, the probe counts as unanswered.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            console().TimerPreparationTimer();
            return console().preparationTimer > 103;
        },
        10000));
    ASSERT_EQ(console().preparationTimer, 104);
    ticksSending(1);
    EXPECT_EQ(console().preparationTimer, 99) << "decided: the link is still lost";
    EXPECT_EQ(countLog("Koneksi Reconect the room player is still out of reach"), 1);
}

TEST_F(WaitLoopTest, AnAnswerOnTheLastRoundReleasesTheConsole) {
    using Answer = testsupport::ScriptedRoomPlayer::Answer;
    for (int i = 1; i < Tfplayer::kWaitLoopRounds; ++i) {
        room.answerNext(Answer::EmptyString());
    }
    console().EnterWaitLoop();
    ticksSending(6 * Tfplayer::kWaitLoopRounds);
    EXPECT_TRUE(console().isEnabled());
    EXPECT_EQ(console().ErrorDialog(), nullptr);
    EXPECT_FALSE(loadingShown());
}

TEST_F(WaitLoopTest, DecisionReloadsThePlaylistWithTheFirstEntrySelected) {
    AdminDb songsDb(AdminDb::songsDatabase());
    const QString name = roomName();
    songsDb.exec(QStringLiteral("DELETE FROM playlist WHERE namaroom = '%1'").arg(name));
    const QString song = songsDb.scalar("SELECT MIN(idlagu) FROM lagu").toString();
    songsDb.exec(QStringLiteral("INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) VALUES "
                                "(1, '%1', 'AAA111', %2), (2, '%1', 'BBB222', %2)")
                     .arg(name, song));
    console().lvPlaylistnNew->clear();

    console().EnterWaitLoop();
    ticksSending(6);

    EXPECT_EQ(console().lvPlaylistnNew->count(), 2);
    EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), 0);
    songsDb.exec(QStringLiteral("DELETE FROM playlist WHERE namaroom = '%1'").arg(name));
}

// A booking start: released on the third tick, straight into the wait loop
// when the room player reported the condition "1".
class BookingStartTest : public WaitLoopTest {
protected:
    void SetUp() override {
        WaitLoopTest::SetUp();
        startUp();
        addRoom({.id = 730,
                 .code = QStringLiteral("7300"),
                 .name = QStringLiteral("BOOKING 730"),
                 .jam = now,
                 .user = QStringLiteral("RINA")});
    }
};

TEST_F(BookingStartTest, ReleasesOnTheThirdTick) {
    checkIn(QStringLiteral("7300"));
    ASSERT_TRUE(waiting());
    platform.sleeps.clear();
    EXPECT_EQ(ticksSending(2), QStringList());
    EXPECT_TRUE(waiting());
    EXPECT_EQ(ticksSending(1), QStringList());
    EXPECT_FALSE(loadingShown());
    EXPECT_TRUE(console().isEnabled());
    EXPECT_FALSE(console().TimerPreparation->isActive());
    EXPECT_EQ(console().preparationTimer, 10);
    EXPECT_EQ(platform.sleeps, QList<int>{250});
    EXPECT_TRUE(console().TmrHandle->isActive());
    EXPECT_EQ(logEntries(), QStringList());
}

TEST_F(BookingStartTest, ConditionOneGoesOnIntoTheWaitLoop) {
    // The room player's settings reply: volume, microphone, condition.
    room.answerCommand(QStringLiteral("GO#"),
                       testsupport::ScriptedRoomPlayer::Answer::Reply("1#60;40;1"));
    checkIn(QStringLiteral("7300"));
    ASSERT_EQ(console().kondisi, "1");
    console().Timer1->start();

    EXPECT_EQ(ticksSending(3), QStringList());
    EXPECT_TRUE(waiting());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_FALSE(console().Timer1->isActive());
    EXPECT_EQ(ticksSending(6), QStringList{"4:38#"});
    EXPECT_TRUE(console().isEnabled()) << "the decision does not look at the condition again";
}

// The room player must hear that the room went active, also when it could
// not be reached at the booking start: "GO#" and the tablet's address follow
// the first probe it answers.
TEST_F(BookingStartTest, ARoomPlayerMissedAtTheStartIsToldOnceItAnswers) {
    // The link was already marked lost when the guest checked in.
    console().perintahSucces = 0;
    checkIn(QStringLiteral("7300"));
    EXPECT_EQ(sent(), QStringList()) << "nothing can be sent yet";
    EXPECT_TRUE(console().GreetingPending());
    QStringList sends = ticksSending(3 + 6 + 6);
    ASSERT_FALSE(sends.isEmpty());
    EXPECT_EQ(sends.filter("GO#").size(), 1) << sends.join(' ');
    EXPECT_EQ(sends.filter("26#").size(), 1) << sends.join(' ');
    const qsizetype probe = sends.indexOf(QRegularExpression(".*:38#"));
    ASSERT_GE(probe, 0) << sends.join(' ');
    EXPECT_GT(sends.indexOf(QRegularExpression(".*:GO#")), probe) << "after the probe answered";
    EXPECT_FALSE(console().GreetingPending());
    EXPECT_TRUE(console().isEnabled());
    EXPECT_FALSE(loadingShown());
}

TEST_F(BookingStartTest, ARoomPlayerRefusingAtTheStartIsToldAfterCobaLagi) {
    authen.exec(QStringLiteral("UPDATE remote SET port = %1 WHERE kode = '7300'")
                    .arg(testsupport::ClosedPort()));
    checkIn(QStringLiteral("7300"));
    ASSERT_NE(console().ErrorDialog(), nullptr);
    EXPECT_EQ(logEntries().filter("Kirim ").size(), 2) << "\"GO#\" and \"26#\" both failed";
    ticksSending(3);
    EXPECT_FALSE(console().isEnabled()) << "the dialog still waits for the guest";

    console().Sys_Port->setValue(room.port());
    console().ErrorDialog()->AdvSmoothButton2->click();  // "Coba Lagi"
    const QStringList sends = ticksSending(6);
    EXPECT_EQ(sends, QStringList({"4:38#", "4:GO#", QStringLiteral("4:26#127.0.0.1")}))
        << sends.join(' ').toStdString();
    EXPECT_TRUE(console().isEnabled());
}

TEST_F(BookingStartTest, PlaylistThatCannotBeReadStillReleases) {
    checkIn(QStringLiteral("7300"));
    cutSongsDatabase();
    ticksSending(3);
    EXPECT_FALSE(loadingShown());
    EXPECT_TRUE(console().isEnabled());
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Timer Preparation ")) << logEntries()[0].toStdString();
}

}  // namespace
