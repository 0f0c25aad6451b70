// Record windows over the store: what each kind lists, and how the text
// port prints one.
#include <gtest/gtest.h>

#include "kb/store.h"
#include "state/record_sources.h"
#include "support/scripted_port.h"

namespace torv {
namespace {

using Strings = std::vector<std::string>;

kb::Store sample() {
    kb::Store s;
    kb::RuleBase rules;
    rules.rules = {{3, "wet", {"rain", "nroof"}, 1}, {1, "slippery", {"wet", "cold"}, 0}};
    s.setRuleBase(rules);
    kb::ModelBase m;
    m.model_b = {{7, "No condition", "speed", "distance", "/", "time", 1}};
    m.model_e = {{8, "moving", "total", "sum", {"a", "b", "c"}, 0}};
    m.model_lin = {{9, "moving", "cost", {"2", "3.5"}, {"x1", "x2"}, 1}};
    m.model_poly = {{10, "No condition", "area", "r", {"0", "3.14"}, {0, 2}, 0}};
    s.setModelBase(m);
    kb::ConstraintBase c;
    c.constraints = {{5, {"red", "green"}}};
    s.setConstraintBase(c);
    return s;
}

struct Case {
    RecordKind kind;
    const char* title;
    std::size_t count;
    std::int32_t firstNumber;
    Strings fields;                 // entry 0
    std::vector<Strings> groups;    // entry 0
};

class RecordSources : public testing::TestWithParam<Case> {};

TEST_P(RecordSources, ListTheirTableWithALabelPerValue) {
    const Case& c = GetParam();
    const auto src = recordSource(c.kind, sample());   // the store may go; the source keeps its copy
    ASSERT_TRUE(src);
    EXPECT_EQ(src->layout().title, c.title);
    ASSERT_EQ(src->count(), c.count);
    EXPECT_EQ(src->number(0), c.firstNumber);
    const auto e = src->entry(0);
    EXPECT_EQ(e.fields, c.fields);
    EXPECT_EQ(e.groups, c.groups);
    EXPECT_EQ(src->layout().fields.size(), e.fields.size());
    EXPECT_EQ(src->layout().groups.size(), e.groups.size());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordSources,
    testing::Values(
        Case{RecordKind::Rules, "Inspection of rules", 2, 3, {"wet"}, {{"rain", "nroof"}}},
        Case{RecordKind::BasicModels, "Inspection of basic models", 1, 7,
             {"7", "No condition", "speed", "distance", "/", "time", "1"}, {}},
        Case{RecordKind::ExtendedModels, "Inspection of extended models", 1, 8, {"8", "moving", "total", "sum", "0"},
             {{"a", "b", "c"}}},
        Case{RecordKind::LinearModels, "Inspection of linear models", 1, 9, {"9", "moving", "cost", "1"},
             {{"2", "3.5"}, {"x1", "x2"}}},
        Case{RecordKind::PolynomialModels, "Inspection of polynomial models", 1, 10,
             {"10", "No condition", "area", "r", "0"}, {{"0", "3.14"}, {"0", "2"}}},
        Case{RecordKind::Constraints, "Inspection of constraints", 1, 5, {}, {{"red", "green"}}}));

TEST(RecordWindowAsText, ListsTheNumbersThenShowsTheRecordTyped) {
    kb::Store store = sample();
    kb::RuleBase rules;
    rules.rules = {{3, "wet", {"rain"}, 1}, {1, "slippery", {"wet", "cold"}, 0}, {3, "dry", {"sun"}, 0}};
    store.setRuleBase(rules);
    test::ScriptedPort port;
    port.then("3").then("7").then(" 1 ").then("");
    port.recordWindow(recordSource(RecordKind::Rules, store));
    const auto list = port.calls().front();
    EXPECT_EQ(list.kind, "window");
    EXPECT_EQ(list.title, "Inspection of rules");
    EXPECT_EQ(list.text, "Overall number of rules: 3\nRule number:\n   3\n   1\n   3\n");
    Strings records;
    for (const auto& c : port.calls())
        if (c.kind == "record") records.push_back(c.text);
    // A number held twice shows its first record; one not listed is asked again.
    EXPECT_EQ(records, (Strings{"Rule number: 3\nRule conclusion: wet\nList of conditions: [rain]\n",
                                "Rule number: 1\nRule conclusion: slippery\nList of conditions: [wet, cold]\n"}));
    EXPECT_EQ(port.pending(), 0u);
}

TEST(RecordWindowAsText, AModelRecordKeepsItsFieldsInWindowOrder) {
    test::ScriptedPort port;
    port.then("9").then("");
    port.recordWindow(recordSource(RecordKind::LinearModels, sample()));
    EXPECT_EQ(port.calls().front().text,
              "LINEAR MODEL\ny=a1*x1+a2*x2+...+an*xn\nNumber of basic models: 1\nNumber of extended models: 1\n"
              "Number of linear models: 1\nNumber of polynomial models: 1\nModel number:\n   9\n");
    EXPECT_EQ(port.last("record").text,
              "Model number: 9\nGo-ahead condition: moving\nValue of :inear form: cost\nDisplay semaphor: 1\n"
              "List of coefficients: [2, 3.5]\nList of variables: [x1, x2]\n");
}

}  // namespace
}  // namespace torv
