#pragma once

#include <memory>

#include "link/tmemorystream.h"

// A standalone copy of one stored byte block, shared by reference count.
class IStorageStream {
public:
    virtual ~IStorageStream() = default;
    // The copy, rewound to its first byte.
    virtual TMemoryStream& Data() = 0;
};

class TStorageStream final : public IStorageStream {
public:
    TMemoryStream& Data() override {
        FMemoryStream.Seek(0);
        return FMemoryStream;
    }

private:
    TMemoryStream FMemoryStream;
};
