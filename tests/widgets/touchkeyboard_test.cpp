#include "widgets/touchkeyboard.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "tap.h"

namespace {

// A window with two one-line fields, a memo and a keyboard, like the request form.
class TouchKeyboardTest : public testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(memo);
        layout->addWidget(keyboard);
        window.resize(900, 600);
        window.show();
    }

    void tapKeys(const QStringList& captions) {
        for (const QString& caption : captions) {
            const QRect key = keyboard->keyRect(caption);
            ASSERT_FALSE(key.isEmpty()) << caption.toStdString();
            tap::at(keyboard, key.center());
        }
    }

    // Presses a key until its variants show, leaving the finger down.
    bool holdKey(const QString& caption) {
        keyboard->setLongPressInterval(20);
        QTest::mousePress(keyboard, Qt::LeftButton, {}, keyboard->keyRect(caption).center());
        return QTest::qWaitFor([&] { return keyboard->alternativesShown(); }, 2000);
    }

    QWidget window;
    QLineEdit* first = new QLineEdit;
    QLineEdit* second = new QLineEdit;
    QPlainTextEdit* memo = new QPlainTextEdit;
    TouchKeyboard* keyboard = new TouchKeyboard(KeyboardLayout::QwertyWithDigits);
};

TEST_F(TouchKeyboardTest, TypesIntoTheFocusedFieldOnly) {
    second->setFocus();
    tapKeys({"H", "A", "I", "Space", "7"});
    EXPECT_EQ(second->text(), "HAI 7");
    EXPECT_EQ(first->text(), "");

    first->setFocus();
    tapKeys({"O", "K"});
    EXPECT_EQ(first->text(), "OK");
    EXPECT_EQ(second->text(), "HAI 7");
    EXPECT_EQ(window.focusWidget(), first) << "tapping keys moved the focus";
}

TEST_F(TouchKeyboardTest, BackErasesTheLastCharacterAndIsHarmlessOnAnEmptyField) {
    first->setFocus();
    tapKeys({"Back", "A", "B", "Back"});
    EXPECT_EQ(first->text(), "A");
    tapKeys({"Back", "Back"});
    EXPECT_EQ(first->text(), "");
}

TEST_F(TouchKeyboardTest, EnterStartsANewLineInAMemo) {
    memo->setFocus();
    tapKeys({"A", "Space", "B", "Enter", "C"});
    EXPECT_EQ(memo->toPlainText(), "A B\nC");
}

TEST_F(TouchKeyboardTest, EnterInAOneLineFieldReportsReturn) {
    first->setFocus();
    QSignalSpy returned(first, &QLineEdit::returnPressed);
    tapKeys({"X", "Enter"});
    EXPECT_EQ(returned.count(), 1);
    EXPECT_EQ(first->text(), "X");
}

TEST_F(TouchKeyboardTest, FieldRulesApplyAsForAHardwareKeyboard) {
    second->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), second));
    second->setFocus();
    tapKeys({"0", "A", "8", "Space", "1"});
    EXPECT_EQ(second->text(), "081");
}

TEST_F(TouchKeyboardTest, HandlerBeforeTheKeyCanMoveTheFocus) {
    QObject::connect(keyboard, &TouchKeyboard::beforeKeyClick, second,
                     [this] { second->setFocus(); });
    first->setFocus();
    tapKeys({"5", "8"});
    EXPECT_EQ(second->text(), "58");
    EXPECT_EQ(first->text(), "");
}

TEST_F(TouchKeyboardTest, ReportsEachKeyBeforeAndAfterTyping) {
    QStringList events;
    QObject::connect(keyboard, &TouchKeyboard::beforeKeyClick,
                     [&](const QString& caption) { events << "before " + caption; });
    QObject::connect(keyboard, &TouchKeyboard::keyClicked, [&](const QString& caption) {
        events << "after " + caption + " " + first->text();
    });
    first->setFocus();
    tapKeys({"Q", "Back"});
    EXPECT_EQ(events, QStringList({"before Q", "after Q Q", "before Back", "after Back "}));
}

TEST_F(TouchKeyboardTest, FingerSlidingOffAKeyTypesNothing) {
    first->setFocus();
    QTest::mousePress(keyboard, Qt::LeftButton, {}, keyboard->keyRect("Q").center());
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, keyboard->keyRect("W").center());
    EXPECT_EQ(first->text(), "");
}

TEST_F(TouchKeyboardTest, HoldingAKeyOffersAccentedVariants) {
    first->setFocus();
    ASSERT_TRUE(holdKey("E"));
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, keyboard->keyRect("E").center());
    EXPECT_EQ(first->text(), "") << "the long press itself typed";
    ASSERT_TRUE(keyboard->alternativesShown());

    const QRect acute = keyboard->alternativeRect("É");
    ASSERT_FALSE(acute.isEmpty());
    tap::at(keyboard, acute.center());
    EXPECT_EQ(first->text(), "É");
    EXPECT_FALSE(keyboard->alternativesShown());
}

TEST_F(TouchKeyboardTest, ReleasingOnAVariantTypesItAndATapBesideDismisses) {
    first->setFocus();
    ASSERT_TRUE(holdKey("N"));
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, keyboard->alternativeRect("Ñ").center());
    EXPECT_EQ(first->text(), "Ñ");

    ASSERT_TRUE(holdKey("A"));
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, keyboard->keyRect("A").center());
    const QRect outside = keyboard->keyRect("M");
    ASSERT_TRUE(keyboard->alternativeRect("À")
                    .united(keyboard->alternativeRect("Å"))
                    .intersected(outside)
                    .isEmpty());
    tap::at(keyboard, outside.center());
    EXPECT_FALSE(keyboard->alternativesShown());
    EXPECT_EQ(first->text(), "Ñ") << "the dismissing tap typed";
}

TEST_F(TouchKeyboardTest, KeyWithoutVariantsTypesEvenWhenHeld) {
    keyboard->setLongPressInterval(20);
    first->setFocus();
    QTest::mousePress(keyboard, Qt::LeftButton, {}, keyboard->keyRect("Q").center());
    QTest::qWait(60);
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, keyboard->keyRect("Q").center());
    EXPECT_EQ(first->text(), "Q");
    EXPECT_FALSE(keyboard->alternativesShown());
}

TEST(TelephonePad, TypesTheCheckInCode) {
    QWidget window;
    auto* code = new QLineEdit(&window);
    auto* pad = new TouchKeyboard(KeyboardLayout::TelephonePad, &window);
    code->setGeometry(0, 0, 211, 36);
    pad->setGeometry(0, 40, 372, 342);
    window.show();
    code->setFocus();
    for (const char* key : {"5", "8", "3", "7", "1", "6", "*", "0", "9", "Back"}) {
        tap::at(pad, pad->keyRect(key).center());
    }
    EXPECT_EQ(code->text(), "583716*0");
    EXPECT_TRUE(pad->keyRect("Q").isEmpty());
}

// The address keyboard adds the digits and the signs of an address and
// keeps the letters, their variants and the wide keys of the QWERTY rows.
TEST(AddressEntry, AddsDigitsAndAddressSignsToTheLetterRows) {
    const QList<TouchKeyRow> address = keyboardRows(KeyboardLayout::AddressEntry);
    const QList<TouchKeyRow> qwerty = keyboardRows(KeyboardLayout::Qwerty);
    const auto captions = [](const TouchKeyRow& row) {
        QStringList list;
        for (const TouchKey& key : row) {
            list << key.caption;
        }
        return list;
    };
    ASSERT_EQ(address.size(), 4);
    EXPECT_EQ(captions(address[0]).join(' '), "1 2 3 4 5 6 7 8 9 0 - _");
    EXPECT_EQ(captions(address[1]), captions(qwerty[0]));
    EXPECT_EQ(captions(address[2]), captions(qwerty[1]));
    EXPECT_EQ(captions(address[3]).join(' '), "Z X C V B N M @ . Space");
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < qwerty[row].size(); ++i) {
            EXPECT_EQ(address[row + 1][i].alternatives, qwerty[row][i].alternatives)
                << qwerty[row][i].caption.toStdString();
        }
    }

    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* keyboard = new TouchKeyboard(KeyboardLayout::AddressEntry, &window);
    keyboard->setGeometry(0, 40, 1200, 270);
    window.show();
    field->setFocus();
    for (const char* key : {"R", "-", "1", "_", "@", "X", ".", "I", "D", "Space", "0"}) {
        tap::at(keyboard, keyboard->keyRect(key).center());
    }
    EXPECT_EQ(field->text(), "R-1_@X.ID 0");
}

std::string layoutName(const testing::TestParamInfo<std::tuple<KeyboardLayout, QSize>>& info) {
    switch (std::get<0>(info.param)) {
        case KeyboardLayout::Qwerty:
            return "Qwerty";
        case KeyboardLayout::QwertyWithDigits:
            return "QwertyWithDigits";
        case KeyboardLayout::AddressEntry:
            return "AddressEntry";
        case KeyboardLayout::TelephonePad:
            return "TelephonePad";
    }
    return "Unknown";
}

class KeyboardGeometry : public testing::TestWithParam<std::tuple<KeyboardLayout, QSize>> {};

TEST_P(KeyboardGeometry, KeysFitWithoutOverlapping) {
    const auto [layout, size] = GetParam();
    TouchKeyboard keyboard(layout);
    keyboard.resize(size);
    QList<QRect> rects;
    for (const TouchKeyRow& row : keyboardRows(layout)) {
        for (const TouchKey& key : row) {
            const QRect rect = keyboard.keyRect(key.caption);
            EXPECT_TRUE(keyboard.rect().contains(rect)) << key.caption.toStdString();
            EXPECT_GE(rect.height(), (size.height() - 40) / 5) << key.caption.toStdString();
            for (const QRect& other : rects) {
                EXPECT_FALSE(rect.intersects(other)) << key.caption.toStdString();
            }
            rects.append(rect);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, KeyboardGeometry,
    testing::Values(std::make_tuple(KeyboardLayout::TelephonePad, QSize(372, 342)),
                    std::make_tuple(KeyboardLayout::Qwerty, QSize(900, 200)),
                    std::make_tuple(KeyboardLayout::QwertyWithDigits, QSize(700, 260)),
                    std::make_tuple(KeyboardLayout::AddressEntry, QSize(1200, 270))),
    layoutName);

}  // namespace
