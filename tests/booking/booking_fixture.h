#pragma once

#include <QDateTime>
#include <QString>

#include "support/admin_db.h"
#include "support/console_fixture.h"

namespace testsupport {

// A port on 127.0.0.1 that nothing listens on.
QString ClosedPort();

// A console on its standby screen as the start-up leaves it, with rooms of its
// own in the booking records (songs database) and the check-in codes
// (authentication database): ids from 700 on, removed again afterwards. The
// codes lead to the scripted room player.
class BookingFixture : public ConsoleFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    struct Room {
        int id = 0;
        QString code{};
        QString name{};
        int status = 1;
        int players = 1;
        QDateTime jam{};  // null: no time recorded
        QString user{};
        int durasi = 120;
        QString channel = QStringLiteral("CH-A");
    };
    // Adds the room's booking record and check-in code.
    void addRoom(const Room& room);
    // Changes columns of a room's booking record, e.g. "status = 0".
    void updateRoom(int id, const QString& assignments);

    // Runs the start-up step (four ticks) and shows the standby screen.
    void startUp();
    // Types code into the check-in field and taps START.
    void checkIn(const QString& code);
    // Ticks of the preparation sequence and the booking clock.
    void preparationTicks(int n);
    void clockTicks(int n);
    // The songs database out of reach for the console from now on; the
    // authentication database stays.
    void cutSongsDatabase();

    bool standbyShown() { return !console().pnlStanby->isHidden(); }
    bool loadingShown() { return !console().AdvPanel1->isHidden(); }

    AdminDb songs{AdminDb::songsDatabase()};
    AdminDb authen{QStringLiteral("authentification")};
    // The console's clock, when a test sets it.
    QDateTime now = QDateTime::currentDateTime();
};

}  // namespace testsupport
