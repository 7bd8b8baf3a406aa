#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

// The room's song files: `<folder>/<idlagu>.<extension>`, or one level down in
// a sub-folder (a venue keeps one per thousand songs, `12/12345.mp4`). Any
// extension counts: whether mpv can play the file shows when it is played.
//
// Lookups are safe from any thread while a watch keeps the folder up to date.
class TMediaFolder {
public:
    // Reads the folder once; a folder that cannot be read holds no songs.
    static TMediaFolder Scan(const std::filesystem::path& folder);
    // Reads the folder and keeps watching it (inotify, on a thread of its
    // own): a file written or moved in later is found once it is complete
    // (closed after writing, or moved in whole), a file removed no longer is.
    // A folder that cannot be watched is read once, with one line on log.
    static TMediaFolder ScanAndWatch(const std::filesystem::path& folder, std::ostream& log);

    TMediaFolder(TMediaFolder&&) noexcept;
    // Not assignable: a watch runs for the folder it was made with.
    TMediaFolder& operator=(TMediaFolder&&) = delete;
    ~TMediaFolder();

    // The file of songId, if there is one now. A file that is known but gone
    // from the disk is not returned, even before the watch has seen it go.
    std::optional<std::filesystem::path> Find(int songId) const;
    size_t Size() const;

private:
    struct TState;
    class TWatch;

    TMediaFolder();

    std::unique_ptr<TState> FState;
    std::unique_ptr<TWatch> FWatch;
};
