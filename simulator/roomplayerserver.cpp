#include "simulator/roomplayerserver.h"

#include <csignal>

#include "link/linkerror.h"
#include "link/utf16.h"
#include "simulator/replywriter.h"

void TRoomPlayerServer::Run(const std::function<void()>& between) {
    while (std::unique_ptr<TIMCPeer> peer = FListener.Accept(kIdleMs, between)) {
        std::shared_ptr<IMessageData> request = peer->ReadRequest(FListener.RequestTimeout());
        if (!request) {
            FLog << "request rejected: " << peer->Error() << std::endl;
            continue;
        }
        std::string command = linkutf16::ToUtf8(request->ID());
        TReplyPlan plan = FPlayer.Answer(command);
        FLog << command << " -> " << plan.Describe() << std::endl;
        try {
            WriteReply(*peer, plan, request->ID());
        } catch (const ELinkError& failure) {
            FLog << "reply not delivered: " << failure.what() << std::endl;
        }
    }
}

namespace {

TIMCListener* gListener = nullptr;

void StopOnSignal(int) {
    // Stop only writes to an eventfd: safe inside a signal handler.
    if (gListener != nullptr) {
        gListener->Stop();
    }
}

}  // namespace

void ServeUntilSignalled(const std::string& address, TRoomPlayer& player, std::ostream& log,
                         const std::function<void()>& between) {
    TIMCListener listener;
    listener.Listen(address);
    gListener = &listener;
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    log << "listening on " << listener.Address() << std::endl;
    TRoomPlayerServer(listener, player, log).Run(between);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    gListener = nullptr;
}
