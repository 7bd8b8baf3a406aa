#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Songs made for a test by ffmpeg's generated sources: sine tones (ffmpeg's
// `sine` source, amplitude 1/8 of full scale) in the containers a venue has.
namespace testmedia {

// The amplitude of every generated tone, as a fraction of full scale.
constexpr double kToneAmplitude = 1.0 / 8;

// A 48 kHz tone of seconds; video adds a small coloured picture.
void Mono(const std::filesystem::path& file, int frequency, int seconds);
void Stereo(const std::filesystem::path& file, int leftFrequency, int rightFrequency, int seconds,
            bool video = false);
// Two audio tracks, each a mono tone: the first with the guide vocal, the
// second without.
void TwoTracks(const std::filesystem::path& file, int firstFrequency, int secondFrequency,
               int seconds);
// A stereo song of tones one after the other, each secondsEach long, the
// same on both channels: where a part of the sound comes from in the song
// shows in its frequency.
void Steps(const std::filesystem::path& file, const std::vector<int>& frequencies, int secondsEach);
// A file with a song's name that no player can open.
void Broken(const std::filesystem::path& file);

}  // namespace testmedia
