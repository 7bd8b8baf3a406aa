// The submission on its own connections: the statements, the numbering when
// numbers are taken, and many rooms ordering at the same moment.
#include <gtest/gtest.h>

#include <QSet>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

#include "app/adocommand.h"
#include "app/adoconnection.h"
#include "app/dberror.h"
#include "app/umodule.h"
#include "console/ordersubmission.h"
#include "order_data.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace ordertest {
namespace {

TEST(OrderStatementTest, TextsAreExactlyAsTheDatabaseExpectsThem) {
    const QDate day(2024, 3, 9);
    const QDateTime at(day, QTime(7, 5, 3));
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {TOrderSubmission::RoomCheckText("ROOM 'B'"),
         "select idkamar, namakamar, orderid from kamar where jual=1 and statuschekin=1 and "
         "namakamar = 'ROOM ''B'''"},
        {TOrderSubmission::HighestNumberText(day),
         " SELECT MAX(RIGHT(co, 4)) AS id  FROM  torder_room  WHERE  (co LIKE 'RO240309%')"},
        {TOrderSubmission::HeadText("RO2403090012", 7, at, "IT'S\nME"),
         "INSERT INTO torder_room (co, idroom, jamorder, catatan, status) VALUES "
         "('RO2403090012', 7,'2024-03-09 07:05:03', 'IT''S\nME', 1)"},
        {TOrderSubmission::LineText("RO2403090012", {"MN'1", 3, "A\\B"}, "BILL-'9"),
         "INSERT INTO torderroom_rinci (co, idmenu, qty, idorder, catatan) VALUES  "
         "('RO2403090012', 'MN''1', 3,'BILL-''9','A\\B');"},
        {TOrderSubmission::OrderNumber(day, 1), "RO2403090001"},
        {TOrderSubmission::OrderNumber(day, 9999), "RO2403099999"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }
}

TEST(OrderStatementTest, TheDaysHighestNumberReadsAsZeroWhenItIsNoNumber) {
    const struct {
        QString id;
        int value;
    } cases[] = {{"", 0}, {"0041", 41}, {"9999", 9999}, {"00A1", 0}, {"-001", 0}, {" 12 ", 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(TOrderSubmission::SequenceValue(c.id), c.value) << c.id;
    }
}

// A submission through a connection of its own, as another console has.
class Console {
public:
    explicit Console(const QString& connectionString) {
        connection.SetConnectionString(connectionString);
    }
    TAdoConnection connection{"ADOTransaksi"};
    TAdoCommand Adosave{"Adosave", &connection, TAdoCommand::Kind::Query};
};

class OrderSubmissionTest : public ::testing::Test {
protected:
    TOrderSubmission::Result submit(const Room& room, const QList<TOrderLine>& lines,
                                    const QDate& day) {
        return TOrderSubmission(console.Adosave)
            .Submit(room.namakamar, "", lines, QDateTime(day, QTime(12, 0)));
    }
    void file(const QStringList& numbers) {
        for (const QString& co : numbers) {
            data.admin.exec(
                "INSERT INTO torder_room (co, idroom, jamorder, catatan, status) "
                "VALUES ('" +
                co + "', 1, '2001-01-01', '', 1)");
        }
    }

    testsupport::ProgramFolder folder;
    Tfmodule module;
    OrderData data;
    Console console{module.TransaksiConnectionString()};
};

TEST_F(OrderSubmissionTest, ANumberAlreadyTakenGivesWayToTheNextOne) {
    const QDate day(2001, 3, 1);
    // The day's highest number reads as no number, so the submission starts at
    // 0001, which another console filed already, and so is 0002.
    file({"RO0103010001", "RO0103010002", "RO010301000X"});
    const auto result = submit(kRoomA, {{"T7-TEA", 1, "HOT"}}, day);
    EXPECT_EQ(result.outcome, TOrderSubmission::Outcome::Submitted);
    EXPECT_EQ(result.co, "RO0103010003");
    EXPECT_EQ(data.lines("RO0103010003"),
              (QList<QStringList>{{"T7-TEA", "1", "BILL-7101", "HOT"}}));
    EXPECT_TRUE(data.lines("RO0103010001").isEmpty());
}

TEST_F(OrderSubmissionTest, WhenNoNumberIsLeftTheOrderIsRefusedWhole) {
    struct Case {
        QDate day;
        QStringList taken;
        QString message;
    };
    QStringList hundred{"RO010302ZZZZ"};
    for (int i = 1; i <= TOrderSubmission::kMaxNumberAttempts; ++i) {
        hundred << OrderNumber(QDate(2001, 3, 2), i);
    }
    const Case cases[] = {
        {QDate(2001, 3, 2), hundred, "RO0103020001 to RO0103020100 are all taken"},
        {QDate(2001, 3, 3), {"RO0103039999"}, "All 9999 order numbers of 2001-03-03 are taken"},
    };
    for (const Case& c : cases) {
        file(c.taken);
        try {
            submit(kRoomA, {{"T7-TEA", 1, ""}}, c.day);
            ADD_FAILURE() << "no number was free on " << c.day.toString().toStdString();
        } catch (const std::exception& error) {
            EXPECT_TRUE(QString(error.what()).contains(c.message)) << error.what();
        }
        EXPECT_EQ(data.heads(c.day).size(), c.taken.size());
        EXPECT_EQ(data.lineCount(c.day), 0);
        EXPECT_FALSE(console.connection.InTransaction());
    }
}

TEST_F(OrderSubmissionTest, ALostConnectionSavesNothingAndTheNextOrderGoesThrough) {
    const QDate day(2001, 3, 4);
    data.admin.exec(
        "CREATE OR REPLACE TRIGGER t7_lost_line BEFORE INSERT ON torderroom_rinci FOR EACH ROW "
        "BEGIN IF NEW.idmenu = 'T7-LOST' THEN SET @t7 = SLEEP(30); END IF; END");
    // Another session ends this console's session while its second line waits.
    std::thread killer([this] {
        testsupport::AdminDb admin(testsupport::AdminDb::transaksiDatabase());
        for (int i = 0; i < 200; ++i) {
            const QList<QStringList> waiting = admin.rows(
                "SELECT id FROM information_schema.processlist WHERE info LIKE '%@t7 = SLEEP%' "
                "AND id <> CONNECTION_ID()");
            if (!waiting.isEmpty()) {
                admin.exec("KILL CONNECTION " + waiting[0][0]);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    EXPECT_THROW(submit(kRoomA, {{"T7-TEA", 1, ""}, {"T7-LOST", 1, ""}}, day), EDatabaseError);
    killer.join();
    data.admin.exec("DROP TRIGGER t7_lost_line");
    EXPECT_TRUE(data.heads(day).isEmpty());
    EXPECT_EQ(data.lineCount(day), 0);

    const auto again = submit(kRoomA, {{"T7-TEA", 1, ""}}, day);
    EXPECT_EQ(again.co, "RO0103040001");
    EXPECT_EQ(data.lines(again.co).size(), 1);
}

TEST_F(OrderSubmissionTest, RoomsOrderingAtOnceGetDistinctNumbersAndWholeOrders) {
    const QDate day(2001, 3, 5);
    const QString connectionString = module.TransaksiConnectionString();
    struct Outcome {
        QString co;
        QString error;
    };
    std::vector<Outcome> outcomes(kRushRooms);
    std::latch ready(kRushRooms);
    std::vector<std::thread> rooms;
    for (int i = 0; i < kRushRooms; ++i) {
        rooms.emplace_back([&, i] {
            const Room room = RushRoom(i + 1);
            Console own(connectionString);
            try {
                own.connection.Open();
            } catch (const std::exception& error) {
                outcomes[i].error = error.what();
            }
            // Every room's connection is open before the first order goes.
            ready.arrive_and_wait();
            if (!outcomes[i].error.isEmpty()) {
                return;
            }
            try {
                const auto result = TOrderSubmission(own.Adosave)
                                        .Submit(room.namakamar, room.namakamar,
                                                {{"T7-TEA", i + 1, room.orderid},
                                                 {"T7-WATER", 1, ""},
                                                 {"T7-COMBO", 2, "X"}},
                                                QDateTime(day, QTime(21, 0)));
                outcomes[i].co = result.co;
            } catch (const std::exception& error) {
                outcomes[i].error = error.what();
            }
        });
    }
    for (std::thread& room : rooms) {
        room.join();
    }

    QSet<QString> numbers;
    for (int i = 0; i < kRushRooms; ++i) {
        const Room room = RushRoom(i + 1);
        ASSERT_TRUE(outcomes[i].error.isEmpty()) << room.namakamar << ": " << outcomes[i].error;
        numbers.insert(outcomes[i].co);
        EXPECT_EQ(
            data.lines(outcomes[i].co),
            (QList<QStringList>{{"T7-TEA", QString::number(i + 1), room.orderid, room.orderid},
                                {"T7-WATER", "1", room.orderid, ""},
                                {"T7-COMBO", "2", room.orderid, "X"}}))
            << room.namakamar;
    }
    QSet<QString> expected;
    for (int i = 1; i <= kRushRooms; ++i) {
        expected.insert(OrderNumber(day, i));
    }
    EXPECT_EQ(numbers, expected);
    const QList<QStringList> heads = data.heads(day);
    ASSERT_EQ(heads.size(), kRushRooms);
    for (const QStringList& head : heads) {
        const int i = head[1].toInt() - 7120;
        EXPECT_EQ(head[0], outcomes[i - 1].co);
        EXPECT_EQ(head[3], RushRoom(i).namakamar);
    }
}

}  // namespace
}  // namespace ordertest
