#include "link/namehashtable.h"

size_t TNameHashTable::BucketOf(std::u16string_view name) {
    // FNV-1a over the code units: cheap, and spreads the short ASCII names of
    // the link well over 50 buckets.
    uint32_t hash = 2166136261u;
    for (char16_t unit : name) {
        hash = (hash ^ (unit & 0xFF)) * 16777619u;
        hash = (hash ^ (unit >> 8)) * 16777619u;
    }
    return hash % kBucketCount;
}

std::optional<int32_t> TNameHashTable::Find(std::u16string_view name) const {
    const auto& bucket = FBuckets[BucketOf(name)];
    auto found = bucket.find(name);
    if (found == bucket.end()) {
        return std::nullopt;
    }
    return found->second;
}

void TNameHashTable::Add(std::u16string_view name, int32_t position) {
    if (FBuckets[BucketOf(name)].try_emplace(std::u16string(name), position).second) {
        ++FCount;
    }
}

void TNameHashTable::Clear() {
    for (auto& bucket : FBuckets) {
        bucket.clear();
    }
    FCount = 0;
}
