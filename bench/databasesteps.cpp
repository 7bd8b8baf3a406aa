#include "bench/databasesteps.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <chrono>
#include <functional>
#include <iostream>
#include <optional>
#include <thread>

#include "app/sqltext.h"
#include "bench/benchserver.h"
#include "bench/faultsupport.h"

namespace faultbench {

const std::vector<DatabaseStepFault>& DatabaseStepFaults() {
    static const std::vector<DatabaseStepFault> rows = [] {
        const struct {
            const char* name;
            GuestStep step;
        } steps[] = {{"search", GuestStep::Search},    {"add", GuestStep::Add},
                     {"delete", GuestStep::Delete},    {"priority", GuestStep::Priority},
                     {"call", GuestStep::Call},        {"order", GuestStep::Order},
                     {"check-in", GuestStep::CheckIn}, {"clock", GuestStep::Clock}};
        // The names live as long as the program.
        static std::vector<QByteArray> names;
        std::vector<DatabaseStepFault> made;
        for (const ServerFault fault : {ServerFault::Stopped, ServerFault::Hung}) {
            for (const auto& step : steps) {
                names.push_back(
                    QByteArray(fault == ServerFault::Stopped ? "stopped at " : "hung at ") +
                    step.name);
            }
        }
        size_t i = 0;
        for (const ServerFault fault : {ServerFault::Stopped, ServerFault::Hung}) {
            for (const auto& step : steps) {
                made.push_back({names[i++].constData(), fault, step.step});
            }
        }
        return made;
    }();
    return rows;
}

const DatabaseStepFault* FindDatabaseStepFault(const QString& name) {
    for (const DatabaseStepFault& fault : DatabaseStepFaults()) {
        if (name == QLatin1String(fault.name)) {
            return &fault;
        }
    }
    return nullptr;
}

namespace {

// The skin's variables the steps read.
const QString kCallVariable = QStringLiteral("_root.anima_txt.text");
const QString kClockVariable = QStringLiteral("_root.isitextdurasi.text");

// How long the guest looks at the console after a touch: a notice must show
// within a second; the rest lets the console's timers run.
constexpr int kLookMs = 1500;
// How long the fault lasts after the step, the console's timers running.
constexpr int kFaultRestMs = 3000;
// The console's time to settle after the server is back, at the least and at
// the most (four rounds of its wait loop).
constexpr int kSettleMs = 3000;
constexpr int kSettleLimitMs = 48000;
// The clock re-reads the booking record every nine ticks of a second; while
// the record could not be read it waits longer before it tries again.
constexpr int kReReadWaitMs = 25000;
constexpr int kReReadAfterLimitMs = 60000;

const QString kSongsDb = TBenchServer::SongsDatabase();
const QString kTransaksiDb = QStringLiteral("bench_transaksi");
constexpr int kMenuCategory = 9000;
const QString kMenuItem = QStringLiteral("BENCH-TEA");
const QString kUserAfter = QStringLiteral("BENCH AGAIN");
constexpr int kSeededEntries = 5;

// What the console showed the guest while one attempt at the step lasted.
struct Signs {
    bool notice = false;       // lblNotice over the playlist, with a text
    bool orderNotice = false;  // LblOrderNotice on the verification panel
    bool message = false;      // a message box
    bool dialog = false;       // the connection-error dialog, newly shown
    bool shownPlaced = false;  // the skin's call indication
    QStringList texts;

    bool Told() const { return notice || orderNotice || message || dialog; }
    QString Text() const {
        QStringList said;
        if (notice || orderNotice || message || dialog) {
            said << texts;
        }
        return said.isEmpty() ? QStringLiteral("nothing shown") : said.join(QStringLiteral(" / "));
    }
};

// One attempt at the step: during the fault or after it.
struct Attempt {
    bool after = false;
    bool made = false;     // the change (or the search, the check-in) happened
    bool through = false;  // after the fault: made, and the console shows it
    Signs signs;
    QString note;
};

class TDatabaseStepRun {
public:
    TDatabaseStepRun(const DatabaseStepFault& fault, int index, const QString& serverFolder)
        : fault_(fault),
          serverFolder_(serverFolder),
          folder_(BinaryDir() + QStringLiteral("/bench-faults/") +
                  FolderName(QString::fromLatin1(fault.name))),
          roomName_(QStringLiteral("FAULT %1").arg(index, 2, 10, QLatin1Char('0'))),
          code_(QStringLiteral("F%1").arg(index, 2, 10, QLatin1Char('0'))),
          idroom_(900 + index) {}

    int Run();

private:
    bool Is(GuestStep step) const { return fault_.step == step; }
    // The steps that change the databases (the others read them).
    bool IsChange() const {
        return !Is(GuestStep::Search) && !Is(GuestStep::CheckIn) && !Is(GuestStep::Clock);
    }
    Tfplayer& C() { return *player_; }
    bool Usable() const { return player_->isEnabled() && player_->AdvPanel1->isHidden(); }
    void Note(const QString& text) {
        std::cerr << "[" << fault_.name << "] " << text.toStdString() << std::endl;
    }

    // The administrator's connection on the server's socket; used only while
    // the server is there.
    void OpenAdmin();
    void Exec(const QString& statement);
    QList<QStringList> Rows(const QString& statement);
    int Count(const QString& statement) { return Rows(statement).value(0).value(0).toInt(); }
    void PrepareRows();
    void SeedPlaylist();
    QStringList PlaylistKeys();
    int SongEntries();
    int Calls();
    // Order heads of the room with the number of their lines.
    QList<QStringList> OrderHeads();
    // The playlist's half-done changes: entries parked at 1000, positions
    // shared, entries not the ones expected.
    int PlaylistDamage(const QString& when);

    // The console's work: a touch and what its timers do for lookMs after it,
    // the signs sampled all the while.
    void Drive(Signs& signs, const std::function<void()>& touch, int lookMs,
               const std::function<bool()>& done = {});
    void Look(Signs& signs, int milliseconds, const std::function<bool()>& done = {});
    void Sample(Signs& signs);
    // After the fault: the guest answers the connection-error dialog and
    // waits while the console waits.
    void Settle();
    bool CheckIn(Signs& signs);

    // The step's parts.
    void Prepare();
    void Touch(Attempt& attempt);
    void Judge(Attempt& attempt);
    void TypeWord(Signs& signs);
    void SelectEntry(const QString& key, int fallbackRow);
    int RowOf(const QString& key);
    QList<int> ListedSongs();
    void ComposeOrder();

    const DatabaseStepFault& fault_;
    QString serverFolder_;
    QString folder_;
    QString roomName_;
    QString code_;
    int idroom_;
    QSqlDatabase admin_;
    TRoomPlayerProcess roomPlayer_;
    std::unique_ptr<Tfmodule> module_;
    testsupport::FakePlatform platform_;
    std::unique_ptr<Tfplayer> player_;
    std::unique_ptr<THeartbeat> heartbeat_;
    QHash<QString, QString> skin_;

    // What the step works on.
    QString word_;             // search: the letters typed
    QList<int> reference_;     // search: the songs it lists with the server there
    int songRow_ = 0;          // add: the song list's row
    int song_ = 0;             // add: its song
    QString chosen_;           // delete, priority: the entry's key
    QStringList keysBefore_;   // delete, priority: the playlist before the attempt
    int countBefore_ = 0;      // add, call, order: rows before the attempt
    int messagesAtFault_ = 0;  // clock: message boxes before the fault
    int partial_ = 0;
    QStringList notes_;
};

void TDatabaseStepRun::OpenAdmin() {
    admin_ = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("admin"));
    admin_.setUserName(QStringLiteral("root"));
    admin_.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + serverFolder_ +
                             QStringLiteral("/mysqld.sock;MYSQL_OPT_READ_TIMEOUT=30"));
    if (!admin_.open()) {
        throw std::runtime_error("administrator's connection: " +
                                 admin_.lastError().text().toStdString());
    }
}

QList<QStringList> TDatabaseStepRun::Rows(const QString& statement) {
    // The administrator's session may have gone with a restarted server.
    if (!admin_.isOpen() || !QSqlQuery(admin_).exec(QStringLiteral("SELECT 1"))) {
        admin_.close();
        admin_.open();
    }
    QSqlQuery query(admin_);
    if (!query.exec(statement)) {
        throw std::runtime_error(statement.toStdString() + ": " +
                                 query.lastError().text().toStdString());
    }
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i) {
            row << query.value(i).toString();
        }
        rows << row;
    }
    return rows;
}

void TDatabaseStepRun::Exec(const QString& statement) {
    Rows(statement);
}

void TDatabaseStepRun::PrepareRows() {
    const QString room = sqltext::QuotedStr(roomName_);
    Exec(QStringLiteral("DELETE FROM %1.playlist WHERE namaroom = %2").arg(kSongsDb, room));
    Exec(QStringLiteral("DELETE FROM %1.room WHERE idroom = %2").arg(kSongsDb).arg(idroom_));
    Exec(QStringLiteral("DELETE FROM authentification.remote WHERE idroom = %1").arg(idroom_));
    Exec(QStringLiteral("INSERT INTO %1.room (idroom, namaroom, status, players, jam, durasi, "
                        "user) VALUES (%2, %3, 1, 1, NOW(), 120, 'BENCH')")
             .arg(kSongsDb)
             .arg(idroom_)
             .arg(room));
    // The transaction database: the room sold and checked in, one menu item,
    // no calls and no orders yet.
    Exec(QStringLiteral("DELETE FROM %1.panggilan WHERE namaroom = %2").arg(kTransaksiDb, room));
    Exec(QStringLiteral("DELETE FROM %1.torder_room WHERE idroom = %2")
             .arg(kTransaksiDb)
             .arg(idroom_));
    Exec(QStringLiteral("DELETE FROM %1.kamar WHERE idkamar = %2").arg(kTransaksiDb).arg(idroom_));
    Exec(QStringLiteral("INSERT INTO %1.kamar (idkamar, namakamar, orderid, jual, statuschekin) "
                        "VALUES (%2, %3, 'BENCH-%2', 1, 1)")
             .arg(kTransaksiDb)
             .arg(idroom_)
             .arg(room));
    Exec(QStringLiteral("INSERT IGNORE INTO %1.kategorimenu (id, kategori, urutan) VALUES "
                        "(%2, 'BENCH MENU', 90)")
             .arg(kTransaksiDb)
             .arg(kMenuCategory));
    Exec(QStringLiteral("INSERT IGNORE INTO %1.menu (idmenu, idkategori, menu, hargajual, aktif) "
                        "VALUES (%2, %3, 'BENCH TEA', 15000, 1)")
             .arg(kTransaksiDb, sqltext::QuotedStr(kMenuItem))
             .arg(kMenuCategory));
}

void TDatabaseStepRun::SeedPlaylist() {
    for (const QString& statement : SeedPlaylistStatements(kSongsDb, roomName_, kSeededEntries)) {
        Exec(statement);
    }
    player_->PlaylistView(0);
}

QStringList TDatabaseStepRun::PlaylistKeys() {
    QStringList keys;
    for (const QStringList& row :
         Rows(QStringLiteral("SELECT ukey FROM %1.playlist WHERE namaroom = %2 "
                             "ORDER BY idplaylist, id")
                  .arg(kSongsDb, sqltext::QuotedStr(roomName_)))) {
        keys << row.value(0);
    }
    return keys;
}

int TDatabaseStepRun::SongEntries() {
    return Count(QStringLiteral("SELECT COUNT(*) FROM %1.playlist WHERE namaroom = %2 AND "
                                "idlagu = %3")
                     .arg(kSongsDb, sqltext::QuotedStr(roomName_))
                     .arg(song_));
}

int TDatabaseStepRun::Calls() {
    return Count(QStringLiteral("SELECT COUNT(*) FROM %1.panggilan WHERE namaroom = %2")
                     .arg(kTransaksiDb, sqltext::QuotedStr(roomName_)));
}

QList<QStringList> TDatabaseStepRun::OrderHeads() {
    return Rows(QStringLiteral("SELECT h.co, COUNT(r.id) FROM %1.torder_room h LEFT JOIN "
                               "%1.torderroom_rinci r ON r.co = h.co WHERE h.idroom = %2 "
                               "GROUP BY h.co ORDER BY h.co")
                    .arg(kTransaksiDb)
                    .arg(idroom_));
}

int TDatabaseStepRun::PlaylistDamage(const QString& when) {
    const QString room = sqltext::QuotedStr(roomName_);
    const int parked =
        Count(QStringLiteral("SELECT COUNT(*) FROM %1.playlist WHERE namaroom = %2 AND "
                             "idplaylist = 1000")
                  .arg(kSongsDb, room));
    const int shared = Count(QStringLiteral("SELECT COUNT(*) FROM (SELECT idplaylist FROM "
                                            "%1.playlist WHERE namaroom = %2 GROUP BY "
                                            "idplaylist HAVING COUNT(*) > 1) s")
                                 .arg(kSongsDb, room));
    const int keysTwice = Count(QStringLiteral("SELECT COUNT(*) FROM (SELECT ukey FROM "
                                               "%1.playlist WHERE namaroom = %2 GROUP BY ukey "
                                               "HAVING COUNT(*) > 1) s")
                                    .arg(kSongsDb, room));
    if (parked + shared + keysTwice > 0) {
        notes_ << QStringLiteral("%1: %2 entries at 1000, %3 positions shared, %4 keys twice")
                      .arg(when)
                      .arg(parked)
                      .arg(shared)
                      .arg(keysTwice);
    }
    return parked + shared + keysTwice;
}

void TDatabaseStepRun::Sample(Signs& signs) {
    Tfplayer& c = C();
    if (!c.lblNotice->isHidden() && !c.lblNotice->text().isEmpty() && !signs.notice) {
        signs.notice = true;
        signs.texts << QStringLiteral("notice \"%1\"").arg(c.lblNotice->text());
    }
    if (!c.LblOrderNotice->isHidden() && !c.LblOrderNotice->text().isEmpty() &&
        !signs.orderNotice) {
        signs.orderNotice = true;
        signs.texts << QStringLiteral("order notice \"%1\"").arg(c.LblOrderNotice->text());
    }
    if (c.ErrorDialog() != nullptr && c.ErrorDialog()->isVisible() && !signs.dialog) {
        signs.dialog = true;
        signs.texts << QStringLiteral("connection-error dialog");
    }
    if (skin_.value(kCallVariable) == QLatin1String("1")) {
        signs.shownPlaced = true;
    }
}

void TDatabaseStepRun::Look(Signs& signs, int milliseconds, const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds && !(done && done())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        Sample(signs);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    heartbeat_->Flush();
}

void TDatabaseStepRun::Drive(Signs& signs, const std::function<void()>& touch, int lookMs,
                             const std::function<bool()>& done) {
    // The touch's own message box: raised by the step itself.
    const qsizetype messages = platform_.messages.size();
    heartbeat_->Skip();
    QElapsedTimer took;
    took.start();
    touch();
    if (platform_.messages.size() > messages && !signs.message) {
        signs.message = true;
        signs.texts << QStringLiteral("message \"%1\"").arg(platform_.messages.last());
    }
    Sample(signs);
    Note(QStringLiteral("touch: held the console %1 ms; shown: %2")
             .arg(took.elapsed())
             .arg(signs.Text()));
    Look(signs, lookMs, done);
}

void TDatabaseStepRun::Settle() {
    Tfplayer& c = C();
    Signs ignored;
    heartbeat_->Skip();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kSettleLimitMs) {
        if (TFrmError* dialog = c.ErrorDialog(); dialog != nullptr && dialog->isVisible()) {
            dialog->AdvSmoothButton2->click();  // "Coba Lagi"
        }
        Look(ignored, 200);
        // The notices of the fault gone by themselves, so that the next
        // attempt's signs are its own.
        if (waited.elapsed() >= kSettleMs && Usable() && !c.TimerPreparation->isActive() &&
            c.lblNotice->isHidden() && c.LblOrderNotice->isHidden()) {
            break;
        }
    }
    roomPlayer_.TakeLines();
}

bool TDatabaseStepRun::CheckIn(Signs& signs) {
    Tfplayer& c = C();
    roomPlayer_.TakeLines();
    // The code typed on the standby screen and START; the booking start
    // completes on the preparation sequence's ticks.
    Drive(
        signs,
        [&] {
            c.edtscan->setText(code_);
            c.AdvSmoothButton5->click();
        },
        8000,
        [&] { return c.pnlStanby->isHidden() && Usable() && !c.TimerPreparation->isActive(); });
    bool greeted = false;
    for (const Exchange& exchange : ParseLines(roomPlayer_.TakeLines())) {
        greeted = greeted || exchange.command == QLatin1String("GO#");
    }
    return greeted && c.pnlStanby->isHidden() && Usable();
}

QList<int> TDatabaseStepRun::ListedSongs() {
    QList<int> songs;
    for (int i = 0; i < C().AdvSonglist->count(); ++i) {
        songs << C().AdvSonglist->item(i).tag;
    }
    return songs;
}

void TDatabaseStepRun::TypeWord(Signs& signs) {
    Tfplayer& c = C();
    // One key at a time as a guest types, the search timer running between.
    for (const QChar letter : word_) {
        Drive(
            signs, [&] { c.MainSkinNewFSCommand(QString(letter), QString()); }, 300);
    }
    Look(signs, 3000, [&] { return !c.tmrsearching->isActive(); });
}

int TDatabaseStepRun::RowOf(const QString& key) {
    for (int row = 0; row < C().lvPlaylistnNew->count(); ++row) {
        if (C().lvPlaylistnNew->item(row).caption == key) {
            return row;
        }
    }
    return -1;
}

void TDatabaseStepRun::SelectEntry(const QString& key, int fallbackRow) {
    const int row = RowOf(key) >= 0 ? RowOf(key) : fallbackRow;
    C().lvPlaylistnNew->setSelectedIndex(row);
    C().lvPlaylistnNewItemClick(row);
    chosen_ = C().lvPlaylistnNew->item(row).caption;
}

void TDatabaseStepRun::ComposeOrder() {
    Tfplayer& c = C();
    c.MainSkinNewFSCommand(QStringLiteral("emenu"), QString());
    int category = -1;
    for (int row = 0; row < c.AdvCategory->count(); ++row) {
        if (c.AdvCategory->item(row).tag == kMenuCategory) {
            category = row;
        }
    }
    if (category < 0) {
        throw std::runtime_error("the order panel lists no bench menu");
    }
    c.AdvCategoryItemClick(category);
    if (c.AdvItem->count() == 0) {
        throw std::runtime_error("the bench menu lists no item");
    }
    c.AdvItemGraphicRightClick(0);
    c.addOrderClick();
    // "Next Order" and the code typed back.
    c.AdvSmoothButton3Click();
    c.AeVeryfy->setText(c.LblVerify->text());
}

// Before the fault, with the server there.
void TDatabaseStepRun::Prepare() {
    Tfplayer& c = C();
    Signs ignored;
    switch (fault_.step) {
        case GuestStep::Search: {
            const QString title =
                Rows(QStringLiteral("SELECT LOWER(LEFT(judul, 3)) FROM %1.lagu WHERE judul "
                                    "REGEXP '^[A-Za-z]{3}' ORDER BY idlagu LIMIT 1")
                         .arg(kSongsDb))
                    .value(0)
                    .value(0);
            word_ = title;
            TypeWord(ignored);
            reference_ = ListedSongs();
            if (word_.size() != 3 || reference_.isEmpty()) {
                throw std::runtime_error("the search for a title's letters listed nothing");
            }
            Drive(
                ignored, [&] { c.MainSkinNewFSCommand(QStringLiteral("clear"), QString()); }, 3000,
                [&] { return !c.tmrsearching->isActive(); });
            break;
        }
        case GuestStep::Add:
            // A song of the list that the playlist does not hold.
            for (songRow_ = 3; songRow_ < c.AdvSonglist->count(); ++songRow_) {
                song_ = c.AdvSonglist->item(songRow_).tag;
                if (SongEntries() == 0) {
                    break;
                }
            }
            break;
        case GuestStep::Delete:
        case GuestStep::Priority:
            SeedPlaylist();
            break;
        case GuestStep::Call:
            skin_.remove(kCallVariable);
            break;
        case GuestStep::Order:
            ComposeOrder();
            break;
        case GuestStep::CheckIn:
        case GuestStep::Clock:
            break;
    }
}

// The guest's step; after the fault, the same step again.
void TDatabaseStepRun::Touch(Attempt& attempt) {
    Tfplayer& c = C();
    Signs& signs = attempt.signs;
    switch (fault_.step) {
        case GuestStep::Search:
            if (attempt.after) {
                Drive(
                    signs, [&] { c.MainSkinNewFSCommand(QStringLiteral("clear"), QString()); },
                    3000, [&] { return !c.tmrsearching->isActive(); });
            }
            TypeWord(signs);
            attempt.made = ListedSongs() == reference_;
            break;
        case GuestStep::Add:
            countBefore_ = attempt.after ? SongEntries() : 0;
            Drive(
                signs, [&] { c.AdvSonglistGraphicRightClick(songRow_); }, kLookMs);
            break;
        case GuestStep::Delete:
        case GuestStep::Priority: {
            if (attempt.after) {
                keysBefore_ = PlaylistKeys();
            } else {
                keysBefore_ = QStringList();
                for (int row = 0; row < c.lvPlaylistnNew->count(); ++row) {
                    keysBefore_ << c.lvPlaylistnNew->item(row).caption;
                }
            }
            // The third entry; after the fault the same one again when the
            // console still lists it where the step did not take it.
            const bool again =
                attempt.after && (Is(GuestStep::Delete) ? RowOf(chosen_) >= 0 : RowOf(chosen_) > 0);
            SelectEntry(again ? chosen_ : QString(), 2);
            const QString command =
                Is(GuestStep::Delete) ? QStringLiteral("delete") : QStringLiteral("priority");
            Drive(
                signs, [&] { c.MainSkinNewFSCommand(command, QString()); }, kLookMs);
            break;
        }
        case GuestStep::Call:
            countBefore_ = attempt.after ? Calls() : 0;
            skin_.remove(kCallVariable);
            Drive(
                signs, [&] { c.MainSkinNewFSCommand(QStringLiteral("call"), QString()); }, kLookMs);
            break;
        case GuestStep::Order:
            countBefore_ = attempt.after ? static_cast<int>(OrderHeads().size()) : 0;
            if (attempt.after && c.PnlVerify->isHidden()) {
                attempt.note = QStringLiteral("the order panel had closed: composed again");
                ComposeOrder();
            }
            Drive(
                signs, [&] { c.AdvOKClick(); }, kLookMs);
            break;
        case GuestStep::CheckIn:
            if (!attempt.after || !c.pnlStanby->isHidden()) {
                attempt.made = CheckIn(signs);
            } else {
                attempt.note = QStringLiteral("the check-in had gone through");
                attempt.made = true;
            }
            break;
        case GuestStep::Clock:
            if (!attempt.after) {
                // The clock runs into the fault: a re-read of the booking record
                // (its counter back to 1 after 9) and a few ticks more.
                const QString shownBefore = skin_.value(kClockVariable);
                int last = c.CekAkses;
                bool reRead = false;
                heartbeat_->Skip();
                Look(signs, kReReadWaitMs, [&] {
                    reRead = reRead || (last >= 9 && c.CekAkses == 1);
                    last = c.CekAkses;
                    return reRead;
                });
                Look(signs, kFaultRestMs);
                const qsizetype messages = platform_.messages.size() - messagesAtFault_;
                if (messages > 0) {
                    signs.message = true;
                    signs.texts << QStringLiteral("%1 message box(es), the first \"%2\"")
                                       .arg(messages)
                                       .arg(platform_.messages.value(messagesAtFault_));
                }
                // The clock goes on from the console's own count.
                attempt.made = reRead && skin_.value(kClockVariable) != shownBefore;
                attempt.note =
                    reRead ? QStringLiteral("clock %1 -> %2")
                                 .arg(shownBefore, skin_.value(kClockVariable))
                           : QStringLiteral("no re-read within %1 s").arg(kReReadWaitMs / 1000);
            } else {
                // A change of the booking record shows once the clock reads it.
                Exec(QStringLiteral("UPDATE %1.room SET user = %2 WHERE idroom = %3")
                         .arg(kSongsDb, sqltext::QuotedStr(kUserAfter))
                         .arg(idroom_));
                QElapsedTimer waited;
                waited.start();
                heartbeat_->Skip();
                Look(signs, kReReadAfterLimitMs,
                     [&] { return c.lblUserNow->text() == kUserAfter; });
                attempt.made = c.lblUserNow->text() == kUserAfter;
                attempt.note = QStringLiteral("the record's change shown after %1 s")
                                   .arg(waited.elapsed() / 1000);
            }
            break;
    }
}

// What the attempt changed in the databases, read with the server there.
void TDatabaseStepRun::Judge(Attempt& attempt) {
    Tfplayer& c = C();
    switch (fault_.step) {
        case GuestStep::Search:
            attempt.note = QStringLiteral("\"%1\": %2 songs listed, %3 expected")
                               .arg(word_)
                               .arg(c.AdvSonglist->count())
                               .arg(reference_.size());
            attempt.through = attempt.made;
            break;
        case GuestStep::Add: {
            const int entries = SongEntries();
            attempt.made = entries > countBefore_;
            const int rows = static_cast<int>(PlaylistKeys().size());
            attempt.through = entries == countBefore_ + 1 && c.lvPlaylistnNew->count() == rows;
            attempt.note = QStringLiteral(
                               "song %1 in the playlist %2 times, the console lists "
                               "%3 of %4 entries")
                               .arg(song_)
                               .arg(entries)
                               .arg(c.lvPlaylistnNew->count())
                               .arg(rows);
            break;
        }
        case GuestStep::Delete:
        case GuestStep::Priority: {
            const QStringList keys = PlaylistKeys();
            QStringList listed;
            for (int row = 0; row < c.lvPlaylistnNew->count(); ++row) {
                listed << c.lvPlaylistnNew->item(row).caption;
            }
            if (Is(GuestStep::Delete)) {
                QStringList expected = keysBefore_;
                expected.removeAll(chosen_);
                attempt.made = !keys.contains(chosen_);
                attempt.through = keys == expected && listed == keys;
                // Entries gone that the guest did not delete.
                for (const QString& key : keysBefore_) {
                    if (key != chosen_ && !keys.contains(key)) {
                        ++partial_;
                        notes_ << QStringLiteral("entry %1 deleted too").arg(key);
                    }
                }
            } else {
                attempt.made = keys.value(0) == chosen_;
                attempt.through = attempt.made && listed == keys && keys.size() == kSeededEntries;
            }
            attempt.note =
                QStringLiteral("chose %1; table %2; console %3")
                    .arg(chosen_, keys.join(QLatin1Char(',')), listed.join(QLatin1Char(',')));
            partial_ += PlaylistDamage(attempt.after ? QStringLiteral("at the end")
                                                     : QStringLiteral("after the fault"));
            break;
        }
        case GuestStep::Call: {
            const int calls = Calls();
            attempt.made = calls > countBefore_;
            attempt.through = calls == countBefore_ + 1 && attempt.signs.shownPlaced;
            // A call shown as placed that staff never got tells the guest the
            // opposite of what happened.
            if (!attempt.made && attempt.signs.shownPlaced) {
                attempt.signs.notice = attempt.signs.orderNotice = false;
                attempt.signs.message = attempt.signs.dialog = false;
                attempt.signs.texts = QStringList{QStringLiteral("shown as placed")};
            }
            attempt.note = QStringLiteral("%1 calls stored%2")
                               .arg(calls)
                               .arg(attempt.signs.shownPlaced ? QStringLiteral(", shown as placed")
                                                              : QString());
            break;
        }
        case GuestStep::Order: {
            const QList<QStringList> heads = OrderHeads();
            attempt.made = heads.size() > countBefore_;
            attempt.through = heads.size() == countBefore_ + 1 && c.PanelOrder->isHidden();
            for (const QStringList& head : heads) {
                if (head.value(1).toInt() != 1) {
                    ++partial_;
                    notes_ << QStringLiteral("order %1 with %2 lines of 1")
                                  .arg(head.value(0), head.value(1));
                }
            }
            attempt.note = QStringLiteral("%1 orders stored, order panel %2")
                               .arg(heads.size())
                               .arg(c.PanelOrder->isHidden() ? QStringLiteral("closed")
                                                             : QStringLiteral("open"));
            break;
        }
        case GuestStep::CheckIn:
            attempt.through = attempt.made;
            if (attempt.note.isEmpty()) {
                attempt.note = c.pnlStanby->isHidden() ? QStringLiteral("booking started")
                                                       : QStringLiteral("standby screen stayed");
            }
            break;
        case GuestStep::Clock:
            attempt.through = attempt.made;
            break;
    }
}

int TDatabaseStepRun::Run() {
    QElapsedTimer clock;
    clock.start();
    PrepareProgramFolder(folder_, serverFolder_);
    OpenAdmin();
    PrepareRows();
    QFile script(folder_ + QStringLiteral("/well.script"));
    script.open(QIODevice::WriteOnly | QIODevice::Truncate);
    script.write("# the room player answers well\nsong 11 240\nsong 12 200\nsong 13 210\n");
    script.close();
    const int port = roomPlayer_.Start(0, script.fileName());
    Exec(QStringLiteral("INSERT INTO authentification.remote (kode, idroom, port, channel, "
                        "ip_address) VALUES (%1, %2, %3, 'CH-A', '127.0.0.1')")
             .arg(sqltext::QuotedStr(code_))
             .arg(idroom_)
             .arg(port));

    module_ = std::make_unique<Tfmodule>();
    player_ = StartConsole(*module_, platform_, skin_);
    heartbeat_ = std::make_unique<THeartbeat>();
    if (!Is(GuestStep::CheckIn)) {
        Signs ignored;
        if (!CheckIn(ignored)) {
            throw std::runtime_error("the check-in before the fault did not start the booking");
        }
    }
    Prepare();

    // The fault: the step while the server is away, then the server back.
    Attempt during;
    heartbeat_->ClearBlocks();
    messagesAtFault_ = static_cast<int>(platform_.messages.size());
    {
        std::optional<TServerStop> stopped;
        std::optional<TServerFreeze> frozen;
        if (fault_.fault == ServerFault::Stopped) {
            Note(QStringLiteral("stopping the server"));
            stopped.emplace(serverFolder_);
        } else {
            Note(QStringLiteral("freezing the server"));
            frozen.emplace(serverFolder_);
        }
        Touch(during);
        Look(during.signs, kFaultRestMs);
        Note(QStringLiteral("the server comes back"));
    }
    Settle();
    Judge(during);

    Attempt after;
    after.after = true;
    Touch(after);
    Judge(after);
    // The databases afterwards: the guest's change once, and whole.
    const auto extra = [&](int stored) {
        const int meant = (during.signs.Told() ? 0 : 1) + (after.signs.Told() ? 0 : 1);
        if (stored > meant) {
            partial_ += stored - meant;
            notes_
                << QStringLiteral("stored %1 times for %2 untold attempts").arg(stored).arg(meant);
        }
    };
    if (Is(GuestStep::Add)) {
        extra(SongEntries());
    } else if (Is(GuestStep::Call)) {
        extra(Calls());
    } else if (Is(GuestStep::Order)) {
        extra(static_cast<int>(OrderHeads().size()));
    }

    int lost = 0;
    int untold = 0;
    for (const Attempt* attempt : {&during, &after}) {
        const bool missing = !(attempt->after ? attempt->through : attempt->made);
        lost += missing ? 1 : 0;
        untold += missing && !attempt->signs.Told() ? 1 : 0;
        std::cerr << "[" << fault_.name << "] " << (attempt->after ? "after " : "during ")
                  << "made " << attempt->made << " through " << attempt->through << " told "
                  << attempt->signs.Told() << ": " << attempt->signs.Text().toStdString() << "; "
                  << attempt->note.toStdString() << std::endl;
        if (missing) {
            notes_ << QStringLiteral("%1: %2 (%3)")
                          .arg(attempt->after ? QStringLiteral("after") : QStringLiteral("during"),
                               attempt->signs.Told() ? QStringLiteral("lost, told")
                                                     : QStringLiteral("lost untold"),
                               attempt->signs.Text());
        } else if (!attempt->after && attempt->signs.Told() && IsChange()) {
            notes_ << QStringLiteral("during: made, though told it failed");
        }
    }
    const bool survived = Usable() && after.through;
    const std::vector<Block> blocks = heartbeat_->Blocks();
    qint64 longest = 0;
    for (const Block& block : blocks) {
        longest = std::max(longest, block.lengthMs);
        std::cerr << "[" << fault_.name << "] block of " << block.lengthMs << " ms at "
                  << block.startMs << " ms" << std::endl;
    }
    heartbeat_.reset();
    player_.reset();
    module_.reset();
    roomPlayer_.Stop();
    std::cout << "DBRESULT\t" << fault_.name << '\t' << (survived ? 1 : 0) << '\t' << lost << '\t'
              << untold << '\t' << partial_ << '\t' << longest << '\t' << blocks.size() << '\t'
              << MostBlocksInARow(blocks, kFreeBetweenBlocksMs) << '\t' << clock.elapsed() / 1000
              << '\t' << notes_.join(QStringLiteral("; ")).toStdString() << std::endl;
    return 0;
}

}  // namespace

int RunDatabaseStep(const DatabaseStepFault& fault, int index, const QString& serverFolder) {
    TDatabaseStepRun run(fault, index, serverFolder);
    return run.Run();
}

}  // namespace faultbench
