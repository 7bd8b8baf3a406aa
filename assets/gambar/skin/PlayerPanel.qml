// Player controls and sound modes, top right.
import QtQuick

Item {
    id: panel

    property string soundMode: ""

    width: 1280
    height: 768

    ButtonGroup {
        x: 830; y: 66
        buttonWidth: 69; buttonHeight: 74
        iconSize: 28
        stacked: true
        fontSize: 11
        buttons: [
            { command: "previous", text: "BACK", icon: "previous" },
            { command: "play", text: "PLAY", icon: "play", tone: "accent", active: true },
            { command: "pause", text: "PAUSE", icon: "pause" },
            { command: "stop", text: "STOP", icon: "stop" },
            { command: "next", text: "NEXT", icon: "next" },
            { command: "repeat", text: "REPEAT", icon: "repeat" }
        ]
    }

    ButtonGroup {
        x: 830; y: 148
        buttonWidth: 84; buttonHeight: 44
        fontSize: 12
        tone: "info"
        chosen: panel.soundMode
        buttons: [
            { command: "karaoke", text: "KARAOKE" },
            { command: "studio", text: "STUDIO" },
            { command: "concert", text: "CONCERT" },
            { command: "pro", text: "PRO" },
            { command: "dance", text: "DANCE" }
        ]
    }
}
