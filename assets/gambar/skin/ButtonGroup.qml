// A row (or, with `columns: 1`, a column) of SkinButtons made from a list:
//
//   buttons: [{ command: "play", text: "PLAY", icon: "play", tone: "accent" }, ...]
//
// Each entry may carry its own `tone`, `active` and `pulsing`; otherwise the
// group's values apply. The button whose command equals `chosen` is shown lit.
import QtQuick

Grid {
    id: group

    property var buttons: []
    property int buttonWidth: 96
    property int buttonHeight: 52
    property int iconSize: 24
    property int fontSize: 14
    property bool stacked: false
    property string tone: "plain"
    property string chosen: ""
    property bool pulsing: false

    columns: buttons.length
    spacing: 6

    Repeater {
        model: group.buttons
        SkinButton {
            required property var modelData
            width: group.buttonWidth
            height: group.buttonHeight
            command: modelData.command
            text: modelData.text || ""
            iconName: modelData.icon || ""
            iconSize: group.iconSize
            fontSize: group.fontSize
            stacked: group.stacked
            tone: modelData.tone || group.tone
            active: modelData.active === true || (group.chosen.length > 0 && group.chosen === modelData.command)
            pulsing: modelData.pulsing === true && group.pulsing
        }
    }
}
