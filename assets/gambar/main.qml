// The console's default skin: 1280 by 768, dark, for a touch screen read from
// a sofa. A venue may replace this folder with its own skin; the contract is in
// docs/skin.md. The console talks to the skin only through the two members
// below: the signal fsCommand (a command per tap) and the function setVariable
// (a text per variable path).
//
// The console lays its own lists, labels and fields over fixed rectangles of
// this area. The skin leaves those rectangles free of controls and draws a
// frame (a Slot) behind each of them.
import QtQuick
import "skin"

Item {
    id: skin

    width: 1280
    height: 768

    // To the console: one command per tap. The argument is always empty.
    signal fsCommand(string command, string args)

    // From the console: "_root.<field>.text" and the text to show.
    function setVariable(path, value) {
        var match = /^_root\.(\w+)\.text$/.exec(String(path))
        if (!match || vars.fields.indexOf(match[1]) < 0)
            return
        var field = match[1]
        var text = value === undefined || value === null ? "" : String(value)
        vars[field] = text
        // Two fields are signals rather than readouts: they put a choice of
        // the skin back to what the console has just set.
        if (field === "nomer_songlist" && text === "1")
            chosen.listMode = "songlist"
        else if (field === "nomer_judulartis" && text === "0")
            chosen.searchBy = "tittle"
    }

    // The text fields the console writes, by the name in their path.
    QtObject {
        id: vars
        objectName: "vars"

        readonly property var fields: ["isimusic", "isimic", "isikey", "nomer_vocal", "anima_txt",
                                       "txt_kategori", "nomer_songlist", "nomer_judulartis",
                                       "isitextdurasi"]
        property string isimusic: ""         // music volume, 0..100
        property string isimic: ""           // microphone level
        property string isikey: ""           // key
        property string nomer_vocal: ""      // "1" vocal guide on, "0" off
        property string anima_txt: ""        // "1" a service call is indicated, "2" ended
        property string txt_kategori: "ALL"  // caption of the chosen song group
        property string nomer_songlist: ""   // "1": a song group was chosen (list mode back to songlist)
        property string nomer_judulartis: "" // "0": the console was reset (search by title)
        property string isitextdurasi: "00:00:00" // the booking clock
    }

    // What the skin shows as chosen; the skin keeps it from its own taps.
    QtObject {
        id: chosen
        objectName: "skinState"

        property string listMode: "songlist"
        property string searchBy: "tittle"
        property string soundMode: ""
        readonly property bool calling: vars.anima_txt === "1"
        readonly property bool vocalOn: vars.nomer_vocal === "1"
        readonly property bool vocalOff: vars.nomer_vocal === "0"
    }

    Connections {
        target: Bus
        function onCommand(name) {
            if (["songlist", "top", "popular"].indexOf(name) >= 0)
                chosen.listMode = name
            else if (name === "tittle" || name === "singer")
                chosen.searchBy = name
            else if (["karaoke", "studio", "concert", "pro", "dance"].indexOf(name) >= 0)
                chosen.soundMode = name
            skin.fsCommand(name, "")
        }
    }

    // ---------------------------------------------------------------- backdrop
    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: Theme.backgroundTop }
            GradientStop { position: 0.35; color: Theme.background }
            GradientStop { position: 1.0; color: "#05060b" }
        }
    }
    Rectangle {
        // soft stage light behind the song panel
        x: -260; y: -300; width: 900; height: 900; radius: 450
        opacity: 0.22
        gradient: Gradient {
            GradientStop { position: 0.0; color: Theme.accentDeep }
            GradientStop { position: 0.6; color: "transparent" }
        }
    }

    TopBar {
        id: topBar
        calling: chosen.calling
        clock: vars.isitextdurasi
    }

    SongPanel {
        listMode: chosen.listMode
        searchBy: chosen.searchBy
        group: vars.txt_kategori
    }

    SearchKeyboard {}

    PlayerPanel {
        soundMode: chosen.soundMode
    }

    PlaylistPanel {}

    MixerPanel {
        music: vars.isimusic
        mic: vars.isimic
        key: vars.isikey
        vocalOn: chosen.vocalOn
        vocalOff: chosen.vocalOff
    }

    ServicePanel {
        calling: chosen.calling
    }
}
