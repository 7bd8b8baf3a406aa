#include "link/tcpsocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "link/linkerror.h"
#include "link/loopbackonly.h"

namespace {

using TClock = std::chrono::steady_clock;

[[noreturn]] void ThrowErrno(int code) {
    throw ELinkError(std::strerror(code), code);
}

int RemainingMs(TClock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), INT_MAX));
}

TClock::time_point DeadlineAfter(uint32_t timeoutMs) {
    return TClock::now() + std::chrono::milliseconds(timeoutMs);
}

// Polls fd for events until the deadline; false on time-out. EINTR resumes the
// wait with what is left of it.
bool PollUntil(int fd, short events, int wakeFd, TClock::time_point deadline, bool& woken) {
    pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
    nfds_t count = wakeFd >= 0 ? 2 : 1;
    for (;;) {
        int ready = ::poll(fds, count, RemainingMs(deadline));
        if (ready > 0) {
            // Bytes or a close already there are still taken before a stop.
            woken = count == 2 && fds[1].revents != 0 && fds[0].revents == 0;
            return true;
        }
        if (ready == 0) {
            return false;
        }
        if (errno != EINTR) {
            ThrowErrno(errno);
        }
    }
}

// One attempt on one address; the socket is connected or an errno is returned.
int TryConnect(const addrinfo& address, TClock::time_point deadline, int& fdOut) {
    if (loopbackonly::Enabled() && !loopbackonly::IsLoopback(address.ai_addr)) {
        return EACCES;
    }
    int fd = ::socket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return errno;
    }
    TSocket guard(fd);
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) {
            return errno;
        }
        bool woken = false;
        if (!PollUntil(fd, POLLOUT, -1, deadline, woken)) {
            return ETIMEDOUT;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            return errno;
        }
        if (error != 0) {
            return error;
        }
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    fdOut = guard.Release();
    return 0;
}

}  // namespace

TSocket& TSocket::operator=(TSocket&& other) noexcept {
    if (this != &other) {
        Close();
        FFd = other.FFd;
        FWakeFd = other.FWakeFd;
        other.FFd = -1;
    }
    return *this;
}

void TSocket::Close() {
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
}

TSocket TSocket::Connect(const std::string& host, uint16_t port, uint32_t timeoutMs) {
    auto deadline = DeadlineAfter(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* addresses = nullptr;
    std::string service = std::to_string(port);
    int status =
        ::getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &addresses);
    if (status != 0) {
        throw ELinkError(std::string(::gai_strerror(status)) + " (" + host + ")",
                         status == EAI_SYSTEM ? errno : EHOSTUNREACH);
    }
    int error = EHOSTUNREACH;
    int fd = -1;
    for (addrinfo* address = addresses; address != nullptr && fd < 0; address = address->ai_next) {
        error = TryConnect(*address, deadline, fd);
        if (error == ETIMEDOUT) {
            break;
        }
    }
    ::freeaddrinfo(addresses);
    if (fd < 0) {
        if (error == EACCES) {
            throw ELinkError(
                "Only loopback addresses may be contacted (LYRABOX_LOOPBACK_ONLY): " + host,
                EACCES);
        }
        ThrowErrno(error);
    }
    return TSocket(fd);
}

void TSocket::Wait(short events, uint32_t timeoutMs, const char* what) {
    bool woken = false;
    if (!PollUntil(FFd, events, FWakeFd, DeadlineAfter(timeoutMs), woken)) {
        throw ELinkError(std::string(what) + " timed out", ETIMEDOUT);
    }
    if (woken) {
        throw ELinkError("The listener was stopped", ECANCELED);
    }
}

void TSocket::SendAll(std::span<const uint8_t> bytes, uint32_t timeoutMs) {
    if (FFd < 0) {
        ThrowErrno(ENOTCONN);
    }
    while (!bytes.empty()) {
        ssize_t sent = ::send(FFd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<size_t>(sent));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            Wait(POLLOUT, timeoutMs, "Write");
        } else if (errno != EINTR) {
            ThrowErrno(errno);
        }
    }
}

size_t TSocket::ReceiveSome(uint8_t* buffer, size_t max, uint32_t timeoutMs) {
    if (FFd < 0) {
        ThrowErrno(ENOTCONN);
    }
    for (;;) {
        ssize_t received = ::recv(FFd, buffer, max, 0);
        if (received > 0) {
            return static_cast<size_t>(received);
        }
        if (received == 0) {
            throw ELinkError("Connection closed by the peer", 0);
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            Wait(POLLIN, timeoutMs, "Read");
        } else if (errno != EINTR) {
            ThrowErrno(errno);
        }
    }
}

void TSocket::WaitReadable(uint32_t timeoutMs) {
    Wait(POLLIN, timeoutMs, "Wait");
}

std::string TSocket::LocalIPv4() const {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (FFd < 0 || ::getsockname(FFd, reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
        local.sin_family != AF_INET) {
        return {};
    }
    std::array<char, INET_ADDRSTRLEN> text{};
    if (::inet_ntop(AF_INET, &local.sin_addr, text.data(), text.size()) == nullptr) {
        return {};
    }
    return text.data();
}
