// However the system ends a run, the run's log file holds what was written.
// The real program from a program folder of its own, with no database and no
// room player to reach (nothing listens on 127.0.0.1:1).
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "processes.h"
#include "programfolder.h"

namespace {

constexpr int kWaitMs = 60000;

class EndingTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        const QString setting = folder.filePath(QStringLiteral("unreachable.ini"));
        QFile file(setting);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[PlayerKaraoke]\nServerLaguHost=127.0.0.1:1\nServerLaguBackup=127.0.0.1:1\n"
            "DatabaseLagu=lagu\n[Transaksi]\nServerTransaksi=127.0.0.1:1\n"
            "DatabaseTransaksi=transaksi\n");
        file.close();
        const QString program = folder.filePath(QStringLiteral("program"));
        guestdriver::LayOutProgramFolder(program, setting);
        logFile = program + QStringLiteral("/log/Log 1.txt");
        ASSERT_TRUE(console.start(program, 0));
    }

    // The log file's text, as another process (the venue's technician) reads it.
    QString log() const {
        QFile file(logFile);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Waits until the console has written its creation line.
    bool created() const {
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            if (log().contains(QStringLiteral(" =>Form Create\n"))) {
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }

    QTemporaryDir folder;
    QString logFile;
    guestdriver::ConsoleProcess console;
};

// systemctl stop and restart send SIGTERM; the end of the session SIGHUP.
class EndingBySignalTest : public EndingTest {};

TEST_P(EndingBySignalTest, EndsThroughItsDestructionWithTheWholeLog) {
    ASSERT_TRUE(created()) << console.output().toStdString();
    console.sendSignal(GetParam());
    ASSERT_TRUE(console.waitForExit(kWaitMs)) << "the console did not end";
    EXPECT_FALSE(console.crashed()) << console.output().toStdString();
    EXPECT_EQ(console.exitCode(), 0);

    const QStringList lines = log().split('\n');
    ASSERT_GE(lines.size(), 4) << log().toStdString();
    EXPECT_EQ(lines.first(), "MemLog");
    EXPECT_TRUE(lines[1].endsWith(" =>Form Create")) << lines[1].toStdString();
    EXPECT_EQ(lines.last(), "") << "every line is complete";
    EXPECT_TRUE(lines[lines.size() - 2].endsWith(" =>Form Fplayer Destroy")) << log().toStdString();
    EXPECT_EQ(QDir(QFileInfo(logFile).path()).entryList(QDir::Files).size(), 1)
        << "one run, one file";
}

INSTANTIATE_TEST_SUITE_P(TermAndHangUp, EndingBySignalTest, ::testing::Values(SIGTERM, SIGHUP));

// A crash, or systemd's SIGKILL after its time-out, runs no destructor.
TEST_F(EndingTest, AKilledRunKeepsEveryLineWrittenBefore) {
    ASSERT_TRUE(created()) << console.output().toStdString();
    const QString before = log();
    console.sendSignal(SIGKILL);
    ASSERT_TRUE(console.waitForExit(kWaitMs));
    EXPECT_TRUE(console.crashed());
    const QString after = log();
    EXPECT_TRUE(after.startsWith(before)) << after.toStdString();
    EXPECT_TRUE(after.startsWith(QStringLiteral("MemLog\n*"))) << after.toStdString();
    EXPECT_TRUE(after.endsWith('\n')) << "no line is cut: " << after.toStdString();
}

}  // namespace
