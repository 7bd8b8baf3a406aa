// Songs and playlist: the widgets' signals and the skin's commands, routed to
// the search, song-list, playlist and request handlers.
#include "console/uplayer.h"

void Tfplayer::WireSongs() {
    // The text field raises its change on code changes too, as the search
    // restart relies on; the drop-down lists only on the guest's choice.
    connect(edtcari, &QLineEdit::textChanged, this, &Tfplayer::edtcariChange);
    connect(cbMode, &QComboBox::activated, this, &Tfplayer::cbModeChange);
    connect(cbtitsing, &QComboBox::activated, this, &Tfplayer::cbtitsingChange);
    connect(tmrsearching, &QTimer::timeout, this, &Tfplayer::tmrsearchingTimer);

    connect(lvkategori, &SmoothListBox::itemClicked, this, &Tfplayer::lvkategoriItemClick);
    connect(lvgenre, &SmoothListBox::itemClicked, this, &Tfplayer::lvgenreItemClick);
    connect(AdvSonglist, &SmoothListBox::itemClicked, this, &Tfplayer::AdvSonglistItemClick);
    connect(AdvSonglist, &SmoothListBox::itemSelected, this, &Tfplayer::AdvSonglistItemSelected);
    connect(AdvSonglist, &SmoothListBox::graphicClicked, this,
            &Tfplayer::AdvSonglistGraphicRightClick);
    connect(lvPlaylistnNew, &SmoothListBox::itemClicked, this, &Tfplayer::lvPlaylistnNewItemClick);
    connect(lvPlaylistnNew, &SmoothListBox::graphicClicked, this,
            &Tfplayer::lvPlaylistnNewGraphicRightClick);
    connect(Button5, &QPushButton::clicked, this, &Tfplayer::Button5Click);

    WireRequestForm();
}

void Tfplayer::RegisterSongCommands() {
    AddCommand(QStringLiteral("songrequest"), [this] { OpenRequestForm(RequestMode::Songs); });
    AddCommand(QStringLiteral("category"), [this] { lvkategori->show(); });

    // The playlist rows end quietly where there is nothing to act on: no
    // entry selected, no neighbour, a failed statement.
    AddCommand(
        QStringLiteral("delete"), [this] { DeleteSelectedEntry(); }, CommandKind::Silent);
    AddCommand(
        QStringLiteral("up"), [this] { MoveSelectedEntry(Move::Up); }, CommandKind::Silent);
    AddCommand(
        QStringLiteral("down"), [this] { MoveSelectedEntry(Move::Down); }, CommandKind::Silent);
    AddCommand(
        QStringLiteral("priority"), [this] { PrioritiseSelectedEntry(); }, CommandKind::Silent);
    AddCommand(
        QStringLiteral("saveplaylist"),
        [this] {
            // With no song selected there is no song to add.
            if (AdvSonglist->selectedIndex() < 0) {
                return;
            }
            IdlaguSelect = AdvSonglist->item(AdvSonglist->selectedIndex()).tag;
            AddSongToPlaylist(IdlaguSelect, AddForm::Command);
        },
        CommandKind::Silent);
    AddCommand(QStringLiteral("play"), [this] { PlaySelectedSong(); });

    RegisterSearchKeyCommands();
}
