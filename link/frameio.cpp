#include "link/frameio.h"

#include <algorithm>
#include <cerrno>

#include "link/linkerror.h"

namespace linkframeio {

void ReadFrame(TSocket& socket, TFrameDecoder& decoder, uint32_t timeoutMs) {
    ReadFrame(socket, decoder, timeoutMs, std::chrono::steady_clock::time_point::max());
}

void ReadFrame(TSocket& socket, TFrameDecoder& decoder, uint32_t timeoutMs,
               std::chrono::steady_clock::time_point deadline) {
    using std::chrono::milliseconds;
    uint8_t buffer[16384];
    while (decoder.State() == TFrameDecoder::TState::Incomplete) {
        uint32_t wait = timeoutMs;
        if (deadline != std::chrono::steady_clock::time_point::max()) {
            const auto left = std::chrono::duration_cast<milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                throw ELinkError("The answer did not come within the reply limit", ETIMEDOUT);
            }
            wait = static_cast<uint32_t>(std::min<int64_t>(wait, left.count()));
        }
        size_t wanted = std::min(sizeof buffer, decoder.BytesWanted());
        size_t received = socket.ReceiveSome(buffer, wanted, wait);
        decoder.Feed(std::span<const uint8_t>(buffer, received));
    }
    if (decoder.State() == TFrameDecoder::TState::Invalid) {
        throw ELinkError(decoder.Error(), EPROTO);
    }
}

}  // namespace linkframeio
