// The term reader and base files: accepted records, and every fault with its place.
#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "kb/base_file.h"
#include "kb/term_reader.h"
#include "support/fixtures.h"

namespace torv::kb {
namespace {

template <class Base>
Base parseOk(BaseKind kind, std::string_view text) {
    auto r = parseBaseText(kind, text);
    if (auto* e = std::get_if<ReadError>(&r)) {
        ADD_FAILURE() << "line " << e->line << " pos " << e->position << ": " << e->message;
        return {};
    }
    return std::get<Base>(std::get<AnyBase>(r));
}

ReadError parseFail(BaseKind kind, std::string_view text) {
    auto r = parseBaseText(kind, text);
    if (auto* e = std::get_if<ReadError>(&r)) return *e;
    ADD_FAILURE() << "accepted: " << text;
    return {};
}

TEST(BaseFile, ReadsEveryRuleBaseRecord) {
    auto rb = parseOk<RuleBase>(BaseKind::Rule,
                                "rule(3,\"engine_hot\",[\"fan_off\",\"nthermostat_ok\"],1)\r\n"
                                "fact(\"fan_off\")\r\n"
                                "rem_rule(\"a \\\"quoted\\\" remark \\\\ here\")\r\n"
                                "_rule(4,\"x\",[],0)\r\n"
                                "_fact(\"y\")\r\n"
                                "rule(-7, \"e\" , [ ] , 0 )\n");
    ASSERT_EQ(rb.rules.size(), 2u);
    EXPECT_EQ(rb.rules[0], (Rule{3, "engine_hot", {"fan_off", "nthermostat_ok"}, 1}));
    EXPECT_EQ(rb.rules[1], (Rule{-7, "e", {}, 0}));
    EXPECT_EQ(rb.facts, std::vector<Fact>{{"fan_off"}});
    ASSERT_EQ(rb.kept.size(), 3u);
    EXPECT_EQ(rb.kept[0].kind, "rem_rule");
    EXPECT_EQ(rb.kept[2].text, "_fact(\"y\")");
}

TEST(BaseFile, ReadsEveryModelBaseRecord) {
    auto mb = parseOk<ModelBase>(
        BaseKind::Model,
        "model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"2.5\",1)\n"
        "model_e(2,\"go\",\"ok\",\"<,<\",[\"a\",\"b\",\"c\"],0)\n"
        "model_lin(3,\"No condition\",\"s\",[\"1\",\"2\"],[\"p\",\"q\"],1)\n"
        "model_poly(4,\"No condition\",\"p\",\"x\",[\"1\",\"4\",\"3\"],[0,1,2],1)\n"
        "argument_known(\"x\",2.5e1)\n"
        "argument_known(\"z\",-3)\n"
        "m_fact(\"go\")\n"
        "exclusive_models([\"a\",\"b\"])\n"
        "rem_model_b(\"r\")\nrem_exclusive_models([\"a\"])\n_model_poly(5,\"c\",\"p\",\"x\",[],[],0)");
    EXPECT_EQ(mb.model_b.at(0), (ModelB{1, "No condition", "y", "x", "+", "2.5", 1}));
    EXPECT_EQ(mb.model_e.at(0).argumenty, (StringList{"a", "b", "c"}));
    EXPECT_EQ(mb.model_lin.at(0).zmienne, (StringList{"p", "q"}));
    EXPECT_EQ(mb.model_poly.at(0).potegi, (IntList{0, 1, 2}));
    EXPECT_EQ(mb.argument_known.at(0), (ArgumentKnown{"x", 25.0}));
    EXPECT_EQ(mb.argument_known.at(1).wartosc, -3.0);
    EXPECT_EQ(mb.m_fact.at(0).warunek, "go");
    EXPECT_EQ(mb.exclusive_models.at(0).warunki, (StringList{"a", "b"}));
    EXPECT_EQ(mb.kept.size(), 3u);
}

TEST(BaseFile, ReadsConstraintAndMediaBases) {
    auto cb = parseOk<ConstraintBase>(BaseKind::Constraint,
                                      "constraint(1,[\"a\",\"b\"])\nrem_constraint(\"x\")\n_constraint(2,[])\n");
    EXPECT_EQ(cb.constraints, (std::vector<Constraint>{{1, {"a", "b"}}}));
    auto ab = parseOk<AdviceBase>(BaseKind::Advice, "advice(1,\"a.hlp\")\nnadvice(1,\"b.hlp\")\n");
    EXPECT_EQ(ab.nadvice.at(0), (MediaRecord{1, "b.hlp"}));
    auto gb = parseOk<GraphicsBase>(BaseKind::Graphics, "graphics(2,\"g.bmp\")\nngraphics(2,\"g.bmp\")");
    EXPECT_EQ(gb.graphics.size() + gb.ngraphics.size(), 2u);
    auto sb = parseOk<SoundBase>(BaseKind::Sound, "sounds(3,\"s.wav\")\nnsounds(3,\"t.wav\")\n");
    EXPECT_EQ(sb.nsounds.at(0).plik, "t.wav");
}

TEST(BaseFile, EmptyFileIsAnEmptyBase) {
    auto rb = parseOk<RuleBase>(BaseKind::Rule, "");
    EXPECT_TRUE(rb.rules.empty());
}

struct Fault {
    BaseKind kind;
    const char* text;
    ReadError::Kind errorKind;
    int line;
    int position;
    const char* message;
};

class BaseFileFault : public ::testing::TestWithParam<Fault> {};

TEST_P(BaseFileFault, StopsWithItsPlaceAndText) {
    const Fault& f = GetParam();
    ReadError e = parseFail(f.kind, f.text);
    EXPECT_EQ(e.kind, f.errorKind);
    EXPECT_EQ(e.line, f.line);
    EXPECT_EQ(e.message, f.message);
    if (f.errorKind == ReadError::Kind::Syntax) {
        EXPECT_EQ(e.position, f.position);
    }
}

const auto R = BaseKind::Rule;
const auto Syn = ReadError::Kind::Syntax;
const auto Empty = ReadError::Kind::EmptyLine;

INSTANTIATE_TEST_SUITE_P(
    Table, BaseFileFault,
    ::testing::Values(
        Fault{R, "rule(1,\"a\",[],1)\n\n", Empty, 2, 0, "Empty line"},
        Fault{R, "rule(1,\"a\",[],1)\n   \nfact(\"x\")", Empty, 2, 0, "Empty line"},
        Fault{R, "\n", Empty, 1, 0, "Empty line"},
        Fault{R, "fact(\"a\")\r\n\r\n", Empty, 2, 0, "Empty line"},
        Fault{R, "fact(\"a\")\nfact(\"b)", Syn, 2, 6, "String not closed"},
        Fault{R, "rule(1,\"a\",[\"b\"])", Syn, 1, 17, "Wrong number of fields for rule"},
        Fault{R, "rule(1,\"a\",[\"b\"],1,2)", Syn, 1, 19, "Wrong number of fields for rule"},
        Fault{R, "rule(x,\"a\",[],1)", Syn, 1, 6, "Integer expected"},
        Fault{R, "rule(1.5,\"a\",[],1)", Syn, 1, 6, "Integer expected"},
        Fault{R, "rule(2147483648,\"a\",[],1)", Syn, 1, 6, "Integer out of range"},
        Fault{R, "rule(-2147483649,\"a\",[],1)", Syn, 1, 6, "Integer out of range"},
        Fault{R, "rule(1,a,[],1)", Syn, 1, 8, "String expected"},
        Fault{R, "rule(1,\"a\",\"b\",1)", Syn, 1, 12, "List expected"},
        Fault{R, "rule(1,\"a\",[[\"b\"]],1)", Syn, 1, 13, "String expected"},
        Fault{R, "rule(1,\"a\",[\"b\" \"c\"],1)", Syn, 1, 17, "',' or ']' expected in list"},
        Fault{R, "rule(1,\"a\",[\"b\",1)", Syn, 1, 17, "String expected"},
        Fault{R, "rule(1,\"a\",[\"b\"", Syn, 1, 12, "List not closed"},
        Fault{R, "rule(1,\"a\\q\",[],1)", Syn, 1, 10, "Unknown escape sequence in string"},
        Fault{R, "rule(1,\"a\",[],1) x", Syn, 1, 18, "Unexpected character after the record"},
        Fault{R, "rule(1,\"a\",[],1", Syn, 1, 16, "')' expected before the end of the line"},
        Fault{R, "model_b(1,\"c\",\"y\",\"x\",\"+\",\"1\",1)", Syn, 1, 1,
              "Record 'model_b' is not allowed in this file"},
        Fault{R, "123", Syn, 1, 1, "Record name expected"},
        Fault{R, "fact \"a\"", Syn, 1, 6, "'(' expected"},
        Fault{BaseKind::Model, "argument_known(\"x\",1e999)", Syn, 1, 20, "Number out of range"},
        Fault{BaseKind::Model, "argument_known(\"x\",2.)", Syn, 1, 22, "Digit expected after the decimal point"},
        Fault{BaseKind::Model, "model_poly(4,\"c\",\"p\",\"x\",[],[1.5],1)", Syn, 1, 30, "Integer expected"},
        Fault{BaseKind::Graphics, "advice(1,\"a.hlp\")", Syn, 1, 1, "Record 'advice' is not allowed in this file"},
        Fault{BaseKind::Sound, "rem_sounds(\"x\")", Syn, 1, 1, "Record 'rem_sounds' is not allowed in this file"},
        Fault{BaseKind::Constraint, "constraint(1,[\"a\"]", Syn, 1, 19, "')' expected before the end of the line"}));

TEST(BaseFile, ControlBytesAreSyntaxErrorsKeptInTheLineText) {
    const std::string text("fact(\"a\")\nfact(\0\"b\")\n", 21);
    ReadError e = parseFail(BaseKind::Rule, text);
    EXPECT_EQ(e.line, 2);
    EXPECT_EQ(e.position, 6);
    EXPECT_EQ(e.message, "String expected");
    EXPECT_EQ(e.lineText, std::string("fact(\0\"b\")", 10));
}

TEST(BaseFile, HugeLinesAndDeepBracketsDoNotHurt) {
    std::string deep = "rule(1,\"a\"," + std::string(100000, '[') + ",1)";
    EXPECT_EQ(parseFail(BaseKind::Rule, deep).message, "String expected");
    std::string longString = "fact(\"" + std::string(10'000'000, 'x') + "\")";
    auto rb = parseOk<RuleBase>(BaseKind::Rule, longString);
    EXPECT_EQ(rb.facts.at(0).warunek.size(), 10'000'000u);
    std::string unclosed = "fact(\"" + std::string(10'000'000, 'x');
    ReadError e = parseFail(BaseKind::Rule, unclosed);
    EXPECT_EQ(e.message, "String not closed");
    EXPECT_EQ(e.position, 6);
}

// Plain rule and fact lines are read by a shortcut; any line must come out
// as the general record reader reads it: the same record or the same fault.
TEST(BaseFile, RuleLinesReadAsTheRecordReaderReadsThem) {
    const std::vector<FieldType> rule{FieldType::Integer, FieldType::String, FieldType::StringList, FieldType::Integer};
    const std::vector<RecordSchema> schemas{{"fact", {FieldType::String}},
                                            {"rule", rule},
                                            {"rem_rule", {FieldType::String}},
                                            {"_fact", {FieldType::String}},
                                            {"_rule", rule}};
    auto check = [&](const std::string& line) {
        const auto general = parseRecord(line, schemas);
        const auto read = parseBaseText(BaseKind::Rule, line);
        if (const auto* e = std::get_if<ReadError>(&general)) {
            const auto* got = std::get_if<ReadError>(&read);
            ASSERT_NE(got, nullptr) << line;
            EXPECT_EQ(got->position, e->position) << line;
            EXPECT_EQ(got->message, e->message) << line;
            EXPECT_EQ(got->lineText, line);
            return;
        }
        ASSERT_TRUE(std::holds_alternative<AnyBase>(read)) << line;
        const auto& rb = std::get<RuleBase>(std::get<AnyBase>(read));
        auto f = std::get<ParsedRecord>(general).fields;
        if (std::get<ParsedRecord>(general).schema >= 2) {
            EXPECT_EQ(rb.kept.size(), 1u) << line;
            EXPECT_TRUE(rb.rules.empty() && rb.facts.empty()) << line;
        } else if (std::get<ParsedRecord>(general).schema == 0) {
            EXPECT_EQ(rb.facts, std::vector<Fact>{{std::get<std::string>(f[0])}}) << line;
            EXPECT_TRUE(rb.rules.empty()) << line;
        } else {
            ASSERT_EQ(rb.rules.size(), 1u) << line;
            EXPECT_EQ(rb.rules[0], (Rule{std::get<std::int32_t>(f[0]), std::get<std::string>(f[1]),
                                         names(std::get<StringList>(f[2])), std::get<std::int32_t>(f[3])}))
                << line;
        }
    };
    for (const std::string line :
         {"rule(1,\"a\",[\"b\",\"nc\"],0)", "rule(-0,\"\",[],-5)", "rule(007,\"a\",[\"\"],1)",
          "rule(2147483647,\"a\",[],-2147483648)", "rule(2147483648,\"a\",[],1)", "rule(-,\"a\",[],1)",
          "rule(1x,\"a\",[],1)", "rule(1,\"a\\\"b\",[],1)", "rule(1,\"a\",[\"b\\\\\"],1)", "rule(1,\"a\",[\"b\",],1)",
          "rule(1,\"a\",[,],1)", "rule(1,\"a\",[\"b\"],1) ", " rule(1,\"a\",[],1)", "rule(1,\"a\",[],1))",
          "rule(1,\"a\",[],1.0)", "rule(1,\"a\",[]1)", "ruler(1,\"a\",[],1)", "fact(\"x\")", "fact(\"x\" )",
          "fact(\"x\")x", "fact(\"a\\\"\")", "fact(\"x)", "fact()", "fact(\"x\",\"y\")", "rule(+1,\"a\",[],1)"})
        check(line);

    // Random edits of a plain line reach the shortcut's every way out.
    std::mt19937 rng(5);
    const std::string alphabet = "rulefact(),[]\"\\-019 .an_\t";
    const std::string plain = "rule(12,\"a_1\",[\"b\",\"nc\"],-3)";
    for (int round = 0; round < 20000; ++round) {
        std::string line = round % 3 == 0 ? "fact(\"a_1\")" : plain;
        for (int k = 0, edits = 1 + static_cast<int>(rng() % 3); k < edits; ++k) {
            const std::size_t at = rng() % (line.size() + 1);
            const char c = alphabet[rng() % alphabet.size()];
            switch (rng() % 3) {
            case 0: line.insert(at, 1, c); break;
            case 1: if (at < line.size()) line.erase(at, 1); break;
            default: if (at < line.size()) line[at] = c;
            }
        }
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        check(line);
        if (::testing::Test::HasFailure()) break;
    }
}

TEST(BaseFile, UnreadableFilesAreReadErrors) {
    test::TempDir dir;
    auto d = dir.mkdir("RUdir.AEB");
    auto r = readBaseFile(BaseKind::Rule, d);
    ASSERT_TRUE(std::holds_alternative<ReadError>(r));
    EXPECT_EQ(std::get<ReadError>(r).kind, ReadError::Kind::Unreadable);
    auto missing = readBaseFile(BaseKind::Rule, dir.path() / "RUnone.AEB");
    EXPECT_EQ(std::get<ReadError>(missing).kind, ReadError::Kind::Unreadable);
}

TEST(TermReader, QuoteStringRoundTrips) {
    const std::string nasty = "a \"b\" \\c\\ \n d \r e";
    const std::string line = "fact(" + quoteString(nasty) + ")";
    auto rb = parseOk<RuleBase>(BaseKind::Rule, line);
    EXPECT_EQ(rb.facts.at(0).warunek, nasty);
}

}  // namespace
}  // namespace torv::kb
