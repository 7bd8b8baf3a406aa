// The whole console window with the default skin on the offscreen platform:
// the skin loads and paints under the native controls, and a tap on one of its
// controls travels through the dispatcher to the room player, whose answer
// comes back into the skin.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QQuickItem>
#include <QSet>

#include "console/skinhost.h"
#include "support/console_fixture.h"
#include "support/qt_printers.h"

namespace {

using Answer = testsupport::ScriptedRoomPlayer::Answer;

class ConsoleWindowTest : public testsupport::ConsoleFixture {
protected:
    void SetUp() override {
        ConsoleFixture::SetUp();
        console().show();
        QCoreApplication::processEvents();
    }

    QQuickItem* skinControl(const char* property, const QString& value) {
        QList<QQuickItem*> pending{console().MainSkinNew->rootObject()};
        while (!pending.isEmpty()) {
            QQuickItem* item = pending.takeFirst();
            if (item->property(property).toString() == value) {
                return item;
            }
            pending << item->childItems();
        }
        return nullptr;
    }

    QString skinVariableShown(const char* field) {
        QObject* vars = console().MainSkinNew->rootObject()->findChild<QObject*>("vars");
        return vars != nullptr ? vars->property(field).toString() : QStringLiteral("<no vars>");
    }

    // A finger on the console window at point: the press and release go to
    // whichever control lies there, as the touch screen delivers them.
    QWidget* tapWindow(QPoint point) {
        QWidget* target = console().childAt(point);
        if (target == nullptr) {
            return nullptr;
        }
        const QPoint local = target->mapFrom(&console(), point);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(target, &event);
        }
        QCoreApplication::processEvents();
        return target;
    }

    static QPoint centreOf(QQuickItem* item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).center().toPoint();
    }
};

TEST_F(ConsoleWindowTest, TheSkinLoadsAndPaintsUnderTheNativeControls) {
    ASSERT_TRUE(console().MainSkinNew->SkinLoaded());
    const QImage shot = console().grab().toImage();
    EXPECT_EQ(shot.size(), QSize(1280, 1068)) << "the test settings show the diagnostic strip";
    QSet<QRgb> colours;
    for (int y = 0; y < 768; y += 4) {
        for (int x = 0; x < 1280; x += 4) {
            colours.insert(shot.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 20) << "the skin area is not one flat colour";
}

TEST_F(ConsoleWindowTest, ATapOnASkinButtonReachesTheRoomPlayerAndTheAnswerTheSkin) {
    ASSERT_TRUE(console().MainSkinNew->SkinLoaded());
    room.answerCode("30", Answer::Reply("9#75"));
    QQuickItem* karaoke = skinControl("command", "karaoke");
    ASSERT_NE(karaoke, nullptr);
    EXPECT_EQ(tapWindow(centreOf(karaoke)), console().MainSkinNew)
        << "no native control covers the skin's button";
    EXPECT_EQ(sent(), QStringList{"30#1"});
    EXPECT_EQ(console().VolPlayer, 75);
    EXPECT_EQ(skinVariableShown("isimusic"), "75");
}

TEST_F(ConsoleWindowTest, TheSkinsVolumeSliderSendsItsLevel) {
    ASSERT_TRUE(console().MainSkinNew->SkinLoaded());
    QQuickItem* slider = skinControl("objectName", "slider_VL");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(tapWindow(centreOf(slider)), console().MainSkinNew);
    EXPECT_EQ(sent(), QStringList{"27#50"});
    EXPECT_EQ(console().VolPlayer, 0) << "a level from the slider leaves VolPlayer alone";
}

// The playlist's entry count over the skin shows whole, from an empty
// playlist to one of several hundred entries.
TEST_F(ConsoleWindowTest, ThePlaylistCountShowsEveryDigit) {
    QLabel* count = console().lblCountPlaylist;
    for (const char* entries : {"0", "9", "99", "100", "715", "999"}) {
        count->setText(QString::fromLatin1(entries));
        EXPECT_LE(count->fontMetrics().horizontalAdvance(count->text()),
                  count->contentsRect().width())
            << entries;
    }
}

// The diagnostic strip's version button tells the technician the version.
TEST_F(ConsoleWindowTest, TheVersionButtonShowsTheVersion) {
    console().getVersion->click();
    EXPECT_EQ(platform.messages, QStringList{Tfplayer::GetVersionText()});
}

}  // namespace
