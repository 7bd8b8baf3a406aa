#pragma once

#include <chrono>
#include <cstdint>

#include "link/framedecoder.h"
#include "link/tcpsocket.h"

namespace linkframeio {

// Reads one frame into decoder, each wait for bytes bounded by timeoutMs, and
// nothing beyond the frame's end. Returns once the frame is complete or is the
// failure marker; throws ELinkError on a time-out, a closed connection, a
// transport error or an invalid frame (EPROTO).
void ReadFrame(TSocket& socket, TFrameDecoder& decoder, uint32_t timeoutMs);
// The same, and the whole frame must be complete by deadline: a wait is cut
// short there and fails as a time-out (ETIMEDOUT).
void ReadFrame(TSocket& socket, TFrameDecoder& decoder, uint32_t timeoutMs,
               std::chrono::steady_clock::time_point deadline);

}  // namespace linkframeio
