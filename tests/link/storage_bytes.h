#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds storage and frame bytes by hand, straight from the byte layout, so the
// tests never check the encoder against itself.
using TBytes = std::vector<uint8_t>;

TBytes Ascii(std::string_view text);
TBytes Utf16LE(std::u16string_view text);
TBytes LE(uint64_t value, int width);
TBytes BE(uint64_t value, int width);
TBytes Join(std::initializer_list<TBytes> parts);

// One storage entry: name length, UTF-16LE name, value length, value.
TBytes Entry(std::u16string_view name, const TBytes& value);
// An entry whose value length field says declaredLength, whatever follows.
TBytes EntryClaiming(std::u16string_view name, int64_t declaredLength, const TBytes& value);
// One frame: ID length and data length big-endian.
TBytes Frame(std::u16string_view id, const TBytes& data);
TBytes Frame(int64_t idLength, const TBytes& idBytes, int64_t dataLength, const TBytes& data);

// Hex dump for readable failure messages.
std::string Hex(const TBytes& bytes);
