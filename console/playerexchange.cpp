#include "console/playerexchange.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "link/timclient.h"
#include "link/tmessagedata.h"

TExchangeOutcome ExchangeCommand(TIMCClient& client, const std::string& address,
                                 const std::u16string& command, uint32_t connectLimit) {
    TExchangeOutcome outcome;
    try {
        client.SetServerAddress(address);
        client.ConnectClient(connectLimit);
        if (client.IsConnected()) {
            TMessageData request;
            request.SetID(command);
            request.Data().WriteUTF8String(u"Command", "Synchronous");
            const std::shared_ptr<IMessageData> reply = client.ExecuteConnectedRequest(request);
            outcome.answerValid = client.AnswerValid();
            if (outcome.answerValid) {
                outcome.text = reply->Data().ReadUTF8String(u"String");
            } else {
                outcome.timedOut = client.TimedOut();
                outcome.errorDesc = client.ErrorDesc();
            }
        }
    } catch (const std::exception& error) {
        outcome.failed = true;
        outcome.failure = error.what();
    } catch (...) {
        outcome.failed = true;
    }
    client.DisconnectClient();
    return outcome;
}

struct TBackgroundExchange::Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    TExchangeOutcome outcome;
};

TBackgroundExchange::TBackgroundExchange() = default;
TBackgroundExchange::~TBackgroundExchange() = default;

void TBackgroundExchange::Start(const std::string& address, const std::u16string& command,
                                uint32_t connectLimit, uint32_t executeTimeout,
                                uint32_t replyLimit) {
    shared_ = std::make_shared<Shared>();
    pending_ = true;
    std::thread([shared = shared_, address, command, connectLimit, executeTimeout, replyLimit] {
        TIMCClient client;
        client.SetExecuteTimeout(executeTimeout);
        client.SetReplyLimit(replyLimit);
        TExchangeOutcome outcome = ExchangeCommand(client, address, command, connectLimit);
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->outcome = std::move(outcome);
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
}

bool TBackgroundExchange::WaitFor(int milliseconds) {
    if (!pending_) {
        return false;
    }
    std::unique_lock<std::mutex> lock(shared_->mutex);
    return shared_->done.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                  [this] { return shared_->finished; });
}

TExchangeOutcome TBackgroundExchange::Take() {
    pending_ = false;
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->outcome;
}
