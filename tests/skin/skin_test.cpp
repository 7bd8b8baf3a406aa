// The default skin as the console sees it: it loads, offers both halves of the
// contract, reaches every command of the console's vocabulary from a control,
// sends each control's command when tapped, keeps its controls out of the
// console's own rectangles, and shows every variable it is given.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QMouseEvent>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWidget>
#include <QRectF>
#include <QSet>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <memory>

#include "support/qt_printers.h"

namespace {

// Every command the console acts on, apart from the three prefix commands.
QStringList Vocabulary() {
    QStringList commands = {
        "songrequest", "emenu",     "delete",   "up",       "down",      "priority",
        "volplus",     "clear",     "volminus", "logout",   "karaoke",   "studio",
        "concert",     "pro",       "dance",    "volmicplus", "volmicminus", "category",
        "saveplaylist", "call",     "callit",   "tittle",   "singer",    "songlist",
        "popular",     "top",       "play",     "next",     "stop",      "pause",
        "repeat",      "previous",  "keyplus",  "keyminus", "vocalon",   "vocaloff",
        "space",       "backspace",
    };
    for (QChar c : QStringLiteral("qwertyuiopasdfghjklzxcvbnm1234567890!@#%$&*().,-'^:;")) {
        commands << QString(c);
    }
    return commands;
}

const QStringList kPrefixes = {"KY", "VL", "MC"};

// Where the console's own controls lie over the skin.
const QList<QPair<QString, QRectF>> kNativeRegions = {
    {"edtcari", {215, 124, 522, 32}},         {"AdvSonglist", {33, 181, 778, 266}},
    {"lvkategori", {145, 109, 185, 324}},     {"lvPlaylistnNew", {835, 246, 326, 147}},
    {"ProgBar", {40, 458, 722, 34}},          {"lblwmp", {768, 466, 40, 20}},
    {"Lblnowplay", {500, 27, 317, 20}},       {"lblnextsong", {935, 27, 211, 20}},
    {"lblCountPlaylist", {1128, 224, 14, 16}}, {"lblUserNow", {74, 25, 167, 20}},
    {"lbluser", {74, 29, 167, 19}},           {"lbljam", {289, 29, 87, 19}},
    {"Progbattery", {1152, 25, 49, 21}},
};

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        widget_ = std::make_unique<QQuickWidget>();
        widget_->setResizeMode(QQuickWidget::SizeRootObjectToView);
        widget_->resize(1280, 768);
        widget_->setSource(QUrl::fromLocalFile(QStringLiteral(LYRABOX_SKIN_FILE)));
        for (const QQmlError& error : widget_->errors()) {
            ADD_FAILURE() << error.toString().toStdString();
        }
        ASSERT_EQ(widget_->status(), QQuickWidget::Ready);
        root_ = widget_->rootObject();
        ASSERT_NE(root_, nullptr);
        widget_->show();
        QCoreApplication::processEvents();
    }

    // Every item of the skin, through the visual tree: items that a Repeater
    // made have no object parent.
    QList<QQuickItem*> Items() const {
        QList<QQuickItem*> items;
        QList<QQuickItem*> pending{root_};
        while (!pending.isEmpty()) {
            QQuickItem* item = pending.takeFirst();
            items << item;
            pending << item->childItems();
        }
        return items;
    }

    // The skin's tappable controls: items that carry a command or a prefix.
    QList<QQuickItem*> Controls() const {
        QList<QQuickItem*> controls;
        for (QQuickItem* item : Items()) {
            if (!item->property("command").toString().isEmpty() ||
                !item->property("commandPrefix").toString().isEmpty()) {
                controls << item;
            }
        }
        return controls;
    }

    QQuickItem* Item(const QString& name) const {
        for (QQuickItem* item : Items()) {
            if (item->objectName() == name) return item;
        }
        return nullptr;
    }

    static QRectF SceneRect(QQuickItem* item) {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    }

    void Mouse(QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, widget_->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget_.get(), &event);
    }

    void Tap(QPointF at) {
        Mouse(QEvent::MouseButtonPress, at);
        Mouse(QEvent::MouseButtonRelease, at);
        QCoreApplication::processEvents();
    }

    // Taps the point and returns the commands the skin sent, each with its argument.
    QStringList TapAndRecord(QPointF at) {
        QSignalSpy spy(root_, SIGNAL(fsCommand(QString, QString)));
        Tap(at);
        QStringList sent;
        for (const QList<QVariant>& emitted : spy) {
            EXPECT_EQ(emitted.at(1).toString(), QString()) << "the argument is always empty";
            sent << emitted.at(0).toString();
        }
        return sent;
    }

    void SetVariable(const QString& path, const QString& value) {
        ASSERT_TRUE(QMetaObject::invokeMethod(root_, "setVariable", Q_ARG(QVariant, path),
                                              Q_ARG(QVariant, value)));
        QCoreApplication::processEvents();
    }

    QString Vars(const char* field) const {
        QObject* vars = root_->findChild<QObject*>("vars");
        return vars != nullptr ? vars->property(field).toString() : QStringLiteral("<no vars>");
    }

    std::unique_ptr<QQuickWidget> widget_;
    QQuickItem* root_ = nullptr;
};

TEST_F(SkinTest, RootOffersTheSignalAndTheFunction) {
    const QMetaObject* meta = root_->metaObject();
    EXPECT_GE(meta->indexOfSignal("fsCommand(QString,QString)"), 0);
    EXPECT_GE(meta->indexOfMethod("setVariable(QVariant,QVariant)"), 0);
    EXPECT_EQ(root_->width(), 1280);
    EXPECT_EQ(root_->height(), 768);
}

TEST_F(SkinTest, EveryCommandOfTheVocabularyHasAControlAndNoControlSendsAnUnknownOne) {
    QSet<QString> commands;
    QSet<QString> prefixes;
    for (QQuickItem* item : Controls()) {
        const QString command = item->property("command").toString();
        if (!command.isEmpty()) commands << command;
        const QString prefix = item->property("commandPrefix").toString();
        if (!prefix.isEmpty()) prefixes << prefix;
    }
    const QStringList vocabulary = Vocabulary();
    for (const QString& command : vocabulary) {
        EXPECT_TRUE(commands.contains(command)) << "no control sends " << command.toStdString();
    }
    for (const QString& command : commands) {
        EXPECT_TRUE(vocabulary.contains(command)) << "unknown command " << command.toStdString();
    }
    EXPECT_EQ(prefixes, QSet<QString>(kPrefixes.begin(), kPrefixes.end()));
}

TEST_F(SkinTest, TappingEachButtonSendsItsCommandOnce) {
    int tapped = 0;
    for (QQuickItem* item : Controls()) {
        const QString command = item->property("command").toString();
        if (command.isEmpty()) continue;
        ASSERT_TRUE(item->isVisible()) << command.toStdString();
        const QPointF centre = SceneRect(item).center();
        EXPECT_EQ(TapAndRecord(centre), QStringList{command}) << "tapped " << command.toStdString();
        ++tapped;
    }
    EXPECT_GE(tapped, Vocabulary().size());
}

TEST_F(SkinTest, SlidersSendTheirPrefixAndTheChosenLevel) {
    struct Case {
        const char* name;
        double at;  // fraction of the slider's width
        const char* sent;
    };
    const Case cases[] = {
        {"slider_VL", 1.0, "VL100"}, {"slider_VL", 0.0, "VL0"},  {"slider_VL", 0.5, "VL50"},
        {"slider_MC", 1.0, "MC10"},  {"slider_MC", 0.0, "MC0"},  {"slider_KY", 0.5, "KY0"},
        {"slider_KY", 0.0, "KY-6"},  {"slider_KY", 1.0, "KY6"},
    };
    for (const Case& c : cases) {
        QQuickItem* slider = Item(c.name);
        ASSERT_NE(slider, nullptr) << c.name;
        const QRectF rect = SceneRect(slider);
        // The ends of the track lie half a knob inside the slider.
        const double x = c.at == 0.0   ? rect.left() + 1
                         : c.at == 1.0 ? rect.right() - 1
                                       : rect.center().x();
        EXPECT_EQ(TapAndRecord({x, rect.center().y()}), QStringList{c.sent}) << c.name;
    }
}

TEST_F(SkinTest, NothingTappableLiesOverTheConsolesOwnControls) {
    int touchAreas = 0;
    for (QQuickItem* item : Items()) {
        if (!item->inherits("QQuickMouseArea")) continue;
        ++touchAreas;
        const QRectF rect = SceneRect(item);
        for (const auto& [name, region] : kNativeRegions) {
            EXPECT_FALSE(rect.intersects(region))
                << "a touch area of " << item->parentItem()->objectName().toStdString()
                << " overlaps " << name.toStdString();
        }
    }
    EXPECT_GE(touchAreas, Vocabulary().size());
}

TEST_F(SkinTest, ShowsTheLevelsAndTheClockItIsGiven) {
    SetVariable("_root.isimusic.text", "75");
    SetVariable("_root.isimic.text", "7");
    SetVariable("_root.isikey.text", "5");
    SetVariable("_root.isitextdurasi.text", "01:02:03");
    SetVariable("_root.txt_kategori.text", "HOUSE MUSIC");
    EXPECT_EQ(Vars("isimusic"), "75");
    ASSERT_NE(Item("isimusic"), nullptr);
    EXPECT_EQ(Item("isimusic")->property("text").toString(), "75");
    EXPECT_EQ(Item("isimic")->property("text").toString(), "7");
    EXPECT_EQ(Item("isikey")->property("text").toString(), "+5");
    EXPECT_EQ(Item("isitextdurasi")->property("text").toString(), "01:02:03");
    EXPECT_EQ(Item("txt_kategori")->property("text").toString(), "HOUSE MUSIC");

    SetVariable("_root.isikey.text", "-2");
    EXPECT_EQ(Item("isikey")->property("text").toString(), "-2");
    // A new song: no shift from its own key.
    SetVariable("_root.isikey.text", "0");
    EXPECT_EQ(Item("isikey")->property("text").toString(), "0");
}

TEST_F(SkinTest, VocalGuideFollowsTheConsole) {
    QQuickItem* on = Item("cmd_vocalon");
    QQuickItem* off = Item("cmd_vocaloff");
    ASSERT_NE(on, nullptr);
    ASSERT_NE(off, nullptr);
    SetVariable("_root.nomer_vocal.text", "1");
    EXPECT_TRUE(on->property("active").toBool());
    EXPECT_FALSE(off->property("active").toBool());
    SetVariable("_root.nomer_vocal.text", "0");
    EXPECT_FALSE(on->property("active").toBool());
    EXPECT_TRUE(off->property("active").toBool());
}

TEST_F(SkinTest, ServiceCallIsAnimatedWhileIndicated) {
    QQuickItem* indicator = Item("callIndicator");
    QQuickItem* call = Item("cmd_call");
    ASSERT_NE(indicator, nullptr);
    ASSERT_NE(call, nullptr);
    EXPECT_FALSE(indicator->isVisible());
    SetVariable("_root.anima_txt.text", "1");
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_TRUE(call->property("pulsing").toBool());
    SetVariable("_root.anima_txt.text", "2");
    EXPECT_FALSE(indicator->isVisible());
    EXPECT_FALSE(call->property("pulsing").toBool());
}

TEST_F(SkinTest, ListModeAndSearchTargetFollowTapsAndTheConsolesResets) {
    QQuickItem* songlist = Item("cmd_songlist");
    QQuickItem* top = Item("cmd_top");
    QQuickItem* title = Item("cmd_tittle");
    QQuickItem* singer = Item("cmd_singer");
    ASSERT_TRUE(songlist && top && title && singer);
    EXPECT_TRUE(songlist->property("active").toBool());
    EXPECT_TRUE(title->property("active").toBool());

    Tap(SceneRect(top).center());
    Tap(SceneRect(singer).center());
    EXPECT_TRUE(top->property("active").toBool());
    EXPECT_FALSE(songlist->property("active").toBool());
    EXPECT_TRUE(singer->property("active").toBool());

    // A group chosen in the console's group list puts the list mode back.
    SetVariable("_root.nomer_songlist.text", "1");
    EXPECT_TRUE(songlist->property("active").toBool());
    EXPECT_FALSE(top->property("active").toBool());
    // The console's reset puts the search target back to the title.
    SetVariable("_root.nomer_judulartis.text", "0");
    EXPECT_TRUE(title->property("active").toBool());
    EXPECT_FALSE(singer->property("active").toBool());

    // Written again with the same text, the reset still applies.
    Tap(SceneRect(singer).center());
    SetVariable("_root.nomer_judulartis.text", "0");
    EXPECT_TRUE(title->property("active").toBool());
}

TEST_F(SkinTest, UnknownPathsAreIgnored) {
    SetVariable("_root.nothing.text", "1");
    SetVariable("isimusic", "99");
    SetVariable("_root.isimusic", "99");
    EXPECT_EQ(Vars("isimusic"), "");
    SetVariable("_root.isimusic.text", "40");
    EXPECT_EQ(Vars("isimusic"), "40");
}

}  // namespace
