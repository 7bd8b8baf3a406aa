// The frame behind one of the console's own controls. Give it the control's
// rectangle (slotX, slotY, slotWidth, slotHeight in skin pixels); the frame is
// drawn `margin` pixels around it so that the control sits inside, and an
// optional caption is written just above the frame.
import QtQuick

Rectangle {
    id: frame

    property int slotX
    property int slotY
    property int slotWidth
    property int slotHeight
    property int margin: 5
    property string caption: ""
    property color captionColor: Theme.textDim

    x: slotX - margin
    y: slotY - margin
    width: slotWidth + 2 * margin
    height: slotHeight + 2 * margin
    radius: Math.min(Theme.smallRadius, height / 2)
    color: Theme.slotFill
    border.color: Theme.slotEdge
    border.width: 1

    Caption {
        visible: frame.caption.length > 0
        text: frame.caption
        color: frame.captionColor
        x: 4
        anchors.bottom: parent.top
        anchors.bottomMargin: 2
    }
}
