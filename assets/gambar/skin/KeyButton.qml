// One key of the search keyboard. `key` is the command it sends (the character
// itself for character keys); letters are shown in capitals, as the search
// field shows them.
import QtQuick

SkinButton {
    property string key
    property bool sign: false

    command: key
    text: key.toUpperCase()
    fontSize: 21
    radius: Theme.smallRadius
    face: sign ? Theme.keySign : Theme.key
    faceTop: sign ? Theme.keySign : Theme.keyTop
    implicitWidth: 52
    implicitHeight: 46
}
