// Verifying and submitting an order from the console window, against the
// transaction database.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>

#include "app/adoconnection.h"
#include "order_panel.h"
#include "support/qt_printers.h"

namespace ordertest {
namespace {

using Submission = OrderPanelTest;

QStringList Head(const QString& co, const Room& room, const QString& catatan) {
    return {co, QString::number(room.idkamar), "2001-02-03 10:20:30", catatan, "1"};
}

TEST_F(Submission, NextOrderAsksForFourRandomCapitals) {
    Tfplayer& c = console();
    const QRegularExpression fourCapitals("^[A-Z]{4}$");
    QStringList codes;
    for (int i = 0; i < 5; ++i) {
        c.AeVeryfy->setText("XX");
        c.AdvSmoothButton3Click();
        EXPECT_FALSE(c.PnlVerify->isHidden());
        EXPECT_TRUE(fourCapitals.match(c.LblVerify->text()).hasMatch()) << c.LblVerify->text();
        EXPECT_EQ(c.AeVeryfy->text(), "");
        codes << c.LblVerify->text();
        c.AdvBackClick();
        EXPECT_TRUE(c.PnlVerify->isHidden());
        EXPECT_FALSE(c.PanelOrder->isHidden());
    }
    codes.removeDuplicates();
    EXPECT_GT(codes.size(), 1) << "each opening makes a new code";
}

TEST_F(Submission, AWrongCodeTurnsTheFieldYellowAndWritesNothing) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    c.AdvSmoothButton3Click();
    const QString code = c.LblVerify->text();
    const QColor before = c.AeVeryfy->palette().color(QPalette::Base);
    ASSERT_NE(before, QColor(Qt::yellow));
    for (const QString& typed :
         {QString(), code.left(3), code.left(3) + (code[3] == 'A' ? "B" : "A")}) {
        c.AeVeryfy->setText(typed);
        c.AdvOKClick();
        EXPECT_EQ(c.AeVeryfy->palette().color(QPalette::Base), QColor(Qt::yellow)) << typed;
        EXPECT_FALSE(c.PnlVerify->isHidden());
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(data.heads(orderDay()).isEmpty());
}

// The guest sees the yellow: the field as painted, not only its palette.
TEST_F(Submission, AWrongCodeIsPaintedYellowUntilTheNextGuest) {
    Tfplayer& c = console();
    const auto paintedBackground = [&] {
        const QImage painted = c.AeVeryfy->grab().toImage();
        // Inside the frame, left of the centred text.
        return painted.pixelColor(6, painted.height() / 2);
    };
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    c.AdvSmoothButton3Click();
    EXPECT_NE(paintedBackground(), QColor(Qt::yellow));

    c.AeVeryfy->setText("ZZZZ" == c.LblVerify->text() ? "YYYY" : "ZZZZ");
    c.AdvOKClick();
    EXPECT_EQ(paintedBackground(), QColor(Qt::yellow));
    // It stays through later codes and openings of the same order.
    c.AdvBackClick();
    c.AdvSmoothButton3Click();
    EXPECT_EQ(paintedBackground(), QColor(Qt::yellow));

    c.ForgetPreviousGuest();
    c.OpenOrderPanel();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    c.AdvSmoothButton3Click();
    EXPECT_NE(paintedBackground(), QColor(Qt::yellow));
}

// Whatever field had the focus before "Next Order", the keys of the open
// verification go to the code and nowhere else.
TEST_F(Submission, TheVerificationKeysTypeIntoTheCodeOnly) {
    Tfplayer& c = console();
    TouchKeyboard* keyboard = c.AdvSmoothTouchKeyBoard2;
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1, "HOT");
    c.CattOrderan->setPlainText("MEJA 2");
    openMenuItem("T7-WATER");
    c.Catatan->setText("COLD");
    for (QWidget* focused : {static_cast<QWidget*>(c.CattOrderan), static_cast<QWidget*>(c.Catatan),
                             static_cast<QWidget*>(c.edtcari)}) {
        SCOPED_TRACE(focused->objectName().toStdString());
        c.AdvSmoothButton3Click();
        focused->setFocus();
        for (const QChar letter : c.LblVerify->text()) {
            QTest::mouseClick(keyboard, Qt::LeftButton, Qt::NoModifier,
                              keyboard->keyRect(QString(letter)).center());
        }
        EXPECT_EQ(c.AeVeryfy->text(), c.LblVerify->text());
        EXPECT_EQ(c.CattOrderan->toPlainText(), "MEJA 2");
        EXPECT_EQ(c.Catatan->text(), "COLD");
        c.AdvBackClick();
    }
}

TEST_F(Submission, ACodeTypedInLowerCaseMatches) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    c.AdvSmoothButton3Click();
    QTest::keyClicks(c.AeVeryfy, c.LblVerify->text().toLower());
    EXPECT_EQ(c.AeVeryfy->text(), c.LblVerify->text());
    c.AdvOKClick();
    EXPECT_EQ(data.heads(orderDay()).size(), 1);
    EXPECT_TRUE(c.PnlVerify->isHidden());
}

TEST_F(Submission, AnEmptyOrderDoesNothing) {
    Tfplayer& c = console();
    verifyWithRightCode();
    c.AdvOKClick();
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_FALSE(c.PnlVerify->isHidden());
    EXPECT_FALSE(c.PanelOrder->isHidden());
    EXPECT_TRUE(data.heads(orderDay()).isEmpty());
}

TEST_F(Submission, ARoomThatMayNotOrderIsToldSoAndNothingIsWritten) {
    Tfplayer& c = console();
    const char* rooms[] = {"NO SUCH ROOM", "ORDER ROOM IDLE", "ORDER ROOM UNSOLD",
                           "ORDER ROOM TWIN"};
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 2, "HOT");
    for (const char* room : rooms) {
        platform.messages.clear();
        c.Sys_Room->setText(room);
        verifyWithRightCode();
        c.AdvOKClick();
        EXPECT_EQ(platform.messages, QStringList{"ROOM ANDA TIDAK CHECKIN"}) << room;
        EXPECT_FALSE(c.PnlVerify->isHidden()) << room;
        EXPECT_FALSE(c.PanelOrder->isHidden()) << room;
        EXPECT_EQ(orderTable(), (QList<QStringList>{{"T7-TEA", "2", "HOT", "T7 TEA", "1"}}));
    }
    EXPECT_TRUE(data.heads(orderDay()).isEmpty());
    EXPECT_EQ(data.lineCount(orderDay()), 0);
}

TEST_F(Submission, OrdersOfADayAreNumberedInOneSequenceWhicheverRoomPlacesThem) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 2, "LESS SUGAR");
    orderItem("T7-WATER", 1);
    c.CattOrderan->setPlainText("TABLE BY THE DOOR");
    verifyWithRightCode();
    c.AdvOKClick();
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n');
    EXPECT_TRUE(c.PnlVerify->isHidden());
    EXPECT_TRUE(c.PanelOrder->isHidden());
    EXPECT_EQ(c.vtorder.recordCount(), 2) << "the order stays until the panel opens again";

    skinCommand("emenu");
    c.Sys_Room->setText(kRoomB.namakamar);
    chooseCategory(kDrinks);
    orderItem("T7-COMBO", 3);
    verifyWithRightCode();
    c.AdvOKClick();

    const QString first = OrderNumber(orderDay(), 1);
    const QString second = OrderNumber(orderDay(), 2);
    EXPECT_EQ(first, "RO0102030001");
    EXPECT_EQ(data.heads(orderDay()), (QList<QStringList>{Head(first, kRoomA, "TABLE BY THE DOOR"),
                                                          Head(second, kRoomB, "")}));
    EXPECT_EQ(data.lines(first), (QList<QStringList>{{"T7-TEA", "2", "BILL-7101", "LESS SUGAR"},
                                                     {"T7-WATER", "1", "BILL-7101", ""}}));
    EXPECT_EQ(data.lines(second), (QList<QStringList>{{"T7-COMBO", "3", "BILL-7102", ""}}));
}

TEST_F(Submission, TheSequenceFollowsTheDaysHighestNumber) {
    Tfplayer& c = console();
    const struct {
        QStringList existing;  // numbers already filed
        int next;
    } cases[] = {
        {{}, 1},
        {{"RO0102030041"}, 42},
        {{"RO0102030009", "RO0102030010"}, 11},
        // Other days' numbers do not count.
        {{"RO0102020077", "RO0102040005"}, 1},
    };
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    for (const auto& day : cases) {
        data.removeOrders();
        for (const QString& co : day.existing) {
            data.admin.exec(
                "INSERT INTO torder_room (co, idroom, jamorder, catatan, status) "
                "VALUES ('" +
                co + "', 1, '2001-02-01', '', 1)");
        }
        verifyWithRightCode();
        c.AdvOKClick();
        EXPECT_EQ(data.lines(OrderNumber(orderDay(), day.next)).size(), 1)
            << day.existing.join(' ');
    }
}

TEST_F(Submission, NotesAreStoredExactlyAsTyped) {
    Tfplayer& c = console();
    const QString orderNote = "O'BRIEN'S TABLE \\ 100% \"FAST\"\nSECOND LINE\n\nFOURTH \\'";
    const QString rowNote = "NO 'ICE' \\N _%";
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1, rowNote);
    c.CattOrderan->setPlainText(orderNote);
    verifyWithRightCode();
    c.AdvOKClick();
    const QString co = OrderNumber(orderDay(), 1);
    ASSERT_EQ(data.heads(orderDay()).size(), 1) << platform.messages.join('\n');
    EXPECT_EQ(data.heads(orderDay())[0][3], orderNote);
    EXPECT_EQ(data.lines(co)[0][3], rowNote);
}

TEST_F(Submission, AFailureAfterTheHeadLeavesNothingAndOkTriesAgain) {
    Tfplayer& c = console();
    // The kitchen's system refuses the second line of any test order.
    data.admin.exec(
        "CREATE OR REPLACE TRIGGER t7_second_line BEFORE INSERT ON torderroom_rinci FOR EACH ROW "
        "BEGIN IF NEW.co LIKE 'RO01%' AND (SELECT COUNT(*) FROM torderroom_rinci WHERE co = "
        "NEW.co) "
        ">= 1 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'kitchen printer offline'; END IF; "
        "END");
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1, "FIRST");
    orderItem("T7-WATER", 2, "SECOND");
    c.CattOrderan->setPlainText("WHOLE OR NOTHING");
    verifyWithRightCode();
    c.AdvOKClick();
    data.admin.exec("DROP TRIGGER t7_second_line");

    // Said on the panel where the guest looks, the server's words in the log.
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();
    EXPECT_FALSE(c.LblOrderNotice->isHidden());
    EXPECT_EQ(c.LblOrderNotice->text(), Tfplayer::OrderNotSentNotice());
    EXPECT_TRUE(c.MemLog->toPlainText().contains(" =>Order kitchen printer offline"))
        << c.MemLog->toPlainText().toStdString();
    EXPECT_TRUE(data.heads(orderDay()).isEmpty());
    EXPECT_EQ(data.lineCount(orderDay()), 0);
    EXPECT_FALSE(c.module().ADOTransaksi.InTransaction());
    EXPECT_FALSE(c.PnlVerify->isHidden());
    EXPECT_FALSE(c.PanelOrder->isHidden());
    EXPECT_EQ(orderNumbers(), (QList<int>{1, 2}));
    EXPECT_EQ(c.CattOrderan->toPlainText(), "WHOLE OR NOTHING");

    c.AdvOKClick();
    const QString co = OrderNumber(orderDay(), 1);
    EXPECT_EQ(data.heads(orderDay()), (QList<QStringList>{Head(co, kRoomA, "WHOLE OR NOTHING")}));
    EXPECT_EQ(data.lines(co), (QList<QStringList>{{"T7-TEA", "1", "BILL-7101", "FIRST"},
                                                  {"T7-WATER", "2", "BILL-7101", "SECOND"}}));
    EXPECT_TRUE(c.PanelOrder->isHidden());
}

// With the transaction server out of reach the order is not sent, the guest
// reads so on the panel, and nothing of the composed order is lost.
TEST_F(Submission, AnOrderWithTheServerAwayIsKeptAndSaidNotSent) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1, "FIRST");
    c.CattOrderan->setPlainText("MEJA 2");
    verifyWithRightCode();
    const QString code = c.LblVerify->text();
    const QString host = c.module().ServerTransaksi;
    c.module().ADOTransaksi.Close();
    c.module().ServerTransaksi = QStringLiteral("127.0.0.1:1");

    c.AdvOKClick();

    EXPECT_FALSE(c.LblOrderNotice->isHidden());
    EXPECT_TRUE(platform.messages.isEmpty()) << platform.messages.join('\n').toStdString();
    EXPECT_FALSE(c.PnlVerify->isHidden());
    EXPECT_EQ(c.LblVerify->text(), code);
    EXPECT_EQ(c.AeVeryfy->text(), code);
    EXPECT_EQ(c.CattOrderan->toPlainText(), "MEJA 2");
    EXPECT_EQ(c.vtorder.recordCount(), 1);

    c.module().ServerTransaksi = host;
    c.AdvOKClick();
    EXPECT_EQ(data.heads(orderDay()).size(), 1);
    EXPECT_TRUE(c.PanelOrder->isHidden());
}

TEST_F(Submission, TheOrderTakesItsDateOnceEvenAcrossMidnight) {
    Tfplayer& c = console();
    int reads = 0;
    c.SetOrderClock([&reads] {
        // Each read of the clock is a moment later, the second one past midnight.
        return QDateTime(QDate(2001, 2, 5), QTime(23, 59, 59)).addSecs(reads++);
    });
    data.admin.exec(
        "INSERT INTO torder_room (co, idroom, jamorder, catatan, status) VALUES "
        "('RO0102050007', 1, '2001-02-05 20:00:00', '', 1)");
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    verifyWithRightCode();
    c.AdvOKClick();
    EXPECT_EQ(data.heads(QDate(2001, 2, 5)).last(),
              (QStringList{"RO0102050008", "7101", "2001-02-05 23:59:59", "", "1"}));
    EXPECT_TRUE(data.heads(QDate(2001, 2, 6)).isEmpty());
}

// A console as made, with the system clock: the order is numbered and timed
// by today, after whatever other orders today already holds.
class SystemClockOrder : public testsupport::ConsoleFixture {
protected:
    OrderData data;
};

TEST_F(SystemClockOrder, IsNumberedAndTimedNow) {
    Tfplayer& c = console();
    c.Sys_Room->setText(kRoomA.namakamar);
    c.AdvCategory->addItem({.notes = "<html>T7 DRINKS</html>", .tag = kDrinks});
    skinCommand("emenu");
    c.AdvCategoryItemClick(0);
    c.AdvItemGraphicRightClick(0);
    c.addOrderClick();
    c.AdvSmoothButton3Click();
    c.AeVeryfy->setText(c.LblVerify->text());

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString today = "RO" + before.date().toString("yyMMdd");
    const int highest =
        data.admin
            .scalar("SELECT COALESCE(MAX(RIGHT(co, 4)), 0) FROM torder_room WHERE co LIKE '" +
                    today + "%'")
            .toInt();
    c.AdvOKClick();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QList<QStringList> placed = data.admin.rows(
        "SELECT co, DATE_FORMAT(jamorder, '%Y-%m-%d %H:%i:%s') FROM torder_room "
        "WHERE idroom = 7101 AND co NOT LIKE 'RO01%'");
    ASSERT_EQ(placed.size(), 1) << platform.messages.join('\n').toStdString();
    data.admin.exec("DELETE FROM torder_room WHERE co = '" + placed[0][0] + "'");
    EXPECT_EQ(placed[0][0], today + QString("%1").arg(highest + 1, 4, 10, QLatin1Char('0')));
    const QDateTime jamorder = QDateTime::fromString(placed[0][1], "yyyy-MM-dd HH:mm:ss");
    EXPECT_LE(before, jamorder);
    EXPECT_LE(jamorder, after);
}

}  // namespace
}  // namespace ordertest
