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

// The audio filter chain for a song: `rubberband` labelled "key" (always there,
// so that a key change is a command to the running filter and never a
// rebuilt chain), after a channel swap when the guide is off on a stereo file.
// The price: the filter keeps back its last 4,000 samples (83 ms at 48 kHz) of
// every song, which a karaoke track spends in silence.
std::string AudioFilters(int semitones, bool stereoGuideOff, TVocalChannel vocal);
