#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/tmemorystream.h"

// One entry of the storage layout: name length (4 bytes LE), UTF-16LE name,
// value length (8 bytes LE), value. Lengths come from whoever filled the stream,
// so each is checked against what is left before it is used.
namespace storageentry {

constexpr int kNameLengthSize = 4;
constexpr int kValueLengthSize = 8;

struct TValueSpan {
    int64_t start = 0;   // first value byte
    int64_t length = 0;  // value bytes, never past the end of the stream
    int64_t End() const { return start + length; }
};

struct THeader {
    std::u16string name;
    int64_t valueLengthPosition = 0;  // what the name index records
    TValueSpan value;
};

// Reads the entry header at the stream's position and leaves the position at the
// first value byte. Nothing when the stream ends inside the entry or a length is
// negative: such an entry is never read beyond the end.
std::optional<THeader> ReadHeader(TMemoryStream& stream);

// Reads the value length recorded at position; nothing when the value would run
// past the end. Leaves the position at the first value byte.
std::optional<TValueSpan> ReadValueSpan(TMemoryStream& stream, int64_t position);

}  // namespace storageentry
