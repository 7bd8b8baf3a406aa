#include "simulator/roomplayerserver.h"

#include "link/linkerror.h"
#include "link/utf16.h"
#include "simulator/replywriter.h"

void TRoomPlayerServer::Run() {
    while (std::unique_ptr<TIMCPeer> peer = FListener.Accept()) {
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
