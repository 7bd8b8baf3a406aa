// A horizontal level slider. While the finger is down it follows the finger;
// when the finger lifts it sends `commandPrefix` followed by the chosen whole
// number (for example "VL75"). Otherwise it shows `value`, the level that the
// console last reported (NaN when none is known yet).
import QtQuick

Item {
    id: slider

    property string commandPrefix
    property real from: 0
    property real to: 100
    property real value: NaN
    property color fill: Theme.accent
    property bool centred: from < 0
    readonly property bool dragging: touch.pressed
    // The level sent last, shown until the console reports a level again.
    property real pending: NaN
    readonly property real shown: dragging ? touch.chosen
                                : !isNaN(pending) ? pending
                                : !isNaN(value) ? value
                                : centred ? 0 : from

    onValueChanged: pending = NaN

    objectName: commandPrefix.length > 0 ? "slider_" + commandPrefix : ""
    implicitWidth: 200
    implicitHeight: 48

    function fraction(v) {
        return Math.max(0, Math.min(1, (v - from) / (to - from)))
    }

    Rectangle {
        id: track
        anchors.verticalCenter: parent.verticalCenter
        x: knob.width / 2
        width: parent.width - knob.width
        height: 10
        radius: 5
        color: "#05060c"
        border.color: Theme.cardEdge

        Rectangle {
            readonly property real zero: slider.centred ? slider.fraction(0) : 0
            readonly property real here: slider.fraction(slider.shown)
            x: track.width * Math.min(zero, here)
            width: track.width * Math.abs(here - zero)
            height: parent.height
            radius: 5
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0.0; color: Qt.darker(slider.fill, 1.6) }
                GradientStop { position: 1.0; color: slider.fill }
            }
        }
        Rectangle {
            visible: slider.centred
            x: track.width * slider.fraction(0) - 1
            y: -4
            width: 2
            height: parent.height + 8
            color: Theme.textFaint
        }
    }

    Rectangle {
        id: knob
        width: 30
        height: 30
        radius: 15
        anchors.verticalCenter: parent.verticalCenter
        x: track.width * slider.fraction(slider.shown)
        color: slider.dragging ? "#ffffff" : "#e6e9ff"
        border.color: slider.fill
        border.width: 3
        scale: slider.dragging ? 1.15 : 1.0
        Behavior on scale { NumberAnimation { duration: 80 } }
    }

    MouseArea {
        id: touch
        property real chosen: 0
        anchors.fill: parent
        anchors.topMargin: -6
        anchors.bottomMargin: -6
        preventStealing: true

        function follow(px) {
            var f = Math.max(0, Math.min(1, (px - track.x) / track.width))
            chosen = Math.round(slider.from + f * (slider.to - slider.from))
        }
        onPressed: (mouse) => follow(mouse.x)
        onPositionChanged: (mouse) => follow(mouse.x)
        onReleased: {
            if (slider.commandPrefix.length > 0)
                Bus.command(slider.commandPrefix + chosen)
            slider.pending = chosen
        }
    }
}
