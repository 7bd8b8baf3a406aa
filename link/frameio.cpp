#include "link/frameio.h"

#include <algorithm>
#include <cerrno>

#include "link/linkerror.h"

namespace linkframeio {

void ReadFrame(TSocket& socket, TFrameDecoder& decoder, uint32_t timeoutMs) {
    uint8_t buffer[16384];
    while (decoder.State() == TFrameDecoder::TState::Incomplete) {
        size_t wanted = std::min(sizeof buffer, decoder.BytesWanted());
        size_t received = socket.ReceiveSome(buffer, wanted, timeoutMs);
        decoder.Feed(std::span<const uint8_t>(buffer, received));
    }
    if (decoder.State() == TFrameDecoder::TState::Invalid) {
        throw ELinkError(decoder.Error(), EPROTO);
    }
}

}  // namespace linkframeio
