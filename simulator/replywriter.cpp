#include "simulator/replywriter.h"

#include <algorithm>
#include <random>
#include <vector>

#include "link/byteorder.h"
#include "link/frameformat.h"
#include "link/utf16.h"

namespace {

constexpr uint32_t kSendTimeout = 10000;
// How long a silent room player or one that sent a lying length holds the
// connection: until the console gives up, within reason.
constexpr uint32_t kHoldTimeout = 600000;

std::vector<uint8_t> ReplyBytes(const TReplyPlan& plan, const std::u16string& requestID) {
    if (!plan.text) {
        return linkframe::EncodeFailureMarker();
    }
    TMessageData reply;
    reply.SetID(requestID);
    reply.Data().WriteUTF8String(u"String", *plan.text);
    return linkframe::Encode(reply);
}

std::vector<uint8_t> Noise(int64_t count) {
    std::minstd_rand generator(20240517);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(count, 0)));
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(generator());
    }
    return bytes;
}

}  // namespace

void WriteReply(TIMCPeer& peer, const TReplyPlan& plan, const std::u16string& requestID) {
    const std::vector<uint8_t> frame = ReplyBytes(plan, requestID);
    std::vector<uint8_t> head;
    switch (plan.action) {
        case TReplyAction::Reply:
            peer.SendBytes(frame, kSendTimeout);
            break;
        case TReplyAction::Empty:
            peer.SendBytes(linkframe::Encode(requestID, {}), kSendTimeout);
            break;
        case TReplyAction::Failure:
            peer.SendFailureMarker(kSendTimeout);
            break;
        case TReplyAction::Silent:
            peer.WaitForPeer(kHoldTimeout);
            break;
        case TReplyAction::Close:
            break;
        case TReplyAction::CloseAfter: {
            size_t count =
                std::min(frame.size(), static_cast<size_t>(std::max<int64_t>(plan.number, 0)));
            peer.SendBytes(std::span<const uint8_t>(frame).first(count), kSendTimeout);
            break;
        }
        case TReplyAction::Garbage:
            peer.SendBytes(Noise(plan.number), kSendTimeout);
            break;
        case TReplyAction::IDLength:
            linkbytes::AppendBE(head, static_cast<uint64_t>(plan.number), linkframe::kLengthSize);
            peer.SendBytes(head, kSendTimeout);
            peer.WaitForPeer(kHoldTimeout);
            break;
        case TReplyAction::DataLength:
            linkbytes::AppendBE(head, 2 * requestID.size(), linkframe::kLengthSize);
            linkutf16::AppendLE(head, requestID);
            linkbytes::AppendBE(head, static_cast<uint64_t>(plan.number), linkframe::kLengthSize);
            peer.SendBytes(head, kSendTimeout);
            peer.WaitForPeer(kHoldTimeout);
            break;
        case TReplyAction::Trickle:
            for (uint8_t byte : frame) {
                peer.SendBytes(std::span<const uint8_t>(&byte, 1), kSendTimeout);
                peer.WaitForPeer(static_cast<uint32_t>(plan.number));
            }
            break;
        case TReplyAction::Delay:
            peer.WaitForPeer(static_cast<uint32_t>(plan.number));
            peer.SendBytes(frame, kSendTimeout);
            break;
    }
}
