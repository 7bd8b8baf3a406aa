#pragma once

#include <ostream>
#include <string>

struct _snd_mixer;
struct _snd_mixer_elem;

// Where the room's microphone level goes on the playback PC.
class IMicrophoneLevel {
public:
    virtual ~IMicrophoneLevel() = default;
    // level 0..10, as the room keeps it.
    virtual void SetLevel(int level) = 0;
};

// The room's microphone levels 0..10 spread evenly over a control's own
// range, 0 its minimum and 10 its maximum, rounded to the nearest step.
long MixerValue(int level, long minimum, long maximum);

// The microphone's volume as an ALSA simple mixer control of a card (the
// settings' MicrophoneCard and MicrophoneControl): its playback volume, or
// its capture volume when it has no playback one. Without a control, or when
// the card or the control cannot be found, the level stays a number the room
// reports: one line on log says so, and setting a level does nothing.
class TMicrophoneMixer final : public IMicrophoneLevel {
public:
    TMicrophoneMixer(const std::string& card, const std::string& control, std::ostream& log);
    ~TMicrophoneMixer() override;
    TMicrophoneMixer(const TMicrophoneMixer&) = delete;
    TMicrophoneMixer& operator=(const TMicrophoneMixer&) = delete;

    bool Found() const { return FControl != nullptr; }
    void SetLevel(int level) override;

private:
    // The reason the control cannot be used, or "" once it is found.
    std::string Open(const std::string& card, const std::string& control);

    std::ostream& FLog;
    _snd_mixer* FMixer = nullptr;
    _snd_mixer_elem* FControl = nullptr;
    bool FCapture = false;
    long FMinimum = 0;
    long FMaximum = 0;
    bool FSetFailed = false;
};
