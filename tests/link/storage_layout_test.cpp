// What the storage writes, byte for byte: a room player built from the same
// layout must read exactly these bytes.
#include <gtest/gtest.h>

#include <functional>

#include "link/linkerror.h"
#include "link/tstreamstorage.h"
#include "storage_bytes.h"

namespace {

TBytes StreamOf(TStreamStorage& storage) {
    return storage.Storage().Bytes();
}

TEST(StorageLayout, CommandSynchronousIsThe37ByteRequestStorage) {
    TStreamStorage storage;
    storage.WriteUTF8String(u"Command", "Synchronous");

    TBytes expected = {0x0E, 0x00, 0x00, 0x00,  // name length: 14
                       0x43, 0x00, 0x6F, 0x00, 0x6D, 0x00, 0x6D, 0x00, 0x61, 0x00, 0x6E,
                       0x00, 0x64, 0x00,                                // "Command"
                       0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // value length: 11
                       'S',  'y',  'n',  'c',  'h',  'r',  'o',  'n',  'o',  'u',  's'};
    ASSERT_EQ(expected.size(), 37u);
    EXPECT_EQ(Hex(StreamOf(storage)), Hex(expected));
}

TEST(StorageLayout, StringZeroIsThe25ByteReplyStorage) {
    TStreamStorage storage;
    storage.WriteUTF8String(u"String", "0");

    TBytes expected = {0x0C, 0x00, 0x00, 0x00, 0x53, 0x00, 0x74, 0x00, 0x72, 0x00, 0x69, 0x00, 0x6E,
                       0x00, 0x67, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30};
    EXPECT_EQ(Hex(StreamOf(storage)), Hex(expected));
}

// One row per value type: what the writer stores, and that the reader of the
// same type gets the value back.
struct TValueCase {
    const char* type;
    std::function<void(TStreamStorage&)> write;
    TBytes valueBytes;
    std::function<bool(TStreamStorage&)> readsBack;
};

void PrintTo(const TValueCase& row, std::ostream* out) {
    *out << "\"" << row.type << "\"";
}

class StorageValueEncoding : public ::testing::TestWithParam<TValueCase> {};

TEST_P(StorageValueEncoding, WritesTheValueBytesAndReadsThemBack) {
    const TValueCase& row = GetParam();
    TStreamStorage written;
    row.write(written);
    EXPECT_EQ(Hex(StreamOf(written)), Hex(Entry(u"v", row.valueBytes)));

    TStreamStorage received;
    received.Storage().SetBytes(Entry(u"v", row.valueBytes));
    EXPECT_TRUE(row.readsBack(received));
}

TMemoryStream StreamWith(const TBytes& bytes) {
    TMemoryStream stream;
    stream.Write(bytes);
    return stream;
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, StorageValueEncoding,
    ::testing::Values(TValueCase{"Boolean",
                                 [](auto& s) { s.WriteBoolean(u"v", true); },
                                 {0x01},
                                 [](auto& s) { return s.ReadBoolean(u"v"); }},
                      TValueCase{"BooleanFalse",
                                 [](auto& s) { s.WriteBoolean(u"v", false); },
                                 {0x00},
                                 [](auto& s) { return !s.ReadBoolean(u"v") && s.Exists(u"v"); }},
                      TValueCase{"Integer",
                                 [](auto& s) { s.WriteInteger(u"v", -2); },
                                 {0xFE, 0xFF, 0xFF, 0xFF},
                                 [](auto& s) { return s.ReadInteger(u"v") == -2; }},
                      TValueCase{"Cardinal",
                                 [](auto& s) { s.WriteCardinal(u"v", 0xA1B2C3D4u); },
                                 {0xD4, 0xC3, 0xB2, 0xA1},
                                 [](auto& s) { return s.ReadCardinal(u"v") == 0xA1B2C3D4u; }},
                      TValueCase{"Real",
                                 [](auto& s) { s.WriteReal(u"v", 1.5); },
                                 {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F},
                                 [](auto& s) { return s.ReadReal(u"v") == 1.5; }},
                      // 2 January 1900, 06:00: three days and a quarter after 30 December 1899.
                      TValueCase{"DateTime",
                                 [](auto& s) { s.WriteDateTime(u"v", 3.25); },
                                 {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x40},
                                 [](auto& s) { return s.ReadDateTime(u"v") == 3.25; }},
                      TValueCase{"UnicodeString",
                                 [](auto& s) { s.WriteUnicodeString(u"v", u"H\u00E9"); },
                                 {0x48, 0x00, 0xE9, 0x00},
                                 [](auto& s) { return s.ReadUnicodeString(u"v") == u"H\u00E9"; }},
                      TValueCase{"String",
                                 [](auto& s) { s.WriteString(u"v", u"ok"); },
                                 {0x6F, 0x00, 0x6B, 0x00},
                                 [](auto& s) { return s.ReadString(u"v") == u"ok"; }},
                      TValueCase{"UTF8String",
                                 [](auto& s) { s.WriteUTF8String(u"v", "5#240#812"); },
                                 Ascii("5#240#812"),
                                 [](auto& s) { return s.ReadUTF8String(u"v") == "5#240#812"; }},
                      TValueCase{"Stream",
                                 [](auto& s) {
                                     TMemoryStream block = StreamWith({0x00, 0xFF, 0x10});
                                     s.WriteStream(u"v",
                                                   block);  // whole content, whatever the position
                                 },
                                 {0x00, 0xFF, 0x10},
                                 [](auto& s) {
                                     auto copy = s.ReadStream(u"v");
                                     return copy->Data().Bytes() == TBytes{0x00, 0xFF, 0x10} &&
                                            copy->Data().Position() == 0;
                                 }}),
    [](const auto& info) { return std::string(info.param.type); });

TEST(StorageLayout, EmptyValuesAndEmptyNamesStoreNothing) {
    TStreamStorage storage;
    storage.WriteUTF8String(u"Command", "");
    storage.WriteUnicodeString(u"Title", u"");
    storage.WriteStream(u"Block", TMemoryStream());
    storage.WriteInteger(u"", 7);

    EXPECT_EQ(storage.Storage().Size(), 0);
    EXPECT_FALSE(storage.Exists(u"Command"));
    EXPECT_EQ(storage.ReadUTF8String(u"Command"), "");
    EXPECT_EQ(storage.ReadUnicodeString(u"Title"), u"");
    EXPECT_EQ(storage.ReadStream(u"Block")->Data().Size(), 0);
    // The empty name was not indexed either: writing it again is no duplicate.
    EXPECT_NO_THROW(storage.WriteInteger(u"", 7));
}

TEST(StorageLayout, SecondWriteOfANameFailsAndLeavesTheStreamAlone) {
    TStreamStorage storage;
    storage.WriteUTF8String(u"Command", "Synchronous");
    TBytes before = StreamOf(storage);

    try {
        storage.WriteUTF8String(u"Command", "Other");
        FAIL() << "the duplicate was written";
    } catch (const ELinkError& failure) {
        EXPECT_STREQ(failure.what(), "Value with name \"Command\" already exists");
    }
    EXPECT_EQ(StreamOf(storage), before);
    EXPECT_EQ(storage.ReadUTF8String(u"Command"), "Synchronous");
}

TEST(StorageLayout, NamesDifferingOnlyInCaseAreDifferentValues) {
    TStreamStorage storage;
    storage.WriteInteger(u"Volume", 60);
    EXPECT_NO_THROW(storage.WriteInteger(u"volume", 70));
    EXPECT_EQ(storage.ReadInteger(u"Volume"), 60);
    EXPECT_EQ(storage.ReadInteger(u"volume"), 70);
}

TEST(StorageLayout, IgnoredDuplicatesAreAppendedAndTheEarliestIsRead) {
    TStreamStorage storage;
    storage.SetIgnoreDuplicates(true);
    storage.WriteUTF8String(u"String", "first");
    storage.WriteUTF8String(u"String", "second");

    EXPECT_EQ(Hex(StreamOf(storage)),
              Hex(Join({Entry(u"String", Ascii("first")), Entry(u"String", Ascii("second"))})));
    EXPECT_EQ(storage.ReadUTF8String(u"String"), "first");

    // A received copy, indexed while searching, answers the earliest entry too.
    TStreamStorage received;
    received.Storage().SetBytes(StreamOf(storage));
    EXPECT_EQ(received.ReadUTF8String(u"Missing"), "");
    EXPECT_EQ(received.ReadUTF8String(u"String"), "first");
}

}  // namespace
