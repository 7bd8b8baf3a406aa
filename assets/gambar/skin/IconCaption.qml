// An icon over a small caption: the label at the start of a mixer row.
import QtQuick

Item {
    property alias iconName: icon.name
    property alias color: icon.color
    property alias text: caption.text

    width: 66
    height: 50

    Icon {
        id: icon
        anchors.horizontalCenter: parent.horizontalCenter
        y: 3
        width: 22
        height: 22
    }
    Caption {
        id: caption
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: icon.bottom
        anchors.topMargin: 4
        font.pixelSize: 10
    }
}
