// The guest's steps of the database's table: what each needs before the
// fault, the touch, and what it changed in the databases.
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

}  // namespace faultbench::dbstep
