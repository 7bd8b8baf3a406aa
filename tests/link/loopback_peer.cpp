#include "loopback_peer.h"

#include "link/linkerror.h"

TLoopbackPeer::TLoopbackPeer(TBehaviour behaviour) : FBehaviour(std::move(behaviour)) {
    FListener.Listen("127.0.0.1:0");
    FThread = std::thread([this] {
        while (auto peer = FListener.Accept()) {
            ++FConnections;
            try {
                FBehaviour(*peer);
            } catch (const ELinkError&) {
                // The client went away or the test is over.
            }
        }
    });
}

TLoopbackPeer::~TLoopbackPeer() {
    FListener.Stop();
    FThread.join();
}

TBytes ReadExactly(TSocket& socket, size_t count, uint32_t timeoutMs) {
    TBytes bytes(count);
    size_t filled = 0;
    while (filled < count) {
        filled += socket.ReceiveSome(bytes.data() + filled, count - filled, timeoutMs);
    }
    return bytes;
}

TBytes ReadUntilClosed(TSocket& socket, uint32_t timeoutMs) {
    TBytes bytes;
    uint8_t buffer[4096];
    try {
        for (;;) {
            size_t n = socket.ReceiveSome(buffer, sizeof buffer, timeoutMs);
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
    } catch (const ELinkError& failure) {
        if (failure.Code() != 0 && failure.Code() != ECONNRESET) {
            throw;
        }
    }
    return bytes;
}

std::shared_ptr<IMessageData> CommandRequest(std::u16string command) {
    auto request = TMessageData::Create();
    request->SetID(std::move(command));
    request->Data().WriteUTF8String(u"Command", "Synchronous");
    return request;
}

TBytes ReplyFrame(std::u16string_view id, std::string_view text) {
    return Frame(id, Entry(u"String", Ascii(text)));
}
