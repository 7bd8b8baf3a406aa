#pragma once

#include <memory>
#include <string>

#include "link/tstreamstorage.h"

// A message record: the command or reply ID plus a storage of named values.
// Records are shared by reference count and released with their last holder.
class IMessageData {
public:
    virtual ~IMessageData() = default;
    virtual const std::u16string& ID() const = 0;
    virtual TStreamStorage& Data() = 0;
    virtual void SetID(std::u16string id) = 0;
};

class TMessageData final : public IMessageData {
public:
    static std::shared_ptr<IMessageData> Create() { return std::make_shared<TMessageData>(); }

    const std::u16string& ID() const override { return FID; }
    TStreamStorage& Data() override { return FData; }
    void SetID(std::u16string id) override { FID = std::move(id); }

private:
    std::u16string FID;
    TStreamStorage FData;
};
