// Long work stopped by the user at its first report of progress: a diagnosis
// or a chaining run keeps nothing, says so once and changes no menu item; a
// load ends as a failed read of its base.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "port/texts.h"
#include "shell/shell.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"
#include "verify/redundancy.h"

namespace torv::shell {
namespace {

namespace fs = std::filesystem;
namespace texts = port::texts;
using namespace verify;

// Rules 1 and 2 are redundant. No rule needs two members of the constraint,
// so that its load goes on to the joint redundancy test.
constexpr const char* kRules =
    "rule(1,\"a\",[\"b\",\"c\"],1)\n"
    "rule(2,\"a\",[\"b\"],1)\n"
    "rule(3,\"d\",[\"a\",\"e\"],1)\n"
    "rule(4,\"x\",[\"p\",\"s\"],1)\n"
    "rule(5,\"y\",[\"r\",\"t\"],1)\n";
constexpr const char* kConstraints = "constraint(1,[\"p\",\"r\"])\n";
constexpr const char* kModels =
    "model_b(101,\"No condition\",\"m\",\"k\",\"+\",\"1\",1)\n"
    "model_b(102,\"No condition\",\"z\",\"m\",\">\",\"1\",1)\n";

class Program {
public:
    explicit Program(bool acceptOffers) {
        shell.introClosed();
        port.always("Choose", acceptOffers ? "yes" : "no");
        port.always("Choose:", "no").always("Generating labels", "no");
    }
    void load(int command, const char* title, const char* file, const char* text) {
        port.then(title, dir.write(fs::path("BASES") / file, text).string());
        shell.run(command);
    }
    void loadRules() { load(cmd::kRuleBaseLoading, "Load Rule Base ", "RUt.AEB", kRules); }
    void loadConstraints() { load(cmd::kConstraintBaseLoading, "Load Constraint Base", "COt.AEB", kConstraints); }
    void loadModels() { load(cmd::kModelBaseLoading, "Load Model Base", "MOt.AEB", kModels); }
    /// Runs a command that must be enabled.
    void command(int id) { ASSERT_TRUE(shell.run(id)) << id; }

    test::TempDir dir;
    test::ScriptedPort port;
    AppState app{port, dir.path()};
    Shell shell{app};
};

struct Case {
    const char* what;
    bool acceptOffers;                       // the tests offered while loading run
    std::function<void(Program&)> before;    // what is loaded first
    const char* label;                       // the work stopped
    std::function<void(Program&)> run;       // the command that runs it
    std::string note;                        // the note saying so
    std::function<void(const AppState&)> keptNothing;
    bool menuStays = true;                   // a load enables its own items
};

std::string loadCancelled(const char* base) {
    return std::string(base) + " error while reading base. \nThe loading was cancelled.";
}

const Case kCases[] = {
    {"rule base checks", false, {}, "Loading RUt.AEB", [](Program& p) { p.loadRules(); },
     loadCancelled("Rule Base"),
     [](const AppState& a) {
         EXPECT_FALSE(a.store.nazwa_re);
         EXPECT_TRUE(a.store.rules().empty());
         EXPECT_TRUE(a.askables.lista_warunkow.empty());
     }},
    {"external test offered at load", true, {}, texts::kExternalTest.label, [](Program& p) { p.loadRules(); },
     texts::kExternalTest.cancelled,
     [](const AppState& a) {
         EXPECT_FALSE(a.verdicts.sprzecznosc_1z);
         EXPECT_EQ(a.findings.external, ExternalFindings{});
         EXPECT_EQ(a.store.nazwa_re, "RUt.AEB") << "as if the test was declined";
     },
     false},
    {"internal test offered at load", true, {}, texts::kInternalTest.label, [](Program& p) { p.loadRules(); },
     texts::kInternalTest.cancelled,
     [](const AppState& a) { EXPECT_EQ(a.findings.internal, InternalFindings{}); }, false},
    {"redundancy test offered at load", true, {}, texts::kRedundancyTest.label, [](Program& p) { p.loadRules(); },
     texts::kRedundancyTest.cancelled,
     [](const AppState& a) {
         EXPECT_EQ(a.findings.redundancy, RedundancyFindings{});
         EXPECT_FALSE(a.menu.enabled(cmd::kDiagnosingRedundancies));
     },
     false},
    {"redundancy diagnosis", false, [](Program& p) { p.loadRules(); }, texts::kRedundancyTest.label,
     [](Program& p) { verify::pisz_nadmiar(p.app); }, texts::kRedundancyTest.cancelled,
     [](const AppState& a) { EXPECT_EQ(a.findings.redundancy, RedundancyFindings{}); }},
    {"joint inconsistency test offered at load", true, [](Program& p) { p.loadRules(); },
     texts::kJointInconsistencyTest.label, [](Program& p) { p.loadConstraints(); },
     texts::kJointInconsistencyTest.cancelled,
     [](const AppState& a) {
         EXPECT_EQ(a.findings.jointInconsistency, JointInconsistencyFindings{});
         EXPECT_EQ(a.store.nazwa_og, "COt.AEB");
     },
     false},
    {"joint inconsistency diagnosis", false, [](Program& p) {
         p.loadRules();
         p.loadConstraints();
     },
     texts::kJointInconsistencyTest.label,
     [](Program& p) { p.command(cmd::kDiagnosingJointRuleConstraintInconsistencies); },
     texts::kJointInconsistencyTest.cancelled,
     [](const AppState& a) { EXPECT_EQ(a.findings.jointInconsistency, JointInconsistencyFindings{}); }},
    {"joint redundancy test offered at load", true, [](Program& p) { p.loadRules(); },
     texts::kJointRedundancyTest.label, [](Program& p) { p.loadConstraints(); },
     texts::kJointRedundancyTest.cancelled,
     [](const AppState& a) { EXPECT_EQ(a.findings.jointRedundancy, JointRedundancyFindings{}); }, false},
    {"joint redundancy diagnosis", false, [](Program& p) {
         p.loadRules();
         p.loadConstraints();
     },
     texts::kJointRedundancyTest.label,
     [](Program& p) { p.command(cmd::kDiagnosingJointRuleConstraintRedundancies); },
     texts::kJointRedundancyTest.cancelled,
     [](const AppState& a) { EXPECT_EQ(a.findings.jointRedundancy, JointRedundancyFindings{}); }},
    {"model test at load", false, [](Program& p) { p.loadRules(); }, texts::kModelTestLabel,
     [](Program& p) { p.loadModels(); }, loadCancelled("Model Base"),
     [](const AppState& a) {
         EXPECT_FALSE(a.store.nazwa_mo);
         EXPECT_TRUE(a.store.modelBase().model_b.empty());
         EXPECT_EQ(a.findings.model, ModelFindings{});
     }},
    {"joint model-rule test at load", false, [](Program& p) { p.loadRules(); }, texts::kJointModelRuleTestLabel,
     [](Program& p) { p.loadModels(); }, loadCancelled("Model Base"),
     [](const AppState& a) {
         EXPECT_FALSE(a.store.nazwa_mo);
         EXPECT_TRUE(a.store.modelBase().model_b.empty());
         EXPECT_FALSE(a.verdicts.sprzecznosc_mr);
         EXPECT_EQ(a.findings.jointModelRule, JointModelRuleFindings{});
     }},
    {"exclusivity test", false, [](Program& p) { p.loadRules(); }, texts::kExclusivityTest.label,
     [](Program& p) {
         p.port.then("Pick facts", "1 3");
         p.command(cmd::kExclusionToOne);
     },
     texts::kExclusivityTest.cancelled, [](const AppState&) {}},
    {"flattening all rules", false, [](Program& p) { p.loadRules(); }, texts::kFlatteningAll.label,
     [](Program& p) { p.command(cmd::kFlatteningAllRules); }, texts::kFlatteningAll.cancelled,
     [](const AppState&) {}},
    {"forward chaining", false, [](Program& p) { p.loadRules(); }, texts::kForwardChaining.label,
     [](Program& p) {
         p.port.then("Level of detail", "1").then("Fact declaration mode", "2");
         p.command(cmd::kForwardChaining);
     },
     texts::kForwardChaining.cancelled,
     [](const AppState& a) { EXPECT_TRUE(a.chaining.regula_zastosowana.empty()); }},
    {"backward chaining", false, [](Program& p) { p.loadRules(); }, texts::kBackwardChaining.label,
     [](Program& p) {
         p.port.then("Level of detail", "1").then("Type of hypothesis", "1").then("Pick a fact", "1");
         p.command(cmd::kBackwardChaining);
     },
     texts::kBackwardChaining.cancelled,
     [](const AppState& a) { EXPECT_TRUE(a.chaining.backward.regula_wykorzystana.empty()); }},
};

class Cancelling : public testing::TestWithParam<Case> {};

TEST_P(Cancelling, KeepsNothingAndSaysSo) {
    const Case& c = GetParam();
    Program p(c.acceptOffers);
    if (c.before) c.before(p);
    const auto menu = p.app.menu.enabledIds();
    p.port.clearCalls();
    p.app.messages.clear();
    p.port.cancelProgress(c.label);
    c.run(p);

    const auto& calls = p.port.progressCalls();
    const auto first = std::find_if(calls.begin(), calls.end(), [&](const auto& x) { return x.label == c.label; });
    ASSERT_NE(first, calls.end()) << "the work reported no progress";
    const auto last = std::find_if(calls.rbegin(), calls.rend(), [&](const auto& x) { return x.label == c.label; });
    EXPECT_EQ(last->done, last->total) << "the port is told the work is over";
    // Said once, in a note and in the message window; nothing asked after it
    // that the script does not answer (a report's save offer would be).
    const auto notes = p.port.ofKind("note");
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [&](const auto& n) { return n.text == c.note; }), 1);
    EXPECT_NE(p.app.messages.text().find(c.note.substr(0, c.note.find('\n'))), std::string::npos);
    EXPECT_EQ(p.port.pending(), 0u);
    c.keptNothing(p.app);
    if (c.menuStays) {
        EXPECT_EQ(p.app.menu.enabledIds(), menu);
    }
    EXPECT_TRUE(p.app.outcomes.empty());
}

INSTANTIATE_TEST_SUITE_P(EachLongWork, Cancelling, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& i) {
                             std::string name = i.param.what;
                             std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
                             return name;
                         });

}  // namespace
}  // namespace torv::shell
