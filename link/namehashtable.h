#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The storage's name index: 50 buckets from a value name to the stream position
// at which that value's length field begins. Names compare case-sensitively.
class TNameHashTable {
public:
    static constexpr size_t kBucketCount = 50;

    std::optional<int32_t> Find(std::u16string_view name) const;
    // The first position recorded for a name stays: with duplicates allowed,
    // lookups answer the earliest entry.
    void Add(std::u16string_view name, int32_t position);
    void Clear();
    size_t Count() const { return FCount; }

private:
    static size_t BucketOf(std::u16string_view name);

    std::array<std::vector<std::pair<std::u16string, int32_t>>, kBucketCount> FBuckets;
    size_t FCount = 0;
};
