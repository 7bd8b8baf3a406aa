#include "link/timclistener.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/frameformat.h"
#include "link/frameio.h"
#include "link/linkerror.h"
#include "link/serveraddress.h"

std::shared_ptr<IMessageData> TIMCPeer::ReadRequest(uint32_t timeoutMs) {
    TFrameDecoder decoder(TFrameDecoder::TSide::Request);
    try {
        linkframeio::ReadFrame(FSocket, decoder, timeoutMs);
    } catch (const ELinkError& failure) {
        FError = failure.what();
        return nullptr;
    }
    auto request = TMessageData::Create();
    request->SetID(decoder.ID());
    request->Data().Storage().SetBytes(decoder.TakeData());
    return request;
}

void TIMCPeer::SendReply(IMessageData& reply, uint32_t timeoutMs) {
    FSocket.SendAll(linkframe::Encode(reply), timeoutMs);
}

void TIMCPeer::SendFailureMarker(uint32_t timeoutMs) {
    FSocket.SendAll(linkframe::EncodeFailureMarker(), timeoutMs);
}

void TIMCPeer::SendBytes(std::span<const uint8_t> bytes, uint32_t timeoutMs) {
    FSocket.SendAll(bytes, timeoutMs);
}

void TIMCPeer::WaitForPeer(uint32_t timeoutMs) {
    try {
        FSocket.WaitReadable(timeoutMs);
    } catch (const ELinkError&) {
        // A time-out or a stop ends the wait just the same.
    }
}

TIMCListener::TIMCListener() : FWakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (FWakeFd < 0) {
        throw ELinkError(std::strerror(errno), errno);
    }
}

TIMCListener::~TIMCListener() {
    ::close(FWakeFd);
}

void TIMCListener::Listen(const std::string& address) {
    TServerAddress parsed = TServerAddress::Parse(address, true);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* addresses = nullptr;
    std::string service = std::to_string(parsed.port);
    int status = ::getaddrinfo(parsed.host.empty() ? nullptr : parsed.host.c_str(), service.c_str(),
                               &hints, &addresses);
    if (status != 0) {
        throw ELinkError(std::string(::gai_strerror(status)) + " (" + parsed.host + ")");
    }
    int error = EADDRNOTAVAIL;
    for (addrinfo* candidate = addresses; candidate != nullptr; candidate = candidate->ai_next) {
        TSocket socket(::socket(candidate->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
        int one = 1;
        if (!socket.IsOpen() ||
            ::setsockopt(socket.Fd(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
            ::bind(socket.Fd(), candidate->ai_addr, candidate->ai_addrlen) != 0 ||
            ::listen(socket.Fd(), 64) != 0) {
            error = errno;
            continue;
        }
        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        ::getsockname(socket.Fd(), reinterpret_cast<sockaddr*>(&bound), &length);
        char host[NI_MAXHOST];
        char port[NI_MAXSERV];
        ::getnameinfo(reinterpret_cast<sockaddr*>(&bound), length, host, sizeof host, port,
                      sizeof port, NI_NUMERICHOST | NI_NUMERICSERV);
        FHost = host;
        FPort = static_cast<uint16_t>(std::stoi(port));
        FSocket = std::move(socket);
        ::freeaddrinfo(addresses);
        return;
    }
    ::freeaddrinfo(addresses);
    throw ELinkError(std::string(std::strerror(error)) + " (" + address + ")", error);
}

std::unique_ptr<TIMCPeer> TIMCListener::Accept() {
    return Accept(-1, {});
}

std::unique_ptr<TIMCPeer> TIMCListener::Accept(int idleMs, const std::function<void()>& idle) {
    pollfd fds[2] = {{FSocket.Fd(), POLLIN, 0}, {FWakeFd, POLLIN, 0}};
    for (;;) {
        int ready = ::poll(fds, 2, idle ? idleMs : -1);
        if (ready < 0 && errno != EINTR) {
            throw ELinkError(std::strerror(errno), errno);
        }
        if (fds[1].revents != 0) {
            return nullptr;
        }
        if (ready == 0) {
            idle();
            continue;
        }
        if (ready <= 0 || fds[0].revents == 0) {
            continue;
        }
        int fd = ::accept4(FSocket.Fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            // The connection may have gone before it was taken; wait for the next.
            continue;
        }
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        TSocket socket(fd);
        socket.SetWakeFd(FWakeFd);
        return std::make_unique<TIMCPeer>(std::move(socket));
    }
}

bool TIMCListener::ServeOne(const TRequestHandler& handler) {
    std::unique_ptr<TIMCPeer> peer = Accept();
    if (!peer) {
        return false;
    }
    uint32_t timeout = FRequestTimeout;
    std::shared_ptr<IMessageData> request = peer->ReadRequest(timeout);
    if (!request) {
        return true;
    }
    std::shared_ptr<IMessageData> reply;
    try {
        reply = handler(*request);
    } catch (const std::exception&) {
        reply = nullptr;
    }
    try {
        if (reply) {
            peer->SendReply(*reply, timeout);
        } else {
            peer->SendFailureMarker(timeout);
        }
    } catch (const ELinkError&) {
        // The console has gone; the next connection is served all the same.
    }
    return true;
}

void TIMCListener::Serve(const TRequestHandler& handler) {
    while (ServeOne(handler)) {
    }
}

void TIMCListener::Stop() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(FWakeFd, &one, sizeof one);
}
