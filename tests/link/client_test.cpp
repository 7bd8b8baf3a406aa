// The message client against a room player on 127.0.0.1: the bytes on the
// wire, every failure the console must survive, and the time-outs.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "link/frameformat.h"
#include "link/linkerror.h"
#include "link/loopbackonly.h"
#include "link/timclient.h"
#include "loopback_peer.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kConnectTimeout = 5000;

class ClientExchange : public ::testing::Test {
protected:
    void StartPeer(TLoopbackPeer::TBehaviour behaviour) {
        peer = std::make_unique<TLoopbackPeer>(std::move(behaviour));
        client.SetServerAddress(peer->Address());
    }

    std::shared_ptr<IMessageData> Send(std::u16string command) {
        client.ConnectClient(kConnectTimeout);
        EXPECT_TRUE(client.IsConnected());
        return client.ExecuteConnectedRequest(*CommandRequest(std::move(command)));
    }

    TIMCClient client;
    std::unique_ptr<TLoopbackPeer> peer;
};

TEST_F(ClientExchange, SendsTheWorkedExampleAndReadsTheReply) {
    std::mutex lock;
    TBytes received;
    StartPeer([&](TIMCPeer& connection) {
        TBytes request = ReadExactly(connection.Socket(), 59);
        {
            std::lock_guard<std::mutex> guard(lock);
            received = request;
        }
        connection.SendBytes(ReplyFrame(u"21#", "9#75"), 5000);
    });

    auto reply = Send(u"21#");

    EXPECT_TRUE(client.AnswerValid()) << client.ErrorDesc();
    EXPECT_EQ(reply->ID(), u"21#");
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "9#75");
    EXPECT_EQ(reply->Data().Storage().Position(), reply->Data().Storage().Size())
        << "the read leaves the stream past the value";
    std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(Hex(received), Hex(Frame(u"21#", Entry(u"Command", Ascii("Synchronous")))));
}

TEST_F(ClientExchange, AcceptsAReplyIDOtherThanTheRequests) {
    StartPeer([](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(ReplyFrame(u"something else", "5#240#812"), 5000);
    });
    auto reply = Send(u"1#812");
    EXPECT_TRUE(client.AnswerValid());
    EXPECT_EQ(reply->ID(), u"something else");
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "5#240#812");
}

TEST_F(ClientExchange, EmptyIDAndEmptyStorageIsAValidAnswerWithNoString) {
    StartPeer([](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(Frame(0, {}, 0, {}), 5000);
    });
    auto reply = Send(u"38#");
    EXPECT_TRUE(client.AnswerValid());
    EXPECT_EQ(reply->ID(), u"");
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "");
}

// The time-out bounds each wait, not the whole reply: a reply trickled a byte at
// a time is valid although it takes far longer than one time-out in all.
TEST_F(ClientExchange, AReplyTrickledByteByByteIsComplete) {
    StartPeer([](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        for (uint8_t byte : ReplyFrame(u"33#", "7#95#240")) {
            std::this_thread::sleep_for(10ms);
            connection.SendBytes(std::span<const uint8_t>(&byte, 1), 5000);
        }
    });
    client.SetExecuteTimeout(200);
    auto reply = Send(u"33#");
    EXPECT_TRUE(client.AnswerValid()) << client.ErrorDesc();
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "7#95#240");
}

// With a reply limit the whole reply must be in by then: a room player that
// trickles its bytes inside each wait's time-out still cannot hold the console
// beyond the limit, and one that answers in time is unaffected.
TEST_F(ClientExchange, TheReplyLimitBoundsTheWholeReply) {
    const struct {
        const char* name;
        std::chrono::milliseconds byteGap;
        bool valid;
    } cases[] = {{"in time", 0ms, true}, {"trickled past the limit", 40ms, false}};
    for (const auto& c : cases) {
        StartPeer([&c](TIMCPeer& connection) {
            connection.ReadRequest(5000);
            try {
                for (uint8_t byte : ReplyFrame(u"33#", "7#95#240")) {
                    std::this_thread::sleep_for(c.byteGap);
                    connection.SendBytes(std::span<const uint8_t>(&byte, 1), 5000);
                }
            } catch (const ELinkError&) {
                // The console left.
            }
        });
        client.SetExecuteTimeout(1000);
        client.SetReplyLimit(400);
        // Every byte comes well within the wait's time-out: only the limit
        // can end the slow reply.
        Send(u"33#");
        EXPECT_EQ(client.AnswerValid(), c.valid) << c.name << ": " << client.ErrorDesc();
        EXPECT_EQ(client.TimedOut(), !c.valid) << c.name;
        client.DisconnectClient();
        peer.reset();
    }
}

TEST_F(ClientExchange, ExecuteRequestConnectsExchangesAndDisconnects) {
    std::promise<TBytes> afterReply;
    StartPeer([&](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(ReplyFrame(u"GO#", "1#60;5;0"), 5000);
        afterReply.set_value(ReadUntilClosed(connection.Socket()));
    });
    auto reply = client.ExecuteRequest(*CommandRequest(u"GO#"), kConnectTimeout);
    EXPECT_TRUE(client.AnswerValid());
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "1#60;5;0");
    EXPECT_TRUE(afterReply.get_future().get().empty()) << "closed with nothing more sent";
}

// The failures of an exchange on an open connection. The bad lengths arrive on
// a connection the room player keeps open: a client that waited for the bytes
// they announce would end on its (long) time-out with another description.
struct TReplyFailure {
    const char* name;
    TBytes reply;
    bool keepOpen;
    uint32_t executeTimeout;
    const char* description;  // ErrorDesc starts with this
    uint32_t lastError;
};

void PrintTo(const TReplyFailure& row, std::ostream* out) {
    *out << "\"" << row.name << "\"";
}

class ClientReplyFailures : public ClientExchange,
                            public ::testing::WithParamInterface<TReplyFailure> {};

TEST_P(ClientReplyFailures, LeaveTheAnswerInvalidAndTheClientUsable) {
    const TReplyFailure& row = GetParam();
    StartPeer([&row](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(row.reply, 5000);
        if (row.keepOpen) {
            connection.WaitForPeer(60000);
        }
    });
    client.SetExecuteTimeout(row.executeTimeout);

    Send(u"21#");

    EXPECT_FALSE(client.AnswerValid());
    EXPECT_EQ(client.ErrorDesc().rfind(row.description, 0), 0u) << client.ErrorDesc();
    EXPECT_EQ(client.LastError(), row.lastError);
    EXPECT_TRUE(client.IsConnected()) << "the caller disconnects";
    client.DisconnectClient();
    EXPECT_FALSE(client.IsConnected());

    // The same client carries the next command as if nothing had happened.
    peer.reset();
    StartPeer([](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(ReplyFrame(u"", "6#"), 5000);
    });
    client.SetExecuteTimeout(5000);
    auto reply = Send(u"21#");
    EXPECT_TRUE(client.AnswerValid());
    EXPECT_EQ(reply->Data().ReadUTF8String(u"String"), "6#");
}

constexpr uint32_t kLong = 20000;
const TBytes kID9 = Utf16LE(u"9#");

INSTANTIATE_TEST_SUITE_P(
    Table, ClientReplyFailures,
    ::testing::Values(
        TReplyFailure{"FailureMarker", Join({TBytes(8, 0xFF), ReplyFrame(u"9#", "9#75")}), true,
                      kLong, "Unhandled error while executing request on the server", 0},
        TReplyFailure{"ClosedWithoutAByte", {}, false, kLong, "Connection closed by the peer", 0},
        TReplyFailure{"ClosedAfterTheID", Join({BE(4, 8), kID9}), false, kLong,
                      "Connection closed by the peer", 0},
        TReplyFailure{"ClosedInsideTheData", Join({BE(4, 8), kID9, BE(25, 8), Ascii("abc")}), false,
                      kLong, "Connection closed by the peer", 0},
        TReplyFailure{"SilentPastTheTimeout", {}, true, 200, "Read timed out", ETIMEDOUT},
        TReplyFailure{"SilentAfterTheID", Join({BE(4, 8), kID9}), true, 200, "Read timed out",
                      ETIMEDOUT},
        TReplyFailure{"NegativeIDLength", BE(static_cast<uint64_t>(-2), 8), true, kLong,
                      "Invalid frame", EPROTO},
        TReplyFailure{"HugeIDLength", BE(uint64_t{1} << 62, 8), true, kLong, "Invalid frame",
                      EPROTO},
        TReplyFailure{"NegativeDataLength", Join({BE(4, 8), kID9, BE(uint64_t{1} << 63, 8)}), true,
                      kLong, "Invalid frame", EPROTO},
        TReplyFailure{"DataLengthBeyondTheMaximum",
                      Join({BE(4, 8), kID9, BE(linkframe::kMaxFrameSize, 8)}), true, kLong,
                      "Invalid frame", EPROTO}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClientExchange, ARequestNotConnectedFailsWithoutAnAnswer) {
    client.ExecuteConnectedRequest(*CommandRequest(u"21#"));
    EXPECT_FALSE(client.AnswerValid());
    EXPECT_EQ(client.LastError(), static_cast<uint32_t>(ENOTCONN));
}

TEST_F(ClientExchange, ARequestBeyondTheMaximumFrameIsNotSent) {
    std::promise<TBytes> seen;
    StartPeer([&](TIMCPeer& connection) { seen.set_value(ReadUntilClosed(connection.Socket())); });
    auto request = CommandRequest(u"21#");
    TMemoryStream block;
    block.Write(TBytes(static_cast<size_t>(linkframe::kMaxFrameSize), 0));
    request->Data().WriteStream(u"Block", block);

    client.ConnectClient(kConnectTimeout);
    client.ExecuteConnectedRequest(*request);
    EXPECT_FALSE(client.AnswerValid());
    EXPECT_EQ(client.LastError(), static_cast<uint32_t>(EMSGSIZE));
    client.DisconnectClient();
    EXPECT_TRUE(seen.get_future().get().empty());
}

TEST_F(ClientExchange, AddressFormsReachTheLoopbackRoomPlayer) {
    StartPeer([](TIMCPeer& connection) {
        connection.ReadRequest(5000);
        connection.SendBytes(ReplyFrame(u"", "6#"), 5000);
    });
    const std::string port = std::to_string(peer->Port());
    for (const std::string& address : {"127.0.0.1:" + port, ":" + port, "localhost:" + port}) {
        client.SetServerAddress(address);
        auto reply = client.ExecuteRequest(*CommandRequest(u"35#"), kConnectTimeout);
        EXPECT_TRUE(client.AnswerValid()) << address << ": " << client.ErrorDesc();
    }
    EXPECT_EQ(peer->Connections(), 3);
}

// The failures of ConnectClient: it raises, and the client is not connected.
TEST(ClientConnect, BlankOrMalformedAddressesRaiseBeforeAnyConnection) {
    struct TRow {
        const char* address;
        const char* message;
    };
    for (const TRow& row :
         {TRow{"", "Server address is not defined!"}, TRow{"   ", "Server address is not defined!"},
          TRow{"127.0.0.1", "\"\" is not a valid integer value"},
          TRow{"127.0.0.1:port", "\"port\" is not a valid integer value"}}) {
        TIMCClient client;
        client.SetServerAddress(row.address);
        try {
            client.ConnectClient(kConnectTimeout);
            ADD_FAILURE() << "connected to " << row.address;
        } catch (const ELinkError& failure) {
            EXPECT_STREQ(failure.what(), row.message);
        }
        EXPECT_FALSE(client.IsConnected());
    }
}

// A socket on a free port of 127.0.0.1, bound and nothing more.
TSocket BoundOnLoopback(uint16_t& port) {
    TSocket bound(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(bound.Fd(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(bound.Fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot bind on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return bound;
}

// A socket bound on 127.0.0.1 that does not listen: connecting is refused.
TEST(ClientConnect, ARefusedConnectionRaisesTheTransportError) {
    uint16_t port = 0;
    TSocket bound = BoundOnLoopback(port);

    TIMCClient client;
    client.SetServerAddress("127.0.0.1:" + std::to_string(port));
    try {
        client.ConnectClient(kConnectTimeout);
        FAIL() << "connected";
    } catch (const ELinkError& failure) {
        EXPECT_EQ(failure.Code(), ECONNREFUSED);
    }
    EXPECT_FALSE(client.IsConnected());
}

// A listener whose queue is full drops further connection attempts silently,
// like a room player that does not answer: the connect time-out ends the wait.
TEST(ClientConnect, NoAnswerWithinTheConnectTimeoutRaises) {
    uint16_t port = 0;
    TSocket full = BoundOnLoopback(port);
    ASSERT_EQ(::listen(full.Fd(), 0), 0);
    TSocket filler = TSocket::Connect("127.0.0.1", port, kConnectTimeout);

    TIMCClient client;
    client.SetServerAddress("127.0.0.1:" + std::to_string(port));
    try {
        client.ConnectClient(200);
        FAIL() << "connected to a full queue";
    } catch (const ELinkError& failure) {
        EXPECT_EQ(failure.Code(), ETIMEDOUT) << failure.what();
    }
    EXPECT_FALSE(client.IsConnected());
}

TEST(LoopbackOnly, KnowsLoopbackFromOtherAddresses) {
    struct TRow {
        const char* text;
        bool loopback;
    };
    for (const TRow& row :
         {TRow{"127.0.0.1", true}, TRow{"127.4.5.6", true}, TRow{"::1", true},
          TRow{"::ffff:127.0.0.1", true}, TRow{"10.0.0.1", false}, TRow{"128.0.0.1", false},
          TRow{"::ffff:10.0.0.1", false}, TRow{"fe80::1", false}}) {
        sockaddr_storage storage{};
        if (::inet_pton(AF_INET, row.text, &reinterpret_cast<sockaddr_in*>(&storage)->sin_addr) ==
            1) {
            storage.ss_family = AF_INET;
        } else {
            ASSERT_EQ(::inet_pton(AF_INET6, row.text,
                                  &reinterpret_cast<sockaddr_in6*>(&storage)->sin6_addr),
                      1);
            storage.ss_family = AF_INET6;
        }
        EXPECT_EQ(loopbackonly::IsLoopback(reinterpret_cast<sockaddr*>(&storage)), row.loopback)
            << row.text;
    }
}

}  // namespace
