// The catalogue search as db/README.md describes it, called the way the console
// calls it: which songs a pattern finds and in what order, in every list mode,
// the same whichever way the procedure chooses to read them, page by page; and
// the search's tables following every edit of the songs.
#include <gtest/gtest.h>

#include "app/adocommand.h"
#include "app/dberror.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "support/admin_db.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using sqltext::CallText;
using testsupport::AdminDb;
using testsupport::ProgramFolder;

// How the procedure may read a tier: its own choice, always walking an index in
// order, always collecting candidates from the word and artist tables, or with
// a bound of one row, so that several words fall back from their trial walk.
enum class Plan { Chosen, Walk, Collect, Fallback };

const char* planName(Plan plan) {
    switch (plan) {
        case Plan::Chosen:
            return "chosen";
        case Plan::Walk:
            return "walk";
        case Plan::Collect:
            return "collect";
        case Plan::Fallback:
            return "fallback";
    }
    return "?";
}

constexpr int kTitle = 1;
constexpr int kArtist = 0;

struct Query {
    int target = kTitle;
    QString pattern;
    int mode = 0;
    int group = 0;
    int category = 0;
};

class SearchTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    Tfmodule module;
    TAdoCommand AdoSpFlast{"AdoSpFlast", &module.AdoConn, TAdoCommand::Kind::StoredProc};
    TAdoCommand session{"session", &module.AdoConn, TAdoCommand::Kind::Query};
    AdminDb songs{AdminDb::songsDatabase()};

    // A catalogue of its own for each test; the demo songs come back after it.
    void SetUp() override {
        songs.replaceCatalogue(
            "(1, 'MY LOVE', 'BRUNO MARS', 2, 1, 1, 0, 1, 50, '2020-01-01'),"
            "(2, 'LOVE STORY', 'ARI LANE', 2, 2, 0, 1, 0, 0, '2026-11-01'),"
            "(3, 'GLOVE AND LOVE', 'BRUNO MARS', 1, 1, 1, 0, 1, 70, '2023-05-05'),"
            "(4, 'ÉTÉ ÉTERNEL', 'CÉLINE MOON', 2, 4, 0, 0, 0, 3, '2023-07-07'),"
            "(5, 'ETERNAL SUMMER', 'MOON RIVERS', 1, 3, 1, 1, 0, 12, '2026-10-10'),"
            "(6, '50% OFF', 'THE DISCOUNTS', 2, 2, 0, 1, 1, 5, '2026-11-25'),"
            "(7, '500 MILES', 'NORA NASH', 2, 1, 0, 0, 0, 0, '2024-01-01'),"
            "(8, 'DON''T STOP', 'NORA NASH', 3, 1, 1, 0, 0, 30, '2024-02-14'),"
            "(9, '''TIL DAWN', 'BELLA MORGAN', 1, 1, 0, 0, 0, 0, '2021-01-01'),"
            "(10, 'A_B SIDE', 'THE UNDERSCORES', 1, 1, 0, 0, 0, 0, '2021-06-01'),"
            "(11, 'AXB SIDE', 'THE UNDERSCORES', 1, 1, 0, 0, 0, 0, '2021-06-02'),"
            "(12, 'RATE 100%', 'THE PERCENTS', 3, 2, 0, 0, 1, 1, '2022-03-03'),"
            "(13, 'LOVE IN RAIN', 'ARI LANE', 1, 1, 1, 1, 1, 20, '2026-09-09'),"
            "(14, 'YOU MY LOVE LOVELY', 'MOON RIVERS', 2, 5, 0, 0, 1, 0, '2025-05-05'),"
            "(15, 'cinta sejati', 'DEWI LESTARI', 1, 1, 0, 0, 0, 0, '2025-01-01'),"
            "(18, 'OH MY LOVE', 'ARI LANE', 3, 2, 0, 0, 0, 0, '2019-01-01')");
    }
    void TearDown() override { songs.restoreCatalogue(); }

    void usePlan(Plan plan) {
        session.SetText(plan == Plan::Walk       ? "SET @cari_batas = 0"
                        : plan == Plan::Collect  ? "SET @cari_batas = 1000000"
                        : plan == Plan::Fallback ? "SET @cari_batas = 1"
                                                 : "SET @cari_batas = NULL");
        session.Execute();
    }

    // The ids of a search's rows; the pattern goes in as the console sends it.
    QStringList search(const Query& q, int offset = 0, int count = 15, int keywordClass = 1) {
        const QString title = q.target == kTitle ? q.pattern : QString();
        const QString artist = q.target == kTitle ? QString() : q.pattern;
        AdoSpFlast.SetText(CallText(
            "CariJudulArtis", {qint64{keywordClass}, qint64{q.group}, qint64{q.category},
                               qint64{q.mode}, title, artist, qint64{offset}, qint64{count}}));
        AdoSpFlast.Open();
        QStringList ids;
        for (AdoSpFlast.First(); !AdoSpFlast.Eof(); AdoSpFlast.Next()) {
            ids << AdoSpFlast.FieldByName("idlagu").AsString();
        }
        AdoSpFlast.Close();
        return ids;
    }

    // Every page of two rows, joined.
    QStringList pageByPage(const Query& q) {
        QStringList ids;
        for (int offset = 0;; offset += 2) {
            const QStringList page = search(q, offset, 2);
            ids << page;
            if (page.size() < 2) {
                return ids;
            }
        }
    }
};

TEST_F(SearchTest, EachWordStartsAWordInOrderIgnoringCaseAndAccents) {
    const struct {
        const char* what;
        Query query;
        QStringList ids;
    } cases[] = {
        {"titles starting with the word first, then the others",
         {kTitle, "LOVE"},
         {"13", "2", "3", "1", "18", "14"}},
        {"inside a word is no match", {kTitle, "OVE"}, {}},
        {"lower case", {kTitle, "love"}, {"13", "2", "3", "1", "18", "14"}},
        {"words in order", {kTitle, "MY%LOVE"}, {"1", "18", "14"}},
        {"words out of order", {kTitle, "LOVE%MY"}, {}},
        {"initials", {kTitle, "M%L"}, {"1", "18", "14"}},
        {"three initials", {kTitle, "Y%M%L"}, {"14"}},
        {"blanks at the ends and doubled", {kTitle, "%MY%%LOVE%"}, {"1", "18", "14"}},
        {"accents ignored", {kTitle, "ete"}, {"4", "5"}},
        {"accents ignored the other way", {kTitle, "ÉTERNAL"}, {"5"}},
        {"a later accented word", {kTitle, "ETERNEL"}, {"4"}},
        {"a lower-case title", {kTitle, "CINTA"}, {"15"}},
        {"typed percent sign matches itself", {kTitle, "50\\%"}, {"6"}},
        {"digits start both", {kTitle, "50"}, {"6", "7"}},
        {"percent sign ending a later word", {kTitle, "100\\%"}, {"12"}},
        {"no word starts with a percent sign", {kTitle, "\\%"}, {}},
        {"quote inside a word", {kTitle, "DON'T"}, {"8"}},
        {"quote starting a word", {kTitle, "'"}, {"9"}},
        {"underscore is no wildcard", {kTitle, "A_B"}, {"10"}},
        {"a backslash makes the next character plain",
         {kTitle, "LO\\VE"},
         {"13", "2", "3", "1", "18", "14"}},
        {"artist initials", {kArtist, "B%M"}, {"9", "3", "1"}},
        {"artist starting with the word first", {kArtist, "MOON"}, {"5", "14", "4"}},
        {"artist accents", {kArtist, "celine"}, {"4"}},
        {"artist's later word", {kArtist, "NASH"}, {"7", "8"}},
        {"artists by name, then title", {kArtist, "THE"}, {"6", "12", "10", "11"}},
        {"no match", {kTitle, "ZZZ"}, {}},
    };
    for (Plan plan : {Plan::Chosen, Plan::Walk, Plan::Collect, Plan::Fallback}) {
        usePlan(plan);
        for (const auto& c : cases) {
            EXPECT_EQ(search(c.query), c.ids) << c.what << ", " << planName(plan);
        }
    }
}

TEST_F(SearchTest, StartingWithTheWordComesFirstInEveryListModeAndFilter) {
    const struct {
        const char* what;
        Query query;
        QStringList ids;
    } cases[] = {
        {"Hits: most played within each tier", {kTitle, "LOVE", 1}, {"13", "3", "1"}},
        {"New: newest within each tier", {kTitle, "LOVE", 2}, {"2", "13"}},
        {"Popular: a starting title before more played ones",
         {kTitle, "LOVE", 3},
         {"13", "3", "1"}},
        {"HD", {kTitle, "LOVE", 4}, {"13", "3", "1", "14"}},
        {"an unknown mode lists like Songlist",
         {kTitle, "LOVE", 9},
         {"13", "2", "3", "1", "18", "14"}},
        {"group", {kTitle, "LOVE", 0, 2}, {"2", "1", "14"}},
        {"another group", {kTitle, "LOVE", 0, 1}, {"13", "3"}},
        {"category", {kTitle, "LOVE", 0, 0, 1}, {"13", "3", "1"}},
        {"mode and group", {kTitle, "LOVE", 3, 1}, {"13", "3"}},
        {"two words in a mode", {kTitle, "MY%LOVE", 4}, {"1", "14"}},
        {"artist in a mode", {kArtist, "MOON", 3}, {"5", "4"}},
        {"artist in a group", {kArtist, "MOON", 0, 2}, {"14", "4"}},
        {"no words, Popular in a group", {kTitle, "", 3, 2}, {"1", "6", "4"}},
        {"no words, New in a group", {kTitle, "", 2, 1}, {"5", "13"}},
    };
    for (Plan plan : {Plan::Chosen, Plan::Walk, Plan::Collect, Plan::Fallback}) {
        usePlan(plan);
        for (const auto& c : cases) {
            EXPECT_EQ(search(c.query), c.ids) << c.what << ", " << planName(plan);
        }
    }
}

TEST_F(SearchTest, PagesJoinIntoTheWholeListWhateverThePlan) {
    songs.exec(
        "INSERT INTO lagu (idlagu, judul, artis, idgolongan, jumlahputar, tanggalmasuk) VALUES "
        "(16, 'LOVE STORY', 'ARI LANE', 2, 50, '2026-11-01'),"
        "(17, 'MY LOVE', 'BRUNO MARS', 1, 20, '2020-01-01')");
    const Query queries[] = {
        {kTitle, "LOVE", 0}, {kTitle, "LOVE", 1}, {kTitle, "LOVE", 2}, {kTitle, "LOVE", 3},
        {kTitle, "LOVE", 4}, {kTitle, "M%L", 0},  {kArtist, "B%M", 3}, {kTitle, "", 0},
        {kTitle, "", 3},     {kTitle, "", 0, 2},  {kArtist, "", 0},
    };
    usePlan(Plan::Chosen);
    for (const Query& q : queries) {
        const QStringList whole = search(q, 0, 100);
        const QString what = q.pattern + " mode " + QString::number(q.mode);
        for (Plan plan : {Plan::Chosen, Plan::Walk, Plan::Collect, Plan::Fallback}) {
            usePlan(plan);
            EXPECT_EQ(pageByPage(q), whole) << what << ", " << planName(plan);
            EXPECT_EQ(search(q, 0, 100), whole) << what << ", " << planName(plan);
        }
        usePlan(Plan::Chosen);
    }
    EXPECT_EQ(search({kTitle, "LOVE"}, 0, 0), QStringList());
    EXPECT_EQ(search({kTitle, "LOVE"}, 100, 15), QStringList());
    EXPECT_EQ(search({kTitle, "LOVE"}, 0, 15, 2), search({kTitle, "LOVE"}, 0, 15, 1))
        << "the keyword class does not change the result";
}

// After each edit the search finds the song where it now belongs, read from the
// word and artist tables; after all of them the tables hold what a rebuild
// from the songs gives.
TEST_F(SearchTest, TheSearchTablesFollowEveryEditOfTheSongs) {
    usePlan(Plan::Collect);
    const auto finds = [this](const Query& q) { return search(q).contains("20"); };

    songs.exec(
        "INSERT INTO lagu (idlagu, judul, artis, idgolongan, tanggalmasuk) VALUES "
        "(20, 'QQ FIRST WORDZ', 'ZED KNIGHTS', 4, '2026-01-01')");
    EXPECT_TRUE(finds({kTitle, "WORDZ"}));
    EXPECT_TRUE(finds({kArtist, "KNIGHTS"}));
    EXPECT_TRUE(finds({kArtist, "ZED%K"}));

    songs.exec("UPDATE lagu SET judul = 'QQ OTHER TITLE' WHERE idlagu = 20");
    EXPECT_FALSE(finds({kTitle, "WORDZ"}));
    EXPECT_TRUE(finds({kTitle, "TITLE"}));

    songs.exec("UPDATE lagu SET idgolongan = 5 WHERE idlagu = 20");
    EXPECT_FALSE(finds({kTitle, "TITLE", 0, 4}));
    EXPECT_TRUE(finds({kTitle, "TITLE", 0, 5}));
    EXPECT_FALSE(finds({kArtist, "KNIGHTS", 0, 4}));
    EXPECT_TRUE(finds({kArtist, "KNIGHTS", 0, 5}));

    EXPECT_FALSE(finds({kTitle, "TITLE", 3}));
    songs.exec("UPDATE lagu SET jumlahputar = 9 WHERE idlagu = 20");
    EXPECT_TRUE(finds({kTitle, "TITLE", 3})) << "a play";
    EXPECT_FALSE(finds({kTitle, "TITLE", 4}));
    songs.exec("UPDATE lagu SET hd = 1 WHERE idlagu = 20");
    EXPECT_TRUE(finds({kTitle, "TITLE", 4}));

    songs.exec("UPDATE lagu SET artis = 'ZED BISHOPS' WHERE idlagu = 20");
    EXPECT_FALSE(finds({kArtist, "KNIGHTS"}));
    EXPECT_TRUE(finds({kArtist, "BISHOPS"}));
    EXPECT_EQ(songs.scalar("SELECT COUNT(*) FROM kataartis WHERE artis = 'ZED KNIGHTS'").toInt(), 0)
        << "a name without songs leaves the artist tables";

    songs.exec("UPDATE lagu SET idlagu = 21 WHERE idlagu = 20");
    EXPECT_TRUE(search({kTitle, "TITLE"}).contains("21"));
    songs.exec("DELETE FROM lagu WHERE idlagu = 3");
    EXPECT_EQ(search({kTitle, "LOVE"}), QStringList({"13", "2", "1", "18", "14"}));
    EXPECT_EQ(search({kArtist, "MARS"}), QStringList({"1"}));

    const auto tables = [this] {
        return songs.rows("SELECT * FROM katalagu ORDER BY idlagu, urutan") +
               songs.rows("SELECT * FROM artislagu ORDER BY artis, idgolongan") +
               songs.rows("SELECT * FROM kataartis ORDER BY artis, urutan");
    };
    const QList<QStringList> followed = tables();
    songs.exec("CALL KataLaguSusunUlang(1)");
    EXPECT_EQ(followed, tables());

    songs.exec("DELETE FROM lagu WHERE idlagu = 21");
    EXPECT_FALSE(search({kTitle, "TITLE"}).contains("21"));
    EXPECT_EQ(songs.scalar("SELECT COUNT(*) FROM katalagu WHERE idlagu = 21").toInt(), 0);
    EXPECT_EQ(songs.scalar("SELECT COUNT(*) FROM artislagu WHERE artis = 'ZED BISHOPS'").toInt(),
              0);
}

// The console's account runs the search but may not change its tables, not
// even through the routines that keep them.
TEST_F(SearchTest, TheConsolesAccountCannotWriteTheSearchTables) {
    const auto wordRows = [this] { return songs.scalar("SELECT COUNT(*) FROM katalagu").toInt(); };
    const int before = wordRows();
    ASSERT_GT(before, 0);
    const QString denied[] = {
        "DELETE FROM katalagu",
        "CALL KataLaguSusunUlang(1)",
        "CALL KataLaguHapus(1, 2, 'MY LOVE')",
        "CALL CariNilai('DELETE FROM katalagu', @x)",
    };
    for (const QString& statement : denied) {
        session.SetText(statement);
        EXPECT_THROW(session.Execute(), EDatabaseError) << statement;
    }
    EXPECT_EQ(wordRows(), before);
}

}  // namespace
