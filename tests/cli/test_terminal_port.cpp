// How the terminal prints boxes and reads their answers.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/terminal_port.h"
#include "port/message_window.h"

namespace torv::cli {
namespace {

struct Terminal {
    explicit Terminal(std::string input) : in(std::move(input)), port(in, out) { port.attach(messages); }
    std::istringstream in;
    std::ostringstream out;
    TerminalUserPort port;
    port::MessageWindow messages;
};

TEST(TerminalPort, PrintsAListDialogWithNumberedItemsAndEchoesTheAnswer) {
    Terminal t("2\n");
    EXPECT_EQ(t.port.pickFact("Pick the fact:", {"fan_off", "light_on"}), 1u);
    EXPECT_EQ(t.out.str(),
              "[pick one] Pick a fact\n"
              "Pick the fact:\n"
              "1. fan_off\n"
              "2. light_on\n"
              "> 2\n");
}

TEST(TerminalPort, PrintsTextVerbatimWithItsOwnLineBreaks) {
    Terminal t("");
    t.port.note("Attention!", "first\n  second\n\n");
    EXPECT_EQ(t.out.str(), "[note] Attention!\nfirst\n  second\n\n");
}

TEST(TerminalPort, MessageWindowTextIsPrintedAsWrittenAndBoxesStartOnTheirOwnLine) {
    Terminal t("y\n");
    t.messages.write(" Do you wish to save the report?  ");
    EXPECT_EQ(t.out.str(), " Do you wish to save the report?  ");
    t.messages.clear();
    EXPECT_EQ(t.port.yesNo("Report of chaining/diagnosing", "Do you wish to save the report?"), port::kYes);
    EXPECT_EQ(t.out.str(),
              " Do you wish to save the report?  \n"
              "[yes/no] Report of chaining/diagnosing\n"
              "Do you wish to save the report?\n"
              "Yes / No\n"
              "> y\n");
}

TEST(TerminalPort, CaptionsComeBeforeTheLinesAsInTheDesktopDialog) {
    Terminal t("");
    t.port.message("Rule explanation", {"Rule 1 is resolved.", "It follows:"});
    t.port.showAdvice("Expert advice:", "Water less.\n");
    EXPECT_EQ(t.out.str(),
              "[message] Message\n"
              "Rule explanation\n"
              "Rule 1 is resolved.\nIt follows:\n"
              "[advice] Advice file inspection\n"
              "Expert advice:\n"
              "Water less.\n");
}

TEST(TerminalPort, EndOfInputInsideADialogCountsAsNo) {
    Terminal t("");
    EXPECT_EQ(t.port.yesNo("Attention!", "Delete?"), port::kNo);
    EXPECT_EQ(t.out.str(), "[yes/no] Attention!\nDelete?\nYes / No\n");
}

TEST(TerminalPort, EndConfirmedInPickFactsEndsTheProgram) {
    Terminal t("end\nno\nend\nyes\n");
    EXPECT_THROW(t.port.pickFacts("Pick facts:", {"a", "b"}), port::EndProgram);
    EXPECT_EQ(t.in.peek(), std::char_traits<char>::eof());
}

TEST(TerminalPort, ReadLineDropsACarriageReturn) {
    Terminal t("10062\r\nlast");
    EXPECT_EQ(t.port.readLine(), "10062");
    EXPECT_EQ(t.port.readLine(), "last");
    EXPECT_EQ(t.port.readLine(), std::nullopt);
}

TEST(TerminalPort, ControlBytesArePrintedEscaped) {
    struct Case { std::string in, out; };
    for (const auto& c : {Case{"plain\ttext\n", "plain\ttext\n"}, Case{"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
                          Case{"a\rb\x7f", "a\\x0db\\x7f"}, Case{std::string("n\0ul", 4), "n\\x00ul"},
                          Case{"\xc2\x9b" "2J", "\\xc2\\x9b2J"}, Case{"\xc5\xbc\xc2\xa0", "\xc5\xbc\xc2\xa0"},
                          Case{"cp1250 \x9a", "cp1250 \x9a"}}) {
        EXPECT_EQ(escapeControlBytes(c.in), c.out) << c.in;
    }
    Terminal t("");
    t.messages.write("cond\x1b[2J\n");
    t.port.note("Attention!", "\x1b[H");
    EXPECT_EQ(t.out.str(), "cond\\x1b[2J\n[note] Attention!\n\\x1b[H\n");
}

TEST(TerminalPort, AnUnrecognisedAnswerIsAskedAgain) {
    Terminal t("maybe\nyes\n");
    EXPECT_EQ(t.port.yesNo("Choose:", "Do you wish to be advised?"), port::kYes);
    EXPECT_EQ(t.out.str(),
              "[yes/no] Choose:\nDo you wish to be advised?\nYes / No\n> maybe\n[?] 1, 2, yes, y, no, n\n> yes\n");
}

// Progress goes to standard error only, one line redrawn in place and
// wiped when the work ends; a run whose standard error is no terminal
// (every test run) shows none.
TEST(TerminalPort, ProgressIsOneLineOnStandardErrorOnly) {
    std::istringstream in;
    std::ostringstream out, err;
    TerminalUserPort port(in, out);
    EXPECT_TRUE(port.progress("Loading RUx.AEB", 0, 200));
    port.drawProgressOn(&err);
    for (std::uint64_t done : {0, 1, 100, 101, 200}) EXPECT_TRUE(port.progress("Loading RUx.AEB\x1b", done, 200));
    EXPECT_EQ(err.str(), "\rLoading RUx.AEB\\x1b: 0%\x1b[K\rLoading RUx.AEB\\x1b: 50%\x1b[K\r\x1b[K");
    EXPECT_EQ(out.str(), "");
    // Text written meanwhile (a question during the work) wipes the line
    // first; the next report draws it again below that text.
    err.str("");
    EXPECT_TRUE(port.progress("Work", 1, 4));
    port.note("Note", "text");
    EXPECT_TRUE(port.progress("Work", 2, 4));
    EXPECT_EQ(err.str(), "\rWork: 25%\x1b[K\r\x1b[K\rWork: 50%\x1b[K");
    EXPECT_NE(out.str().find("text"), std::string::npos);
}

}  // namespace
}  // namespace torv::cli
