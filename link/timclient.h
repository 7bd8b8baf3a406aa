#pragma once

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "link/tcpsocket.h"
#include "link/tmessagedata.h"

// The console's end of the message link: one connection, one request frame,
// one reply frame. Time-outs are enforced on every wait: the connect never
// outlasts its argument, each wait for reply bytes never outlasts
// ExecuteTimeout, and, when a reply limit is set, the whole exchange (request
// sent and reply read) never outlasts that limit, however the bytes trickle.
class TIMCClient {
public:
    static constexpr uint32_t kDefaultExecuteTimeout = 60000;

    TIMCClient() = default;
    ~TIMCClient() { DisconnectClient(); }
    TIMCClient(const TIMCClient&) = delete;
    TIMCClient& operator=(const TIMCClient&) = delete;

    const std::string& ServerAddress() const { return FServerAddress; }
    void SetServerAddress(std::string address) { FServerAddress = std::move(address); }

    // Throws ELinkError: "Server address is not defined!", a port that is not a
    // number, or the transport's error (refused, unreachable, timed out).
    void ConnectClient(uint32_t connectTimeout);
    // Never throws for a failed exchange: AnswerValid tells whether the returned
    // record is the room player's complete reply.
    std::shared_ptr<IMessageData> ExecuteConnectedRequest(IMessageData& request);
    void DisconnectClient();
    // Connect, exchange and disconnect whatever happens; a failed connect throws.
    std::shared_ptr<IMessageData> ExecuteRequest(IMessageData& request, uint32_t connectTimeout);

    bool IsConnected() const { return FIsConnected; }
    // This machine's IPv4 address on the last connection made, which is the
    // address the room player reaches it at; empty before the first one.
    const std::string& LocalAddress() const { return FLocalAddress; }
    bool AnswerValid() const { return FAnswerValid; }
    uint32_t ExecuteTimeout() const { return FExecuteTimeout; }
    void SetExecuteTimeout(uint32_t milliseconds) { FExecuteTimeout = milliseconds; }
    // The longest a whole exchange may take; 0 (the default) sets no limit
    // beyond ExecuteTimeout per wait.
    uint32_t ReplyLimit() const { return FReplyLimit; }
    void SetReplyLimit(uint32_t milliseconds) { FReplyLimit = milliseconds; }
    // Whether the last request failed because its answer did not come in time
    // (a wait outlasted ExecuteTimeout or the exchange outlasted ReplyLimit).
    bool TimedOut() const { return !FAnswerValid && FLastError == ETIMEDOUT; }
    // The errno behind the last failed request: 0 when the room player closed
    // the connection cleanly or sent its failure marker, EPROTO for a frame
    // whose length is negative or beyond the maximum frame size.
    uint32_t LastError() const { return FLastError; }
    const std::string& ErrorDesc() const { return FErrorDesc; }

private:
    void Exchange(IMessageData& request, IMessageData& reply);

    TSocket FTCPClient;
    std::string FServerAddress;
    std::string FLocalAddress;
    bool FIsConnected = false;
    bool FAnswerValid = false;
    uint32_t FExecuteTimeout = kDefaultExecuteTimeout;
    uint32_t FReplyLimit = 0;
    uint32_t FLastError = 0;
    std::string FErrorDesc;
};
