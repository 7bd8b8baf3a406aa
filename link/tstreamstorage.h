#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/namehashtable.h"
#include "link/storageentry.h"
#include "link/tmemorystream.h"
#include "link/tnamesenumerator.h"
#include "link/tstoragestream.h"

// Days since 30 December 1899, 00:00, with the time of day as the fraction.
using TDateTime = double;

// The named-value storage of a message record: entries appended to one byte
// stream (layout in docs/link.md) and read back by name. A name index filled
// lazily and the furthest position searched so far (FLastPos) make reading many
// values cost one pass over the stream, and a repeated miss cost nothing.
class TStreamStorage {
public:
    // Empty values are never stored: an empty name, an empty text or an empty
    // byte block writes nothing. A name the index already knows fails with
    // "Value with name "%s" already exists" unless IgnoreDuplicates is set.
    void WriteBoolean(std::u16string_view name, bool value);
    void WriteInteger(std::u16string_view name, int32_t value);
    void WriteCardinal(std::u16string_view name, uint32_t value);
    void WriteReal(std::u16string_view name, double value);
    void WriteDateTime(std::u16string_view name, TDateTime value);
    void WriteUnicodeString(std::u16string_view name, std::u16string_view value);
    void WriteString(std::u16string_view name, std::u16string_view value) {
        WriteUnicodeString(name, value);
    }
    void WriteUTF8String(std::u16string_view name, std::string_view value);
    // Stores the whole content of value, whatever its position.
    void WriteStream(std::u16string_view name, const TMemoryStream& value);

    // An absent name, or an entry whose length does not fit the type read,
    // yields the type's empty default.
    bool ReadBoolean(std::u16string_view name);
    int32_t ReadInteger(std::u16string_view name);
    uint32_t ReadCardinal(std::u16string_view name);
    double ReadReal(std::u16string_view name);
    TDateTime ReadDateTime(std::u16string_view name);
    std::u16string ReadUnicodeString(std::u16string_view name);
    std::u16string ReadString(std::u16string_view name) { return ReadUnicodeString(name); }
    std::string ReadUTF8String(std::u16string_view name);
    // Appends the stored bytes to stream at its position.
    void ReadStream(std::u16string_view name, TMemoryStream& stream);
    std::shared_ptr<IStorageStream> ReadStream(std::u16string_view name);

    bool Exists(std::u16string_view name);
    void Clear();
    // Copies the whole stream of source; the name index is rebuilt lazily by
    // later reads. The source is left positioned at its end.
    void Assign(TStreamStorage& source);
    TNamesEnumerator GetEnumerator() { return TNamesEnumerator(FStorage); }

    bool IgnoreDuplicates() const { return FIgnoreDuplicates; }
    void SetIgnoreDuplicates(bool value) { FIgnoreDuplicates = value; }
    // The transport sends and fills this stream directly.
    TMemoryStream& Storage() { return FStorage; }

    // Diagnostics: how far the stream has been searched, and how many entry
    // headers searches have parsed in all.
    int64_t LastPos() const { return FLastPos; }
    int64_t ScannedEntries() const { return FScannedEntries; }

private:
    void WriteValue(std::u16string_view name, const void* bytes, size_t count);
    std::optional<storageentry::TValueSpan> Find(std::u16string_view name);
    std::optional<storageentry::TValueSpan> Scan(std::u16string_view name);
    // Finds name and returns its bytes when the stored length fits; moves the
    // stream past the value and FLastPos with it.
    std::optional<std::span<const uint8_t>> FindValue(std::u16string_view name);
    template <typename T>
    T ReadFixed(std::u16string_view name);

    TMemoryStream FStorage;
    TNameHashTable FPositionsHash;
    int64_t FLastPos = 0;
    bool FIgnoreDuplicates = false;
    int64_t FScannedEntries = 0;
};
