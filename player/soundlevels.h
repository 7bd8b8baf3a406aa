#pragma once

#include <string>

// How the room's levels become mpv's settings.

// The music volume 0..100 goes to mpv's `volume` as it is. mpv turns it into a
// cubic gain, (level / 100)^3: 0 is silent, 100 is the file's own level, 50 is
// an eighth of the amplitude (about -18 dB), 80 about -5.8 dB. A cubic curve
// spreads the console's volume steps evenly over what a listener hears.
double MpvVolume(int level);
// The gain in amplitude that level gives.
double VolumeGain(int level);

// A key shift of n semitones scales every frequency by 2^(n/12), the tempo
// unchanged.
double PitchScale(int semitones);

// Which channel of a stereo file carries the guide vocal. With the guide on
// the file plays as it is; off, the other channel plays on both speakers.
enum class TVocalChannel { Left, Right };

// The five sound modes of the console, as audio filter presets (lavfi):
//   1 karaoke  the file as it is
//   2 studio   a clear voice: -3 dB at 200 Hz (less boom), +3 dB at 3 kHz (presence)
//   3 concert  a hall: echoes after 50 and 90 ms at 30 % and 20 %
//   4 pro      a "smile": +3 dB at 100 Hz and at 10 kHz
//   5 dance    the beat: +6 dB at 80 Hz
// Each band is a peaking equaliser one octave wide, so a tone at its centre
// frequency changes by exactly the band's gain. Modes that raise a band end in
// a limiter just under full scale, so a loud file does not clip.
std::string SoundModeFilter(int mode);

// Everything that decides the audio filter chain of a song.
struct TSoundChain {
    int semitones = 0;
    int mode = 1;
    bool stereoGuideOff = false;
    TVocalChannel vocalChannel = TVocalChannel::Right;
};

// The chain for mpv's `af`: a channel swap labelled "vocal" when the guide is
// off on a stereo file, the mode's preset labelled "mode", and `rubberband`
// labelled "key". The pitch filter is always there, so that a key change is a
// command to the running filter and never a rebuilt chain. The price: it keeps
// back its last 4,000 samples (83 ms at 48 kHz) of every song, which a karaoke
// track spends in silence. A change of vocal guide on a stereo file or of the
// sound mode rebuilds the chain once.
std::string AudioFilters(const TSoundChain& chain);
