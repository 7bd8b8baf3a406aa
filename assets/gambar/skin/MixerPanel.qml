// Music volume, microphone, key and vocal guide. Each level shows what the
// console reports; the buttons step it and the slider sets it directly. The
// key is a shift in semitones from the song's own key, shown signed: the
// console writes "0" whenever a new song starts.
import QtQuick

Item {
    id: panel

    property string music
    property string mic
    property string key
    property bool vocalOn: false
    property bool vocalOff: false

    width: 1280
    height: 768

    Card { x: 824; y: 462; width: 448; height: 226 }

    Column {
        x: 832; y: 470
        width: 434
        spacing: 6

        LevelRow {
            width: parent.width
            title: "MUSIC"
            iconName: "music"
            minusCommand: "volminus"
            plusCommand: "volplus"
            commandPrefix: "VL"
            from: 0; to: 100
            reading: panel.music
            readoutName: "isimusic"
            fill: Theme.accent
        }
        LevelRow {
            width: parent.width
            title: "MIC"
            iconName: "mic"
            minusCommand: "volmicminus"
            plusCommand: "volmicplus"
            commandPrefix: "MC"
            from: 0; to: 10
            reading: panel.mic
            readoutName: "isimic"
            fill: Theme.info
        }
        LevelRow {
            width: parent.width
            title: "KEY"
            iconName: "key"
            minusCommand: "keyminus"
            plusCommand: "keyplus"
            commandPrefix: "KY"
            from: -6; to: 6
            reading: panel.key
            readoutName: "isikey"
            signedReading: true
            fill: Theme.warm
        }
        Item {
            width: parent.width
            height: 50
            IconCaption {
                id: vocalCaption
                iconName: "vocal"
                color: Theme.accentDeep
                text: "GUIDE"
            }
            Row {
                anchors.left: vocalCaption.right
                spacing: 6
                SkinButton {
                    width: 181; height: 50
                    command: "vocalon"
                    text: "VOCAL ON"
                    tone: "accent"
                    active: panel.vocalOn
                }
                SkinButton {
                    width: 181; height: 50
                    command: "vocaloff"
                    text: "VOCAL OFF"
                    active: panel.vocalOff
                }
            }
        }
    }
}
