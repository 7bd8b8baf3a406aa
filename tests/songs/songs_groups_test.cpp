// Song groups and the song list's rows: choosing a group, the genre list,
// tapping and selecting songs, and adding a song to the room playlist.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "songs_fixture.h"
#include "support/qt_printers.h"

namespace {

using songstest::SongsFixture;

class SongGroupsTest : public SongsFixture {
protected:
    void SetUp() override {
        SongsFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // The group list as the preparation sequence loads it.
        SmoothListBox* groups = console().lvkategori;
        groups->addItem({.notes = "ALL", .tag = 0});
        groups->addItem({.notes = "<html>INDONESIA</html>", .tag = 1});
        groups->addItem({.notes = "<html>EDM</html>", .tag = 12});
        groups->addItem({.notes = "<html>K-POP</html>", .tag = 13});
        groups->hide();
    }

    // Fills the song list with rows of the given song ids.
    void showSongs(const QList<int>& ids) {
        console().AdvSonglist->clear();
        for (int id : ids) {
            console().AdvSonglist->addItem(
                {.notes = "<html>SONG</html>", .tag = id, .hint = QString::number(id)});
        }
    }
};

TEST_F(SongGroupsTest, CategoryShowsTheGroupListAndChoosingAGroupSearchesTheWholeGroup) {
    const struct {
        int row;
        int group;
        const char* label;  // the caption written; none for a group without one
        const char* message;
    } cases[] = {
        {0, 0, "ALL", "28#0"},
        {1, 1, "INDONESIA", "28#1"},
        {2, 12, "EDM", "28#12"},
        {3, 13, nullptr, "28#13"},
    };
    Tfplayer& c = console();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.group);
        c.edtcari->setText("LOVE");
        c.cbMode->setCurrentIndex(3);
        c.pSiKat = 4;
        c.tmrsearching->stop();
        skinCommand("category");
        EXPECT_FALSE(c.lvkategori->isHidden());
        clearRecords();

        c.lvkategoriItemClick(k.row);

        EXPECT_TRUE(c.lvkategori->isHidden());
        EXPECT_EQ(c.pSiGol, k.group);
        EXPECT_EQ(c.pSiKat, 4) << "the category filter stays";
        EXPECT_EQ(sent(), QStringList({k.message}));
        EXPECT_EQ(skinVariable("_root.nomer_songlist.text"), "1");
        EXPECT_EQ(skinVariable("_root.txt_kategori.text"),
                  k.label ? std::optional<QString>(k.label) : std::nullopt);
        EXPECT_TRUE(c.tmrsearching->isActive());
        tick();
        EXPECT_EQ(c.Edit2->text(),
                  QStringLiteral("CariJudulArtis(1,%1,4,0,'','',0,15);").arg(k.group))
            << "the typed keyword is discarded and the list mode is back to Songlist";
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(SongGroupsTest, AFailedGroupChoiceIsLoggedAndKeepsWhatWasDone) {
    console().edtcari->setText("LOVE");
    console().lvkategoriItemClick(9);  // no such row

    EXPECT_EQ(console().edtcari->text(), "") << "done before the failure";
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("LvKategori ")) << logEntries()[0].toStdString();
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(SongGroupsTest, TheGenreListStaysHiddenAndEmptyAndItsRowSetsTheCategory) {
    Tfplayer& c = console();
    EXPECT_TRUE(c.lvgenre->isHidden());
    EXPECT_EQ(c.lvgenre->count(), 0);

    c.lvgenre->addItem({.notes = "POP", .tag = 1});
    c.lvgenre->show();
    c.edtcari->setText("LOVE");
    c.pSiGol = 2;
    c.tmrsearching->stop();
    c.lvgenreItemClick(0);

    EXPECT_EQ(c.pSiKat, 1);
    EXPECT_EQ(c.pSiGol, 2);
    EXPECT_EQ(c.edtcari->text(), "");
    EXPECT_TRUE(c.lvgenre->isHidden());
    EXPECT_TRUE(c.tmrsearching->isActive());
    EXPECT_TRUE(sent().isEmpty());

    c.lvgenreItemClick(5);
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("LvGenre ")) << logEntries()[0].toStdString();
}

TEST_F(SongGroupsTest, TappingASongChoosesItForPlaySelectingOneKeepsTheSource) {
    Tfplayer& c = console();
    showSongs({501, 502, 503});
    c.pilihplay = 1;

    c.AdvSonglist->setSelectedIndex(1);
    EXPECT_EQ(c.IdlaguSelect, 502);
    EXPECT_EQ(c.pilihplay, 1) << "a selection alone does not change the play source";

    emit c.AdvSonglist->itemClicked(2);
    EXPECT_EQ(c.IdlaguSelect, 503);
    EXPECT_EQ(c.pilihplay, 0);
}

TEST_F(SongGroupsTest, TheAddButtonPutsTheSongIntoThePlaylistAndTellsTheRoomPlayer) {
    const int song = addSong("QZADD ONE", "QZ BAND");
    showSongs({song, 0});

    emit console().AdvSonglist->graphicClicked(0);

    EXPECT_EQ(console().AdvSonglist->selectedIndex(), 0);
    EXPECT_EQ(console().IdlaguSelect, song);
    const QStringList saves = statements("CALL SavePlaylist");
    ASSERT_EQ(saves.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^CALL SavePlaylist\\(%1,%2,'[0-9A-Z]{6}'\\)$")
                                       .arg(song)
                                       .arg(QRegularExpression::escape(quotedRoom())))
                    .match(saves[0])
                    .hasMatch())
        << saves[0].toStdString();
    EXPECT_EQ(console().lvPlaylistnNew->count(), 1);
    EXPECT_EQ(console().lvPlaylistnNew->item(0).hint, QString::number(song));
    EXPECT_EQ(console().lvPlaylistnNew->selectedIndex(), 0);
    EXPECT_EQ(console().lblCountPlaylist->text(), "1");
    EXPECT_EQ(sent(), QStringList({"20#"}));
    EXPECT_TRUE(platform.sleeps.isEmpty()) << "the button form does not wait";

    clearRecords();
    emit console().AdvSonglist->graphicClicked(1);  // a row without a song
    EXPECT_EQ(console().AdvSonglist->selectedIndex(), 1) << "the row is selected all the same";
    EXPECT_EQ(statements("CALL SavePlaylist").size(), 1);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(SongGroupsTest, AFailedAddButtonIsLoggedAndTheRoomPlayerIsNotTold) {
    showSongs({addSong("QZADD TWO", "QZ BAND")});
    loseSongsServer();

    console().AdvSonglistGraphicRightClick(0);

    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Save Right ")) << logEntries()[0].toStdString();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(console().lblNotice->isHidden()) << "the guest sees that nothing was added";
    EXPECT_EQ(console().lblNotice->text(), Tfplayer::SongNotAddedNotice());
}

TEST_F(SongGroupsTest, SavePlaylistAddsTheSelectedSongOnlyWhenThereIsOne) {
    const int song = addSong("QZSAVE ONE", "QZ BAND");
    const struct {
        QList<int> rows;
        int selected;
        int saves;  // SavePlaylist calls afterwards
        QStringList messages;
    } cases[] = {
        {{song}, -1, 0, {}},    // nothing selected
        {{0, song}, 0, 0, {}},  // a row without a song
        {{0, song}, 1, 1, {"20#"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.selected);
        showSongs(k.rows);
        console().AdvSonglist->setSelectedIndex(k.selected);
        clearRecords();
        platform.sleeps.clear();

        skinCommand("saveplaylist");

        EXPECT_EQ(statements("CALL SavePlaylist").size(), k.saves);
        EXPECT_EQ(sent(), k.messages);
        EXPECT_EQ(platform.sleeps, k.saves ? QList<int>({100}) : QList<int>());
    }
    EXPECT_EQ(console().lvPlaylistnNew->count(), 1);
    EXPECT_EQ(console().lvPlaylistnNew->item(0).hint, QString::number(song));
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

}  // namespace
