#include "player/microphonemixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxLevel = 10;

}  // namespace

long MixerValue(int level, long minimum, long maximum) {
    const int clamped = std::clamp(level, 0, kMaxLevel);
    const double span = static_cast<double>(maximum) - static_cast<double>(minimum);
    return minimum + std::lround(span * clamped / kMaxLevel);
}

TMicrophoneMixer::TMicrophoneMixer(const std::string& card, const std::string& control,
                                   std::ostream& log)
    : FLog(log) {
    const std::string failure = control.empty()
                                    ? "the settings name no [RoomPlayer] MicrophoneControl"
                                    : Open(card, control);
    if (failure.empty()) {
        FLog << "lyrabox-player: the microphone level sets the "
             << (FCapture ? "capture" : "playback") << " volume of \"" << control << "\" on "
             << card << " (" << FMinimum << ".." << FMaximum << ")" << std::endl;
        return;
    }
    FControl = nullptr;
    if (FMixer != nullptr) {
        snd_mixer_close(FMixer);
        FMixer = nullptr;
    }
    FLog << "lyrabox-player: " << failure << "; the microphone level is kept as a number only"
         << std::endl;
}

TMicrophoneMixer::~TMicrophoneMixer() {
    if (FMixer != nullptr) {
        snd_mixer_close(FMixer);
    }
}

std::string TMicrophoneMixer::Open(const std::string& card, const std::string& control) {
    const std::string where = "the mixer of " + card;
    if (int error = snd_mixer_open(&FMixer, 0); error < 0) {
        FMixer = nullptr;
        return where + " cannot be opened (" + snd_strerror(error) + ")";
    }
    if (int error = snd_mixer_attach(FMixer, card.c_str()); error < 0) {
        return where + " cannot be opened (" + snd_strerror(error) + ")";
    }
    if (int error = snd_mixer_selem_register(FMixer, nullptr, nullptr); error < 0) {
        return where + " cannot be read (" + snd_strerror(error) + ")";
    }
    if (int error = snd_mixer_load(FMixer); error < 0) {
        return where + " cannot be read (" + snd_strerror(error) + ")";
    }
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, control.c_str());
    FControl = snd_mixer_find_selem(FMixer, id);
    if (FControl == nullptr) {
        return where + " has no control \"" + control + "\"";
    }
    if (snd_mixer_selem_has_playback_volume(FControl)) {
        snd_mixer_selem_get_playback_volume_range(FControl, &FMinimum, &FMaximum);
    } else if (snd_mixer_selem_has_capture_volume(FControl)) {
        FCapture = true;
        snd_mixer_selem_get_capture_volume_range(FControl, &FMinimum, &FMaximum);
    } else {
        return "the control \"" + control + "\" of " + card + " has no volume";
    }
    return {};
}

void TMicrophoneMixer::SetLevel(int level) {
    if (FControl == nullptr) {
        return;
    }
    const long value = MixerValue(level, FMinimum, FMaximum);
    const int error = FCapture ? snd_mixer_selem_set_capture_volume_all(FControl, value)
                               : snd_mixer_selem_set_playback_volume_all(FControl, value);
    if (error < 0 && !FSetFailed) {
        FSetFailed = true;  // once: a card gone away would fill the log otherwise
        FLog << "lyrabox-player: the microphone volume cannot be set (" << snd_strerror(error)
             << ")" << std::endl;
    }
}
