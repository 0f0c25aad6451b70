// The report buffer: number forms, the message-window echo, appends.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "port/message_window.h"
#include "state/report_buffer.h"

namespace torv::reports {
namespace {

struct RealCase {
    double value;
    const char* text;
};

class PiszReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(PiszReal, WritesGeneralFormWithSixDigits) {
    port::MessageWindow mw;
    ReportBuffer b(mw);
    b.piszreal(GetParam().value);
    EXPECT_EQ(b.tekst_raportu(), GetParam().text);
    EXPECT_EQ(mw.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, PiszReal,
                         ::testing::Values(RealCase{0.1, "0.1"}, RealCase{1234567.0, "1.23457e+06"},
                                           RealCase{0.0, "0"}, RealCase{2.0, "2"}, RealCase{-2.5, "-2.5"},
                                           RealCase{1.0 / 3.0, "0.333333"}, RealCase{123456.7, "123457"},
                                           RealCase{999999.0, "999999"}, RealCase{1000000.0, "1e+06"},
                                           RealCase{0.0001, "0.0001"}, RealCase{0.00001, "1e-05"},
                                           RealCase{-1.5e-10, "-1.5e-10"}, RealCase{6.02e23, "6.02e+23"}));

TEST(PiszInt, WritesDecimalWithSign) {
    struct Case { std::int64_t value; const char* text; };
    for (auto c : {Case{0, "0"}, Case{42, "42"}, Case{-7, "-7"},
                   Case{std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"}}) {
        port::MessageWindow mw;
        ReportBuffer b(mw);
        b.piszint(c.value);
        EXPECT_EQ(b.tekst_raportu(), c.text);
        EXPECT_EQ(mw.text(), c.text);
    }
}

TEST(ReportBuffer, WritesGoToMessagesAndReportInOrder) {
    port::MessageWindow mw;
    ReportBuffer b(mw);
    b.pisz("Rule ");
    b.piszint(3);
    b.pisz(" fired");
    b.piszcr();
    b.piszreal(0.5);
    EXPECT_EQ(b.tekst_raportu(), "Rule 3 fired\n0.5");
    EXPECT_EQ(mw.text(), "Rule 3 fired\n0.5");
}

TEST(ReportBuffer, PiszcrAddsExactlyOneLineFeed) {
    port::MessageWindow mw;
    ReportBuffer b(mw);
    b.pisz("abc");
    b.piszcr();
    EXPECT_EQ(b.tekst_raportu(), "abc\n");
    EXPECT_EQ(mw.lines().size(), 2u);   // the message window starts a new line
}

TEST(ReportBuffer, ListGoesToReportOnlyAndEmptyOnesChangeNothing) {
    port::MessageWindow mw;
    ReportBuffer b(mw);
    b.pisz("Q: ");
    b.lista_dla_raportu({"Is it wet?", " ", "Yes", "\n"});
    b.lista_dla_raportu({});
    b.lista_dla_raportu({"", ""});
    EXPECT_EQ(b.tekst_raportu(), "Q: Is it wet? Yes\n");
    EXPECT_EQ(mw.text(), "Q: ");
}

TEST(ReportBuffer, ClearingEmptiesAndLaterWritesAppend) {
    port::MessageWindow mw;
    ReportBuffer b(mw);
    b.pisz("old");
    b.kasowanie_tekst_raportu();
    EXPECT_EQ(b.tekst_raportu(), "");
    b.pisz("new");
    b.pisz("er");
    EXPECT_EQ(b.tekst_raportu(), "newer");
    EXPECT_EQ(mw.text(), "oldnewer");   // clearing the report does not clear the messages
}

}  // namespace
}  // namespace torv::reports
