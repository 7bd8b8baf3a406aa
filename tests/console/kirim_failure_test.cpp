// When a send fails: the log line and the connection-error dialog for a
// failure with a message; for an answer that never properly came, nothing for
// the guest and a journal line for the venue; and the dialog's two ways on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QPointer>

#include "support/console_fixture.h"
#include "support/journal_capture.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using Answer = testsupport::ScriptedRoomPlayer::Answer;

class KirimFailureTest : public testsupport::ConsoleFixture {
protected:
    void SetUp() override {
        ConsoleFixture::SetUp();
        // The progress runs while the guest acts.
        console().Timer1->start();
    }

    void refuseConnections() {
        console().Sys_Port->setValue(testsupport::ScriptedRoomPlayer::closedPort());
    }

    void expectLinkFailureShown() {
        ASSERT_NE(console().ErrorDialog(), nullptr);
        EXPECT_TRUE(console().ErrorDialog()->isVisible());
        EXPECT_EQ(FrmError, console().ErrorDialog());
        EXPECT_FALSE(console().isEnabled());
        EXPECT_FALSE(console().Timer1->isActive());
    }
};

TEST_F(KirimFailureTest, ARefusedConnectionIsLoggedAndShown) {
    refuseConnections();
    console().Kirim("27#50");
    const QStringList entries = logEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].startsWith("Kirim ")) << entries[0];
    EXPECT_TRUE(entries[0].contains("refused", Qt::CaseInsensitive)) << entries[0];
    expectLinkFailureShown();
    EXPECT_EQ(console().perintahSucces, 1) << "a failed connect leaves the link state alone";
    EXPECT_FALSE(console().IMCClient->IsConnected());
    EXPECT_EQ(console().LBMain->count(), 0);
    EXPECT_TRUE(console().AdvPanel1->isHidden());
}

TEST_F(KirimFailureTest, AnInvalidAnswerIsDroppedSilently) {
    console().IMCClient->SetExecuteTimeout(300);
    const struct {
        const char* name;
        Answer answer;
    } cases[] = {
        {"failure marker", Answer::FailureMarker()},
        {"closed without a byte", Answer::Close()},
    };
    for (const auto& c : cases) {
        testsupport::JournalCapture journal;
        room.answerNext(c.answer);
        EXPECT_FALSE(console().Kirim("4#")) << c.name;
        EXPECT_FALSE(console().IMCClient->IsConnected()) << c.name;
        EXPECT_EQ(console().LBMain->count(), 0) << c.name;
        ASSERT_EQ(journal.warnings().size(), 1) << c.name;
        EXPECT_TRUE(
            journal.warnings()[0].startsWith("lyrabox: the room player gave no answer to \"4#\": "))
            << journal.warnings()[0];
    }
    EXPECT_EQ(sent(), QStringList({"4#", "4#"}));
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
    EXPECT_EQ(console().ErrorDialog(), nullptr);
    EXPECT_TRUE(console().isEnabled());
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_TRUE(console().Memo1->toPlainText().isEmpty()) << "no reply text came";
}

// A room player that takes the command and never answers holds the console
// once, for the reply limit: then the link counts as lost, the progress stops
// and the wait loop probes, so that the next tap or tick waits on nothing.
TEST_F(KirimFailureTest, NoAnswerWithinTheReplyLimitLosesTheLink) {
    EXPECT_EQ(console().IMCClient->ReplyLimit(), Tfplayer::kReplyLimit);
    EXPECT_LE(Tfplayer::kReplyLimit, 10000u);
    // The test's own short limit keeps the suite fast; the console's rule is the same.
    console().IMCClient->SetReplyLimit(300);
    testsupport::JournalCapture journal;
    room.answerNext(Answer::NoAnswer());
    console().bacaDurasiwmp = 1;
    EXPECT_FALSE(console().Kirim("27#70"));
    ASSERT_EQ(journal.warnings().size(), 1);
    EXPECT_TRUE(journal.warnings()[0].contains("did not answer \"27#70\" within"))
        << journal.warnings()[0];
    EXPECT_EQ(console().perintahSucces, 0);
    EXPECT_FALSE(console().Timer1->isActive());
    EXPECT_FALSE(console().AdvPanel1->isHidden()) << "the guest sees the console wait";
    EXPECT_FALSE(console().isEnabled());
    EXPECT_TRUE(console().TimerPreparation->isActive());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_EQ(console().ErrorDialog(), nullptr) << "the dialog's rules are unchanged";

    // The next progress tick sends nothing and waits for nothing.
    room.clearReceived();
    console().Timer1Timer();
    EXPECT_EQ(sent(), QStringList());
    EXPECT_EQ(room.connections(), 1);
}

TEST_F(KirimFailureTest, FailuresShareOneDialogThatShowsTheLatest) {
    refuseConnections();
    console().Kirim("GO#");
    QPointer<TFrmError> dialog = console().ErrorDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->hide();  // behind another window, say
    console().Sys_Port->setValue(0);
    console().Kirim("26#10.0.0.7");
    expectLinkFailureShown();
    EXPECT_EQ(console().ErrorDialog(), dialog.data()) << "raised again, not a second one";
    EXPECT_EQ(logEntries().size(), 2);
    EXPECT_EQ(dialog->LabelDetail->toolTip(), logEntries()[1].mid(QString("Kirim ").size()))
        << "the latest failure";
    int dialogs = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        dialogs += qobject_cast<TFrmError*>(window) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(dialogs, 1);

    dialog->AdvSmoothButton1->click();  // "Batalkan Perintah"
    EXPECT_TRUE(console().isEnabled()) << "nothing else covers the console";
    EXPECT_TRUE(console().AdvPanel1->isHidden());
    EXPECT_FALSE(console().TimerPreparation->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull()) << "freed once closed";
    EXPECT_EQ(console().ErrorDialog(), nullptr);
    EXPECT_EQ(sent(), QStringList()) << "the failed commands are not repeated";
}

TEST_F(KirimFailureTest, CobaLagiWaitsBehindTheLoadingPanel) {
    refuseConnections();
    console().Kirim("27#50");
    console().ErrorDialog()->AdvSmoothButton2->click();  // "Coba Lagi"
    EXPECT_FALSE(console().isEnabled());
    EXPECT_FALSE(console().AdvPanel1->isHidden());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_TRUE(console().TimerPreparation->isActive());
    EXPECT_EQ(sent(), QStringList()) << "the failed command is not repeated";
}

// The songs database failing while a reply redraws the playlist says nothing
// about the room player: no "Tablet Tidak Terhubung Dengan Player", the link
// keeps its state and the rest of the reply applies.
TEST_F(KirimFailureTest, ADatabaseFailureInAReplysRedrawIsOnlyLogged) {
    module->AdoConn.Close();
    module->ServerLaguHost = QStringLiteral("127.0.0.1:1");
    room.answerNext(Answer::Reply("5#240#812"));
    EXPECT_TRUE(console().Kirim("20#"));
    EXPECT_EQ(console().ErrorDialog(), nullptr);
    EXPECT_TRUE(console().isEnabled());
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_EQ(console().onplay, 812);
    EXPECT_EQ(console().ProgBar->maximum(), 240);
    EXPECT_TRUE(console().Timer1->isActive());
    const QStringList entries = logEntries();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_TRUE(entries[0].startsWith("Kirim ")) << entries.join('\n');
}

TEST_F(KirimFailureTest, TheNextCommandAfterAFailureIsSentAsUsual) {
    refuseConnections();
    console().Kirim("27#50");
    console().ErrorDialog()->AdvSmoothButton1->click();
    console().Sys_Port->setValue(room.port());
    room.answerNext(Answer::Reply("9#50"));
    EXPECT_TRUE(console().Kirim("27#50"));
    EXPECT_EQ(sent(), QStringList{"27#50"});
    EXPECT_EQ(console().VolPlayer, 50);
}

TEST_F(KirimFailureTest, TheDialogTellsTheGuestAndOffersTwoWays) {
    refuseConnections();
    console().Kirim("27#50");
    ASSERT_NE(console().ErrorDialog(), nullptr);
    const TFrmError& dialog = *console().ErrorDialog();
    EXPECT_EQ(dialog.windowTitle(), "FrmError");
    EXPECT_EQ(dialog.size(), QSize(760, 240));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.Label1->text(), "Oooppss,,.. Tablet Tidak Terhubung Dengan Player");
    EXPECT_EQ(dialog.Label1->pos(), QPoint(40, 56));
    EXPECT_GE(dialog.Label1->font().pixelSize(), 24) << "read at arm's length";
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_EQ(dialog.Label1->font().family(), "PetitaBold");
    EXPECT_EQ(dialog.AdvSmoothButton1->text(), "Batalkan Perintah");
    for (const SmoothButton* button : {dialog.AdvSmoothButton1, dialog.AdvSmoothButton2}) {
        EXPECT_GE(button->height(), 60) << "a fingertip's height";
        EXPECT_GE(button->width(), 120) << "a thumb's width";
        EXPECT_TRUE(dialog.rect().contains(button->geometry()));
    }
    EXPECT_FALSE(
        dialog.AdvSmoothButton1->geometry().intersects(dialog.AdvSmoothButton2->geometry()));
    EXPECT_LT(dialog.AdvSmoothButton1->x(), dialog.AdvSmoothButton2->x());
    EXPECT_EQ(dialog.AdvSmoothButton2->text(), "Coba Lagi");
    EXPECT_LE(dialog.Label1->geometry().right(), dialog.width()) << "the text fits the dialog";
    // What failed shows between the text and the buttons, readable, covering neither.
    const QRect detail = dialog.LabelDetail->geometry();
    EXPECT_FALSE(detail.intersects(dialog.Label1->geometry()));
    EXPECT_FALSE(detail.intersects(dialog.AdvSmoothButton1->geometry()));
    EXPECT_TRUE(dialog.rect().contains(detail));
    EXPECT_GE(QFontInfo(dialog.LabelDetail->font()).pixelSize(), 16) << "read at arm's length";
    // No window manager places it in the kiosk: it centres itself over the console.
    EXPECT_LE(
        (dialog.frameGeometry().center() - console().frameGeometry().center()).manhattanLength(), 4)
        << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
}

TEST_F(KirimFailureTest, AFailedSendReachesTheSavedLog) {
    refuseConnections();
    console().Kirim("27#50");
    const QString entry = logEntries().value(0);
    closeConsole();
    QFile saved(folder.path() + "/log/Log 1.txt");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "MemLog");
    EXPECT_TRUE(lines[2].endsWith(" =>" + entry)) << lines[2];
    EXPECT_TRUE(lines.filter(" =>Form Fplayer Destroy").size() == 1);
}

// Closing the window, then destroying it, tells the room player once, stops
// every timer first, and opens nothing a kiosk's restart would wait on.
class ClosingTest : public KirimFailureTest,
                    public ::testing::WithParamInterface<bool /* room player away */> {};

TEST_P(ClosingTest, SaysGoodbyeOnceAndWaitsForNoOne) {
    const bool away = GetParam();
    Tfplayer& c = console();
    for (QTimer* timer : {c.TimerPreparation, c.TmrHandle, c.Tmrbattery, c.tmrsearching}) {
        timer->start();
    }
    if (away) {
        refuseConnections();
    }
    room.clearReceived();
    c.close();
    for (QTimer* timer :
         {c.TimerPreparation, c.TmrHandle, c.Tmrbattery, c.Timer1, c.tmrsearching}) {
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    }
    EXPECT_EQ(c.ErrorDialog(), nullptr);
    EXPECT_EQ(logEntries().filter("Kirim ").size(), away ? 1 : 0) << "one attempt";
    closeConsole();
    EXPECT_EQ(sent(), away ? QStringList() : QStringList({"GI#"}));
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();
    int dialogs = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        dialogs += qobject_cast<TFrmError*>(window) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(dialogs, 0);
}

INSTANTIATE_TEST_SUITE_P(RoomPlayer, ClosingTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Away" : "There"; });

// Memo1 keeps the latest replies of a long night, not all of them.
TEST_F(KirimFailureTest, TheReplyMemoKeepsOnlyTheLatestLines) {
    for (int i = 0; i < Tfplayer::kReplyLinesKept + 20; ++i) {
        room.answerNext(Answer::Reply(QStringLiteral("6#%1").arg(i)));
        console().Kirim("21#");
    }
    const QStringList lines = console().Memo1->toPlainText().split('\n');
    EXPECT_LE(lines.size(), Tfplayer::kReplyLinesKept);
    EXPECT_EQ(lines.last(), QStringLiteral("6#%1").arg(Tfplayer::kReplyLinesKept + 19));
}

// Without its loading picture the console makes no message client: every
// send fails with a message and is logged.
TEST(KirimWithoutClientTest, EverySendIsLoggedAndShown) {
    testsupport::ProgramFolder folder;
    testsupport::FakePlatform platform;
    Tfmodule module;
    Tfplayer console(module, platform);
    ASSERT_EQ(console.IMCClient, nullptr);
    console.perintahSucces = 1;
    console.Kirim("27#50");
    const QString last = console.MemLog->toPlainText().split('\n').last();
    EXPECT_TRUE(last.endsWith(" =>Kirim The message client was not created")) << last;
    ASSERT_NE(console.ErrorDialog(), nullptr);
    EXPECT_TRUE(console.ErrorDialog()->isVisible());
    EXPECT_FALSE(console.isEnabled());
}

}  // namespace
