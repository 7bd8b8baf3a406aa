// The on-screen search keyboard under the song list. Each character key sends
// the character itself; the console types it into the search field and the
// catalogue search follows.
import QtQuick

Item {
    id: keyboard

    // Key pitch and size of the letter block; the sign block to its right
    // spreads its four rows over the same height.
    readonly property int pitch: 56
    readonly property int keyWidth: 50
    readonly property int rowPitch: 50
    readonly property int keyHeight: 45
    readonly property int firstRow: 510
    readonly property int firstColumn: 16
    readonly property int signLeft: 596

    readonly property var letterRows: [
        { keys: "1234567890", indent: 0 },
        { keys: "qwertyuiop", indent: 0 },
        { keys: "asdfghjkl", indent: 28 },
        { keys: "zxcvbnm", indent: 84 }
    ]
    readonly property var signRows: ["!@#%", "$&*(", ").,-", "'^:;"]

    width: 1280
    height: 768

    Rectangle {
        x: 8; y: 502
        width: 814; height: 260
        radius: Theme.radius
        color: "#0b0c16"
        border.color: Theme.cardEdge
    }

    Repeater {
        model: keyboard.letterRows
        Row {
            required property var modelData
            required property int index
            x: keyboard.firstColumn + modelData.indent
            y: keyboard.firstRow + index * keyboard.rowPitch
            spacing: keyboard.pitch - keyboard.keyWidth
            Repeater {
                model: modelData.keys.split("")
                KeyButton {
                    required property string modelData
                    key: modelData
                    width: keyboard.keyWidth
                    height: keyboard.keyHeight
                }
            }
        }
    }

    // The third letter row is framed by clear on its left and backspace on its
    // right; the space bar takes the whole last row.
    KeyButton {
        x: keyboard.firstColumn
        y: keyboard.firstRow + 3 * keyboard.rowPitch
        width: 78; height: keyboard.keyHeight
        key: "clear"
        text: "CLR"
        fontSize: 14
        tone: "warm"
    }
    KeyButton {
        x: keyboard.firstColumn + 84 + 7 * keyboard.pitch
        y: keyboard.firstRow + 3 * keyboard.rowPitch
        width: 78; height: keyboard.keyHeight
        key: "backspace"
        text: ""
        iconName: "backspace"
        iconSize: 26
    }
    KeyButton {
        x: keyboard.firstColumn
        y: keyboard.firstRow + 4 * keyboard.rowPitch
        width: 9 * keyboard.pitch + keyboard.keyWidth
        height: keyboard.keyHeight
        key: "space"
        text: "SPACE"
        fontSize: 14
    }

    Repeater {
        model: keyboard.signRows
        Row {
            required property string modelData
            required property int index
            x: keyboard.signLeft
            y: keyboard.firstRow + Math.round(index * 62.75)
            spacing: keyboard.pitch - keyboard.keyWidth
            Repeater {
                model: modelData.split("")
                KeyButton {
                    required property string modelData
                    key: modelData
                    sign: true
                    width: keyboard.keyWidth
                    height: 57
                }
            }
        }
    }
}
