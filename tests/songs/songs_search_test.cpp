// The catalogue search: the command text built from the search input, the two
// stages of the debounce, the rows of the song list, and the skin's keys.
#include <gtest/gtest.h>

#include "songs_fixture.h"
#include "support/qt_printers.h"

namespace {

using songstest::SongsFixture;

constexpr int kTitle = 1;
constexpr int kArtist = 0;

class SearchTest : public SongsFixture {
protected:
    // The search input as the guest leaves it, then one tick: the first stage.
    void firstStage(const QString& keyword, int target = kTitle, int group = 0, int category = 0,
                    int mode = 0) {
        Tfplayer& c = console();
        c.cbtitsing->setCurrentIndex(target);
        c.cbMode->setCurrentIndex(mode);
        c.pSiGol = group;
        c.pSiKat = category;
        c.edtcari->setText(keyword);
        c.RestartSearch();
        tick();
    }

    QStringList titlesShown() {
        QStringList titles;
        for (int i = 0; i < console().AdvSonglist->count(); ++i) {
            QString notes = console().AdvSonglist->item(i).notes;
            notes.remove(QStringLiteral("<html>"));
            titles << notes.section(QStringLiteral("<IND"), 0, 0);
        }
        return titles;
    }
};

TEST_F(SearchTest, TheCommandTextCarriesClassFiltersAndPatternsAsTheServerReceivesIt) {
    const struct {
        QString keyword;
        int target, group, category, mode;
        QString text;
    } cases[] = {
        {"", kTitle, 0, 0, 0, "CariJudulArtis(1,0,0,0,'','',0,15);"},
        {"MY LOVE", kTitle, 0, 0, 0, "CariJudulArtis(1,0,0,0,'MY%LOVE','',0,15);"},
        {"CINTA", kTitle, 0, 0, 0, "CariJudulArtis(2,0,0,0,'CINTA','',0,15);"},
        {"CINTA", kArtist, 7, 3, 4, "CariJudulArtis(2,7,3,4,'','CINTA',0,15);"},
        {"A1B2", kArtist, 0, 0, 1, "CariJudulArtis(2,0,0,1,'','A1B2',0,15);"},
        {"50%", kTitle, 0, 0, 0, "CariJudulArtis(1,0,0,0,'50\\%','',0,15);"},
        {"AC\\DC", kArtist, 0, 0, 0, "CariJudulArtis(1,0,0,0,'','ACDC',0,15);"},
        {"DON'T", kTitle, 0, 0, 0, "CariJudulArtis(1,0,0,0,'DON''T','',0,15);"},
        {"100% \\ 'A'", kTitle, 0, 0, 0, "CariJudulArtis(1,0,0,0,'100\\%%%''A''','',0,15);"},
        {" ", kTitle, 13, 0, 3, "CariJudulArtis(1,13,0,3,'%','',0,15);"},
        {"ÉTÉ", kTitle, 0, 0, 2, "CariJudulArtis(1,0,0,2,'ÉTÉ','',0,15);"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword.toStdString());
        firstStage(c.keyword, c.target, c.group, c.category, c.mode);
        EXPECT_EQ(console().Edit2->text(), c.text);
        const QStringList calls = statements("CALL CariJudulArtis");
        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.last(), recorded({"CALL " + c.text})[0]);
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(SearchTest, TypedSignsMatchThemselvesAndABackslashIsDropped) {
    addSong("QZSIGN 50% DEAL", "QZ BAND");
    addSong("QZSIGN 500 MILES", "QZ BAND");
    addSong("QZSIGN DON'T GO", "QZ BAND");
    const struct {
        QString keyword;
        QStringList titles;
    } cases[] = {
        {"QZSIGN 50%", {"QZSIGN 50% DEAL"}},
        {"QZSIGN DON'T", {"QZSIGN DON'T GO"}},
        {"QZSIGN\\ DON'T\\", {"QZSIGN DON'T GO"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword.toStdString());
        firstStage(c.keyword);
        EXPECT_EQ(titlesShown(), c.titles);
    }
}

TEST_F(SearchTest, ARowShowsTitleAndArtistCutTo30WithTheSongIdAndTheFirstRowIsSelected) {
    const QString title = "QZROW " + QString(25, 'T');  // 31 characters
    const QString artist = QString(30, 'A');
    const int id = addSong(title, artist);
    console().IdlaguSelect = 0;

    firstStage("QZROW");

    ASSERT_EQ(console().AdvSonglist->count(), 1);
    const SmoothListItem row = console().AdvSonglist->item(0);
    EXPECT_EQ(row.notes,
              "<html>" + title.left(29) + QChar(0x2026) + "<IND x=\"350\">" + artist + "</html>");
    EXPECT_EQ(row.tag, id);
    EXPECT_EQ(row.hint, QString::number(id));
    EXPECT_TRUE(row.enabled);
    EXPECT_EQ(console().AdvSonglist->selectedIndex(), 0);
    EXPECT_EQ(console().IdlaguSelect, id) << "the selected row is the song for play";
    EXPECT_FALSE(console().module().AdoConn.Connected())
        << "every stage disconnects, so the next use connects again";
}

TEST_F(SearchTest, FastTypingRepeatsOnlyTheFirstStageAndTheSecondFollowsTenTicksAfterTheLastKey) {
    for (int i = 1; i <= 20; ++i) {
        addSong(QStringLiteral("QZSTAGE %1").arg(i, 2, 10, QLatin1Char('0')), "QZ BAND");
    }
    console().cbtitsing->setCurrentIndex(kTitle);
    skinCommand("clear");
    skinCommand("q");
    tick();
    skinCommand("z");  // two keys within one tick: one first stage for both
    skinCommand("s");
    tick();
    skinCommand("t");
    tick();
    skinCommand("a");
    tick();
    EXPECT_EQ(console().AdvSonglist->count(), 15);
    console().AdvSonglist->setSelectedIndex(3);
    console().AdvSonglistItemClick(3);

    tick(8);
    EXPECT_EQ(statements("CALL CariJudulArtis").size(), 4) << "nine ticks: no second stage yet";
    tick();

    EXPECT_EQ(statements("CALL CariJudulArtis"),
              recorded({"CALL CariJudulArtis(2,0,0,0,'Q','',0,15);",
                        "CALL CariJudulArtis(2,0,0,0,'QZS','',0,15);",
                        "CALL CariJudulArtis(2,0,0,0,'QZST','',0,15);",
                        "CALL CariJudulArtis(2,0,0,0,'QZSTA','',0,15);",
                        "CALL CariJudulArtis(2,0,0,0,'QZSTA','',15,700);"}));
    EXPECT_EQ(console().AdvSonglist->count(), 20) << "the second stage appends";
    EXPECT_EQ(console().AdvSonglist->selectedIndex(), 3)
        << "the row chosen after the first stage stays chosen";
    EXPECT_EQ(console().IdlaguSelect, console().AdvSonglist->item(3).tag)
        << "and is the song that \"saveplaylist\" adds";
    EXPECT_FALSE(console().tmrsearching->isActive());
    EXPECT_EQ(sent(), QStringList({"35#", "0#q", "0#z", "0#s", "0#t", "0#a"}));

    tick(12);
    EXPECT_EQ(statements("CALL CariJudulArtis").size(), 5) << "an idle search runs nothing";
}

TEST_F(SearchTest, ASmallOrEmptyResultStillRunsTheSecondStageAndEmptySelectsNothing) {
    addSong("QZFEW ONE", "QZ BAND");
    addSong("QZFEW TWO", "QZ BAND");
    const struct {
        QString keyword;
        int rows;
        int selected;
    } cases[] = {{"QZFEW", 2, 0}, {"QZNOSUCHSONG", 0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword.toStdString());
        firstStage(c.keyword);
        tick(9);
        EXPECT_EQ(statements("CALL CariJudulArtis").last(),
                  recorded({"CALL CariJudulArtis(2,0,0,0,'" + c.keyword + "','',15,700);"})[0]);
        EXPECT_EQ(console().AdvSonglist->count(), c.rows);
        EXPECT_EQ(console().AdvSonglist->selectedIndex(), c.selected);
    }
}

// An empty list alone would read as "no such song": the guest is told that
// the search failed, without a box to answer.
TEST_F(SearchTest, AFailedStageEmptiesTheListSaysSoAndLeavesTheConnectionClosed) {
    addSong("QZFAIL ONE", "QZ BAND");
    firstStage("QZFAIL");
    ASSERT_EQ(console().AdvSonglist->count(), 1);
    EXPECT_TRUE(console().lblNotice->isHidden());

    loseSongsServer();
    firstStage("QZFAILED");

    EXPECT_EQ(console().AdvSonglist->count(), 0);
    EXPECT_FALSE(console().lblNotice->isHidden());
    EXPECT_EQ(console().lblNotice->text(), Tfplayer::SearchFailedNotice());
    EXPECT_EQ(console().Edit2->text(), "CariJudulArtis(2,0,0,0,'QZFAILED','',0,15);");
    EXPECT_FALSE(console().module().AdoConn.Connected());
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
}

TEST_F(SearchTest, ChangesRestartTheSearchButChoicesSetFromCodeDoNot) {
    Tfplayer& c = console();
    c.edtcari->setText(QString());
    c.tmrsearching->stop();
    c.keytime = 7;

    c.cbMode->setCurrentIndex(2);
    c.cbtitsing->setCurrentIndex(0);
    c.edtcari->setText(QString());  // already empty: no change
    EXPECT_FALSE(c.tmrsearching->isActive());
    EXPECT_EQ(c.keytime, 7);

    const std::function<void()> changes[] = {
        [&] { emit c.cbMode->activated(3); },
        [&] { emit c.cbtitsing->activated(1); },
        [&] { c.edtcari->setText(QStringLiteral("x")); },
    };
    for (const auto& change : changes) {
        c.tmrsearching->stop();
        c.keytime = 7;
        change();
        EXPECT_TRUE(c.tmrsearching->isActive());
        EXPECT_EQ(c.keytime, 0);
    }
    EXPECT_EQ(c.edtcari->text(), "X") << "the search text is held in capitals";
}

TEST_F(SearchTest, TargetAndListModeCommandsRestartTheSearchAndTellTheRoomPlayer) {
    const struct {
        const char* command;
        const char* message;
        int targetBefore, target;  // cbtitsing
        int mode;                  // cbMode afterwards (2 before)
        int group;                 // pSiGol afterwards (5 before)
    } cases[] = {
        {"tittle", "29#1", 0, 1, 2, 5},   {"singer", "29#0", 1, 0, 2, 5},
        {"songlist", "40#0", 1, 1, 0, 0}, {"top", "40#1", 1, 1, 1, 0},
        {"popular", "40#3", 1, 1, 3, 0},
    };
    Tfplayer& c = console();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.command);
        c.cbMode->setCurrentIndex(2);
        c.cbtitsing->setCurrentIndex(k.targetBefore);
        c.pSiGol = 5;
        c.pSiKat = 4;
        c.keytime = 7;
        c.tmrsearching->stop();
        clearRecords();

        skinCommand(k.command);

        EXPECT_EQ(sent(), QStringList({k.message}));
        EXPECT_EQ(c.cbtitsing->currentIndex(), k.target);
        EXPECT_EQ(c.cbMode->currentIndex(), k.mode);
        EXPECT_EQ(c.pSiGol, k.group);
        EXPECT_EQ(c.pSiKat, 4) << "the category filter stays";
        EXPECT_EQ(c.keytime, 0);
        EXPECT_TRUE(c.tmrsearching->isActive());
        EXPECT_EQ(skinVariable("_root.txt_kategori.text"),
                  k.group == 0 ? std::optional<QString>("ALL") : std::nullopt);
    }
}

TEST_F(SearchTest, EveryCharacterKeyTypesIntoTheSearchAndIsMirroredToTheRoomPlayer) {
    const QString keys = "qwertyuiopasdfghjklzxcvbnm1234567890!@#%$&*().,-'^:;";
    for (const QChar key : keys) {
        SCOPED_TRACE(QString(key).toStdString());
        console().edtcari->setText(QString());
        clearRecords();
        skinCommand(QString(key));
        EXPECT_EQ(console().edtcari->text(), QString(key).toUpper());
        EXPECT_EQ(sent(), QStringList({"0#" + QString(key)}));
    }
}

TEST_F(SearchTest, SpaceBackspaceAndClearEditTheSearchAndAlwaysSend) {
    const struct {
        const char* command;
        const char* text;  // edtcari afterwards
        const char* message;
    } steps[] = {
        {"clear", "", "35#"},      {"k", "K", "0#k"},           {"space", "K ", "0#SP"},
        {"o", "K O", "0#o"},       {"backspace", "K ", "0#BC"}, {"backspace", "K", "0#BC"},
        {"backspace", "", "0#BC"}, {"backspace", "", "0#BC"},  // nothing left: sent anyway
        {"a", "A", "0#a"},         {"clear", "", "35#"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        clearRecords();
        skinCommand(step.command);
        EXPECT_EQ(console().edtcari->text(), step.text);
        EXPECT_EQ(sent(), QStringList({step.message}));
    }
    EXPECT_EQ(platform.sleeps, QList<int>({50, 50})) << "each clear waits 50 ms";
}

}  // namespace
