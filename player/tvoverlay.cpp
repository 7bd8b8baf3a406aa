#include "player/tvoverlay.h"

#include <utility>

namespace {

// Longest texts drawn, in characters: a search line, a title or artist on its
// own line, the next song in the corner.
constexpr size_t kSearchCharacters = 40;
constexpr size_t kNameCharacters = 48;
constexpr size_t kCornerCharacters = 56;

// U+2060 WORD JOINER: invisible, and keeps a backslash from starting an escape.
constexpr std::string_view kWordJoiner = "\u2060";
constexpr std::string_view kEllipsis = "\u2026";

bool ContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The first (or last) maxCharacters characters of text, cut between characters.
std::string_view Clip(std::string_view text, size_t maxCharacters, TKeep keep, bool& clipped) {
    clipped = false;
    size_t characters = 0;
    if (keep == TKeep::Start) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (!ContinuationByte(text[i]) && characters++ == maxCharacters) {
                clipped = true;
                return text.substr(0, i);
            }
        }
        return text;
    }
    for (size_t i = text.size(); i-- > 0;) {
        if (!ContinuationByte(text[i]) && ++characters == maxCharacters) {
            clipped = i > 0;
            return text.substr(i);
        }
    }
    return text;
}

std::string SongTitle(const TSong& song) {
    return song.title.empty() ? "Song " + std::to_string(song.id) : song.title;
}

// "Title - Artist", or the title alone when the artist is unknown.
std::string TitleAndArtist(const TSong& song, size_t maxCharacters) {
    std::string text = SongTitle(song);
    if (!song.artist.empty()) {
        text += " \u2013 " + song.artist;
    }
    return AssLiteral(text, maxCharacters);
}

// Styles: white text with a black outline, readable over any video.
// The search line sits under the corner's line, so that the two never meet.
const std::string kSearchStyle = R"({\an8\pos(960,110)\fs64\bord4\shad0\c&HFFFFFF&\3c&H000000&})";
const std::string kAnnounceTitleStyle =
    R"({\an2\pos(960,560)\fs96\b1\bord5\shad0\c&HFFFFFF&\3c&H000000&})";
const std::string kAnnounceArtistStyle =
    R"({\an8\pos(960,580)\fs64\bord4\shad0\c&H80FFFF&\3c&H000000&})";
const std::string kCornerStyle = R"({\an9\pos(1880,40)\fs40\bord3\shad0\c&HFFFFFF&\3c&H000000&})";
const std::string kIdleCaptionStyle =
    R"({\an2\pos(960,500)\fs120\b1\bord5\shad0\c&HFFFFFF&\3c&H000000&})";
const std::string kIdleNextStyle = R"({\an8\pos(960,560)\fs56\bord4\shad0\c&HFFFFFF&\3c&H000000&})";

}  // namespace

std::string AssLiteral(std::string_view text, size_t maxCharacters, TKeep keep) {
    bool clipped = false;
    const std::string_view shown = Clip(text, maxCharacters, keep, clipped);
    std::string ass;
    if (clipped && keep == TKeep::End) {
        ass += kEllipsis;
    }
    for (char c : shown) {
        if (c == '{' || c == '}') {
            ass += '\\';
            ass += c;
        } else if (c == '\\') {
            ass += c;
            ass += kWordJoiner;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            ass += ' ';  // an event is one line of ASS
        } else {
            ass += c;
        }
    }
    if (clipped && keep == TKeep::Start) {
        ass += kEllipsis;
    }
    return ass;
}

std::string TvOverlayEvents(const TTvPicture& picture, const std::string& caption) {
    std::string events;
    auto add = [&events](const std::string& style, const std::string& text) {
        events += style + text + "\n";
    };
    if (picture.playing) {
        if (picture.announce) {
            add(kAnnounceTitleStyle, AssLiteral(SongTitle(*picture.playing), kNameCharacters));
            if (!picture.playing->artist.empty()) {
                add(kAnnounceArtistStyle, AssLiteral(picture.playing->artist, kNameCharacters));
            }
        }
        if (picture.next) {
            add(kCornerStyle, "Next: " + TitleAndArtist(*picture.next, kCornerCharacters));
        }
    } else {
        add(kIdleCaptionStyle, AssLiteral(caption, kNameCharacters));
        if (picture.next) {
            add(kIdleNextStyle, "Next: " + TitleAndArtist(*picture.next, kCornerCharacters));
        }
    }
    if (!picture.searchText.empty()) {
        add(kSearchStyle,
            "Search: " + AssLiteral(picture.searchText, kSearchCharacters, TKeep::End));
    }
    return events;
}

TTvOverlay::TTvOverlay(std::string caption, std::function<void(const std::string&)> draw)
    : FCaption(std::move(caption)), FDraw(std::move(draw)) {}

void TTvOverlay::Show(const TTvPicture& picture) {
    FDraw(TvOverlayEvents(picture, FCaption));
}
