#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/tmessagedata.h"

// One record on the TCP stream, request and reply alike: ID length (8 bytes,
// big-endian), ID in UTF-16LE, data length (8 bytes, big-endian), the storage
// stream. A reply whose ID length is -1 is the room player's failure marker.
namespace linkframe {

constexpr int kLengthSize = 8;
constexpr int64_t kFailureMarker = -1;
// The largest frame either side accepts, both length fields included. Real
// frames stay under a hundred bytes; a length beyond this comes from a broken
// or hostile peer and ends the exchange before anything is allocated for it.
constexpr int64_t kMaxFrameSize = 1 << 20;

std::vector<uint8_t> Encode(std::u16string_view id, std::span<const uint8_t> data);
// The record's ID and its whole storage stream; the stream ends up read to its end.
std::vector<uint8_t> Encode(IMessageData& record);
std::vector<uint8_t> EncodeFailureMarker();

}  // namespace linkframe
