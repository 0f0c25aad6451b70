// The report file form: exact bytes written, round trips, malformed files.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>

#include "reports/report_file.h"
#include "support/fixtures.h"

namespace torv::reports {
namespace {

std::string parsed(std::string_view file) {
    auto r = czytaj_tekst_pliku_raportu(file);
    if (auto* e = std::get_if<ReportFileError>(&r)) {
        ADD_FAILURE() << "unexpected error: " << e->message;
        return {};
    }
    return std::get<std::string>(r);
}

TEST(ReportFileForm, EscapesOnlyLineBreaksQuotesAndBackslashes) {
    struct Case { std::string text; std::string file; };
    for (const auto& c : {
             Case{"", "tekst_raportu(\"\")\n"},
             Case{"Rule 1 fired\n", "tekst_raportu(\"Rule 1 fired\\n\")\n"},
             Case{"say \"hi\"", "tekst_raportu(\"say \\\"hi\\\"\")\n"},
             Case{"C:\\BASES\\", "tekst_raportu(\"C:\\\\BASES\\\\\")\n"},
             Case{"a\r\nb", "tekst_raportu(\"a\\r\\nb\")\n"},
             Case{"tab\there 'q' \xB9\xE6", "tekst_raportu(\"tab\there 'q' \xB9\xE6\")\n"},
         }) {
        EXPECT_EQ(tekst_pliku_raportu(c.text), c.file);
        EXPECT_EQ(parsed(c.file), c.text);
    }
}

TEST(ReportFileForm, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    all += "\\n\\\"\"\\";   // escape look-alikes in the text itself
    EXPECT_EQ(parsed(tekst_pliku_raportu(all)), all);
}

TEST(ReportFileForm, AcceptsTheUsualVariantsOfTheLine) {
    EXPECT_EQ(parsed("tekst_raportu(\"x\")"), "x");                 // no final line break
    EXPECT_EQ(parsed("tekst_raportu(\"x\\ny\")\r\n"), "x\ny");      // CRLF
    EXPECT_EQ(parsed("tekst_raportu ( \"x\" ) \n"), "x");           // blanks between the parts
    EXPECT_EQ(parsed("tekst_raportu(\"a\\tb\")\n"), "a\tb");        // a tab escape
    EXPECT_EQ(parsed("tekst_raportu(\"first\")\ntekst_raportu(\"second\")\n"), "first");
}

struct Malformed {
    const char* name;
    std::string file;
    int line;
    std::size_t position;
    const char* message;
};

class MalformedReport : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedReport, IsAnErrorWithItsPlace) {
    const auto& c = GetParam();
    auto r = czytaj_tekst_pliku_raportu(c.file);
    ASSERT_TRUE(std::holds_alternative<ReportFileError>(r));
    const auto& e = std::get<ReportFileError>(r);
    EXPECT_EQ(e.kind, ReportFileError::Kind::Syntax);
    EXPECT_EQ(e.line, c.line);
    EXPECT_EQ(e.position, c.position);
    EXPECT_EQ(e.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedReport,
    ::testing::Values(
        Malformed{"Empty", "", 1, 1, "The file holds no report"},
        Malformed{"Unterminated", "tekst_raportu(\"abc)\n", 1, 15, "String not closed"},
        Malformed{"BackslashAtEnd", "tekst_raportu(\"abc\\", 1, 15, "String not closed"},
        Malformed{"LineBreakInString", "tekst_raportu(\"ab\ncd\")\n", 1, 15, "String not closed"},
        Malformed{"WrongRecord", "tekst_summary(\"x\")\n", 1, 1,
                  "Record 'tekst_summary' is not allowed in this file"},
        Malformed{"LongerName", "tekst_raportu2(\"x\")\n", 1, 1,
                  "Record 'tekst_raportu2' is not allowed in this file"},
        Malformed{"Garbage", std::string("\x7F" "ELF\x02\x01\x00\x00\xFF\xFE", 10), 1, 1, "Record name expected"},
        Malformed{"NoString", "tekst_raportu(42)\n", 1, 15, "String expected"},
        Malformed{"NoClosingParenthesis", "tekst_raportu(\"x\"\n", 1, 18, "')' expected before the end of the line"},
        Malformed{"TrailingText", "tekst_raportu(\"x\").\n", 1, 19, "Unexpected character after the record"},
        Malformed{"UnknownEscape", "tekst_raportu(\"a\\qb\")\n", 1, 17, "Unknown escape sequence in string"},
        Malformed{"EmptyLineAfter", "tekst_raportu(\"x\")\n\n", 2, 1, "Empty line"},
        Malformed{"BadSecondRecord", "tekst_raportu(\"x\")\nfact(\"y\")\n", 2, 1,
                  "Record 'fact' is not allowed in this file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportFile, WritesExactBytesAndReadsThemBack) {
    std::string large;
    for (int i = 0; i < 200000; ++i) large += "Rule " + std::to_string(i) + " \"fired\"\\\n";
    struct Case { std::string text; std::optional<std::string> bytes; };   // nullopt: not compared
    for (const auto& c : {Case{"He said \"no\" \\ then\r\nleft\n",
                               "tekst_raportu(\"He said \\\"no\\\" \\\\ then\\r\\nleft\\n\")\n"},
                          Case{large, std::nullopt}}) {
        test::TempDir dir;
        const auto file = dir.path() / "r.RPT";
        ASSERT_EQ(zapisz_plik_raportu(file, c.text), std::nullopt);
        if (c.bytes) {
            EXPECT_EQ(test::readFile(file), *c.bytes);
        }
        auto r = wczytaj_plik_raportu(file);
        ASSERT_TRUE(std::holds_alternative<std::string>(r));
        EXPECT_TRUE(std::get<std::string>(r) == c.text) << c.text.size();
    }
}

TEST(ReportFile, WriteFailureNamesTheCause) {
    test::TempDir dir;
    auto failure = zapisz_plik_raportu(dir.path() / "missing" / "r.RPT", "x");
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("No such file or directory"), std::string::npos) << *failure;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST(ReportFile, MissingFileOrDirectoryIsUnreadable) {
    test::TempDir dir;
    for (const auto& p : {dir.path() / "none.RPT", dir.path()}) {
        auto r = wczytaj_plik_raportu(p);
        ASSERT_TRUE(std::holds_alternative<ReportFileError>(r)) << p;
        EXPECT_EQ(std::get<ReportFileError>(r).kind, ReportFileError::Kind::Unreadable);
    }
}

}  // namespace
}  // namespace torv::reports
