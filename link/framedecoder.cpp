#include "link/framedecoder.h"

#include <algorithm>

#include "link/byteorder.h"
#include "link/frameformat.h"
#include "link/utf16.h"

using linkframe::kLengthSize;
using linkframe::kMaxFrameSize;

size_t TFrameDecoder::BytesWanted() const {
    if (FState != TState::Incomplete) {
        return 0;
    }
    switch (FField) {
        case TField::IDLength:
        case TField::DataLength:
            return kLengthSize - FLengthFill;
        case TField::ID:
            return static_cast<size_t>(FIDLength) - FID.size();
        case TField::Data:
            return static_cast<size_t>(FDataLength) - FData.size();
    }
    return 0;
}

size_t TFrameDecoder::Feed(std::span<const uint8_t> bytes) {
    size_t taken = 0;
    while (FState == TState::Incomplete && taken < bytes.size()) {
        auto rest = bytes.subspan(taken);
        auto part = rest.first(std::min(rest.size(), BytesWanted()));
        switch (FField) {
            case TField::IDLength:
            case TField::DataLength:
                taken += FeedLength(part);
                break;
            case TField::ID:
                FID.insert(FID.end(), part.begin(), part.end());
                taken += part.size();
                if (BytesWanted() == 0) {
                    FField = TField::DataLength;
                }
                break;
            case TField::Data:
                FData.insert(FData.end(), part.begin(), part.end());
                taken += part.size();
                if (BytesWanted() == 0) {
                    FState = TState::Complete;
                }
                break;
        }
    }
    return taken;
}

size_t TFrameDecoder::FeedLength(std::span<const uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), FLength + FLengthFill);
    FLengthFill += bytes.size();
    if (FLengthFill == kLengthSize) {
        FLengthFill = 0;
        LengthComplete(static_cast<int64_t>(linkbytes::GetBE(FLength, kLengthSize)));
    }
    return bytes.size();
}

void TFrameDecoder::LengthComplete(int64_t length) {
    if (FField == TField::IDLength) {
        if (length == linkframe::kFailureMarker && FSide == TSide::Reply) {
            FState = TState::FailureMarker;
            return;
        }
        if (length < 0 || length > kMaxFrameSize - 2 * kLengthSize) {
            return Reject("Invalid frame: ID length " + std::to_string(length));
        }
        FIDLength = length;
        FField = length > 0 ? TField::ID : TField::DataLength;
        return;
    }
    if (length < 0 || length > kMaxFrameSize - 2 * kLengthSize - FIDLength) {
        return Reject("Invalid frame: data length " + std::to_string(length));
    }
    FDataLength = length;
    FField = TField::Data;
    if (length == 0) {
        FState = TState::Complete;
    }
}

void TFrameDecoder::Reject(std::string error) {
    FState = TState::Invalid;
    FError =
        std::move(error) + " (the largest frame is " + std::to_string(kMaxFrameSize) + " bytes)";
}

std::u16string TFrameDecoder::ID() const {
    return linkutf16::DecodeLE(FID.data(), FID.size());
}
