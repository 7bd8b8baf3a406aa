// The skin's player controls: transport, volume, microphone, key, sound mode
// and vocal guide. Each sends its code to the room player, which answers with
// the new state; Kirim applies that answer.
#include "console/skinhost.h"
#include "console/uplayer.h"

namespace {

// The room player takes the music volume in steps of ten.
constexpr int kVolumeStep = 10;
constexpr int kMaxVolume = 100;
constexpr int kHighestVolumeToRaise = 91;
constexpr int kLowestVolumeToLower = 1;
// Below this many seconds into a song "previous" means nothing to the room player.
constexpr int kPreviousFromSeconds = 15;

}  // namespace

void Tfplayer::RegisterPlayerCommands() {
    // The skin's sliders hand over their value as it stands.
    const struct {
        const char* prefix;
        const char* code;
    } prefixes[] = {{"KY", "39#"}, {"VL", "27#"}, {"MC", "31#"}};
    for (const auto& row : prefixes) {
        const QString code = QString::fromLatin1(row.code);
        AddPrefixCommand(QString::fromLatin1(row.prefix),
                         [this, code](const QString& value) { Kirim(code + value); });
    }

    // Commands that only pass a code on.
    const struct {
        const char* command;
        const char* text;
    } codes[] = {
        {"karaoke", "30#1"}, {"studio", "30#2"},     {"concert", "30#3"},     {"pro", "30#4"},
        {"dance", "30#5"},   {"volmicplus", "32#1"}, {"volmicminus", "32#2"}, {"repeat", "4#"},
        {"keyplus", "13#"},  {"keyminus", "11#"},
    };
    for (const auto& row : codes) {
        const QString text = QString::fromLatin1(row.text);
        AddCommand(QString::fromLatin1(row.command), [this, text] { Kirim(text); });
    }

    // The volume the console shows is the room player's answer ("9#level"):
    // a step that does not reach it leaves the shown volume as it was.
    AddCommand(QStringLiteral("volplus"), [this] {
        if (VolPlayer > kHighestVolumeToRaise) {
            return;
        }
        Kirim(QStringLiteral("27#") + QString::number(qMin(VolPlayer + kVolumeStep, kMaxVolume)));
    });
    AddCommand(QStringLiteral("volminus"), [this] {
        if (VolPlayer < kLowestVolumeToLower) {
            return;
        }
        Kirim(QStringLiteral("27#") + QString::number(qMax(VolPlayer - kVolumeStep, 0)));
    });

    // "next" and "stop" both skip to the room player's next song.
    for (const QString& skip : {QStringLiteral("next"), QStringLiteral("stop")}) {
        AddCommand(skip, [this] {
            pilihplay = 1;
            Kirim(QStringLiteral("2#a"));
            OnTextPlay(0);
        });
    }
    AddCommand(QStringLiteral("pause"), [this] {
        if (bpause) {
            return;
        }
        Kirim(QStringLiteral("3#"));
        bpause = true;
        Lblnowplay->setText(QStringLiteral("Pause"));
        lblnextsong->setText(QStringLiteral("Pause"));
    });
    AddCommand(QStringLiteral("previous"), [this] {
        if (ProgBar->positionRight() < kPreviousFromSeconds) {
            return;
        }
        Kirim(QStringLiteral("6#"));
    });
    AddCommand(QStringLiteral("vocalon"), [this] {
        Kirim(QStringLiteral("7#"));
        MainSkinNew->SetVariable(QStringLiteral("_root.nomer_vocal.text"), QStringLiteral("1"));
    });
    AddCommand(QStringLiteral("vocaloff"), [this] {
        MainSkinNew->SetVariable(QStringLiteral("_root.nomer_vocal.text"), QStringLiteral("0"));
        Kirim(QStringLiteral("8#"));
    });
}
