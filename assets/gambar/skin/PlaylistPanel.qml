// The room playlist: the slot of the console's list lvPlaylistnNew (835,246)
// with its entry count lblCountPlaylist (1128,224), the commands that act on
// the selected entry, and the button that adds the selected song to it.
import QtQuick

Item {
    width: 1280
    height: 768

    Card { x: 824; y: 202; width: 346; height: 202 }
    Icon { x: 836; y: 212; width: 20; height: 20; name: "list"; color: Theme.accent }
    Text {
        x: 864; y: 212
        text: "PLAYLIST"
        color: Theme.text
        font.family: Theme.font
        font.pixelSize: 16
        font.bold: true
        font.letterSpacing: 1.5
    }
    Caption { x: 1070; y: 227; text: "SONGS"; font.pixelSize: 10 }
    Slot { slotX: 1128; slotY: 224; slotWidth: 36; slotHeight: 16; margin: 3 }
    Slot { slotX: 835; slotY: 246; slotWidth: 326; slotHeight: 147; margin: 4 }

    ButtonGroup {
        x: 1176; y: 202
        columns: 1
        spacing: 7
        buttonWidth: 96; buttonHeight: 45
        iconSize: 20
        fontSize: 12
        buttons: [
            { command: "up", text: "UP", icon: "up" },
            { command: "down", text: "DOWN", icon: "down" },
            { command: "priority", text: "FIRST", icon: "top" },
            { command: "delete", text: "DEL", icon: "trash", tone: "danger" }
        ]
    }

    SkinButton {
        x: 824; y: 410
        width: 448; height: 46
        command: "saveplaylist"
        text: "ADD SELECTED SONG TO PLAYLIST"
        iconName: "add"
        fontSize: 14
        tone: "accent"
    }
}
