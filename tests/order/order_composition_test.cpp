// Composing an order: the menu by category, the detail panel, and the order
// table with its list, against the test menu in the transaction database.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>

#include "order_panel.h"
#include "support/qt_printers.h"

namespace ordertest {
namespace {

using Composition = OrderPanelTest;

const QString kTeaNotes = QStringLiteral("<html>T7 TEA<br><IND x=\"250\">Rp. 25.000</html>");

TEST(OrderPriceTest, WholeUnitsGroupedByThreeWithTheLocalesSeparator) {
    const struct {
        QLocale locale;
        double price;
        QString text;
    } cases[] = {
        {QLocale(QLocale::Indonesian, QLocale::Indonesia), 25000, "25.000"},
        {QLocale(QLocale::Indonesian, QLocale::Indonesia), 1234567.5, "1.234.568"},
        {QLocale(QLocale::Indonesian, QLocale::Indonesia), 999.49, "999"},
        {QLocale(QLocale::Indonesian, QLocale::Indonesia), 0, "0"},
        {QLocale(QLocale::Indonesian, QLocale::Indonesia), -1500, "-1.500"},
        {QLocale(QLocale::English, QLocale::UnitedStates), 25000, "25,000"},
        {QLocale(QLocale::English, QLocale::UnitedStates), 100000, "100,000"},
        {QLocale::c(), 2500, "2,500"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(Tfplayer::PriceText(c.price), c.text) << c.locale.name() << " " << c.price;
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(Composition, OpeningThePanelEmptiesTheOrderButKeepsTheCategories) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 2, "HOT");
    c.CattOrderan->setPlainText("FOR THE BIRTHDAY");
    c.AdvSmoothButton4Click();
    EXPECT_TRUE(c.PanelOrder->isHidden());
    EXPECT_EQ(c.vtorder.recordCount(), 1) << "cancel keeps the order until the panel opens again";

    const struct {
        const char* how;
        std::function<void()> open;
    } openings[] = {{"skin command", [&] { skinCommand("emenu"); }},
                    {"diagnostic button", [&] { c.Button2->click(); }}};
    for (const auto& opening : openings) {
        chooseCategory(kDrinks);
        orderItem("T7-TEA", 1);
        c.CattOrderan->setPlainText("NOTE");
        c.AdvSmoothButton4Click();
        opening.open();
        EXPECT_FALSE(c.PanelOrder->isHidden()) << opening.how;
        EXPECT_EQ(c.vtorder.recordCount(), 0) << opening.how;
        EXPECT_EQ(c.AdvOrder->count(), 0) << opening.how;
        EXPECT_EQ(c.AdvItem->count(), 0) << opening.how;
        EXPECT_EQ(c.CattOrderan->toPlainText(), "") << opening.how;
        EXPECT_EQ(c.AdvCategory->count(), 2) << opening.how;
    }
}

TEST_F(Composition, ACategoryListsItsItemsWithPriceAndId) {
    Tfplayer& c = console();
    EXPECT_FALSE(c.Label21->isHidden());
    chooseCategory(kDrinks);
    ASSERT_EQ(c.AdvItem->count(), 3);
    const struct {
        QString notes;
        QString hint;
    } expected[] = {
        {"<html>T7 COMBO #1<br><IND x=\"250\">Rp. 1.234.568</html>", "T7-COMBO"},
        {kTeaNotes, "T7-TEA"},
        {"<html>T7 WATER<br><IND x=\"250\">Rp. 500</html>", "T7-WATER"},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c.AdvItem->item(i).notes, expected[i].notes);
        EXPECT_EQ(c.AdvItem->item(i).hint, expected[i].hint);
        EXPECT_TRUE(c.AdvItem->item(i).enabled);
    }
    EXPECT_TRUE(c.Label21->isHidden());

    // A category without active items empties the list and says so.
    chooseCategory(kNothingYet);
    EXPECT_EQ(c.AdvItem->count(), 0);
    EXPECT_FALSE(c.Label21->isHidden());
}

TEST_F(Composition, AFailingMenuQueryIsShownAndLeavesTheListAsItWas) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    c.module().ADOTransaksi.Close();
    c.module().DatabaseTransaksi = "no_such_database";
    chooseCategory(kNothingYet);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].contains("no_such_database")) << platform.messages[0];
    EXPECT_EQ(c.AdvItem->count(), 3);
}

TEST_F(Composition, OpeningAMenuItemShowsItStartingAtOne) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    const struct {
        QString idmenu;
        QString name;
        QString price;
    } cases[] = {{"T7-TEA", "T7 TEA", "Rp. 25.000,-"},
                 // A "#" in the name stays in the name.
                 {"T7-COMBO", "T7 COMBO #1", "Rp. 1.234.568,-"}};
    for (const auto& item : cases) {
        c.Catatan->setText("LEFT FROM BEFORE");
        c.JumlahOrder = 7;
        openMenuItem(item.idmenu);
        EXPECT_FALSE(c.PanelViewOrder->isHidden());
        EXPECT_EQ(c.lblMenu->text(), item.name);
        EXPECT_EQ(c.LblPrice->text(), item.price);
        EXPECT_EQ(c.lblHintmenu->text(), item.idmenu);
        EXPECT_EQ(c.JumlahOrder, 1);
        EXPECT_EQ(c.AeJum->text(), "1");
        EXPECT_EQ(c.Catatan->text(), "");
        EXPECT_EQ(c.DetailRowNumber(), 0);
    }
}

TEST_F(Composition, QuantityNeverGoesBelowOne) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    openMenuItem("T7-TEA");
    const struct {
        std::function<void()> tap;
        int quantity;
    } steps[] = {{[&] { c.BtMinOrderClick(); }, 1},  {[&] { c.BtPlusOrderClick(); }, 2},
                 {[&] { c.BtPlusOrderClick(); }, 3}, {[&] { c.BtMinOrderClick(); }, 2},
                 {[&] { c.BtMinOrderClick(); }, 1},  {[&] { c.BtMinOrderClick(); }, 1}};
    for (const auto& step : steps) {
        step.tap();
        EXPECT_EQ(c.JumlahOrder, step.quantity);
        EXPECT_EQ(c.AeJum->text(), QString::number(step.quantity));
    }
}

TEST_F(Composition, AddingAppendsARowEvenForTheSameItem) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    ASSERT_FALSE(c.Label20->isHidden());
    orderItem("T7-TEA", 2, "LESS SUGAR");
    EXPECT_TRUE(c.PanelViewOrder->isHidden());
    EXPECT_TRUE(c.Label20->isHidden());
    orderItem("T7-TEA", 1);
    EXPECT_EQ(orderTable(), (QList<QStringList>{{"T7-TEA", "2", "LESS SUGAR", "T7 TEA", "1"},
                                                {"T7-TEA", "1", "", "T7 TEA", "2"}}));
    EXPECT_EQ(
        orderNotes(),
        (QStringList{"<html>2 x<IND x=\"30\"> T7 TEA<br><IND x=\"30\"><i> LESS SUGAR</i></html>",
                     "<html>1 x<IND x=\"30\"> T7 TEA<br><IND x=\"30\"><i> </i></html>"}));
    EXPECT_EQ(orderNumbers(), (QList<int>{1, 2}));
}

TEST_F(Composition, AnOpenedRowIsUpdatedInPlace) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1, "HOT");
    orderItem("T7-WATER", 3, "NO ICE");
    orderItem("T7-COMBO", 1);

    openOrderRow(2);
    EXPECT_FALSE(c.PanelViewOrder->isHidden());
    EXPECT_EQ(c.DetailRowNumber(), 2);
    EXPECT_EQ(c.lblMenu->text(), "T7 WATER");
    EXPECT_EQ(c.lblHintmenu->text(), "T7-WATER");
    EXPECT_EQ(c.Catatan->text(), "NO ICE");
    EXPECT_EQ(c.JumlahOrder, 3);
    EXPECT_EQ(c.AeJum->text(), "3");
    EXPECT_EQ(c.LblPrice->text(), "") << "the order keeps no price to show";

    c.BtMinOrderClick();
    c.Catatan->setText("A LITTLE ICE");
    c.addOrderClick();
    EXPECT_EQ(orderTable(), (QList<QStringList>{{"T7-TEA", "1", "HOT", "T7 TEA", "1"},
                                                {"T7-WATER", "2", "A LITTLE ICE", "T7 WATER", "2"},
                                                {"T7-COMBO", "1", "", "T7 COMBO #1", "3"}}));
    EXPECT_EQ(orderNotes()[1],
              "<html>2 x<IND x=\"30\"> T7 WATER<br><IND x=\"30\"><i> A LITTLE ICE</i></html>");
    EXPECT_TRUE(c.PanelViewOrder->isHidden());
}

TEST_F(Composition, RowNumbersStayDistinctAfterADeletion) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    orderItem("T7-WATER", 1);
    orderItem("T7-COMBO", 1);
    openOrderRow(1);
    c.AdvSmoothButton1Click();
    EXPECT_EQ(orderNumbers(), (QList<int>{2, 3}));

    // Counting rows would give the new row the number 3 a second time.
    orderItem("T7-TEA", 5, "NEW");
    EXPECT_EQ(orderNumbers(), (QList<int>{2, 3, 4}));
    openOrderRow(3);
    EXPECT_EQ(c.lblHintmenu->text(), "T7-COMBO");
    c.AdvSmoothButton1Click();
    EXPECT_EQ(orderTable(), (QList<QStringList>{{"T7-WATER", "1", "", "T7 WATER", "2"},
                                                {"T7-TEA", "5", "NEW", "T7 TEA", "4"}}));
}

TEST_F(Composition, DeletingTheLastRowShowsNoOrder) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    ASSERT_TRUE(c.Label20->isHidden());
    openOrderRow(1);
    c.AdvSmoothButton1Click();
    EXPECT_EQ(c.vtorder.recordCount(), 0);
    EXPECT_EQ(c.AdvOrder->count(), 0);
    EXPECT_FALSE(c.Label20->isHidden());
    EXPECT_TRUE(c.PanelViewOrder->isHidden());
}

TEST_F(Composition, DeleteOnAMenuItemNotYetOrderedDeletesNothing) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    orderItem("T7-WATER", 1);
    openMenuItem("T7-TEA");
    c.AdvSmoothButton1Click();
    EXPECT_EQ(orderNumbers(), (QList<int>{1, 2}));
    EXPECT_TRUE(c.PanelViewOrder->isHidden());
}

TEST_F(Composition, CloseAndCancelHidePanelsOnly) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    orderItem("T7-TEA", 1);
    openMenuItem("T7-WATER");
    c.AdvSmoothButton2Click();
    EXPECT_TRUE(c.PanelViewOrder->isHidden());
    EXPECT_FALSE(c.PanelOrder->isHidden());
    c.AdvSmoothButton4Click();
    EXPECT_TRUE(c.PanelOrder->isHidden());
    EXPECT_EQ(orderNumbers(), (QList<int>{1}));
}

TEST_F(Composition, ARowNoteTakesNoMoreThanItsColumnHolds) {
    Tfplayer& c = console();
    chooseCategory(kDrinks);
    openMenuItem("T7-TEA");
    c.Catatan->setFocus();
    QTest::keyClicks(c.Catatan, QString(60, QLatin1Char('a')));
    EXPECT_EQ(c.Catatan->text(), QString(50, QLatin1Char('A')));
    c.addOrderClick();
    EXPECT_EQ(orderTable()[0][2], QString(50, QLatin1Char('A')));
}

TEST_F(Composition, ThePanelsKeyboardTypesIntoThePanelsFields) {
    Tfplayer& c = console();
    TouchKeyboard* keyboard = c.AdvSmoothTouchKeyBoard2;
    const auto type = [&](const QString& key) {
        QTest::mouseClick(keyboard, Qt::LeftButton, Qt::NoModifier,
                          keyboard->keyRect(key).center());
    };
    chooseCategory(kDrinks);
    const QString search = c.edtcari->text();
    // The search text under the panel had the focus last.
    c.edtcari->setFocus();
    type("A");
    EXPECT_EQ(c.CattOrderan->toPlainText(), "A");
    EXPECT_EQ(c.edtcari->text(), search);

    openMenuItem("T7-TEA");
    c.edtcari->setFocus();
    type("B");
    EXPECT_EQ(c.Catatan->text(), "B");
    // A field the guest chose keeps the keys.
    c.CattOrderan->setFocus();
    type("C");
    EXPECT_EQ(c.CattOrderan->toPlainText(), "AC");

    c.AdvSmoothButton3Click();
    c.edtcari->setFocus();
    type("D");
    EXPECT_EQ(c.AeVeryfy->text(), "D");
    EXPECT_EQ(c.edtcari->text(), search);
}

}  // namespace
}  // namespace ordertest
