// Player controls and sound modes, top right.
import QtQuick

Item {
    id: panel

    property string soundMode: ""

    width: 1280
    height: 768

    Row {
        x: 830; y: 66
        spacing: 6
        Repeater {
            model: [
                { command: "previous", text: "BACK", icon: "previous" },
                { command: "play", text: "PLAY", icon: "play" },
                { command: "pause", text: "PAUSE", icon: "pause" },
                { command: "stop", text: "STOP", icon: "stop" },
                { command: "next", text: "NEXT", icon: "next" },
                { command: "repeat", text: "REPEAT", icon: "repeat" }
            ]
            SkinButton {
                required property var modelData
                width: 69; height: 74
                command: modelData.command
                text: modelData.text
                iconName: modelData.icon
                iconSize: 28
                stacked: true
                fontSize: 11
                tone: modelData.command === "play" ? "accent" : "plain"
                active: modelData.command === "play"
            }
        }
    }

    Row {
        x: 830; y: 148
        spacing: 6
        Repeater {
            model: [
                { command: "karaoke", text: "KARAOKE" },
                { command: "studio", text: "STUDIO" },
                { command: "concert", text: "CONCERT" },
                { command: "pro", text: "PRO" },
                { command: "dance", text: "DANCE" }
            ]
            SkinButton {
                required property var modelData
                width: 84; height: 44
                command: modelData.command
                text: modelData.text
                fontSize: 12
                tone: "info"
                active: panel.soundMode === modelData.command
            }
        }
    }
}
