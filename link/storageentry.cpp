#include "link/storageentry.h"

#include "link/byteorder.h"
#include "link/utf16.h"

namespace storageentry {

namespace {

// A signed little-endian length field; nothing when the stream ends inside it,
// or when the length is negative or runs past the end of the stream.
std::optional<int64_t> ReadLength(TMemoryStream& stream, int width) {
    uint8_t raw[kValueLengthSize];
    if (stream.Read(raw, width) != static_cast<size_t>(width)) {
        return std::nullopt;
    }
    uint64_t bits = linkbytes::GetLE(raw, width);
    int64_t length =
        width == kNameLengthSize ? static_cast<int32_t>(bits) : static_cast<int64_t>(bits);
    if (length < 0 || length > stream.Remaining()) {
        return std::nullopt;
    }
    return length;
}

}  // namespace

std::optional<TValueSpan> ReadValueSpan(TMemoryStream& stream, int64_t position) {
    stream.Seek(position);
    auto length = ReadLength(stream, kValueLengthSize);
    if (!length) {
        return std::nullopt;
    }
    return TValueSpan{stream.Position(), *length};
}

std::optional<THeader> ReadHeader(TMemoryStream& stream) {
    auto nameLength = ReadLength(stream, kNameLengthSize);
    if (!nameLength) {
        return std::nullopt;
    }
    THeader header;
    auto nameBytes = stream.RemainingBytes().first(static_cast<size_t>(*nameLength));
    header.name = linkutf16::DecodeLE(nameBytes.data(), nameBytes.size());
    header.valueLengthPosition = stream.Position() + *nameLength;
    auto value = ReadValueSpan(stream, header.valueLengthPosition);
    if (!value) {
        return std::nullopt;
    }
    header.value = *value;
    return header;
}

}  // namespace storageentry
