#include "player/mediafolder.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The song id a file name stands for: a positive number before the extension.
std::optional<int> SongIdOf(const fs::path& file) {
    const std::string stem = file.stem().string();
    int id = 0;
    auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), id);
    if (stem.empty() || error != std::errc() || end != stem.data() + stem.size() || id <= 0 ||
        !file.has_extension()) {
        return std::nullopt;
    }
    return id;
}

// What the watch is told about files: complete ones arriving, any leaving,
// sub-folders made, moved in or out. A file only created, or still being
// written, is not taken before it is closed.
constexpr uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_ONLYDIR;

}  // namespace

// The files by song id; the watch thread writes, any thread reads.
struct TMediaFolder::TState {
    mutable std::shared_mutex mutex;
    std::map<int, fs::path> files;

    void Add(const fs::path& file) {
        auto id = SongIdOf(file);
        if (!id) {
            return;
        }
        std::unique_lock lock(mutex);
        // Two files for one song: the first by name wins, so every scan agrees.
        auto [known, added] = files.emplace(*id, file);
        if (!added && file < known->second) {
            known->second = file;
        }
    }

    void Remove(const fs::path& file) {
        auto id = SongIdOf(file);
        if (!id) {
            return;
        }
        std::unique_lock lock(mutex);
        auto known = files.find(*id);
        if (known != files.end() && known->second == file) {
            files.erase(known);
        }
    }

    void RemoveUnder(const fs::path& folder) {
        std::unique_lock lock(mutex);
        std::erase_if(
            files, [&folder](const auto& entry) { return entry.second.parent_path() == folder; });
    }

    void AddFilesOf(const fs::path& folder) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.is_regular_file(error)) {
                Add(entry.path());
            }
        }
    }

    // The folder's files and its sub-folders' files, as they are now.
    void ScanAll(const fs::path& folder) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.is_directory(error)) {
                AddFilesOf(entry.path());
            } else if (entry.is_regular_file(error)) {
                Add(entry.path());
            }
        }
    }
};

// inotify on the folder and on each sub-folder, read on a thread of its own
// so that a lookup never waits for the disk.
class TMediaFolder::TWatch {
public:
    TWatch(TState& state, fs::path folder) : FState(state), FFolder(std::move(folder)) {}

    ~TWatch() {
        if (FThread.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] auto written = ::write(FStop, &one, sizeof one);
            FThread.join();
        }
        for (int fd : {FInotify, FStop}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    // The reason it cannot watch, or "" once watching. Watches are in place
    // before the folder is read, so no file slips between the two.
    std::string Start() {
        FInotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        FStop = ::eventfd(0, EFD_CLOEXEC);
        if (FInotify < 0 || FStop < 0) {
            return std::strerror(errno);
        }
        if (!AddWatch(FFolder)) {
            return std::strerror(errno);
        }
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(FFolder, error)) {
            if (entry.is_directory(error)) {
                AddWatch(entry.path());
            }
        }
        FThread = std::thread([this] { Run(); });
        return {};
    }

private:
    bool AddWatch(const fs::path& folder) {
        // IN_ONLYDIR is for the folders; files arrive as events of them.
        const int watch = ::inotify_add_watch(FInotify, folder.c_str(), kFileEvents);
        if (watch < 0) {
            return false;
        }
        FFolders[watch] = folder;
        return true;
    }

    void RemoveWatch(const fs::path& folder) {
        for (auto watch = FFolders.begin(); watch != FFolders.end(); ++watch) {
            if (watch->second == folder) {
                ::inotify_rm_watch(FInotify, watch->first);
                FFolders.erase(watch);
                return;
            }
        }
    }

    void Run() {
        pollfd fds[2] = {{FInotify, POLLIN, 0}, {FStop, POLLIN, 0}};
        alignas(inotify_event) char buffer[64 * 1024];
        while (true) {
            if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
                return;
            }
            if (fds[1].revents != 0) {
                return;
            }
            const ssize_t length = ::read(FInotify, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                OnEvent(*event);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    void OnEvent(const inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW) {
            // Events were lost: read the folder again, once.
            FState.ScanAll(FFolder);
            return;
        }
        auto folder = FFolders.find(event.wd);
        if (folder == FFolders.end() || event.len == 0) {
            if (event.mask & IN_IGNORED) {
                FFolders.erase(event.wd);
            }
            return;
        }
        const fs::path path = folder->second / event.name;
        const bool topLevel = folder->second == FFolder;
        if (event.mask & IN_ISDIR) {
            if (!topLevel) {
                return;  // only one level of sub-folders holds songs
            }
            if (event.mask & (IN_CREATE | IN_MOVED_TO)) {
                // Files may have arrived before the watch: read what is there.
                AddWatch(path);
                FState.AddFilesOf(path);
            } else if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
                // A folder moved away keeps its watch: its files are no longer songs.
                RemoveWatch(path);
                FState.RemoveUnder(path);
            }
            return;
        }
        if (event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
            FState.Add(path);
        } else if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
            FState.Remove(path);
        }
    }

    TState& FState;
    const fs::path FFolder;
    int FInotify = -1;
    int FStop = -1;
    std::map<int, fs::path> FFolders;  // by watch descriptor; the thread's own
    std::thread FThread;
};

TMediaFolder::TMediaFolder() : FState(std::make_unique<TState>()) {}
TMediaFolder::TMediaFolder(TMediaFolder&&) noexcept = default;
TMediaFolder::~TMediaFolder() = default;

TMediaFolder TMediaFolder::Scan(const fs::path& folder) {
    TMediaFolder media;
    media.FState->ScanAll(folder);
    return media;
}

TMediaFolder TMediaFolder::ScanAndWatch(const fs::path& folder, std::ostream& log) {
    TMediaFolder media;
    auto watch = std::make_unique<TWatch>(*media.FState, folder);
    if (const std::string failure = watch->Start(); !failure.empty()) {
        log << "lyrabox-player: " << folder.string() << " cannot be watched (" << failure
            << "); it is read once, new files need a restart" << std::endl;
    } else {
        media.FWatch = std::move(watch);
    }
    media.FState->ScanAll(folder);
    return media;
}

std::optional<fs::path> TMediaFolder::Find(int songId) const {
    std::optional<fs::path> file;
    {
        std::shared_lock lock(FState->mutex);
        auto known = FState->files.find(songId);
        if (known == FState->files.end()) {
            return std::nullopt;
        }
        file = known->second;
    }
    std::error_code error;
    if (!fs::exists(*file, error)) {
        return std::nullopt;
    }
    return file;
}

size_t TMediaFolder::Size() const {
    std::shared_lock lock(FState->mutex);
    return FState->files.size();
}
