#pragma once

#include <filesystem>
#include <map>
#include <optional>

// The room's song files: `<folder>/<idlagu>.<extension>`, or one level down in
// a sub-folder (a venue keeps one per thousand songs, `12/12345.mp4`). Any
// extension counts: whether mpv can play the file shows when it is played.
class TMediaFolder {
public:
    // Reads the folder once; a folder that cannot be read holds no songs.
    static TMediaFolder Scan(const std::filesystem::path& folder);

    std::optional<std::filesystem::path> Find(int songId) const;
    size_t Size() const { return FFiles.size(); }

private:
    void Add(const std::filesystem::path& file);

    std::map<int, std::filesystem::path> FFiles;
};
