#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "link/tcpsocket.h"
#include "link/timclistener.h"
#include "storage_bytes.h"

// A room player on 127.0.0.1 in a thread of the test. Each connection is handed
// to the behaviour; destroying the peer stops the listener and ends any wait.
class TLoopbackPeer {
public:
    using TBehaviour = std::function<void(TIMCPeer&)>;

    explicit TLoopbackPeer(TBehaviour behaviour);
    ~TLoopbackPeer();

    std::string Address() const { return FListener.Address(); }
    uint16_t Port() const { return FListener.Port(); }
    int Connections() const { return FConnections; }

private:
    TIMCListener FListener;
    TBehaviour FBehaviour;
    std::atomic<int> FConnections = 0;
    std::thread FThread;
};

// Waits at most timeoutMs for each part; throws ELinkError when the bytes never come.
TBytes ReadExactly(TSocket& socket, size_t count, uint32_t timeoutMs = 5000);
// Everything until the peer closes.
TBytes ReadUntilClosed(TSocket& socket, uint32_t timeoutMs = 5000);
// A request as the console makes it: ID = command, "Command" = "Synchronous".
std::shared_ptr<IMessageData> CommandRequest(std::u16string command);
// A reply frame holding "String" = text.
TBytes ReplyFrame(std::u16string_view id, std::string_view text);
