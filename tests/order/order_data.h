#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "support/admin_db.h"

namespace ordertest {

// Rooms and menu of the ordering tests, under names and ids no other rows use.
// Orders are placed on days of 2001 (numbers "RO01..."), which no real order
// carries, so that each test starts from days without orders.
struct Room {
    int idkamar;
    QString namakamar;
    QString orderid;
};
inline const Room kRoomA{7101, QStringLiteral("ORDER ROOM A"), QStringLiteral("BILL-7101")};
inline const Room kRoomB{7102, QStringLiteral("ORDER ROOM B"), QStringLiteral("BILL-7102")};
inline constexpr int kDrinks = 7101;      // three items
inline constexpr int kNothingYet = 7102;  // no active item
inline constexpr int kRushRooms = 20;     // "ORDER RUSH 01" ... "ORDER RUSH 20"
Room RushRoom(int i);                     // i from 1

// Puts the rooms and the menu in place and removes every test order; the
// destructor removes them all again.
class OrderData {
public:
    OrderData();
    ~OrderData();
    OrderData(const OrderData&) = delete;
    OrderData& operator=(const OrderData&) = delete;

    // Heads of one day as co, idroom, jamorder, catatan, status; by number.
    QList<QStringList> heads(const QDate& day);
    // Lines of one order as idmenu, qty, idorder, catatan; in the order written.
    QList<QStringList> lines(const QString& co);
    int lineCount(const QDate& day);
    void removeOrders();

    testsupport::AdminDb admin{testsupport::AdminDb::transaksiDatabase()};
};

// "RO" + yyMMdd + sequence.
QString OrderNumber(const QDate& day, int sequence);

}  // namespace ordertest
