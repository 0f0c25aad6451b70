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

TEST(RecordWindowAsText, PrintsCountsThenEachRecordWithItsLabels) {
    test::ScriptedPort port;
    port.recordWindow(recordSource(RecordKind::Rules, sample()));
    const auto d = port.last("window");
    EXPECT_EQ(d.title, "Inspection of rules");
    EXPECT_EQ(d.text,
              "Overall number of rules: 2\n"
              "Rule number: 3\n   Rule conclusion: wet\n   List of conditions: [rain, nroof]\n"
              "Rule number: 1\n   Rule conclusion: slippery\n   List of conditions: [wet, cold]\n");
}

}  // namespace
}  // namespace torv
