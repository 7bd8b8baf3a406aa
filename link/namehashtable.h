#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The storage's name index: 50 buckets from a value name to the stream position
// at which that value's length field begins. Names compare case-sensitively.
// Each bucket is itself hashed, so a storage with thousands of names still finds
// and records each one in constant time and reading every value stays linear.
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
    // Lets a bucket be searched with a string_view, without a copy of the name.
    struct TNameHash {
        using is_transparent = void;
        size_t operator()(std::u16string_view name) const {
            return std::hash<std::u16string_view>{}(name);
        }
    };
    using TBucket = std::unordered_map<std::u16string, int32_t, TNameHash, std::equal_to<>>;

    static size_t BucketOf(std::u16string_view name);

    std::array<TBucket, kBucketCount> FBuckets;
    size_t FCount = 0;
};
