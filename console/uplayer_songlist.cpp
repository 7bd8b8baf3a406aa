// Song groups and the song list's rows: choosing a group, tapping or
// selecting a song, and a row's add-to-playlist button.
#include "console/skinhost.h"
#include "console/uplayer.h"

QString Tfplayer::GroupLabel(int idgolongan) {
    static const char* const kLabels[] = {
        "ALL",   "INDONESIA", "WESTERN", "MANDARIN", "DAERAH",      "CHILDREN", "MALAYSIA",
        "INDIA", "JEPANG",    "KOREA",   "ROHANI",   "HOUSE MUSIC", "EDM"};
    if (idgolongan < 0 || idgolongan >= static_cast<int>(std::size(kLabels))) {
        return {};
    }
    return QString::fromLatin1(kLabels[idgolongan]);
}

void Tfplayer::lvkategoriItemClick(int itemindex) {
    Guarded(QStringLiteral("LvKategori "), [&] {
        // A chosen group starts over with the whole group, whatever was typed.
        edtcari->setText(QString());
        cbMode->setCurrentIndex(0);
        MainSkinNew->SetVariable(QStringLiteral("_root.nomer_songlist.text"), QStringLiteral("1"));
        pSiGol = lvkategori->item(itemindex).tag;
        // A group the skin has no caption for leaves the skin's caption as it was.
        if (const QString label = GroupLabel(pSiGol); !label.isEmpty()) {
            MainSkinNew->SetVariable(QStringLiteral("_root.txt_kategori.text"), label);
        }
        Kirim(QStringLiteral("28#") + QString::number(pSiGol));
        lvkategori->hide();
        RestartSearch();
    });
}

void Tfplayer::lvgenreItemClick(int itemindex) {
    Guarded(QStringLiteral("LvGenre "), [&] {
        edtcari->setText(QString());
        pSiKat = lvgenre->item(itemindex).tag;
        lvgenre->hide();
        RestartSearch();
    });
}

void Tfplayer::AdvSonglistItemClick(int itemindex) {
    Unguarded([&] {
        pilihplay = 0;
        IdlaguSelect = AdvSonglist->item(itemindex).tag;
    });
}

void Tfplayer::AdvSonglistItemSelected(int itemindex) {
    Unguarded([&] { IdlaguSelect = AdvSonglist->item(itemindex).tag; });
}

void Tfplayer::AdvSonglistGraphicRightClick(int itemindex) {
    Guarded(QStringLiteral("Save Right "), [&] {
        AdvSonglist->setSelectedIndex(itemindex);
        IdlaguSelect = AdvSonglist->item(itemindex).tag;
        AddSongToPlaylist(IdlaguSelect, AddForm::Button);
    });
}
