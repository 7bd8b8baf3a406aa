#include "room_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <iostream>

#include "programfolder.h"

namespace e2e {

namespace {

constexpr int kConsoleStartMs = 60000;

QString SettingIni() {
    return QStringLiteral(LYRABOX_E2E_SETTING_INI);
}

bool RunServerScript(const QStringList& arguments) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(LYRABOX_MARIADB_SCRIPT), arguments);
    if (!script.waitForFinished(180000) || script.exitCode() != 0) {
        ADD_FAILURE() << "mariadb-server.sh " << arguments.join(' ').toStdString() << ": "
                      << script.readAll().toStdString();
        return false;
    }
    return true;
}

}  // namespace

void RoomTest::SetUp() {
    guest.onError = [](const std::string& what) { ADD_FAILURE() << what; };
    ASSERT_TRUE(folder.isValid());
    PrepareDatabases();
    ASSERT_TRUE(room.start(roomName(), SettingIni())) << room.output().toStdString();
    songs->exec(QStringLiteral("UPDATE authentification.remote SET port = %1, ip_address = "
                               "'127.0.0.1' WHERE kode = '%2'")
                    .arg(room.port())
                    .arg(checkInCode()));
    PrepareProgramFolder();
    StartConsole();
}

void RoomTest::TearDown() {
    thawDatabase();
    console.kill();
    room.kill();
    if (HasFailure()) {
        std::cerr << "--- console output ---\n"
                  << console.output().toStdString() << "--- room player output ---\n"
                  << room.output().toStdString() << "--- console log ---\n"
                  << logFiles().join(QStringLiteral("\n")).toStdString();
    }
}

void RoomTest::ConnectAdmin() {
    songs = std::make_unique<testsupport::AdminDb>(QStringLiteral("e2e_lagu"),
                                                   QStringLiteral(LYRABOX_E2E_DB_SOCKET));
    transaksi = std::make_unique<testsupport::AdminDb>(QStringLiteral("e2e_transaksi"),
                                                       QStringLiteral(LYRABOX_E2E_DB_SOCKET));
}

void RoomTest::PrepareDatabases() {
    ConnectAdmin();
    // ROOM 01's booking started a minute ago and runs two hours; nothing queued.
    songs->exec(QStringLiteral(
        "UPDATE room SET status = 1, players = 1, jam = NOW() - INTERVAL 1 MINUTE, durasi = 120, "
        "user = 'GUEST DEMO' WHERE namaroom = 'ROOM 01';\n"
        "UPDATE room SET status = 0, players = 0, jam = NULL, durasi = 0, user = '' "
        "WHERE namaroom = 'ROOM 02';\n"
        "DELETE FROM playlist"));
    transaksi->exec(
        QStringLiteral("UPDATE kamar SET statuschekin = 1 WHERE namakamar = 'ROOM 01'"));
}

void RoomTest::PrepareProgramFolder() {
    guestdriver::LayOutProgramFolder(folder.path(), SettingIni());
}

void RoomTest::StartConsole() {
    ASSERT_TRUE(console.start(folder.path(), guest.port()));
    const QDeadlineTimer deadline(kConsoleStartMs);
    while (!guest.accept(200)) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(console.running()) << "the console ended: " << console.output().toStdString();
        ASSERT_FALSE(deadline.hasExpired()) << "the console's guest driver never connected";
    }
    ASSERT_TRUE(waitUntil([this] { return onStandby(); }, kConsoleStartMs))
        << "the console did not reach its standby screen";
}

bool RoomTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QCoreApplication::processEvents();
        console.output();
        room.output();
        if (!console.running()) {
            ADD_FAILURE() << "the console ended with " << console.exitCode();
            return false;
        }
        if (condition()) {
            return true;
        }
        if (deadline.hasExpired() || ::testing::Test::HasFatalFailure()) {
            return false;
        }
        QThread::msleep(50);
    }
}

void RoomTest::settle(int milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

bool RoomTest::onStandby() {
    return guest.visible(QStringLiteral("pnlStanby")) &&
           !guest.visible(QStringLiteral("AdvPanel1"));
}

bool RoomTest::inRoom() {
    return !guest.visible(QStringLiteral("pnlStanby")) &&
           !guest.visible(QStringLiteral("AdvPanel1"));
}

void RoomTest::typeCodeAndStart(const QString& code) {
    // What the last guest typed stays in the field until erased.
    const QString keypad = QStringLiteral("AdvSmoothTouchKeyBoard1");
    for (int i = guest.text(QStringLiteral("edtscan")).size(); i > 0; --i) {
        guest.tapKey(keypad, QStringLiteral("Back"));
    }
    ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("edtscan")).isEmpty(); }));
    guest.typeOn(keypad, code);
    ASSERT_TRUE(waitUntil([&] { return guest.text(QStringLiteral("edtscan")) == code; }))
        << "the standby field shows " << guest.text(QStringLiteral("edtscan")).toStdString();
    guest.tap(QStringLiteral("AdvSmoothButton5"));
}

void RoomTest::checkIn() {
    typeCodeAndStart(checkInCode());
    ASSERT_TRUE(waitUntil([this] { return inRoom(); }, 30000)) << "the check-in did not finish";
}

void RoomTest::typeSearch(const QString& text) {
    for (const QChar c : text) {
        guest.skinTap(c == QLatin1Char(' ') ? QStringLiteral("space") : QString(c.toLower()));
    }
}

int RoomTest::songRow(const QString& title) {
    return guest.rowContaining(QStringLiteral("AdvSonglist"),
                               QStringLiteral("<html>") + title + QStringLiteral("<IND"));
}

QStringList RoomTest::playlistSongs() {
    QStringList ids;
    for (const QStringList& row :
         songs->rows(QStringLiteral("SELECT idlagu FROM playlist WHERE namaroom = 'ROOM 01' "
                                    "ORDER BY idplaylist, id"))) {
        ids << row.first();
    }
    return ids;
}

QString RoomTest::songId(const QString& title) {
    return songs
        ->scalar(QStringLiteral("SELECT idlagu FROM lagu WHERE judul = '%1'")
                     .arg(QString(title).replace(QLatin1Char('\''), QStringLiteral("''"))))
        .toString();
}

void RoomTest::stopDatabase() {
    songs.reset();
    transaksi.reset();
    RunServerScript({QStringLiteral("stop"), QStringLiteral(LYRABOX_E2E_DB_DIR)});
}

void RoomTest::startDatabase() {
    if (RunServerScript({QStringLiteral("start"), QStringLiteral(LYRABOX_E2E_DB_DIR), SettingIni(),
                         QStringLiteral("--account"), QStringLiteral(LYRABOX_DB_ACCOUNT_FILE)})) {
        ConnectAdmin();
    }
}

void RoomTest::restartDatabase() {
    stopDatabase();
    startDatabase();
}

void RoomTest::freezeDatabase() {
    QFile pidFile(QStringLiteral(LYRABOX_E2E_DB_DIR "/mysqld.pid"));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly)) << "the server's pid file";
    const qint64 pid = QString::fromLatin1(pidFile.readAll()).trimmed().toLongLong();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGSTOP), 0);
    frozenServer_ = pid;
}

void RoomTest::thawDatabase() {
    if (frozenServer_ > 0) {
        ::kill(static_cast<pid_t>(frozenServer_), SIGCONT);
        frozenServer_ = 0;
    }
}

QStringList RoomTest::logFiles() const {
    QStringList texts;
    const QDir logs(folder.filePath(QStringLiteral("log")));
    for (const QString& name : logs.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(logs.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            texts << QString::fromUtf8(file.readAll());
        }
    }
    return texts;
}

}  // namespace e2e
