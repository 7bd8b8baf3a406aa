// The room playlist: reloading it from the songs database, adding, removing,
// moving and putting entries first, and playing a song from it or from the
// song list.
#include <QScopeGuard>
#include <QScrollBar>

#include "app/adotransaction.h"
#include "app/sqltext.h"
#include "app/umodule.h"
#include "console/uplayer.h"

void Tfplayer::PlaylistView(int urutan) {
    int rows = 0;
    std::exception_ptr failure;
    try {
        ADOplaylistnew.SetText(QStringLiteral("ListPlayList(") +
                               sqltext::QuotedStr(Sys_Room->text()) + QStringLiteral(");"));
        module_.Connected();
        ADOplaylistnew.Open();
        rows = static_cast<int>(ADOplaylistnew.RecordCount());
        if (rows == 0) {
            ADOplaylistnew.Close();
            lblCountPlaylist->setText(QStringLiteral("0"));
            lvPlaylistnNew->clear();
            OnTextPlay(onplay);
        } else {
            lvPlaylistnNew->clear();
            const SmoothListBox::UpdateScope update(*lvPlaylistnNew);
            for (ADOplaylistnew.First(); !ADOplaylistnew.Eof(); ADOplaylistnew.Next()) {
                const auto field = [this](const char* name) {
                    return ADOplaylistnew.FieldByName(QString::fromLatin1(name));
                };
                lvPlaylistnNew->addItem(
                    {.notes = QStringLiteral("<html>") +
                              TruncateWithEllipsis(field("judul").AsString(), 15) +
                              QStringLiteral(" - ") +
                              TruncateWithEllipsis(field("artis").AsString(), 15) +
                              QStringLiteral("</html>"),
                     .tag = field("idplaylist").AsInteger(),
                     .hint = QString::number(field("idlagu").AsInteger()),
                     .caption = field("ukey").AsString()});
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    ADOplaylistnew.Close();
    lblCountPlaylist->setText(QString::number(rows));
    lvPlaylistnNew->setSelectedIndex(0);
    // A row that does not exist changes nothing; for the list -1 would mean
    // "no selection", which is not what a caller asks for.
    if (urutan >= 0) {
        lvPlaylistnNew->setSelectedIndex(urutan);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (rows > 0) {
        // The reload stands even when the now-playing refresh fails.
        Silent([this] { OnTextPlay(onplay); });
    }
}

void Tfplayer::RedrawPlaylist() {
    const int selected = lvPlaylistnNew->selectedIndex();
    const int entry = selected >= 0 ? lvPlaylistnNew->item(selected).tag : -1;
    const int scroll = lvPlaylistnNew->verticalScrollBar()->value();
    const auto keepSelection = qScopeGuard([&] {
        if (entry < 0) {
            return;
        }
        for (int row = 0; row < lvPlaylistnNew->count(); ++row) {
            if (lvPlaylistnNew->item(row).tag == entry) {
                lvPlaylistnNew->setSelectedIndex(row);
                // The guest's place in the list stays where the finger left it.
                lvPlaylistnNew->verticalScrollBar()->setValue(scroll);
                return;
            }
        }
    });
    PlaylistView(0);
}

void Tfplayer::AddSongToPlaylist(int s, AddForm form) {
    if (s == 0) {
        return;
    }
    const QString ukey = RandomCode(6);
    ChangeDatabase(SongNotAddedNotice(), [&] {
        module_.Connected();
        SpCall.Close();
        SpCall.SetText(
            sqltext::CallText(QStringLiteral("SavePlaylist"), {qint64{s}, Sys_Room->text(), ukey}));
        SpCall.Execute();
    });
    if (form == AddForm::Button) {
        RedrawPlaylist();
        Kirim(QStringLiteral("20#"));
    } else {
        Kirim(QStringLiteral("20#"));
        platform_.Sleep(100);
        RedrawPlaylist();
    }
}

void Tfplayer::DeleteSelectedEntry() {
    const int i = lvPlaylistnNew->selectedIndex();
    if (i < 0) {
        return;
    }
    onPlaylistSelect = lvPlaylistnNew->item(i).tag;
    ChangeDatabase(PlaylistNotChangedNotice(), [&] {
        module_.Connected();
        SpCall.Close();
        SpCall.SetText(sqltext::CallText(QStringLiteral("DeleteLaguPlaylist"),
                                         {qint64{onPlaylistSelect}, Sys_Room->text()}));
        SpCall.Execute();
    });
    PlaylistView(i == 0 ? 0 : i - 1);
    Kirim(QStringLiteral("21#"));
}

void Tfplayer::MoveSelectedEntry(Move direction) {
    const int i = lvPlaylistnNew->selectedIndex();
    const int neighbour = direction == Move::Up ? i - 1 : i + 1;
    // The first entry has nothing above it, the last nothing below.
    if (i < 0 || neighbour < 0 || neighbour >= lvPlaylistnNew->count()) {
        return;
    }
    onPlaylistSelect = lvPlaylistnNew->item(i).tag;
    onPlaylistSelect1 = lvPlaylistnNew->item(neighbour).tag;
    ChangeDatabase(PlaylistNotChangedNotice(), [&] {
        module_.Connected();
        SpCall.Close();
        SpCall.SetText(sqltext::CallText(
            QStringLiteral("GantiUrutanPlaylist"),
            {qint64{onPlaylistSelect}, qint64{onPlaylistSelect1}, Sys_Room->text()}));
        SpCall.Execute();
    });
    PlaylistView(neighbour);
    Kirim(QStringLiteral("21#"));
}

void Tfplayer::PrioritiseSelectedEntry() {
    const int selected = lvPlaylistnNew->selectedIndex();
    if (selected < 1) {
        return;
    }
    onPlaylistSelect = lvPlaylistnNew->item(selected).tag;
    const QString room = sqltext::QuotedStr(Sys_Room->text());
    const auto update = [this](const QString& statement) {
        ADOupdatepriority.Close();
        ADOupdatepriority.SetText(statement);
        ADOupdatepriority.Execute();
    };
    ChangeDatabase(PlaylistNotChangedNotice(), [&] {
        // All or nothing: a failure part-way must not leave an entry parked at
        // 1000 or two entries sharing a position.
        module_.Connected();
        TAdoTransaction transaction(module_.AdoConn);
        // An entry put first earlier leaves position 0 for the new one.
        update(QStringLiteral("UPDATE playlist SET idplaylist=1000 WHERE  namaroom=") + room +
               QStringLiteral(" and idplaylist=0;"));
        update(QStringLiteral("UPDATE playlist SET idplaylist=0 WHERE  namaroom=") + room +
               QStringLiteral(" and ukey=") +
               sqltext::QuotedStr(lvPlaylistnNew->item(selected).caption) + QStringLiteral(";"));
        // The others keep their order as shown, from position 10 on; the chosen
        // entry's own row index is left out.
        const int rows = lvPlaylistnNew->count();
        for (int k = 0; k < rows; ++k) {
            ADOpriority.Close();
            ADOpriority.SetText(QStringLiteral("select  ukey from playlist  WHERE  namaroom=") +
                                room + QStringLiteral(" and ukey=") +
                                sqltext::QuotedStr(lvPlaylistnNew->item(k).caption) +
                                QStringLiteral(" and not(idplaylist=0) order by idplaylist asc;"));
            ADOpriority.Open();
            if (ADOpriority.RecordCount() > 0) {
                update(
                    QStringLiteral("UPDATE playlist SET idplaylist=") + QString::number(k + 10) +
                    QStringLiteral(" WHERE  namaroom=") + room + QStringLiteral(" and ukey=") +
                    sqltext::QuotedStr(ADOpriority.FieldByName(QStringLiteral("ukey")).AsString()) +
                    QStringLiteral(";"));
            }
        }
        ADOpriority.Close();
        transaction.Commit();
    });
    PlaylistView(0);
    Kirim(QStringLiteral("21#"));
}

void Tfplayer::lvPlaylistnNewItemClick(int /*itemindex*/) {
    pilihplay = 1;
}

void Tfplayer::lvPlaylistnNewGraphicRightClick(int itemindex) {
    Guarded(QStringLiteral("lvPlaylistNew GraphicClick "), [&] {
        lvPlaylistnNew->setSelectedIndex(itemindex);
        PlayPlaylistEntry(lvPlaylistnNew->item(itemindex), itemindex);
    });
}

bool Tfplayer::PlayPlaylistEntry(const SmoothListItem& entry, int rowAfter) {
    // The room player starts the song before it leaves the playlist; a song
    // the room player never took stays in the playlist for the guest.
    if (!Kirim(QStringLiteral("37#") + entry.hint)) {
        return false;
    }
    platform_.Sleep(100);
    module_.Connected();
    SpCall.Close();
    SpCall.SetText(sqltext::CallText(QStringLiteral("DeleteLaguPlaylist"),
                                     {qint64{entry.tag}, Sys_Room->text()}));
    SpCall.Execute();
    PlaylistView(rowAfter);
    return true;
}

void Tfplayer::PlaySelectedSong() {
    if (pilihplay == 1) {
        // Without a playlist entry to play, the song list's song plays. Once
        // the entry is in hand, whatever happens to it, no other song does.
        const int selected = lvPlaylistnNew->selectedIndex();
        if (selected >= 0) {
            Guarded(QStringLiteral("lvPlaylistNew GraphicClick "),
                    [&] { PlayPlaylistEntry(lvPlaylistnNew->item(selected), 0); });
            return;
        }
        WriteLog(QStringLiteral("lvPlaylistNew GraphicClick "),
                 QStringLiteral("no playlist entry is selected"));
    }
    // From the song list: the playlist is not touched.
    IdlaguSelect = AdvSonglist->item(AdvSonglist->selectedIndex()).tag;
    Kirim(QStringLiteral("1#") + QString::number(IdlaguSelect));
}

void Tfplayer::Button5Click() {
    Unguarded([this] { PlaylistView(0); });
}
