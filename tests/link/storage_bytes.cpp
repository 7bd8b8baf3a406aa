#include "storage_bytes.h"

#include <cstdio>

TBytes Ascii(std::string_view text) {
    return TBytes(text.begin(), text.end());
}

TBytes Utf16LE(std::u16string_view text) {
    TBytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

TBytes LE(uint64_t value, int width) {
    TBytes bytes;
    for (int i = 0; i < width; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    return bytes;
}

TBytes BE(uint64_t value, int width) {
    TBytes bytes = LE(value, width);
    return TBytes(bytes.rbegin(), bytes.rend());
}

TBytes Join(std::initializer_list<TBytes> parts) {
    TBytes joined;
    for (const TBytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

TBytes EntryClaiming(std::u16string_view name, int64_t declaredLength, const TBytes& value) {
    return Join({LE(2 * name.size(), 4), Utf16LE(name),
                 LE(static_cast<uint64_t>(declaredLength), 8), value});
}

TBytes Entry(std::u16string_view name, const TBytes& value) {
    return EntryClaiming(name, static_cast<int64_t>(value.size()), value);
}

TBytes Frame(int64_t idLength, const TBytes& idBytes, int64_t dataLength, const TBytes& data) {
    return Join({BE(static_cast<uint64_t>(idLength), 8), idBytes,
                 BE(static_cast<uint64_t>(dataLength), 8), data});
}

TBytes Frame(std::u16string_view id, const TBytes& data) {
    return Frame(static_cast<int64_t>(2 * id.size()), Utf16LE(id),
                 static_cast<int64_t>(data.size()), data);
}

std::string Hex(const TBytes& bytes) {
    std::string text;
    char cell[4];
    for (uint8_t byte : bytes) {
        std::snprintf(cell, sizeof cell, "%02X ", byte);
        text += cell;
    }
    return text;
}
