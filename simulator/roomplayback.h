#pragma once

#include <optional>

#include "simulator/songsource.h"

// What the room plays its songs through: the simulator's clock, or a media
// backend that really plays them. The room keeps its rules (statuses, the
// playlist, the levels it reports) and tells the playback what to do.
class IRoomPlayback {
public:
    virtual ~IRoomPlayback() = default;

    virtual bool Playing() const = 0;
    virtual const TSong& Song() const = 0;
    virtual bool Paused() const = 0;
    virtual int ElapsedSeconds() const = 0;

    // Starts the song from second 0, playing. False when it cannot be played
    // (no media for it): nothing plays then, and the room passes it over.
    virtual bool Start(TSong song) = 0;
    virtual void Stop() = 0;
    virtual void TogglePause() = 0;
    virtual void Seek(int seconds) = 0;
    // Lets playback catch up with what happened since the room last looked:
    // songs that have ended give way to the next ones from songs, or playback
    // stops. True when the song playing changed.
    virtual bool CatchUp(ISongSource& songs) = 0;

    // The room's sound, told whenever the room changes it. The clock has no
    // sound, so these do nothing unless a backend plays.
    virtual void SetVolume(int /*level*/) {}
    virtual void SetKey(int /*semitones*/) {}
    virtual void SetVocalGuide(bool /*on*/) {}
    virtual void SetSoundMode(int /*mode*/) {}
    // The microphone level 0..10, for a mixer on the playback PC.
    virtual void SetMicrophone(int /*level*/) {}
};

// Starts first, or when it cannot be played the next songs from songs, until
// one plays or the playlist runs out. False when nothing plays.
bool StartFirstPlayable(IRoomPlayback& playback, std::optional<TSong> first, ISongSource& songs);
