// A guest's evening in the shown window, with real taps on the native lists,
// buttons and keyboard and the skin's commands: type, see results, pick a
// group, add songs, reorder, play, and request a missing song.
#include <gtest/gtest.h>

#include <QTest>

#include "songs_fixture.h"
#include "support/qt_printers.h"

namespace {

using songstest::SongsFixture;

class GuestPathTest : public SongsFixture {
protected:
    void SetUp() override {
        SongsFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // As the preparation sequence leaves the songs panel.
        Tfplayer& c = console();
        c.lvkategori->addItem({.notes = "ALL", .tag = 0});
        c.lvkategori->addItem({.notes = "<html>WESTERN</html>", .tag = 2});
        c.lvkategori->hide();
        c.cbtitsing->setCurrentIndex(1);
        c.cbMode->setCurrentIndex(0);
        c.edtcari->setText(QString());
        c.tmrsearching->stop();
        c.show();
        QCoreApplication::processEvents();
    }

    static void tapRow(SmoothListBox* list, int row) {
        list->scrollToItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->itemRect(row).center());
    }
    static void tapButtonOfRow(SmoothListBox* list, int row) {
        list->scrollToItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->graphicRect(row).center());
    }
    void tapKeys(const QString& captions) {
        TouchKeyboard* keyboard = console().AdvSmoothTouchKeyBoard3;
        for (const QString& caption : captions.split(' ')) {
            QTest::mouseClick(keyboard, Qt::LeftButton, {}, keyboard->keyRect(caption).center());
        }
    }
    static int rowOfSong(SmoothListBox* list, int id) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i).tag == id) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(GuestPathTest, TypeSeePickAGroupAddReorderPlayAndRequestAMissingSong) {
    Tfplayer& c = console();
    const int one = addSong("QZPATH ONE", "QZ BAND", 2);
    const int two = addSong("QZPATH TWO", "QZ BAND", 2);
    const int three = addSong("QZPATH THREE", "QZ BAND", 2);

    // Type and see results.
    for (const char* key : {"q", "z", "p", "a", "t", "h"}) {
        skinCommand(key);
        tick();
    }
    tick(9);
    ASSERT_EQ(c.AdvSonglist->count(), 3);

    // Add two songs with their rows' buttons.
    tapButtonOfRow(c.AdvSonglist, rowOfSong(c.AdvSonglist, one));
    tapButtonOfRow(c.AdvSonglist, rowOfSong(c.AdvSonglist, two));
    ASSERT_EQ(c.lvPlaylistnNew->count(), 2);

    // Pick a group: the whole group, the typed keyword gone.
    skinCommand("category");
    tapRow(c.lvkategori, 1);
    EXPECT_TRUE(c.lvkategori->isHidden());
    EXPECT_EQ(c.edtcari->text(), "");
    tick(10);
    const int threeRow = rowOfSong(c.AdvSonglist, three);
    ASSERT_GE(threeRow, 0) << "the group's songs are listed";

    // Choose a song and add it from the skin.
    tapRow(c.AdvSonglist, threeRow);
    EXPECT_EQ(c.IdlaguSelect, three);
    skinCommand("saveplaylist");
    ASSERT_EQ(c.lvPlaylistnNew->count(), 3);

    // Reorder: the new song one place up, then first.
    tapRow(c.lvPlaylistnNew, 2);
    skinCommand("up");
    EXPECT_EQ(c.lvPlaylistnNew->item(1).hint, QString::number(three));
    EXPECT_EQ(c.lvPlaylistnNew->selectedIndex(), 1);
    skinCommand("priority");
    const auto shownSongs = [&] {
        QStringList ids;
        for (int i = 0; i < c.lvPlaylistnNew->count(); ++i) {
            ids << c.lvPlaylistnNew->item(i).hint;
        }
        return ids;
    };
    EXPECT_EQ(shownSongs(),
              QStringList({QString::number(three), QString::number(one), QString::number(two)}));

    // Play the first entry, then the last with its play-now button.
    tapRow(c.lvPlaylistnNew, 0);
    skinCommand("play");
    tapButtonOfRow(c.lvPlaylistnNew, 1);
    EXPECT_EQ(shownSongs(), QStringList({QString::number(one)}));

    EXPECT_EQ(sent(), QStringList({"0#q", "0#z", "0#p", "0#a", "0#t", "0#h", "20#", "20#", "28#2",
                                   "20#", "21#", "21#", "37#" + QString::number(three),
                                   "37#" + QString::number(two)}));

    // Request a missing song with the form's own keyboard.
    skinCommand("songrequest");
    tapKeys("S I T I");
    c.edtSong[0]->setFocus();
    tapKeys("L A G U Space B A R U");
    QTest::mouseClick(c.btsubmitrequest, Qt::LeftButton);
    EXPECT_TRUE(c.Panel_Request->isHidden());
    EXPECT_EQ(songs
                  .scalar("SELECT CONCAT(nama, '/', judul1) FROM requestlagu WHERE namaroom = " +
                          quotedRoom())
                  .toString(),
              "SITI/LAGU BARU");
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

}  // namespace
