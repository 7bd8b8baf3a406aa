// The console as the kiosk runs it: an X server whose only client is the
// console, no window manager, the skin drawn by Qt Quick's software backend.
// The guest's finger here is real X input (xdotool), not the guest driver.
#include <QDeadlineTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include "room_fixture.h"

namespace e2e {
namespace {

// A bare Xvfb on a display number of its own choosing, stopped at the end.
class BareXServer {
public:
    ~BareXServer() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }
    // Starts it; the display name (":N") or empty when it did not start.
    QString start() {
        // -displayfd: the server writes the number it took once it accepts clients.
        process_.start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")});
        const QDeadlineTimer deadline(15000);
        QByteArray number;
        while (!number.endsWith('\n') && process_.waitForReadyRead(deadline.remainingTime())) {
            number += process_.readAllStandardOutput();
        }
        number = number.trimmed();
        return number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
    }

private:
    QProcess process_;
};

QRect RectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return {a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt()};
}

class KioskTest : public RoomTest {
protected:
    void SetUp() override {
        const bool inCi = !qEnvironmentVariableIsEmpty("CI");
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                if (inCi) {
                    FAIL() << tool << " is missing: scripts/deps.sh installs it";
                }
                GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
            }
        }
        display = x.start();
        ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
        console.setVariable(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        console.setVariable(QStringLiteral("DISPLAY"), display);
        console.setVariable(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        RoomTest::SetUp();
    }

    // Runs a program against the X server; its exit code.
    int onDisplay(const QString& program, const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        process.waitForFinished(30000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // What the screen shows now.
    QImage screen() {
        const QString file = folder.filePath(QStringLiteral("screen.png"));
        if (onDisplay(QStringLiteral(LYRABOX_SCREENGRAB), {file}) != 0) {
            return {};
        }
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    // A finger on the screen at point: the X server's own pointer and button.
    bool tapScreen(const QPoint& point) {
        return onDisplay(
                   QStringLiteral("xdotool"),
                   {QStringLiteral("mousemove"), QString::number(point.x()),
                    QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")}) == 0;
    }

    BareXServer x;
    QString display;
};

// How many colours the screen shows inside rect, and the share of black.
struct Look {
    qsizetype colours = 0;
    double black = 0;
};

Look LookOf(const QImage& image, const QRect& rect) {
    QSet<QRgb> colours;
    qint64 black = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(pixel);
            black += qGray(pixel) < 8 ? 1 : 0;
        }
    }
    const qint64 all = qMax<qint64>(1, qint64(inside.width()) * inside.height());
    return {colours.size(), double(black) / double(all)};
}

TEST_F(KioskTest, TheLogoutQuestionIsTouchSizedDrawnOnTopAndAnsweredByAFinger) {
    checkIn();
    room.forget();
    guest.skinTap(QStringLiteral("logout"));
    ASSERT_TRUE(
        waitUntil([&] { return guest.dialogText() == QStringLiteral("Anda Ingin LogOut ?"); }));
    settle(500);  // drawn and mapped
    const QJsonObject dialog = guest.dialog();
    const QJsonObject buttons = dialog.value(QStringLiteral("buttonRects")).toObject();
    ASSERT_EQ(buttons.keys(), (QStringList{"Cancel", "Yes"}));
    for (const QString& caption : buttons.keys()) {
        const QRect button = RectOf(buttons.value(caption));
        EXPECT_GE(button.height(), 60) << caption.toStdString();
        EXPECT_GE(button.width(), 120) << caption.toStdString() << ": narrower than a thumb";
    }
    EXPECT_GE(dialog.value(QStringLiteral("textPixels")).toInt(), 24);
    // Centred over the console window.
    const QRect box = RectOf(dialog.value(QStringLiteral("rect")));
    const QRect window = guest.screenRect(QStringLiteral("fplayer"));
    ASSERT_FALSE(window.isEmpty());
    EXPECT_LE((box.center() - window.center()).manhattanLength(), 4)
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();

    // Drawn, and above the console: the screen shows the box, not a black
    // rectangle nor the skin.
    const QImage shown = screen();
    ASSERT_FALSE(shown.isNull()) << "no screen grab";
    const Look look = LookOf(shown, box);
    EXPECT_GT(look.colours, 4) << "the box is one flat colour";
    EXPECT_LT(look.black, 0.5) << "the box is mostly black";
    const Look yes = LookOf(shown, RectOf(buttons.value(QStringLiteral("Yes"))));
    EXPECT_GT(yes.colours, 2) << "the Yes button shows no caption";

    // A tap through the X server, where the screen shows Yes.
    ASSERT_TRUE(tapScreen(RectOf(buttons.value(QStringLiteral("Yes"))).center()));
    ASSERT_TRUE(waitUntil([&] { return onStandby(); })) << "the tap did not answer Yes";
    EXPECT_TRUE(waitUntil([&] { return sent().contains(QStringLiteral("GI#")); }))
        << sent().join(' ').toStdString();
    EXPECT_TRUE(guest.dialogText().isEmpty());
}

TEST_F(KioskTest, TheConnectionErrorIsDrawnOnTopOfTheConsoleAndAnsweredByAFinger) {
    checkIn();
    room.kill();
    guest.skinTap(QStringLiteral("volplus"));
    ASSERT_TRUE(waitUntil([&] { return guest.visible(QStringLiteral("FrmError")); }));
    settle(500);  // drawn and mapped
    const QRect dialog = guest.screenRect(QStringLiteral("FrmError"));
    const QRect window = guest.screenRect(QStringLiteral("fplayer"));
    EXPECT_LE((dialog.center() - window.center()).manhattanLength(), 4)
        << dialog.x() << "," << dialog.y();

    const QImage shown = screen();
    ASSERT_FALSE(shown.isNull()) << "no screen grab";
    const Look look = LookOf(shown, dialog);
    EXPECT_GT(look.colours, 4) << "the dialog is one flat colour";
    EXPECT_LT(look.black, 0.5) << "the dialog is mostly black";

    const QRect giveUp = guest.screenRect(QStringLiteral("FrmError/AdvSmoothButton1"));
    EXPECT_GE(giveUp.height(), 60);
    ASSERT_TRUE(tapScreen(giveUp.center()));
    EXPECT_TRUE(waitUntil([&] { return !guest.visible(QStringLiteral("FrmError")); }))
        << "the tap did not reach \"Batalkan Perintah\"";
    EXPECT_TRUE(guest.enabled(QStringLiteral("fplayer")));
}

}  // namespace
}  // namespace e2e
