// The roomplayer-sim program itself: it announces its address, answers a
// request built by hand from the byte layout with a reply that decodes by the
// same layout, prints one line per request and stops on SIGTERM.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "child_program.h"
#include "loopback_peer.h"

namespace {

TEST(SimulatorProgram, AnswersAHandBuiltRequestByTheSameTables) {
    std::string scriptPath = ::testing::TempDir() + "roomplayer-sim-script.txt";
    std::ofstream(scriptPath) << "set volume 55\non 20# failure\n";
    TChildProgram simulator(
        {ROOMPLAYER_SIM_PATH, "--listen", "127.0.0.1:0", "--script", scriptPath});

    std::string announcement = simulator.ReadLine();
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_EQ(announcement.rfind(prefix, 0), 0u) << announcement;
    auto port = static_cast<uint16_t>(std::stoi(announcement.substr(prefix.size())));

    struct TRow {
        std::u16string command;
        TBytes reply;
        std::string line;
    };
    const TBytes commandStorage = Entry(u"Command", Ascii("Synchronous"));
    for (const TRow& row :
         {TRow{u"38#", Frame(u"38#", Entry(u"String", Ascii("1#55;5;0"))), "38# -> 1#55;5;0"},
          TRow{u"27#75", Frame(u"27#75", Entry(u"String", Ascii("9#75"))), "27#75 -> 9#75"},
          TRow{u"20#", TBytes(8, 0xFF), "20# -> failure marker"}}) {
        TSocket console = TSocket::Connect("127.0.0.1", port, 5000);
        console.SendAll(Frame(row.command, commandStorage), 5000);
        EXPECT_EQ(Hex(ReadUntilClosed(console)), Hex(row.reply));
        EXPECT_EQ(simulator.ReadLine(), row.line);
    }
    EXPECT_EQ(simulator.Terminate(), 0);
}

}  // namespace
