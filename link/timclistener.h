#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "link/tcpsocket.h"
#include "link/tmessagedata.h"

// One accepted connection on the room player's side. The helpers throw
// ELinkError on transport failures; every wait ends when the listener stops.
class TIMCPeer {
public:
    explicit TIMCPeer(TSocket socket) : FSocket(std::move(socket)) {}

    // The request record, or nullptr with Error() set when the frame was invalid
    // or incomplete: the peer closed, went silent, or the listener stopped.
    std::shared_ptr<IMessageData> ReadRequest(uint32_t timeoutMs);
    const std::string& Error() const { return FError; }

    void SendReply(IMessageData& reply, uint32_t timeoutMs);
    void SendFailureMarker(uint32_t timeoutMs);
    void SendBytes(std::span<const uint8_t> bytes, uint32_t timeoutMs);
    // Returns when the peer closes or sends, on time-out or when the listener stops.
    void WaitForPeer(uint32_t timeoutMs);
    void Close() { FSocket.Close(); }
    // For replies that are not a frame: tests and the simulator's misbehaviours.
    TSocket& Socket() { return FSocket; }

private:
    TSocket FSocket;
    std::string FError;
};

// The reply to a request; nullptr (or an exception) answers with the failure marker.
using TRequestHandler = std::function<std::shared_ptr<IMessageData>(IMessageData& request)>;

// The listening side of the link, for the room-player simulator and for tests:
// accept, read one request frame, hand it to a handler, write one reply frame
// or the failure marker, close. One connection at a time, as the console sends.
class TIMCListener {
public:
    static constexpr uint32_t kDefaultRequestTimeout = 10000;

    TIMCListener();
    ~TIMCListener();
    TIMCListener(const TIMCListener&) = delete;
    TIMCListener& operator=(const TIMCListener&) = delete;

    // "host:port"; port 0 takes a free port, an empty host the loopback address.
    void Listen(const std::string& address);
    const std::string& Host() const { return FHost; }
    uint16_t Port() const { return FPort; }
    std::string Address() const { return FHost + ":" + std::to_string(FPort); }

    // The next connection, or nullptr once Stop has been called.
    std::unique_ptr<TIMCPeer> Accept();
    // The same, calling idle on this thread whenever idleMs pass without one.
    std::unique_ptr<TIMCPeer> Accept(int idleMs, const std::function<void()>& idle);
    // Serves one connection; false once stopped. A request frame that is invalid
    // never reaches the handler: the connection is closed without a reply.
    bool ServeOne(const TRequestHandler& handler);
    // Serves until Stop.
    void Serve(const TRequestHandler& handler);
    // Safe from any thread; ends every wait of the listener and its peers.
    void Stop();

    uint32_t RequestTimeout() const { return FRequestTimeout; }
    void SetRequestTimeout(uint32_t milliseconds) { FRequestTimeout = milliseconds; }

private:
    TSocket FSocket;
    int FWakeFd = -1;
    std::string FHost;
    uint16_t FPort = 0;
    std::atomic<uint32_t> FRequestTimeout = kDefaultRequestTimeout;
};
