#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Takes one frame apart as its bytes arrive, split or joined in any way. Each
// length is checked the moment it is complete, so a negative or oversized one
// is rejected before a byte is allocated or awaited for it.
class TFrameDecoder {
public:
    enum class TState { Incomplete, Complete, FailureMarker, Invalid };
    enum class TSide { Request, Reply };  // only a reply may be the failure marker

    explicit TFrameDecoder(TSide side) : FSide(side) {}

    // How many more bytes the current field needs; 0 once the frame is decided.
    size_t BytesWanted() const;
    // Consumes at most what the frame still needs; returns how many bytes it took.
    size_t Feed(std::span<const uint8_t> bytes);

    TState State() const { return FState; }
    // Why the frame is invalid.
    const std::string& Error() const { return FError; }
    std::u16string ID() const;
    std::vector<uint8_t> TakeData() { return std::move(FData); }

private:
    enum class TField { IDLength, ID, DataLength, Data };

    size_t FeedLength(std::span<const uint8_t> bytes);
    void LengthComplete(int64_t length);
    void Reject(std::string error);

    TSide FSide;
    TState FState = TState::Incomplete;
    TField FField = TField::IDLength;
    uint8_t FLength[8] = {};
    size_t FLengthFill = 0;
    int64_t FIDLength = 0;
    int64_t FDataLength = 0;
    std::vector<uint8_t> FID;
    std::vector<uint8_t> FData;
    std::string FError;
};
