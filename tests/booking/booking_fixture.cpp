#include "booking_fixture.h"

#include <QTcpServer>

#include "app/sqltext.h"
#include "app/umodule.h"

namespace testsupport {

namespace {

const QString kOwnRooms = QStringLiteral("idroom BETWEEN 700 AND 799");

}  // namespace

void BookingFixture::SetUp() {
    ConsoleFixture::SetUp();
    songs.exec(QStringLiteral("DELETE FROM room WHERE ") + kOwnRooms);
    authen.exec(QStringLiteral("DELETE FROM remote WHERE ") + kOwnRooms);
    console().Now = [this] { return now; };
}

void BookingFixture::TearDown() {
    songs.exec(QStringLiteral("DELETE FROM room WHERE ") + kOwnRooms);
    authen.exec(QStringLiteral("DELETE FROM remote WHERE ") + kOwnRooms);
    // The window's goodbye goes to the scripted room player, whatever room the
    // test left behind.
    console().SYS_IP->setText(room.host());
    console().Sys_Port->setValue(room.port());
    console().perintahSucces = 1;
    ConsoleFixture::TearDown();
}

void BookingFixture::addRoom(const Room& r) {
    const QString jam =
        r.jam.isNull() ? QStringLiteral("NULL")
                       : sqltext::QuotedStr(r.jam.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    songs.exec(QStringLiteral("INSERT INTO room (idroom, namaroom, status, players, jam, durasi, "
                              "user) VALUES (%1, %2, %3, %4, %5, %6, %7)")
                   .arg(r.id)
                   .arg(sqltext::QuotedStr(r.name))
                   .arg(r.status)
                   .arg(r.players)
                   .arg(jam)
                   .arg(r.durasi)
                   .arg(sqltext::QuotedStr(r.user)));
    authen.exec(QStringLiteral("INSERT INTO remote (kode, idroom, port, channel, ip_address) "
                               "VALUES (%1, %2, %3, %4, %5)")
                    .arg(sqltext::QuotedStr(r.code))
                    .arg(r.id)
                    .arg(room.port())
                    .arg(sqltext::QuotedStr(r.channel))
                    .arg(sqltext::QuotedStr(room.host())));
}

void BookingFixture::updateRoom(int id, const QString& assignments) {
    songs.exec(QStringLiteral("UPDATE room SET %1 WHERE idroom = %2").arg(assignments).arg(id));
}

void BookingFixture::startUp() {
    Tfplayer& c = console();
    c.preparationTimer = 0;
    c.AdvPanel1->show();
    c.setEnabled(false);
    c.pnlStanby->show();
    preparationTicks(4);
    ASSERT_TRUE(c.isEnabled()) << logEntries().join('\n').toStdString();
    clearRecords();
}

void BookingFixture::checkIn(const QString& code) {
    console().edtscan->setText(code);
    console().AdvSmoothButton5->click();
}

void BookingFixture::preparationTicks(int n) {
    for (int i = 0; i < n; ++i) {
        console().TimerPreparationTimer();
    }
}

void BookingFixture::clockTicks(int n) {
    for (int i = 0; i < n; ++i) {
        console().TmrHandleTimer();
    }
}

QString ClosedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return QString::number(port);
}

void BookingFixture::cutSongsDatabase() {
    // The server still answers for the check-in codes; the songs database is gone.
    module->DatabaseLagu = QStringLiteral("no_such_songs_database");
    module->AdoConn.Close();
}

}  // namespace testsupport
