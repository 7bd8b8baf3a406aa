// Colours, fonts and sizes shared by every part of the default skin.
pragma Singleton
import QtQuick

QtObject {
    // Surfaces, from the back of the screen to the front.
    readonly property color background: "#07080f"
    readonly property color backgroundTop: "#12142a"
    readonly property color card: "#11131f"
    readonly property color cardEdge: "#232842"
    readonly property color slotFill: "#000000"
    readonly property color slotEdge: "#2e3557"

    // Buttons.
    readonly property color button: "#1c2036"
    readonly property color buttonTop: "#262b47"
    readonly property color buttonPressed: "#363d66"
    readonly property color buttonEdge: "#31385c"
    readonly property color key: "#1a1d31"
    readonly property color keyTop: "#23273f"
    readonly property color keySign: "#161827"

    // Accents: magenta for the main action, cyan for readouts, amber for calls.
    readonly property color accent: "#ff3d8b"
    readonly property color accentDeep: "#9b4dff"
    readonly property color info: "#35d6ff"
    readonly property color warm: "#ffb23d"
    readonly property color danger: "#ff5361"

    // Text.
    readonly property color text: "#f2f4ff"
    readonly property color textDim: "#8d95bd"
    readonly property color textFaint: "#5a6189"

    readonly property string font: "DejaVu Sans"
    readonly property string mono: "DejaVu Sans Mono"

    readonly property int radius: 12
    readonly property int smallRadius: 8
}
