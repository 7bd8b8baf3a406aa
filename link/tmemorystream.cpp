#include "link/tmemorystream.h"

#include <algorithm>
#include <cstring>

size_t TMemoryStream::Read(void* destination, size_t count) {
    size_t n = std::min(count, static_cast<size_t>(Remaining()));
    if (n > 0) {
        std::memcpy(destination, FBytes.data() + FPosition, n);
        FPosition += static_cast<int64_t>(n);
    }
    return n;
}

void TMemoryStream::Write(const void* source, size_t count) {
    if (count == 0) {
        return;
    }
    size_t end = static_cast<size_t>(FPosition) + count;
    if (end > FBytes.size()) {
        FBytes.resize(end);
    }
    std::memcpy(FBytes.data() + FPosition, source, count);
    FPosition = static_cast<int64_t>(end);
}

void TMemoryStream::Clear() {
    FBytes.clear();
    FPosition = 0;
}

void TMemoryStream::SetBytes(std::vector<uint8_t> bytes) {
    FBytes = std::move(bytes);
    FPosition = 0;
}

std::span<const uint8_t> TMemoryStream::RemainingBytes() const {
    if (Remaining() == 0) {
        return {};
    }
    return std::span<const uint8_t>(FBytes).subspan(static_cast<size_t>(FPosition));
}
