#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "simulator/tvscreen.h"

// Which part of a long text stays: a name's start, the end of what is being typed.
enum class TKeep { Start, End };

// The text as ASS shows it literally: override blocks and escapes the guest
// typed are drawn as typed, line breaks become spaces, and a text longer than
// maxCharacters (counted in UTF-8 characters) is cut between characters with
// an ellipsis where the rest was left off.
std::string AssLiteral(std::string_view text, size_t maxCharacters, TKeep keep = TKeep::Start);

// The ASS events, one a line, that draw picture on a 1920x1080 canvas; empty
// when nothing is to be drawn. caption names the room on the idle screen.
std::string TvOverlayEvents(const TTvPicture& picture, const std::string& caption);

// The room's TV: each picture drawn as ASS events by draw (mpv's OSD overlay
// in the player).
class TTvOverlay final : public ITvScreen {
public:
    // The caption of the idle screen when the player has no room.
    static constexpr const char* kNoRoomCaption = "Karaoke";

    TTvOverlay(std::string caption, std::function<void(const std::string& assEvents)> draw);
    void Show(const TTvPicture& picture) override;

private:
    std::string FCaption;
    std::function<void(const std::string&)> FDraw;
};
