#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "player/soundlevels.h"

// The playback PC's own keys, section [RoomPlayer] of the settings file (the
// console's setting.ini format), all optional:
//   VocalChannel=right        left|right: the channel of the guide vocal
//   Screen=0                  the screen the window fills (mpv screen, fs-screen)
//   AudioDevice=auto          mpv audio-device, e.g. alsa/hdmi:CARD=PCH,DEV=0
//   MicrophoneCard=default    the ALSA card whose mixer holds the microphone
//   MicrophoneControl=        the ALSA simple mixer control of the microphone
struct TPlayerSettings {
    TVocalChannel vocalChannel = TVocalChannel::Right;
    // mpv options the keys stand for, set before the command line's own so
    // that an `--mpv` option given there wins.
    std::vector<std::pair<std::string, std::string>> mpvOptions;
    std::string microphoneCard = "default";
    std::string microphoneControl;
};

// Reads [RoomPlayer] of the settings file. A value that makes no sense is one
// line on log and the key's default; it never stops the player.
TPlayerSettings ReadPlayerSettings(const std::string& settingsPath, std::ostream& log);
