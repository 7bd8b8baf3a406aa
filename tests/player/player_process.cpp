#include "player_process.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "link/timclient.h"
#include "link/utf16.h"
#include "loopback_peer.h"

namespace {

constexpr uint32_t kConnectTimeoutMs = 5000;

}  // namespace

TPlayerProcess::TPlayerProcess(const std::filesystem::path& workDir,
                               const std::filesystem::path& media,
                               std::vector<std::string> extraArguments)
    : FSound(workDir / "sound.pcm"), FErrors(workDir / "player-errors.txt") {
    std::filesystem::remove(FSound);
    std::vector<std::string> args = {LYRABOX_PLAYER_PATH,
                                     "--listen",
                                     "127.0.0.1:0",
                                     "--media",
                                     media.string(),
                                     "--mpv",
                                     "vo=null",
                                     "--mpv",
                                     "ao=pcm",
                                     "--mpv",
                                     "ao-pcm-file=" + FSound.string(),
                                     "--mpv",
                                     "ao-pcm-waveheader=no",
                                     "--mpv",
                                     "ao-pcm-append=yes",
                                     "--mpv",
                                     "audio-format=s16",
                                     "--mpv",
                                     "audio-samplerate=48000",
                                     "--mpv",
                                     "audio-channels=stereo"};
    args.insert(args.end(), extraArguments.begin(), extraArguments.end());
    FChild.emplace(std::move(args), FErrors);
    // A room's playlist is announced first.
    std::string announcement = ReadLine();
    if (announcement.rfind("playlist of ", 0) == 0) {
        announcement = ReadLine();
    }
    const std::string prefix = "listening on 127.0.0.1:";
    if (announcement.rfind(prefix, 0) != 0) {
        throw std::runtime_error("lyrabox-player said: " + announcement + "\n" + Errors());
    }
    FPort = std::stoi(announcement.substr(prefix.size()));
}

std::string TPlayerProcess::ReadLine() {
    return FChild->ReadLine();
}

std::string TPlayerProcess::Send(const std::string& command) {
    TIMCClient client;
    client.SetServerAddress("127.0.0.1:" + std::to_string(FPort));
    std::shared_ptr<IMessageData> reply =
        client.ExecuteRequest(*CommandRequest(linkutf16::FromUtf8(command)), kConnectTimeoutMs);
    if (!client.AnswerValid()) {
        return client.LastError() == 0 ? "(failure marker)"
                                       : "(no answer: " + client.ErrorDesc() + ")";
    }
    return reply->Data().ReadUTF8String(u"String");
}

std::vector<std::string> TPlayerProcess::ProgressUntilIdle() {
    std::vector<std::string> replies;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < giveUp) {
        std::string reply = Send("33#");
        if (replies.empty() || replies.back() != reply) {
            replies.push_back(reply);
        }
        if (reply == "0#") {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return replies;
}

int TPlayerProcess::Terminate() {
    return FChild->Terminate();
}

std::string TPlayerProcess::Errors() const {
    std::ifstream file(FErrors);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
