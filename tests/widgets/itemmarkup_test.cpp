#include "widgets/itemmarkup.h"

#include <gtest/gtest.h>

namespace {

// One line per markup line, runs separated by "|"; a run reads "@N" for its
// indent and "{ibu}" for its style, then its text in quotes.
QString describe(const ItemMarkup& markup) {
    QStringList lines;
    for (const MarkupLine& line : markup.lines) {
        QStringList runs;
        for (const MarkupRun& run : line.runs) {
            QString style;
            style += run.italic ? "i" : "";
            style += run.bold ? "b" : "";
            style += run.underline ? "u" : "";
            QString text;
            if (run.indent >= 0) {
                text += "@" + QString::number(run.indent);
            }
            if (!style.isEmpty()) {
                text += "{" + style + "}";
            }
            runs.append(text + "'" + run.text + "'");
        }
        lines.append(runs.join('|'));
    }
    return lines.join(" / ");
}

struct MarkupCase {
    const char* name;
    const char* source;
    const char* expected;
};

void PrintTo(const MarkupCase& c, std::ostream* os) {
    *os << c.name;
}

class ItemMarkupParse : public testing::TestWithParam<MarkupCase> {};

TEST_P(ItemMarkupParse, BuildsLinesAndRuns) {
    const MarkupCase& c = GetParam();
    EXPECT_EQ(describe(parseItemMarkup(QString::fromUtf8(c.source))).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ItemMarkupParse,
    testing::Values(
        MarkupCase{"SongRow", R"(<html>KASIH PUTIH<IND x="350">GLENN</html>)",
                   "'KASIH PUTIH'|@350'GLENN'"},
        MarkupCase{"PlaylistRow", "<html>KASIH PUTIH - GLENN</html>", "'KASIH PUTIH - GLENN'"},
        MarkupCase{"MenuRow", R"(<html>NASI GORENG<br><IND x="250">Rp. 25.000</html>)",
                   "'NASI GORENG' / @250'Rp. 25.000'"},
        MarkupCase{"OrderRow",
                   R"(<html>2 x<IND x="30"> NASI GORENG<br><IND x="30"><i> PEDAS</i></html>)",
                   "'2 x'|@30' NASI GORENG' / @30{i}' PEDAS'"},
        MarkupCase{"OrderRowWithoutNote",
                   R"(<html>1 x<IND x="30"> TEH<br><IND x="30"><i> </i></html>)",
                   "'1 x'|@30' TEH' / @30{i}' '"},
        MarkupCase{"TagsInAnyCase", R"(<HTML>A<ind X='40'>B<BR>C</Html>)", "'A'|@40'B' / 'C'"},
        MarkupCase{"IndentWithoutText", R"(<html>A<IND x="90"></html>)", "'A'|@90''"},
        MarkupCase{"StylesNestAndClose", "<b>x<i>y</b>z</i>w", "{b}'x'|{ib}'y'|{i}'z'|'w'"},
        MarkupCase{"PlainText", "ALL", "'ALL'"}, MarkupCase{"Empty", "", ""},
        MarkupCase{"DatabaseTextIsLiteral", "<html>R&B <3 <Untitled> a>b</html>",
                   "'R&B <3 <Untitled> a>b'"},
        MarkupCase{"Entities", "A &amp; B &lt;x&gt; &#65;&#x42; &bogus;", "'A & B <x> AB &bogus;'"},
        MarkupCase{"MalformedIndentIsLiteral", R"(<IND x="ab">Z)", R"('<IND x="ab">Z')"}),
    [](const testing::TestParamInfo<MarkupCase>& info) { return info.param.name; });

TEST(ItemMarkup, PlainTextDropsTagsAndMarksIndents) {
    const ItemMarkup markup =
        parseItemMarkup(R"(<html>2 x<IND x="30"> NASI<br><IND x="30"><i> PEDAS</i></html>)");
    EXPECT_EQ(markup.plainText(), "2 x\t NASI\n\t PEDAS");
}

}  // namespace
