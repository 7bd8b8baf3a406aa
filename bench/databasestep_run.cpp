#include "bench/databasestep_run.h"

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

namespace faultbench::dbstep {

void TDatabaseStepRun::OpenAdmin() {
    admin_ = OpenAdministrator(serverFolder_);
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
    if (!c.LblStandbyNotice->isHidden() && !c.LblStandbyNotice->text().isEmpty() &&
        !signs.standbyNotice) {
        signs.standbyNotice = true;
        signs.texts << QStringLiteral("standby notice \"%1\"").arg(c.LblStandbyNotice->text());
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
            c.lblNotice->isHidden() && c.LblOrderNotice->isHidden() &&
            c.LblStandbyNotice->isHidden()) {
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
    Exec(CheckInCodeStatement(code_, idroom_, port));

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
            notes_ << QStringLiteral("stored %1 times for %2 attempts not told as failed")
                          .arg(stored)
                          .arg(meant);
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

}  // namespace faultbench::dbstep
