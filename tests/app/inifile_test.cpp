#include "app/inifile.h"

#include "app/numbertext.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"
#include "support/test_paths.h"

namespace {

using testsupport::ProgramFolder;

struct IntegerCase {
    const char* text;
    std::optional<qint32> expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ParsesAsTheSettingsFileIntends) {
    EXPECT_EQ(numbertext::ParseInteger(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(IntegerCase{"1", 1}, IntegerCase{"0", 0}, IntegerCase{"  42 ", 42},
                      IntegerCase{"-5", -5}, IntegerCase{"+7", 7}, IntegerCase{"0x1", 1},
                      IntegerCase{"0X1f", 31}, IntegerCase{"$1F", 31}, IntegerCase{"$ff", 255},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", INT32_MIN},
                      IntegerCase{"2147483648", std::nullopt},
                      IntegerCase{"0x100000000", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"abc", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"1.5", std::nullopt}, IntegerCase{"0x", std::nullopt},
                      IntegerCase{"$", std::nullopt}, IntegerCase{"--1", std::nullopt},
                      IntegerCase{"1 2", std::nullopt}));

TEST(IniFileTest, NamesIgnoreCaseAndTheFirstOccurrenceWins) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    folder.writeFile("a.ini",
                     "\xEF\xBB\xBF; venue settings\r\n"
                     "[playerkaraoke]\r\n"
                     "SERVERLAGUHOST = 10.1.1.1 \r\n"
                     "serverlaguhost=10.9.9.9\r\n"
                     "Quoted=\"two words\"\r\n"
                     "Empty=\r\n"
                     "[Other]\r\n"
                     "ServerLaguHost=10.2.2.2\r\n"
                     "[PLAYERKARAOKE]\r\n"
                     "Late=yes\r\n");
    const TIniFile ini(folder.path() + "/a.ini");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "ServerLaguHost", "x"), "10.1.1.1");
    EXPECT_EQ(ini.ReadString("OTHER", "serverlaguhost", "x"), "10.2.2.2");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "Quoted", "x"), "two words");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "Empty", "x"), "");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "Late", "x"), "yes");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("Nowhere", "ServerLaguHost", "fallback"), "fallback");
}

TEST(IniFileTest, KeysBeforeAnySectionAndLinesWithoutValueAreIgnored) {
    ProgramFolder folder(ProgramFolder::Settings::None);
    folder.writeFile("b.ini", "Orphan=1\n[S]\njust text\n=nameless\nKey=v=w\n");
    const TIniFile ini(folder.path() + "/b.ini");
    EXPECT_EQ(ini.ReadString("", "Orphan", "none"), "none");
    EXPECT_EQ(ini.ReadString("S", "Key", "none"), "v=w");
    EXPECT_EQ(ini.ReadInteger("S", "just text", 9), 9);
}

TEST(IniFileTest, MissingFileGivesEveryDefault) {
    const TIniFile ini("/nonexistent/setting.ini");
    EXPECT_EQ(ini.ReadString("PlayerKaraoke", "DatabaseLagu", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("PlayerKaraoke", "MonitorPerintah", 0), 0);
}

}  // namespace
