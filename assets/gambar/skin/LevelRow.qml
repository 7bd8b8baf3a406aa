// One row of the mixer: caption, a step down button, a slider, a step up
// button and the level the console reports.
//
//   minusCommand / plusCommand   commands of the step buttons
//   commandPrefix, from, to      the slider (sends prefix + level)
//   reading                      the text the console wrote for this level
import QtQuick

Item {
    id: row

    property string title
    property string iconName
    property string minusCommand
    property string plusCommand
    property string commandPrefix
    property real from: 0
    property real to: 100
    property string reading
    property color fill: Theme.accent
    property string readoutName
    property bool signedReading: false

    implicitHeight: 50

    readonly property real level: reading.trim().length > 0 ? Number(reading) : NaN

    IconCaption {
        id: caption
        height: parent.height
        iconName: row.iconName
        color: row.fill
        text: row.title
    }

    SkinButton {
        id: minus
        anchors.left: caption.right
        width: 52
        height: parent.height
        command: row.minusCommand
        iconName: "minus"
    }

    LevelSlider {
        anchors.left: minus.right
        anchors.right: plus.left
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        height: parent.height
        commandPrefix: row.commandPrefix
        from: row.from
        to: row.to
        value: row.level
        fill: row.fill
    }

    SkinButton {
        id: plus
        anchors.right: readout.left
        anchors.rightMargin: 8
        width: 52
        height: parent.height
        command: row.plusCommand
        iconName: "plus"
    }

    Rectangle {
        id: readout
        anchors.right: parent.right
        width: 60
        height: parent.height
        radius: Theme.smallRadius
        color: "#05060c"
        border.color: Theme.cardEdge

        Text {
            objectName: row.readoutName
            anchors.centerIn: parent
            text: row.reading.length > 0
                  ? (row.signedReading && row.level > 0 ? "+" + row.reading : row.reading)
                  : "--"
            color: row.reading.length > 0 ? row.fill : Theme.textFaint
            font.family: Theme.mono
            font.pixelSize: 22
            font.bold: true
        }
    }
}
