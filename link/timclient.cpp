#include "link/timclient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "link/frameformat.h"
#include "link/frameio.h"
#include "link/linkerror.h"
#include "link/serveraddress.h"

void TIMCClient::ConnectClient(uint32_t connectTimeout) {
    FIsConnected = false;
    FTCPClient.Close();
    TServerAddress address = TServerAddress::Parse(FServerAddress);
    FTCPClient = TSocket::Connect(address.host, address.port, connectTimeout);
    FLocalAddress = FTCPClient.LocalIPv4();
    FIsConnected = true;
}

void TIMCClient::DisconnectClient() {
    FTCPClient.Close();
    FIsConnected = false;
}

std::shared_ptr<IMessageData> TIMCClient::ExecuteConnectedRequest(IMessageData& request) {
    auto reply = TMessageData::Create();
    FAnswerValid = false;
    try {
        Exchange(request, *reply);
    } catch (const ELinkError& failure) {
        FLastError = static_cast<uint32_t>(failure.Code());
        FErrorDesc = failure.what();
    } catch (const std::exception& failure) {
        FLastError = static_cast<uint32_t>(errno);
        FErrorDesc = failure.what();
    }
    return reply;
}

void TIMCClient::Exchange(IMessageData& request, IMessageData& reply) {
    std::vector<uint8_t> frame = linkframe::Encode(request);
    // The room player would reject it unread; better not to send it at all.
    if (static_cast<int64_t>(frame.size()) > linkframe::kMaxFrameSize) {
        throw ELinkError(
            "The request of " + std::to_string(frame.size()) + " bytes exceeds the largest frame",
            EMSGSIZE);
    }
    const auto deadline = FReplyLimit == 0 ? std::chrono::steady_clock::time_point::max()
                                           : std::chrono::steady_clock::now() +
                                                 std::chrono::milliseconds(FReplyLimit);
    const uint32_t sendWait =
        FReplyLimit == 0 ? FExecuteTimeout : std::min(FExecuteTimeout, FReplyLimit);
    FTCPClient.SendAll(frame, sendWait);
    TFrameDecoder decoder(TFrameDecoder::TSide::Reply);
    linkframeio::ReadFrame(FTCPClient, decoder, FExecuteTimeout, deadline);
    if (decoder.State() == TFrameDecoder::TState::FailureMarker) {
        // The room player's own failure: no operating system error lies behind it.
        FLastError = 0;
        FErrorDesc = "Unhandled error while executing request on the server";
        return;
    }
    reply.SetID(decoder.ID());
    reply.Data().Storage().SetBytes(decoder.TakeData());
    FAnswerValid = true;
}

std::shared_ptr<IMessageData> TIMCClient::ExecuteRequest(IMessageData& request,
                                                         uint32_t connectTimeout) {
    try {
        ConnectClient(connectTimeout);
    } catch (...) {
        DisconnectClient();
        throw;
    }
    auto reply = ExecuteConnectedRequest(request);
    DisconnectClient();
    return reply;
}
