// A reply frame arriving in arbitrary pieces, as the client reads it from the
// socket, then the storage inside it. The first byte chooses the piece size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "link/framedecoder.h"
#include "link/frameformat.h"
#include "link/tstreamstorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t piece = 1 + data[0] % 32;
    std::span<const uint8_t> bytes(data + 1, size - 1);

    for (auto side : {TFrameDecoder::TSide::Reply, TFrameDecoder::TSide::Request}) {
        TFrameDecoder decoder(side);
        size_t taken = 0;
        while (taken < bytes.size() && decoder.State() == TFrameDecoder::TState::Incomplete) {
            size_t wanted = decoder.BytesWanted();
            if (wanted == 0) {
                std::abort();  // an undecided frame always wants more
            }
            auto chunk = bytes.subspan(taken, std::min(piece, bytes.size() - taken));
            size_t consumed = decoder.Feed(chunk);
            if (consumed > chunk.size() || consumed == 0) {
                std::abort();
            }
            taken += consumed;
        }
        if (decoder.State() != TFrameDecoder::TState::Complete) {
            continue;
        }
        if (static_cast<int64_t>(taken) > linkframe::kMaxFrameSize) {
            std::abort();
        }
        TStreamStorage storage;
        storage.Storage().SetBytes(decoder.TakeData());
        storage.ReadUTF8String(u"String");
        storage.Exists(u"Command");
    }
    return 0;
}
