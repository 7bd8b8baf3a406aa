#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Names and IDs travel as UTF-16LE without a terminator.
namespace linkutf16 {

void AppendLE(std::vector<uint8_t>& out, std::u16string_view text);

// Decodes byteCount / 2 code units; an odd trailing byte carries no code unit.
std::u16string DecodeLE(const uint8_t* bytes, size_t byteCount);

// For messages, logs and the simulator's console lines. Unpaired surrogates
// become U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Command texts are ASCII; other bytes are taken as UTF-8.
std::u16string FromUtf8(std::string_view text);

}  // namespace linkutf16
