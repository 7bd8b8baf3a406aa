#include "link/tnamesenumerator.h"

#include "link/storageentry.h"

TNamesEnumerator::TNamesEnumerator(TMemoryStream& stream)
    : FStorage(&stream), FOriginalPosition(stream.Position()) {
    FStorage->Seek(0);
}

TNamesEnumerator::~TNamesEnumerator() {
    if (FStorage != nullptr) {
        FStorage->Seek(FOriginalPosition);
    }
}

TNamesEnumerator::TNamesEnumerator(TNamesEnumerator&& other) noexcept
    : FStorage(other.FStorage),
      FFieldName(std::move(other.FFieldName)),
      FOriginalPosition(other.FOriginalPosition) {
    other.FStorage = nullptr;
}

bool TNamesEnumerator::MoveNext() {
    if (FStorage->Remaining() == 0) {
        return false;
    }
    auto header = storageentry::ReadHeader(*FStorage);
    if (!header) {
        // Nothing after a broken entry can be found by name either.
        FStorage->SeekToEnd();
        return false;
    }
    FStorage->Seek(header->value.End());
    FFieldName = std::move(header->name);
    return true;
}
