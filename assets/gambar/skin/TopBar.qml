// The strip along the top: guest and time, the booking clock, the song now
// playing and the next one, the battery, the service-call indicator and log out.
// The console's labels lblUserNow/lbluser (74,25), lbljam (289,29),
// Lblnowplay (500,27), lblnextsong (935,27) and Progbattery (1152,25) sit in
// the slots drawn here.
import QtQuick

Item {
    id: bar

    property string clock: "00:00:00"
    property bool calling: false

    width: 1280
    height: 60

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#1a1d36" }
            GradientStop { position: 1.0; color: "#0d0f1d" }
        }
    }
    Rectangle {
        y: parent.height - 2
        width: parent.width
        height: 2
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0.0; color: Theme.accent }
            GradientStop { position: 0.5; color: Theme.accentDeep }
            GradientStop { position: 1.0; color: Theme.info }
        }
    }

    // Brand mark.
    Rectangle {
        x: 14; y: 10
        width: 44; height: 40
        radius: 10
        gradient: Gradient {
            GradientStop { position: 0.0; color: Theme.accent }
            GradientStop { position: 1.0; color: Theme.accentDeep }
        }
        Icon { anchors.centerIn: parent; width: 26; height: 26; name: "mic"; color: "#ffffff" }
    }

    Slot { slotX: 74; slotY: 25; slotWidth: 167; slotHeight: 23; caption: "GUEST" }
    Slot { slotX: 289; slotY: 25; slotWidth: 87; slotHeight: 23; caption: "TIME" }

    // Booking clock.
    Caption { x: 392; y: 5; text: "IN ROOM"; color: Theme.info }
    Text {
        objectName: "isitextdurasi"
        x: 388; y: 21
        text: bar.clock
        color: Theme.text
        font.family: Theme.mono
        font.pixelSize: 21
        font.bold: true
    }

    Slot {
        slotX: 500; slotY: 27; slotWidth: 317; slotHeight: 20
        caption: "NOW PLAYING"
        captionColor: Theme.accent
        border.color: Qt.darker(Theme.accent, 2.2)
    }

    // Between the two song slots: a little level meter while nothing is
    // called, the call indicator while a service call is placed.
    Row {
        visible: !bar.calling
        x: 852; y: 22
        height: 28
        spacing: 4
        Repeater {
            model: [0.45, 0.8, 0.6, 1.0, 0.7, 0.35]
            Rectangle {
                required property real modelData
                anchors.bottom: parent.bottom
                width: 5
                height: 28 * modelData
                radius: 2
                opacity: 0.75
                gradient: Gradient {
                    GradientStop { position: 0.0; color: Theme.info }
                    GradientStop { position: 1.0; color: Theme.accentDeep }
                }
            }
        }
    }
    Row {
        objectName: "callIndicator"
        visible: bar.calling
        x: 830; y: 12
        spacing: 6
        Icon {
            id: bell
            width: 26; height: 26
            name: "bell"
            color: Theme.warm
            transformOrigin: Item.Top
            SequentialAnimation on rotation {
                running: bar.calling
                loops: Animation.Infinite
                NumberAnimation { from: -18; to: 18; duration: 260; easing.type: Easing.InOutSine }
                NumberAnimation { from: 18; to: -18; duration: 260; easing.type: Easing.InOutSine }
            }
        }
        Text {
            anchors.verticalCenter: bell.verticalCenter
            text: "CALLING"
            color: Theme.warm
            font.family: Theme.font
            font.pixelSize: 13
            font.bold: true
        }
    }

    Slot { slotX: 935; slotY: 27; slotWidth: 211; slotHeight: 20; margin: 4; caption: "UP NEXT" }

    Caption { x: 1152; y: 5; text: "BATTERY"; font.pixelSize: 9 }

    SkinButton {
        x: 1214; y: 7
        width: 56; height: 46
        command: "logout"
        iconName: "power"
        tone: "danger"
    }
}
