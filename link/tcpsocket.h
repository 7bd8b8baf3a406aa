#pragma once

#include <cstdint>
#include <span>
#include <string>

// A TCP connection over a non-blocking POSIX socket. Every wait is bounded by a
// time-out and ends early when the optional wake descriptor becomes readable
// (the listener's stop signal). Failures throw ELinkError with the errno.
class TSocket {
public:
    TSocket() = default;
    explicit TSocket(int fd) : FFd(fd) {}
    ~TSocket() { Close(); }
    TSocket(TSocket&& other) noexcept : FFd(other.FFd), FWakeFd(other.FWakeFd) { other.FFd = -1; }
    TSocket& operator=(TSocket&& other) noexcept;
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;

    // Tries each address of host in turn within one time-out in all. An empty
    // host means this machine's loopback address.
    static TSocket Connect(const std::string& host, uint16_t port, uint32_t timeoutMs);

    bool IsOpen() const { return FFd >= 0; }
    int Fd() const { return FFd; }
    void Close();
    // Hands the descriptor over to the caller.
    int Release() {
        int fd = FFd;
        FFd = -1;
        return fd;
    }
    void SetWakeFd(int fd) { FWakeFd = fd; }
    // This end's IPv4 address in dotted form (the address the peer sees us
    // at), or empty when the socket is closed or not IPv4.
    std::string LocalIPv4() const;

    void SendAll(std::span<const uint8_t> bytes, uint32_t timeoutMs);
    // Waits at most timeoutMs for the first byte, then returns what has arrived
    // (at most max bytes). A connection closed by the peer throws.
    size_t ReceiveSome(uint8_t* buffer, size_t max, uint32_t timeoutMs);
    // Waits until the peer closes, sends, or the wake descriptor fires.
    void WaitReadable(uint32_t timeoutMs);

private:
    // Waits for events on the socket; throws on time-out or wake-up.
    void Wait(short events, uint32_t timeoutMs, const char* what);

    int FFd = -1;
    int FWakeFd = -1;
};
