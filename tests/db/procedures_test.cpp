// The stored procedures behave as db/README.md documents, called the way the
// console calls them: through its command objects, on its own account.
#include <gtest/gtest.h>

#include <memory>

#include "app/adocommand.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "support/admin_db.h"
#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using sqltext::CallText;
using testsupport::AdminDb;
using testsupport::ProgramFolder;

class ProceduresTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    Tfmodule module;
    TAdoCommand SpCall{"SpCall", &module.AdoConn, TAdoCommand::Kind::StoredProc};
    TAdoCommand ADOTransaksi{"ADOTransaksi", &module.ADOTransaksi, TAdoCommand::Kind::StoredProc};
    AdminDb songs{AdminDb::songsDatabase()};

    // Rows of the open command as "col1|col2|..." for the named columns.
    static QStringList rows(TAdoCommand& command, const QStringList& columns) {
        QStringList result;
        for (command.First(); !command.Eof(); command.Next()) {
            QStringList fields;
            for (const QString& column : columns) {
                fields << command.FieldByName(column).AsString();
            }
            result << fields.join('|');
        }
        return result;
    }

    QStringList call(const QString& text, const QStringList& columns) {
        SpCall.SetText(text);
        SpCall.Open();
        return rows(SpCall, columns);
    }

    void execute(const QString& text) {
        SpCall.SetText(text);
        SpCall.Execute();
    }
};

// ---- Song groups and search ---------------------------------------------------

TEST_F(ProceduresTest, ViewKategoriListsTheTwelveGroupsInTheirOrder) {
    EXPECT_EQ(call("ViewKategori;", {"idgolongan", "golongan"}),
              QStringList({"1|INDONESIA", "2|WESTERN", "3|MANDARIN", "4|DAERAH", "5|CHILDREN",
                           "6|MALAYSIA", "7|INDIA", "8|JEPANG", "9|KOREA", "10|ROHANI",
                           "11|HOUSE MUSIC", "12|EDM"}));
}

class CatalogueSearchTest : public ProceduresTest {
protected:
    void SetUp() override {
        songs.replaceCatalogue(
            "(1, 'MY LOVE', 'BRUNO MARS', 2, 1, 1, 0, 1, 50, '2020-01-01'),"
            "(2, 'LOVE STORY', 'ARI LANE', 2, 2, 0, 1, 0, 0, '2026-11-01'),"
            "(3, 'cinta sejati', 'DEWI LESTARI', 1, 1, 1, 1, 0, 90, '2026-10-01'),"
            "(4, '50% OFF', 'THE DISCOUNTS', 2, 2, 0, 0, 1, 5, '2025-01-01'),"
            "(5, '500 MILES', 'NORA NASH', 2, 1, 0, 0, 0, 0, '2024-01-01'),"
            "(6, 'DON''T STOP', 'NORA NASH', 3, 1, 0, 0, 0, 0, '2024-01-01')");
    }
    void TearDown() override { songs.restoreCatalogue(); }

    QStringList search(int mode, const QString& title, const QString& artist, int group = 0,
                       int category = 0, int offset = 0, int count = 15) {
        return call(
            CallText("CariJudulArtis", {qint64{1}, qint64{group}, qint64{category}, qint64{mode},
                                        title, artist, qint64{offset}, qint64{count}}),
            {"idlagu"});
    }
};

TEST_F(CatalogueSearchTest, PatternsFiltersAndListModes) {
    const struct {
        const char* what;
        int mode;
        QString title, artist;
        int group, category;
        QStringList ids;
    } cases[] = {
        {"everything by title", 0, "", "", 0, 0, {"4", "5", "3", "6", "2", "1"}},
        {"case-insensitive", 0, "CINTA", "", 0, 0, {"3"}},
        {"blank became %", 0, "MY%LOVE", "", 0, 0, {"1"}},
        {"a title starting with the word, then a later word", 0, "LOVE", "", 0, 0, {"2", "1"}},
        {"typed percent is literal", 0, "50\\%", "", 0, 0, {"4"}},
        {"a quote", 0, "DON'T", "", 0, 0, {"6"}},
        {"by artist orders by artist", 0, "", "NORA", 0, 0, {"5", "6"}},
        {"group filter", 0, "", "", 2, 0, {"4", "5", "2", "1"}},
        {"category filter", 0, "", "", 0, 2, {"4", "2"}},
        {"Hits: most played first", 1, "", "", 0, 0, {"3", "1"}},
        {"New: newest first", 2, "", "", 0, 0, {"2", "3"}},
        {"Popular: played, most first", 3, "", "", 0, 0, {"3", "1", "4"}},
        {"HD", 4, "", "", 0, 0, {"4", "1"}},
        {"no match", 0, "ZZZ", "", 0, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(search(c.mode, c.title, c.artist, c.group, c.category), c.ids) << c.what;
    }
}

TEST_F(CatalogueSearchTest, OffsetAndCountPageThroughAStableOrder) {
    const QStringList all = search(0, "", "");
    EXPECT_EQ(search(0, "", "", 0, 0, 0, 2), all.mid(0, 2));
    EXPECT_EQ(search(0, "", "", 0, 0, 2, 3), all.mid(2, 3));
    EXPECT_EQ(search(0, "", "", 0, 0, 15, 700), QStringList());
}

// ---- Playlist -------------------------------------------------------------------

class PlaylistProcTest : public ProceduresTest {
protected:
    const QString room = "TEST ROOM'S";
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    void clear() {
        songs.exec("DELETE FROM playlist WHERE namaroom = " + sqltext::QuotedStr(room));
    }
    QStringList playlist() {
        return call(CallText("ListPlayList", {room}), {"idplaylist", "idlagu", "ukey"});
    }
    void save(int song, const QString& key) {
        execute(CallText("SavePlaylist", {qint64{song}, room, key}));
    }
};

TEST_F(PlaylistProcTest, SaveAppendsAfterTheLastEntryOfTheRoomOnly) {
    songs.exec(
        "INSERT INTO playlist (idplaylist, namaroom, ukey, idlagu) VALUES (7, 'OTHER', 'ZZ', 1)");
    save(1, "AAAAAA");
    save(2, "BBBBBB");
    songs.exec("UPDATE playlist SET idplaylist = 1000 WHERE ukey = 'BBBBBB'");
    save(3, "CCCCCC");
    EXPECT_EQ(playlist(), QStringList({"1|1|AAAAAA", "1000|2|BBBBBB", "1001|3|CCCCCC"}));
    songs.exec("DELETE FROM playlist WHERE namaroom = 'OTHER'");
}

TEST_F(PlaylistProcTest, ListJoinsTheSongAndKeepsPlayOrder) {
    save(1, "AAAAAA");
    save(2, "BBBBBB");
    SpCall.SetText(CallText("ListPlayList", {room}));
    SpCall.Open();
    ASSERT_EQ(SpCall.RecordCount(), 2);
    EXPECT_EQ(SpCall.FieldByName("judul").AsString(),
              songs.scalar("SELECT judul FROM lagu WHERE idlagu = 1").toString());
    EXPECT_EQ(SpCall.FieldByName("artis").AsString(),
              songs.scalar("SELECT artis FROM lagu WHERE idlagu = 1").toString());
}

TEST_F(PlaylistProcTest, SwapAndDeleteActOnPositionsWithinTheRoom) {
    save(1, "AAAAAA");
    save(2, "BBBBBB");
    save(3, "CCCCCC");
    execute(CallText("GantiUrutanPlaylist", {qint64{3}, qint64{2}, room}));
    EXPECT_EQ(playlist(), QStringList({"1|1|AAAAAA", "2|3|CCCCCC", "3|2|BBBBBB"}));
    execute(CallText("GantiUrutanPlaylist", {qint64{2}, qint64{2}, room}));
    EXPECT_EQ(playlist(), QStringList({"1|1|AAAAAA", "2|3|CCCCCC", "3|2|BBBBBB"}));
    execute(CallText("DeleteLaguPlaylist", {qint64{2}, room}));
    EXPECT_EQ(playlist(), QStringList({"1|1|AAAAAA", "3|2|BBBBBB"}));
    execute(CallText("DeleteLaguPlaylist", {qint64{2}, QString("ANOTHER ROOM")}));
    execute(CallText("DeleteLaguPlaylist", {qint64{42}, room}));
    EXPECT_EQ(playlist().size(), 2);
}

// ---- Now playing, bookings, check-in --------------------------------------------

TEST_F(ProceduresTest, SelectLaguViewNamesAKnownSongOnly) {
    const QString judul = songs.scalar("SELECT judul FROM lagu WHERE idlagu = 1").toString();
    EXPECT_EQ(call("SelectLaguView(1)", {"judul"}), QStringList{judul});
    EXPECT_EQ(call("SelectLaguView(999999)", {"judul"}), QStringList());
}

TEST_F(ProceduresTest, CekRoomIdReadsTheBookingRecord) {
    songs.exec(
        "DELETE FROM room WHERE idroom = 77;\n"
        "INSERT INTO room VALUES (77, 'ROOM 77', 1, 0, '2026-12-10 19:30:00', 90, 'ANDI')");
    EXPECT_EQ(call("CekRoom_id(77)", {"status", "players", "durasi", "namaroom", "user"}),
              QStringList{"1|0|90|ROOM 77|ANDI"});
    SpCall.Open();
    EXPECT_EQ(SpCall.FieldByName("jam").AsDateTime(),
              QDateTime(QDate(2026, 12, 10), QTime(19, 30)));
    EXPECT_EQ(call("CekRoom_id(78)", {"status"}), QStringList());
    songs.exec("DELETE FROM room WHERE idroom = 77");
}

TEST_F(ProceduresTest, RemoteRoomMatchesTheCodeExactly) {
    TAdoCommand SpCallAuthen{"SpCallAuthen", &module.AdoAuthen, TAdoCommand::Kind::StoredProc};
    const struct {
        QString code;
        QStringList rows;
    } cases[] = {{"1111", {"1|5001|CH1|127.0.0.1"}},
                 {"2222", {"2|5002|CH2|127.0.0.1"}},
                 {"1111 ", {}},
                 {"111", {}},
                 {"", {}}};
    for (const auto& c : cases) {
        SpCallAuthen.SetText(CallText("remote_room", {c.code}));
        SpCallAuthen.Open();
        EXPECT_EQ(rows(SpCallAuthen, {"idroom", "port", "channel", "ip_address"}), c.rows)
            << "'" << c.code.toStdString() << "'";
    }
}

// ---- Transaction database --------------------------------------------------------

TEST_F(ProceduresTest, CallerRecordsTheCallWithTheServersTime) {
    AdminDb transaksi(AdminDb::transaksiDatabase());
    transaksi.exec("DELETE FROM panggilan WHERE namaroom = 'CALL ROOM'");
    ADOTransaksi.SetText(CallText("Caller", {QString("CALL ROOM"), qint64{2}}));
    ADOTransaksi.Execute();
    EXPECT_EQ(transaksi.rows("SELECT jenis, selesai, ABS(TIMESTAMPDIFF(SECOND, waktu, NOW())) < 60 "
                             "FROM panggilan WHERE namaroom = 'CALL ROOM'"),
              QList<QStringList>({{"2", "0", "1"}}));
    transaksi.exec("DELETE FROM panggilan WHERE namaroom = 'CALL ROOM'");
}

TEST_F(ProceduresTest, MenuCategoriesAndItems) {
    ADOTransaksi.SetText("ViewCategoryMenu;");
    ADOTransaksi.Open();
    EXPECT_EQ(rows(ADOTransaksi, {"id", "kategori"}),
              QStringList({"1|MAKANAN", "2|MINUMAN", "3|SNACK", "4|PAKET"}));
    ADOTransaksi.SetText(CallText("ViewItemMenu", {qint64{2}}));
    ADOTransaksi.Open();
    ASSERT_EQ(ADOTransaksi.RecordCount(), 4);
    EXPECT_EQ(ADOTransaksi.FieldByName("menu").AsString(), "AIR MINERAL");
    EXPECT_EQ(ADOTransaksi.FieldByName("idmenu").AsString(), "MN004");
    EXPECT_DOUBLE_EQ(ADOTransaksi.FieldByName("hargajual").AsFloat(), 8000.0);
}

}  // namespace
