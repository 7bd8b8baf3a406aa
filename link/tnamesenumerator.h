#pragma once

#include <string>

#include "link/tmemorystream.h"

// Walks the value names of a storage stream in the order they were written. The
// stream's position is put back when the walk ends.
class TNamesEnumerator {
public:
    explicit TNamesEnumerator(TMemoryStream& stream);
    ~TNamesEnumerator();
    TNamesEnumerator(TNamesEnumerator&& other) noexcept;
    TNamesEnumerator(const TNamesEnumerator&) = delete;
    TNamesEnumerator& operator=(const TNamesEnumerator&) = delete;
    TNamesEnumerator& operator=(TNamesEnumerator&&) = delete;

    // False at the end of the stream, and at an entry that runs past it.
    bool MoveNext();
    const std::u16string& GetCurrent() const { return FFieldName; }
    const std::u16string& Current() const { return FFieldName; }

private:
    TMemoryStream* FStorage;
    std::u16string FFieldName;
    int64_t FOriginalPosition;
};
