// The request and reply frames on the TCP stream, without a socket: frames that
// arrive split or joined, at the maximum size and over it, and lengths that lie.
#include <gtest/gtest.h>

#include "link/framedecoder.h"
#include "link/frameformat.h"
#include "link/tmessagedata.h"
#include "storage_bytes.h"

namespace {

using TState = TFrameDecoder::TState;
using TSide = TFrameDecoder::TSide;

const TBytes kCommandStorage = Entry(u"Command", Ascii("Synchronous"));

TEST(RequestFrame, Command21IsThe59ByteWorkedExample) {
    auto request = TMessageData::Create();
    request->SetID(u"21#");
    request->Data().WriteUTF8String(u"Command", "Synchronous");

    TBytes expected = Join({{0, 0, 0, 0, 0, 0, 0, 0x06},
                            {0x32, 0x00, 0x31, 0x00, 0x23, 0x00},
                            {0, 0, 0, 0, 0, 0, 0, 0x25},
                            kCommandStorage});
    ASSERT_EQ(expected.size(), 59u);
    EXPECT_EQ(Hex(linkframe::Encode(*request)), Hex(expected));
}

TEST(RequestFrame, EmptyIDSendsLengthZeroAndNoIDBytes) {
    auto request = TMessageData::Create();
    EXPECT_EQ(Hex(linkframe::Encode(*request)), Hex(Join({BE(0, 8), BE(0, 8)})));
}

TEST(FailureMarker, IsEightBytesOfFF) {
    EXPECT_EQ(linkframe::EncodeFailureMarker(), TBytes(8, 0xFF));
}

TEST(FrameDecoder, AFrameSplitAtAnyPointDecodesTheSame) {
    TBytes frame = Frame(u"5#", kCommandStorage);
    for (size_t cut = 0; cut <= frame.size(); ++cut) {
        TFrameDecoder decoder(TSide::Reply);
        std::span<const uint8_t> bytes(frame);
        size_t taken = decoder.Feed(bytes.first(cut));
        taken += decoder.Feed(bytes.subspan(cut));
        ASSERT_EQ(decoder.State(), TState::Complete) << "cut at " << cut;
        EXPECT_EQ(taken, frame.size());
        EXPECT_EQ(decoder.ID(), u"5#");
        EXPECT_EQ(decoder.TakeData(), kCommandStorage);
    }
}

TEST(FrameDecoder, ByteByByteAsksForExactlyWhatTheFrameNeeds) {
    TBytes frame = Frame(u"33#", Entry(u"String", Ascii("7#95#240")));
    TFrameDecoder decoder(TSide::Reply);
    size_t fed = 0;
    while (decoder.State() == TState::Incomplete) {
        ASSERT_GT(decoder.BytesWanted(), 0u);
        ASSERT_LT(fed, frame.size());
        ASSERT_EQ(decoder.Feed(std::span<const uint8_t>(&frame[fed], 1)), 1u);
        ++fed;
    }
    EXPECT_EQ(decoder.State(), TState::Complete);
    EXPECT_EQ(fed, frame.size());
    EXPECT_EQ(decoder.BytesWanted(), 0u);
}

TEST(FrameDecoder, JoinedFramesAreTakenOneAtATime) {
    TBytes first = Frame(u"1#", Ascii("a"));
    TBytes second = Frame(u"2#", Ascii("bc"));
    TBytes joined = Join({first, second});

    TFrameDecoder decoder(TSide::Request);
    size_t taken = decoder.Feed(joined);
    EXPECT_EQ(taken, first.size());
    EXPECT_EQ(decoder.ID(), u"1#");

    TFrameDecoder next(TSide::Request);
    EXPECT_EQ(next.Feed(std::span<const uint8_t>(joined).subspan(taken)), second.size());
    EXPECT_EQ(next.ID(), u"2#");
    EXPECT_EQ(next.TakeData(), Ascii("bc"));
}

TEST(FrameDecoder, EmptyIDAndEmptyDataMakeAValidFrame) {
    TFrameDecoder decoder(TSide::Reply);
    decoder.Feed(Frame(0, {}, 0, {}));
    EXPECT_EQ(decoder.State(), TState::Complete);
    EXPECT_EQ(decoder.ID(), u"");
    EXPECT_TRUE(decoder.TakeData().empty());
}

TEST(FrameDecoder, FailureMarkerEndsTheReplyAfterEightBytes) {
    TBytes bytes = Join({TBytes(8, 0xFF), Frame(u"9#", Ascii("x"))});
    TFrameDecoder decoder(TSide::Reply);
    EXPECT_EQ(decoder.Feed(bytes), 8u);
    EXPECT_EQ(decoder.State(), TState::FailureMarker);
    EXPECT_EQ(decoder.BytesWanted(), 0u);
}

TEST(FrameDecoder, FrameOfExactlyTheMaximumSizeIsAccepted) {
    const int64_t dataLength = linkframe::kMaxFrameSize - 16 - 4;
    TBytes frame = Frame(u"9#", TBytes(static_cast<size_t>(dataLength), 0x5A));
    ASSERT_EQ(static_cast<int64_t>(frame.size()), linkframe::kMaxFrameSize);
    TFrameDecoder decoder(TSide::Reply);
    EXPECT_EQ(decoder.Feed(frame), frame.size());
    EXPECT_EQ(decoder.State(), TState::Complete);
}

// Lengths a broken peer might send. The decoder must decide the moment the
// length is complete: no allocation for it, no wait for bytes that never come.
struct TBadLength {
    const char* name;
    TSide side;
    TBytes bytes;  // everything up to and including the bad length
};

void PrintTo(const TBadLength& row, std::ostream* out) {
    *out << "\"" << row.name << "\"";
}

class FrameDecoderRejects : public ::testing::TestWithParam<TBadLength> {};

TEST_P(FrameDecoderRejects, TheLengthAsSoonAsItIsComplete) {
    const TBadLength& row = GetParam();
    TFrameDecoder decoder(row.side);
    EXPECT_EQ(decoder.Feed(row.bytes), row.bytes.size());
    EXPECT_EQ(decoder.State(), TState::Invalid);
    EXPECT_EQ(decoder.BytesWanted(), 0u);
    EXPECT_NE(decoder.Error().find("Invalid frame"), std::string::npos) << decoder.Error();
    EXPECT_EQ(decoder.Feed(TBytes(16, 0)), 0u) << "nothing more is taken";
}

constexpr int64_t kMax = linkframe::kMaxFrameSize;

INSTANTIATE_TEST_SUITE_P(
    BothSides, FrameDecoderRejects,
    ::testing::Values(
        TBadLength{"ReplyNegativeIDLength", TSide::Reply, BE(static_cast<uint64_t>(-2), 8)},
        TBadLength{"RequestMinusOneIsNoMarker", TSide::Request, TBytes(8, 0xFF)},
        TBadLength{"RequestNegativeIDLength", TSide::Request, BE(uint64_t{1} << 63, 8)},
        TBadLength{"ReplyHugeIDLength", TSide::Reply, BE(uint64_t{1} << 62, 8)},
        TBadLength{"RequestIDLengthOverMaximum", TSide::Request, BE(kMax - 15, 8)},
        TBadLength{"ReplyNegativeDataLength", TSide::Reply,
                   Join({BE(4, 8), Utf16LE(u"9#"), BE(static_cast<uint64_t>(-1), 8)})},
        TBadLength{"RequestNegativeDataLength", TSide::Request,
                   Join({BE(0, 8), BE(static_cast<uint64_t>(-37), 8)})},
        TBadLength{"ReplyHugeDataLength", TSide::Reply,
                   Join({BE(0, 8), BE(0x7FFFFFFFFFFFFFFF, 8)})},
        TBadLength{"ReplyOneByteOverTheMaximum", TSide::Reply,
                   Join({BE(4, 8), Utf16LE(u"9#"), BE(kMax - 16 - 4 + 1, 8)})}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
