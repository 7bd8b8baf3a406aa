#pragma once

#include <cstdint>
#include <span>
#include <vector>

// An in-memory byte stream with a position: the storage's entries live in one,
// and the transport sends and fills it directly.
class TMemoryStream {
public:
    int64_t Size() const { return static_cast<int64_t>(FBytes.size()); }
    int64_t Position() const { return FPosition; }
    // A position past the end is allowed; the next write fills the gap with zeros.
    void Seek(int64_t position) { FPosition = position < 0 ? 0 : position; }
    void SeekToEnd() { FPosition = Size(); }
    int64_t Remaining() const { return FPosition < Size() ? Size() - FPosition : 0; }

    // Reads up to count bytes at the position; returns how many were read.
    size_t Read(void* destination, size_t count);
    void Write(const void* source, size_t count);
    void Write(std::span<const uint8_t> bytes) { Write(bytes.data(), bytes.size()); }

    void Clear();
    // Replaces the content; the position goes to the start.
    void SetBytes(std::vector<uint8_t> bytes);
    const std::vector<uint8_t>& Bytes() const { return FBytes; }
    // The bytes from the position to the end, without moving it.
    std::span<const uint8_t> RemainingBytes() const;

private:
    std::vector<uint8_t> FBytes;
    int64_t FPosition = 0;
};
