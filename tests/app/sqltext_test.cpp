#include "app/sqltext.h"

#include <gtest/gtest.h>

namespace {

using sqltext::CallText;
using sqltext::QuotedStr;

TEST(SqlTextTest, QuotedStrDoublesSingleQuotesOnly) {
    const struct {
        QString text;
        QString literal;
    } cases[] = {
        {"", "''"},
        {"ROOM 01", "'ROOM 01'"},
        {"DON'T", "'DON''T'"},
        {"''", "''''''"},
        {R"(\' OR 1=1 -- )", R"('\'' OR 1=1 -- ')"},
        {"a\nb", "'a\nb'"},
        {R"(C:\path\)", R"('C:\path\')"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedStr(c.text), c.literal) << c.text.toStdString();
    }
}

TEST(SqlTextTest, CallTextJoinsIntegersAndLiterals) {
    EXPECT_EQ(CallText("CariJudulArtis", {qint64{1}, qint64{0}, qint64{0}, qint64{0}, QString(""),
                                          QString(""), qint64{0}, qint64{15}}),
              "CariJudulArtis(1,0,0,0,'','',0,15);");
    EXPECT_EQ(CallText("SavePlaylist", {qint64{812}, QString("ROOM 01"), QString("A1B2C3")}),
              "SavePlaylist(812,'ROOM 01','A1B2C3');");
    EXPECT_EQ(CallText("Caller", {QString("O'NEIL ROOM"), qint64{-2}}),
              "Caller('O''NEIL ROOM',-2);");
    EXPECT_EQ(CallText("ViewItemMenu", {qint64{3}}), "ViewItemMenu(3);");
}

}  // namespace
