// The default skin of the console. A venue may replace this file; the console
// needs only the signal fsCommand and the function setVariable (docs/skin.md).
import QtQuick

Rectangle {
    id: skin
    width: 1280
    height: 768
    color: "#101018"

    signal fsCommand(string command, string args)

    // Text variables the console writes, by path.
    property var variables: ({})

    function setVariable(path, value) {
        var copy = Object.assign({}, variables)
        copy[path] = value
        variables = copy
    }

    function variable(path, fallback) {
        return variables[path] !== undefined ? variables[path] : fallback
    }

    gradient: Gradient {
        GradientStop { position: 0.0; color: "#1c1030" }
        GradientStop { position: 1.0; color: "#05050a" }
    }

    Text {
        x: 1000; y: 60
        color: "#e0d8ff"
        font.pixelSize: 18
        text: "Volume " + skin.variable("_root.isimusic.text", "-") +
              "   Mic " + skin.variable("_root.isimic.text", "-") +
              "   Key " + skin.variable("_root.isikey.text", "-")
    }

    Text {
        x: 289; y: 52
        color: "#ffffff"
        font.pixelSize: 18
        text: skin.variable("_root.isitextdurasi.text", "00:00:00")
    }
}
