#pragma once

#include <optional>
#include <set>
#include <vector>

#include "simulator/roomplayback.h"

// A playback that plays nothing and records what the room tells it; a test
// says which songs cannot be played, when the song playing ends and where it is.
class TRecordingPlayback final : public IRoomPlayback {
public:
    bool Playing() const override { return FSong.has_value(); }
    const TSong& Song() const override { return *FSong; }
    bool Paused() const override { return false; }
    int ElapsedSeconds() const override { return FSong ? elapsed : 0; }

    bool Start(TSong song) override {
        started.push_back(song.id);
        if (unplayable.count(song.id) > 0) {
            FSong.reset();
            return false;
        }
        FSong = song;
        elapsed = 0;
        return true;
    }
    void Stop() override { FSong.reset(); }
    void TogglePause() override {}
    void Seek(int seconds) override { elapsed = seconds; }
    bool CatchUp(ISongSource& songs) override {
        if (!FSong || !songEnded) {
            return false;
        }
        songEnded = false;
        StartFirstPlayable(*this, songs.TakeNext(), songs);
        return true;
    }

    void SetVolume(int level) override { volumes.push_back(level); }
    void SetKey(int semitones) override { keys.push_back(semitones); }
    void SetVocalGuide(bool on) override { guides.push_back(on); }
    void SetSoundMode(int mode) override { modes.push_back(mode); }

    std::set<int> unplayable;
    // Where the song playing is; a test moves it on.
    int elapsed = 0;
    bool songEnded = false;
    std::vector<int> started, volumes, keys, modes;
    std::vector<bool> guides;

private:
    std::optional<TSong> FSong;
};
