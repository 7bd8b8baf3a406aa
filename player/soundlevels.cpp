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

std::string SoundModeFilter(int mode) {
    const std::string limiter = ",alimiter=limit=0.98:level=disabled";
    switch (mode) {
        case 2:
            return "equalizer=f=200:t=o:w=1:g=-3,equalizer=f=3000:t=o:w=1:g=3" + limiter;
        case 3:
            return "aecho=in_gain=1:out_gain=1:delays=50|90:decays=0.3|0.2" + limiter;
        case 4:
            return "equalizer=f=100:t=o:w=1:g=3,equalizer=f=10000:t=o:w=1:g=3" + limiter;
        case 5:
            return "equalizer=f=80:t=o:w=1:g=6" + limiter;
        default:
            return "";
    }
}

std::string AudioFilters(const TSoundChain& chain) {
    std::string filters;
    if (chain.stereoGuideOff) {
        // The channel without the vocal on both speakers.
        const char* music = chain.vocalChannel == TVocalChannel::Right ? "c0" : "c1";
        filters += std::string("@vocal:lavfi=[pan=stereo|c0=") + music + "|c1=" + music + "],";
    }
    if (const std::string mode = SoundModeFilter(chain.mode); !mode.empty()) {
        filters += "@mode:lavfi=[" + mode + "],";
    }
    char key[64];
    std::snprintf(key, sizeof key, "@key:rubberband=pitch-scale=%.9f", PitchScale(chain.semitones));
    return filters + key;
}
