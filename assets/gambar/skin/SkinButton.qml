// A touch button. When tapped it sends `command` to the console (through Bus)
// unless the command is empty, and raises `clicked` in any case.
//
//   command    the command text sent to the console
//   text       the caption; iconName the icon (see Icon.qml)
//   stacked    icon above the caption instead of beside it
//   tone       "plain", "accent", "info", "warm" or "danger": the colour of the
//              icon, and of the whole face while `active`
//   active     shown lit, for the chosen item of a group
//   pulsing    a slow glow around the button, for something in progress
import QtQuick

Item {
    id: button

    property string command
    property alias text: label.text
    property string iconName
    property int iconSize: 24
    property bool stacked: false
    property string tone: "plain"
    property bool active: false
    property bool pulsing: false
    property int fontSize: 15
    property color face: Theme.button
    property color faceTop: Theme.buttonTop
    property int radius: Theme.radius
    readonly property bool pressed: touch.pressed

    signal clicked()

    objectName: command.length > 0 ? "cmd_" + command : ""
    implicitWidth: 96
    implicitHeight: 52

    readonly property color toneColor: tone === "accent" ? Theme.accent
                                     : tone === "info" ? Theme.info
                                     : tone === "warm" ? Theme.warm
                                     : tone === "danger" ? Theme.danger
                                     : Theme.text
    readonly property color inkColor: active && tone === "plain" ? "#0b0c16"
                                    : active ? "#ffffff"
                                    : tone === "plain" ? Theme.text : toneColor

    Rectangle {
        id: glow
        anchors.fill: parent
        anchors.margins: -5
        radius: button.radius + 5
        color: "transparent"
        border.color: button.toneColor
        border.width: 3
        opacity: 0
        visible: button.pulsing

        SequentialAnimation on opacity {
            running: button.pulsing
            loops: Animation.Infinite
            NumberAnimation { from: 0.15; to: 0.9; duration: 520; easing.type: Easing.InOutQuad }
            NumberAnimation { from: 0.9; to: 0.15; duration: 520; easing.type: Easing.InOutQuad }
        }
    }

    Rectangle {
        id: body
        anchors.fill: parent
        radius: button.radius
        border.width: 1
        border.color: button.active ? Qt.lighter(button.activeColor, 1.3) : Theme.buttonEdge
        gradient: Gradient {
            GradientStop {
                position: 0.0
                color: button.active ? Qt.lighter(button.activeColor, 1.15)
                     : touch.pressed ? Theme.buttonPressed : button.faceTop
            }
            GradientStop {
                position: 1.0
                color: button.active ? button.activeColor
                     : touch.pressed ? Theme.buttonPressed : button.face
            }
        }
        scale: touch.pressed ? 0.95 : 1.0
        Behavior on scale { NumberAnimation { duration: 70 } }

        Grid {
            anchors.centerIn: parent
            // one column unless both an icon and a caption stand side by side
            columns: button.stacked || button.iconName.length === 0 || label.text.length === 0 ? 1 : 2
            spacing: button.stacked ? 3 : 8
            horizontalItemAlignment: Grid.AlignHCenter
            verticalItemAlignment: Grid.AlignVCenter

            Icon {
                visible: button.iconName.length > 0
                name: button.iconName
                color: button.inkColor
                width: button.iconSize
                height: button.iconSize
            }
            Text {
                id: label
                visible: text.length > 0
                color: button.active || button.tone === "plain" ? button.inkColor : Theme.text
                font.family: Theme.font
                font.pixelSize: button.fontSize
                font.bold: true
                font.letterSpacing: 0.6
            }
        }
    }

    readonly property color activeColor: tone === "plain" ? "#dfe3ff" : toneColor

    MouseArea {
        id: touch
        anchors.fill: parent
        anchors.margins: -3
        onClicked: {
            if (button.command.length > 0)
                Bus.command(button.command)
            button.clicked()
        }
    }
}
