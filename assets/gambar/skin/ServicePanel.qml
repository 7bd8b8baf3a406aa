// Calls for service, the food and drink menu and the song request form.
import QtQuick

Item {
    id: panel

    property bool calling: false

    width: 1280
    height: 768

    Row {
        x: 824; y: 696
        spacing: 6
        Repeater {
            model: [
                { command: "call", text: "WAITER", icon: "bell", tone: "warm", call: true },
                { command: "callit", text: "TECHNICIAN", icon: "wrench", tone: "warm", call: true },
                { command: "emenu", text: "FOOD & DRINK", icon: "menu", tone: "info", call: false },
                { command: "songrequest", text: "REQUEST", icon: "request", tone: "info", call: false }
            ]
            SkinButton {
                required property var modelData
                width: 107; height: 60
                command: modelData.command
                text: modelData.text
                iconName: modelData.icon
                iconSize: 24
                stacked: true
                fontSize: 11
                tone: modelData.tone
                pulsing: modelData.call && panel.calling
            }
        }
    }
}
