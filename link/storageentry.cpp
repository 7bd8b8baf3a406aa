#include "link/storageentry.h"

#include "link/byteorder.h"
#include "link/utf16.h"

namespace storageentry {

std::optional<TValueSpan> ReadValueSpan(TMemoryStream& stream, int64_t position) {
    stream.Seek(position);
    uint8_t raw[kValueLengthSize];
    if (stream.Read(raw, sizeof raw) != sizeof raw) {
        return std::nullopt;
    }
    auto length = static_cast<int64_t>(linkbytes::GetLE(raw, kValueLengthSize));
    if (length < 0 || length > stream.Remaining()) {
        return std::nullopt;
    }
    return TValueSpan{stream.Position(), length};
}

std::optional<THeader> ReadHeader(TMemoryStream& stream) {
    uint8_t raw[kNameLengthSize];
    if (stream.Read(raw, sizeof raw) != sizeof raw) {
        return std::nullopt;
    }
    auto nameLength = static_cast<int32_t>(linkbytes::GetLE(raw, kNameLengthSize));
    if (nameLength < 0 || nameLength > stream.Remaining()) {
        return std::nullopt;
    }
    THeader header;
    auto nameBytes = stream.RemainingBytes().first(static_cast<size_t>(nameLength));
    header.name = linkutf16::DecodeLE(nameBytes.data(), nameBytes.size());
    header.valueLengthPosition = stream.Position() + nameLength;
    auto value = ReadValueSpan(stream, header.valueLengthPosition);
    if (!value) {
        return std::nullopt;
    }
    header.value = *value;
    return header;
}

}  // namespace storageentry
