// When a send fails: the log line and the connection-error dialog for a
// failure with a message; for an answer that never properly came, nothing for
// the guest and a journal line for the venue; and the dialog's two ways on.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>

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

    void expectLinkFailureShown(qsizetype dialogs) {
        ASSERT_EQ(console().ErrorDialogs().size(), static_cast<size_t>(dialogs));
        EXPECT_TRUE(console().ErrorDialogs().back()->isVisible());
        EXPECT_EQ(FrmError, console().ErrorDialogs().back().get()) << "the one created last";
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
    expectLinkFailureShown(1);
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
        {"no answer", Answer::NoAnswer()},
    };
    for (const auto& c : cases) {
        testsupport::JournalCapture journal;
        room.answerNext(c.answer);
        console().Kirim("4#");
        EXPECT_FALSE(console().IMCClient->IsConnected()) << c.name;
        EXPECT_EQ(console().LBMain->count(), 0) << c.name;
        ASSERT_EQ(journal.warnings().size(), 1) << c.name;
        EXPECT_TRUE(
            journal.warnings()[0].startsWith("lyrabox: the room player gave no answer to \"4#\": "))
            << journal.warnings()[0];
    }
    EXPECT_EQ(sent(), QStringList({"4#", "4#", "4#"}));
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n');
    EXPECT_TRUE(console().ErrorDialogs().empty());
    EXPECT_TRUE(console().isEnabled());
    EXPECT_TRUE(console().Timer1->isActive());
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_TRUE(console().Memo1->toPlainText().isEmpty()) << "no reply text came";
}

TEST_F(KirimFailureTest, TwoFailuresOpenTwoDialogsAndEachAnswersForItself) {
    refuseConnections();
    console().Kirim("27#50");
    console().Kirim("27#60");
    expectLinkFailureShown(2);
    TFrmError& first = *console().ErrorDialogs()[0];
    TFrmError& second = *console().ErrorDialogs()[1];
    EXPECT_EQ(logEntries().size(), 2);

    first.AdvSmoothButton1->click();  // "Batalkan Perintah"
    EXPECT_TRUE(console().isEnabled());
    EXPECT_FALSE(first.isVisible());
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(console().perintahSucces, 1);
    EXPECT_TRUE(console().AdvPanel1->isHidden());
    EXPECT_FALSE(console().TimerPreparation->isActive());
    EXPECT_FALSE(console().Timer1->isActive()) << "the progress waits for the room player";

    second.AdvSmoothButton2->click();  // "Coba Lagi"
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(console().isEnabled());
    EXPECT_FALSE(console().AdvPanel1->isHidden());
    EXPECT_EQ(console().preparationTimer, 99);
    EXPECT_TRUE(console().TimerPreparation->isActive());
    EXPECT_EQ(sent(), QStringList()) << "the failed command is not repeated";
}

TEST_F(KirimFailureTest, TheNextCommandAfterAFailureIsSentAsUsual) {
    refuseConnections();
    console().Kirim("27#50");
    console().ErrorDialogs()[0]->AdvSmoothButton1->click();
    console().Sys_Port->setValue(room.port());
    room.answerNext(Answer::Reply("9#50"));
    console().Kirim("27#50");
    EXPECT_EQ(sent(), QStringList{"27#50"});
    EXPECT_EQ(console().VolPlayer, 50);
    EXPECT_EQ(console().ErrorDialogs().size(), 1u);
}

TEST_F(KirimFailureTest, TheDialogTellsTheGuestAndOffersTwoWays) {
    refuseConnections();
    console().Kirim("27#50");
    ASSERT_EQ(console().ErrorDialogs().size(), 1u);
    const TFrmError& dialog = *console().ErrorDialogs()[0];
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
    ASSERT_EQ(console.ErrorDialogs().size(), 1u);
    EXPECT_TRUE(console.ErrorDialogs()[0]->isVisible());
    EXPECT_FALSE(console.isEnabled());
}

}  // namespace
