#include "player/mediafolder.h"

#include <charconv>
#include <string>
#include <system_error>

namespace {

// The song id a file name stands for: a positive number before the extension.
std::optional<int> SongIdOf(const std::filesystem::path& file) {
    const std::string stem = file.stem().string();
    int id = 0;
    auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), id);
    if (stem.empty() || error != std::errc() || end != stem.data() + stem.size() || id <= 0 ||
        !file.has_extension()) {
        return std::nullopt;
    }
    return id;
}

}  // namespace

TMediaFolder TMediaFolder::Scan(const std::filesystem::path& folder) {
    TMediaFolder media;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error)) {
            for (const auto& inner : std::filesystem::directory_iterator(entry.path(), error)) {
                if (inner.is_regular_file(error)) {
                    media.Add(inner.path());
                }
            }
        } else if (entry.is_regular_file(error)) {
            media.Add(entry.path());
        }
    }
    return media;
}

void TMediaFolder::Add(const std::filesystem::path& file) {
    auto id = SongIdOf(file);
    if (!id) {
        return;
    }
    // Two files for one song: the first by name wins, so every scan agrees.
    auto [known, added] = FFiles.emplace(*id, file);
    if (!added && file < known->second) {
        known->second = file;
    }
}

std::optional<std::filesystem::path> TMediaFolder::Find(int songId) const {
    auto file = FFiles.find(songId);
    if (file == FFiles.end()) {
        return std::nullopt;
    }
    return file->second;
}
