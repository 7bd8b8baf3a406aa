#include "player/playersettings.h"

#include <QString>

#include "simulator/songsdatabase.h"

namespace {

// mpv numbers the screens from 0 and knows no more than 33 of them.
constexpr int kLastScreen = 32;

QString Value(const std::string& settingsPath, const char* key) {
    return ReadSettingValue(QString::fromStdString(settingsPath), QStringLiteral("RoomPlayer"),
                            QString::fromLatin1(key))
        .trimmed();
}

void Refuse(std::ostream& log, const char* key, const QString& value, const char* instead) {
    log << "lyrabox-player: [RoomPlayer] " << key << "=" << value.toStdString() << " " << instead
        << std::endl;
}

}  // namespace

TPlayerSettings ReadPlayerSettings(const std::string& settingsPath, std::ostream& log) {
    TPlayerSettings settings;

    const QString channel = Value(settingsPath, "VocalChannel");
    if (channel.compare(QStringLiteral("left"), Qt::CaseInsensitive) == 0) {
        settings.vocalChannel = TVocalChannel::Left;
    } else if (!channel.isEmpty() &&
               channel.compare(QStringLiteral("right"), Qt::CaseInsensitive) != 0) {
        Refuse(log, "VocalChannel", channel, "is neither left nor right; right is used");
    }

    const QString screen = Value(settingsPath, "Screen");
    bool number = false;
    const int screenNumber = screen.toInt(&number);
    if (number && screenNumber >= 0 && screenNumber <= kLastScreen) {
        // The window opens on "screen" and goes full-screen on "fs-screen";
        // without a window manager it is sized where it opens, so both name it.
        settings.mpvOptions.emplace_back("screen", std::to_string(screenNumber));
        settings.mpvOptions.emplace_back("fs-screen", std::to_string(screenNumber));
    } else if (!screen.isEmpty()) {
        Refuse(log, "Screen", screen, "is not a screen number (0 is the first); mpv's own is used");
    }

    const QString device = Value(settingsPath, "AudioDevice");
    if (!device.isEmpty()) {
        settings.mpvOptions.emplace_back("audio-device", device.toStdString());
    }

    const QString card = Value(settingsPath, "MicrophoneCard");
    if (!card.isEmpty()) {
        settings.microphoneCard = card.toStdString();
    }
    settings.microphoneControl = Value(settingsPath, "MicrophoneControl").toStdString();
    return settings;
}
