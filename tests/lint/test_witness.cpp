// Witnesses: each finding kind's evidence is checked, the redundancy's
// consultation is replayed through the terminal, and a redundancy resting
// on flattenings that never hold is marked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

#include "cli/cli_app.h"
#include "lint/check.h"
#include "lint/session.h"
#include "lint/witness.h"
#include "state/app_state.h"

namespace torv::lint {
namespace {

namespace fs = std::filesystem;
const fs::path kSource = TORVAE_SOURCE_DIR;
const fs::path kBases = kSource / "tests/lint/bases";

std::vector<Witness> of(const fs::path& folder) {
    const Discovery d = discover({folder.string()});
    EXPECT_EQ(d.bases.size(), 1u);
    return d.bases.empty() ? std::vector<Witness>{} : witnesses(d.bases.front());
}

/// The store of a knowledge base as its loads leave it.
struct Loaded {
    explicit Loaded(const fs::path& folder) { session.loadAll(discover({folder.string()}).bases.front()); }
    const kb::Store& store() { return session.app().store; }
    Session session;
};

TEST(Witness, ExternalInconsistencyIsACycleAndATamperedOneIsNot) {
    const auto ws = of(kBases / "external");
    ASSERT_EQ(ws.size(), 2u);
    Loaded bases(kBases / "external");
    for (const auto& w : ws) {
        EXPECT_EQ(w.code, "AE101");
        EXPECT_TRUE(isCycle(bases.store(), w.rules));
        EXPECT_NE(w.text.find("Checked: each rule concludes"), std::string::npos);
    }
    EXPECT_FALSE(isCycle(bases.store(), {1}));       // rule 1 does not feed itself
    EXPECT_FALSE(isCycle(bases.store(), {1, 9}));    // no rule 9
    EXPECT_FALSE(isCycle(bases.store(), {}));
}

TEST(Witness, InternalAndJointInconsistenciesShowTheirPair) {
    const auto internal = of(kBases / "internal");
    ASSERT_EQ(internal.size(), 1u);
    EXPECT_EQ(internal[0].code, "AE102");
    EXPECT_EQ(contradictoryPair(internal[0].assignment), "b");
    EXPECT_EQ(contradictoryPair({"b", "c", "nd"}), std::nullopt);

    const auto joint = of(kBases / "joint_inconsistency");
    ASSERT_EQ(joint.size(), 1u);
    EXPECT_EQ(joint[0].code, "AE106");
    Loaded bases(kBases / "joint_inconsistency");
    EXPECT_EQ(constraintMembersIn(bases.store(), 1, joint[0].assignment), (std::vector<std::string>{"b", "c"}));
    EXPECT_TRUE(constraintMembersIn(bases.store(), 1, {"b", "y"}).empty());
    EXPECT_TRUE(constraintMembersIn(bases.store(), 7, joint[0].assignment).empty());
}

TEST(Witness, JointRedundancyDiffersOnlyInTheConstraintsMember) {
    const auto ws = of(kBases / "joint_redundancy");
    const auto w = std::find_if(ws.begin(), ws.end(), [](const Witness& x) { return x.code == "AE107"; });
    ASSERT_NE(w, ws.end());
    EXPECT_NE(w->text.find("Checked: without those members"), std::string::npos) << w->text;
    Loaded bases(kBases / "joint_redundancy");
    using F = verify::FlattenedRule;
    EXPECT_TRUE(differOnlyByMembers(bases.store(), 1, {F{1, "a", {"x", "b"}, {}}, F{2, "a", {"b", "y"}, {}}}));
    EXPECT_FALSE(differOnlyByMembers(bases.store(), 1, {F{1, "a", {"x", "b"}, {}}, F{2, "a", {"c", "y"}, {}}}));
    EXPECT_FALSE(differOnlyByMembers(bases.store(), 1, {F{1, "a", {"x", "y"}, {}}, F{2, "a", {"y"}, {}}}));
    EXPECT_FALSE(differOnlyByMembers(bases.store(), 1, {F{1, "a", {"x", "b"}, {}}, F{2, "a", {"x", "b"}, {}}}));
    EXPECT_FALSE(differOnlyByMembers(bases.store(), 9, {F{1, "a", {"x"}, {}}, F{2, "a", {"y"}, {}}}));
}

TEST(Witness, RedundancyReplaysWithBothRulesFiring) {
    const auto ws = of(kBases / "redundancy");
    ASSERT_EQ(ws.size(), 1u);
    ASSERT_TRUE(ws[0].script);
    std::istringstream in(*ws[0].script);
    std::ostringstream out;
    cli::CliApp app(in, out, kSource);
    EXPECT_EQ(app.run({"tests/lint/bases/redundancy/RUred.AEB"}), 0);
    const std::string t = out.str();
    for (const char* rule : {"Rule  1 is resolved.", "Rule  2 is resolved."}) {
        const auto at = t.find(rule);
        ASSERT_NE(at, std::string::npos) << rule << '\n' << t;
        EXPECT_EQ(t.find("It follows: \n    a\n", at), t.find("It follows: ", at)) << rule;
    }
}

TEST(Witness, ARedundancyThatCanNeverHoldIsMarked) {
    const CheckResult r = check({"tests/lint/witness/vacuous"}, kSource);
    const auto marked = std::count_if(r.findings.begin(), r.findings.end(), [](const Finding& f) { return f.code == "AE108"; });
    EXPECT_EQ(marked, 1);
    // The diagnosis's own finding stays as the desktop shows it.
    EXPECT_TRUE(std::any_of(r.findings.begin(), r.findings.end(), [](const Finding& f) { return f.code == "AE103"; }));
    const auto ws = of(kSource / "tests/lint/witness/vacuous");
    const auto red = std::find_if(ws.begin(), ws.end(), [](const Witness& w) { return w.code == "AE103"; });
    ASSERT_NE(red, ws.end());
    EXPECT_TRUE(red->vacuous);
    EXPECT_FALSE(red->script);
}

/// A model finding, a record its chain must show as written, and a tampering
/// of the finding that breaks a link.
struct ModelChainCase {
    const char* folder;
    const char* code;
    std::size_t count;
    const char* shows;
    std::function<void(verify::RuleBaseFindings&)> tamper;
};

class ModelChains : public testing::TestWithParam<ModelChainCase> {};

TEST_P(ModelChains, AreWrittenCheckedAndATamperedOneIsNotConfirmed) {
    const ModelChainCase& c = GetParam();
    const auto ws = of(kBases / c.folder);
    ASSERT_EQ(std::count_if(ws.begin(), ws.end(), [&](const Witness& w) { return w.code == c.code; }),
              static_cast<std::ptrdiff_t>(c.count));
    for (const auto& w : ws) {
        EXPECT_NE(w.text.find("Checked: each record concludes"), std::string::npos) << w.text;
        EXPECT_NE(w.text.find(std::string("\n      ") + c.shows + "\n"), std::string::npos) << w.text;
    }

    Loaded bases(kBases / c.folder);
    c.tamper(bases.session.app().findings);
    const auto tampered = witnessesOf(bases.session.app());
    ASSERT_FALSE(tampered.empty());
    EXPECT_EQ(tampered.front().code, c.code);
    EXPECT_NE(tampered.front().text.find("Not confirmed"), std::string::npos) << tampered.front().text;

    const fs::path dir = fs::temp_directory_path() / ("torvae_chain_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    std::istringstream in;
    std::ostringstream out;
    cli::CliApp app(in, out, kSource);
    EXPECT_EQ(app.run({"--check", "--witness", dir.string(), (kBases / c.folder).string()}), 1);
    const auto rules = discover({(kBases / c.folder).string()}).bases.front().rules().stem().string();
    std::stringstream file;
    file << std::ifstream(dir / (rules + "-" + c.code + "-1.txt")).rdbuf();
    EXPECT_NE(file.str().find("Checked: each record concludes"), std::string::npos) << file.str();
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Witness, ModelChains,
    testing::Values(
        ModelChainCase{"model_direct", "AE104", 1, R"(model_b(1,"No condition","total","total","+","1",1))",
                       [](auto& f) { f.model.model_arytmetyczny_sprzeczny[0].r = "sum"; }},
        ModelChainCase{"model_inconsistency", "AE104", 2, R"(model_b(2,"No condition","y","x","*","2",1))",
                       [](auto& f) { f.model.model_arytmetyczny_sprzeczny_gleboko[0].chain = {2, 1}; }},
        ModelChainCase{"model_relational", "AE104", 1, R"(model_b(1,"hot","hot","temperature",">","30",1))",
                       [](auto& f) { f.model.model_relacyjny_sprzeczny[0].n = 7; }},
        ModelChainCase{"joint_model_rule", "AE105", 1, R"(rule(2,"comfortable",["hot","dry"],1))",
                       [](auto& f) { f.jointModelRule.modele_i_reguly_sprzeczne[0].modele = {2}; }}),
    [](const testing::TestParamInfo<ModelChainCase>& i) { return std::string(i.param.folder); });

TEST(Witness, AJointModelRuleChainRunsFromTheGoAheadConditionBackToIt) {
    Loaded bases(kBases / "joint_model_rule");
    const auto& finding = bases.session.app().findings.jointModelRule.modele_i_reguly_sprzeczne.at(0);
    using K = ChainStep::Kind;
    const RecordChain chain = modelRuleChain(bases.store(), finding);
    EXPECT_EQ(chain.start, "warm_enough");
    EXPECT_EQ(chain.steps, (std::vector<ChainStep>{{K::Rule, 1, "comfortable"}, {K::Rule, 2, "hot"},
                                                   {K::Model, 1, "warm_enough"}}));
    EXPECT_TRUE(closesChain(bases.store(), chain));
    for (std::size_t i = 0; i < chain.steps.size(); ++i) {
        RecordChain cut = chain;
        cut.steps.erase(cut.steps.begin() + static_cast<std::ptrdiff_t>(i));
        EXPECT_FALSE(closesChain(bases.store(), cut)) << "without step " << i;
    }
    auto otherRule = finding;
    otherRule.m = 3;   // concludes picnic, not the go-ahead condition
    EXPECT_TRUE(modelRuleChain(bases.store(), otherRule).steps.empty());
}

TEST(Witness, ADiagnosisGetsTheWitnessesOfItsOwnFindings) {
    using D = port::Diagnosis;
    const std::pair<const char*, D> cases[] = {
        {"external", D::External},
        {"internal", D::Internal},
        {"redundancy", D::Redundancy},
        {"model_relational", D::Model},
        {"joint_model_rule", D::JointModelRule},
        {"joint_inconsistency", D::JointRuleConstraintInconsistency},
        {"joint_redundancy", D::JointRuleConstraintRedundancy},
    };
    for (const auto& [folder, diagnosis] : cases) {
        Loaded bases(kBases / folder);
        const AppState& app = bases.session.app();
        const fs::path rules = discover({(kBases / folder).string()}).bases.front().rules();
        const auto ws = witnessesOf(app.store, app.findings, diagnosis, rules);
        ASSERT_FALSE(ws.empty()) << folder;
        for (const auto& w : ws) {
            EXPECT_EQ(w.code, codeOf(diagnosis)) << folder;
            EXPECT_EQ(w.script.has_value(), diagnosis == D::Redundancy) << folder;
        }
    }
}

TEST(Witness, WrittenToAFolderAndNeverOverAFile) {
    const fs::path dir = fs::temp_directory_path() / ("torvae_witness_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    auto run = [&] {
        std::istringstream in;
        std::ostringstream out;
        cli::CliApp app(in, out, kSource);
        return app.run({"--check", "--witness", dir.string(), "tests/lint/bases/redundancy"});
    };
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(fs::is_regular_file(dir / "RUred-AE103-1.txt"));
    EXPECT_TRUE(fs::is_regular_file(dir / "RUred-AE103-1.in"));
    EXPECT_EQ(run(), 2);   // the witness files are there already
    fs::remove_all(dir);
}

}  // namespace
}  // namespace torv::lint
