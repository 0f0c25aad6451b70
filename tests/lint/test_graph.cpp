// The rule-dependency graph: the garden's golden DOT, the neighbourhood of
// a condition, finding colours, and DOT that Graphviz accepts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/cli_app.h"
#include "lint/graph.h"

namespace torv::lint {
namespace {

namespace fs = std::filesystem;
const fs::path kSource = TORVAE_SOURCE_DIR;

struct GraphRun {
    int status;
    std::string out;
};

GraphRun graph(std::vector<std::string> args) {
    args.insert(args.begin(), "--graph");
    std::istringstream in;
    std::ostringstream out;
    cli::CliApp app(in, out, kSource);
    const int status = app.run(args);
    return {status, out.str()};
}

TEST(Graph, GardenGolden) {
    const GraphRun r = graph({"examples/garden"});
    ASSERT_EQ(r.status, 0);
    std::stringstream golden;
    golden << std::ifstream(kSource / "tests/lint/golden/garden.dot").rdbuf();
    EXPECT_EQ(r.out, golden.str());
}

TEST(Graph, NeighbourhoodKeepsOnlyRulesWithinDepth) {
    // overwatered: concluded by rules 1 and 2, used by 6, 21 and 24.
    const std::string near = graph({"--focus", "overwatered", "--depth", "1", "examples/garden"}).out;
    for (const char* rule : {"\"rule 1\"", "\"rule 2\"", "\"rule 6\"", "\"rule 21\"", "\"rule 24\""})
        EXPECT_NE(near.find(rule), std::string::npos) << rule;
    EXPECT_EQ(near.find("\"rule 5\""), std::string::npos);
    EXPECT_EQ(near.find("\"rule 30\""), std::string::npos);   // two rules away, through root_rot
    const std::string farther = graph({"--focus", "overwatered", "--depth", "2", "examples/garden"}).out;
    EXPECT_NE(farther.find("\"rule 30\""), std::string::npos);
    // The negated form of a condition focuses on the same node.
    EXPECT_EQ(graph({"--focus", "noverwatered", "--depth", "1", "examples/garden"}).out,
              graph({"--focus", "overwatered", "--depth", "1", "examples/garden"}).out.replace(
                  near.find("Neighbourhood of overwatered"), 28, "Neighbourhood of noverwatered"));
}

TEST(Graph, FindingsColourTheirRules) {
    struct Case {
        const char* base;
        const char* color;
    };
    for (const Case c : {Case{"external", "red"}, Case{"redundancy", "blue"}, Case{"internal", "orange"},
                         Case{"joint_inconsistency", "magenta"}, Case{"joint_redundancy", "purple"},
                         Case{"joint_model_rule", "brown"}}) {
        const std::string dot = graph({(fs::path("tests/lint/bases") / c.base).string()}).out;
        EXPECT_NE(dot.find(std::string("r0 [label=\"rule 1\", shape=box, style=filled, fillcolor=") + c.color),
                  std::string::npos)
            << c.base << '\n' << dot;
    }
}

TEST(Graph, UsageAndUnreadable) {
    EXPECT_EQ(graph({}).status, 2);
    EXPECT_EQ(graph({"examples"}).status, 2);                  // two knowledge bases
    EXPECT_EQ(graph({"no/such/base"}).status, 2);
    EXPECT_EQ(graph({"--depth", "x", "examples/garden"}).status, 2);
    EXPECT_EQ(graph({"tests/lint/bases/no_rule_base"}).status, 2);
}

TEST(Graph, NamesNeedingQuotesAndNodeIds) {
    EXPECT_EQ(ruleIndexOfNode(ruleNodeId(17)), 17u);
    EXPECT_FALSE(ruleIndexOfNode("c:r1"));
    EXPECT_FALSE(ruleIndexOfNode("r1x"));
    EXPECT_FALSE(ruleIndexOfNode("r"));
}

TEST(Graph, GraphvizAcceptsTheOutput) {
    const fs::path dir = fs::temp_directory_path() / ("torvae_graph_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // A name with quotes, a backslash and a brace must stay one DOT id.
    std::ofstream(dir / "RUq.AEB") << "rule(1,\"a \\\"b\\\" {c}\",[\"d\\\\e\",\"nf\"],1)\n";
    for (const fs::path& base : {kSource / "examples/garden", dir}) {
        const GraphRun r = graph({base.string()});
        ASSERT_EQ(r.status, 0);
        std::ofstream(dir / "g.dot") << r.out;
        const std::string cmd = "dot -Tsvg " + (dir / "g.dot").string() + " -o " + (dir / "g.svg").string();
        EXPECT_EQ(std::system(cmd.c_str()), 0) << r.out;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace torv::lint
