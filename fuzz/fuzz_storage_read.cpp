// Every read of a storage filled with arbitrary bytes, as a reply's storage is
// filled from the wire. Beyond the sanitizers, it checks that the lookup and
// the enumerator agree: every name the walk reaches can be found.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/tstreamstorage.h"

namespace {

void ReadEveryWay(TStreamStorage& storage, const std::u16string& name) {
    storage.ReadBoolean(name);
    storage.ReadInteger(name);
    storage.ReadCardinal(name);
    storage.ReadReal(name);
    storage.ReadDateTime(name);
    storage.ReadUnicodeString(name);
    storage.ReadUTF8String(name);
    storage.ReadStream(name)->Data();
    TMemoryStream target;
    storage.ReadStream(name, target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TStreamStorage storage;
    storage.Storage().SetBytes(std::vector<uint8_t>(data, data + size));

    std::vector<std::u16string> names;
    {
        TNamesEnumerator walk = storage.GetEnumerator();
        while (walk.MoveNext()) {
            names.push_back(walk.Current());
        }
    }
    if (storage.Storage().Position() != 0) {
        std::abort();  // the walk must put the position back
    }

    ReadEveryWay(storage, u"String");
    for (const std::u16string& name : names) {
        if (!storage.Exists(name)) {
            std::abort();
        }
        ReadEveryWay(storage, name);
    }
    if (storage.ScannedEntries() > static_cast<int64_t>(names.size())) {
        std::abort();  // a second pass over the stream
    }

    TStreamStorage copy;
    copy.Assign(storage);
    for (const std::u16string& name : names) {
        if (copy.ReadUTF8String(name) != storage.ReadUTF8String(name)) {
            std::abort();
        }
    }
    // Appending after arbitrary content must keep the new value readable.
    copy.SetIgnoreDuplicates(true);
    copy.WriteUTF8String(u"Fuzz", "value");
    bool fuzzWasThere = std::find(names.begin(), names.end(), u"Fuzz") != names.end();
    if (!fuzzWasThere && copy.ReadUTF8String(u"Fuzz") != "value") {
        std::abort();
    }
    return 0;
}
