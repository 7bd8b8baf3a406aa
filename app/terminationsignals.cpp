#include "app/terminationsignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <stdexcept>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP};

// The handler's end and the event loop's end of the pipe.
int writeEnd = -1;
int readEnd = -1;

void OnSignal(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a pending request: losing this byte is harmless.
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    std::array<int, 2> ends{};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends.data()) != 0) {
        throw std::runtime_error("cannot create the signal pipe");
    }
    writeEnd = ends[0];
    readEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
    delete notifier_;
    ::close(writeEnd);
    ::close(readEnd);
    writeEnd = readEnd = -1;
}

void TerminationSignals::Drain() {
    unsigned char byte = 0;
    while (::read(readEnd, &byte, 1) == 1) {
        onSignal_(byte);
    }
}
