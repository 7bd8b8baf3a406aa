// The song side: list modes and search target, the group button, the slots of
// the search field edtcari (215,124), the song list AdvSonglist (33,181) and
// the progress bar ProgBar (40,458) with its time label lblwmp (768,466).
// The group list lvkategori (145,109, 185 by 324) opens over this area on
// demand, so nothing tappable lies in that rectangle either.
import QtQuick

Item {
    id: panel

    property string listMode: "songlist"
    property string searchBy: "tittle"
    property string group: "ALL"

    width: 1280
    height: 768

    // List modes, then the search target.
    ButtonGroup {
        x: 16; y: 66
        buttonWidth: 150; buttonHeight: 40
        iconSize: 20
        tone: "accent"
        chosen: panel.listMode
        buttons: [
            { command: "songlist", text: "ALL SONGS", icon: "list" },
            { command: "top", text: "TOP HITS", icon: "star" },
            { command: "popular", text: "POPULAR", icon: "flame" }
        ]
    }
    Caption { x: 500; y: 80; text: "BY"; color: Theme.textFaint }
    ButtonGroup {
        x: 526; y: 66
        buttonWidth: 144; buttonHeight: 40
        iconSize: 20
        tone: "info"
        chosen: panel.searchBy
        buttons: [
            { command: "tittle", text: "TITLE", icon: "title" },
            { command: "singer", text: "ARTIST", icon: "user" }
        ]
    }

    // The song-group button; the group list opens just right of it.
    SkinButton {
        objectName: "cmd_category"
        x: 16; y: 114
        width: 122; height: 48
        command: "category"
        Icon {
            x: 10; y: 8
            width: 16; height: 16
            name: "grid"
            color: Theme.info
        }
        Caption { x: 30; y: 9; text: "GROUP"; color: Theme.info; font.pixelSize: 10 }
        Icon {
            x: parent.width - 24; y: 8
            width: 16; height: 16
            name: "chevron"
            color: Theme.textDim
        }
        Text {
            objectName: "txt_kategori"
            x: 10; y: 24
            width: parent.width - 20
            text: panel.group
            elide: Text.ElideRight
            color: Theme.text
            font.family: Theme.font
            font.pixelSize: 14
            font.bold: true
        }
    }

    Icon { x: 160; y: 122; width: 32; height: 32; name: "search"; color: Theme.textFaint }
    Slot {
        slotX: 215; slotY: 124; slotWidth: 522; slotHeight: 32
        margin: 6
        border.color: Theme.info
        border.width: 2
    }

    SkinButton {
        x: 748; y: 114
        width: 72; height: 48
        command: "clear"
        iconName: "close"
        text: "CLEAR"
        stacked: true
        iconSize: 18
        fontSize: 10
    }

    // The song list; the artist column starts 350 pixels into each row.
    Slot {
        slotX: 33; slotY: 181; slotWidth: 778; slotHeight: 266
        caption: "TITLE"
        Caption { x: 356; y: -15; text: "ARTIST" }
    }

    // The progress bar and the elapsed time beside it.
    Slot { slotX: 40; slotY: 458; slotWidth: 768; slotHeight: 34; margin: 5 }
}
