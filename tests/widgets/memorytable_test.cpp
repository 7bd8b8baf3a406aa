#include "widgets/memorytable.h"

#include <gtest/gtest.h>

namespace {

// The order being composed: the same fields as the console's order table.
class MemoryTableTest : public testing::Test {
protected:
    void SetUp() override {
        order.addField("idmenu", FieldType::Text, 20);
        order.addField("qty", FieldType::Integer);
        order.addField("catatan", FieldType::Text, 50);
        order.addField("menu", FieldType::Text, 50);
        order.addField("number", FieldType::Integer);
        order.open();
        order.empty();
    }

    void addRow(const QString& idmenu, int qty, const QString& note, const QString& menu) {
        order.append();
        number.setInteger(order.recordCount() + 1);
        this->qty.setInteger(qty);
        this->idmenu.setText(idmenu);
        catatan.setText(note);
        this->menu.setText(menu);
        order.post();
    }

    // Rows from first to last as "number:menu x qty (note)".
    QStringList rows() {
        QStringList result;
        for (order.first(); !order.eof(); order.next()) {
            result << QStringLiteral("%1:%2 x%3 (%4)")
                          .arg(number.asInteger())
                          .arg(menu.asText())
                          .arg(qty.asInteger())
                          .arg(catatan.asText());
        }
        return result;
    }

    MemoryTable order;
    MemoryField idmenu{order, "idmenu"};
    MemoryField qty{order, "qty"};
    MemoryField catatan{order, "catatan"};
    MemoryField menu{order, "menu"};
    MemoryField number{order, "number"};
};

TEST_F(MemoryTableTest, RowsKeepTheOrderInWhichTheyWereAdded) {
    addRow("M-01", 2, "PEDAS", "NASI GORENG");
    addRow("M-07", 1, "", "ES TEH");
    addRow("M-01", 1, "", "NASI GORENG");
    EXPECT_EQ(order.recordCount(), 3);
    EXPECT_EQ(rows(),
              QStringList({"1:NASI GORENG x2 (PEDAS)", "2:ES TEH x1 ()", "3:NASI GORENG x1 ()"}));
}

TEST_F(MemoryTableTest, LocateFindsTheFirstMatchInTheFieldsType) {
    addRow("M-01", 2, "", "NASI GORENG");
    addRow("M-07", 1, "", "ES TEH");
    addRow("M-07", 4, "", "ES TEH");

    EXPECT_TRUE(order.locate("number", 3));
    EXPECT_EQ(qty.asInteger(), 4);
    EXPECT_TRUE(order.locate("NUMBER", QStringLiteral("2"))) << "text for an integer field";
    EXPECT_EQ(qty.asInteger(), 1);
    EXPECT_TRUE(order.locate("idmenu", QStringLiteral("M-07")));
    EXPECT_EQ(order.recNo(), 1);

    EXPECT_FALSE(order.locate("number", 9));
    EXPECT_FALSE(order.locate("number", QStringLiteral("two")));
    EXPECT_FALSE(order.locate("idmenu", QStringLiteral("m-07"))) << "texts match exactly";
    EXPECT_EQ(order.recNo(), 1) << "a failed locate moved the cursor";
    EXPECT_THROW(order.locate("price", 1), MemoryTableError);
}

TEST_F(MemoryTableTest, EditChangesOnlyTheLocatedRowAndKeepsItsPlace) {
    addRow("M-01", 2, "", "NASI GORENG");
    addRow("M-07", 1, "", "ES TEH");
    addRow("M-09", 1, "", "KOPI");
    ASSERT_TRUE(order.locate("number", 2));
    order.edit();
    qty.setInteger(5);
    catatan.setText("TANPA GULA");
    order.post();
    EXPECT_EQ(rows(),
              QStringList({"1:NASI GORENG x2 ()", "2:ES TEH x5 (TANPA GULA)", "3:KOPI x1 ()"}));
}

TEST_F(MemoryTableTest, CancelAndImplicitPostDecideWhatStays) {
    addRow("M-01", 2, "", "NASI GORENG");
    order.edit();
    qty.setInteger(9);
    order.cancel();
    order.append();
    menu.setText("KOPI");
    order.cancel();
    EXPECT_EQ(rows(), QStringList({"1:NASI GORENG x2 ()"}));

    order.append();
    menu.setText("KOPI");
    number.setInteger(2);
    qty.setInteger(1);
    order.first();  // moving the cursor posts the new row
    EXPECT_EQ(rows(), QStringList({"1:NASI GORENG x2 ()", "2:KOPI x1 ()"}));
}

struct DeleteCase {
    const char* name;
    int numberToDelete;
    const char* remaining;
    int currentAfter;  // number of the row the cursor is on afterwards, 0 for none
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.name;
}

class MemoryTableDelete : public MemoryTableTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(MemoryTableDelete, RemovesTheCurrentRowAndMovesOn) {
    const DeleteCase& c = GetParam();
    addRow("M-01", 1, "", "A");
    addRow("M-02", 1, "", "B");
    addRow("M-03", 1, "", "C");
    ASSERT_TRUE(order.locate("number", c.numberToDelete));
    order.deleteCurrent();
    EXPECT_EQ(number.asInteger(), c.currentAfter);
    QStringList menus;
    for (order.first(); !order.eof(); order.next()) {
        menus << menu.asText();
    }
    EXPECT_EQ(menus.join(""), c.remaining);
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoryTableDelete,
                         testing::Values(DeleteCase{"First", 1, "BC", 2},
                                         DeleteCase{"Middle", 2, "AC", 3},
                                         DeleteCase{"Last", 3, "AB", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemoryTableTest, DeletingTheOnlyRowLeavesAnEmptyTable) {
    addRow("M-01", 1, "", "A");
    order.deleteCurrent();
    EXPECT_TRUE(order.isEmpty());
    EXPECT_TRUE(order.eof());
    EXPECT_EQ(order.recNo(), -1);
    EXPECT_TRUE(number.isNull());
    EXPECT_EQ(number.asInteger(), 0);
    EXPECT_EQ(menu.asText(), "");
    EXPECT_THROW(order.deleteCurrent(), MemoryTableError);
    EXPECT_THROW(order.edit(), MemoryTableError);
}

TEST_F(MemoryTableTest, DeletingWhileAppendingDropsTheNewRowOnly) {
    addRow("M-01", 1, "", "A");
    order.append();
    menu.setText("B");
    order.deleteCurrent();
    EXPECT_EQ(order.recordCount(), 1);
    EXPECT_EQ(menu.asText(), "A");
}

TEST_F(MemoryTableTest, EmptyRemovesEveryRowAndTheTableStaysUsable) {
    addRow("M-01", 1, "", "A");
    addRow("M-02", 1, "", "B");
    order.empty();
    EXPECT_EQ(order.recordCount(), 0);
    EXPECT_TRUE(order.eof());
    addRow("M-03", 3, "", "C");
    EXPECT_EQ(rows(), QStringList({"1:C x3 ()"}));
}

TEST_F(MemoryTableTest, TextIsCutToTheFieldsSize) {
    order.append();
    catatan.setText(QString(60, u'X'));
    idmenu.setText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    order.post();
    EXPECT_EQ(catatan.asText(), QString(50, u'X'));
    EXPECT_EQ(idmenu.asText(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(MemoryTableTest, WritingNeedsAppendOrEdit) {
    addRow("M-01", 1, "", "A");
    EXPECT_THROW(qty.setInteger(2), MemoryTableError);
    EXPECT_EQ(qty.asInteger(), 1);
}

TEST_F(MemoryTableTest, ClosedTableRefusesWorkButKeepsItsRows) {
    addRow("M-01", 1, "", "A");
    order.close();
    EXPECT_THROW(order.recordCount(), MemoryTableError);
    EXPECT_THROW(order.append(), MemoryTableError);
    EXPECT_THROW(qty.asInteger(), MemoryTableError);
    EXPECT_THROW(order.first(), MemoryTableError);
    order.open();
    EXPECT_EQ(rows(), QStringList({"1:A x1 ()"}));
}

TEST_F(MemoryTableTest, FieldsAreDefinedWhileClosedWithUniqueNames) {
    EXPECT_THROW(order.addField("price", FieldType::Float), MemoryTableError);
    order.close();
    EXPECT_THROW(order.addField("QTY", FieldType::Integer), MemoryTableError);
    EXPECT_THROW(order.field("price"), MemoryTableError);
    MemoryField price{order, "price"};
    order.addField("price", FieldType::Float);
    order.open();
    order.append();
    price.setFloat(25000.5);
    order.post();
    EXPECT_DOUBLE_EQ(price.asFloat(), 25000.5);
    EXPECT_EQ(order.field("Price").asText(), "25000.5");
}

struct ConversionCase {
    const char* name;
    FieldType type;
    QVariant written;  // int, double or QString
    const char* text;
    int integer;
    double real;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.name;
}

class MemoryFieldConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(MemoryFieldConversion, ReadsInEveryType) {
    const ConversionCase& c = GetParam();
    MemoryTable table;
    table.addField("value", FieldType(c.type));
    table.open();
    table.append();
    MemoryField value = table.field("value");
    switch (c.written.typeId()) {
        case QMetaType::Int:
            value.setInteger(c.written.toInt());
            break;
        case QMetaType::Double:
            value.setFloat(c.written.toDouble());
            break;
        default:
            value.setText(c.written.toString());
    }
    table.post();
    EXPECT_EQ(value.asText(), c.text);
    EXPECT_EQ(value.asInteger(), c.integer);
    EXPECT_DOUBLE_EQ(value.asFloat(), c.real);
}

INSTANTIATE_TEST_SUITE_P(
    Types, MemoryFieldConversion,
    testing::Values(
        ConversionCase{"IntegerFromText", FieldType::Integer, QString(" 12 "), "12", 12, 12.0},
        ConversionCase{"IntegerFromFloatRounds", FieldType::Integer, 2.5, "3", 3, 3.0},
        ConversionCase{"IntegerNegative", FieldType::Integer, -7, "-7", -7, -7.0},
        ConversionCase{"TextFromInteger", FieldType::Text, 42, "42", 42, 42.0},
        ConversionCase{"FloatFromText", FieldType::Float, QString("1.25"), "1.25", 1, 1.25},
        ConversionCase{"FloatFromInteger", FieldType::Float, 3, "3", 3, 3.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryFieldConversionErrors, TextThatIsNoNumberIsRefused) {
    MemoryTable table;
    table.addField("count", FieldType::Integer);
    table.addField("note", FieldType::Text);
    table.open();
    table.append();
    EXPECT_THROW(table.field("count").setText("ABC"), MemoryTableError);
    table.field("note").setText("ABC");
    EXPECT_THROW(table.field("note").asInteger(), MemoryTableError);
    EXPECT_THROW(table.field("note").asFloat(), MemoryTableError);
    EXPECT_TRUE(table.field("count").isNull()) << "a refused value was stored";
}

}  // namespace
