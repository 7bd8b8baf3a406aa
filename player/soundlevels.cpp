#include "player/soundlevels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double MpvVolume(int level) {
    return std::clamp(level, 0, 100);
}

double VolumeGain(int level) {
    return std::pow(MpvVolume(level) / 100.0, 3);
}

double PitchScale(int semitones) {
    return std::pow(2.0, semitones / 12.0);
}

std::string AudioFilters(int semitones, bool stereoGuideOff, TVocalChannel vocal) {
    char key[96];
    std::snprintf(key, sizeof key, "@key:rubberband=pitch-scale=%.9f", PitchScale(semitones));
    if (!stereoGuideOff) {
        return key;
    }
    // The channel without the vocal on both speakers.
    const char* music = vocal == TVocalChannel::Right ? "c0" : "c1";
    return std::string("@vocal:lavfi=[pan=stereo|c0=") + music + "|c1=" + music + "]," + key;
}
