#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "order_data.h"
#include "support/console_fixture.h"

namespace ordertest {

// A console serving kRoomA with the test menu's categories listed, prices
// shown the Indonesian way, and orders placed on a fixed day of 2001.
class OrderPanelTest : public testsupport::ConsoleFixture {
protected:
    static QDate orderDay() { return QDate(2001, 2, 3); }

    void SetUp() override;
    void TearDown() override;

    // The way the guest does it.
    void chooseCategory(int id);
    void openMenuItem(const QString& idmenu);
    void openOrderRow(int number);
    // Opens the item, sets quantity and note, and taps "Add Order".
    void orderItem(const QString& idmenu, int qty, const QString& note = QString());
    // "Next Order" and the code typed back.
    void verifyWithRightCode();

    QStringList orderNotes();
    QList<int> orderNumbers();
    // The order table's rows as idmenu, qty, catatan, menu, number.
    QList<QStringList> orderTable();

    OrderData data;
};

}  // namespace ordertest
