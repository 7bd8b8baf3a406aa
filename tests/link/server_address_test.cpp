#include <gtest/gtest.h>

#include "link/linkerror.h"
#include "link/serveraddress.h"

namespace {

struct TAddressCase {
    const char* text;
    const char* host;  // expected host, or nullptr when parsing fails
    uint16_t port;
    const char* error;
};

void PrintTo(const TAddressCase& row, std::ostream* out) {
    *out << "\"" << row.text << "\"";
}

class ServerAddressForms : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(ServerAddressForms, SplitAtTheFirstColon) {
    const TAddressCase& row = GetParam();
    if (row.host != nullptr) {
        TServerAddress address = TServerAddress::Parse(row.text);
        EXPECT_EQ(address.host, row.host);
        EXPECT_EQ(address.port, row.port);
        return;
    }
    try {
        TServerAddress::Parse(row.text);
        FAIL() << "parsed " << row.text;
    } catch (const ELinkError& failure) {
        EXPECT_STREQ(failure.what(), row.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ServerAddressForms,
    ::testing::Values(TAddressCase{"127.0.0.1:1234", "127.0.0.1", 1234, nullptr},
                      TAddressCase{"localhost:5000", "localhost", 5000, nullptr},
                      TAddressCase{":1234", "", 1234, nullptr},
                      TAddressCase{"", nullptr, 0, "Server address is not defined!"},
                      TAddressCase{" \t ", nullptr, 0, "Server address is not defined!"},
                      TAddressCase{"127.0.0.1", nullptr, 0, "\"\" is not a valid integer value"},
                      TAddressCase{"127.0.0.1:", nullptr, 0, "\"\" is not a valid integer value"},
                      TAddressCase{"room:50a", nullptr, 0, "\"50a\" is not a valid integer value"},
                      TAddressCase{"room:1:2", nullptr, 0, "\"1:2\" is not a valid integer value"},
                      TAddressCase{"room:70000", nullptr, 0, "Port 70000 is out of range"},
                      TAddressCase{"room:0", nullptr, 0, "Port 0 is out of range"}));

TEST(ServerAddress, ListeningMayAskForAnyFreePort) {
    EXPECT_EQ(TServerAddress::Parse("127.0.0.1:0", true).port, 0);
}

}  // namespace
