// A panel behind a group of controls.
import QtQuick

Rectangle {
    radius: Theme.radius
    border.color: Theme.cardEdge
    border.width: 1
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#151829" }
        GradientStop { position: 1.0; color: Theme.card }
    }
}
