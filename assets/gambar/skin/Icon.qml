// Line icons drawn on a 24 by 24 grid and scaled to the item's size, so the
// skin needs no picture files. `name` picks the drawing, `color` its ink.
import QtQuick

Canvas {
    id: icon

    property string name
    property color color: Theme.text
    property real lineWidth: 2.2

    implicitWidth: 24
    implicitHeight: 24
    antialiasing: true

    onNameChanged: requestPaint()
    onColorChanged: requestPaint()
    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()

    // One function per icon; each draws with the context already scaled to 24x24.
    readonly property var drawings: ({
        "play": function (c) { poly(c, [[7, 4], [20, 12], [7, 20]], true) },
        "pause": function (c) { c.fillRect(6, 4, 4.5, 16); c.fillRect(13.5, 4, 4.5, 16) },
        "stop": function (c) { roundRect(c, 5, 5, 14, 14, 2); c.fill() },
        "next": function (c) { poly(c, [[4, 5], [14, 12], [4, 19]], true); c.fillRect(16, 5, 3.5, 14) },
        "previous": function (c) { poly(c, [[20, 5], [10, 12], [20, 19]], true); c.fillRect(4.5, 5, 3.5, 14) },
        "repeat": function (c) {
            c.beginPath(); c.moveTo(4, 11); c.lineTo(4, 9); c.arcTo(4, 6, 7, 6, 3); c.lineTo(18, 6); c.stroke()
            poly(c, [[16, 2.5], [20.5, 6], [16, 9.5]], true)
            c.beginPath(); c.moveTo(20, 13); c.lineTo(20, 15); c.arcTo(20, 18, 17, 18, 3); c.lineTo(6, 18); c.stroke()
            poly(c, [[8, 14.5], [3.5, 18], [8, 21.5]], true)
        },
        "search": function (c) {
            c.beginPath(); c.arc(10, 10, 6, 0, 2 * Math.PI); c.stroke()
            line(c, 14.5, 14.5, 20, 20)
        },
        "close": function (c) { line(c, 6, 6, 18, 18); line(c, 18, 6, 6, 18) },
        "backspace": function (c) {
            poly(c, [[9, 5], [21, 5], [21, 19], [9, 19], [3, 12]], false)
            line(c, 12, 9, 18, 15); line(c, 18, 9, 12, 15)
        },
        "power": function (c) {
            c.beginPath(); c.arc(12, 13, 7.5, -Math.PI * 0.3, Math.PI * 1.3, false); c.stroke()
            line(c, 12, 3, 12, 12)
        },
        "up": function (c) { line(c, 12, 20, 12, 5); polyline(c, [[6, 11], [12, 5], [18, 11]]) },
        "down": function (c) { line(c, 12, 4, 12, 19); polyline(c, [[6, 13], [12, 19], [18, 13]]) },
        "top": function (c) { line(c, 5, 4, 19, 4); line(c, 12, 21, 12, 9); polyline(c, [[6, 14], [12, 8], [18, 14]]) },
        "trash": function (c) {
            line(c, 4, 6, 20, 6); polyline(c, [[9, 6], [9, 3.5], [15, 3.5], [15, 6]])
            polyline(c, [[6, 6], [7, 20.5], [17, 20.5], [18, 6]]); line(c, 10, 10, 10, 17); line(c, 14, 10, 14, 17)
        },
        "plus": function (c) { line(c, 12, 5, 12, 19); line(c, 5, 12, 19, 12) },
        "minus": function (c) { line(c, 5, 12, 19, 12) },
        "add": function (c) {
            line(c, 3, 6, 14, 6); line(c, 3, 11, 14, 11); line(c, 3, 16, 9, 16)
            line(c, 17, 11, 17, 21); line(c, 12, 16, 22, 16)
        },
        "bell": function (c) {
            c.beginPath(); c.moveTo(5, 17); c.lineTo(6.5, 15); c.lineTo(6.5, 10.5)
            c.bezierCurveTo(6.5, 3, 17.5, 3, 17.5, 10.5); c.lineTo(17.5, 15); c.lineTo(19, 17); c.closePath(); c.stroke()
            c.beginPath(); c.arc(12, 19, 2.2, 0, Math.PI); c.stroke()
        },
        "wrench": function (c) {
            c.beginPath(); c.arc(16, 8, 4.5, Math.PI * 0.85, Math.PI * 2.15, false); c.stroke()
            line(c, 12.8, 11.2, 4.5, 19.5)
        },
        "menu": function (c) {
            line(c, 7, 3, 7, 21); polyline(c, [[4, 3], [4, 8], [10, 8], [10, 3]])
            c.beginPath(); c.moveTo(17, 21); c.lineTo(17, 3); c.bezierCurveTo(13, 5, 13, 12, 17, 13); c.stroke()
        },
        "request": function (c) {
            line(c, 9, 17, 9, 4); line(c, 9, 4, 17, 2.5); line(c, 17, 2.5, 17, 15)
            c.beginPath(); c.ellipse(4, 15, 5.5, 4.5); c.fill()
            c.beginPath(); c.ellipse(12, 13, 5.5, 4.5); c.fill()
            line(c, 19, 17, 19, 23); line(c, 16, 20, 22, 20)
        },
        "user": function (c) {
            c.beginPath(); c.arc(12, 8, 4, 0, 2 * Math.PI); c.stroke()
            c.beginPath(); c.moveTo(4, 21); c.bezierCurveTo(4, 13, 20, 13, 20, 21); c.stroke()
        },
        "mic": function (c) {
            roundRect(c, 9, 2.5, 6, 11, 3); c.stroke()
            c.beginPath(); c.moveTo(6, 10.5); c.bezierCurveTo(6, 18.5, 18, 18.5, 18, 10.5); c.stroke()
            line(c, 12, 16.5, 12, 21); line(c, 8, 21, 16, 21)
        },
        "music": function (c) {
            line(c, 9, 17, 9, 4); line(c, 9, 4, 19, 2.5); line(c, 19, 2.5, 19, 15)
            c.beginPath(); c.ellipse(3.5, 15, 6, 5); c.fill()
            c.beginPath(); c.ellipse(13.5, 13, 6, 5); c.fill()
        },
        "key": function (c) {
            line(c, 9, 3, 8, 21); line(c, 16, 3, 15, 21); line(c, 4, 9, 20, 8); line(c, 4, 16, 20, 15)
        },
        "vocal": function (c) {
            c.beginPath(); c.arc(9, 8, 4, 0, 2 * Math.PI); c.stroke()
            c.beginPath(); c.moveTo(2, 21); c.bezierCurveTo(2, 14, 16, 14, 16, 21); c.stroke()
            c.beginPath(); c.arc(15, 8, 4, -0.7, 0.7); c.stroke()
            c.beginPath(); c.arc(15, 8, 7.5, -0.7, 0.7); c.stroke()
        },
        "chevron": function (c) { polyline(c, [[6, 9], [12, 15], [18, 9]]) },
        "list": function (c) {
            line(c, 8, 6, 20, 6); line(c, 8, 12, 20, 12); line(c, 8, 18, 20, 18)
            c.fillRect(3, 4.5, 3, 3); c.fillRect(3, 10.5, 3, 3); c.fillRect(3, 16.5, 3, 3)
        },
        "star": function (c) {
            var pts = []
            for (var i = 0; i < 10; ++i) {
                var r = i % 2 === 0 ? 9.5 : 4, a = -Math.PI / 2 + i * Math.PI / 5
                pts.push([12 + r * Math.cos(a), 12.5 + r * Math.sin(a)])
            }
            poly(c, pts, true)
        },
        "flame": function (c) {
            c.beginPath(); c.moveTo(12, 2.5)
            c.bezierCurveTo(13, 8, 19, 9, 19, 15); c.bezierCurveTo(19, 19.5, 15.5, 22, 12, 22)
            c.bezierCurveTo(8.5, 22, 5, 19.5, 5, 15); c.bezierCurveTo(5, 11, 9, 10, 9, 6.5)
            c.bezierCurveTo(11, 8, 11.5, 5.5, 12, 2.5); c.fill()
        },
        "grid": function (c) {
            roundRect(c, 3.5, 3.5, 7, 7, 1.5); c.stroke(); roundRect(c, 13.5, 3.5, 7, 7, 1.5); c.stroke()
            roundRect(c, 3.5, 13.5, 7, 7, 1.5); c.stroke(); roundRect(c, 13.5, 13.5, 7, 7, 1.5); c.stroke()
        },
        "title": function (c) { line(c, 4, 5, 20, 5); line(c, 12, 5, 12, 20) },
        "clock": function (c) {
            c.beginPath(); c.arc(12, 12, 8.5, 0, 2 * Math.PI); c.stroke()
            polyline(c, [[12, 7], [12, 12], [15.5, 14]])
        },
        "battery": function (c) {
            roundRect(c, 2.5, 7, 17, 10, 2); c.stroke(); c.fillRect(20, 10, 2.2, 4)
        }
    })

    function line(c, x1, y1, x2, y2) {
        c.beginPath(); c.moveTo(x1, y1); c.lineTo(x2, y2); c.stroke()
    }
    function polyline(c, pts) {
        c.beginPath(); c.moveTo(pts[0][0], pts[0][1])
        for (var i = 1; i < pts.length; ++i)
            c.lineTo(pts[i][0], pts[i][1])
        c.stroke()
    }
    function poly(c, pts, filled) {
        c.beginPath(); c.moveTo(pts[0][0], pts[0][1])
        for (var i = 1; i < pts.length; ++i)
            c.lineTo(pts[i][0], pts[i][1])
        c.closePath()
        if (filled) c.fill(); else c.stroke()
    }
    function roundRect(c, x, y, w, h, r) {
        c.beginPath(); c.roundedRect(x, y, w, h, r, r)
    }

    onPaint: {
        var c = getContext("2d")
        c.reset()
        var draw = drawings[name]
        if (!draw || width <= 0 || height <= 0)
            return
        var s = Math.min(width, height) / 24
        c.translate((width - 24 * s) / 2, (height - 24 * s) / 2)
        c.scale(s, s)
        c.strokeStyle = color
        c.fillStyle = color
        c.lineWidth = lineWidth
        c.lineCap = "round"
        c.lineJoin = "round"
        draw(c)
    }
}
