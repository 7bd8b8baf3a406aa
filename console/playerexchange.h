#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TIMCClient;

// What one command to the room player came to, before the console applies it:
// the connect's failure, or whether a complete answer came back and its text.
struct TExchangeOutcome {
    // The connect (or the address) failed; failure holds the transport's words.
    bool failed = false;
    std::string failure;
    bool answerValid = false;
    // No complete answer within the client's limits.
    bool timedOut = false;
    // Why no valid answer came (the failure marker, a dropped connection).
    std::string errorDesc;
    // The answer's "String" value, 8-bit text; empty when absent.
    std::string text;
};

// Connects client to address ("host:port"), sends command with "Command" =
// "Synchronous", reads the answer and disconnects, whatever happens. Touches
// nothing but client: it may run on any thread with a client of its own.
TExchangeOutcome ExchangeCommand(TIMCClient& client, const std::string& address,
                                 const std::u16string& command, uint32_t connectLimit);

// One exchange on a thread of its own, so that the console's thread goes on
// while the room player takes its time. Nothing waits for the thread: when its
// owner is gone first, it ends by itself within the client's limits.
class TBackgroundExchange {
public:
    TBackgroundExchange();
    ~TBackgroundExchange();
    TBackgroundExchange(const TBackgroundExchange&) = delete;
    TBackgroundExchange& operator=(const TBackgroundExchange&) = delete;

    // Starts the exchange with a client of its own, set to the given wait per
    // read and reply limit.
    void Start(const std::string& address, const std::u16string& command, uint32_t connectLimit,
               uint32_t executeTimeout, uint32_t replyLimit);
    // An exchange was started and its outcome not taken yet.
    bool Pending() const { return pending_; }
    // Waits at most milliseconds for the outcome; true once it is there.
    bool WaitFor(int milliseconds);
    // The outcome of a finished exchange; Pending() is false afterwards.
    TExchangeOutcome Take();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    bool pending_ = false;
};
