// Reading by name from a stream the storage did not write itself: the name
// index, the one-pass search, the enumerator, Assign, and streams whose lengths
// lie.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/tstreamstorage.h"
#include "storage_bytes.h"

namespace {

std::u16string NameOf(int i) {
    std::string ascii = "v" + std::to_string(i);
    return std::u16string(ascii.begin(), ascii.end());
}

// A received storage of count 4-byte integers named v0, v1, ... holding 100 + i.
class ReceivedIntegers : public ::testing::Test {
protected:
    static constexpr int kCount = 40;

    void SetUp() override {
        TBytes bytes;
        for (int i = 0; i < kCount; ++i) {
            TBytes entry = Entry(NameOf(i), LE(100 + i, 4));
            bytes.insert(bytes.end(), entry.begin(), entry.end());
        }
        storage.Storage().SetBytes(bytes);
    }

    TStreamStorage storage;
};

TEST_F(ReceivedIntegers, ReadingEveryValueInAnyOrderParsesEachEntryOnce) {
    for (int i = kCount - 1; i >= 0; i -= 2) {
        EXPECT_EQ(storage.ReadInteger(NameOf(i)), 100 + i);
    }
    for (int i = 0; i < kCount; i += 2) {
        EXPECT_EQ(storage.ReadInteger(NameOf(i)), 100 + i);
    }
    EXPECT_EQ(storage.ScannedEntries(), kCount);
}

TEST_F(ReceivedIntegers, ReadingInStreamOrderContinuesWhereTheLastReadStopped) {
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(storage.ReadInteger(NameOf(i)), 100 + i);
        EXPECT_EQ(storage.ScannedEntries(), i + 1);
    }
}

TEST_F(ReceivedIntegers, AMissScansTheStreamOnceAndARepeatedMissCostsNothing) {
    EXPECT_EQ(storage.ReadUTF8String(u"String"), "");
    EXPECT_EQ(storage.ScannedEntries(), kCount);
    EXPECT_EQ(storage.LastPos(), storage.Storage().Size());

    EXPECT_EQ(storage.ReadUTF8String(u"String"), "");
    EXPECT_FALSE(storage.Exists(u"String"));
    EXPECT_EQ(storage.ScannedEntries(), kCount);
    // Everything met on the way is indexed: no further parsing for any name.
    EXPECT_EQ(storage.ReadInteger(NameOf(7)), 107);
    EXPECT_EQ(storage.ScannedEntries(), kCount);
}

TEST_F(ReceivedIntegers, ExistsFindsWhatIsThereAndLeavesTheReadsIntact) {
    EXPECT_TRUE(storage.Exists(NameOf(20)));
    EXPECT_TRUE(storage.Exists(NameOf(3)));
    EXPECT_FALSE(storage.Exists(u"V3"));
    EXPECT_EQ(storage.ReadInteger(NameOf(21)), 121);
    EXPECT_EQ(storage.ReadInteger(NameOf(20)), 120);
}

TEST_F(ReceivedIntegers, EnumeratorWalksTheNamesInStreamOrderAndRestoresThePosition) {
    storage.Storage().Seek(13);
    std::vector<std::u16string> names;
    {
        TNamesEnumerator names_walk = storage.GetEnumerator();
        while (names_walk.MoveNext()) {
            names.push_back(names_walk.Current());
        }
        EXPECT_FALSE(names_walk.MoveNext());
    }
    ASSERT_EQ(names.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(names[i], NameOf(i));
    }
    EXPECT_EQ(storage.Storage().Position(), 13);
}

TEST_F(ReceivedIntegers, AssignCopiesTheStreamButNotTheIndex) {
    EXPECT_EQ(storage.ReadInteger(NameOf(kCount - 1)), 100 + kCount - 1);

    TStreamStorage copy;
    copy.WriteUTF8String(u"Old", "gone");
    copy.Assign(storage);

    EXPECT_EQ(copy.Storage().Bytes(), storage.Storage().Bytes());
    EXPECT_EQ(storage.Storage().Position(), storage.Storage().Size());
    EXPECT_EQ(copy.ReadInteger(NameOf(5)), 105);
    EXPECT_EQ(copy.ScannedEntries(), 6) << "the copy builds its own index lazily";
    EXPECT_FALSE(copy.Exists(u"Old"));
}

TEST(StorageLookup, ClearEmptiesStreamIndexAndSearchPosition) {
    TStreamStorage storage;
    storage.WriteUTF8String(u"Command", "Synchronous");
    storage.Clear();
    EXPECT_EQ(storage.Storage().Size(), 0);
    EXPECT_EQ(storage.LastPos(), 0);
    EXPECT_FALSE(storage.Exists(u"Command"));
    EXPECT_NO_THROW(storage.WriteUTF8String(u"Command", "Synchronous"));
}

TEST(StorageLookup, ReadStreamAppendsAtTheTargetsPosition) {
    TStreamStorage storage;
    storage.Storage().SetBytes(Entry(u"Block", {0xAA, 0xBB}));
    TMemoryStream target;
    target.Write(TBytes{1, 2, 3});
    target.Seek(1);
    storage.ReadStream(u"Block", target);
    EXPECT_EQ(target.Bytes(), (TBytes{1, 0xAA, 0xBB}));
    storage.ReadStream(u"Absent", target);
    EXPECT_EQ(target.Bytes(), (TBytes{1, 0xAA, 0xBB}));
}

// A value whose stored length does not fit the type read is treated as absent,
// and the search goes on correctly past it.
TEST(StorageLookup, ValuesOfTheWrongWidthReadAsDefaultsWithoutDerailingTheSearch) {
    TStreamStorage storage;
    storage.Storage().SetBytes(Join({Entry(u"Odd", {0x41, 0x00, 0x42}), Entry(u"Wide", LE(7, 8)),
                                     Entry(u"Flag", {1, 1}), Entry(u"After", LE(5, 4))}));
    EXPECT_EQ(storage.ReadUnicodeString(u"Odd"), u"");
    EXPECT_EQ(storage.ReadInteger(u"Wide"), 0);
    EXPECT_FALSE(storage.ReadBoolean(u"Flag"));
    EXPECT_EQ(storage.ReadReal(u"After"), 0.0);
    EXPECT_EQ(storage.ReadInteger(u"After"), 5);
    EXPECT_EQ(storage.ReadUTF8String(u"Odd"), std::string("A\0B", 3));
}

// Streams whose lengths run past the end or are negative: the good entry in
// front still reads, nothing is read beyond the end, the walk stops.
struct TBrokenStream {
    const char* name;
    TBytes tail;
};

void PrintTo(const TBrokenStream& row, std::ostream* out) {
    *out << "\"" << row.name << "\"";
}

class BrokenStorage : public ::testing::TestWithParam<TBrokenStream> {};

TEST_P(BrokenStorage, NeverReadsBeyondTheEnd) {
    TStreamStorage storage;
    TBytes good = Entry(u"Good", Ascii("yes"));
    storage.Storage().SetBytes(Join({good, GetParam().tail}));

    EXPECT_FALSE(storage.Exists(u"Bad"));
    EXPECT_EQ(storage.ReadUTF8String(u"Bad"), "");
    EXPECT_EQ(storage.ReadStream(u"Bad")->Data().Size(), 0);
    EXPECT_EQ(storage.ReadUTF8String(u"Good"), "yes");

    std::vector<std::u16string> names;
    TNamesEnumerator walk = storage.GetEnumerator();
    while (walk.MoveNext()) {
        names.push_back(walk.Current());
    }
    EXPECT_EQ(names, std::vector<std::u16string>{u"Good"});
}

INSTANTIATE_TEST_SUITE_P(
    LengthsThatLie, BrokenStorage,
    ::testing::Values(
        TBrokenStream{"EndsInsideNameLength", {0x06, 0x00}},
        TBrokenStream{"NegativeNameLength", Join({LE(0xFFFFFFFA, 4), Utf16LE(u"Bad")})},
        TBrokenStream{"NameLengthPastTheEnd", Join({LE(0x7FFFFFFF, 4), Utf16LE(u"Bad")})},
        TBrokenStream{"EndsInsideName", Join({LE(6, 4), Utf16LE(u"Ba")})},
        TBrokenStream{"EndsInsideValueLength", Join({LE(6, 4), Utf16LE(u"Bad"), LE(3, 5)})},
        TBrokenStream{"NegativeValueLength", EntryClaiming(u"Bad", -3, Ascii("abc"))},
        TBrokenStream{"ValueLengthPastTheEnd", EntryClaiming(u"Bad", 4, Ascii("abc"))},
        TBrokenStream{"AbsurdValueLength", EntryClaiming(u"Bad", int64_t{1} << 62, Ascii("abc"))}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
