// A small upper-case caption above a readout or a slot.
import QtQuick

Text {
    color: Theme.textDim
    font.family: Theme.font
    font.pixelSize: 11
    font.bold: true
    font.letterSpacing: 1.5
}
