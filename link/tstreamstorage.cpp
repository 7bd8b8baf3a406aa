#include "link/tstreamstorage.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

#include "link/byteorder.h"
#include "link/linkerror.h"
#include "link/utf16.h"

using storageentry::TValueSpan;

void TStreamStorage::WriteValue(std::u16string_view name, const void* bytes, size_t count) {
    if (name.empty()) {
        return;
    }
    if (!FIgnoreDuplicates && FPositionsHash.Find(name)) {
        throw ELinkError("Value with name \"" + linkutf16::ToUtf8(name) + "\" already exists");
    }
    std::vector<uint8_t> head;
    linkbytes::AppendLE(head, name.size() * 2, storageentry::kNameLengthSize);
    linkutf16::AppendLE(head, name);
    FStorage.SeekToEnd();
    int64_t valueLengthPosition = FStorage.Position() + static_cast<int64_t>(head.size());
    // The name index keeps positions as signed 32-bit numbers.
    if (valueLengthPosition > std::numeric_limits<int32_t>::max()) {
        throw ELinkError("The storage cannot hold more than 2 GiB");
    }
    FStorage.Write(head);
    FPositionsHash.Add(name, static_cast<int32_t>(valueLengthPosition));
    head.clear();
    linkbytes::AppendLE(head, count, storageentry::kValueLengthSize);
    FStorage.Write(head);
    FStorage.Write(bytes, count);
    FLastPos = FStorage.Position();
}

void TStreamStorage::WriteBoolean(std::u16string_view name, bool value) {
    uint8_t byte = value ? 1 : 0;
    WriteValue(name, &byte, 1);
}

void TStreamStorage::WriteInteger(std::u16string_view name, int32_t value) {
    WriteCardinal(name, static_cast<uint32_t>(value));
}

void TStreamStorage::WriteCardinal(std::u16string_view name, uint32_t value) {
    std::vector<uint8_t> bytes;
    linkbytes::AppendLE(bytes, value, 4);
    WriteValue(name, bytes.data(), bytes.size());
}

void TStreamStorage::WriteReal(std::u16string_view name, double value) {
    std::vector<uint8_t> bytes;
    linkbytes::AppendLE(bytes, std::bit_cast<uint64_t>(value), 8);
    WriteValue(name, bytes.data(), bytes.size());
}

void TStreamStorage::WriteDateTime(std::u16string_view name, TDateTime value) {
    WriteReal(name, value);
}

void TStreamStorage::WriteUnicodeString(std::u16string_view name, std::u16string_view value) {
    if (value.empty()) {
        return;
    }
    std::vector<uint8_t> bytes;
    linkutf16::AppendLE(bytes, value);
    WriteValue(name, bytes.data(), bytes.size());
}

void TStreamStorage::WriteUTF8String(std::u16string_view name, std::string_view value) {
    if (value.empty()) {
        return;
    }
    WriteValue(name, value.data(), value.size());
}

void TStreamStorage::WriteStream(std::u16string_view name, const TMemoryStream& value) {
    if (value.Size() == 0) {
        return;
    }
    WriteValue(name, value.Bytes().data(), value.Bytes().size());
}

std::optional<TValueSpan> TStreamStorage::Scan(std::u16string_view name) {
    FStorage.Seek(FLastPos);
    while (FStorage.Remaining() > 0) {
        auto header = storageentry::ReadHeader(FStorage);
        if (!header || header->valueLengthPosition > std::numeric_limits<int32_t>::max()) {
            break;
        }
        ++FScannedEntries;
        FPositionsHash.Add(header->name, static_cast<int32_t>(header->valueLengthPosition));
        if (header->name == name) {
            return header->value;
        }
        FStorage.Seek(header->value.End());
    }
    // Nothing after this point can be found: a repeated miss starts at the end.
    FStorage.SeekToEnd();
    FLastPos = std::max(FLastPos, FStorage.Position());
    return std::nullopt;
}

std::optional<TValueSpan> TStreamStorage::Find(std::u16string_view name) {
    std::optional<TValueSpan> value;
    if (auto position = FPositionsHash.Find(name)) {
        value = storageentry::ReadValueSpan(FStorage, *position);
    } else {
        value = Scan(name);
    }
    if (value) {
        FStorage.Seek(value->End());
        FLastPos = std::max(FLastPos, value->End());
    }
    return value;
}

std::optional<std::span<const uint8_t>> TStreamStorage::FindValue(std::u16string_view name) {
    auto value = Find(name);
    if (!value) {
        return std::nullopt;
    }
    return std::span<const uint8_t>(FStorage.Bytes())
        .subspan(static_cast<size_t>(value->start), static_cast<size_t>(value->length));
}

template <typename T>
T TStreamStorage::ReadFixed(std::u16string_view name) {
    auto bytes = FindValue(name);
    if (!bytes || bytes->size() != sizeof(T)) {
        return T{};
    }
    uint64_t raw = linkbytes::GetLE(bytes->data(), sizeof(T));
    if constexpr (std::is_same_v<T, double>) {
        return std::bit_cast<double>(raw);
    } else {
        return static_cast<T>(raw);
    }
}

bool TStreamStorage::ReadBoolean(std::u16string_view name) {
    return ReadFixed<uint8_t>(name) != 0;
}

int32_t TStreamStorage::ReadInteger(std::u16string_view name) {
    return ReadFixed<int32_t>(name);
}

uint32_t TStreamStorage::ReadCardinal(std::u16string_view name) {
    return ReadFixed<uint32_t>(name);
}

double TStreamStorage::ReadReal(std::u16string_view name) {
    return ReadFixed<double>(name);
}

TDateTime TStreamStorage::ReadDateTime(std::u16string_view name) {
    return ReadReal(name);
}

std::u16string TStreamStorage::ReadUnicodeString(std::u16string_view name) {
    auto bytes = FindValue(name);
    if (!bytes || bytes->size() % 2 != 0) {
        return {};
    }
    return linkutf16::DecodeLE(bytes->data(), bytes->size());
}

std::string TStreamStorage::ReadUTF8String(std::u16string_view name) {
    auto bytes = FindValue(name);
    if (!bytes) {
        return {};
    }
    return std::string(bytes->begin(), bytes->end());
}

void TStreamStorage::ReadStream(std::u16string_view name, TMemoryStream& stream) {
    if (auto bytes = FindValue(name)) {
        stream.Write(*bytes);
    }
}

std::shared_ptr<IStorageStream> TStreamStorage::ReadStream(std::u16string_view name) {
    auto copy = std::make_shared<TStorageStream>();
    ReadStream(name, copy->Data());
    return copy;
}

bool TStreamStorage::Exists(std::u16string_view name) {
    return Find(name).has_value();
}

void TStreamStorage::Clear() {
    FStorage.Clear();
    FPositionsHash.Clear();
    FLastPos = 0;
}

void TStreamStorage::Assign(TStreamStorage& source) {
    if (&source == this) {
        return;
    }
    Clear();
    FStorage.SetBytes(source.FStorage.Bytes());
    FStorage.SeekToEnd();
    source.FStorage.SeekToEnd();
}
