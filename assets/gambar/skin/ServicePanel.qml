// Calls for service, the food and drink menu and the song request form.
import QtQuick

Item {
    id: panel

    property bool calling: false

    width: 1280
    height: 768

    ButtonGroup {
        x: 824; y: 696
        buttonWidth: 107; buttonHeight: 60
        stacked: true
        fontSize: 11
        tone: "info"
        pulsing: panel.calling
        buttons: [
            { command: "call", text: "WAITER", icon: "bell", tone: "warm", pulsing: true },
            { command: "callit", text: "TECHNICIAN", icon: "wrench", tone: "warm", pulsing: true },
            { command: "emenu", text: "FOOD & DRINK", icon: "menu" },
            { command: "songrequest", text: "REQUEST", icon: "request" }
        ]
    }
}
