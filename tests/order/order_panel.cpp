#include "order_panel.h"

#include <QLocale>

namespace ordertest {

void OrderPanelTest::SetUp() {
    ConsoleFixture::SetUp();
    QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    console().Sys_Room->setText(kRoomA.namakamar);
    console().SetOrderClock([] { return QDateTime(orderDay(), QTime(10, 20, 30)); });
    // The categories as the start-up lists them.
    console().AdvCategory->addItem(
        {.notes = QStringLiteral("<html>T7 DRINKS</html>"), .tag = kDrinks});
    console().AdvCategory->addItem(
        {.notes = QStringLiteral("<html>T7 NOTHING YET</html>"), .tag = kNothingYet});
    skinCommand(QStringLiteral("emenu"));
}

void OrderPanelTest::TearDown() {
    QLocale::setDefault(QLocale::system());
    ConsoleFixture::TearDown();
}

namespace {

// The index of the first row of list that matches; -1 when none does.
template <class Match>
int RowWhere(const SmoothListBox& list, Match match) {
    for (int i = 0; i < list.count(); ++i) {
        if (match(list.item(i))) {
            return i;
        }
    }
    return -1;
}

}  // namespace

void OrderPanelTest::chooseCategory(int id) {
    const int row = RowWhere(*console().AdvCategory, [id](auto& item) { return item.tag == id; });
    ASSERT_GE(row, 0) << "no category " << id;
    console().AdvCategoryItemClick(row);
}

void OrderPanelTest::openMenuItem(const QString& idmenu) {
    const int row = RowWhere(*console().AdvItem, [&](auto& item) { return item.hint == idmenu; });
    ASSERT_GE(row, 0) << "no menu item " << idmenu.toStdString();
    console().AdvItemGraphicRightClick(row);
}

void OrderPanelTest::openOrderRow(int number) {
    const int row = RowWhere(*console().AdvOrder, [=](auto& item) { return item.tag == number; });
    ASSERT_GE(row, 0) << "no order row " << number;
    console().AdvOrderGraphicRightClick(row);
}

void OrderPanelTest::orderItem(const QString& idmenu, int qty, const QString& note) {
    openMenuItem(idmenu);
    for (int i = 1; i < qty; ++i) {
        console().BtPlusOrderClick();
    }
    console().Catatan->setText(note);
    console().addOrderClick();
}

void OrderPanelTest::verifyWithRightCode() {
    console().AdvSmoothButton3Click();
    console().AeVeryfy->setText(console().LblVerify->text());
}

QStringList OrderPanelTest::orderNotes() {
    QStringList notes;
    for (int i = 0; i < console().AdvOrder->count(); ++i) {
        notes << console().AdvOrder->item(i).notes;
    }
    return notes;
}

QList<int> OrderPanelTest::orderNumbers() {
    QList<int> numbers;
    for (int i = 0; i < console().AdvOrder->count(); ++i) {
        numbers << console().AdvOrder->item(i).tag;
    }
    return numbers;
}

QList<QStringList> OrderPanelTest::orderTable() {
    Tfplayer& c = console();
    QList<QStringList> rows;
    for (c.vtorder.first(); !c.vtorder.eof(); c.vtorder.next()) {
        rows << QStringList{c.vtorderidmenu.asText(), QString::number(c.vtorderqty.asInteger()),
                            c.vtordercatatan.asText(), c.vtordermenu.asText(),
                            QString::number(c.vtordernumber.asInteger())};
    }
    return rows;
}

}  // namespace ordertest
