#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "app/linuxplatform.h"

namespace {

struct Seen {
    QString text;
    QStringList buttons;
    QList<QSize> buttonSizes;
    int textPixels = 0;
    QPoint centre;
};

// Once the platform's box is up: looks at it, then presses `press` on it.
void InspectAndPress(Seen& seen, const QString& press) {
    QTimer::singleShot(100, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no message box is up";
        seen.text = box->text();
        seen.textPixels =
            QFontInfo(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font())
                .pixelSize();
        seen.centre = box->frameGeometry().center();
        QAbstractButton* pressed = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text().remove('&');
            seen.buttonSizes << button->size();
            if (button->text().remove('&') == press) {
                pressed = button;
            }
        }
        ASSERT_NE(pressed, nullptr) << press.toStdString();
        pressed->click();
    });
}

class TouchMessageBoxTest : public ::testing::Test {
protected:
    TouchMessageBoxTest() {
        console.setGeometry(0, 0, 1280, 768);
        console.show();
        platform.SetDialogOwner(&console);
    }

    void ExpectTouchSized(const Seen& seen) {
        EXPECT_GE(seen.textPixels, 24) << "read at arm's length";
        for (const QSize& size : seen.buttonSizes) {
            EXPECT_GE(size.height(), 60) << "a fingertip's height";
            EXPECT_GE(size.width(), 120) << "a thumb's width";
        }
        EXPECT_LE((seen.centre - console.frameGeometry().center()).manhattanLength(), 4)
            << "centred over the console window: " << seen.centre.x() << "," << seen.centre.y();
    }

    QWidget console;
    LinuxPlatform platform;
};

TEST_F(TouchMessageBoxTest, TheQuestionKeepsItsTextButtonsAndAnswers) {
    for (const auto& [press, answer] : {std::pair{"Yes", true}, std::pair{"Cancel", false}}) {
        Seen seen;
        InspectAndPress(seen, press);
        EXPECT_EQ(platform.ConfirmYesCancel(QStringLiteral("Anda Ingin LogOut ?")), answer)
            << press;
        EXPECT_EQ(seen.text, "Anda Ingin LogOut ?");
        EXPECT_EQ(seen.buttons.size(), 2);
        EXPECT_TRUE(seen.buttons.contains("Yes") && seen.buttons.contains("Cancel"));
        ExpectTouchSized(seen);
    }
}

TEST_F(TouchMessageBoxTest, TheMessageKeepsItsTextAndOneOkButton) {
    Seen seen;
    InspectAndPress(seen, "OK");
    platform.ShowMessage(QStringLiteral("ROOM ANDA TIDAK CHECKIN"));
    EXPECT_EQ(seen.text, "ROOM ANDA TIDAK CHECKIN");
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    ExpectTouchSized(seen);
}

}  // namespace
